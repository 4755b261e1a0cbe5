#pragma once
// TSystemKeys ("System Hot Keys"): the hot keys of the four system
// functions, picked from the keyboard, and what the menu of macros for the
// top-most window shows.
#include <windows.h>

#include <array>

#include "app/system_hot_keys.h"
#include "app/win/hot_key_picking.h"
#include "platform/profile.h"
#include "platform/win32/dialog_base.h"
#include "store/settings.h"

namespace qlx {

class TSystemKeys : public dlg::Dialog {
 public:
  // `digit` 1..4 is the field that has the focus when the dialog opens.
  TSystemKeys(MacroFile& file, Settings& settings, IProfile& profile, HWND main_window, int digit)
      : file_(file),
        settings_(settings),
        profile_(profile),
        picking_(file.tables().block, main_window),
        digit_(digit) {}
  // True when the user confirmed; changed system macros are then written
  // and the tables loaded again.
  bool ShowModal(HWND owner);

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  void FormClose() override;
  bool OnCommand(int id, int code, HWND control) override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void HotKeyPicked(int code);
  ActivationBlock block() { return file_.tables().block; }

  MacroFile& file_;
  Settings& settings_;
  IProfile& profile_;
  HotKeyPicking picking_;
  int digit_;
  SystemKeys keys_;
  std::array<uint16_t, 4> codes_{};
  int focused_field_ = -1;  // the field that picks while armed
};

}  // namespace qlx
