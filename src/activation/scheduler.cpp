#include "activation/scheduler.h"

#include <cmath>

#include "engine/engine_state.h"
#include "engine/player.h"
#include "engine/window_commands.h"
#include "platform/sound.h"
#include "store/date_value.h"
#include "store/settings.h"

namespace qlx {
namespace {

// Far beyond any date the program meets; keeps the conversion in range.
constexpr double kDayLimit = 3.0e6;
// A gap longer than a year of ticks is looked through no further: one run
// stands for all the moments it held.
constexpr int kMaxDaysBack = 400;

int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// 1 = Sunday .. 7 = Saturday of a day number (day 0, 30 December 1899, was
// a Saturday).
int WeekdayOf(int64_t day) { return static_cast<int>(((day % 7) + 7 + 6) % 7) + 1; }

int DayOfMonthOf(int64_t day) { return CivilDateFromDays(static_cast<double>(day)).day; }

// Day numbers use the same origin as the stored date value.
int64_t DayNumber(int year, int month, int day) {
  return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
         kDateValueEpochOffset;
}

bool DayMatches(const TimerEntry& e, int64_t day) {
  switch (e.kind) {
    case kScheduleDaily: {
      // Record order is Monday first; weekday 1 is Sunday.
      const int w = WeekdayOf(day);
      return e.days[static_cast<size_t>((w + 5) % 7)];
    }
    case kScheduleWeekly: return WeekdayOf(day) == e.weekday;
    case kScheduleMonthly: return DayOfMonthOf(day) == e.day;
    default: return false;
  }
}

// Daily, weekly and monthly: the latest scheduled moment not after now
// must lie after the previous tick. Each day of the span is judged by its
// own weekday or day of month.
bool CalendarDue(const TimerEntry& e, const TickSpan& s) {
  const int64_t today = FloorDiv(s.now_local_ms, kMsPerDay);
  for (int back = 0; back <= kMaxDaysBack; ++back) {
    const int64_t day = today - back;
    const int64_t moment = day * kMsPerDay + e.time_of_day_ms;
    if (moment <= s.last_local_ms) return false;
    if (moment <= s.now_local_ms && DayMatches(e, day)) return true;
  }
  return false;
}

bool OnceDue(const TimerEntry& e, const TickSpan& s) {
  if (e.month < 1 || e.month > 12 || e.day < 1 || e.day > DaysInMonth(e.year, e.month)) return false;
  const int64_t moment = DayNumber(e.year, e.month, e.day) * kMsPerDay + e.time_of_day_ms;
  return s.last_local_ms < moment && moment <= s.now_local_ms;
}

bool HourlyDue(const TimerEntry& e, const TickSpan& s) {
  if (e.minute_past_hour > 59) return false;
  const int64_t past = e.minute_past_hour * kMsPerMinute;
  const int64_t latest = FloorDiv(s.now_local_ms - past, kMsPerHour) * kMsPerHour + past;
  return latest > s.last_local_ms;
}

bool EveryMinutesDue(TimerEntry& e, const TickSpan& s) {
  if (e.interval == 0) return false;
  const int64_t every = e.interval * kMsPerMinute;
  if (s.now_utc_ms < e.anchor_utc_ms) {
    // The clock was set back before the last mark: count from now.
    e.anchor_utc_ms = s.now_utc_ms;
    return false;
  }
  const int64_t marks = (s.now_utc_ms - e.anchor_utc_ms) / every;
  if (marks < 1) return false;
  e.anchor_utc_ms += marks * every;
  return true;
}

}  // namespace

int64_t MomentMs(double days) {
  if (!std::isfinite(days)) return 0;
  if (days > kDayLimit) days = kDayLimit;
  if (days < -kDayLimit) days = -kDayLimit;
  return static_cast<int64_t>(std::llround(days * static_cast<double>(kMsPerDay)));
}

int Hour24(int hour12, bool pm) {
  if (pm) return hour12 == 12 ? 12 : hour12 + 12;
  return hour12 == 12 ? 0 : hour12;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month != 2) return kDays[month - 1];
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return leap ? 29 : 28;
}

TimerEntry MakeTimerEntry(int macro, const MacroRecord& r, int64_t built_utc_ms) {
  TimerEntry e;
  e.macro = macro;
  e.kind = r.ScheduleKind();
  for (int d = 0; d < 7; ++d) e.days[static_cast<size_t>(d)] = r.DayFlag(d);
  e.month = r.Month();
  e.day = r.Day();
  e.minute_past_hour = r.MinutePastHour();
  e.interval = r.Interval();
  e.weekday = r.Weekday();
  e.year = r.Year();
  const int64_t tod = Hour24(r.Hour(), r.Pm()) * kMsPerHour + r.Minute() * kMsPerMinute;
  // A damaged hour or minute beyond the day never comes round.
  e.time_of_day_ms = tod < kMsPerDay ? tod : -1;
  e.anchor_utc_ms = built_utc_ms;
  return e;
}

