#include "capture/win/capture_macro.h"

#include "capture/capture_complete.h"
#include "capture/win/capture_option_controls.h"

namespace qlx {

std::optional<DialogCaptureStart> TCaptureMacro::ShowModal(HWND owner) {
  RunModal(IDD_CAPTURE_MACRO, owner);
  return result_;
}

void TCaptureMacro::FormShow() {
  const MacroRecord& r = request_.record;
  const bool is_new = request_.macro <= 0;
  // A new macro comes from the add dialog with its hot key or Snapword set.
  dlg::SetText(hwnd(), IDC_CC_HEADING, CaptureMacroTitle(r.Code(), r.Snapword()));
  dlg::SetText(hwnd(), IDC_CAP_STOP_TEXT, PressToEndText(request_.stop_key_name));
  const bool own = r.Code() < kHotKeyCodes;
  dlg::SetText(hwnd(), IDC_CAP_OWN_TEXT, own ? OrPressToEndText(HotKeyName(r.Code())) : std::string());
  dlg::SetEditLimit(hwnd(), IDC_CAP_NICKNAME, static_cast<int>(mr::kNicknameCapacity));
  dlg::SetText(hwnd(), IDC_CAP_NICKNAME, is_new ? std::string() : r.Nickname());
  CaptureOptions o = CaptureOptionsOf(settings_);
  if (request_.global_taken) o.global = false;
  ShowCaptureOptions(hwnd(), o);
  dlg::Enable(hwnd(), IDC_CAP_GLOBAL, !request_.global_taken);
  dlg::Show(hwnd(), IDC_CAP_PROMPT, false);
  EnableCaptureOptions(hwnd());
}

bool TCaptureMacro::OkButtonClick() {
  DialogCaptureStart start;
  start.record = request_.record;
  start.record.SetNickname(TrimSpaces(dlg::GetText(hwnd(), IDC_CAP_NICKNAME)));
  start.macro = request_.macro;
  start.options = ReadCaptureOptions(hwnd());
  start.program_scope = dlg::IsChecked(hwnd(), IDC_CAP_PROGRAM);
  result_ = start;
  return true;
}

bool TCaptureMacro::OnCommand(int id, int code, HWND) {
  if (id == IDC_CAP_START) {
    if (OkButtonClick()) End(IDOK);
  } else if (IsCaptureOptionControl(id)) {
    if (code == BN_CLICKED) EnableCaptureOptions(hwnd());
  } else {
    return false;
  }
  return true;
}

}  // namespace qlx
