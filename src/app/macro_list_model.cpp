#include "app/macro_list_model.h"

#include <algorithm>
#include <cmath>

#include "store/hotkey_table.h"

namespace qlx {
namespace {

// The layout rules are given for the outer window width of a classic frame
// of 4 pixels a side; the client area is that much narrower.
constexpr int kClassicFrame = 8;
// Without the speed bar: the panel's left edge is 161 pixels left of the
// window's right edge, the list is 171 narrower than the window and 9 lower
// than the client area, starting 4 down.
constexpr int kPanelFromRight = 161 - kClassicFrame;
constexpr int kPanelWidth = 145;
constexpr int kListNarrowerBesidePanel = 171 - kClassicFrame;
constexpr int kListTopBesidePanel = 4;
constexpr int kListLeftBesidePanel = 4;
constexpr int kListShorterBesidePanel = 9;
// With the speed bar: the list starts 35 down, is 12 narrower than the
// window and 40 lower than the client area.
constexpr int kBarHeight = 31;
constexpr int kListTopBelowBar = 35;
constexpr int kListLeftBelowBar = 2;
constexpr int kListNarrowerBelowBar = 12 - kClassicFrame;
constexpr int kListShorterBelowBar = 40;

constexpr double kRowHeightFactor = 1.1;

int NotNegative(int v) { return v < 0 ? 0 : v; }

}  // namespace

std::string RowNumberText(int row) { return std::to_string(row + 1); }

std::string ActivationColumnText(uint16_t code, std::string_view snapword) {
  if (code == kTimedCode) return "Timed Macro";
  if (code == kSnapwordCode) return std::string(snapword);
  return std::string(HotKeyName(code));
}

std::string ScopeColumnText(int16_t scope, std::string_view scope_text) {
  switch (scope) {
    case kScopeGlobal: return "GLOBAL";
    case kScopeWindow: return "Window: " + std::string(scope_text);
    case kScopeProgram: return "Program: " + std::string(scope_text);
    case kScopePopupMenu: return "Popup Menu";
    case kScopeSystem: return "SYSTEM";
    default: return std::string();
  }
}

std::string CellText(int column, int row, int n, const MacroTables& tables) {
  const ActivationBlock& b = tables.block;
  switch (column) {
    case 0: return RowNumberText(row);
    case 1: return ActivationColumnText(b.Code(n), tables.names.Snapword(n));
    case 2: return tables.names.Nickname(n);
    case 3: return ScopeColumnText(b.Scope(n), b.ScopeText(n));
    default: return std::string();
  }
}

std::string FitCellText(std::string_view text, int cell_width,
                        const std::function<int(std::string_view)>& width_of) {
  return CutToWidth(text, cell_width - kCellTextInset, width_of);
}

std::string CutToWidth(std::string_view text, int width, const std::function<int(std::string_view)>& width_of) {
  size_t n = text.size();
  while (n > 0 && width_of(text.substr(0, n)) > width) --n;
  return std::string(text.substr(0, n));
}

int DataRowHeight(int text_height) {
  return static_cast<int>(std::lround(text_height * kRowHeightFactor));
}

MainLayout LayoutMainWindow(int client_width, int client_height, bool use_speed) {
  MainLayout l;
  if (use_speed) {
    l.bar = {0, 0, NotNegative(client_width), kBarHeight};
    l.list = {kListLeftBelowBar, kListTopBelowBar, NotNegative(client_width - kListNarrowerBelowBar),
              NotNegative(client_height - kListShorterBelowBar)};
  } else {
    l.list = {kListLeftBesidePanel, kListTopBesidePanel, NotNegative(client_width - kListNarrowerBesidePanel),
              NotNegative(client_height - kListShorterBesidePanel)};
    l.panel = {std::max(0, client_width - kPanelFromRight), kListTopBesidePanel, kPanelWidth,
               NotNegative(client_height - kListShorterBesidePanel)};
  }
  return l;
}

Rect PanelButtonBox(const Rect& panel, int index) {
  return {panel.left, panel.top + index * (kPanelButtonHeight + kPanelButtonGap), panel.width,
          kPanelButtonHeight};
}

}  // namespace qlx
