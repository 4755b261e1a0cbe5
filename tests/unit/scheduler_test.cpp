#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "activation/scheduler.h"
#include "fakes/fake_macro_store.h"
#include "fakes/playback_rig.h"
#include "store/date_value.h"
#include "store/settings.h"

namespace qlx {
namespace {

// Monday 30 March 1998.
constexpr int kYear = 1998, kMonth = 3, kDay = 30;

int64_t At(int day_offset, int h, int m, int s = 0) {
  return MomentMs(EncodeDateTime(kYear, kMonth, kDay, h, m, s)) + day_offset * kMsPerDay;
}

std::string Clock(int64_t ms) {
  const int64_t day = ms / kMsPerDay - At(0, 0, 0) / kMsPerDay;
  const int64_t t = ms % kMsPerDay;
  char buf[40];
  std::snprintf(buf, sizeof buf, "d%lld %02lld:%02lld:%02lld", static_cast<long long>(day),
                static_cast<long long>(t / kMsPerHour), static_cast<long long>(t / kMsPerMinute % 60),
                static_cast<long long>(t / 1000 % 60));
  return buf;
}

// A wall clock the test sets: local time and universal time apart, so a
// zone change can move one without the other.
class SimClock : public IClock {
 public:
  int64_t local_ms = At(0, 0, 0);
  int64_t offset_ms = 0;  // local minus universal
  double Now() const override { return static_cast<double>(local_ms) / kMsPerDay; }
  uint32_t TickCount() const override { return static_cast<uint32_t>(local_ms); }
  ClockReading Read() const override {
    return {static_cast<double>(local_ms) / kMsPerDay, static_cast<double>(local_ms - offset_ms) / kMsPerDay};
  }
  ClockReading Reading() const { return Read(); }
};

class RecordingStarter : public ITimedMacroStarter {
 public:
  const SimClock* clock = nullptr;
  std::vector<std::pair<int, std::string>> starts;  // macro, local time
  std::function<void(int)> on_start;
  void StartTimedMacro(int n) override {
    starts.emplace_back(n, Clock(clock->local_ms));
    if (on_start) on_start(n);
  }
};

MacroRecord Timed(uint16_t kind) {
  MacroRecord r;
  r.SetCode(kTimedCode);
  r.SetScope(kScopeGlobal);
  r.SetActive(true);
  r.SetScheduleKind(kind);
  return r;
}

MacroRecord Daily(int hour12, int minute, bool pm, std::initializer_list<int> monday_first_days) {
  MacroRecord r = Timed(kScheduleDaily);
  r.SetHour(static_cast<uint8_t>(hour12));
  r.SetMinute(static_cast<uint8_t>(minute));
  r.SetPm(pm);
  for (int d : monday_first_days) r.SetDayFlag(d, true);
  return r;
}
MacroRecord EveryDay(int hour12, int minute, bool pm) { return Daily(hour12, minute, pm, {0, 1, 2, 3, 4, 5, 6}); }

class SchedulerTest : public ::testing::Test {
 protected:
  fake::FakeMacroStore store;
  SimClock clock;
  RecordingStarter starter;
  std::unique_ptr<Scheduler> scheduler;

