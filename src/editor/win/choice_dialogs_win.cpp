// The dialogs that choose from lists: date and time formats, a window or
// program, a symbol; and "Set Delay" in its three modes.
#include <set>

#include "editor/script_text.h"
#include "editor/text_util.h"
#include "engine/macro_language.h"
#include "editor/win/command_dialogs_win.h"
#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {
namespace {

using namespace editor;

constexpr int kFormatRowHeight = 16;
constexpr int kMaxDays = 999;
constexpr int kDaysChars = 3;
// Where the example column of a format row begins, in fifths of its width.
constexpr int kExampleColumnFifths = 3;

}  // namespace

// ---- TDateOrTime ------------------------------------------------------------

DateTimeForm TDateOrTime::LastUsed(const Settings& s, bool is_date) {
  DateTimeForm f;
  f.is_date = is_date;
  f.format = (is_date ? s.last_date_format : s.last_time_format) + 1;
  f.suppress_zeros = is_date ? s.suppress_zeros_in_date : s.suppress_zeros_in_time;
  f.days = "0";
  f.future = true;
  return f;
}

void TDateOrTime::FormShow() {
  dlg::SetText(hwnd(), form_.is_date ? "Dates" : "Times");
  HWND list = dlg::Item(hwnd(), IDC_THE_FORMAT);
  dlg::list::SetItemHeight(list, kFormatRowHeight);
  const int count = static_cast<int>(form_.is_date ? kDateFormats.size() : kTimeFormats.size());
  for (int i = 0; i < count; ++i)
    dlg::list::Add(list, std::string(form_.is_date ? kDateFormats[static_cast<size_t>(i)]
                                                   : kTimeFormats[static_cast<size_t>(i)]));
  const int selected = form_.format >= 1 && form_.format <= count ? form_.format - 1 : 0;
  dlg::list::Select(list, selected);
  dlg::SetChecked(hwnd(), IDC_SUPPRESS, form_.suppress_zeros);
  SetField(IDC_DAYS, form_.days);
  dlg::SetEditLimit(hwnd(), IDC_DAYS, kDaysChars);
  dlg::SetSpinRange(hwnd(), IDC_DAYS_SPIN, 0, kMaxDays);
  SetRadio(IDC_FUTURE, IDC_PAST, form_.future ? IDC_FUTURE : IDC_PAST);
  ShowControls({IDC_DAYS_LABEL, IDC_DAYS, IDC_DAYS_SPIN, IDC_DAYS_INTO, IDC_FUTURE, IDC_PAST}, form_.is_date);
  if (!form_.is_date) {
    // Times have no days: the dialog ends below the zeros choice.
    RECT client;
    ::GetClientRect(hwnd(), &client);
    dlg::SetClientSize(hwnd(), client.right, dlg::ControlRect(hwnd(), IDC_SUPPRESS).bottom + 8);
  }
  dlg::Focus(hwnd(), IDC_THE_FORMAT);
}

