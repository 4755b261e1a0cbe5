#include "platform/win32/task_icon.h"

#include <shellapi.h>

#include <cstring>

namespace qlx {
namespace {

constexpr char kClassName[] = "QlxTaskIcon";

}  // namespace

TTaskIcon::TTaskIcon(HICON picture, uint32_t id, std::string_view tip) : picture_(picture), state_(*this) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  if (!::GetClassInfoA(instance, kClassName, &wc)) {
    wc.lpfnWndProc = &TTaskIcon::WndProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    ::RegisterClassA(&wc);
  }
  // A real (hidden, zero-size) window: message-only windows miss the
  // shell's broadcasts.
  hwnd_ = ::CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                            nullptr);
  if (hwnd_) ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  state_.SetTaskIconId(id);
  state_.SetIcon(reinterpret_cast<uintptr_t>(picture_));
  SetToolTip(tip);
}

void TTaskIcon::SetToolTip(std::string_view tip) {
  state_.SetToolTip(tip);
  if (hwnd_) ::SetWindowTextA(hwnd_, state_.data().tip.c_str());
}

TTaskIcon::~TTaskIcon() {
  state_.SetActive(false);
  if (hwnd_) ::DestroyWindow(hwnd_);
  hwnd_ = nullptr;  // a late delete from the state finds no window
  if (picture_) ::DestroyIcon(picture_);
}

void TTaskIcon::SetIcon(HICON picture) {
  HICON old = picture_;
  picture_ = picture;
  state_.SetIcon(reinterpret_cast<uintptr_t>(picture_));
  if (old && old != picture) ::DestroyIcon(old);
}

bool TTaskIcon::Call(DWORD message, const TrayIconData& icon) {
  if (!hwnd_) return false;
  NOTIFYICONDATAA nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = hwnd_;
  nid.uID = icon.id;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = kTrayCallbackMessage;
  nid.hIcon = reinterpret_cast<HICON>(icon.icon);
  std::strncpy(nid.szTip, icon.tip.c_str(), sizeof nid.szTip - 1);
  return ::Shell_NotifyIconA(message, &nid) != FALSE;
}

LRESULT CALLBACK TTaskIcon::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<TTaskIcon*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self && msg == kTrayCallbackMessage) {
    switch (self->state_.Decode(static_cast<uint32_t>(wp), static_cast<uint32_t>(lp))) {
      case TrayEvent::Click:
        if (self->OnClick) self->OnClick();
        break;
      case TrayEvent::DoubleClick:
        if (self->OnDblClick) self->OnDblClick();
        break;
      case TrayEvent::RightClick:
        if (self->OnRightClick) {
          POINT p{};
          ::GetCursorPos(&p);
          self->OnRightClick(p);
        }
        break;
      case TrayEvent::None:
        break;
    }
    return 0;
  }
  return ::DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace qlx
