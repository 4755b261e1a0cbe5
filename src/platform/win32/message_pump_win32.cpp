#include "platform/win32/message_pump_win32.h"

namespace qlx {

void Win32MessagePump::ProcessPending() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The main loop must still see it; stop here so it is not taken again.
      quit_seen_ = true;
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void Win32MessagePump::WaitForMessages(uint32_t max_ms) {
  ::MsgWaitForMultipleObjectsEx(0, nullptr, max_ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

}  // namespace qlx
