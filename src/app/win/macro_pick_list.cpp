#include "app/win/macro_pick_list.h"

#include "app/macro_list_model.h"

namespace qlx {

void MacroPickList::SetRows(std::vector<ListedMacro> rows) {
  rows_ = std::move(rows);
  ::SendMessageA(list_, LB_RESETCONTENT, 0, 0);
  for (size_t i = 0; i < rows_.size(); ++i)
    ::SendMessageA(list_, LB_ADDSTRING, 0, static_cast<LPARAM>(i));
}

void MacroPickList::SelectAll(bool on) { ::SendMessageA(list_, LB_SETSEL, on ? TRUE : FALSE, -1); }

std::vector<bool> MacroPickList::Selected() const {
  std::vector<bool> out(rows_.size(), false);
  for (size_t i = 0; i < rows_.size(); ++i)
    out[i] = ::SendMessageA(list_, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
  return out;
}

void MacroPickList::SetSelected(const std::vector<bool>& selected) {
  for (size_t i = 0; i < rows_.size() && i < selected.size(); ++i)
    ::SendMessageA(list_, LB_SETSEL, selected[i] ? TRUE : FALSE, static_cast<LPARAM>(i));
}

bool MacroPickList::AnySelected() const { return ::SendMessageA(list_, LB_GETSELCOUNT, 0, 0) > 0; }

bool MacroPickList::HandleOwnerDraw(UINT msg, LPARAM lp) const {
  if (msg == WM_MEASUREITEM) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = kListRowHeight;
    return true;
  }
  if (msg == WM_DRAWITEM) {
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    return true;
  }
  return false;
}

void MacroPickList::DrawItem(const DRAWITEMSTRUCT& d) const {
  if (d.itemID == static_cast<UINT>(-1) || d.itemID >= rows_.size()) return;
  const ListedMacro& row = rows_[d.itemID];
  const bool selected = (d.itemState & ODS_SELECTED) != 0;
  HDC dc = d.hDC;
  ::FillRect(dc, &d.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const int width = d.rcItem.right - d.rcItem.left;
  const ListRowColumns cols = ListRowColumnsFor(width);
  auto text_width = [dc](std::string_view s) {
    SIZE size{};
    ::GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &size);
    return static_cast<int>(size.cx);
  };
  const int y = d.rcItem.top + 2;
  auto out = [&](int x, const std::string& s) {
    ::TextOutA(dc, d.rcItem.left + x, y, s.c_str(), static_cast<int>(s.size()));
  };
  out(cols.activation_x, row.activation);
  out(cols.nickname_x, CutToWidth(row.nickname, cols.nickname_width, text_width));
  out(cols.scope_x, row.scope);
  if (d.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &d.rcItem);
}

}  // namespace qlx
