#pragma once
// TSnapwordOptions: "Options" > "Snapwords".
#include <windows.h>

#include "store/settings.h"

namespace qlx {

class TSnapwordOptions {
 public:
  explicit TSnapwordOptions(Settings& settings) : settings_(settings) {}
  // True when Ok stored the options (the caller saves the settings file).
  bool ShowModal(HWND owner);

  HWND hwnd_ = nullptr;
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void FormShow();
  void UsePrefixClick();
  bool PrefixCheck();
  void OkButtonClick();

  Settings& settings_;
  bool checking_ = false;  // the message box moves the focus: no second check
};

}  // namespace qlx
