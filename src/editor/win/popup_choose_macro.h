#pragma once
// TDoAMenu: "Choose A Macro", the chooser of a popup-menu macro. Always on
// top, a tool window; a digit or letter chooses the entry of that label, a
// double click or an icon button the entry clicked.
#include <windows.h>

#include <string>
#include <vector>

#include "editor/popup_menu.h"
#include "editor/popup_menu_chooser.h"
#include "platform/win32/dialog_base.h"
#include "platform/win32/win_handles.h"

namespace qlx {

class TDoAMenu : public dlg::Dialog {
 public:
  // `chooser_x`: the x of the right click on a menu tray icon, or -1 (a hot
  // key) to centre the chooser.
  TDoAMenu(std::vector<ChooserEntry> entries, const MenuOptions& options, std::string program_dir, int chooser_x)
      : Dialog(Placement::OwnPlace),
        entries_(std::move(entries)),
        options_(options),
        program_dir_(std::move(program_dir)),
        chooser_x_(chooser_x) {}

  // Shows the chooser and handles every message of the thread until it
  // closes; `owner` (if any) takes no input meanwhile. The chosen macro's
  // number or -1.
  int ShowModal(HWND owner);

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  void FormClose() override;
  bool OnCommand(int id, int code, HWND control) override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool PreviewMessage(MSG& msg) override;
  void FormActivate();
  void LayOutLists(const ChooserLayout& layout);
  void LayOutIcons(const ChooserLayout& layout);
  void ListDblClick(int list_id);
  void ListMeasureItem(MEASUREITEMSTRUCT& m);
  void ListDrawItem(const DRAWITEMSTRUCT& d);
  // True when the key is one of the choosing keys (it goes no further).
  bool FormKeyPress(char key);
  void Choose(size_t position);
  HICON EntryIcon(const ChooserEntry& e, int pixels) const;

  std::vector<ChooserEntry> entries_;
  MenuOptions options_;
  std::string program_dir_;
  int chooser_x_;
  int result_ = -1;
  std::vector<win::Icon> icons_;
};

// The chooser of the menu in `menu`, its entries read from `records`: the
// chosen macro's number or -1.
int ChooseFromMenu(const MacroRecord& menu, IRecordSource& records, const std::string& program_dir, int chooser_x,
                   HWND owner);

}  // namespace qlx
