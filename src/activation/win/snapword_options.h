#pragma once
// TSnapwordOptions: "Options" > "Snapwords".
#include <windows.h>

#include "platform/win32/dialog_base.h"
#include "store/settings.h"

namespace qlx {

class TSnapwordOptions : public dlg::Dialog {
 public:
  explicit TSnapwordOptions(Settings& settings) : settings_(settings) {}
  // True when Ok stored the options (the caller saves the settings file).
  bool ShowModal(HWND owner);

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void UsePrefixClick();
  bool PrefixCheck();

  Settings& settings_;
  bool checking_ = false;  // the message box moves the focus: no second check
};

}  // namespace qlx
