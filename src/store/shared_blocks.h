#pragma once
// The three named shared blocks through which the program and QLXHOOK.DLL
// meet. Typed views over raw memory: in the program the mapped views, in
// tests plain buffers. No windows.h here: the hook library and the portable
// core share this one definition of the wire format.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "store/byte_view.h"

namespace qlx {

inline constexpr char kActivationBlockName[] = "QLBA1KGR";
inline constexpr char kRemapBlockName[] = "QLTT1KGR";
inline constexpr char kWindowBlockName[] = "QLKR1KGR";
inline constexpr char kMutexName[] = "QL88aveR";
inline constexpr char kInstanceMarkerName[] = "QLXRUN21Z";
inline constexpr size_t kInstanceMarkerSize = 10;

inline constexpr int kMaxMacros = 500;
inline constexpr int kHotKeyCodes = 720;
inline constexpr uint16_t kTimedCode = 10000;
inline constexpr uint16_t kSnapwordCode = 20000;
inline constexpr size_t kScopeTextCapacity = 20;

// Activation block: byte offsets of every field.
namespace ab {
inline constexpr size_t kSize = 14298;
inline constexpr size_t kMainWindow = 0;
inline constexpr size_t kStartupByte4 = 4;
inline constexpr size_t kHotKeyTable = 17;
inline constexpr size_t kCaptureInProgress = 737;
inline constexpr size_t kCaptureMacro = 738;
inline constexpr size_t kCaptureState740 = 740;
inline constexpr size_t kCaptureDoubleAlt = 741;
inline constexpr size_t kMouseHook = 744;
inline constexpr size_t kKeyboardHook = 748;
inline constexpr size_t kHotKeyEntryWindow = 752;
inline constexpr size_t kHotKeyEntryActive = 756;
inline constexpr size_t kStopMouseButton = 757;
inline constexpr size_t kStopVirtualKey = 759;
inline constexpr size_t kStopCtrl = 761;
inline constexpr size_t kStopAlt = 762;
inline constexpr size_t kStopShift = 763;
inline constexpr size_t kStopWin = 764;
inline constexpr size_t kCaptureState765 = 765;
inline constexpr size_t kRecaptureHasHotKey = 766;
inline constexpr size_t kRecaptureMouseButton = 767;
inline constexpr size_t kRecaptureVirtualKey = 769;
inline constexpr size_t kRecaptureCtrl = 771;
inline constexpr size_t kRecaptureAlt = 772;
inline constexpr size_t kRecaptureShift = 773;
inline constexpr size_t kRecaptureWin = 774;
inline constexpr size_t kCaptureState775 = 775;
inline constexpr size_t kCaptureWindowSize = 776;
inline constexpr size_t kPlaybackStarted = 777;
inline constexpr size_t kCaptureKeys = 778;
inline constexpr size_t kCaptureMouse = 779;
inline constexpr size_t kCaptureRelativeToScreen = 780;
inline constexpr size_t kCaptureTiming = 781;
inline constexpr size_t kCaptureStarted = 790;
inline constexpr size_t kCaptureWindowSizeCopy = 791;
inline constexpr size_t kScopes = 792;          // int16 x 500
inline constexpr size_t kScopeTexts = 1792;     // string[20] x 500
inline constexpr size_t kActiveFlags = 12292;   // byte x 500
inline constexpr size_t kCodes = 12792;         // uint16 x 500
inline constexpr size_t kTopMostOnly = 13792;   // byte x 500
inline constexpr size_t kMacroCount = 14292;    // int32
inline constexpr size_t kStartupByte14296 = 14296;
inline constexpr size_t kIsNt = 14297;

static_assert(kHotKeyTable + kHotKeyCodes == kCaptureInProgress);
static_assert(kScopes + 2 * kMaxMacros == kScopeTexts);
static_assert(kScopeTexts + (kScopeTextCapacity + 1) * kMaxMacros == kActiveFlags);
static_assert(kActiveFlags + kMaxMacros == kCodes);
static_assert(kCodes + 2 * kMaxMacros == kTopMostOnly);
static_assert(kTopMostOnly + kMaxMacros == kMacroCount);
static_assert(kMacroCount + 4 == kStartupByte14296);
static_assert(kIsNt + 1 == kSize);
static_assert(kStopVirtualKey == kStopMouseButton + 2 && kStopCtrl == kStopMouseButton + 4);
static_assert(kStopAlt == kStopCtrl + 1 && kStopShift == kStopCtrl + 2 && kStopWin == kStopCtrl + 3);
static_assert(kRecaptureVirtualKey == kRecaptureMouseButton + 2 && kRecaptureCtrl == kRecaptureMouseButton + 4);
static_assert(kRecaptureAlt == kRecaptureCtrl + 1 && kRecaptureShift == kRecaptureCtrl + 2 &&
              kRecaptureWin == kRecaptureCtrl + 3);
}  // namespace ab

// Remap block "QLTT1KGR".
namespace rb {
inline constexpr size_t kSize = 104;
inline constexpr size_t kMainWindow = 0;
inline constexpr size_t kRemapHook = 4;
inline constexpr size_t kTables = 8;
inline constexpr size_t kTablesSize = 93;
inline constexpr size_t kStartupByte103 = 103;
static_assert(kTables + kTablesSize == 101);
static_assert(kStartupByte103 + 1 == kSize);
}  // namespace rb

// Window-activation block "QLKR1KGR".
namespace wb {
inline constexpr size_t kSize = 17;
inline constexpr size_t kMainWindow = 0;
inline constexpr size_t kActivationHook = 4;
inline constexpr size_t kLastOutsideWindow = 8;
inline constexpr size_t kLastOutsideWindow2 = 12;
inline constexpr size_t kIsNt = 16;
static_assert(kIsNt + 1 == kSize);
}  // namespace wb

// A key or mouse combination as the capture fields hold it: mouse button
// (0 none, 1 left, 2 right, 3 middle), virtual key and the four modifiers.
struct CaptureKey {
  int16_t mouseButton = 0;
  int16_t virtualKey = 0;
  bool ctrl = false;
  bool alt = false;
  bool shift = false;
  bool win = false;
  friend bool operator==(const CaptureKey&, const CaptureKey&) = default;
};

// Typed view over the activation block. Macro numbers are 1-based; accessors
// with an out-of-range number or code read as 0 and write nothing, because
// the numbers come from files, messages and other processes.
class ActivationBlock {
 public:
  explicit ActivationBlock(uint8_t* base) : p_(base) {}
  uint8_t* data() const { return p_; }

