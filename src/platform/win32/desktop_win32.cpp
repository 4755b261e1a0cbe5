#include "platform/win32/desktop_win32.h"

#include <string>

namespace qlx {
namespace {

BOOL CALLBACK CollectWindow(HWND h, LPARAM list) {
  reinterpret_cast<std::vector<WindowHandle>*>(list)->push_back(FromHwnd(h));
  return TRUE;
}

}  // namespace

WindowHandle Win32Desktop::FindTopLevelByTitle(std::string_view title) {
  const std::string z(title);
  return FromHwnd(::FindWindowA(nullptr, z.c_str()));
}

std::vector<WindowHandle> Win32Desktop::TopLevelWindows() {
  std::vector<WindowHandle> out;
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&out));
  return out;
}

std::string Win32Desktop::WindowTitle(WindowHandle window, size_t max_chars) {
  std::string buf(max_chars + 1, '\0');
  const int n = ::GetWindowTextA(ToHwnd(window), buf.data(), static_cast<int>(buf.size()));
  buf.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return buf;
}

WindowHandle Win32Desktop::Foreground() { return FromHwnd(::GetForegroundWindow()); }

WindowHandle Win32Desktop::Parent(WindowHandle window) {
  return FromHwnd(::GetParent(ToHwnd(window)));
}

uint32_t Win32Desktop::ProcessIdOf(WindowHandle window) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(ToHwnd(window), &pid);
  return pid;
}

bool Win32Desktop::IsMinimized(WindowHandle window) { return ::IsIconic(ToHwnd(window)) != 0; }

bool Win32Desktop::WindowRect(WindowHandle window, WindowRectangle& rect) {
  RECT r;
  if (!::GetWindowRect(ToHwnd(window), &r)) return false;
  rect = {r.left, r.top, r.right, r.bottom};
  return true;
}

void Win32Desktop::ShowWindow(WindowHandle window, ShowCommand command) {
  int how = SW_SHOW;
  switch (command) {
    case ShowCommand::Show: how = SW_SHOW; break;
    case ShowCommand::Hide: how = SW_HIDE; break;
    case ShowCommand::Restore: how = SW_RESTORE; break;
  }
  ::ShowWindow(ToHwnd(window), how);
}

void Win32Desktop::SetFocus(WindowHandle window) { ::SetFocus(ToHwnd(window)); }

void Win32Desktop::SetForeground(WindowHandle window) {
  ::SetForegroundWindow(ToHwnd(window));
  // Without a window manager (and under some shells) the foreground call
  // does not raise the window.
  ::BringWindowToTop(ToHwnd(window));
}

void Win32Desktop::HandFocusTo(WindowHandle window) {
  HWND target = ToHwnd(window);
  HWND root = ::GetAncestor(target, GA_ROOT);
  if (!root) return;
  SetForeground(FromHwnd(root));
  // Focus and activation belong to the thread that owns the window: share
  // its input state for the moment it takes to set them.
  const DWORD theirs = ::GetWindowThreadProcessId(target, nullptr);
  const DWORD ours = ::GetCurrentThreadId();
  const bool attached = theirs != 0 && theirs != ours && ::AttachThreadInput(ours, theirs, TRUE);
  ::SetActiveWindow(root);
  ::SetFocus(target);
  if (attached) ::AttachThreadInput(ours, theirs, FALSE);
}

bool Win32Desktop::AcceptsKeyboardInput(WindowHandle window) {
  HWND root = ::GetAncestor(ToHwnd(window), GA_ROOT);
  if (!root || ::GetForegroundWindow() != root) return false;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = ::GetWindowThreadProcessId(root, nullptr);
  return ::GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr;
}

bool Win32Desktop::PointerOver(WindowHandle window) {
  HWND root = ::GetAncestor(ToHwnd(window), GA_ROOT);
  POINT at{};
  RECT client{};
  if (!root || !::GetCursorPos(&at) || !::GetClientRect(root, &client)) return false;
  ::MapWindowPoints(root, nullptr, reinterpret_cast<POINT*>(&client), 2);
  if (!::PtInRect(&client, at)) return false;
  HWND there = ::WindowFromPoint(at);
  return there && ::GetAncestor(there, GA_ROOT) == root;
}

bool Win32Desktop::RaiseUnderPointerResyncsKeyboard() {
  // Wine's X11 driver does: the X server follows a raise under the pointer
  // with an entry and a snapshot of the physical keyboard, and Wine copies
  // that snapshot over its own key state.
  static const bool wine = [] {
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

void Win32Desktop::SetSize(WindowHandle window, int width, int height) {
  ::SetWindowPos(ToHwnd(window), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

void Win32Desktop::SetPosition(WindowHandle window, int left, int top) {
  ::SetWindowPos(ToHwnd(window), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void Win32Desktop::PostQuit(WindowHandle window) {
  ::PostMessageA(ToHwnd(window), WM_QUIT, 0, 0);
}

void Win32Desktop::SendSysCommand(WindowHandle window, uint32_t command) {
  // A hung window must not hang the program with it.
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(ToHwnd(window), WM_SYSCOMMAND, command, 0, SMTO_ABORTIFHUNG,
                        kSysCommandTimeoutMs, &result);
}

}  // namespace qlx
