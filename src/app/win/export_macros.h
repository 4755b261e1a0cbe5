#pragma once
// TExportMacros: "Export Macros", chosen macros of the current file copied
// into a new macro file.
#include <windows.h>

#include <vector>

#include "app/win/macro_pick_list.h"
#include "store/macro_file.h"

namespace qlx {

class TExportMacros {
 public:
  explicit TExportMacros(MacroFile& file) : file_(file) {}
  void ShowModal(HWND owner);

  HWND hwnd_ = nullptr;
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void FormShow();
  void SaveFileButtonClick();
  void Message(const char* caption, const char* text);

  MacroFile& file_;
  std::vector<int> macros_;
  MacroPickList list_;
};

}  // namespace qlx
