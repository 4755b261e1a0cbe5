#pragma once
// The schedule of a timed macro as people read it: the description text of
// the macro list, the time fields of the "Set Schedule" dialog, and the
// checks its "&Update" makes before the record takes the schedule.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/macro_record.h"

namespace qlx {

inline constexpr char kScheduleCaption[] = "Set Schedule";
inline constexpr char kInvalidDayOfMonthText[] = "Invalid day of month specified.";
inline constexpr char kDateElapsedText[] = "Specified date has already elapsed.";
inline constexpr char kInvalidMinutesText[] = "Invalid minutes specified.";
inline constexpr char kInvalidIntervalText[] = "Invalid minutes specified.  Must be between 1 and 720.";

// "3:05PM": the hour as stored, two minute digits, AM or PM.
std::string ScheduleTimeText(int hour12, int minute, bool pm);

// The schedule description of a timed macro ("Daily at 9:00AM,Mon,Fri").
// Empty for a kind the program does not know.
std::string GetSched(const MacroRecord& record);

// A time as the record keeps it: hour 1..12, minute, PM.
struct ScheduleTime {
  uint8_t hour = 12;
  uint8_t minute = 0;
  bool pm = true;
};

// "03:05PM": what the four time fields of the dialog show.
std::string TimeFieldText(const ScheduleTime& t);

// Reads a time field: the hour, ":", two minute digits, then "PM" (any
// case) directly after them for PM; without ":" the first two characters
// are the hour. An hour above 23 becomes 0, an hour 13..23 an afternoon
// hour; minutes of 60 or more become 0. Whatever is not a number reads 0.
// Hour 0 is kept as 12 without PM (midnight), the record's own form.
ScheduleTime ParseTimeField(std::string_view text);

// The fields of the dialog as the user left them (texts untrimmed).
struct ScheduleForm {
  uint16_t kind = kScheduleDaily;
  std::string once_time, daily_time, weekly_time, monthly_time;
  int once_month = 0;  // 0 = January
  std::string once_day, once_year;
  std::string hourly_minutes;
  std::array<bool, 7> days{};  // Monday first, as the record keeps them
  int weekly_weekday = 0;      // 0 = Sunday
  std::string monthly_day;
  std::string interval;
};

// The dialog's fields for a record's schedule.
ScheduleForm FormFromRecord(const MacroRecord& record);

// The field a refusal puts the focus on.
enum class ScheduleField : uint8_t {
  OnceDay,
  OnceMonth,
  OnceYear,
  HourlyMinutes,
  MonthlyDay,
  Interval,
};

struct ScheduleRefusal {
  const char* text;
  ScheduleField focus;
};

// "&Update": checks the chosen kind's fields against today and, when they
// pass, stores the kind, the seven day flags and the chosen kind's fields
// in the record. A refusal leaves the record as it was.
std::optional<ScheduleRefusal> ApplyScheduleForm(const ScheduleForm& form, const CivilDate& today,
                                                 MacroRecord& record);

}  // namespace qlx
