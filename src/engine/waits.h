#pragma once
// Waits that keep the program's messages flowing. They end early once an
// abort is requested: the playback stops at its next step anyway.
#include <cstdint>

#include "platform/clock.h"
#include "platform/message_pump.h"

namespace qlx {

// Seconds since midnight, to the millisecond, of a clock reading.
double TimeOfDaySeconds(double days);

// Elapsed time on the time of day. A wait that runs past midnight keeps
// counting; a clock set back by the user counts as no time.
class DayStopwatch {
 public:
  explicit DayStopwatch(const IClock& clock);
  double ElapsedSeconds();

 private:
  const IClock& clock_;
  double last_;
  double elapsed_ = 0;
};

class Waits {
 public:
  Waits(IClock& clock, IMessagePump& pump, const bool& abort_requested)
      : clock_(clock), pump_(pump), abort_(abort_requested) {}

  // Until the tick count has moved on by `ms`.
  void Milliseconds(uint64_t ms);
  // Until the time of day has moved on by more than `seconds`.
  void Seconds(double seconds);

  IClock& clock() const { return clock_; }
  IMessagePump& pump() const { return pump_; }
  bool aborted() const { return abort_; }

  // Longest single sleep between two looks at the clock.
  static constexpr uint32_t kSliceMs = 1000;

 private:
  IClock& clock_;
  IMessagePump& pump_;
  const bool& abort_;
};

}  // namespace qlx