bool IsDue(TimerEntry& e, const TickSpan& s) {
  if (e.kind == kScheduleEveryMinutes) return EveryMinutesDue(e, s);
  if (s.now_local_ms <= s.last_local_ms || e.time_of_day_ms < 0) return false;
  switch (e.kind) {
    case kScheduleOnce: return OnceDue(e, s);
    case kScheduleHourly: return HourlyDue(e, s);
    case kScheduleDaily:
    case kScheduleWeekly:
    case kScheduleMonthly: return CalendarDue(e, s);
    default: return false;
  }
}

Scheduler::Scheduler(const IClock& clock, IRecordSource& records, ActivationBlock block,
                     ITimedMacroStarter& starter, ClockReading start)
    : clock_(clock),
      records_(records),
      block_(block),
      starter_(starter),
      last_local_ms_(MomentMs(start.local)),
      last_utc_ms_(MomentMs(start.utc)) {}

bool Scheduler::CheckAndSetTime() {
  ++generation_;
  table_.clear();
  const int64_t built = MomentMs(clock_.Read().utc);
  const int count = block_.ClampedCount();
  MacroRecord record;
  for (int n = 1; n <= count; ++n) {
    if (!block_.Active(n) || block_.Code(n) != kTimedCode) continue;
    if (!records_.ReadRecord(n, record)) continue;
    const uint16_t kind = record.ScheduleKind();
    if (kind < kScheduleOnce || kind > kScheduleEveryMinutes) continue;
    table_.push_back(MakeTimerEntry(n, record, built));
  }
  return !table_.empty();
}

void Scheduler::CheckOutTimerMacros() {
  if (busy_) return;
  FlagScope busy(busy_);
  const ClockReading now = clock_.Read();
  const TickSpan span{last_local_ms_, MomentMs(now.local), MomentMs(now.utc)};
  const uint64_t generation = generation_;
  for (size_t i = 0; i < table_.size(); ++i) {
    if (!IsDue(table_[i], span)) continue;
    starter_.StartTimedMacro(table_[i].macro);
    // The macro may have changed the macro file, and with it the table:
    // the new table's entries wait for the next tick.
    if (generation_ != generation) break;
  }
  // A local clock set back while universal time went on is a zone change:
  // hold on to the time already reached.
  const bool zone_step_back = span.now_local_ms < last_local_ms_ && span.now_utc_ms >= last_utc_ms_;
  if (!zone_step_back) last_local_ms_ = span.now_local_ms;
  last_utc_ms_ = span.now_utc_ms;
}

void Scheduler::DoStartUpMacros() {
  const int count = block_.ClampedCount();
  MacroRecord record;
  for (int n = 1; n <= count; ++n) {
    if (!block_.Active(n) || block_.Code(n) != kTimedCode) continue;
    if (!records_.ReadRecord(n, record) || record.ScheduleKind() != kScheduleAtStartup) continue;
    starter_.StartTimedMacro(n);
  }
}

bool HasActiveTimedMacro(const ActivationBlock& block) {
  const int count = block.ClampedCount();
  for (int n = 1; n <= count; ++n)
    if (block.Active(n) && block.Code(n) == kTimedCode) return true;
  return false;
}

bool ShouldSwitchOffScreenSaver(bool option_on, bool only_if_timed, bool has_active_timed, bool saver_active) {
  if (!option_on || !saver_active) return false;
  return !only_if_timed || has_active_timed;
}

void TimedMacroStarter::StartTimedMacro(int n) {
  MacroRecord record;
  if (!records_.ReadRecord(n, record)) return;
  switch (record.Scope()) {
    case kScopeGlobal: break;
    case kScopeWindow:
      if (!windows_.ActivateIt(record.ScopeText())) return;
      break;
    case kScopeProgram:
      if (!windows_.ActivateProg(record.ScopeText())) return;
      break;
    default:
      // A popup menu's text area holds its menu and a system macro has no
      // text: neither is anything to type.
      return;
  }
  const std::string text = record.Text();
  if (settings_.use_wave_file) sound_.PlayWave(settings_.wave_file, settings_.wave_file_wait);
  engine_.CurrentMacro = n;
  player_.StartPlayback(text, PlaybackEntry::Scheduled);
}

}  // namespace qlx