  // The program starts at `start`: the table is built then.
  void StartAt(int64_t start) {
    clock.local_ms = start;
    starter.clock = &clock;
    scheduler = std::make_unique<Scheduler>(clock, store, store.block(), starter, clock.Reading());
    scheduler->CheckAndSetTime();
  }
  void TickAt(int64_t t) {
    clock.local_ms = t;
    scheduler->CheckOutTimerMacros();
  }
  // Ticks every `step` seconds from `from` up to and including `to`.
  void Walk(int64_t from, int64_t to, int step_seconds = 10) {
    for (int64_t t = from; t <= to; t += step_seconds * 1000) TickAt(t);
  }
  std::vector<std::string> Times() const {
    std::vector<std::string> out;
    for (const auto& s : starter.starts) out.push_back(s.second);
    return out;
  }
};

// ---- calendar kinds on a simulated day -------------------------------------

TEST_F(SchedulerTest, DailyNoonBetweenTwoTicksRunsOnceOnTheSecond) {
  store.Add(EveryDay(12, 0, true));
  StartAt(At(0, 11, 59, 45));
  TickAt(At(0, 11, 59, 55));
  EXPECT_TRUE(starter.starts.empty());
  TickAt(At(0, 12, 0, 5));
  TickAt(At(0, 12, 0, 15));
  Walk(At(0, 12, 0, 25), At(0, 23, 59, 55));
  EXPECT_EQ(Times(), std::vector<std::string>({"d0 12:00:05"}));
}

TEST_F(SchedulerTest, DailyTimeAlreadyPassedAtStartWaitsForTheNextDay) {
  store.Add(EveryDay(12, 0, true));
  StartAt(At(0, 13, 0));
  Walk(At(0, 13, 0, 10), At(1, 13, 0, 0), 30);
  EXPECT_EQ(Times(), std::vector<std::string>({"d1 12:00:10"}));
}

TEST_F(SchedulerTest, DailyRunsOnlyOnItsDays) {
  // Monday and Wednesday at 9:00 AM, walked from Monday to Sunday.
  store.Add(Daily(9, 0, false, {0, 2}));
  StartAt(At(0, 0, 0, 1));
  Walk(At(0, 0, 1), At(6, 23, 59), 60);
  EXPECT_EQ(Times(), std::vector<std::string>({"d0 09:00:00", "d2 09:00:00"}));
}

TEST_F(SchedulerTest, TwelveWithoutPmIsMidnightAndWithPmIsNoon) {
  store.Add(EveryDay(12, 0, false));
  store.Add(EveryDay(12, 30, true));
  StartAt(At(0, 0, 0, 30));
  Walk(At(0, 0, 1), At(1, 0, 0, 30), 60);
  ASSERT_EQ(starter.starts.size(), 2u);
  EXPECT_EQ(starter.starts[0], (std::pair<int, std::string>(2, "d0 12:30:00")));
  EXPECT_EQ(starter.starts[1], (std::pair<int, std::string>(1, "d1 00:00:00")));
}

TEST_F(SchedulerTest, WeeklyAndMonthlyRunOnTheirDay) {
  MacroRecord weekly = Timed(kScheduleWeekly);  // Wednesday 3:15 PM
  weekly.SetHour(3);
  weekly.SetMinute(15);
  weekly.SetPm(true);
  weekly.SetWeekday(4);
  store.Add(weekly);
  MacroRecord monthly = Timed(kScheduleMonthly);  // the 1st at 8:00 AM
  monthly.SetHour(8);
  monthly.SetDay(1);
  store.Add(monthly);
  StartAt(At(0, 0, 0, 30));
  Walk(At(0, 0, 1), At(9, 23, 0), 60);  // to 8 April
  ASSERT_EQ(starter.starts.size(), 3u);
  EXPECT_EQ(starter.starts[0], (std::pair<int, std::string>(2, "d2 08:00:00")));  // 1 April
  EXPECT_EQ(starter.starts[1], (std::pair<int, std::string>(1, "d2 15:15:00")));  // Wednesday 1 April
  EXPECT_EQ(starter.starts[2], (std::pair<int, std::string>(1, "d9 15:15:00")));  // Wednesday 8 April
}

TEST_F(SchedulerTest, MonthlyDayThirtyOneSkipsShortMonths) {
  MacroRecord monthly = Timed(kScheduleMonthly);
  monthly.SetHour(10);
  monthly.SetDay(31);
  store.Add(monthly);
  StartAt(At(0, 0, 0));  // 30 March
  Walk(At(0, 0, 0, 10), At(33, 0, 0), 600);  // to 2 May: 30 April has no 31st
  EXPECT_EQ(Times(), std::vector<std::string>({"d1 10:00:10"}));
}

TEST_F(SchedulerTest, HourlyAtMinuteZeroRunsOnTheFirstTickOfEachHour) {
  MacroRecord hourly = Timed(kScheduleHourly);
  hourly.SetMinutePastHour(0);
  store.Add(hourly);
  StartAt(At(0, 9, 59, 53));
  Walk(At(0, 10, 0, 3), At(0, 12, 30), 10);
  EXPECT_EQ(Times(), std::vector<std::string>({"d0 10:00:03", "d0 11:00:03", "d0 12:00:03"}));
}

TEST_F(SchedulerTest, HourlyAtMinutesPastRunsOncePerHour) {
  MacroRecord hourly = Timed(kScheduleHourly);
  hourly.SetMinutePastHour(15);
  store.Add(hourly);
  StartAt(At(0, 10, 15, 2));  // just after this hour's mark: not made up
  Walk(At(0, 10, 15, 12), At(0, 12, 59), 10);
  EXPECT_EQ(Times(), std::vector<std::string>({"d0 11:15:02", "d0 12:15:02"}));
}

TEST_F(SchedulerTest, OnceRunsOnItsDateOnlyAndNotWhenPassedAtStart) {
  struct Case {
    const char* name;
    int day_offset, hour12, minute;
    bool pm;
    int start_h, start_m;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"later today", 0, 2, 0, true, 10, 0, {"d0 14:00:00"}},
      {"today, passed at start", 0, 9, 0, false, 10, 0, {}},
      {"tomorrow", 1, 9, 0, false, 10, 0, {"d1 09:00:00"}},
      {"yesterday", -1, 11, 0, false, 10, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakeMacroStore fresh;
    MacroRecord once = Timed(kScheduleOnce);
    const CivilDate date = CivilDateFromDays(static_cast<double>(At(c.day_offset, 0, 0) / kMsPerDay));
    once.SetYear(static_cast<uint16_t>(date.year));
    once.SetMonth(static_cast<uint8_t>(date.month));
    once.SetDay(static_cast<uint8_t>(date.day));
    once.SetHour(static_cast<uint8_t>(c.hour12));
    once.SetMinute(static_cast<uint8_t>(c.minute));
    once.SetPm(c.pm);
    fresh.Add(once);
    RecordingStarter rec;
    rec.clock = &clock;
    clock.local_ms = At(0, c.start_h, c.start_m);
    Scheduler s(clock, fresh, fresh.block(), rec, clock.Reading());
    s.CheckAndSetTime();
    for (int64_t t = clock.local_ms + 60000; t <= At(2, 23, 0); t += 60000) {
      clock.local_ms = t;
      s.CheckOutTimerMacros();
    }
    std::vector<std::string> got;
    for (const auto& st : rec.starts) got.push_back(st.second);
    EXPECT_EQ(got, c.expected);
  }
}

// ---- crossing midnight -------------------------------------------------------

TEST_F(SchedulerTest, MidnightTickJudgesEachDayByItsOwnFlags) {
  struct Case {
    const char* name;
    MacroRecord record;
    int64_t before, after;  // two ticks around midnight
    bool runs;
  };
  const std::vector<Case> cases = {
      {"Tuesday only at 00:00", Daily(12, 0, false, {1}), At(0, 23, 59, 55), At(1, 0, 0, 5), true},
      // Monday's weekday belongs to the tick before midnight, not to
      // Tuesday's midnight.
      {"Monday only at 00:00", Daily(12, 0, false, {0}), At(0, 23, 59, 55), At(1, 0, 0, 5), false},
      // A tick held back by a long playback spans Monday 23:59.
      {"Monday only at 23:59", Daily(11, 59, true, {0}), At(0, 23, 58, 30), At(1, 0, 0, 30), true},
      {"Tuesday only at 23:59", Daily(11, 59, true, {1}), At(0, 23, 58, 30), At(1, 0, 0, 30), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakeMacroStore fresh;
    fresh.Add(c.record);
    RecordingStarter rec;
    rec.clock = &clock;
    clock.local_ms = c.before;
    Scheduler s(clock, fresh, fresh.block(), rec, clock.Reading());
    s.CheckAndSetTime();
    clock.local_ms = c.after;
    s.CheckOutTimerMacros();
    EXPECT_EQ(rec.starts.size(), c.runs ? 1u : 0u);
  }
}

// ---- every N minutes ---------------------------------------------------------------

TEST_F(SchedulerTest, EveryFifteenMinutesCountsFromTheBuild) {
  MacroRecord every = Timed(kScheduleEveryMinutes);
  every.SetInterval(15);
  store.Add(every);
  StartAt(At(0, 10, 7, 30));
  Walk(At(0, 10, 7, 40), At(0, 11, 7, 35), 10);
  EXPECT_EQ(Times(), std::vector<std::string>({"d0 10:22:30", "d0 10:37:30", "d0 10:52:30", "d0 11:07:30"}));
}

TEST_F(SchedulerTest, RebuildRestartsTheMarks) {
  MacroRecord every = Timed(kScheduleEveryMinutes);
  every.SetInterval(10);
  store.Add(every);
  StartAt(At(0, 10, 0));
  Walk(At(0, 10, 0, 10), At(0, 10, 15), 10);  // runs at 10:10
  clock.local_ms = At(0, 10, 15, 5);
  scheduler->CheckAndSetTime();  // a macro was changed
  Walk(At(0, 10, 15, 10), At(0, 10, 36), 10);
  EXPECT_EQ(Times(), std::vector<std::string>({"d0 10:10:00", "d0 10:25:10", "d0 10:35:10"}));
}

TEST_F(SchedulerTest, GapLongerThanAnIntervalRunsOnceThenOnTheRegularMarks) {
  MacroRecord every = Timed(kScheduleEveryMinutes);
  every.SetInterval(15);
  store.Add(every);
  StartAt(At(0, 10, 0));
  Walk(At(0, 10, 0, 10), At(0, 10, 20), 10);  // 10:15
  // Suspended from 10:20 to 11:20: four marks missed.
  Walk(At(0, 11, 20), At(0, 12, 1), 10);
  EXPECT_EQ(Times(), std::vector<std::string>({"d0 10:15:00", "d0 11:20:00", "d0 11:30:00", "d0 11:45:00",
                                               "d0 12:00:00"}));
}

TEST_F(SchedulerTest, GapOverMidnightDoesNotBurst) {
  MacroRecord every = Timed(kScheduleEveryMinutes);
  every.SetInterval(5);
  store.Add(every);
  StartAt(At(0, 23, 0));
  Walk(At(0, 23, 0, 10), At(0, 23, 6), 10);  // 23:05
  // Suspended until 00:33 the next day, then ticks every 10 s for 7 minutes.
  Walk(At(1, 0, 33), At(1, 0, 40), 10);
  EXPECT_EQ(Times(), std::vector<std::string>({"d0 23:05:00", "d1 00:33:00", "d1 00:35:00", "d1 00:40:00"}));
}

TEST_F(SchedulerTest, ClockSetBackBeforeTheAnchorCountsFromThen) {
  MacroRecord every = Timed(kScheduleEveryMinutes);
  every.SetInterval(10);
  store.Add(every);
  StartAt(At(0, 10, 0));
  Walk(At(0, 10, 0, 10), At(0, 10, 12), 10);  // 10:10
  Walk(At(0, 9, 0), At(0, 9, 21), 10);        // the user set the clock back an hour
  EXPECT_EQ(Times(), std::vector<std::string>({"d0 10:10:00", "d0 09:10:00", "d0 09:20:00"}));
}

// ---- daylight-saving changes ---------------------------------------------------

TEST_F(SchedulerTest, EndOfDaylightSavingDoesNotRunADailyMacroTwice) {
  store.Add(EveryDay(2, 30, false));
  store.Add(EveryDay(2, 45, false));
  clock.offset_ms = 2 * kMsPerHour;  // summer time
  StartAt(At(0, 1, 0));
  Walk(At(0, 1, 0, 10), At(0, 2, 59, 50), 10);
  // At 03:00 local the clock goes back to 02:00; universal time goes on.
  clock.offset_ms = 1 * kMsPerHour;
  Walk(At(0, 2, 0), At(0, 4, 0), 10);
  EXPECT_EQ(Times(), std::vector<std::string>({"d0 02:30:00", "d0 02:45:00"}));
}

TEST_F(SchedulerTest, StartOfDaylightSavingRunsTheSkippedMomentOnce) {
  store.Add(EveryDay(2, 30, false));
  clock.offset_ms = 1 * kMsPerHour;
  StartAt(At(0, 1, 0));
  Walk(At(0, 1, 0, 10), At(0, 1, 59, 50), 10);
  clock.offset_ms = 2 * kMsPerHour;  // 02:00 becomes 03:00
  Walk(At(0, 3, 0), At(0, 4, 0), 10);
  EXPECT_EQ(Times(), std::vector<std::string>({"d0 03:00:00"}));
}

TEST_F(SchedulerTest, EveryNMinutesKeepsItsPaceThroughADaylightSavingChange) {
  MacroRecord every = Timed(kScheduleEveryMinutes);
  every.SetInterval(20);
  store.Add(every);
  clock.offset_ms = 2 * kMsPerHour;
  StartAt(At(0, 2, 20));
  Walk(At(0, 2, 20, 10), At(0, 2, 59, 50), 10);  // 02:40
  clock.offset_ms = 1 * kMsPerHour;
  Walk(At(0, 2, 0), At(0, 2, 45), 10);  // 02:00 (= 03:00 old), 02:20, 02:40
  EXPECT_EQ(Times(), std::vector<std::string>({"d0 02:40:00", "d0 02:00:00", "d0 02:20:00", "d0 02:40:00"}));
}

TEST_F(SchedulerTest, ClockSetBackByTheUserRunsTheRepeatedMomentsAgain) {
  // Universal time goes back too: taken as the user's choice.
  store.Add(EveryDay(2, 30, false));
  StartAt(At(0, 2, 0));
  Walk(At(0, 2, 0, 10), At(0, 2, 59, 50), 10);
  Walk(At(0, 2, 0), At(0, 3, 0), 10);
  EXPECT_EQ(Times(), std::vector<std::string>({"d0 02:30:00", "d0 02:30:00"}));
}

// ---- the table, the tick and the start-up macros ----------------------------------

TEST_F(SchedulerTest, TableHoldsActiveTimedMacrosOfKindsOneToSix) {
  store.Add(EveryDay(9, 0, false));                  // 1: in
  MacroRecord inactive = EveryDay(9, 0, false);
  inactive.SetActive(false);
  store.Add(inactive);                               // 2: inactive
  store.Add(Timed(kScheduleAtStartup));              // 3: start-up
  MacroRecord hot = EveryDay(9, 0, false);
  hot.SetCode(144);
  store.Add(hot);                                    // 4: hot key
  store.Add(Timed(kScheduleHourly));                 // 5: in
  store.Add(Timed(7));                               // 6: unknown kind
  store.Add(Timed(kScheduleEveryMinutes));           // 7: unreadable
  store.unreadable = {7};
  StartAt(At(0, 8, 0));
  std::vector<int> numbers;
  for (const TimerEntry& e : scheduler->table()) numbers.push_back(e.macro);
  EXPECT_EQ(numbers, std::vector<int>({1, 5}));
}

TEST_F(SchedulerTest, EmptyTableStopsTheTickTimer) {
  store.Add(Timed(kScheduleAtStartup));
  StartAt(At(0, 8, 0));
  EXPECT_FALSE(scheduler->CheckAndSetTime());
  store.Add(EveryDay(9, 0, false));
  EXPECT_TRUE(scheduler->CheckAndSetTime());
}

TEST_F(SchedulerTest, TickArrivingDuringATimedPlaybackReturnsAtOnce) {
  store.Add(EveryDay(9, 0, false));
  store.Add(EveryDay(9, 0, false));
  StartAt(At(0, 8, 59, 55));
  int nested = 0;
  starter.on_start = [&](int) {
    // The playing macro lets the next timer message through.
    ++nested;
    EXPECT_TRUE(scheduler->busy());
    TickAt(At(0, 9, 0, 15));
  };
  TickAt(At(0, 9, 0, 5));
  EXPECT_EQ(nested, 2);
  EXPECT_EQ(starter.starts.size(), 2u);
  EXPECT_FALSE(scheduler->busy());
  TickAt(At(0, 9, 0, 25));
  EXPECT_EQ(starter.starts.size(), 2u);
}

TEST_F(SchedulerTest, MacroThatRebuildsTheTableEndsTheTick) {
  store.Add(EveryDay(9, 0, false));
  store.Add(EveryDay(9, 0, false));
  StartAt(At(0, 8, 59, 55));
  starter.on_start = [&](int) { scheduler->CheckAndSetTime(); };
  TickAt(At(0, 9, 0, 5));
  TickAt(At(0, 9, 0, 15));
  // The second entry's moment lay in the tick that was cut short; it is
  // not run twice for the first either.
  EXPECT_EQ(starter.starts.size(), 1u);
}

TEST_F(SchedulerTest, StartUpMacrosRunInTableOrderOnlyIfActive) {
  store.Add(Timed(kScheduleAtStartup));  // 1
  store.Add(EveryDay(9, 0, false));      // 2: daily
  MacroRecord off = Timed(kScheduleAtStartup);
  off.SetActive(false);
  store.Add(off);                        // 3: inactive
  store.Add(Timed(kScheduleAtStartup));  // 4
  StartAt(At(0, 8, 0));
  scheduler->DoStartUpMacros();
  std::vector<int> numbers;
  for (const auto& s : starter.starts) numbers.push_back(s.first);
  EXPECT_EQ(numbers, std::vector<int>({1, 4}));
}

// ---- starting a timed macro ------------------------------------------------------------

struct StarterRig {
  fake::PlaybackRig rig;
  fake::FakeMacroStore store;
  Settings settings;
  TimedMacroStarter starter{store, rig.windows, rig.desk.sound, rig.player, rig.state, settings};
};

TEST(TimedMacroStarterTest, WindowAndProgramMacrosNeedTheirWindow) {
  struct Case {
    const char* name;
    int16_t scope;
    std::string scope_text;
    bool window_open;
    bool plays;
  };
  const std::vector<Case> cases = {
      {"global", kScopeGlobal, "", false, true},
      {"window open", kScopeWindow, "Report", true, true},
      {"window missing", kScopeWindow, "Report", false, false},
      {"program running", kScopeProgram, "NOTEPAD", true, true},
      {"program missing", kScopeProgram, "NOTEPAD", false, false},
      {"popup menu", kScopePopupMenu, "", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StarterRig r;
    WindowHandle other = r.rig.desk.AddWindowInFront("Somewhere else", 7);
    r.rig.desk.SetForegroundDirect(other);
    WindowHandle report = 0;
    if (c.window_open) {
      report = r.rig.desk.AddWindow("Monthly Report - Editor", 9);
      r.rig.desk.AddProcess(9, "NOTEPAD.EXE");
    }
    MacroRecord rec = Timed(kScheduleDaily);
    rec.SetScope(c.scope);
    rec.SetScopeText(c.scope_text);
    rec.SetText("hi");
    const int n = r.store.Add(rec);
    r.starter.StartTimedMacro(n);
    EXPECT_EQ(r.rig.Typed(), c.plays ? "hi" : "");
    EXPECT_EQ(r.rig.state.CurrentMacro, c.plays ? n : 0);
    if (c.plays && c.window_open) {
      EXPECT_EQ(r.rig.desk.Foreground(), report);
    }
  }
}

TEST(TimedMacroStarterTest, AlarmSoundsBeforeTheMacroOnlyWhenChosen) {
  for (bool use : {false, true}) {
    for (bool wait : {false, true}) {
      SCOPED_TRACE(std::to_string(use) + std::to_string(wait));
      StarterRig r;
      r.settings.use_wave_file = use;
      r.settings.wave_file_wait = wait;
      r.settings.wave_file = "C:\\ALARM.WAV";
      MacroRecord rec = Timed(kScheduleDaily);
      rec.SetText("x");
      r.store.Add(rec);
      size_t sounds_before_first_key = 99;
      r.rig.desk.on_event = [&](const fake::InputEvent&) {
        if (sounds_before_first_key == 99) sounds_before_first_key = r.rig.desk.sound.played.size();
      };
      r.starter.StartTimedMacro(1);
      EXPECT_EQ(sounds_before_first_key, use ? 1u : 0u);
      EXPECT_EQ(r.rig.desk.sound.played,
                use ? std::vector<std::string>{std::string(wait ? "wait" : "async") + " C:\\ALARM.WAV"}
                    : std::vector<std::string>{});
      EXPECT_EQ(r.rig.Typed(), "x");
    }
  }
}

TEST(TimedMacroStarterTest, TimedPlaybackLeavesCapsLockAlone) {
  StarterRig r;
  r.rig.state.CapsLockWasOn = true;  // left from an earlier hot key
  r.rig.state.AbortRequested = true;
  MacroRecord rec = Timed(kScheduleDaily);
  rec.SetText("ab");
  r.store.Add(rec);
  r.starter.StartTimedMacro(1);
  EXPECT_EQ(r.rig.Keys().find("Caps"), std::string::npos) << r.rig.Keys();
  EXPECT_EQ(r.rig.Typed(), "ab");
}

TEST(TimedMacroStarterTest, UnreadableRecordIsSkipped) {
  StarterRig r;
  r.store.Add(Timed(kScheduleDaily));
  r.store.unreadable = {1};
  r.starter.StartTimedMacro(1);
  r.starter.StartTimedMacro(2);  // beyond the file
  EXPECT_EQ(r.rig.Keys(), "");
}

}  // namespace
}  // namespace qlx

namespace qlx {
namespace {

TEST(ScreenSaverTest, SwitchedOffOnlyWhenChosenAndNeeded) {
  struct Case {
    bool option, only_if_timed, has_timed, active, off;
  };
  const std::vector<Case> cases = {
      {true, true, true, true, true},    {true, true, false, true, false}, {true, false, false, true, true},
      {false, false, true, true, false}, {true, false, true, false, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ShouldSwitchOffScreenSaver(c.option, c.only_if_timed, c.has_timed, c.active), c.off);
}

TEST(ScreenSaverTest, ActiveTimedMacroIsLookedForInTheTables) {
  fake::FakeMacroStore store;
  MacroRecord hot;
  hot.SetCode(144);
  hot.SetActive(true);
  store.Add(hot);
  MacroRecord timed;
  timed.SetCode(kTimedCode);
  store.Add(timed);  // inactive
  EXPECT_FALSE(HasActiveTimedMacro(store.block()));
  timed.SetActive(true);
  store.Add(timed);
  EXPECT_TRUE(HasActiveTimedMacro(store.block()));
}

}  // namespace
}  // namespace qlx
