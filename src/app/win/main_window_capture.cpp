// Capture, Snapwords and key remapping on the main window: the hook
// library's messages, "Recapture Macro", Capture Complete, the recording
// icon, the Options dialogs and the key-remap file of the current macro file.
#include "app/win/main_window.h"

#include "activation/hook_contract.h"
#include "activation/key_remap.h"
#include "activation/top_window_menu.h"
#include "activation/win/key_remapper.h"
#include "activation/win/snapword_options.h"
#include "capture/recapture.h"
#include "capture/win/capture_complete.h"
#include "capture/win/capture_defaults.h"
#include "capture/win/capture_macro.h"
#include "resource.h"

namespace qlx {

bool TMainWin::OnCaptureMessage(UINT msg, WPARAM wp, LPARAM lp) {
  const auto w = static_cast<uint32_t>(wp);
  const auto l = static_cast<uint32_t>(lp);
  switch (msg) {
    case kMsgCaptureChar: capture_.OnCaptureChar(w, l); return true;
    case kMsgCaptureDone: capture_.OnCaptureDone(w); return true;
    case kMsgSnapwordChar: snapwords_.OnSnapwordChar(w, l); return true;
    default: return false;
  }
}

// ---------------------------------------------------------------- starting

void TMainWin::StartACapture() { capture_.StartACapture(browse_mode_ != BrowseMode::None); }

void TMainWin::RecaptureClick() {
  const int n = list_.SelectedMacro();
  if (auto refusal = RecaptureRefusal(ctx_.block.ClampedCount(), n, capture_.Recording())) {
    ctx_.boxes.Show(kErrorCaption, *refusal);
    return;
  }
  if (!TakeNetworkLock()) return;
  CaptureMacroRequest request;
  request.macro = n;
  request.stop_key_name = capture_.StopKeyName();
  request.global_taken = GlobalTriggerTaken(ctx_.block, ctx_.settings.names, n);
  if (!ctx_.macro_file.ReadRecord(n, request.record)) {
    ReleaseNetworkLock(false);
    return;
  }
  std::optional<DialogCaptureStart> start;
  {
    FlagScope open(dialog_open_);
    start = TCaptureMacro(std::move(request), ctx_.settings).ShowModal(hwnd_);
  }
  // The lock stays taken while the capture runs; its end releases it.
  if (start) capture_.StartDialogCapture(*start);
  else ReleaseNetworkLock(false);
}

EditOutcome TMainWin::CaptureNewMacro(HWND owner, MacroRecord& record, const CaptureRequest& request) {
  if (capture_.Recording()) {
    ctx_.boxes.Show(kErrorCaption, kCaptureInProgressText);
    return {};
  }
  // The add command holds the lock and the window's dialog flag already.
  CaptureMacroRequest capture;
  capture.record = record;
  capture.stop_key_name = capture_.StopKeyName();
  capture.global_taken = request.key_in_use;
  pending_capture_ = TCaptureMacro(std::move(capture), ctx_.settings).ShowModal(owner);
  EditOutcome outcome;
  outcome.capture_started = pending_capture_.has_value();
  return outcome;
}

void TMainWin::StartPendingCapture() {
  if (!pending_capture_) return;
  const DialogCaptureStart start = *pending_capture_;
  pending_capture_.reset();
  capture_.StartDialogCapture(start);
}

// ---------------------------------------------------------------- ICaptureHost

std::string TMainWin::GetTopProgram() { return qlx::GetTopProgram(desktop_, processes_); }

bool TMainWin::TakeNetworkLock() { return !lock_.FileInUse(); }

void TMainWin::ReleaseNetworkLock(bool changed) { lock_.ReleaseSyncFile(changed); }

int TMainWin::AppendMacro(const MacroRecord& record) {
  const int n = AppendMacroRecord(ctx_.macro_file, record);
  if (n > 0) FillList();
  return n;
}

bool TMainWin::ReadRecord(int n, MacroRecord& record) { return ctx_.macro_file.ReadRecord(n, record); }

bool TMainWin::WriteRecord(int n, const MacroRecord& record) { return ctx_.macro_file.WriteRecord(n, record); }

void TMainWin::ShowRecordingIcon(bool shown) {
  if (!recording_icon_) {
    if (!shown) return;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(hwnd_, GWLP_HINSTANCE));
    auto picture =
        static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_RECORDING), IMAGE_ICON, 16, 16, 0));
    recording_icon_ = std::make_unique<TTaskIcon>(picture, IDI_RECORDING, kRecordingToolTip);
    // The icon stays alive across the end it causes: it is only hidden.
    recording_icon_->OnRightClick = [this](POINT) { capture_.EndCaptureFromTray(); };
  }
  recording_icon_->SetActive(shown);
}

