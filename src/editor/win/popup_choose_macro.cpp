#include "editor/win/popup_choose_macro.h"

#include <commctrl.h>

#include "platform/files.h"
#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {
namespace {

constexpr int kLabelWidth = 18;
constexpr int kTextGap = 4;
constexpr COLORREF kLabelGrey = RGB(192, 192, 192);
constexpr int kLineHeight = 17;

void Place(HWND dialog, int id, const ChooserRect& r) {
  ::MoveWindow(dlg::Item(dialog, id), r.left, r.top, r.width, r.height, TRUE);
}

// Where the scope column starts: 4.5 sevenths of the line.
int ScopeColumn(int line_width) { return line_width * 9 / 14; }

}  // namespace

int TDoAMenu::ShowModal(HWND owner) {
  result_ = -1;
  const bool disable = owner && ::IsWindowEnabled(owner);
  if (!OpenOwnModal(IDD_CHOOSE_MACRO, nullptr, disable ? owner : nullptr)) return -1;
  ::SetForegroundWindow(hwnd());
  RunOwnModal();
  icons_.clear();
  return result_;
}

// The form sees every key first: digits and letters choose.
bool TDoAMenu::PreviewMessage(MSG& msg) {
  return msg.message == WM_CHAR && (msg.hwnd == hwnd() || ::IsChild(hwnd(), msg.hwnd)) &&
         FormKeyPress(static_cast<char>(msg.wParam));
}

void TDoAMenu::FormShow() {
  const int pixels = IconPixels(options_.size_index);
  const ChooserLayout layout = ComputeChooserLayout(options_.mode, static_cast<int>(entries_.size()), pixels);
  if (layout.icon_mode) LayOutIcons(layout);
  else LayOutLists(layout);
  const SIZE outer = dlg::OuterSizeFor(hwnd(), layout.client_width, layout.client_height);
  const ChooserPlace place = PlaceChooser(chooser_x_, outer.cx, outer.cy, ::GetSystemMetrics(SM_CXSCREEN),
                                          ::GetSystemMetrics(SM_CYSCREEN));
  ::SetWindowPos(hwnd(), HWND_TOPMOST, place.left, place.top, outer.cx, outer.cy, SWP_NOACTIVATE);
}

void TDoAMenu::LayOutLists(const ChooserLayout& layout) {
  const bool text_mode = options_.mode == ChooserMode::FirstPart;
  const int lists[2] = {IDC_CHOOSER_LIST1, IDC_CHOOSER_LIST2};
  const int headings[2] = {IDC_CHOOSER_HEADING1, IDC_CHOOSER_HEADING2};
  const int scopes[2] = {IDC_CHOOSER_SCOPE1, IDC_CHOOSER_SCOPE2};
  for (int i = 0; i < 2; ++i) {
    const bool used = i < layout.lists;
    const ChooserRect& r = layout.list[i];
    dlg::Show(hwnd(), lists[i], used);
    dlg::Show(hwnd(), headings[i], used);
    dlg::Show(hwnd(), scopes[i], used && !text_mode);
    if (!used) continue;
    Place(hwnd(), lists[i], r);
    const int text_left = r.left + kLabelWidth + kTextGap;
    Place(hwnd(), headings[i], {text_left, 1, ScopeColumn(r.width) - kLabelWidth - kTextGap, 14});
    Place(hwnd(), scopes[i], {r.left + ScopeColumn(r.width), 1, r.width - ScopeColumn(r.width), 14});
    dlg::SetText(hwnd(), headings[i], text_mode ? kMacroTextHeading : kNicknameHeading);
    if (text_mode) Place(hwnd(), headings[i], {text_left, 1, r.width - kLabelWidth - kTextGap, 14});
  }
  Place(hwnd(), IDCANCEL, layout.cancel);
  Place(hwnd(), IDC_CHOOSER_HINT, layout.hint);
  HWND first = dlg::Item(hwnd(), IDC_CHOOSER_LIST1);
  HWND second = dlg::Item(hwnd(), IDC_CHOOSER_LIST2);
  for (size_t i = 0; i < entries_.size(); ++i) {
    HWND list = i < static_cast<size_t>(kLinesPerList) ? first : second;
    // Owner-drawn lines without strings: the item data is the position.
    ::SendMessageA(list, LB_ADDSTRING, 0, static_cast<LPARAM>(i));
  }
}

HICON TDoAMenu::EntryIcon(const ChooserEntry& e, int pixels) const {
  const std::string file = IconFile(program_dir_, e.icon);
  switch (ChooserIconPicture(e.icon, e.scope_code, !e.icon.empty() && FileExists(file))) {
    case IconPicture::File:
      if (HICON h = static_cast<HICON>(::LoadImageA(nullptr, file.c_str(), IMAGE_ICON, pixels, pixels, LR_LOADFROMFILE)))
        return h;
      [[fallthrough]];
    case IconPicture::Menu:
      return static_cast<HICON>(
          ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MENU), IMAGE_ICON, pixels, pixels, 0));
    case IconPicture::Program: break;
  }
  return static_cast<HICON>(
      ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON, pixels, pixels, 0));
}

