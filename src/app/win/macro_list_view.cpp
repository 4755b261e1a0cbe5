#include "app/win/macro_list_view.h"

#include <array>

namespace qlx {
namespace {

constexpr int kPointsPerInch = 72;

int TextHeight(HDC dc, HFONT font, const char* sample) {
  HGDIOBJ old = ::SelectObject(dc, font);
  SIZE size{};
  ::GetTextExtentPoint32A(dc, sample, static_cast<int>(::lstrlenA(sample)), &size);
  ::SelectObject(dc, old);
  return size.cy;
}

int TextWidth(HDC dc, std::string_view text) {
  SIZE size{};
  ::GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

}  // namespace

HFONT CreateSettingsFont(const FontSetting& font, bool italic) {
  HDC screen = ::GetDC(nullptr);
  const int height = -::MulDiv(font.size, ::GetDeviceCaps(screen, LOGPIXELSY), kPointsPerInch);
  ::ReleaseDC(nullptr, screen);
  return ::CreateFontA(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, (font.italic || italic) ? TRUE : FALSE,
                       font.underline ? TRUE : FALSE, font.strikeout ? TRUE : FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       font.name.c_str());
}

TMacroListView::~TMacroListView() {
  if (row_height_) ::ImageList_Destroy(row_height_);
}

bool TMacroListView::Create(HWND parent, int id, HINSTANCE instance) {
  list_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                                LVS_OWNERDATA,
                            0, 0, 10, 10, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (!list_) return false;
  ::SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
  header_ = reinterpret_cast<HWND>(::SendMessageA(list_, LVM_GETHEADER, 0, 0));
  for (int c = 0; c < kListColumns; ++c) {
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    const std::string title(kListTitles[static_cast<size_t>(c)]);
    col.pszText = const_cast<char*>(title.c_str());
    col.cx = 50;
    col.iSubItem = c;
    ::SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&col));
  }
  ApplyFonts();
  ApplyColumnWidths();
  return true;
}

void TMacroListView::Place(const Rect& r) { ::MoveWindow(list_, r.left, r.top, r.width, r.height, TRUE); }

void TMacroListView::ApplyFonts() {
  grid_font_.reset(CreateSettingsFont(settings_.grid_font, false));
  grid_italic_.reset(CreateSettingsFont(settings_.grid_font, true));
  title_font_.reset(CreateSettingsFont(settings_.grid_title_font, false));
  // The list's font first: it passes it on to its header.
  ::SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(grid_font_.get()), FALSE);
  ::SendMessageA(header_, WM_SETFONT, reinterpret_cast<WPARAM>(title_font_.get()), TRUE);

  HDC dc = ::GetDC(list_);
  const int row_height = DataRowHeight(TextHeight(dc, static_cast<HFONT>(grid_font_.get()), kRowHeightSample));
  HGDIOBJ old = ::SelectObject(dc, grid_font_.get());
  const int number_width = TextWidth(dc, kRowNumberSample);
  ::SelectObject(dc, old);
  ::ReleaseDC(list_, dc);

  // A one-pixel-wide picture list as high as a row sets the row height.
  if (row_height_) ::ImageList_Destroy(row_height_);
  row_height_ = ::ImageList_Create(1, row_height, ILC_COLOR, 1, 0);
  ::SendMessageA(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(row_height_));
  ::SendMessageA(list_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(number_width, 0));
  Repaint();
}

void TMacroListView::ApplyColumnWidths() {
  const std::array<int32_t, 3> widths = {settings_.col1_width, settings_.col2_width, settings_.col3_width};
  for (int c = 1; c <= 3; ++c)
    ::SendMessageA(list_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), MAKELPARAM(widths[static_cast<size_t>(c - 1)], 0));
}

void TMacroListView::Fill(const SortOrder& order) {
  const int keep = SelectedMacro();
  rows_ = SortedRowMap(tables_, order);
  ::SendMessageA(list_, LVM_SETITEMCOUNT, rows_.size(), 0);
  if (keep != 0 && RowOfMacro(rows_, keep) >= 0) SelectMacro(keep);
  else if (SelectedRow() < 0 && !rows_.empty()) SelectRow(0);
  Repaint();
}

