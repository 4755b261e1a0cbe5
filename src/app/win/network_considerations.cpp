#include "app/win/network_considerations.h"

#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {

std::optional<NetworkDialogResult> TNetworkConsiderations::ShowModal(HWND owner) {
  RunModal(IDD_NETWORK, owner);
  return result_;
}

void TNetworkConsiderations::FormShow() {
  dlg::SetChecked(hwnd(), IDC_NETWORK_OPTION, settings_.network_mode);
  dlg::SetChecked(hwnd(), IDC_AUTO_SYNC, settings_.auto_sync);
  dlg::SetEditLimit(hwnd(), IDC_MINUTES, 2);
  dlg::SetText(hwnd(), IDC_MINUTES, std::to_string(settings_.sync_minutes));
  NetworkOptionClick();
}

void TNetworkConsiderations::NetworkOptionClick() {
  const bool on = dlg::IsChecked(hwnd(), IDC_NETWORK_OPTION);
  for (int id : {IDC_AUTO_SYNC, IDC_MINUTES, IDC_MINUTES_LABEL1, IDC_MINUTES_LABEL2}) dlg::Enable(hwnd(), id, on);
}

bool TNetworkConsiderations::OkButtonClick() {
  result_ = CloseNetworkDialog(settings_, dlg::IsChecked(hwnd(), IDC_NETWORK_OPTION),
                               dlg::IsChecked(hwnd(), IDC_AUTO_SYNC), dlg::GetText(hwnd(), IDC_MINUTES));
  return true;
}

bool TNetworkConsiderations::OnCommand(int id, int code, HWND) {
  if (id != IDC_NETWORK_OPTION) return false;
  if (code == BN_CLICKED) NetworkOptionClick();
  return true;
}

}  // namespace qlx
