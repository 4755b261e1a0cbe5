#pragma once
// What the hook library records while a capture runs: macro text that plays
// back what the user did. Characters are written as themselves (their case
// says Shift); named keys as their tokens; Ctrl, Alt, Win and a Shift that a
// character alone cannot carry as down/up tokens, pressed only when a key
// needs them and let go when the user lets go; mouse buttons as a move to
// the place and a click, down or up; waits as delay tokens. The stop key and
// the macro's own hot key end the capture and are not recorded.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "store/shared_blocks.h"

namespace qlx {

// The characters the keys of a keyboard layout type, without and with Shift.
class KeyLayout {
 public:
  // First assignment wins: several keys may type one character (keypad).
  void Add(uint8_t c, uint8_t vk, bool shift) {
    auto& slot = shift ? shifted_[vk] : plain_[vk];
    if (slot == 0) slot = c;
  }
  uint8_t Plain(uint32_t vk) const { return vk < 256 ? plain_[vk] : 0; }
  // What the key types with Shift and Caps Lock as given; 0 for nothing.
  // Caps Lock turns only letters, whose shifted form is their capital.
  uint8_t Typed(uint32_t vk, bool shift, bool caps) const {
    if (vk >= 256) return 0;
    const uint8_t p = plain_[vk], s = shifted_[vk];
    const bool letter = p != 0 && s != 0 && p != s && UpperLatin1(p) == s;
    return (shift != (letter && caps)) ? s : p;
  }
  static uint8_t UpperLatin1(uint8_t c) {
    if (c >= 'a' && c <= 'z') return static_cast<uint8_t>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<uint8_t>(c - 32);
    return c;
  }

 private:
  std::array<uint8_t, 256> plain_{};
  std::array<uint8_t, 256> shifted_{};
};

// The US layout (letters, digits, punctuation, space and the keypad), for
// tests and for a system that answers nothing.
KeyLayout UsKeyLayout();
// The keypad keys type their characters whatever the layout says.
void AddKeypad(KeyLayout& layout);

// The macro text one event produced. Fixed size: the hook procedure does
// not allocate. One event writes at most a few hundred characters.
class CaptureText {
 public:
  static constexpr size_t kCapacity = 512;
  void Append(std::string_view s) {
    const size_t n = s.size() <= kCapacity - size_ ? s.size() : kCapacity - size_;
    for (size_t i = 0; i < n; ++i) data_[size_ + i] = s[i];
    size_ += n;
  }
  void Append(char c) { Append(std::string_view(&c, 1)); }
  std::string_view view() const { return {data_.data(), size_}; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  void clear() { size_ = 0; }

 private:
  std::array<char, kCapacity> data_{};
  size_t size_ = 0;
};

// What the program wrote into the activation block for this capture.
struct CaptureConfig {
  bool keys = true;
  bool mouse = true;
  bool relative_to_screen = true;
  bool window_size = false;
  bool timing = false;
  bool double_alt = true;
  CaptureKey stop;
  bool has_own = false;
  CaptureKey own;
};
CaptureConfig CaptureConfigOf(const ActivationBlock& block);

struct ScreenPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};
// The window in front when a button went down: its handle and outer frame.
struct FrontWindow {
  uintptr_t id = 0;
  int left = 0, top = 0, width = 0, height = 0;
};

class CaptureRecorder {
 public:
  // Gaps shorter than this are typing speed, not a wait worth a token.
  static constexpr uint32_t kMinDelayMs = 50;

  // A new recording; `mods` are the modifiers held as it starts.
  void Begin(const CaptureConfig& config, unsigned mods, uint32_t now);
  bool Active() const { return active_; }
  const CaptureConfig& config() const { return config_; }

  // The stop key or the macro's own hot key, pressed with exactly these
  // modifiers: the caller ends the capture (Finish) and keeps the key from
  // the program in front.
  bool IsStopKey(uint32_t vk, unsigned mods) const;
  bool IsStopButton(int button, unsigned mods) const;

  // One key event the user made. `mods`: modifiers held after it (kMod*);
  // `typed`: the character it types (after remapping), 0 for none;
  // `plain`: the character of the key without Shift, for chords.
  void OnKey(uint32_t vk, bool down, unsigned mods, uint8_t typed, uint8_t plain, uint32_t time,
             CaptureText& out);
  // One button event (kMouseLeft..kMouseMiddle). `front` is needed only
  // while recording relative to the window (NeedsFrontWindow).
  void OnMouseButton(int button, bool down, unsigned mods, ScreenPoint at, const FrontWindow* front,
                     uint32_t time, CaptureText& out);
  // Wheel notches: positive forward, negative backward.
  void OnWheel(int notches, uint32_t time, CaptureText& out);
  bool NeedsFrontWindow() const { return active_ && config_.mouse && !config_.relative_to_screen; }

  // The stop key ended the capture: what was held back is written and every
  // modifier the text pressed is let go.
  void Finish(CaptureText& out);
  // The program ended the capture (its tray icon): the click that did it is
  // still held back and is dropped.
  void Abandon();

 private:
  // Text whose fate depends on what comes next: the last mouse action.
  class Pending {
   public:
    CaptureText text;
    int button = 0;  // its button-down still open, 0 none
    ScreenPoint down_at;
    size_t down_token = 0;  // where that button's down token starts
  };

  void BeginElement(uint32_t time, CaptureText& out);
  void Delay(uint32_t time, CaptureText& out);
  void Sync(unsigned wanted, CaptureText& out);
  void Write(std::string_view s, CaptureText& out);
  void WriteLiteral(uint8_t c, CaptureText& out);
  void FlushPending(CaptureText& out);
  void ModifierEvent(unsigned bit, uint32_t vk, bool down, unsigned mods, uint32_t time, CaptureText& out);
  void MoveToken(ScreenPoint at, const FrontWindow* front, CaptureText& out) const;
  bool IsStop(const CaptureKey& key, int mouse, uint32_t vk, unsigned mods) const;

  CaptureConfig config_;
  bool active_ = false;
  unsigned mods_ = 0;      // modifiers held, as last seen
  unsigned emitted_ = 0;   // modifiers the text holds down
  bool alt_alone_ = false; // Alt went down with nothing else since
  bool win_alone_ = false;
  uint32_t win_vk_ = 0;
  bool lt_pending_ = false;  // a literal '<' not yet written
  bool have_last_ = false;
  uint32_t last_time_ = 0;
  uintptr_t sized_window_ = 0;
  bool sized_any_ = false;
  Pending pending_;
};

// The token of a key that has one ("<ENTER>", "<F5>", "<KEYP7>"); empty
// for the others.
std::string_view NamedKeyToken(uint32_t vk);

}  // namespace qlx
