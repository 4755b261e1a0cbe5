#pragma once
// Hot-key picking (SetSecWind): while a dialog's hot-key field has the
// focus, the hook library sends every hot key pressed to the dialog as a
// pick instead of starting a macro.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "activation/hook_contract.h"
#include "store/hotkey_table.h"
#include "store/shared_blocks.h"

namespace qlx {

// The window is written before the flag is raised and the flag dropped
// before the window is handed back, so the hook never sends a pick to a
// stale window.
inline void SetSecWind(ActivationBlock block, HWND window, bool armed) {
  const uint32_t field = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window));
  if (armed) {
    block.SetHotKeyEntryWindow(field);
    block.SetHotKeyEntryActive(true);
  } else {
    block.SetHotKeyEntryActive(false);
    block.SetHotKeyEntryWindow(field);
  }
}

// One dialog's picking: armed while its field has the focus, never left
// armed when the dialog goes.
class HotKeyPicking {
 public:
  HotKeyPicking(ActivationBlock block, HWND main_window) : block_(block), main_window_(main_window) {}
  HotKeyPicking(const HotKeyPicking&) = delete;
  HotKeyPicking& operator=(const HotKeyPicking&) = delete;
  ~HotKeyPicking() { Disarm(); }

  void Arm(HWND dialog) {
    armed_ = true;
    SetSecWind(block_, dialog, true);
  }
  void Disarm() {
    if (!armed_) return;
    armed_ = false;
    SetSecWind(block_, main_window_, false);
  }
  bool armed() const { return armed_; }

  // The code a message picks. Its number is DM_SETDEFID's too: only a
  // message while armed is a pick, and only a code of the table counts.
  std::optional<int> PickOf(UINT msg, WPARAM wp) const {
    if (msg != kMsgHotKeyPick || !armed_) return std::nullopt;
    const int code = static_cast<int>(wp);
    if (code < 0 || code >= kHotKeyCodes) return std::nullopt;
    return code;
  }

 private:
  ActivationBlock block_;
  HWND main_window_;
  bool armed_ = false;
};

}  // namespace qlx
