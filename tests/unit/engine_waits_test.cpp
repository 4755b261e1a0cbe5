#include <gtest/gtest.h>

#include "engine/waits.h"
#include "fakes/fake_desktop.h"

namespace qlx {
namespace {

using fake::FakeDesktop;

constexpr double kMidnight = 36000.0;  // any whole day
double At(int h, int m, double s) { return kMidnight + (h * 3600 + m * 60 + s) / 86400.0; }

TEST(EngineWaits, TimeOfDayWaitsSurviveMidnightAndClockChanges) {
  {
    FakeDesktop desk;
    bool abort = false;
    desk.start_days = At(23, 59, 59.5);
    Waits(desk, desk, abort).Seconds(1.0);
    EXPECT_GE(desk.now_ms, 1000u);
    EXPECT_LE(desk.now_ms, 1002u);
  }
  {
    // Longer than an hour and across midnight.
    FakeDesktop desk;
    bool abort = false;
    desk.start_days = At(23, 30, 0);
    Waits(desk, desk, abort).Seconds(7200.0);
    EXPECT_GE(desk.now_ms, 7200000u);
    EXPECT_LE(desk.now_ms, 7200002u);
  }
  {
    // The user sets the clock back an hour during a one-second wait.
    FakeDesktop desk;
    bool abort = false;
    desk.start_days = At(12, 0, 0);
    desk.At(500, [&] { desk.start_days -= 1.0 / 24; });
    Waits(desk, desk, abort).Seconds(1.0);
    EXPECT_GE(desk.now_ms, 1000u);
    EXPECT_LE(desk.now_ms, 2000u);
  }
  EXPECT_DOUBLE_EQ(TimeOfDaySeconds(At(13, 4, 5.25)), 13 * 3600 + 4 * 60 + 5.25);
}

TEST(EngineWaits, TickWaitsCountAcrossTheTickCountWrapAndEndOnAbort) {
  {
    FakeDesktop desk;
    bool abort = false;
    desk.tick_base = 0xFFFFFF00u;
    Waits(desk, desk, abort).Milliseconds(1000);
    EXPECT_EQ(desk.now_ms, 1000u);
    EXPECT_GT(desk.pump_calls, 0u);
  }
  {
    FakeDesktop desk;
    bool abort = false;
    desk.At(300, [&] { abort = true; });
    Waits(desk, desk, abort).Milliseconds(60000);
    EXPECT_EQ(desk.now_ms, 300u);
  }
  {
    // A zero wait returns without touching the clock.
    FakeDesktop desk;
    bool abort = false;
    Waits(desk, desk, abort).Milliseconds(0);
    EXPECT_EQ(desk.wait_calls, 0u);
  }
}

}  // namespace
}  // namespace qlx
