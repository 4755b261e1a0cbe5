#pragma once
#include <windows.h>

#include "platform/ui.h"

namespace qlx {

// The application's general error message: a file error after a
// successful open, or anything else that ends an operation unexpectedly.
inline void ShowApplicationError(HWND owner, const char* what) {
  ::MessageBoxA(owner, what, "Quillon 98", MB_OK | MB_ICONERROR);
}

// Modal message boxes owned by one window (or none).
class Win32MessageBoxes : public IMessageBoxes {
 public:
  explicit Win32MessageBoxes(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }
  void Show(const std::string& caption, const std::string& text) override {
    ::MessageBoxA(owner_, text.c_str(), caption.c_str(), MB_OK);
  }
  bool AskYesNo(const std::string& caption, const std::string& text) override {
    return ::MessageBoxA(owner_, text.c_str(), caption.c_str(), MB_YESNO) == IDYES;
  }

 private:
  HWND owner_;
};

}  // namespace qlx
