#pragma once
// Timed macros: the timer table built from the macro file, the due test of
// each schedule kind against the previous tick, the tick itself and the
// start-up macros. "Now" comes from the clock seam, so a test can walk a
// simulated day tick by tick.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "activation/record_source.h"
#include "platform/clock.h"
#include "store/macro_record.h"
#include "store/shared_blocks.h"

namespace qlx {

class Player;
class WindowCommands;
class ISound;
struct EngineState;
struct Settings;

inline constexpr int64_t kMsPerMinute = 60000;
inline constexpr int64_t kMsPerHour = 3600000;
inline constexpr int64_t kMsPerDay = 86400000;
inline constexpr uint16_t kMaxIntervalMinutes = 720;

// A moment as whole milliseconds since 30 December 1899 (the stored date
// value, rounded to the millisecond). Whole numbers make the due tests exact.
int64_t MomentMs(double days);

// Time of day of a 12-hour schedule: with PM hour 12 stays 12 and others
// add 12; without PM hour 12 becomes 0.
int Hour24(int hour12, bool pm);

// Days of a month of the Gregorian calendar; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);

// One timed macro of the table.
struct TimerEntry {
  int macro = 0;
  uint16_t kind = 0;
  std::array<bool, 7> days{};  // Monday first, as the record keeps them
  uint8_t month = 0;
  uint8_t day = 0;
  uint8_t minute_past_hour = 0;
  uint16_t interval = 0;  // minutes
  uint8_t weekday = 0;    // 1 = Sunday
  uint16_t year = 0;
  int64_t time_of_day_ms = 0;
  // Every-N-minutes: the last mark reached, in universal time. Elapsed
  // time, not the wall clock, decides these entries, so a daylight-saving
  // change neither stalls nor bunches them.
  int64_t anchor_utc_ms = 0;
};

// The entry for one record (kind 1..6 of an active timed macro).
TimerEntry MakeTimerEntry(int macro, const MacroRecord& record, int64_t built_utc_ms);

// The span of one tick: every scheduled moment in (last, now] is due.
struct TickSpan {
  int64_t last_local_ms = 0;  // the previous tick (or the program's start)
  int64_t now_local_ms = 0;
  int64_t now_utc_ms = 0;
};

// The due test of one entry. An every-N-minutes entry that is due moves
// its anchor to the last mark reached, so after a gap of several intervals
// it runs once and then on its regular marks again.
bool IsDue(TimerEntry& entry, const TickSpan& span);

// What starting a timed macro does (the scheduler decides only when).
class ITimedMacroStarter {
 public:
  virtual ~ITimedMacroStarter() = default;
  virtual void StartTimedMacro(int n) = 0;
};

class Scheduler {
 public:
  // `start` is the program's start: the first tick looks back to it and no
  // further, so runs missed while the program was not running are not
  // made up.
  Scheduler(const IClock& clock, IRecordSource& records, ActivationBlock block,
            ITimedMacroStarter& starter, ClockReading start);

  // Rebuilds the timer table from the macro file; true when it is not
  // empty (the tick timer runs exactly then). Every-N-minutes entries count
  // their marks from now.
  bool CheckAndSetTime();

  // The tick. A tick that arrives while one is running (a timed macro
  // playing lets timer messages through) returns at once.
  void CheckOutTimerMacros();

  // Every active timed macro of kind "at start-up", in table order.
  void DoStartUpMacros();

  const std::vector<TimerEntry>& table() const { return table_; }
  bool busy() const { return busy_; }
  // The previous tick as the calendar kinds see it.
  int64_t last_check_local_ms() const { return last_local_ms_; }

 private:
  const IClock& clock_;
  IRecordSource& records_;
  ActivationBlock block_;
  ITimedMacroStarter& starter_;
  std::vector<TimerEntry> table_;
  uint64_t generation_ = 0;
  bool busy_ = false;
  // The latest local time the ticks have reached. When the wall clock is
  // set back by a zone change (the end of daylight-saving time) while the
  // universal time goes on, it stays where it was until the clock passes
  // it again, so no calendar moment of the repeated hour runs twice (an
  // hourly macro skips that hour's mark rather than run it twice).
  // A clock the user sets back moves it back with it.
  int64_t last_local_ms_ = 0;
  int64_t last_utc_ms_ = 0;
};

// True when the file has an active timed macro.
bool HasActiveTimedMacro(const ActivationBlock& block);

// "Disable Screen Saver": whether to switch the system's screen saver off
// now. With `only_if_timed` only when the file has an active timed macro;
// the saver is never switched back on.
bool ShouldSwitchOffScreenSaver(bool option_on, bool only_if_timed, bool has_active_timed, bool saver_active);

// Starts a timed macro: a window macro needs its window, a program macro
// its program (each is brought to the front, else the macro is skipped);
// the alarm sound plays first when it is chosen; then the text plays as a
// scheduled playback.
class TimedMacroStarter : public ITimedMacroStarter {
 public:
  TimedMacroStarter(IRecordSource& records, WindowCommands& windows, ISound& sound, Player& player,
                    EngineState& engine, const Settings& settings)
      : records_(records),
        windows_(windows),
        sound_(sound),
        player_(player),
        engine_(engine),
        settings_(settings) {}

  void StartTimedMacro(int n) override;

 private:
  IRecordSource& records_;
  WindowCommands& windows_;
  ISound& sound_;
  Player& player_;
  EngineState& engine_;
  const Settings& settings_;
};

}  // namespace qlx
