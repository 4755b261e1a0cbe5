#pragma once
// The owner-drawn multiple-choice list of the export and import dialogs:
// 18-pixel rows in three columns (activation, nickname cut to fit, scope).
#include <windows.h>

#include <string>
#include <vector>

#include "app/import_export.h"

namespace qlx {

class MacroPickList {
 public:
  void Attach(HWND list) { list_ = list; }
  void SetRows(std::vector<ListedMacro> rows);
  void SelectAll(bool on);
  std::vector<bool> Selected() const;
  void SetSelected(const std::vector<bool>& selected);
  bool AnySelected() const;

  // WM_MEASUREITEM and WM_DRAWITEM of the dialog that holds the list;
  // true when the message was one of them.
  bool HandleOwnerDraw(UINT msg, LPARAM lp) const;

 private:
  HWND list_ = nullptr;
  void DrawItem(const DRAWITEMSTRUCT& d) const;

  std::vector<ListedMacro> rows_;
};

}  // namespace qlx
