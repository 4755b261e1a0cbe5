#pragma once
// TMacroListView: the macro list, a report-style ListView with owner data.
// It shows rows through the row map, draws each cell itself (inactive
// macros in grey italics, texts cut to their cell) and keeps the widths of
// columns 1 to 3 in the settings the moment the user drags a border.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/macro_list_model.h"
#include "app/sort_order.h"
#include "platform/win32/win_handles.h"
#include "store/settings.h"

namespace qlx {

class TMacroListView {
 public:
  TMacroListView(Settings& settings, const MacroTables& tables) : settings_(settings), tables_(tables) {}
  TMacroListView(const TMacroListView&) = delete;
  TMacroListView& operator=(const TMacroListView&) = delete;
  ~TMacroListView();

  bool Create(HWND parent, int id, HINSTANCE instance);
  HWND hwnd() const { return list_; }
  void Place(const Rect& r);

  // The two fonts of the settings, the row heights and column 0 after them.
  void ApplyFonts();
  // Columns 1 to 3 as wide as the settings say.
  void ApplyColumnWidths();

  // Rebuilds the row map in `order`; the selection stays with its macro.
  void Fill(const SortOrder& order);
  const std::vector<int>& rows() const { return rows_; }

  int SelectedRow() const;
  int SelectedMacro() const { return MacroOnRow(rows_, SelectedRow()); }
  // Selects a row; a row past the end selects the last, -1 none.
  void SelectRow(int row);
  void SelectMacro(int n) { SelectRow(RowOfMacro(rows_, n)); }
  void Repaint();

  enum class Event { None, SelectionChanged, DoubleClick, RightClick, ColumnResized };
  // WM_NOTIFY from the list or its header. `result` is the answer to give.
  Event OnNotify(const NMHDR* header, LRESULT& result);

 private:
  LRESULT CustomDraw(NMLVCUSTOMDRAW* cd);
  void DrawCell(HDC dc, int row, int column);
  RECT CellRect(int row, int column) const;
  void ProvideText(NMHDR* header);

  Settings& settings_;
  const MacroTables& tables_;
  HWND list_ = nullptr;
  HWND header_ = nullptr;
  win::Font grid_font_;
  win::Font grid_italic_;
  win::Font title_font_;
  HIMAGELIST row_height_ = nullptr;
  std::vector<int> rows_;
  std::string text_;  // the last text handed out through LVN_GETDISPINFO
};

// A font of the settings as a GDI font for the screen.
HFONT CreateSettingsFont(const FontSetting& font, bool italic);

}  // namespace qlx
