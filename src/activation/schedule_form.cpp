#include "activation/schedule_form.h"

#include <cstdio>

#include "activation/scheduler.h"
#include "engine/date_time.h"

namespace qlx {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A field's whole trimmed text as a decimal number; nothing for anything
// else (signs included: the spin fields never make them).
std::optional<long> FieldNumber(std::string_view text) {
  text = Trim(text);
  if (text.empty() || text.size() > 9) return std::nullopt;
  long n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

int PieceNumber(std::string_view piece) { return static_cast<int>(FieldNumber(piece).value_or(0)); }

std::string_view Piece(std::string_view s, size_t from, size_t count) {
  return from >= s.size() ? std::string_view() : s.substr(from, count);
}

bool IsPm(std::string_view s) {
  return s.size() == 2 && (s[0] == 'P' || s[0] == 'p') && (s[1] == 'M' || s[1] == 'm');
}

std::string TwoDigits(int n) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

void StoreTime(MacroRecord& r, const ScheduleTime& t) {
  r.SetHour(t.hour);
  r.SetMinute(t.minute);
  r.SetPm(t.pm);
}

}  // namespace

std::string ScheduleTimeText(int hour12, int minute, bool pm) {
  return std::to_string(hour12) + ":" + TwoDigits(minute) + (pm ? "PM" : "AM");
}

std::string GetSched(const MacroRecord& r) {
  const std::string t = ScheduleTimeText(r.Hour(), r.Minute(), r.Pm());
  switch (r.ScheduleKind()) {
    case kScheduleAtStartup: return "At Startup";
    case kScheduleOnce: {
      const int m = r.Month();
      const std::string month = m >= 1 && m <= 12 ? std::string(MonthNames[static_cast<size_t>(m - 1)]) : "";
      return "Once at " + t + " on " + std::to_string(r.Day()) + " " + month + " " + std::to_string(r.Year());
    }
    case kScheduleHourly:
      return "Hourly at " + std::to_string(r.MinutePastHour()) + " minutes past the hour";
    case kScheduleDaily: {
      std::string s = "Daily at " + t;
      // Shown Sunday first; the record keeps Monday first.
      for (int w = 0; w < 7; ++w)
        if (r.DayFlag((w + 6) % 7)) s += "," + std::string(DayAbbrevs[static_cast<size_t>(w)]);
      return s;
    }
    case kScheduleWeekly: {
      const int w = r.Weekday();
      const std::string day = w >= 1 && w <= 7 ? std::string(DayNames[static_cast<size_t>(w - 1)]) : "";
      return "Weekly at " + t + " on " + day;
    }
    case kScheduleMonthly:
      return "Monthly at " + t + " on day " + std::to_string(r.Day()) + " of each month";
    case kScheduleEveryMinutes: return "every " + std::to_string(r.Interval()) + " minutes";
    default: return {};
  }
}

std::string TimeFieldText(const ScheduleTime& t) {
  return TwoDigits(t.hour) + ":" + TwoDigits(t.minute) + (t.pm ? "PM" : "AM");
}

ScheduleTime ParseTimeField(std::string_view text) {
  text = Trim(text);
  const size_t colon = text.find(':');
  int hour, minute;
  bool pm;
  if (colon != std::string_view::npos) {
    hour = PieceNumber(text.substr(0, colon));
    minute = PieceNumber(Piece(text, colon + 1, 2));
    pm = IsPm(Piece(text, colon + 3, 2));
  } else {
    hour = PieceNumber(Piece(text, 0, 2));
    minute = PieceNumber(Piece(text, 2, 2));
    pm = IsPm(Piece(text, 4, 2));
  }
  if (hour > 23) hour = 0;
  if (hour > 12) {
    hour -= 12;
    pm = true;
  }
  if (hour == 0) hour = 12;  // 12 without PM is midnight, 12 with PM noon
  if (minute >= 60) minute = 0;
  return {static_cast<uint8_t>(hour), static_cast<uint8_t>(minute), pm};
}

ScheduleForm FormFromRecord(const MacroRecord& r) {
  ScheduleForm f;
  f.kind = r.ScheduleKind() <= kScheduleEveryMinutes ? r.ScheduleKind() : kScheduleDaily;
  const std::string time = TimeFieldText({r.Hour(), r.Minute(), r.Pm()});
  f.once_time = f.daily_time = f.weekly_time = f.monthly_time = time;
  f.once_month = r.Month() >= 1 && r.Month() <= 12 ? r.Month() - 1 : 0;
  f.once_day = std::to_string(r.Day());
  f.once_year = std::to_string(r.Year());
  f.hourly_minutes = std::to_string(r.MinutePastHour());
  for (int d = 0; d < 7; ++d) f.days[static_cast<size_t>(d)] = r.DayFlag(d);
  f.weekly_weekday = r.Weekday() >= 1 && r.Weekday() <= 7 ? r.Weekday() - 1 : 0;
  f.monthly_day = std::to_string(r.Day());
  f.interval = std::to_string(r.Interval());
  return f;
}

std::optional<ScheduleRefusal> ApplyScheduleForm(const ScheduleForm& f, const CivilDate& today,
                                                 MacroRecord& r) {
  MacroRecord out = r;
  out.SetScheduleKind(f.kind);
  for (int d = 0; d < 7; ++d) out.SetDayFlag(d, f.days[static_cast<size_t>(d)]);
  switch (f.kind) {
    case kScheduleOnce: {
      const int month = f.once_month >= 0 && f.once_month < 12 ? f.once_month + 1 : 1;
      // The year field holds four digits; anything else is no year.
      long year = FieldNumber(f.once_year).value_or(0);
      if (year > 9999) year = 0;
      const auto day = FieldNumber(f.once_day);
      if (!day || *day == 0 || *day > DaysInMonth(static_cast<int>(year), month))
        return ScheduleRefusal{kInvalidDayOfMonthText, ScheduleField::OnceDay};
      if (year != today.year) {
        if (year < today.year) return ScheduleRefusal{kDateElapsedText, ScheduleField::OnceYear};
      } else if (month != today.month) {
        if (month < today.month) return ScheduleRefusal{kDateElapsedText, ScheduleField::OnceMonth};
      } else if (*day < today.day) {
        return ScheduleRefusal{kDateElapsedText, ScheduleField::OnceDay};
      }
      StoreTime(out, ParseTimeField(f.once_time));
      out.SetMonth(static_cast<uint8_t>(month));
      out.SetDay(static_cast<uint8_t>(*day));
      out.SetYear(static_cast<uint16_t>(year));
      break;
    }
    case kScheduleHourly: {
      const auto minutes = FieldNumber(f.hourly_minutes);
      if (!minutes || *minutes >= 60) return ScheduleRefusal{kInvalidMinutesText, ScheduleField::HourlyMinutes};
      out.SetMinutePastHour(static_cast<uint8_t>(*minutes));
      break;
    }
    case kScheduleDaily: StoreTime(out, ParseTimeField(f.daily_time)); break;
    case kScheduleWeekly:
      StoreTime(out, ParseTimeField(f.weekly_time));
      out.SetWeekday(static_cast<uint8_t>(f.weekly_weekday >= 0 && f.weekly_weekday < 7 ? f.weekly_weekday + 1 : 1));
      break;
    case kScheduleMonthly: {
      const auto day = FieldNumber(f.monthly_day);
      if (!day || *day == 0 || *day >= 32) return ScheduleRefusal{kInvalidDayOfMonthText, ScheduleField::MonthlyDay};
      StoreTime(out, ParseTimeField(f.monthly_time));
      out.SetDay(static_cast<uint8_t>(*day));
      break;
    }
    case kScheduleEveryMinutes: {
      const auto minutes = FieldNumber(f.interval);
      if (!minutes || *minutes == 0 || *minutes > kMaxIntervalMinutes)
        return ScheduleRefusal{kInvalidIntervalText, ScheduleField::Interval};
      out.SetInterval(static_cast<uint16_t>(*minutes));
      break;
    }
    default: break;
  }
  r = out;
  return std::nullopt;
}

}  // namespace qlx
