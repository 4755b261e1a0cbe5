#pragma once
// State the playback engine keeps between tokens and between nested
// playbacks, and the platform services it works through.
#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/message_pump.h"
#include "platform/processes.h"
#include "platform/shell.h"

namespace qlx {

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
  WindowHandle TargetWindow = 0;
  int32_t CurrentMacro = 0;
};

struct EngineSeams {
  IInput& input;
  IDesktop& desktop;
  IProcesses& processes;
  IShell& shell;
  IMessagePump& pump;
  IClock& clock;
};

}  // namespace qlx
