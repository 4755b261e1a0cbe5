#pragma once
// Everything the hook library decides for one input event, in one place:
// the hot-key filter, the stop key of a capture, key remapping, what the
// capture records and the characters reported for Snapwords. The keyboard
// and remap hooks both see every key; whichever is called first decides
// for both, so nothing is remapped, recorded or reported twice. Portable
// (no windows.h): the DLL feeds events in and carries the outcome out.
#include <bitset>
#include <cstdint>

#include "activation/key_remap.h"
#include "capture/capture_recorder.h"
#include "hook/hook_logic.h"
#include "platform/input.h"
#include "store/shared_blocks.h"

namespace qlx {

struct KeyInput {
  uint32_t vk = 0;
  uint32_t physical = 0;  // scan code | 0x100 when extended
  bool down = false;
  bool ours = false;      // carries the program's marker
  uint32_t time = 0;      // the event's own milliseconds
  bool capsLock = false;  // Caps Lock toggled on
};

// A key event as the hook sees it, from what reached the low-level hook.
inline KeyInput KeyInputOf(const KeyEventRecord& e, uint32_t time, bool caps_lock) {
  KeyInput k;
  k.vk = e.unicode ? KeyEventRecord::kVkPacket : e.vk;
  k.physical = (e.scan & 0xFFu) | (e.extended ? 0x100u : 0u);
  k.down = !e.up;
  k.ours = OriginOf(e.extra_info) == InputOrigin::kProgram;
  k.time = time;
  k.capsLock = caps_lock;
  return k;
}

// Which hooks are in place: the direct editors remove the keyboard hook
// while key remapping goes on.
struct InstalledHooks {
  bool keyboard = false;
  bool remap = false;
};

// A MSG_SNAPWORD_CHAR to post.
struct SnapwordPost {
  enum Kind : uint8_t { kNone, kClear, kChar };
  Kind kind = kNone;
  uint8_t c = 0;
  bool capsLock = false;
};

struct InputOutcome {
  HookVerdict hot;        // hot key, pick or abort to post; the menu mask
  bool swallow = false;   // keep the event from the program in front
  uint8_t inject = 0;     // the remapped character to type instead (marked)
  SnapwordPost snap;
  bool captureDone = false;
  int16_t captureMacro = 0;
  const CaptureText* capture = nullptr;  // characters to post, may be empty
};

class InputProcessor {
 public:
  static constexpr uint32_t kVkBack = 0x08, kVkTab = 0x09, kVkReturn = 0x0D, kVkEscape = 0x1B;

  KeyLayout& layout() { return layout_; }
  HookInputFilter& filter() { return filter_; }
  const CaptureRecorder& recorder() const { return recorder_; }

  InputOutcome OnKey(const KeyInput& k, InstalledHooks hooks, ActivationBlock* block, RemapBlock* remap) {
    InputOutcome o;
    text_.clear();
    o.capture = &text_;
    if (k.vk == 0 || k.vk > 0xFF) return o;
    if (k.ours) {
      o.hot = filter_.OnKey(k.vk, k.physical, k.down, true, k.time, block);
      return o;
    }
    if (!k.down && remapped_.test(k.vk)) {
      remapped_.reset(k.vk);
      o.swallow = true;
      return o;
    }
    const bool keyboard = hooks.keyboard && block != nullptr;
    if (keyboard) FollowCapture(*block, k.time);
    const bool modifier = IsModifier(k.vk);
    if (keyboard && k.down && !modifier && recorder_.IsStopKey(k.vk, filter_.Modifiers())) {
      recorder_.Finish(text_);
      filter_.SwallowUntilUp(k.vk, k.physical, k.time);
      finished_ = true;
      o.swallow = true;
      o.captureDone = true;
      o.captureMacro = captureMacro_;
      o.hot.maskModifierRelease = filter_.AltOrWinHeld();
      return o;
    }
    o.hot = filter_.OnKey(k.vk, k.physical, k.down, false, k.time, keyboard ? block : nullptr);
    if (o.hot.swallow) {
      o.swallow = true;
      if (o.hot.post != HookPost::kNone) Clear(o.snap);
      return o;
    }
    const unsigned mods = filter_.Modifiers();
    if (modifier || !k.down || IsLockKey(k.vk)) {
      if (keyboard) recorder_.OnKey(k.vk, k.down, mods, 0, 0, k.time, text_);
      return o;
    }
    const bool chord = (mods & (kModCtrl | kModAlt | kModWin)) != 0;
    uint8_t typed = chord ? 0 : layout_.Typed(k.vk, (mods & kModShift) != 0, k.capsLock);
    if (hooks.remap && remap != nullptr && typed != 0) {
      const uint8_t r = RemapTables(remap->Tables()).Replacement(typed);
      if (r != typed) {
        o.inject = r;
        o.swallow = true;
        remapped_.set(k.vk);
        typed = r;
      }
    }
    if (!keyboard) return o;
    recorder_.OnKey(k.vk, true, mods, typed, layout_.Plain(k.vk), k.time, text_);
    uint8_t reported = typed;
    if (reported == 0 && !chord) reported = ControlCharOf(k.vk);
    if (reported != 0) {
      o.snap = {SnapwordPost::kChar, reported, k.capsLock};
      snapDirty_ = true;
    } else {
      Clear(o.snap);  // navigation, function keys, chords: the word is over
    }
    return o;
  }

