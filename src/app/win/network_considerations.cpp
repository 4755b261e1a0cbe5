#include "app/win/network_considerations.h"

#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {

std::optional<NetworkDialogResult> TNetworkConsiderations::ShowModal(HWND owner) {
  dlg::RunModal(IDD_NETWORK, *this, owner);
  return result_;
}

void TNetworkConsiderations::FormShow() {
  dlg::SetChecked(hwnd_, IDC_NETWORK_OPTION, settings_.network_mode);
  dlg::SetChecked(hwnd_, IDC_AUTO_SYNC, settings_.auto_sync);
  dlg::SetEditLimit(hwnd_, IDC_MINUTES, 2);
  dlg::SetText(hwnd_, IDC_MINUTES, std::to_string(settings_.sync_minutes));
  NetworkOptionClick();
  dlg::CentreOnScreen(hwnd_);
}

void TNetworkConsiderations::NetworkOptionClick() {
  const bool on = dlg::IsChecked(hwnd_, IDC_NETWORK_OPTION);
  for (int id : {IDC_AUTO_SYNC, IDC_MINUTES, IDC_MINUTES_LABEL1, IDC_MINUTES_LABEL2}) dlg::Enable(hwnd_, id, on);
}

void TNetworkConsiderations::OkButtonClick() {
  result_ = CloseNetworkDialog(settings_, dlg::IsChecked(hwnd_, IDC_NETWORK_OPTION),
                               dlg::IsChecked(hwnd_, IDC_AUTO_SYNC), dlg::GetText(hwnd_, IDC_MINUTES));
  ::EndDialog(hwnd_, IDOK);
}

INT_PTR TNetworkConsiderations::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      FormShow();
      return TRUE;
    case WM_COMMAND: {
      const dlg::Command c = dlg::DecodeCommand(wp, lp);
      if (c.id == IDC_NETWORK_OPTION && c.code == BN_CLICKED) NetworkOptionClick();
      else if (c.id == IDOK) OkButtonClick();
      else if (c.id == IDCANCEL) ::EndDialog(hwnd_, IDCANCEL);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace qlx
