#include "engine/program_hiding.h"

namespace qlx {

HiddenProgram::HiddenProgram(PlaybackDialog dialog, IProgramWindows& program, IDesktop& desktop,
                             IInput& input, EngineState& state)
    : dialog_(dialog), program_(program), desktop_(desktop), state_(state) {
  if (dialog_ != PlaybackDialog::Pause) {
    const WindowHandle front = desktop_.Foreground();
    if (front != 0) input.LetWindowTakeInput(front);
  }
  if (program_.UseTray()) {
    program_.ShowApplication();
    return;
  }
  if (dialog_ != PlaybackDialog::Pause) foreground_ = desktop_.Foreground();
  if (program_.ApplicationMinimized()) {
    program_.RestoreApplication();
    if (dialog_ == PlaybackDialog::Pause) state_.RestoredForPause = true;
  }
  main_was_visible_ = program_.MainWindowVisible();
  if (!main_was_visible_) return;
  program_.HideMainWindow();
  // The end of the playback shows it again; a second pause finds it
  // hidden already and leaves this as it is.
  if (dialog_ == PlaybackDialog::Pause) state_.MainHiddenForPause = true;
}

HiddenProgram::~HiddenProgram() {
  if (program_.UseTray()) {
    program_.HideApplication();
    return;
  }
  if (dialog_ == PlaybackDialog::Pause) {
    // The user goes on in the target; the main window comes back with the
    // end of the playback.
    if (state_.TargetWindow != 0) desktop_.HandFocusTo(state_.TargetWindow);
    return;
  }
  // A main window that was out of sight before stays so.
  if (main_was_visible_) program_.ShowMainWindow();
  if (foreground_ != 0) desktop_.SetForeground(foreground_);
}

}  // namespace qlx
