#pragma once
// TSortOrder ("Sort Order"): the three orders of the macro list, each item
// moved with its up and down buttons.
#include <windows.h>

#include <array>
#include <string>

#include "platform/profile.h"
#include "store/settings.h"

namespace qlx {

class TSortOrder {
 public:
  TSortOrder(Settings& settings, IProfile& profile) : settings_(settings), profile_(profile) {}
  TSortOrder(const TSortOrder&) = delete;
  TSortOrder& operator=(const TSortOrder&) = delete;

  // True when the user confirmed: the settings then hold the new orders.
  bool ShowModal(HWND owner);

  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;

 private:
  void FormShow();
  void ShowList(int list, int selected);
  void ListClick(int list);
  void MoveButtonClick(int list, int delta);
  void OkButtonClick();

  Settings& settings_;
  IProfile& profile_;
  std::array<std::string, 3> digits_;
  bool saved_ = false;
};

}  // namespace qlx
