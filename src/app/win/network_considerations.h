#pragma once
// TNetworkConsiderations: "Network Considerations", file locking and
// automatic synchronisation of a shared macro file.
#include <windows.h>

#include "platform/win32/dialog_base.h"
#include "store/network_sync.h"

namespace qlx {

class TNetworkConsiderations : public dlg::Dialog {
 public:
  explicit TNetworkConsiderations(NetworkSettings settings) : settings_(settings) {}
  // What closing decided; nothing when the dialog was cancelled.
  std::optional<NetworkDialogResult> ShowModal(HWND owner);

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void NetworkOptionClick();

  NetworkSettings settings_;
  std::optional<NetworkDialogResult> result_;
};

}  // namespace qlx
