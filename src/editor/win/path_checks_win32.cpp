#include "editor/win/path_checks_win32.h"

#include <windows.h>

#include <string>

namespace qlx {

bool Win32PathChecks::FileExists(std::string_view path) {
  if (path.empty()) return false;
  const std::string p(path);
  char short_name[MAX_PATH];
  const DWORD n = ::GetShortPathNameA(p.c_str(), short_name, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return false;
  const DWORD attributes = ::GetFileAttributesA(short_name);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32PathChecks::DirectoryExists(std::string_view path) {
  if (path.empty()) return false;
  const DWORD attributes = ::GetFileAttributesA(std::string(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace qlx
