#pragma once
#include <windows.h>

#include "platform/clipboard.h"

namespace qlx {

// CF_TEXT on the system clipboard. The owner window must exist: a
// clipboard emptied without an owner refuses new data.
class Win32Clipboard : public IClipboard {
 public:
  explicit Win32Clipboard(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }
  bool SetText(std::string_view text) override;

  // Another program may hold the clipboard for a moment.
  static constexpr int kOpenAttempts = 10;
  static constexpr DWORD kOpenRetryMs = 20;

 private:
  HWND owner_;
};

}  // namespace qlx
