#pragma once
// TNetworkConsiderations: "Network Considerations", file locking and
// automatic synchronisation of a shared macro file.
#include <windows.h>

#include "store/network_sync.h"

namespace qlx {

class TNetworkConsiderations {
 public:
  explicit TNetworkConsiderations(NetworkSettings settings) : settings_(settings) {}
  // What closing decided; nothing when the dialog was cancelled.
  std::optional<NetworkDialogResult> ShowModal(HWND owner);

  HWND hwnd_ = nullptr;
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void FormShow();
  void NetworkOptionClick();
  void OkButtonClick();

  NetworkSettings settings_;
  std::optional<NetworkDialogResult> result_;
};

}  // namespace qlx
