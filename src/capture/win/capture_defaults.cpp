#include "capture/win/capture_defaults.h"

#include "capture/win/capture_option_controls.h"

namespace qlx {

bool TCaptureDefaults::ShowModal(HWND owner) { return RunModal(IDD_CAPTURE_DEFAULTS, owner) == IDOK; }

void TCaptureDefaults::FormShow() {
  ShowCaptureOptions(hwnd(), CaptureOptionsOf(settings_));
  EnableCaptureOptions(hwnd());
}

bool TCaptureDefaults::OkButtonClick() {
  StoreCaptureOptions(ReadCaptureOptions(hwnd()), settings_);
  return true;
}

bool TCaptureDefaults::OnCommand(int id, int code, HWND) {
  if (!IsCaptureOptionControl(id)) return false;
  if (code == BN_CLICKED) EnableCaptureOptions(hwnd());
  return true;
}

}  // namespace qlx
