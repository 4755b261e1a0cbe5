#pragma once
// The program's window messages, handled while it is busy: playback and its
// waits keep the user interface, timers and hook messages alive through this.
#include <cstdint>

namespace qlx {

class IMessagePump {
 public:
  virtual ~IMessagePump() = default;
  // Handles every message waiting in the queue, then returns.
  virtual void ProcessPending() = 0;
  // Returns when a message arrives or `max_ms` milliseconds have passed.
  virtual void WaitForMessages(uint32_t max_ms) = 0;
};

}  // namespace qlx
