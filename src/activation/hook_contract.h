#pragma once
// Window messages between QLXHOOK.DLL and the main window. The marker that
// tags every input event the program injects is the input seam's
// (kInjectedMarker in platform/input.h).
#include <cstdint>

#include "platform/input.h"

namespace qlx {

inline constexpr unsigned kMsgHotKeyPick = 0x401;
inline constexpr unsigned kMsgHotKey = 0x402;
inline constexpr unsigned kMsgCaptureChar = 0x403;
inline constexpr unsigned kMsgCaptureDone = 0x404;
inline constexpr unsigned kMsgAbort = 0x405;
inline constexpr unsigned kMsgSnapwordChar = 0x406;
inline constexpr unsigned kMsgTrace = 0x408;

// wParam bits of kMsgHotKey.
inline constexpr uint32_t kHotKeyCapsLockBit = 0x8000;
inline constexpr uint32_t kHotKeyMacroNumberBit = 0x4000;
inline constexpr uint32_t kHotKeyBit12 = 0x1000;

// Virtual key sent after a triggered playback; passing the hook it clears
// "playback started".
inline constexpr uint8_t kEndOfPlaybackKey = 0x2B;

}  // namespace qlx
