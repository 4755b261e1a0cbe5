#pragma once
#include "editor/popup_menu.h"

namespace qlx {

// The icon folder through the file functions of the system.
class Win32IconFolder : public IIconFolder {
 public:
  bool Exists(const std::string& path) override;
  bool CopyNew(const std::string& from, const std::string& to) override;
  std::string ShortName(const std::string& path) override;
};

}  // namespace qlx
