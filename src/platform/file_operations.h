#pragma once
// The file operations macros run: reading text files, changing directory,
// deleting, copying and renaming. Every call reports only success.
#include <string>
#include <string_view>

namespace qlx {

class IFileOperations {
 public:
  virtual ~IFileOperations() = default;
  // The whole file as bytes; false when it cannot be opened or read.
  virtual bool ReadWholeFile(std::string_view path, std::string& bytes) = 0;
  virtual bool ChangeDirectory(std::string_view path) = 0;
  // (Named apart from the Win32 macros DeleteFile and CopyFile.)
  virtual bool RemoveFile(std::string_view path) = 0;
  // An existing target is replaced.
  virtual bool CopyOver(std::string_view source, std::string_view target) = 0;
  // Renames or moves; an existing target is not replaced.
  virtual bool RenameFile(std::string_view from, std::string_view to) = 0;
};

}  // namespace qlx
