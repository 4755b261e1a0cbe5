#pragma once
// State the playback engine keeps between tokens and between nested
// playbacks, and the platform services it works through.
#include <cstdint>
#include <string>

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/file_operations.h"
#include "platform/input.h"
#include "platform/message_pump.h"
#include "platform/processes.h"
#include "platform/shell.h"
#include "platform/sound.h"

namespace qlx {

// The screen as read once at start-up, with the factors that turn pixels
// into the normalized absolute range 0..65535 of mouse events.
struct ScreenSize {
  int width = 640;
  int height = 480;
  double scale_x = 65535.0 / 640;
  double scale_y = 65535.0 / 480;
};
// A screen that reports no size counts as one pixel, never as zero.
inline ScreenSize MakeScreenSize(int width, int height) {
  ScreenSize s;
  s.width = width > 0 ? width : 1;
  s.height = height > 0 ? height : 1;
  s.scale_x = 65535.0 / s.width;
  s.scale_y = 65535.0 / s.height;
  return s;
}

struct EngineState {
  double SpeedFactor = 1.0;  // scales every scaled wait; 0 skips them
  bool KeyDelayOn = false;
  int32_t KeyDelayMs = 0;
  bool MouseDelayOn = false;
  int32_t MouseDelayMs = 0;
  bool InRepeatPass = false;      // the text playing is a repeat body
  bool FinalPassPending = false;  // the inline last pass has not typed its counter
  int32_t RepeatCounter = 0;
  std::string RepeatBody;
  bool AbortRequested = false;
  bool CapsLockWasOn = false;
  bool PauseShown = false;
  bool RestoredForPause = false;
  bool PauseInProgress = false;
  // The pause dialog hid a main window that was showing; the end of the
  // playback shows it again (and only then).
  bool MainHiddenForPause = false;
  bool ShowingMessage = false;       // the on-top message is open
  bool ShowingRepeatPrompt = false;  // the repeat prompt is open
  WindowHandle TargetWindow = 0;
  int32_t CurrentMacro = 0;
  ScreenSize Screen;
};

// Keeps a flag set for as long as it lives.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

struct EngineSeams {
  IInput& input;
  IDesktop& desktop;
  IProcesses& processes;
  IShell& shell;
  IMessagePump& pump;
  IClock& clock;
  IClipboard& clipboard;
  IFileOperations& files;
  ISound& sound;
};

}  // namespace qlx
