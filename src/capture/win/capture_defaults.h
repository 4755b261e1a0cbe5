#pragma once
// TCaptureDefaults: "Options" > "Capture", the capture settings.
#include <windows.h>

#include "platform/win32/dialog_base.h"
#include "store/settings.h"

namespace qlx {

class TCaptureDefaults : public dlg::Dialog {
 public:
  explicit TCaptureDefaults(Settings& settings) : settings_(settings) {}
  // True when Ok stored new settings (the caller saves the settings file).
  bool ShowModal(HWND owner);

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;

  Settings& settings_;
};

}  // namespace qlx
