#include "activation/win/key_remapper.h"

#include "activation/win/select_character.h"
#include "platform/win32/dialog.h"
#include "capture_ids.h"

namespace qlx {
namespace lv = dlg::lv;
namespace {

constexpr int kGridIds[] = {IDC_KR_UPPER, IDC_KR_LOWER, IDC_KR_PUNCT, IDC_KR_NUMERIC};
static_assert(std::size(kGridIds) == kRemapGrids.size());

int GridIndexOf(UINT_PTR id) {
  for (size_t g = 0; g < std::size(kGridIds); ++g)
    if (static_cast<UINT_PTR>(kGridIds[g]) == id) return static_cast<int>(g);
  return -1;
}

}  // namespace

bool TKeyRemapper::ShowModal(HWND owner) {
  RunModal(IDD_KEY_REMAPPER, owner);
  return changed_;
}

void TKeyRemapper::FillGrid(size_t grid) {
  const RemapGrid& g = kRemapGrids[grid];
  HWND v = dlg::Item(hwnd(), kGridIds[grid]);
  lv::Clear(v);
  for (size_t i = 0; i < g.count; ++i) {
    const size_t entry = g.offset + i;
    const int row = lv::AddRow(v, SourceCellText(RemapSourceAt(entry)), static_cast<LPARAM>(entry));
    lv::SetCell(v, row, 1, ReplacementCellText(tables_.Entry(entry)));
  }
}

void TKeyRemapper::FormShow() {
  HFONT font = reinterpret_cast<HFONT>(::SendMessageA(hwnd(), WM_GETFONT, 0, 0));
  LOGFONTA lf{};
  if (font && ::GetObjectA(font, sizeof lf, &lf)) {
    lf.lfWeight = FW_BOLD;
    bold_.reset(::CreateFontIndirectA(&lf));
  }
  for (size_t g = 0; g < kRemapGrids.size(); ++g) {
    HWND v = dlg::Item(hwnd(), kGridIds[g]);
    lv::SetExtendedStyle(v, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    lv::AddColumn(v, 0, "Key", 50);
    lv::AddColumn(v, 1, "Types", 66);
    FillGrid(g);
  }
}

void TKeyRemapper::GridDblClick(size_t grid, int row) {
  if (browse_ || row < 0 || static_cast<size_t>(row) >= kRemapGrids[grid].count) return;
  const size_t entry = kRemapGrids[grid].offset + static_cast<size_t>(row);
  HWND v = dlg::Item(hwnd(), kGridIds[grid]);
  RECT cell{};
  cell.left = LVIR_BOUNDS;
  ::SendMessageA(v, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  ::MapWindowPoints(v, nullptr, reinterpret_cast<POINT*>(&cell), 2);
  TSelectCharacter select(tables_.Entry(entry));
  const uint8_t chosen = select.ShowModal(hwnd(), cell);
  if (chosen == 0 || chosen == tables_.Entry(entry)) return;
  tables_.SetEntry(entry, chosen);
  changed_ = true;
  lv::SetCell(v, row, 1, ReplacementCellText(chosen));
}

// The source on grey, the replacement in bold ("none" in normal weight).
LRESULT TKeyRemapper::GridCustomDraw(NMLVCUSTOMDRAW& cd, size_t grid) {
  switch (cd.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      const size_t entry = kRemapGrids[grid].offset + static_cast<size_t>(cd.nmcd.dwItemSpec);
      if (cd.iSubItem == 0) {
        cd.clrTextBk = ::GetSysColor(COLOR_BTNFACE);
        return CDRF_DODEFAULT;
      }
      cd.clrTextBk = ::GetSysColor(COLOR_WINDOW);
      if (tables_.Entry(entry) != 0 && bold_) {
        ::SelectObject(cd.nmcd.hdc, bold_.get());
        return CDRF_NEWFONT;
      }
      return CDRF_DODEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

bool TKeyRemapper::OkButtonClick() {
  FormClose();
  return false;  // FormClose ended it
}

void TKeyRemapper::FormClose() {
  if (changed_) SaveSwapKeys(file_, tables_);
  End(IDOK);
}

bool TKeyRemapper::OnNotify(const NMHDR& n, LPARAM lp, LRESULT& result) {
  const int grid = GridIndexOf(n.idFrom);
  if (grid < 0) return false;
  if (n.code == NM_DBLCLK) {
    GridDblClick(static_cast<size_t>(grid), dlg::NotifyOf<NMITEMACTIVATE>(lp).iItem);
    return true;
  }
  // The keyboard's double click: Space on the selected row.
  if (n.code == LVN_KEYDOWN && dlg::NotifyOf<NMLVKEYDOWN>(lp).wVKey == VK_SPACE) {
    GridDblClick(static_cast<size_t>(grid), lv::Selected(dlg::Item(hwnd(), kGridIds[grid])));
    return true;
  }
  if (n.code == NM_CUSTOMDRAW) {
    result = GridCustomDraw(dlg::NotifyOf<NMLVCUSTOMDRAW>(lp), static_cast<size_t>(grid));
    return true;
  }
  return false;
}

}  // namespace qlx