  uint8_t Byte(size_t off) const { return p_[off]; }
  void SetByte(size_t off, uint8_t v) { p_[off] = v; }
  int16_t I16(size_t off) const { return GetI16(p_ + off); }
  void SetI16(size_t off, int16_t v) { PutI16(p_ + off, v); }
  uint32_t U32(size_t off) const { return GetU32(p_ + off); }
  void SetU32(size_t off, uint32_t v) { PutU32(p_ + off, v); }

  uint32_t MainWindow() const { return U32(ab::kMainWindow); }
  void SetMainWindow(uint32_t h) { SetU32(ab::kMainWindow, h); }
  uint32_t KeyboardHook() const { return U32(ab::kKeyboardHook); }
  void SetKeyboardHook(uint32_t h) { SetU32(ab::kKeyboardHook, h); }
  uint32_t MouseHook() const { return U32(ab::kMouseHook); }
  void SetMouseHook(uint32_t h) { SetU32(ab::kMouseHook, h); }
  uint32_t HotKeyEntryWindow() const { return U32(ab::kHotKeyEntryWindow); }
  void SetHotKeyEntryWindow(uint32_t h) { SetU32(ab::kHotKeyEntryWindow, h); }
  bool HotKeyEntryActive() const { return p_[ab::kHotKeyEntryActive] == 1; }
  void SetHotKeyEntryActive(bool on) { p_[ab::kHotKeyEntryActive] = on ? 1 : 0; }
  bool PlaybackStarted() const { return p_[ab::kPlaybackStarted] != 0; }
  void SetPlaybackStarted(bool on) { p_[ab::kPlaybackStarted] = on ? 1 : 0; }
  bool CaptureActive() const { return p_[ab::kCaptureInProgress] != 0; }
  void SetCaptureActive(bool on) { p_[ab::kCaptureInProgress] = on ? 1 : 0; }