void TDoAMenu::LayOutIcons(const ChooserLayout& layout) {
  for (int id : {IDC_CHOOSER_LIST1, IDC_CHOOSER_LIST2, IDC_CHOOSER_HEADING1, IDC_CHOOSER_HEADING2, IDC_CHOOSER_SCOPE1,
                 IDC_CHOOSER_SCOPE2, IDC_CHOOSER_HINT})
    dlg::Show(hwnd(), id, false);
  Place(hwnd(), IDCANCEL, layout.cancel);
  const int pixels = IconPixels(options_.size_index);
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  HWND tips = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, instance, nullptr);
  for (size_t i = 0; i < layout.buttons.size() && i < entries_.size(); ++i) {
    const ChooserRect& r = layout.buttons[i];
    HWND button = ::CreateWindowExA(
        0, "BUTTON", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_ICON, r.left, r.top, r.width, r.height,
        hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_CHOOSER_ICON_FIRST + i)), instance, nullptr);
    icons_.emplace_back(EntryIcon(entries_[i], pixels));
    ::SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icons_.back().get()));
    if (tips) {
      TOOLINFOA tool{};
      tool.cbSize = sizeof tool;
      tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      tool.hwnd = hwnd();
      tool.uId = reinterpret_cast<UINT_PTR>(button);
      tool.lpszText = entries_[i].text.data();
      ::SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  if (!layout.buttons.empty()) ::SetFocus(dlg::Item(hwnd(), IDC_CHOOSER_ICON_FIRST));
}

void TDoAMenu::FormActivate() {
  ::SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool TDoAMenu::FormKeyPress(char key) {
  const bool choosing = (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z');
  if (!choosing) return false;
  if (const auto entry = ChooserKeyToEntry(key, static_cast<int>(entries_.size())))
    Choose(static_cast<size_t>(*entry));
  return true;
}

void TDoAMenu::Choose(size_t position) {
  if (position >= entries_.size()) return;
  result_ = entries_[position].macro;
  End(IDOK);
}

void TDoAMenu::ListDblClick(int list_id) {
  const int line = dlg::list::Selected(dlg::Item(hwnd(), list_id));
  if (line < 0) return;
  Choose(static_cast<size_t>(line + (list_id == IDC_CHOOSER_LIST2 ? kLinesPerList : 0)));
}

void TDoAMenu::ListMeasureItem(MEASUREITEMSTRUCT& m) { m.itemHeight = kLineHeight; }

void TDoAMenu::ListDrawItem(const DRAWITEMSTRUCT& d) {
  if (d.itemID == static_cast<UINT>(-1) || d.itemData >= entries_.size()) return;
  const ChooserEntry& e = entries_[d.itemData];
  HDC dc = d.hDC;
  RECT line = d.rcItem;
  const bool selected = (d.itemState & ODS_SELECTED) != 0;
  ::FillRect(dc, &line, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  RECT label{line.left, line.top, line.left + kLabelWidth, line.bottom};
  ::SetBkColor(dc, kLabelGrey);
  ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &label, nullptr, 0, nullptr);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  ::DrawTextA(dc, e.label.c_str(), static_cast<int>(e.label.size()), &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT text{label.right + kTextGap, line.top, line.right, line.bottom};
  const UINT flags = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
  if (options_.mode == ChooserMode::FirstPart) {
    ::DrawTextA(dc, e.text.c_str(), static_cast<int>(e.text.size()), &text, flags);  // cut at the line's end
  } else {
    const int width = line.right - line.left;
    const int scope_left = line.left + ScopeColumn(width);
    auto measure = [dc](std::string_view s) {
      SIZE size{};
      ::GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &size);
      return static_cast<int>(size.cx);
    };
    const std::string name = FitToWidth(e.text, scope_left - text.left - kTextGap, measure);
    ::DrawTextA(dc, name.c_str(), static_cast<int>(name.size()), &text, flags);
    RECT scope{scope_left, line.top, line.right, line.bottom};
    ::DrawTextA(dc, e.scope.c_str(), static_cast<int>(e.scope.size()), &scope, flags);
  }
  if (d.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &line);
}

INT_PTR TDoAMenu::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) FormActivate();
      return FALSE;
    case WM_MEASUREITEM:
      ListMeasureItem(dlg::MeasureItemOf(lp));
      return TRUE;
    case WM_DRAWITEM:
      ListDrawItem(dlg::DrawItemOf(lp));
      return TRUE;
    default:
      return FALSE;
  }
}

bool TDoAMenu::OnCommand(int id, int code, HWND) {
  if ((id == IDC_CHOOSER_LIST1 || id == IDC_CHOOSER_LIST2) && code == LBN_DBLCLK) {
    ListDblClick(id);
    return true;
  }
  if (id >= IDC_CHOOSER_ICON_FIRST && id < IDC_CHOOSER_ICON_FIRST + static_cast<int>(entries_.size()) &&
      code == BN_CLICKED) {
    Choose(static_cast<size_t>(id - IDC_CHOOSER_ICON_FIRST));
    return true;
  }
  return false;
}

// Enter chooses the line selected in the list that has the focus.
bool TDoAMenu::OkButtonClick() {
  HWND focus = ::GetFocus();
  if (focus == dlg::Item(hwnd(), IDC_CHOOSER_LIST1)) ListDblClick(IDC_CHOOSER_LIST1);
  else if (focus == dlg::Item(hwnd(), IDC_CHOOSER_LIST2)) ListDblClick(IDC_CHOOSER_LIST2);
  return false;
}

void TDoAMenu::FormClose() {
  result_ = -1;
  End(IDCANCEL);
}

int ChooseFromMenu(const MacroRecord& menu, IRecordSource& records, const std::string& program_dir, int chooser_x,
                   HWND owner) {
  TDoAMenu chooser(ChooserEntries(menu, records), PopupMenuView(menu).Options(), program_dir, chooser_x);
  return chooser.ShowModal(owner);
}

}  // namespace qlx
