// What playback and hot-key dispatch ask of the main window: the playback
// dialogs, the program's own windows around them, the playback record and
// bringing the program forward.
#include "app/win/main_window.h"

#include <utility>

#include "engine/program_hiding.h"
#include "engine/waits.h"
#include "engine/win/on_top_message.h"
#include "engine/win/pause_macro.h"
#include "engine/win/repeat_prompt.h"

namespace qlx {

void TMainWin::DoAMessage(const std::string& caption, const std::string& text) {
  // One at a time: a second message while one is open is dropped.
  if (engine_.ShowingMessage) return;
  FlagScope showing(engine_.ShowingMessage);
  HiddenProgram hidden(PlaybackDialog::Message, *this, desktop_, input_, engine_);
  TOnTopMessage form(caption, text, engine_.Screen);
  form.ShowModal();
}

uint16_t TMainWin::DoRepPrompt() {
  FlagScope showing(engine_.ShowingRepeatPrompt);
  HiddenProgram hidden(PlaybackDialog::RepeatPrompt, *this, desktop_, input_, engine_);
  TRepeatPrompt form(engine_.Screen);
  return form.ShowModal();
}

bool TMainWin::ShowPauseBox(int top, int left, const std::string& message) {
  HiddenProgram hidden(PlaybackDialog::Pause, *this, desktop_, input_, engine_);
  const int n = engine_.CurrentMacro;
  const bool known = n >= 1 && n <= ctx_.block.ClampedCount();
  PauseBoxRequest request;
  request.top = top;
  request.left = left;
  request.message = message;
  request.macro_name = known ? ctx_.settings.names.Nickname(n) : std::string();
  // No macro number: nothing to name, as for a timed macro.
  request.activation_code = known ? ctx_.block.Code(n) : kTimedCode;
  request.target = engine_.TargetWindow;
  TPauseMacro form(std::move(request), desktop_);
  pause_dialog_ = &form;
  const bool resume = form.ShowModal();
  pause_dialog_ = nullptr;
  return resume;
}

void TMainWin::ResumePause() {
  if (pause_dialog_) pause_dialog_->Resume();
}

void TMainWin::LetWindowManagerFollow() {
  const bool never = false;  // the abort request must not cut this short
  Waits(ctx_.clock, pump_, never).Milliseconds(kWindowManagerSettleMs);
}

// The program has no window apart from the main window that could stand
// for it in the taskbar: in tray mode the dialogs come forward on their
// own, being topmost.
void TMainWin::ShowApplication() {}
void TMainWin::HideApplication() {}

bool TMainWin::ApplicationMinimized() { return ::IsIconic(hwnd_) != 0; }

void TMainWin::RestoreApplication() { ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE); }

void TMainWin::MinimizeApplication() { ::ShowWindow(hwnd_, SW_SHOWMINNOACTIVE); }

bool TMainWin::MainWindowVisible() { return ::IsWindowVisible(hwnd_) != 0; }

// The caller then hands the foreground back to the window it belongs to,
// so the window comes back without taking it. A window manager that
// focuses newly shown windows all the same must have done so before the
// hand-back, or it would take the foreground away again.
void TMainWin::ShowMainWindow() {
  ::ShowWindow(hwnd_, SW_SHOWNA);
  LetWindowManagerFollow();
}

void TMainWin::HideMainWindow() { ::ShowWindow(hwnd_, SW_HIDE); }

bool TMainWin::ReadPlaybackRecord(int n, MacroRecord& record) { return ctx_.macro_file.ReadRecord(n, record); }

void TMainWin::PlayText(const std::string& text) { player_.StartPlayback(text, PlaybackEntry::Triggered); }

void TMainWin::ActivateMe() {
  if (auto refusal = dispatch_.ActivateMeRefusal()) {
    DoAMessage(kWarningCaption, *refusal);
    return;
  }
  if (::IsWindowVisible(hwnd_) && !ctx_.settings.use_tray) {
    if (::IsIconic(hwnd_)) ::ShowWindow(hwnd_, SW_RESTORE);
  } else {
    ::ShowWindow(hwnd_, SW_SHOW);
    // Shown again: the columns as the settings have them, and the row
    // selected when the window went.
    list_.ApplyColumnWidths();
    if (remembered_row_ >= 0) list_.SelectRow(remembered_row_);
  }
  ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(hwnd_);
}

}  // namespace qlx
