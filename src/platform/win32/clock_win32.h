#pragma once
#include "platform/clock.h"

namespace qlx {

// Local time and the system tick count.
class Win32Clock : public IClock {
 public:
  double Now() const override;
  uint32_t TickCount() const override;
  ClockReading Read() const override;
};

// Days since 30 December 1899 of a local date and time.
double DaysSince1899(int year, int month, int day, int hour, int minute, int second,
                     int millisecond);

}  // namespace qlx
