#pragma once
#include <windows.h>

#include "platform/shell.h"

namespace qlx {

class Win32Shell : public IShell {
 public:
  explicit Win32Shell(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }
  void Open(std::string_view program, std::string_view arguments) override;
  void OpenDefault(std::string_view target) override;

 private:
  HWND owner_;
};

}  // namespace qlx
