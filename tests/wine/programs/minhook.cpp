// The least a low-level keyboard and mouse hook can be: both only call
// CallNextHookEx, on a thread of their own with its message loop, as
// QLXHOOK.DLL's do. Benchmarks compare the library with it to tell the
// library's own cost from Wine's cost of any low-level hook.
//   minhook.exe        prints "ready" once both hooks are in, runs until killed
#include <windows.h>

#include <cstdio>

namespace {

LRESULT CALLBACK PassOn(int code, WPARAM wp, LPARAM lp) { return ::CallNextHookEx(nullptr, code, wp, lp); }

DWORD WINAPI HookThread(void* ready) {
  HHOOK keyboard = ::SetWindowsHookExW(WH_KEYBOARD_LL, PassOn, ::GetModuleHandleW(nullptr), 0);
  HHOOK mouse = ::SetWindowsHookExW(WH_MOUSE_LL, PassOn, ::GetModuleHandleW(nullptr), 0);
  ::SetEvent(static_cast<HANDLE>(ready));
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  if (keyboard) ::UnhookWindowsHookEx(keyboard);
  if (mouse) ::UnhookWindowsHookEx(mouse);
  return 0;
}

}  // namespace

int main() {
  HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = ::CreateThread(nullptr, 0, HookThread, ready, 0, nullptr);
  if (!thread) return 1;
  ::WaitForSingleObject(ready, INFINITE);
  std::printf("ready\n");
  std::fflush(stdout);
  ::WaitForSingleObject(thread, INFINITE);
  return 0;
}
