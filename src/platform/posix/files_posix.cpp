#include <cstdio>
#include <sys/stat.h>

#include "platform/files.h"

namespace qlx {

bool ReplaceFileAtomically(const std::string& source, const std::string& target) {
  return std::rename(source.c_str(), target.c_str()) == 0;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace qlx