  // `front` is called only when the capture needs the window in front.
  template <typename FrontFn>
  InputOutcome OnMouseButton(int button, bool down, bool ours, ScreenPoint at, uint32_t time,
                             ActivationBlock* block, FrontFn front) {
    InputOutcome o;
    text_.clear();
    o.capture = &text_;
    if (ours) {
      o.hot = filter_.OnMouseButton(button, down, true, block);
      return o;
    }
    if (block) FollowCapture(*block, time);
    if (block && down && recorder_.IsStopButton(button, filter_.Modifiers())) {
      recorder_.Finish(text_);
      filter_.SwallowButtonUntilUp(button);
      finished_ = true;
      o.swallow = true;
      o.captureDone = true;
      o.captureMacro = captureMacro_;
      o.hot.maskModifierRelease = filter_.AltOrWinHeld();
      return o;
    }
    o.hot = filter_.OnMouseButton(button, down, false, block);
    if (o.hot.swallow) {
      o.swallow = true;
      if (o.hot.post != HookPost::kNone) Clear(o.snap);
      return o;
    }
    if (down) Clear(o.snap);  // a click may move the caret anywhere
    if (block && recorder_.Active()) {
      FrontWindow w;
      const bool need = recorder_.NeedsFrontWindow() && down;
      if (need) w = front();
      recorder_.OnMouseButton(button, down, filter_.Modifiers(), at, need ? &w : nullptr, time, text_);
    }
    return o;
  }

  InputOutcome OnWheel(int notches, bool ours, uint32_t time, ActivationBlock* block) {
    InputOutcome o;
    text_.clear();
    o.capture = &text_;
    if (ours || !block) return o;
    FollowCapture(*block, time);
    recorder_.OnWheel(notches, time, text_);
    o.captureMacro = captureMacro_;
    return o;
  }

  // The window in front changed: the typed word is over.
  SnapwordPost OnForegroundChange() {
    SnapwordPost p;
    Clear(p);
    return p;
  }

  int16_t CaptureMacro() const { return captureMacro_; }

 private:
  static bool IsModifier(uint32_t vk) {
    switch (vk) {
      case 0x10: case 0x11: case 0x12: case 0x5B: case 0x5C:
      case 0xA0: case 0xA1: case 0xA2: case 0xA3: case 0xA4: case 0xA5:
        return true;
      default:
        return false;
    }
  }
  // Caps Lock, Num Lock and Scroll Lock change how keys type, not where:
  // they neither end a word nor reach the capture.
  static bool IsLockKey(uint32_t vk) { return vk == 0x14 || vk == 0x90 || vk == 0x91; }
  // Enter, Tab, Backspace and Escape reach Snapwords as their characters:
  // Enter (or a space) completes a word typed with a suffix.
  static uint8_t ControlCharOf(uint32_t vk) {
    switch (vk) {
      case kVkBack: return 0x08;
      case kVkTab: return 0x09;
      case kVkReturn: return 0x0D;
      case kVkEscape: return 0x1B;
      default: return 0;
    }
  }
  void Clear(SnapwordPost& p) {
    if (!snapDirty_) return;
    snapDirty_ = false;
    p.kind = SnapwordPost::kClear;
  }

  // Starts a recording when the program started a capture (byte 790, or
  // "capture in progress" newly seen) and drops it when the program ended
  // the capture itself.
  void FollowCapture(ActivationBlock& block, uint32_t time) {
    if (!block.CaptureActive()) {
      finished_ = false;
      if (recorder_.Active()) recorder_.Abandon();
      return;
    }
    if (block.CaptureStartPending() || (!recorder_.Active() && !finished_)) {
      recorder_.Begin(CaptureConfigOf(block), filter_.Modifiers(), time);
      captureMacro_ = block.CaptureTarget();
      block.SetCaptureStartPending(false);
      finished_ = false;
    }
  }

  HookInputFilter filter_;
  CaptureRecorder recorder_;
  KeyLayout layout_ = UsKeyLayout();
  CaptureText text_;
  std::bitset<256> remapped_;
  bool snapDirty_ = true;
  bool finished_ = false;  // the stop key ended this capture: wait for the next start
  int16_t captureMacro_ = 0;
};

}  // namespace qlx