void TDateOrTime::TheFormatDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::SetBkMode(item.hDC, TRANSPARENT);
  ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const int format = static_cast<int>(item.itemID) + 1;
  const std::string name = dlg::list::Text(item.hwndItem, static_cast<int>(item.itemID));
  const std::string example = form_.is_date ? DateExample(format) : TimeExample(format);
  RECT r = item.rcItem;
  r.left += 2;
  ::DrawTextA(item.hDC, name.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  r.left = item.rcItem.left + (item.rcItem.right - item.rcItem.left) * kExampleColumnFifths / 5;
  ::DrawTextA(item.hDC, example.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (item.itemState & ODS_FOCUS) ::DrawFocusRect(item.hDC, &item.rcItem);
}

INT_PTR TDateOrTime::OnMessage(UINT msg, WPARAM, LPARAM lp) {
  if (msg == WM_DRAWITEM && dlg::DrawItemOf(lp).CtlID == IDC_THE_FORMAT) {
    TheFormatDrawItem(dlg::DrawItemOf(lp));
    return TRUE;
  }
  return FALSE;
}

bool TDateOrTime::OkButtonClick() {
  DateTimeForm f = form_;
  f.format = dlg::list::Selected(dlg::Item(hwnd(), IDC_THE_FORMAT)) + 1;
  f.suppress_zeros = dlg::IsChecked(hwnd(), IDC_SUPPRESS);
  f.days = Field(IDC_DAYS);
  f.future = !dlg::IsChecked(hwnd(), IDC_PAST);
  result = DateTimeResult(f);
  if (token_mode_) {
    Settings& s = ctx_.settings;
    (f.is_date ? s.last_date_format : s.last_time_format) = result->format - 1;
    (f.is_date ? s.suppress_zeros_in_date : s.suppress_zeros_in_time) = f.suppress_zeros;
  }
  return true;
}

// ---- TDoSpecWind -----------------------------------------------------------------

void TDoSpecWind::FormShow() {
  const bool program = form_.program;
  dlg::SetText(hwnd(), program ? "Set Program" : "Set Title");
  SetField(IDC_THE_TITLE_LABEL, program ? "Program Name (may be partial name)"
                                        : "Window Title (may be partial title)");
  SetField(IDC_PROG_LIST_LABEL, program ? "List of Programs currently running"
                                        : "List of Windows currently running");
  SetField(IDC_ON_TOP, program ? "Run Macro If Program On Top" : "Run Macro If Window On Top");
  SetField(IDC_RUNNING, program ? "Run Macro If Program Running" : "Run Macro If Window Running");
  dlg::SetEditLimit(hwnd(), IDC_THE_TITLE, static_cast<int>(kSpecWindTitleMax));
  SetField(IDC_THE_TITLE, "");
  std::set<std::string> entries;
  if (program) {
    for (const ProcessInfo& p : ctx_.processes.Running())
      if (IsProgramListEntry(p.exe_name)) entries.insert(p.exe_name);
  } else {
    for (WindowHandle w : ctx_.desktop.TopLevelWindows()) {
      std::string title = ctx_.desktop.WindowTitle(w, 255);
      if (!Trim(title).empty()) entries.insert(std::move(title));
    }
  }
  HWND list = dlg::Item(hwnd(), IDC_PROG_LIST);
  for (const std::string& e : entries) dlg::list::Add(list, e);
  SetRadio(IDC_ON_TOP, IDC_RUNNING, form_.on_top ? IDC_ON_TOP : IDC_RUNNING);
  dlg::Focus(hwnd(), IDC_THE_TITLE);
}

void TDoSpecWind::ProgListDblClick() {
  HWND list = dlg::Item(hwnd(), IDC_PROG_LIST);
  const int i = dlg::list::Selected(list);
  if (i < 0) return;
  SetField(IDC_THE_TITLE, dlg::list::Text(list, i).substr(0, kSpecWindTitleMax));
}

bool TDoSpecWind::OnCommand(int id, int code, HWND) {
  if (id == IDC_PROG_LIST && code == LBN_DBLCLK) {
    ProgListDblClick();
    return true;
  }
  return false;
}

bool TDoSpecWind::OkButtonClick() {
  SpecWindForm f = form_;
  f.title = Field(IDC_THE_TITLE);
  HWND list = dlg::Item(hwnd(), IDC_PROG_LIST);
  const int i = dlg::list::Selected(list);
  f.highlighted = i >= 0 ? std::optional<std::string>(dlg::list::Text(list, i)) : std::nullopt;
  f.on_top = dlg::IsChecked(hwnd(), IDC_ON_TOP);
  SpecWindCheck c = CheckSpecWind(f);
  if (c.refusal) {
    Refuse(*c.refusal, IDC_THE_TITLE);
    return false;
  }
  if (c.question && !Ask(*c.question)) {
    dlg::Focus(hwnd(), IDC_THE_TITLE);
    return false;
  }
  result = std::move(c);
  return true;
}

// ---- TDoSpecial ---------------------------------------------------------------------

namespace {

constexpr char kGridClass[] = "QlxSymbolGrid";
// Notifications the grid sends its dialog.
constexpr int kGridSelected = 1;
constexpr int kGridChosen = 2;
constexpr COLORREF kSelectedBack = RGB(0, 0, 128);
constexpr COLORREF kSelectedText = RGB(255, 255, 255);

int GridSelection(HWND grid) { return static_cast<int>(::GetWindowLongPtrA(grid, GWLP_USERDATA)); }

void GridSelect(HWND grid, int cell) {
  if (cell < 0 || cell >= kSymbolColumns * kSymbolRows) return;
  ::SetWindowLongPtrA(grid, GWLP_USERDATA, cell);
  ::InvalidateRect(grid, nullptr, TRUE);
}

// Cells run down the columns: cell = 8 * column + row.
int CellAt(POINT p) {
  const int column = p.x / kSymbolCellWidth, row = p.y / kSymbolCellHeight;
  if (column < 0 || column >= kSymbolColumns || row < 0 || row >= kSymbolRows) return -1;
  return column * kSymbolRows + row;
}

void GridPaint(HWND grid) {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(grid, &ps);
  HGDIOBJ old_font = ::SelectObject(dc, dlg::GetFont(::GetParent(grid)));
  ::SetBkMode(dc, TRANSPARENT);
  HPEN pen = static_cast<HPEN>(::GetStockObject(DC_PEN));
  ::SetDCPenColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ old_pen = ::SelectObject(dc, pen);
  const int selected = GridSelection(grid);
  for (int column = 0; column < kSymbolColumns; ++column) {
    for (int row = 0; row < kSymbolRows; ++row) {
      RECT r{column * kSymbolCellWidth, row * kSymbolCellHeight, (column + 1) * kSymbolCellWidth,
             (row + 1) * kSymbolCellHeight};
      const bool on = column * kSymbolRows + row == selected;
      if (on) {
        HBRUSH back = ::CreateSolidBrush(kSelectedBack);
        ::FillRect(dc, &r, back);
        ::DeleteObject(back);
      }
      ::SetTextColor(dc, on ? kSelectedText : ::GetSysColor(COLOR_WINDOWTEXT));
      const char c[2] = {SymbolAt(column, row), 0};
      ::DrawTextA(dc, c, 1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
      ::MoveToEx(dc, r.right - 1, r.top, nullptr);
      ::LineTo(dc, r.right - 1, r.bottom - 1);
      ::LineTo(dc, r.left - 1, r.bottom - 1);
    }
  }
  ::SelectObject(dc, old_pen);
  ::SelectObject(dc, old_font);
  ::EndPaint(grid, &ps);
}

LRESULT CALLBACK GridProc(HWND grid, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      GridPaint(grid);
      return 0;
    case WM_LBUTTONDOWN: {
      ::SetFocus(grid);
      const int cell = CellAt(dlg::PointOf(lp));
      if (cell >= 0) {
        GridSelect(grid, cell);
        dlg::NotifyParent(grid, kGridSelected);
      }
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      if (CellAt(dlg::PointOf(lp)) >= 0) dlg::NotifyParent(grid, kGridChosen);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN: {
      int cell = GridSelection(grid);
      switch (wp) {
        case VK_UP: cell -= 1; break;
        case VK_DOWN: cell += 1; break;
        case VK_LEFT: cell -= kSymbolRows; break;
        case VK_RIGHT: cell += kSymbolRows; break;
        default: return ::DefWindowProcA(grid, msg, wp, lp);
      }
      GridSelect(grid, cell);
      return 0;
    }
    default:
      return ::DefWindowProcA(grid, msg, wp, lp);
  }
}

}  // namespace

void TDoSpecial::RegisterGridClass() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (::GetClassInfoExA(::GetModuleHandleA(nullptr), kGridClass, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &GridProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
  wc.hbrBackground = ::GetSysColorBrush(COLOR_WINDOW);
  wc.lpszClassName = kGridClass;
  ::RegisterClassExA(&wc);
}

void TDoSpecial::FormShow() {
  constexpr int kMargin = 8, kButtonHeight = 24, kButtonWidth = 72, kGap = 6;
  const int grid_w = kSymbolColumns * kSymbolCellWidth + 2, grid_h = kSymbolRows * kSymbolCellHeight + 2;
  dlg::PlaceControl(hwnd(), IDC_SYMBOL_GRID, kMargin, kMargin, grid_w, grid_h);
  const int y = kMargin + grid_h + kGap;
  dlg::PlaceControl(hwnd(), IDOK, kMargin, y, kButtonWidth, kButtonHeight);
  dlg::PlaceControl(hwnd(), IDCANCEL, kMargin + kButtonWidth + kGap, y, kButtonWidth, kButtonHeight);
  dlg::PlaceControl(hwnd(), IDHELP, kMargin + 2 * (kButtonWidth + kGap), y, kButtonWidth, kButtonHeight);
  const int keypad_w = 2 * kButtonWidth;
  dlg::PlaceControl(hwnd(), IDC_ALT_KEYPAD, kMargin + grid_w - keypad_w, y, keypad_w, kButtonHeight);
  dlg::SetClientSize(hwnd(), grid_w + 2 * kMargin, y + kButtonHeight + kMargin);
  GridSelect(dlg::Item(hwnd(), IDC_SYMBOL_GRID), 0);
  dlg::Focus(hwnd(), IDC_SYMBOL_GRID);
}

void TDoSpecial::AltKeypadClick() {
  TDoDelay keypad(ctx_, DelayPromptMode::Keypad);
  if (!keypad.Run(IDD_DO_DELAY, hwnd()) || !keypad.result) return;
  result = keypad.result->token;
  End(IDOK);
}

bool TDoSpecial::OnCommand(int id, int code, HWND) {
  if (id == IDC_SYMBOL_GRID && code == kGridChosen) {
    if (OkButtonClick()) End(IDOK);
    return true;
  }
  if (id == IDC_ALT_KEYPAD) {
    AltKeypadClick();
    return true;
  }
  return id == IDC_SYMBOL_GRID;
}

bool TDoSpecial::OkButtonClick() {
  const int cell = GridSelection(dlg::Item(hwnd(), IDC_SYMBOL_GRID));
  if (cell < 0 || cell >= kSymbolColumns * kSymbolRows) return false;
  result.assign(1, SymbolAt(cell / kSymbolRows, cell % kSymbolRows));
  return true;
}

// ---- TDoDelay -------------------------------------------------------------------------

void TDoDelay::FormShow() {
  const DelayPromptText t = DelayPromptTextFor(mode_);
  dlg::SetText(hwnd(), t.caption);
  SetField(IDC_SECONDS_LABEL, t.label);
  dlg::SetEditLimit(hwnd(), IDC_SECONDS, t.max_chars);
  dlg::Show(hwnd(), IDC_SECONDS_UNIT, mode_ == DelayPromptMode::SchedulerFrequency);
  SetField(IDC_SECONDS, value_);
  dlg::Focus(hwnd(), IDC_SECONDS);
}

bool TDoDelay::OkButtonClick() {
  DelayPromptCheck c = CheckDelayPrompt(mode_, Field(IDC_SECONDS));
  if (c.refusal) {
    Refuse(*c.refusal, IDC_SECONDS);
    return false;
  }
  result = std::move(c);
  return true;
}

}  // namespace qlx
