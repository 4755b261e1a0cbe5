#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/disk_sync.h"
#include "platform/files.h"

namespace qlx {

bool SyncToDisk(std::FILE* f) { return ::fsync(::fileno(f)) == 0; }

bool ReplaceFileAtomically(const std::string& source, const std::string& target) {
  if (std::rename(source.c_str(), target.c_str()) != 0) return false;
  // The rename is an entry of the directory: flush that too.
  const size_t slash = target.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return true;
  ::fsync(fd);
  ::close(fd);
  return true;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace qlx
