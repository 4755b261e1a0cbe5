#include "app/win/output_macros.h"

#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {

namespace {
constexpr int kPartIds[kInfoPartCount] = {IDC_OUT_HOTKEY, IDC_OUT_NAME, IDC_OUT_WINDOW,
                                          IDC_OUT_TEXT,   IDC_OUT_SCHEDULE, IDC_OUT_ICON};
}  // namespace

bool TOutputMacros::ShowModal(HWND owner) { return dlg::RunModal(IDD_OUTPUT_MACROS, *this, owner) == IDOK; }

void TOutputMacros::FormShow() {
  for (int id : kPartIds) dlg::SetChecked(hwnd_, id, true);
  dlg::CentreOnScreen(hwnd_);
}

void TOutputMacros::OkButtonClick() {
  for (size_t i = 0; i < kInfoPartCount; ++i) parts_[i] = dlg::IsChecked(hwnd_, kPartIds[i]);
  if (auto refusal = CheckInfoParts(parts_)) {
    ::MessageBoxA(hwnd_, refusal->c_str(), "Error", MB_OK);
    return;
  }
  ::EndDialog(hwnd_, IDOK);
}

INT_PTR TOutputMacros::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      FormShow();
      return TRUE;
    case WM_COMMAND: {
      const dlg::Command c = dlg::DecodeCommand(wp, lp);
      if (c.id == IDOK) OkButtonClick();
      else if (c.id == IDCANCEL) ::EndDialog(hwnd_, IDCANCEL);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace qlx
