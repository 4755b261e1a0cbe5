#pragma once
#include <windows.h>

#include "platform/file_operations.h"

namespace qlx {

// The ANSI file functions of kernel32.
class Win32FileOperations : public IFileOperations {
 public:
  bool ReadWholeFile(std::string_view path, std::string& bytes) override;
  bool ChangeDirectory(std::string_view path) override;
  bool RemoveFile(std::string_view path) override;
  bool CopyOver(std::string_view source, std::string_view target) override;
  bool RenameFile(std::string_view from, std::string_view to) override;
};

}  // namespace qlx
