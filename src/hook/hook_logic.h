#pragma once
// What the hook library decides for each input event, free of windows.h so
// that it runs the same in QLXHOOK.DLL and in the native unit tests. The DLL
// only feeds events in and carries the verdicts out.
#include <array>
#include <bitset>
#include <cstdint>

#include "activation/hook_contract.h"
#include "store/hotkey_table.h"
#include "store/shared_blocks.h"

namespace qlx {

enum class HookPost : uint8_t {
  kNone,
  kHotKey,      // kMsgHotKey to the main window
  kHotKeyPick,  // kMsgHotKeyPick to the hot-key entry window
  kAbort,       // kMsgAbort to the main window
};

struct HookVerdict {
  bool swallow = false;
  HookPost post = HookPost::kNone;
  int code = -1;
  // Alt or Win was held when a key or button was swallowed: their release
  // alone would open the menu bar or the Start menu, so a neutral key is sent.
  bool maskModifierRelease = false;
};

class HookInputFilter {
 public:
  static constexpr unsigned kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12;
  static constexpr unsigned kVkPause = 0x13;
  static constexpr unsigned kVkLWin = 0x5B, kVkRWin = 0x5C;
  static constexpr unsigned kVkLShift = 0xA0, kVkRShift = 0xA1;
  static constexpr unsigned kVkLControl = 0xA2, kVkRControl = 0xA3;
  static constexpr unsigned kVkLMenu = 0xA4, kVkRMenu = 0xA5;
  // A swallowed key pressed again within this time is auto-repeat; later it
  // is a fresh press (its key-up was lost somewhere).
  static constexpr uint32_t kRepeatWindowMs = 1500;

  // One keyboard event. `physicalKey` identifies the key itself (scan code,
  // 0x100 for the extended ones; 0 when unknown); `ours` is true when
  // dwExtraInfo carries the program's marker; `block` is null while the
  // activation block is not open.
  HookVerdict OnKey(uint32_t vk, uint32_t physicalKey, bool down, bool ours, uint32_t timeMs,
                    ActivationBlock* block) {
    HookVerdict v;
    if (vk == 0 || vk > 0xFF) return v;
    if (vk == kEndOfPlaybackKey) {
      if (block) block->SetPlaybackStarted(false);
      return v;
    }
    if (ours) return v;
    if (const uint8_t bit = ModifierBit(vk)) {
      // A fresh press of Alt or Win arms the menu again; auto-repeat does not.
      if (down && (bit & kMenuBits) && !(held_ & bit)) menuMasked_ = false;
      held_ = down ? (held_ | bit) : (held_ & ~bit);
      return v;
    }
    if (!down) {
      v.swallow = ReleaseSwallowed(vk, physicalKey);
      return v;
    }
    if (swallowedKeys_.test(vk) && timeMs - lastDown_[vk] < kRepeatWindowMs) {
      lastDown_[vk] = timeMs;
      v.swallow = true;
      return v;
    }
    swallowedKeys_.reset(vk);
    if (!block) return v;

    if (vk == kVkPause && block->PlaybackStarted()) {
      v.post = HookPost::kAbort;
    } else {
      const int code = HotKeyCodeForKey(vk, Modifiers());
      if (code < 0) return v;
      if (block->HotKeyEntryActive()) {
        v.post = HookPost::kHotKeyPick;
      } else if (block->HotKeyUsed(code)) {
        v.post = HookPost::kHotKey;
      } else {
        return v;
      }
      v.code = code;
    }
    swallowedKeys_.set(vk);
    swallowedPhysical_[vk] = physicalKey;
    lastDown_[vk] = timeMs;
    v.swallow = true;
    v.maskModifierRelease = AltOrWinHeld();
    return v;
  }

  // One mouse button event, button kMouseLeft..kMouseMiddle.
  HookVerdict OnMouseButton(int button, bool down, bool ours, ActivationBlock* block) {
    HookVerdict v;
    if (ours || button < kMouseLeft || button > kMouseMiddle) return v;
    if (!down) {
      if (swallowedButtons_[button]) {
        swallowedButtons_[button] = false;
        v.swallow = true;
      }
      return v;
    }
    swallowedButtons_[button] = false;
    if (!block) return v;
    const int code = HotKeyCodeForMouse(button, Modifiers());
    if (code < 0) return v;
    if (block->HotKeyEntryActive()) {
      // A plain click must still reach the dialog (its buttons, its fields);
      // a click with modifiers held is taken as the pick.
      if (Modifiers() == 0) return v;
      v.post = HookPost::kHotKeyPick;
    } else if (block->HotKeyUsed(code)) {
      v.post = HookPost::kHotKey;
    } else {
      return v;
    }
    v.code = code;
    swallowedButtons_[button] = true;
    v.swallow = true;
    v.maskModifierRelease = AltOrWinHeld();
    return v;
  }

