// The window's side of printing, import, export and network mode.
#include "app/win/main_window.h"

namespace qlx {

std::vector<int> TMainWin::ListOrder() { return list_.rows(); }

// Another machine changed the file: the same file again, the same row
// selected (or the last one when the list got shorter).
void TMainWin::NetworkReload() {
  const int row = list_.SelectedRow();
  hooks_.ClearMenuTaskIcon();
  LoadCurrentFile();
  hooks_.GetSwapFile();
  FillList();
  SetHotKeys();
  if (row >= 0) SelectRow(row);
  SetButtons();
  hooks_.CheckAndSetTime();
  hooks_.DoMenuTaskIcon();
}

void TMainWin::AfterImport() {
  FillList();
  SetHotKeys();
  SetButtons();
}

bool TMainWin::ReloadIfChangedElsewhere() {
  sharing_.network().CheckForChange();
  return false;  // the hot key goes on with the fresh tables
}

}  // namespace qlx
