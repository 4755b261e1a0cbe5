#pragma once
// Synthetic keyboard and mouse input, and what the keyboard looks like now.
// Every event sent through here reaches the system marked as the program's
// own, so the hook library never mistakes playback for the user.
#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace qlx {

using KeyboardState = std::array<uint8_t, 256>;

// dwExtraInfo of every event the program injects: the hooks ignore such
// events, so playback never triggers, captures or feeds Snapwords.
inline constexpr uint32_t kInjectedMarker = 0x514C5839;  // "QLX9"

// Who sent an input event. The program's own events carry the marker in
// their extra information; a low-level hook reads the origin back from it.
enum class InputOrigin : uint8_t { kUser, kProgram };

inline constexpr uintptr_t ExtraInfoOf(InputOrigin origin) {
  return origin == InputOrigin::kProgram ? kInjectedMarker : 0;
}
inline constexpr InputOrigin OriginOf(uintptr_t extra_info) {
  return extra_info == kInjectedMarker ? InputOrigin::kProgram : InputOrigin::kUser;
}

// One key event as it is sent and as a low-level keyboard hook receives it.
// A Unicode event types `scan` as a UTF-16 unit; hooks see it as kVkPacket.
struct KeyEventRecord {
  static constexpr uint8_t kVkPacket = 0xE7;
  uint8_t vk = 0;
  uint16_t scan = 0;
  bool up = false;
  bool extended = false;
  bool unicode = false;
  uintptr_t extra_info = 0;
};

// The program's own events, marked as such.
inline constexpr KeyEventRecord ProgramKey(uint8_t vk, uint16_t scan, bool up, bool extended) {
  return {vk, scan, up, extended, false, ExtraInfoOf(InputOrigin::kProgram)};
}
inline constexpr KeyEventRecord ProgramUnicode(char16_t unit, bool up) {
  return {0, static_cast<uint16_t>(unit), up, false, true, ExtraInfoOf(InputOrigin::kProgram)};
}

// The hook library's export that counts the pointer moves its mouse hook
// saw that were not injected, and what it answers while it has no mouse
// hook.
inline constexpr char kPointerMovesExport[] = "QlxPointerMoves";
inline constexpr uint32_t kNoPointerCount = 0xFFFFFFFFu;
// The export that answers 1 once the hook library has sent its neutral key
// after the user's latest press of Alt or Win.
inline constexpr char kMenuMaskedExport[] = "QlxMenuMasked";

class IInput {
 public:
  virtual ~IInput() = default;

  // One key event. `scan` is what MapVirtualKey gives for `vk`.
  void KeyEvent(uint8_t vk, uint16_t scan, bool up, bool extended) {
    Send(ProgramKey(vk, scan, up, extended));
  }
  // One UTF-16 code unit typed without a key of the layout.
  void UnicodeEvent(char16_t unit, bool up) { Send(ProgramUnicode(unit, up)); }
  // Sends the event as it stands, its origin included.
  virtual void Send(const KeyEventRecord& event) = 0;
  // Several events at once, in order, none of another sender between them.
  virtual void SendAll(std::span<const KeyEventRecord> events) {
    for (const KeyEventRecord& e : events) Send(e);
  }
  // One mouse event: flags as mouse_event takes them, wheel amount in `data`.
  virtual void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data) = 0;

  // Scan code of a virtual key (mapping type 0); 0 when there is none.
  virtual uint16_t MapVirtualKey(uint8_t vk) = 0;
  // Key and shift state that type `c` in the keyboard layout of the thread
  // that owns `window` (the program's own layout for 0), as VkKeyScanExA
  // answers: low byte virtual key, high byte shift state, -1 when none.
  virtual int16_t VkKeyScan(char c, uintptr_t window) = 0;
  // The character `c` of the ANSI code page as UTF-16.
  virtual char16_t AnsiToUnicode(uint8_t c) = 0;

  // Whether the key is down right now (the user's presses included).
  virtual bool IsKeyDown(uint8_t vk) = 0;
  // Returns once the program owning `window` has taken the key events sent
  // so far (or has stopped answering), so that moving the foreground away
  // from it cannot strand them.
  virtual void LetWindowTakeInput(uintptr_t window) = 0;
  // Returns once the program whose window took the mouse clicks sent so far
  // has handled them (or has stopped answering). Letting go of a click can
  // make the system send the pointer's place again (Wine does when a
  // window releases the mouse), and a move sent before that is undone.
  virtual void LetClickedWindowTakeClicks() = 0;
  // How many pointer moves the system has reported that were not the
  // program's own (the user's mouse, or the window system telling a window
  // that the pointer entered it); none when no mouse hook counts them.
  virtual std::optional<uint32_t> SystemPointerMoves() = 0;
  // Whether the releases of the Alt or Win the user holds would open no menu
  // already: the hook library sent a neutral key after they went down.
  virtual bool MenuReleaseMasked() = 0;
  // The key events sent so far belong to a playback that was aborted: no
  // later LetWindowTakeInput waits for a window to take them. Whatever the
  // target has not taken yet is the rest the user stopped.
  virtual void AbandonPendingInput() = 0;
  virtual KeyboardState GetKeyboardState() = 0;
  virtual void SetKeyboardState(const KeyboardState& state) = 0;
};

}  // namespace qlx
