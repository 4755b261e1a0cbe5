#include "platform/win32/icon_folder_win32.h"

#include <windows.h>

#include "platform/files.h"

namespace qlx {

bool Win32IconFolder::Exists(const std::string& path) { return FileExists(path); }

bool Win32IconFolder::CopyNew(const std::string& from, const std::string& to) {
  return ::CopyFileA(from.c_str(), to.c_str(), TRUE) != 0;
}

std::string Win32IconFolder::ShortName(const std::string& path) {
  char buf[MAX_PATH] = {};
  const DWORD n = ::GetShortPathNameA(path.c_str(), buf, sizeof buf);
  if (n == 0 || n >= sizeof buf) return {};
  const std::string full(buf, n);
  const size_t slash = full.find_last_of("\\/");
  return slash == std::string::npos ? full : full.substr(slash + 1);
}

}  // namespace qlx
