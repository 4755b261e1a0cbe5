#pragma once
// The dialogs' file and folder checks on the real file system.
#include "editor/command_dialogs.h"

namespace qlx {

class Win32PathChecks : public editor::IPathChecks {
 public:
  // The file is looked up by its short (8.3) form, as the dialogs have
  // always done: a name that has none does not exist.
  bool FileExists(std::string_view path) override;
  bool DirectoryExists(std::string_view path) override;
};

}  // namespace qlx
