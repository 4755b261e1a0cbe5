#include "engine/win/pause_macro.h"

#include <utility>

#include "engine/playback_dialogs.h"
#include "engine/win/dialog_support.h"
#include "resource.h"

namespace qlx {
namespace {

// Posted by the activation so the hand-back runs after it has finished.
constexpr UINT kMsgHandBack = WM_APP + 1;
constexpr COLORREF kTitleColor = RGB(255, 0, 0);

}  // namespace

TPauseMacro::TPauseMacro(PauseBoxRequest request, IDesktop& desktop)
    : request_(std::move(request)), desktop_(desktop) {}

bool TPauseMacro::ShowModal() {
  // Keys the macro typed just before the pause may still be on their way
  // to the target: a dialog that took the foreground now would receive
  // them. So it is shown without activation and runs its own modal loop.
  if (!dlg::CreateFloating(IDD_PAUSE_MACRO, *this)) return false;
  if (!closed_) ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  dlg::RunLoopUntil(hwnd_, closed_);
  ::DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  return result_ == Result::Resume;
}

void TPauseMacro::Close() { closed_ = true; }

void TPauseMacro::Resume() {
  result_ = Result::Resume;
  Close();
}

void TPauseMacro::FormShow() {
  // Resumed before it could show: nothing to lay out.
  if (closed_) return;
  dlg::SetText(hwnd_, PauseCaption(request_.activation_code));
  dlg::SetText(dlg::Item(hwnd_, IDC_MACRO_TITLE_LABEL), request_.macro_name);
  dlg::SetText(dlg::Item(hwnd_, IDC_MESSAGE_LABEL), request_.message);

  // The form first, so its frame decides what is left for the controls;
  // then as many lines as the macro's name takes at that width.
  const PauseLayout first = LayoutPause(request_.message.size(), 0);
  ::SetWindowPos(hwnd_, HWND_TOPMOST, request_.left, request_.top, first.form_width,
                 first.form_height, SWP_NOACTIVATE);
  RECT client;
  ::GetClientRect(hwnd_, &client);
  const int title_width = LayoutPause(request_.message.size(), client.right).title.width;
  const int lines = TitleLines(title_width);
  const PauseLayout l = LayoutPause(request_.message.size(), client.right, lines);
  if (l.form_height != first.form_height)
    ::SetWindowPos(hwnd_, nullptr, 0, 0, l.form_width, l.form_height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  dlg::Place(hwnd_, IDC_PAUSE_HEADING, l.heading);
  dlg::Place(hwnd_, IDC_MACRO_TITLE_LABEL, l.title);
  dlg::Place(hwnd_, IDC_MESSAGE_LABEL, l.message);
  dlg::Place(hwnd_, IDC_RESUME_BUTTON, l.resume);
  dlg::Place(hwnd_, IDC_ABORT_BUTTON, l.abort);
  ::ShowWindow(dlg::Item(hwnd_, IDC_MESSAGE_LABEL), l.message_visible ? SW_SHOW : SW_HIDE);
}

int TPauseMacro::TitleLines(int width) const {
  // Measured as the static control draws it: its font, centred, wrapped
  // at word breaks.
  HWND label = dlg::Item(hwnd_, IDC_MACRO_TITLE_LABEL);
  HDC dc = ::GetDC(label);
  if (!dc) return 1;
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(label, WM_GETFONT, 0, 0)));
  TEXTMETRICA tm{};
  ::GetTextMetricsA(dc, &tm);
  RECT r{0, 0, width, 0};
  ::DrawTextA(dc, request_.macro_name.c_str(), static_cast<int>(request_.macro_name.size()), &r,
              DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  ::SelectObject(dc, old);
  ::ReleaseDC(label, dc);
  const int line = tm.tmHeight > 0 ? static_cast<int>(tm.tmHeight) : 1;
  return (r.bottom - r.top + line - 1) / line;
}

void TPauseMacro::FormActivate(WORD how) {
  dlg::MakeTopmost(hwnd_);
  // A click on the dialog is the user reaching for its buttons (a button
  // takes the focus, and so the activation, on the press): taking the
  // activation away before the release would cancel the click.
  const bool pressing = (::GetKeyState(VK_LBUTTON) & 0x8000) != 0;
  if (how != WA_CLICKACTIVE && !pressing) ::PostMessageA(hwnd_, kMsgHandBack, 0, 0);
}

void TPauseMacro::HandBackToTarget() {
  if (request_.target != 0 && ::IsWindow(reinterpret_cast<HWND>(request_.target)))
    desktop_.HandFocusTo(request_.target);
}

void TPauseMacro::ResumeButtonClick() {
  result_ = Result::Resume;
  Close();
}

void TPauseMacro::AbortButtonClick() { Close(); }

INT_PTR TPauseMacro::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      FormShow();
      return FALSE;  // the focus stays with the target program
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) FormActivate(LOWORD(wp));
      return FALSE;
    case kMsgHandBack:
      HandBackToTarget();
      return TRUE;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == dlg::Item(hwnd_, IDC_MACRO_TITLE_LABEL)) {
        HDC dc = reinterpret_cast<HDC>(wp);
        ::SetTextColor(dc, kTitleColor);
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
      }
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDC_RESUME_BUTTON: ResumeButtonClick(); return TRUE;
        case IDC_ABORT_BUTTON:
        case IDCANCEL:  // Escape or the close box: the result stays Abort
          AbortButtonClick();
          return TRUE;
        default: return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace qlx