void TMainWin::StepAsideForCapture() {
  if (ctx_.settings.use_tray) {
    remembered_row_ = list_.SelectedRow();
    ::ShowWindow(hwnd_, SW_HIDE);
    HWND outside = win::WindowFromField(WindowBlock(window_block_.bytes()).LastOutsideWindow2());
    if (outside && outside != hwnd_ && ::IsWindow(outside)) ::SetForegroundWindow(outside);
  } else {
    // Minimizing hands the foreground to the window that had it before.
    ::ShowWindow(hwnd_, SW_MINIMIZE);
  }
}

bool TMainWin::RunCaptureComplete(MacroRecord& record, const std::string& top_program) {
  const bool tray = ctx_.settings.use_tray;
  if (!tray) {
    if (::IsIconic(hwnd_)) ::ShowWindow(hwnd_, SW_RESTORE);
    ::ShowWindow(hwnd_, SW_HIDE);
  }
  bool ok = false;
  {
    FlagScope open(dialog_open_);
    TCaptureComplete dialog(record, engine_.CurrentMacro, ctx_.block, ctx_.settings, top_program,
                            win::HandleField(hwnd_));
    ok = dialog.ShowModal(hwnd_);
  }
  if (!tray) ::ShowWindow(hwnd_, SW_SHOW);
  return ok;
}

void TMainWin::CaptureFinished(int macro) {
  SetHotKeys();
  // The window comes forward for the new macro: the next switch away
  // leaves it in sight.
  skip_deactivation_ = true;
  if (ctx_.settings.use_tray) {
    ::ShowWindow(hwnd_, SW_SHOW);
  } else {
    if (::IsIconic(hwnd_)) ::ShowWindow(hwnd_, SW_RESTORE);
    if (!::IsWindowVisible(hwnd_)) ::ShowWindow(hwnd_, SW_SHOW);
  }
  ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(hwnd_);
  FillList();
  if (macro > 0) list_.SelectMacro(macro);
  CheckTimeItem();
}

// ---------------------------------------------------------------- options

void TMainWin::CaptureOptionsClick() {
  FlagScope open(dialog_open_);
  if (TCaptureDefaults(ctx_.settings).ShowModal(hwnd_)) SaveSettings();
}

void TMainWin::SnapwordOptionsClick() {
  FlagScope open(dialog_open_);
  if (TSnapwordOptions(ctx_.settings).ShowModal(hwnd_)) SaveSettings();
}

// ---------------------------------------------------------------- key remapping

void TMainWin::GetSwapFile() {
  if (!remap_block_.bytes()) return;
  remap_file_ = qlx::GetSwapFile(ctx_.settings.current_file, RemapTables(RemapBlock(remap_block_.bytes()).Tables()),
                                ctx_.boxes);
}

void TMainWin::RemapClick() {
  FileChange change(lock_);
  if (!change.Taken()) return;
  FlagScope open(dialog_open_);
  TKeyRemapper dialog(RemapTables(RemapBlock(remap_block_.bytes()).Tables()), remap_file_,
                      browse_mode_ != BrowseMode::None);
  if (dialog.ShowModal(hwnd_)) change.Changed();
}

}  // namespace qlx