int TMacroListView::SelectedRow() const {
  const int row = static_cast<int>(::SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  return row < static_cast<int>(rows_.size()) ? row : -1;
}

void TMacroListView::SelectRow(int row) {
  const int last = static_cast<int>(rows_.size()) - 1;
  if (row > last) row = last;
  LVITEMA clear{};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
  if (row < 0) return;
  LVITEMA set{};
  set.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  set.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&set));
  ::SendMessageA(list_, LVM_SETSELECTIONMARK, 0, row);
  ::SendMessageA(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void TMacroListView::Repaint() { ::InvalidateRect(list_, nullptr, TRUE); }

TMacroListView::Event TMacroListView::OnNotify(const NMHDR* h, LRESULT& result) {
  result = 0;
  if (h->hwndFrom == header_) {
    // Only the user's own drag (or a double click on a border) is kept:
    // widths the program sets come from the settings already.
    const auto* hd = reinterpret_cast<const NMHEADERA*>(h);
    const int column = hd->iItem;
    if (column < 1 || column > 3) return Event::None;
    int width = 0;
    switch (h->code) {
      case HDN_ENDTRACKA:
      case HDN_ENDTRACKW:
        // The header reports the new width before the list takes it.
        width = hd->pitem && (hd->pitem->mask & HDI_WIDTH)
                    ? hd->pitem->cxy
                    : static_cast<int>(::SendMessageA(list_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
        break;
      case HDN_DIVIDERDBLCLICKA:
      case HDN_DIVIDERDBLCLICKW:
        width = static_cast<int>(::SendMessageA(list_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
        break;
      default:
        return Event::None;
    }
    int32_t& stored = column == 1 ? settings_.col1_width : column == 2 ? settings_.col2_width : settings_.col3_width;
    if (width <= 0 || width == stored) return Event::None;
    stored = width;
    return Event::ColumnResized;
  }
  if (h->hwndFrom != list_) return Event::None;
  switch (h->code) {
    case NM_CUSTOMDRAW:
      result = CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(h)));
      return Event::None;
    case LVN_GETDISPINFOA:
    case LVN_GETDISPINFOW:
      ProvideText(const_cast<NMHDR*>(h));
      return Event::None;
    case LVN_ITEMCHANGED: {
      const auto* lv = reinterpret_cast<const NMLISTVIEW*>(h);
      if ((lv->uChanged & LVIF_STATE) && ((lv->uNewState ^ lv->uOldState) & LVIS_SELECTED))
        return Event::SelectionChanged;
      return Event::None;
    }
    case LVN_ODSTATECHANGED:
      return Event::SelectionChanged;
    case NM_DBLCLK:
      return reinterpret_cast<const NMITEMACTIVATE*>(h)->iItem >= 0 ? Event::DoubleClick : Event::None;
    case NM_RCLICK: {
      const int row = reinterpret_cast<const NMITEMACTIVATE*>(h)->iItem;
      if (row < 0 || row >= static_cast<int>(rows_.size())) return Event::None;
      SelectRow(row);
      return Event::RightClick;
    }
    default:
      return Event::None;
  }
}

void TMacroListView::ProvideText(NMHDR* header) {
  // Both forms carry the item in the same place; only the text differs.
  auto* a = reinterpret_cast<NMLVDISPINFOA*>(header);
  if (!(a->item.mask & LVIF_TEXT) || a->item.cchTextMax <= 0) return;
  const int row = a->item.iItem;
  const int n = MacroOnRow(rows_, row);
  text_ = n ? CellText(a->item.iSubItem, row, n, tables_) : std::string();
  if (header->code == LVN_GETDISPINFOA) {
    ::lstrcpynA(a->item.pszText, text_.c_str(), a->item.cchTextMax);
  } else {
    auto* w = reinterpret_cast<NMLVDISPINFOW*>(header);
    const int got = ::MultiByteToWideChar(CP_ACP, 0, text_.c_str(), static_cast<int>(text_.size()), w->item.pszText,
                                          w->item.cchTextMax - 1);
    w->item.pszText[got > 0 ? got : 0] = L'\0';
  }
}

LRESULT TMacroListView::CustomDraw(NMLVCUSTOMDRAW* cd) {
  switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
      DrawCell(cd->nmcd.hdc, static_cast<int>(cd->nmcd.dwItemSpec), cd->iSubItem);
      return CDRF_SKIPDEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

RECT TMacroListView::CellRect(int row, int column) const {
  RECT r{};
  r.top = column;
  r.left = LVIR_BOUNDS;
  ::SendMessageA(list_, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  if (column == 0) r.right = r.left + static_cast<int>(::SendMessageA(list_, LVM_GETCOLUMNWIDTH, 0, 0));
  return r;
}

void TMacroListView::DrawCell(HDC dc, int row, int column) {
  const int n = MacroOnRow(rows_, row);
  if (n == 0) return;
  RECT cell = CellRect(row, column);
  // Grid lines stay visible: the cell is painted inside them.
  cell.bottom -= 1;
  cell.right -= 1;
  const bool selected =
      (::SendMessageA(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
  ::FillRect(dc, &cell, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

  const bool inactive = column > 0 && !tables_.block.Active(n);
  HGDIOBJ old = ::SelectObject(dc, inactive ? grid_italic_.get() : grid_font_.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(inactive ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const std::string text = FitCellText(CellText(column, row, n, tables_), cell.right - cell.left,
                                       [dc](std::string_view s) { return TextWidth(dc, s); });
  ::ExtTextOutA(dc, cell.left + kCellTextInset, cell.top, ETO_CLIPPED, &cell, text.data(),
                static_cast<UINT>(text.size()), nullptr);
  ::SelectObject(dc, old);
}

}  // namespace qlx
