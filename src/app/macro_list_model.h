#pragma once
// What the macro list shows, decided without a window: the cell texts, how
// a text is cut to its cell, the row heights and where the list, the button
// panel and the speed bar stand in the main window.
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "store/macro_tables.h"

namespace qlx {

inline constexpr int kListColumns = 4;
inline constexpr std::array<std::string_view, kListColumns> kListTitles = {"", "Activation", "Nickname",
                                                                            "Scope"};
// Column 0 is as wide as this text in the list's font.
inline constexpr char kRowNumberSample[] = "9999";
// Row heights are measured on this text.
inline constexpr char kRowHeightSample[] = "ZZYyjkla";
// Texts stand this far right of their cell's left edge and end at least
// this far before its right edge.
inline constexpr int kCellTextInset = 2;

// Column texts of macro n shown on row `row` (0-based).
std::string RowNumberText(int row);
std::string ActivationColumnText(uint16_t code, std::string_view snapword);
std::string ScopeColumnText(int16_t scope, std::string_view scope_text);
std::string CellText(int column, int row, int n, const MacroTables& tables);

// The longest start of `text` that `width_of` measures at most `width` wide.
std::string CutToWidth(std::string_view text, int width, const std::function<int(std::string_view)>& width_of);
// The longest start of `text` whose width is at most `cell_width` - 2:
// characters are dropped from the end, no ellipsis is added. `width_of`
// measures a text in the cell's font.
std::string FitCellText(std::string_view text, int cell_width,
                        const std::function<int(std::string_view)>& width_of);

// Height of a data row for a font whose sample text is `text_height` high.
int DataRowHeight(int text_height);

// ---- main window layout ------------------------------------------------------

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct MainLayout {
  Rect list;
  Rect panel;  // the lettered buttons (empty with the speed bar)
  Rect bar;    // the speed bar (empty without it)
};

// Sizes of the window's client area; with the speed bar the list starts
// below it, without it the button panel stands at the right.
MainLayout LayoutMainWindow(int client_width, int client_height, bool use_speed);

// Buttons of the lettered panel, top to bottom, each this high with this
// gap; they are as wide as the panel.
inline constexpr int kPanelButtonHeight = 25;
inline constexpr int kPanelButtonGap = 6;
Rect PanelButtonBox(const Rect& panel, int index);

}  // namespace qlx
