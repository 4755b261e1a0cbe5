#pragma once
// TExportMacros: "Export Macros", chosen macros of the current file copied
// into a new macro file.
#include <windows.h>

#include <vector>

#include "app/win/macro_pick_list.h"
#include "platform/win32/dialog_base.h"
#include "store/macro_file.h"

namespace qlx {

class TExportMacros : public dlg::Dialog {
 public:
  explicit TExportMacros(MacroFile& file) : file_(file) {}
  void ShowModal(HWND owner);

 private:
  void FormShow() override;
  // Enter saves nothing: "&Save File" does.
  bool OkButtonClick() override { return false; }
  bool OnCommand(int id, int code, HWND control) override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void SaveFileButtonClick();
  void Message(const char* caption, const char* text);

  MacroFile& file_;
  std::vector<int> macros_;
  MacroPickList list_;
};

}  // namespace qlx
