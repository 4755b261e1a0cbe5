#pragma once
// TDoBuildMenu: "Build Macro Menu", the editor of a popup-menu macro. It
// writes the working record on "&Ok"; the caller saves it and refreshes.
#include <windows.h>

#include <string>

#include "editor/popup_menu.h"
#include "platform/win32/dialog_base.h"
#include "platform/win32/win_handles.h"
#include "store/macro_tables.h"

namespace qlx {

struct BuildMenuResult {
  bool saved = false;
  bool tray_icons_changed = false;
};

class TDoBuildMenu : public dlg::Dialog {
 public:
  // `modify`: the working record is an existing menu; otherwise a new one
  // (the caller raises the number of macros when it appends it). `title`,
  // the menu's hot-key name, replaces the caption when given.
  TDoBuildMenu(MacroRecord& working, bool modify, ActivationBlock block, const MacroNameTables& names,
               std::string program_dir, IIconFolder& icons, std::string title = {})
      : working_(working),
        modify_(modify),
        block_(block),
        names_(names),
        program_dir_(std::move(program_dir)),
        icons_(icons),
        title_(std::move(title)) {}

  BuildMenuResult ShowModal(HWND owner);

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void FillLists();
  void SetButtons();
  PopupMenuBuilder::Selection CurrentSelection() const;
  void Act(std::optional<std::string> (PopupMenuBuilder::*action)(PopupMenuBuilder::Selection&));
  void IconButtonClick();
  void ShowIcon(const std::string& icon_name);

  MacroRecord& working_;
  bool modify_;
  ActivationBlock block_;
  const MacroNameTables& names_;
  std::string program_dir_;
  IIconFolder& icons_;
  std::string title_;
  PopupMenuBuilder builder_;
  MenuForm opening_;
  std::string icon_name_;
  bool icon_changed_ = false;
  win::Icon picture_;
  BuildMenuResult result_;
};

}  // namespace qlx
