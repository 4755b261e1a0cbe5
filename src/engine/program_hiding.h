#pragma once
// The program's own windows around the playback dialogs. A dialog of a
// running macro has to come forward over the program the macro drives, and
// afterwards hand the screen back to it; the main window must neither stand
// in the way nor pop up where the user had put it out of sight.
#include <cstdint>

#include "engine/engine_state.h"
#include "platform/desktop.h"
#include "platform/input.h"

namespace qlx {

class IProgramWindows {
 public:
  virtual ~IProgramWindows() = default;
  // The "Use Tray" setting.
  virtual bool UseTray() const = 0;
  // Tray mode: the application's own window, which lets a dialog of a
  // program without visible windows come forward.
  virtual void ShowApplication() = 0;
  virtual void HideApplication() = 0;
  virtual bool ApplicationMinimized() = 0;
  virtual void RestoreApplication() = 0;
  virtual void MinimizeApplication() = 0;
  virtual bool MainWindowVisible() = 0;
  // Shows the main window; the caller then gives the foreground back.
  virtual void ShowMainWindow() = 0;
  virtual void HideMainWindow() = 0;
};

enum class PlaybackDialog : uint8_t { Message, RepeatPrompt, Pause };

// Hides the program for as long as it lives; one per dialog shown. The
// message and the prompt take the foreground: the window in front first
// takes the keys the macro sent it, or they would land in the dialog.
class HiddenProgram {
 public:
  HiddenProgram(PlaybackDialog dialog, IProgramWindows& program, IDesktop& desktop,
                IInput& input, EngineState& state);
  ~HiddenProgram();
  HiddenProgram(const HiddenProgram&) = delete;
  HiddenProgram& operator=(const HiddenProgram&) = delete;

 private:
  PlaybackDialog dialog_;
  IProgramWindows& program_;
  IDesktop& desktop_;
  EngineState& state_;
  WindowHandle foreground_ = 0;  // message and prompt: where to return
  bool main_was_visible_ = false;
};

}  // namespace qlx
