#pragma once
// Rules of the mouse, clipboard and file commands that the player and its
// tests share.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/engine_state.h"
#include "platform/file_operations.h"
#include "platform/shell.h"
#include "platform/sound.h"

namespace qlx {

// mouse_event flags.
namespace mouse {
inline constexpr uint32_t kMove = 0x0001, kLeftDown = 0x0002, kLeftUp = 0x0004,
                          kRightDown = 0x0008, kRightUp = 0x0010, kMiddleDown = 0x0020,
                          kMiddleUp = 0x0040, kWheel = 0x0800, kAbsolute = 0x8000;
// One notch of the wheel.
inline constexpr int32_t kWheelDelta = 120;
}  // namespace mouse

// Down and up flags of button 1 (left), 2 (right) or 3 (middle); 0 for
// anything else.
uint32_t ButtonDownFlag(int button);
uint32_t ButtonUpFlag(int button);

// A screen pixel position in the normalized absolute range of mouse events:
// Trunc(x * 65535 / width), Trunc(y * 65535 / height).
struct NormalizedPoint {
  int32_t x = 0, y = 0;
  friend bool operator==(const NormalizedPoint&, const NormalizedPoint&) = default;
};
NormalizedPoint Normalize(double x, double y, const ScreenSize& screen);

// What a text file played or copied by a macro holds: its bytes up to the
// first zero byte (the text is zero-terminated), without one final Ctrl+Z
// (a DOS end-of-file mark).
std::string TextOfFileBytes(std::string bytes);
// The text of the file, or nothing when it cannot be read.
std::optional<std::string> ReadTextFile(IFileOperations& files, std::string_view path);

// Plays a wave file, waiting for its end or not; "<WAV1:", "<WAV2:" and the
// sound that may announce a timed macro. No path, no sound.
void DoWave(ISound& sound, std::string_view path, bool wait);
// Hands an address ("<HTTP:", "<FTP:") to the shell's default action.
void OpenAddress(IShell& shell, std::string_view address);

// Waits that let the receiving program catch up with the clipboard.
inline constexpr double kPasteSettleSeconds = 0.1;
inline constexpr double kClipboardSettleSeconds = 0.05;

}  // namespace qlx
