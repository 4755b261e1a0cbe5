#pragma once
// TSortOrder ("Sort Order"): the three orders of the macro list, each item
// moved with its up and down buttons.
#include <windows.h>

#include <array>
#include <string>

#include "platform/profile.h"
#include "platform/win32/dialog_base.h"
#include "store/settings.h"

namespace qlx {

class TSortOrder : public dlg::Dialog {
 public:
  TSortOrder(Settings& settings, IProfile& profile) : settings_(settings), profile_(profile) {}

  // True when the user confirmed: the settings then hold the new orders.
  bool ShowModal(HWND owner);

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void ShowList(int list, int selected);
  void ListClick(int list);
  void MoveButtonClick(int list, int delta);

  Settings& settings_;
  IProfile& profile_;
  std::array<std::string, 3> digits_;
};

}  // namespace qlx
