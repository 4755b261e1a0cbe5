#include <windows.h>

#include <vector>

#include "platform/profile.h"

namespace qlx {

std::string Win32Profile::Read(const std::string& section, const std::string& key,
                               const std::string& default_value, size_t buffer_size) {
  if (buffer_size == 0) return std::string();
  std::vector<char> buffer(buffer_size, '\0');
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), default_value.c_str(),
                                     buffer.data(), static_cast<DWORD>(buffer_size),
                                     file_.c_str());
  // The count excludes the terminator; never trust it past the buffer.
  if (n >= buffer_size) n = static_cast<DWORD>(buffer_size - 1);
  return std::string(buffer.data(), n);
}

void Win32Profile::Write(const std::string& section, const std::string& key,
                         const std::string& value) {
  WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file_.c_str());
}

}  // namespace qlx
