#pragma once
// TCaptureDefaults: "Options" > "Capture", the capture settings.
#include <windows.h>

#include "store/settings.h"

namespace qlx {

class TCaptureDefaults {
 public:
  explicit TCaptureDefaults(Settings& settings) : settings_(settings) {}
  // True when Ok stored new settings (the caller saves the settings file).
  bool ShowModal(HWND owner);

  HWND hwnd_ = nullptr;
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void FormShow();
  void OkButtonClick();

  Settings& settings_;
};

}  // namespace qlx
