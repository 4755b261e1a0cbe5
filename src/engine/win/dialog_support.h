#pragma once
// Small helpers the playback dialogs share: the modal-dialog thunk, typed
// wrappers for the few control calls they make, and pixel placement.
#include <windows.h>

#include <string>

#include "engine/engine_state.h"
#include "engine/playback_dialogs.h"

namespace qlx::dlg {

// Dialog procedure of `T`: the object rides in the dialog's user data and
// handles every message from WM_INITDIALOG on.
template <typename T>
INT_PTR CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    ::SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    reinterpret_cast<T*>(lp)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<T*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
  return self ? self->HandleMessage(msg, wp, lp) : FALSE;
}

// Runs a modal dialog from the program's resources.
template <typename T>
INT_PTR RunModal(int template_id, T& self) {
  return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(template_id), nullptr,
                           &Procedure<T>, reinterpret_cast<LPARAM>(&self));
}

// Creates a dialog from the program's resources, not yet shown; false when
// it could not be made.
template <typename T>
bool CreateFloating(int template_id, T& self) {
  return ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(template_id), nullptr,
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

inline HWND Item(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }

inline void SetText(HWND window, const std::string& text) { ::SetWindowTextA(window, text.c_str()); }

inline std::string GetText(HWND window) {
  const int n = ::GetWindowTextLengthA(window);
  std::string s(static_cast<size_t>(n > 0 ? n : 0) + 1, '\0');
  const int got = ::GetWindowTextA(window, s.data(), static_cast<int>(s.size()));
  s.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return s;
}

inline void Place(HWND dialog, int id, const Box& b) {
  ::MoveWindow(Item(dialog, id), b.left, b.top, b.width, b.height, TRUE);
}

// The outer size of a window of this dialog's style whose client area is
// width x height.
inline SIZE OuterSizeFor(HWND dialog, int width, int height) {
  RECT r{0, 0, width, height};
  ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
  return {r.right - r.left, r.bottom - r.top};
}

// Sizes the client area and centres the window on the screen read at
// start-up.
inline void CentreWithClient(HWND dialog, int width, int height, const ScreenSize& screen) {
  const SIZE outer = OuterSizeFor(dialog, width, height);
  const ScreenPlace p = CentredPlace(screen, outer.cx, outer.cy);
  ::SetWindowPos(dialog, HWND_TOPMOST, p.left, p.top, outer.cx, outer.cy, SWP_NOACTIVATE);
}

// Stays above every normal window, where it is, at its size.
inline void MakeTopmost(HWND dialog) {
  ::SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace qlx::dlg
