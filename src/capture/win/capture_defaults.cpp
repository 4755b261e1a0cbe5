#include "capture/win/capture_defaults.h"

#include "capture/win/capture_option_controls.h"

namespace qlx {

bool TCaptureDefaults::ShowModal(HWND owner) { return dlg::RunModal(IDD_CAPTURE_DEFAULTS, *this, owner) == IDOK; }

void TCaptureDefaults::FormShow() {
  ShowCaptureOptions(hwnd_, CaptureOptionsOf(settings_));
  EnableCaptureOptions(hwnd_);
  dlg::CentreOnScreen(hwnd_);
}

void TCaptureDefaults::OkButtonClick() {
  StoreCaptureOptions(ReadCaptureOptions(hwnd_), settings_);
  ::EndDialog(hwnd_, IDOK);
}

INT_PTR TCaptureDefaults::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      FormShow();
      return TRUE;
    case WM_COMMAND: {
      const dlg::Command c = dlg::DecodeCommand(wp, lp);
      if (c.id == IDOK) OkButtonClick();
      else if (c.id == IDCANCEL) ::EndDialog(hwnd_, IDCANCEL);
      else if (IsCaptureOptionControl(c.id) && c.code == BN_CLICKED) EnableCaptureOptions(hwnd_);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace qlx
