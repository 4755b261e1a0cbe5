#pragma once
// Dialog plumbing every dialog of the program uses: the thunk that hands
// messages to a dialog object, modal and modeless creation from the
// resources, centring, and typed wrappers for the control messages the
// dialogs send, so no dialog file casts WPARAM/LPARAM by hand.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "help/help_topics.h"
#include "platform/win32/win_handles.h"

namespace qlx::dlg {

// ---- Help

// The folder the running program was started from.
inline std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
  std::string dir(path, n < sizeof path ? n : 0);
  const size_t slash = dir.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : dir.substr(0, slash);
}

// The help page of a keyword, from the Help folder beside the program, in
// the user's browser.
inline void OpenHelp(HWND owner, const std::string& program_dir, const std::string& keyword) {
  const std::string page = help::PagePath(program_dir, keyword);
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteA(owner, "open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32)
    ::MessageBoxA(owner, help::MissingPageMessage(page).c_str(), "Error", MB_OK);
}

namespace detail {
// The template of the dialog being made, from RunModal or CreateFloating to
// its WM_INITDIALOG, and on in a window property for its life.
inline thread_local int pending_template = 0;
inline constexpr char kTemplateProperty[] = "QlxDialogTemplate";

inline int TemplateOf(HWND dialog) {
  return static_cast<int>(reinterpret_cast<INT_PTR>(::GetPropA(dialog, kTemplateProperty)));
}

// Every Help button of the program's templates has the id IDHELP.
inline bool IsHelpButton(HWND control) { return control && ::GetDlgCtrlID(control) == IDHELP; }

// Every dialog with a page gets working Help buttons: they are enabled when
// it opens, and those the dialog class leaves alone open its page.
inline void EnableHelpButtons(HWND dialog) {
  for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if (IsHelpButton(c)) ::EnableWindow(c, TRUE);
}

inline void OpenDialogHelp(HWND dialog) {
  if (const auto topic = help::TopicOfDialog(TemplateOf(dialog)))
    OpenHelp(dialog, ProgramFolder(), std::string(topic->keyword));
}

// Before the dialog sees it: true when the common help took the message.
inline bool PreviewHelp(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_COMMAND || HIWORD(wp) != BN_CLICKED) return false;
  const auto topic = help::TopicOfDialog(TemplateOf(dialog));
  if (!topic || topic->handler != help::Handler::Common) return false;
  if (!IsHelpButton(reinterpret_cast<HWND>(lp))) return false;
  OpenDialogHelp(dialog);
  return true;
}

// After the dialog: its Help buttons enabled on opening, and F1 when the
// dialog did not answer it itself; true when F1 was answered here.
inline bool FollowUpHelp(HWND dialog, UINT msg, INT_PTR handled) {
  if (msg == WM_INITDIALOG) {
    if (help::TopicOfDialog(TemplateOf(dialog))) EnableHelpButtons(dialog);
  } else if (msg == WM_HELP && !handled && help::TopicOfDialog(TemplateOf(dialog))) {
    OpenDialogHelp(dialog);
    return true;
  }
  return false;
}
}  // namespace detail

// Dialog procedure of `T`, for the playback dialogs that are not yet on
// dlg::Dialog (dialog_base.h): the object rides in the dialog's user data
// and handles every message from WM_INITDIALOG on. `T` has a member
// `hwnd_` and `INT_PTR HandleMessage(UINT, WPARAM, LPARAM)`.
template <typename T>
INT_PTR CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    ::SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    reinterpret_cast<T*>(lp)->hwnd_ = hwnd;
    ::SetPropA(hwnd, detail::kTemplateProperty,
               reinterpret_cast<HANDLE>(static_cast<INT_PTR>(detail::pending_template)));
    detail::pending_template = 0;
  }
  if (detail::PreviewHelp(hwnd, msg, wp, lp)) return TRUE;
  auto* self = reinterpret_cast<T*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
  INT_PTR result = self ? self->HandleMessage(msg, wp, lp) : FALSE;
  if (detail::FollowUpHelp(hwnd, msg, result)) result = TRUE;
  if (msg == WM_NCDESTROY) {
    ::RemovePropA(hwnd, detail::kTemplateProperty);
    if (self) self->hwnd_ = nullptr;
  }
  return result;
}

