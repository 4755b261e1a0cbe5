#include <windows.h>
#include <io.h>

#include "platform/disk_sync.h"
#include "platform/files.h"

namespace qlx {

bool SyncToDisk(std::FILE* f) {
  const intptr_t h = _get_osfhandle(_fileno(f));
  return h != -1 && FlushFileBuffers(reinterpret_cast<HANDLE>(h)) != 0;
}

bool ReplaceFileAtomically(const std::string& source, const std::string& target) {
  // Write-through: the rename itself is on the disk when this returns.
  return MoveFileExA(source.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool FileExists(const std::string& path) {
  DWORD attr = GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace qlx
