#include "capture/win/capture_macro.h"

#include "capture/capture_complete.h"
#include "capture/win/capture_option_controls.h"

namespace qlx {

std::optional<DialogCaptureStart> TCaptureMacro::ShowModal(HWND owner) {
  dlg::RunModal(IDD_CAPTURE_MACRO, *this, owner);
  return result_;
}

void TCaptureMacro::FormShow() {
  const MacroRecord& r = request_.record;
  const bool is_new = request_.macro <= 0;
  // A new macro comes from the add dialog with its hot key or Snapword set.
  dlg::SetText(hwnd_, IDC_CC_HEADING, CaptureMacroTitle(r.Code(), r.Snapword()));
  dlg::SetText(hwnd_, IDC_CAP_STOP_TEXT, PressToEndText(request_.stop_key_name));
  const bool own = r.Code() < kHotKeyCodes;
  dlg::SetText(hwnd_, IDC_CAP_OWN_TEXT, own ? OrPressToEndText(HotKeyName(r.Code())) : std::string());
  dlg::SetEditLimit(hwnd_, IDC_CAP_NICKNAME, static_cast<int>(mr::kNicknameCapacity));
  dlg::SetText(hwnd_, IDC_CAP_NICKNAME, is_new ? std::string() : r.Nickname());
  CaptureOptions o = CaptureOptionsOf(settings_);
  if (request_.global_taken) o.global = false;
  ShowCaptureOptions(hwnd_, o);
  dlg::Enable(hwnd_, IDC_CAP_GLOBAL, !request_.global_taken);
  dlg::Show(hwnd_, IDC_CAP_PROMPT, false);
  EnableCaptureOptions(hwnd_);
  dlg::CentreOnScreen(hwnd_);
}

void TCaptureMacro::StartCaptureButtonClick() {
  DialogCaptureStart start;
  start.record = request_.record;
  start.record.SetNickname(TrimSpaces(dlg::GetText(hwnd_, IDC_CAP_NICKNAME)));
  start.macro = request_.macro;
  start.options = ReadCaptureOptions(hwnd_);
  start.program_scope = dlg::IsChecked(hwnd_, IDC_CAP_PROGRAM);
  result_ = start;
  ::EndDialog(hwnd_, IDOK);
}

INT_PTR TCaptureMacro::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      FormShow();
      return TRUE;
    case WM_COMMAND: {
      const dlg::Command c = dlg::DecodeCommand(wp, lp);
      if (c.id == IDC_CAP_START || c.id == IDOK) StartCaptureButtonClick();
      else if (c.id == IDCANCEL) ::EndDialog(hwnd_, IDCANCEL);
      else if (IsCaptureOptionControl(c.id) && c.code == BN_CLICKED) EnableCaptureOptions(hwnd_);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace qlx