  // Keeps a key from the program in front until it is let go (auto-repeat
  // included), as a swallowed hot key is.
  void SwallowUntilUp(uint32_t vk, uint32_t physicalKey, uint32_t timeMs) {
    if (vk == 0 || vk > 0xFF) return;
    swallowedKeys_.set(vk);
    swallowedPhysical_[vk] = physicalKey;
    lastDown_[vk] = timeMs;
  }
  void SwallowButtonUntilUp(int button) {
    if (button >= kMouseLeft && button <= kMouseMiddle) swallowedButtons_[button] = true;
  }

  // Modifiers held, as kModCtrl | kModAlt | kModShift | kModWin.
  unsigned Modifiers() const {
    return ModifierMask((held_ & (kLCtrl | kRCtrl)) != 0, (held_ & (kLAlt | kRAlt)) != 0,
                        (held_ & (kLShift | kRShift)) != 0, (held_ & (kLWin | kRWin)) != 0);
  }

  bool AltOrWinHeld() const { return (Modifiers() & (kModAlt | kModWin)) != 0; }

  // The neutral key went out since the user last pressed Alt or Win, so
  // their release opens no menu and nobody needs to send it again.
  bool MenuReleaseMasked() const { return menuMasked_; }
  void NoteMenuMasked() { menuMasked_ = true; }

  // Forget everything held, e.g. after the hooks were installed anew and
  // key-ups may have been missed in between.
  void Reset() {
    held_ = 0;
    menuMasked_ = false;
    swallowedKeys_.reset();
    swallowedButtons_ = {};
  }

 private:
  static constexpr uint8_t kLCtrl = 0x01, kRCtrl = 0x02, kLAlt = 0x04, kRAlt = 0x08;
  static constexpr uint8_t kLShift = 0x10, kRShift = 0x20, kLWin = 0x40, kRWin = 0x80;
  static constexpr uint8_t kMenuBits = kLAlt | kRAlt | kLWin | kRWin;

  // The key-up of a swallowed key-down is swallowed too. A keypad key may go
  // down as one virtual key and up as another when Num Lock or Shift changed
  // in between (VK_NUMPAD0 down, VK_INSERT up): the physical key decides then.
  bool ReleaseSwallowed(uint32_t vk, uint32_t physicalKey) {
    if (swallowedKeys_.test(vk)) {
      swallowedKeys_.reset(vk);
      return true;
    }
    if (physicalKey == 0 || swallowedKeys_.none()) return false;
    for (uint32_t other = 1; other < 256; ++other) {
      if (swallowedKeys_.test(other) && swallowedPhysical_[other] == physicalKey) {
        swallowedKeys_.reset(other);
        return true;
      }
    }
    return false;
  }

  static uint8_t ModifierBit(uint32_t vk) {
    switch (vk) {
      case kVkControl: case kVkLControl: return kLCtrl;
      case kVkRControl: return kRCtrl;
      case kVkMenu: case kVkLMenu: return kLAlt;
      case kVkRMenu: return kRAlt;
      case kVkShift: case kVkLShift: return kLShift;
      case kVkRShift: return kRShift;
      case kVkLWin: return kLWin;
      case kVkRWin: return kRWin;
      default: return 0;
    }
  }

  uint8_t held_ = 0;
  bool menuMasked_ = false;
  std::bitset<256> swallowedKeys_;
  std::array<uint32_t, 256> swallowedPhysical_{};
  std::array<uint32_t, 256> lastDown_{};
  std::array<bool, kMouseMiddle + 1> swallowedButtons_{};
};

// Notices that Windows removed the low-level hooks silently (their thread
// did not answer in time): the system's last-input time moves past the last
// moment a hook was called. Ticks are 32-bit milliseconds and may wrap.
class HookWatchdog {
 public:
  static constexpr int32_t kUnseenSlackMs = 250;   // input this much after the last call
  static constexpr int32_t kGraceMs = 1000;        // ...and the hook had this long to see it
  static constexpr int32_t kMinIntervalMs = 5000;  // between two reinstalls

  void Start(uint32_t now) {
    lastCall_ = now;
    armed_ = true;
    everReinstalled_ = false;
  }
  void OnHookCall(uint32_t now) {
    lastCall_ = now;
    armed_ = true;
  }

  // True when the hooks should be installed again now. A reinstall that did
  // not bring any event back disarms the watchdog until one arrives, so it
  // never reinstalls in a loop.
  bool Check(uint32_t now, uint32_t lastInput) {
    if (!armed_) return false;
    if (static_cast<int32_t>(lastInput - lastCall_) <= kUnseenSlackMs) return false;
    if (static_cast<int32_t>(now - lastInput) < kGraceMs) return false;
    if (everReinstalled_ && static_cast<int32_t>(now - lastReinstall_) < kMinIntervalMs) return false;
    armed_ = false;
    everReinstalled_ = true;
    lastReinstall_ = now;
    lastCall_ = now;
    return true;
  }

 private:
  uint32_t lastCall_ = 0;
  uint32_t lastReinstall_ = 0;
  bool armed_ = false;
  bool everReinstalled_ = false;
};

}  // namespace qlx
