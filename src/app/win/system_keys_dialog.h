#pragma once
// TSystemKeys ("System Hot Keys"): the hot keys of the four system
// functions, picked from the keyboard, and what the menu of macros for the
// top-most window shows.
#include <windows.h>

#include <array>

#include "app/system_hot_keys.h"
#include "app/win/hot_key_picking.h"
#include "platform/profile.h"
#include "store/settings.h"

namespace qlx {

class TSystemKeys {
 public:
  // `digit` 1..4 is the field that has the focus when the dialog opens.
  TSystemKeys(MacroFile& file, Settings& settings, IProfile& profile, HWND main_window, int digit)
      : file_(file),
        settings_(settings),
        profile_(profile),
        picking_(file.tables().block, main_window),
        digit_(digit) {}
  TSystemKeys(const TSystemKeys&) = delete;
  TSystemKeys& operator=(const TSystemKeys&) = delete;

  // True when the user confirmed; changed system macros are then written
  // and the tables loaded again.
  bool ShowModal(HWND owner);

  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;

 private:
  void FormShow();
  void HotKeyPicked(int code);
  void OkButtonClick();
  ActivationBlock block() { return file_.tables().block; }

  MacroFile& file_;
  Settings& settings_;
  IProfile& profile_;
  HotKeyPicking picking_;
  int digit_;
  SystemKeys keys_;
  std::array<uint16_t, 4> codes_{};
  int focused_field_ = -1;  // the field that picks while armed
  bool saved_ = false;
};

}  // namespace qlx
