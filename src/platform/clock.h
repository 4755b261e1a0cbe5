#pragma once
// Current date and time as the program stores it: days since 30 December
// 1899, the fraction being the time of day (local time).
#include <cstdint>

namespace qlx {

// One moment read from the clock: the local wall-clock time and the
// universal time, both as days since 30 December 1899. Their difference is
// the zone's offset at that moment, so a step of the local clock that the
// universal time does not make (the end of daylight-saving time) can be
// told apart from the user setting the clock.
struct ClockReading {
  double local = 0;
  double utc = 0;
};

class IClock {
 public:
  virtual ~IClock() = default;
  virtual double Now() const = 0;
  virtual uint32_t TickCount() const = 0;  // milliseconds, wraps
  // A clock that knows no zone reports local time for both.
  virtual ClockReading Read() const {
    const double now = Now();
    return {now, now};
  }
};

}  // namespace qlx
