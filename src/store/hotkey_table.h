#pragma once
// The 720 hot-key codes: their names, the combination each one stands for,
// and the reverse lookup the hook library runs on every key and button event.
#include <cstdint>
#include <string_view>

namespace qlx {

inline constexpr int kHotKeyNameMax = 24;

// Modifier mask used by the reverse lookups.
inline constexpr unsigned kModCtrl = 1;
inline constexpr unsigned kModAlt = 2;
inline constexpr unsigned kModShift = 4;
inline constexpr unsigned kModWin = 8;

inline constexpr unsigned ModifierMask(bool ctrl, bool alt, bool shift, bool win) {
  return (ctrl ? kModCtrl : 0) | (alt ? kModAlt : 0) | (shift ? kModShift : 0) |
         (win ? kModWin : 0);
}

// Mouse buttons as the activation block and DecipherKey number them.
inline constexpr int kMouseNone = 0;
inline constexpr int kMouseLeft = 1;
inline constexpr int kMouseRight = 2;
inline constexpr int kMouseMiddle = 3;

struct HotKeyCombo {
  uint16_t virtualKey = 0;  // 0 for mouse codes
  uint8_t mouseButton = 0;  // kMouseNone..kMouseMiddle
  bool win = false;
  bool shift = false;
  bool alt = false;
  bool ctrl = false;

  constexpr unsigned Modifiers() const { return ModifierMask(ctrl, alt, shift, win); }
  friend bool operator==(const HotKeyCombo&, const HotKeyCombo&) = default;
};

// The combination of a code; a code outside 0..719 gives an empty combination.
HotKeyCombo DecipherKey(int code);

// The code's name (at most 24 characters); "" outside 0..719.
std::string_view HotKeyName(int code);

// Constant-time reverse lookups: the code of a key or mouse button with the
// given modifiers, or -1 when the combination has no code.
int HotKeyCodeForKey(unsigned virtualKey, unsigned modifiers);
int HotKeyCodeForMouse(int button, unsigned modifiers);

inline int HotKeyCodeForKey(unsigned virtualKey, bool ctrl, bool alt, bool shift, bool win) {
  return HotKeyCodeForKey(virtualKey, ModifierMask(ctrl, alt, shift, win));
}

}  // namespace qlx
