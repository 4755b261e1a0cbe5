#pragma once
// TKeyRemapper: "Options" > "Remap", the four remap tables as grids. A
// double-clicked replacement opens Select Character; a change is written
// into the remap block at once and to the key-remap file on close.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "activation/key_remap.h"
#include "platform/win32/dialog_base.h"
#include "platform/win32/win_handles.h"

namespace qlx {

class TKeyRemapper : public dlg::Dialog {
 public:
  TKeyRemapper(RemapTables tables, std::string remap_file, bool browse)
      : tables_(tables), file_(std::move(remap_file)), browse_(browse) {}
  // True when a table changed (the file is already written then).
  bool ShowModal(HWND owner);

 private:
  void FormShow() override;
  // Ok and Cancel alike keep what was changed.
  bool OkButtonClick() override;
  void FormClose() override;
  bool OnNotify(const NMHDR& header, LPARAM lp, LRESULT& result) override;
  void FillGrid(size_t grid);
  void GridDblClick(size_t grid, int row);
  LRESULT GridCustomDraw(NMLVCUSTOMDRAW& cd, size_t grid);

  RemapTables tables_;
  std::string file_;
  bool browse_;
  bool changed_ = false;
  win::Font bold_;
};

}  // namespace qlx
