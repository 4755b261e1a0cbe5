#include "activation/win/select_character.h"

#include <string>

#include "activation/key_remap.h"
#include "platform/win32/dialog.h"
#include "capture_ids.h"

namespace qlx {
namespace {

constexpr char kGridClass[] = "QlxCharGrid";

// The grid lives only in this dialog.
TSelectCharacter* OwnerOf(HWND grid) { return static_cast<TSelectCharacter*>(dlg::Dialog::Of(::GetParent(grid))); }

RECT CellRect(HWND grid, int row, int column) {
  RECT c;
  ::GetClientRect(grid, &c);
  const int w = c.right / kSelectColumns, h = c.bottom / kSelectRows;
  return {column * w, row * h, column * w + w, row * h + h};
}

}  // namespace

bool TSelectCharacter::RegisterGrid(HINSTANCE instance) {
  WNDCLASSA wc{};
  if (::GetClassInfoA(instance, kGridClass, &wc)) return true;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &TSelectCharacter::GridProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kGridClass;
  return ::RegisterClassA(&wc) != 0;
}

uint8_t TSelectCharacter::ShowModal(HWND owner, const RECT& beside) {
  RegisterGrid(::GetModuleHandleA(nullptr));
  beside_ = beside;
  return RunModal(IDD_SELECT_CHARACTER, owner) == IDOK ? selected_ : 0;
}

void TSelectCharacter::FormShow() {
  RECT r;
  ::GetWindowRect(hwnd(), &r);
  const int sw = ::GetSystemMetrics(SM_CXSCREEN), sh = ::GetSystemMetrics(SM_CYSCREEN);
  int x = beside_.right + 4, y = beside_.top;
  if (x + (r.right - r.left) > sw) x = beside_.left - (r.right - r.left) - 4;
  if (y + (r.bottom - r.top) > sh) y = sh - (r.bottom - r.top);
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  if (beside_.right == 0 && beside_.bottom == 0) dlg::CentreOnScreen(hwnd());
  else ::SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::SetFocus(dlg::Item(hwnd(), IDC_SC_GRID));
}

void TSelectCharacter::GridPaint(HWND grid) {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(grid, &ps);
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(hwnd(), WM_GETFONT, 0, 0)));
  ::SetBkMode(dc, TRANSPARENT);
  HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ old_pen = ::SelectObject(dc, pen);
  const GridCell sel = SelectCellOf(selected_);
  for (int row = 0; row < kSelectRows; ++row) {
    for (int column = 0; column < kSelectColumns; ++column) {
      RECT cell = CellRect(grid, row, column);
      const bool on = row == sel.row && column == sel.column;
      ::FillRect(dc, &cell, ::GetSysColorBrush(on ? COLOR_HIGHLIGHT : COLOR_WINDOW));
      ::SetTextColor(dc, ::GetSysColor(on ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
      const char c = static_cast<char>(SelectCellValue(row, column));
      ::DrawTextA(dc, &c, 1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      ::MoveToEx(dc, cell.left, cell.bottom - 1, nullptr);
      ::LineTo(dc, cell.right - 1, cell.bottom - 1);
      ::LineTo(dc, cell.right - 1, cell.top - 1);
    }
  }
  ::SelectObject(dc, old_pen);
  ::DeleteObject(pen);
  ::SelectObject(dc, old);
  ::EndPaint(grid, &ps);
}

void TSelectCharacter::GridClick(HWND grid, int x, int y, bool take) {
  RECT c;
  ::GetClientRect(grid, &c);
  const int w = c.right / kSelectColumns, h = c.bottom / kSelectRows;
  if (w <= 0 || h <= 0) return;
  const uint8_t v = SelectCellValue(y / h, x / w);
  if (v == 0) return;
  selected_ = v;
  ::InvalidateRect(grid, nullptr, FALSE);
  if (take) End(IDOK);
}

void TSelectCharacter::GridKey(HWND grid, WPARAM key) {
  GridCell c = SelectCellOf(selected_);
  switch (key) {
    case VK_LEFT: --c.column; break;
    case VK_RIGHT: ++c.column; break;
    case VK_UP: --c.row; break;
    case VK_DOWN: ++c.row; break;
    default: return;
  }
  if (const uint8_t v = SelectCellValue(c.row, c.column)) {
    selected_ = v;
    ::InvalidateRect(grid, nullptr, FALSE);
  }
}

LRESULT CALLBACK TSelectCharacter::GridProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TSelectCharacter* self = OwnerOf(hwnd);
  if (self) {
    switch (msg) {
      case WM_PAINT: self->GridPaint(hwnd); return 0;
      case WM_LBUTTONDOWN:
        ::SetFocus(hwnd);
        self->GridClick(hwnd, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)), false);
        return 0;
      case WM_LBUTTONDBLCLK:
        self->GridClick(hwnd, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)), true);
        return 0;
      case WM_GETDLGCODE: return DLGC_WANTARROWS;
      case WM_KEYDOWN: self->GridKey(hwnd, wp); return 0;
      default: break;
    }
  }
  return ::DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace qlx
