#include "platform/win32/dialog_base.h"

#include <exception>
#include <string>

#include "platform/win32/dialog.h"

namespace qlx::dlg {
namespace {

// An exception stops at the window procedure: the user is told which
// handler of which dialog failed, and the dialog goes on.
void ReportFailure(HWND dialog, const char* handler, const char* what) {
  const std::string caption = dialog ? GetText(dialog) : std::string();
  std::string text = std::string(handler) + " failed";
  if (!caption.empty()) text += " in \"" + caption + "\"";
  text += ": ";
  text += what;
  ::MessageBoxA(dialog, text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

template <typename F>
auto Barrier(HWND dialog, const char*& handler, F body, decltype(body()) on_failure) -> decltype(body()) {
  try {
    return body();
  } catch (const std::exception& e) {
    ReportFailure(dialog, handler, e.what());
  } catch (...) {
    ReportFailure(dialog, handler, "unknown error");
  }
  return on_failure;
}

}  // namespace

Dialog* Dialog::Of(HWND dialog) { return reinterpret_cast<Dialog*>(::GetWindowLongPtrA(dialog, DWLP_USER)); }

INT_PTR Dialog::RunModal(int template_id, HWND owner) {
  own_loop_ = false;
  done_ = false;
  detail::pending_template = template_id;
  const INT_PTR r = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(template_id), owner,
                                      &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
  hwnd_ = nullptr;
  return r;
}

bool Dialog::OpenOwnModal(int template_id, HWND parent, HWND disabled) {
  own_loop_ = true;
  done_ = false;
  result_ = IDCANCEL;
  detail::pending_template = template_id;
  if (!::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(template_id), parent,
                            &Dialog::Procedure, reinterpret_cast<LPARAM>(this)))
    return false;
  disabled_ = disabled;
  if (disabled_) ::EnableWindow(disabled_, FALSE);
  ::ShowWindow(hwnd_, SW_SHOW);
  return true;
}

INT_PTR Dialog::RunOwnModal() {
  MSG msg;
  while (!done_ && hwnd_) {
    const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    const char* handler = "PreviewMessage";
    if (Barrier(hwnd_, handler, [&] { return PreviewMessage(msg); }, true)) continue;
    if (hwnd_ && ::IsDialogMessageA(hwnd_, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  // The disabled window first, so the activation goes back to it.
  if (disabled_) ::EnableWindow(disabled_, TRUE);
  disabled_ = nullptr;
  if (hwnd_) ::DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  own_loop_ = false;
  return result_;
}

void Dialog::End(INT_PTR result) {
  result_ = result;
  done_ = true;
  if (!own_loop_ && hwnd_) ::EndDialog(hwnd_, result);
}

INT_PTR Dialog::Route(UINT msg, WPARAM wp, LPARAM lp, const char*& handler) {
  switch (msg) {
    case WM_INITDIALOG: {
      handler = "FormShow";
      FormShow();
      if (placement_ == Placement::Centred) CentreOnScreen(hwnd_);
      const HWND focus = ::GetFocus();
      return focus && (focus == hwnd_ || ::IsChild(hwnd_, focus)) ? FALSE : TRUE;
    }
    case WM_COMMAND: {
      const Command c = DecodeCommand(wp, lp);
      handler = "OnCommand";
      if (OnCommand(c.id, c.code, c.control)) return TRUE;
      switch (c.id) {
        case IDOK:
          handler = "OkButtonClick";
          if (OkButtonClick()) End(IDOK);
          return TRUE;
        case IDCANCEL:
          handler = "FormClose";
          FormClose();
          return TRUE;
        case IDHELP:
          handler = "OnHelp";
          OnHelp();
          return TRUE;
        default:
          return FALSE;
      }
    }
    case WM_CLOSE:
      handler = "FormClose";
      FormClose();
      return TRUE;
    case WM_NOTIFY: {
      handler = "OnNotify";
      LRESULT result = 0;
      if (!OnNotify(NotifyHeaderOf(lp), lp, result)) return FALSE;
      ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
      return TRUE;
    }
    case WM_TIMER:
      handler = "OnTimer";
      return OnTimer(static_cast<UINT_PTR>(wp)) ? TRUE : FALSE;
    default:
      handler = "OnMessage";
      return OnMessage(msg, wp, lp);
  }
}

INT_PTR Dialog::Guarded(UINT msg, WPARAM wp, LPARAM lp) {
  const char* handler = "the dialog";
  // A dialog whose opening failed is still shown, its focus the manager's.
  return Barrier(hwnd_, handler, [&] { return Route(msg, wp, lp, handler); },
                 static_cast<INT_PTR>(msg == WM_INITDIALOG ? TRUE : FALSE));
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    ::SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    reinterpret_cast<Dialog*>(lp)->hwnd_ = hwnd;
    ::SetPropA(hwnd, detail::kTemplateProperty,
               reinterpret_cast<HANDLE>(static_cast<INT_PTR>(detail::pending_template)));
    detail::pending_template = 0;
  }
  const char* handler = "Help";
  if (Barrier(hwnd, handler, [&] { return detail::PreviewHelp(hwnd, msg, wp, lp); }, true)) return TRUE;
  Dialog* self = Of(hwnd);
  INT_PTR result = self ? self->Guarded(msg, wp, lp) : FALSE;
  if (Barrier(hwnd, handler, [&] { return detail::FollowUpHelp(hwnd, msg, result); }, false)) result = TRUE;
  if (msg == WM_NCDESTROY) {
    ::RemovePropA(hwnd, detail::kTemplateProperty);
    ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    if (self) self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace qlx::dlg