  // ---- Capture fields (737..791). The stop key and the recaptured
  // macro's own hot key are kept as DecipherKey gives them.
  int16_t CaptureTarget() const { return I16(ab::kCaptureMacro); }
  void SetCaptureTarget(int16_t n) { SetI16(ab::kCaptureMacro, n); }
  CaptureKey StopKey() const { return KeyAt(ab::kStopMouseButton); }
  void SetStopKey(const CaptureKey& k) { PutKeyAt(ab::kStopMouseButton, k); }
  bool HasOwnKey() const { return p_[ab::kRecaptureHasHotKey] != 0; }
  void SetHasOwnKey(bool on) { p_[ab::kRecaptureHasHotKey] = on ? 1 : 0; }
  CaptureKey OwnKey() const { return KeyAt(ab::kRecaptureMouseButton); }
  void SetOwnKey(const CaptureKey& k) { PutKeyAt(ab::kRecaptureMouseButton, k); }
  bool CaptureDoubleAlt() const { return p_[ab::kCaptureDoubleAlt] != 0; }
  void SetCaptureDoubleAlt(bool on) { p_[ab::kCaptureDoubleAlt] = on ? 1 : 0; }
  bool CaptureKeys() const { return p_[ab::kCaptureKeys] != 0; }
  void SetCaptureKeys(bool on) { p_[ab::kCaptureKeys] = on ? 1 : 0; }
  bool CaptureMouse() const { return p_[ab::kCaptureMouse] != 0; }
  void SetCaptureMouse(bool on) { p_[ab::kCaptureMouse] = on ? 1 : 0; }
  bool CaptureRelativeToScreen() const { return p_[ab::kCaptureRelativeToScreen] != 0; }
  void SetCaptureRelativeToScreen(bool on) { p_[ab::kCaptureRelativeToScreen] = on ? 1 : 0; }
  bool CaptureTiming() const { return p_[ab::kCaptureTiming] != 0; }
  void SetCaptureTiming(bool on) { p_[ab::kCaptureTiming] = on ? 1 : 0; }
  // 776 and its copy 791, taken together at capture start.
  bool CaptureWindowSize() const { return p_[ab::kCaptureWindowSize] != 0; }
  void SetCaptureWindowSize(bool on) {
    p_[ab::kCaptureWindowSize] = on ? 1 : 0;
    p_[ab::kCaptureWindowSizeCopy] = on ? 1 : 0;
  }
  // Byte 790: set by the program at every capture start; the hook library
  // clears it when it has begun the new recording.
  bool CaptureStartPending() const { return p_[ab::kCaptureStarted] != 0; }
  void SetCaptureStartPending(bool on) { p_[ab::kCaptureStarted] = on ? 1 : 0; }
  // The capture state bytes cleared at every start.
  void ClearCaptureState(bool keep765 = false) {
    p_[ab::kCaptureState740] = 0;
    if (!keep765) p_[ab::kCaptureState765] = 0;
    p_[ab::kCaptureState775] = 0;
  }

  bool HotKeyUsed(int code) const {
    return code >= 0 && code < kHotKeyCodes && p_[ab::kHotKeyTable + code] == 1;
  }
  void SetHotKeyUsed(int code, bool on) {
    if (code >= 0 && code < kHotKeyCodes) p_[ab::kHotKeyTable + code] = on ? 1 : 0;
  }
  void ClearHotKeyTable() { std::memset(p_ + ab::kHotKeyTable, 0, kHotKeyCodes); }

  // The count as stored; ClampedCount() is what loops may trust.
  int32_t MacroCount() const { return GetI32(p_ + ab::kMacroCount); }
  void SetMacroCount(int32_t n) { PutI32(p_ + ab::kMacroCount, n); }
  int ClampedCount() const {
    int32_t n = MacroCount();
    return n < 0 ? 0 : (n > kMaxMacros ? kMaxMacros : static_cast<int>(n));
  }

  static bool ValidMacro(int n) { return n >= 1 && n <= kMaxMacros; }

