#pragma once
// TAppearance ("Appearance"): the two fonts of the macro list, the widths
// of its columns 1 to 3, and the speed bar or the lettered buttons.
#include <windows.h>

#include "platform/profile.h"
#include "platform/win32/dialog_base.h"
#include "store/settings.h"

namespace qlx {

class TAppearance : public dlg::Dialog {
 public:
  TAppearance(Settings& settings, IProfile& profile) : settings_(settings), profile_(profile) {}

  // True when the user confirmed: the settings then hold the new choices.
  bool ShowModal(HWND owner);

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void GridFontButtonClick();
  void TitleFontButtonClick();
  void SaveSettings();

  Settings& settings_;
  IProfile& profile_;
  FontSetting grid_font_;
  FontSetting title_font_;
};

// The platform font dialog over `owner`, starting at `font`; with effects
// it offers colour, underline and strike-out. False when cancelled.
bool ChooseFontSetting(HWND owner, FontSetting& font, bool effects);

}  // namespace qlx
