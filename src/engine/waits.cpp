#include "engine/waits.h"

#include <algorithm>
#include <cmath>

namespace qlx {
namespace {
constexpr double kSecondsPerDay = 86400.0;
constexpr double kHour = 3600.0;
}  // namespace

double TimeOfDaySeconds(double days) {
  const double fraction = days - std::floor(days);
  return std::round(fraction * kSecondsPerDay * 1000.0) / 1000.0;
}

DayStopwatch::DayStopwatch(const IClock& clock)
    : clock_(clock), last_(TimeOfDaySeconds(clock.Now())) {}

double DayStopwatch::ElapsedSeconds() {
  const double now = TimeOfDaySeconds(clock_.Now());
  double delta = now - last_;
  if (delta < 0) {
    // From the last hour of one day into the first hour of the next: the
    // day rolled over. Any other step back is the clock being changed.
    delta = (last_ >= 23 * kHour && now < kHour) ? now + kSecondsPerDay - last_ : 0;
  }
  elapsed_ += delta;
  last_ = now;
  return elapsed_;
}

void Waits::Milliseconds(uint64_t ms) {
  uint32_t last = clock_.TickCount();
  uint64_t elapsed = 0;
  while (elapsed < ms) {
    pump_.ProcessPending();
    if (abort_) return;
    pump_.WaitForMessages(static_cast<uint32_t>(std::min<uint64_t>(ms - elapsed, kSliceMs)));
    const uint32_t now = clock_.TickCount();
    elapsed += static_cast<uint32_t>(now - last);  // wraps with the tick count
    last = now;
  }
}

void Waits::Seconds(double seconds) {
  DayStopwatch watch(clock_);
  for (;;) {
    const double elapsed = watch.ElapsedSeconds();
    if (elapsed > seconds) return;
    pump_.ProcessPending();
    if (abort_) return;
    const double left_ms = std::floor((seconds - elapsed) * 1000.0) + 1.0;
    pump_.WaitForMessages(static_cast<uint32_t>(std::min(left_ms, double{kSliceMs})));
  }
}

}  // namespace qlx
