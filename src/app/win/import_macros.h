#pragma once
// TImportMacros: "Import Macros", macros of an own, Brindle or Snapwords
// file appended to the current macro file.
#include <windows.h>

#include "app/import_export.h"
#include "app/win/macro_pick_list.h"
#include "platform/clock.h"
#include "platform/win32/dialog_base.h"
#include "store/macro_file.h"

namespace qlx {

class TImportMacros : public dlg::Dialog {
 public:
  TImportMacros(MacroFile& file, const IClock& clock) : file_(file), clock_(clock) {}
  // The number of macros imported (0 when cancelled).
  int ShowModal(HWND owner);

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OpenFileButtonClick();
  void Message(const char* caption, const std::string& text);

  MacroFile& file_;
  const IClock& clock_;
  ImportList import_;
  MacroPickList list_;
  int imported_ = 0;
};

}  // namespace qlx