  int16_t Scope(int n) const { return ValidMacro(n) ? GetI16(p_ + ab::kScopes + 2 * (n - 1)) : 0; }
  void SetScope(int n, int16_t v) {
    if (ValidMacro(n)) PutI16(p_ + ab::kScopes + 2 * (n - 1), v);
  }
  std::string ScopeText(int n) const { return std::string(ScopeTextView(n)); }
  std::string_view ScopeTextView(int n) const {
    return ValidMacro(n) ? PStringView(ScopeTextAt(n), kScopeTextCapacity) : std::string_view();
  }
  void SetScopeText(int n, std::string_view s) {
    if (ValidMacro(n)) PutPString(ScopeTextAt(n), kScopeTextCapacity, s);
  }
  bool Active(int n) const { return ValidMacro(n) && p_[ab::kActiveFlags + (n - 1)] != 0; }
  void SetActive(int n, bool on) {
    if (ValidMacro(n)) p_[ab::kActiveFlags + (n - 1)] = on ? 1 : 0;
  }
  uint16_t Code(int n) const { return ValidMacro(n) ? GetU16(p_ + ab::kCodes + 2 * (n - 1)) : 0; }
  void SetCode(int n, uint16_t v) {
    if (ValidMacro(n)) PutU16(p_ + ab::kCodes + 2 * (n - 1), v);
  }
  bool TopMostOnly(int n) const { return ValidMacro(n) && p_[ab::kTopMostOnly + (n - 1)] != 0; }
  void SetTopMostOnly(int n, bool on) {
    if (ValidMacro(n)) p_[ab::kTopMostOnly + (n - 1)] = on ? 1 : 0;
  }

 private:
  // mouse (int16), key (int16), Ctrl, Alt, Shift, Win: 8 bytes.
  CaptureKey KeyAt(size_t off) const {
    CaptureKey k;
    k.mouseButton = I16(off);
    k.virtualKey = I16(off + 2);
    k.ctrl = p_[off + 4] != 0;
    k.alt = p_[off + 5] != 0;
    k.shift = p_[off + 6] != 0;
    k.win = p_[off + 7] != 0;
    return k;
  }
  void PutKeyAt(size_t off, const CaptureKey& k) {
    SetI16(off, k.mouseButton);
    SetI16(off + 2, k.virtualKey);
    p_[off + 4] = k.ctrl ? 1 : 0;
    p_[off + 5] = k.alt ? 1 : 0;
    p_[off + 6] = k.shift ? 1 : 0;
    p_[off + 7] = k.win ? 1 : 0;
  }
  uint8_t* ScopeTextAt(int n) const {
    return p_ + ab::kScopeTexts + (kScopeTextCapacity + 1) * static_cast<size_t>(n - 1);
  }
  uint8_t* p_;
};

class RemapBlock {
 public:
  explicit RemapBlock(uint8_t* base) : p_(base) {}
  uint8_t* data() const { return p_; }
  uint32_t MainWindow() const { return GetU32(p_ + rb::kMainWindow); }
  void SetMainWindow(uint32_t h) { PutU32(p_ + rb::kMainWindow, h); }
  uint32_t RemapHook() const { return GetU32(p_ + rb::kRemapHook); }
  void SetRemapHook(uint32_t h) { PutU32(p_ + rb::kRemapHook, h); }
  uint8_t* Tables() const { return p_ + rb::kTables; }
  void SetStartupByte(uint8_t v) { p_[rb::kStartupByte103] = v; }

 private:
  uint8_t* p_;
};

class WindowBlock {
 public:
  explicit WindowBlock(uint8_t* base) : p_(base) {}
  uint8_t* data() const { return p_; }
  uint32_t MainWindow() const { return GetU32(p_ + wb::kMainWindow); }
  void SetMainWindow(uint32_t h) { PutU32(p_ + wb::kMainWindow, h); }
  uint32_t ActivationHook() const { return GetU32(p_ + wb::kActivationHook); }
  void SetActivationHook(uint32_t h) { PutU32(p_ + wb::kActivationHook, h); }
  uint32_t LastOutsideWindow() const { return GetU32(p_ + wb::kLastOutsideWindow); }
  uint32_t LastOutsideWindow2() const { return GetU32(p_ + wb::kLastOutsideWindow2); }
  void SetLastOutsideWindows(uint32_t h) {
    PutU32(p_ + wb::kLastOutsideWindow, h);
    PutU32(p_ + wb::kLastOutsideWindow2, h);
  }
  void SetIsNt(bool nt) { p_[wb::kIsNt] = nt ? 1 : 0; }

 private:
  uint8_t* p_;
};

}  // namespace qlx
