#pragma once
#include <windows.h>

#include "platform/message_pump.h"

namespace qlx {

// The calling thread's message queue.
class Win32MessagePump : public IMessagePump {
 public:
  void ProcessPending() override;
  void WaitForMessages(uint32_t max_ms) override;

  // WM_QUIT arrived while the program was busy; it has been posted again
  // for the main loop.
  bool QuitSeen() const { return quit_seen_; }

 private:
  bool quit_seen_ = false;
};

}  // namespace qlx