// Runs a modal dialog from the program's resources; the result is what
// the dialog passed to EndDialog (-1 when it could not be made).
template <typename T>
INT_PTR RunModal(int template_id, T& self, HWND owner = nullptr) {
  detail::pending_template = template_id;
  return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(template_id), owner,
                           &Procedure<T>, reinterpret_cast<LPARAM>(&self));
}

// Creates a modeless dialog from the program's resources, not yet shown;
// false when it could not be made.
template <typename T>
bool CreateFloating(int template_id, T& self, HWND owner = nullptr) {
  detail::pending_template = template_id;
  return ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(template_id), owner,
                              &Procedure<T>, reinterpret_cast<LPARAM>(&self)) != nullptr;
}

// The modal loop of a dialog that has no owner to disable: every message
// of the thread is handled (hot keys and timers included) until `done`.
// WM_QUIT ends it too and is put back for the main loop.
inline void RunLoopUntil(HWND dialog, const bool& done) {
  MSG msg;
  while (!done) {
    const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (got < 0) return;
    if (::IsDialogMessageA(dialog, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

// ---- Windows and text

inline HWND Item(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }

inline void SetText(HWND window, const std::string& text) { ::SetWindowTextA(window, text.c_str()); }
inline void SetText(HWND dialog, int id, const std::string& text) { SetText(Item(dialog, id), text); }

inline std::string GetText(HWND window) {
  const int n = ::GetWindowTextLengthA(window);
  std::string s(static_cast<size_t>(n > 0 ? n : 0) + 1, '\0');
  const int got = ::GetWindowTextA(window, s.data(), static_cast<int>(s.size()));
  s.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return s;
}
inline std::string GetText(HWND dialog, int id) { return GetText(Item(dialog, id)); }

inline void Enable(HWND dialog, int id, bool enabled) { ::EnableWindow(Item(dialog, id), enabled ? TRUE : FALSE); }
inline bool IsEnabled(HWND dialog, int id) { return ::IsWindowEnabled(Item(dialog, id)) != 0; }
inline void Show(HWND dialog, int id, bool visible) { ::ShowWindow(Item(dialog, id), visible ? SW_SHOW : SW_HIDE); }

// Focus inside a dialog goes through WM_NEXTDLGCTL so the default button
// follows it.
inline void Focus(HWND dialog, int id) {
  ::SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(dialog, id)), TRUE);
}

// ---- Edit controls

inline void SetEditLimit(HWND dialog, int id, int max_chars) {
  ::SendMessageA(Item(dialog, id), EM_LIMITTEXT, static_cast<WPARAM>(max_chars), 0);
}
inline void SelectAll(HWND dialog, int id) { ::SendMessageA(Item(dialog, id), EM_SETSEL, 0, -1); }
inline void ReplaceSelection(HWND edit, const std::string& text) {
  ::SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}
// Caret range of an edit control: [start, end).
struct Selection {
  int start = 0;
  int end = 0;
};
inline Selection GetSelection(HWND edit) {
  DWORD start = 0, end = 0;
  ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}
inline void SetSelection(HWND edit, int start, int end) {
  ::SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

// The character index nearest a client point of an edit control.
inline int CharFromPos(HWND edit, POINT p) {
  const LRESULT r = ::SendMessageA(edit, EM_CHARFROMPOS, 0, MAKELPARAM(p.x, p.y));
  return static_cast<int>(LOWORD(r));
}
inline void ScrollCaret(HWND edit) { ::SendMessageA(edit, EM_SCROLLCARET, 0, 0); }
inline int TextLength(HWND window) { return ::GetWindowTextLengthA(window); }
// The clipboard commands of a text field.
inline void Cut(HWND edit) { ::SendMessageA(edit, WM_CUT, 0, 0); }
inline void Copy(HWND edit) { ::SendMessageA(edit, WM_COPY, 0, 0); }
inline void Paste(HWND edit) { ::SendMessageA(edit, WM_PASTE, 0, 0); }
inline void Clear(HWND edit) { ::SendMessageA(edit, WM_CLEAR, 0, 0); }
// True for an edit control (a text box or text field).
inline bool IsEdit(HWND window) {
  char cls[16] = {};
  ::GetClassNameA(window, cls, sizeof cls);
  return ::lstrcmpiA(cls, "Edit") == 0;
}

// ---- Buttons: check boxes and radio groups

inline bool IsChecked(HWND dialog, int id) {
  return ::SendMessageA(Item(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
inline void SetChecked(HWND dialog, int id, bool checked) {
  ::SendMessageA(Item(dialog, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
// Radio group of consecutive ids first..last: selects `chosen`.
inline void CheckRadio(HWND dialog, int first, int last, int chosen) {
  ::CheckRadioButton(dialog, first, last, chosen);
}
// The checked id of a radio group, or `none` when none is checked.
inline int CheckedRadio(HWND dialog, int first, int last, int none = 0) {
  for (int id = first; id <= last; ++id)
    if (IsChecked(dialog, id)) return id;
  return none;
}

// An icon shown on a button of style BS_ICON.
inline void SetButtonIcon(HWND dialog, int id, HICON icon) {
  ::SendMessageA(Item(dialog, id), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}
inline void Click(HWND dialog, int id) { ::SendMessageA(Item(dialog, id), BM_CLICK, 0, 0); }
inline void SetFont(HWND window, HFONT font) {
  ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}
inline HFONT GetFont(HWND window) {
  return reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
}

// ---- List boxes

namespace list {
inline int Count(HWND lb) { return static_cast<int>(::SendMessageA(lb, LB_GETCOUNT, 0, 0)); }
inline void Clear(HWND lb) { ::SendMessageA(lb, LB_RESETCONTENT, 0, 0); }
inline int Add(HWND lb, const std::string& text) {
  return static_cast<int>(::SendMessageA(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}
inline int Insert(HWND lb, int index, const std::string& text) {
  return static_cast<int>(
      ::SendMessageA(lb, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str())));
}
inline void Delete(HWND lb, int index) { ::SendMessageA(lb, LB_DELETESTRING, static_cast<WPARAM>(index), 0); }
inline int Selected(HWND lb) { return static_cast<int>(::SendMessageA(lb, LB_GETCURSEL, 0, 0)); }
inline void Select(HWND lb, int index) { ::SendMessageA(lb, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }
inline void SetTop(HWND lb, int index) { ::SendMessageA(lb, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0); }
inline int Top(HWND lb) { return static_cast<int>(::SendMessageA(lb, LB_GETTOPINDEX, 0, 0)); }
inline std::string Text(HWND lb, int index) {
  const LRESULT n = ::SendMessageA(lb, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == LB_ERR) return {};
  std::string s(static_cast<size_t>(n) + 1, '\0');
  const LRESULT got =
      ::SendMessageA(lb, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
  s.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
  return s;
}
inline void SetData(HWND lb, int index, intptr_t data) {
  ::SendMessageA(lb, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}
inline intptr_t Data(HWND lb, int index) {
  return static_cast<intptr_t>(::SendMessageA(lb, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}
inline void SetItemHeight(HWND lb, int height) {
  ::SendMessageA(lb, LB_SETITEMHEIGHT, 0, static_cast<LPARAM>(height));
}
inline int AddWithData(HWND lb, const std::string& text, intptr_t data) {
  const int i = Add(lb, text);
  if (i >= 0) SetData(lb, i, data);
  return i;
}
inline int InsertWithData(HWND lb, int index, const std::string& text, intptr_t data) {
  const int i = Insert(lb, index, text);
  if (i >= 0) SetData(lb, i, data);
  return i;
}
inline void SetHorizontalExtent(HWND lb, int pixels) {
  ::SendMessageA(lb, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(pixels), 0);
}
inline void SetRedraw(HWND window, bool on) { ::SendMessageA(window, WM_SETREDRAW, on ? TRUE : FALSE, 0); }
// The index of the first entry with exactly this text, or -1.
inline int FindExact(HWND lb, const std::string& text) {
  const LRESULT r = ::SendMessageA(lb, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(text.c_str()));
  return r == LB_ERR ? -1 : static_cast<int>(r);
}
}  // namespace list

// ---- Combo boxes

namespace combo {
inline int Count(HWND cb) { return static_cast<int>(::SendMessageA(cb, CB_GETCOUNT, 0, 0)); }
inline void Clear(HWND cb) { ::SendMessageA(cb, CB_RESETCONTENT, 0, 0); }
inline int Add(HWND cb, const std::string& text) {
  return static_cast<int>(::SendMessageA(cb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}
inline int Selected(HWND cb) { return static_cast<int>(::SendMessageA(cb, CB_GETCURSEL, 0, 0)); }
inline void Select(HWND cb, int index) { ::SendMessageA(cb, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
inline int FindExact(HWND cb, const std::string& text) {
  return static_cast<int>(
      ::SendMessageA(cb, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())));
}
inline void SetLimit(HWND cb, int max_chars) { ::SendMessageA(cb, CB_LIMITTEXT, static_cast<WPARAM>(max_chars), 0); }
}  // namespace combo

// ---- List views (report style)

namespace lv {
inline void SetExtendedStyle(HWND v, DWORD style) {
  ::SendMessageA(v, LVM_SETEXTENDEDLISTVIEWSTYLE, static_cast<WPARAM>(style), static_cast<LPARAM>(style));
}
inline void AddColumn(HWND v, int index, const char* title, int width) {
  LVCOLUMNA c{};
  c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  c.pszText = const_cast<char*>(title);
  c.cx = width;
  c.iSubItem = index;
  ::SendMessageA(v, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&c));
}
inline void Clear(HWND v) { ::SendMessageA(v, LVM_DELETEALLITEMS, 0, 0); }
inline int Count(HWND v) { return static_cast<int>(::SendMessageA(v, LVM_GETITEMCOUNT, 0, 0)); }
// Appends a row with its first cell and the row's number as data.
inline int AddRow(HWND v, const std::string& text, LPARAM data) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = Count(v);
  item.pszText = const_cast<char*>(text.c_str());
  item.lParam = data;
  return static_cast<int>(::SendMessageA(v, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}
inline void SetCell(HWND v, int row, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  ::SendMessageA(v, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}
inline int Selected(HWND v) {
  return static_cast<int>(::SendMessageA(v, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}
inline void Select(HWND v, int row) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageA(v, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  ::SendMessageA(v, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}
inline void Redraw(HWND v) { ::InvalidateRect(v, nullptr, TRUE); }
}  // namespace lv

// ---- Up-down (spin) controls

inline void SetSpinRange(HWND dialog, int id, int low, int high) {
  ::SendMessageA(Item(dialog, id), UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

// The common controls a dialog uses, registered before it is made.
inline void UseCommonControls(DWORD classes) {
  INITCOMMONCONTROLSEX icc{sizeof icc, classes};
  ::InitCommonControlsEx(&icc);
}

// ---- Placement

// The outer size of a window of this dialog's style whose client area is
// width x height.
inline SIZE OuterSizeFor(HWND dialog, int width, int height) {
  RECT r{0, 0, width, height};
  ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
  return {r.right - r.left, r.bottom - r.top};
}

// Every dialog centres itself on the screen when shown.
inline void CentreOnScreen(HWND dialog) {
  RECT r;
  ::GetWindowRect(dialog, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int sw = ::GetSystemMetrics(SM_CXSCREEN), sh = ::GetSystemMetrics(SM_CYSCREEN);
  ::SetWindowPos(dialog, nullptr, (sw - w) / 2, (sh - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Stays above every normal window, where it is, at its size.
inline void MakeTopmost(HWND dialog) {
  ::SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- Icons and common dialogs

struct DestroyIconFn { void operator()(HICON h) const { ::DestroyIcon(h); } };
// An icon loaded from a file; the program's own icons are shared and not owned.
using OwnedIcon = win::UniqueHandle<HICON, DestroyIconFn, nullptr>;

inline HICON ProgramIcon(int resource_id) {
  return ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource_id));
}

// The open-file dialog. `filter` is written as "Name|*.EXT|Name|*.EXT".
// Nothing when the user cancels.
inline std::optional<std::string> BrowseForFile(HWND owner, const std::string& title,
                                                const std::string& filter,
                                                const std::string& initial_dir = {},
                                                const std::string& default_ext = {}) {
  std::string f = filter;
  for (char& c : f)
    if (c == '|') c = '\0';
  f.push_back('\0');
  char file[MAX_PATH] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = f.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrInitialDir = initial_dir.empty() ? nullptr : initial_dir.c_str();
  ofn.lpstrDefExt = default_ext.empty() ? nullptr : default_ext.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!::GetOpenFileNameA(&ofn)) return std::nullopt;
  return std::string(file);
}

// ---- Messages

// The control id and notification code of a WM_COMMAND.
struct Command {
  int id;
  int code;
  HWND control;
};
inline Command DecodeCommand(WPARAM wp, LPARAM lp) {
  return {LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)};
}

// Typed views of the parameters of the messages the dialogs handle.
inline const DRAWITEMSTRUCT& DrawItemOf(LPARAM lp) { return *reinterpret_cast<const DRAWITEMSTRUCT*>(lp); }
inline MEASUREITEMSTRUCT& MeasureItemOf(LPARAM lp) { return *reinterpret_cast<MEASUREITEMSTRUCT*>(lp); }
inline MINMAXINFO& MinMaxInfoOf(LPARAM lp) { return *reinterpret_cast<MINMAXINFO*>(lp); }
inline const NMHDR& NotifyHeaderOf(LPARAM lp) { return *reinterpret_cast<const NMHDR*>(lp); }
// The whole notification a WM_NOTIFY header begins, as its code says.
template <typename T>
T& NotifyOf(LPARAM lp) {
  return *reinterpret_cast<T*>(lp);
}
inline HWND WindowOf(WPARAM wp) { return reinterpret_cast<HWND>(wp); }
inline HWND ControlOf(LPARAM lp) { return reinterpret_cast<HWND>(lp); }
inline HDC DcOf(WPARAM wp) { return reinterpret_cast<HDC>(wp); }
inline INT_PTR BrushResult(HBRUSH brush) { return reinterpret_cast<INT_PTR>(brush); }
// Client size of WM_SIZE.
inline SIZE ClientSizeOf(LPARAM lp) { return {LOWORD(lp), HIWORD(lp)}; }
// Client point of a mouse message.
inline POINT PointOf(LPARAM lp) {
  return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

// Places a child at a box of client pixels.
inline void PlaceControl(HWND dialog, int id, int left, int top, int width, int height) {
  ::MoveWindow(Item(dialog, id), left, top, width, height, TRUE);
}
// A control's rectangle in its dialog's client pixels.
inline RECT ControlRect(HWND dialog, int id) {
  RECT r;
  ::GetWindowRect(Item(dialog, id), &r);
  POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
  ::MapWindowPoints(nullptr, dialog, corners, 2);
  return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}
// Gives the dialog a client area of width x height pixels, where it is.
inline void SetClientSize(HWND dialog, int width, int height) {
  const SIZE outer = OuterSizeFor(dialog, width, height);
  ::SetWindowPos(dialog, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}


// A control of the program's own tells its dialog about something, as the
// system's controls do: WM_COMMAND with the control's id and `code`.
inline void NotifyParent(HWND control, int code) {
  ::SendMessageA(::GetParent(control), WM_COMMAND,
                 MAKEWPARAM(::GetDlgCtrlID(control), static_cast<WORD>(code)),
                 reinterpret_cast<LPARAM>(control));
}

// A modal message box over `owner` (or the screen) with one of the fixed
// captions; true when the user answered Yes.
inline void ShowMessage(HWND owner, const std::string& caption, const std::string& text) {
  ::MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK);
}
inline bool AskYesNo(HWND owner, const std::string& caption, const std::string& text) {
  return ::MessageBoxA(owner, text.c_str(), caption.c_str(), MB_YESNO) == IDYES;
}

}  // namespace qlx::dlg
