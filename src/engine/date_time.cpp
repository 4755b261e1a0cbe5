#include "engine/date_time.h"

#include <cmath>
#include <cstdint>

#include "engine/macro_language.h"

namespace qlx {
namespace {

constexpr int64_t kMsPerDay = 86400000;
// 30 December 1899 is day 0; 1 January 1970 is day 25569.
constexpr int64_t k1899To1970 = 25569;

int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Civil date of a day count from 1 January 1970 (proleptic Gregorian).
void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = FloorDiv(z, 146097);
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

std::string Padded(int value, size_t width) {
  std::string s = std::to_string(value);
  if (s.size() < width) s.insert(0, width - s.size(), '0');
  return s;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool At(std::string_view name, size_t i, std::string_view field) {
  return name.substr(i, field.size()) == field;
}

constexpr int kFirstDayOfWeekFormat = 48;
constexpr int kFirst12HourFormat = 12;

}  // namespace

CivilMoment SplitMoment(double days) {
  CivilMoment m;
  if (!std::isfinite(days)) return m;
  // Far outside any calendar the program meets; clamped so nothing overflows.
  constexpr double kLimit = 3.0e6;
  if (days > kLimit) days = kLimit;
  if (days < -kLimit) days = -kLimit;
  const auto total_ms = static_cast<int64_t>(std::llround(days * static_cast<double>(kMsPerDay)));
  const int64_t day_number = FloorDiv(total_ms, kMsPerDay);
  const int64_t ms_of_day = total_ms - day_number * kMsPerDay;
  CivilFromDays(day_number - k1899To1970, m.year, m.month, m.day);
  const int64_t seconds = ms_of_day / 1000;
  m.hour = static_cast<int>(seconds / 3600);
  m.minute = static_cast<int>(seconds / 60 % 60);
  m.second = static_cast<int>(seconds % 60);
  // Day 0 was a Saturday.
  m.day_of_week = static_cast<int>(((day_number % 7) + 7 + 6) % 7);
  return m;
}

std::string DateText(int format, bool zeros, double days) {
  if (format < 1 || format > static_cast<int>(kDateFormats.size())) return {};
  const CivilMoment m = SplitMoment(days);
  if (format >= kFirstDayOfWeekFormat) {
    const auto dow = static_cast<size_t>(m.day_of_week);
    switch (format - kFirstDayOfWeekFormat) {
      case 0: return std::string(DayAbbrevs[dow]);
      case 1: return Upper(DayAbbrevs[dow]);
      case 2: return std::string(DayNames[dow]);
      default: return Upper(DayNames[dow]);
    }
  }
  const auto month = static_cast<size_t>(m.month - 1);
  const std::string four_digit_year = Padded(m.year, 4);
  const std::string_view name = kDateFormats[static_cast<size_t>(format - 1)];
  std::string out;
  for (size_t i = 0; i < name.size();) {
    // Longer field names first: YYYY before YY, Mmmmm before Mmm, MMM before MM.
    if (At(name, i, "YYYY")) {
      out += Padded(m.year, zeros ? 4 : 0);
      i += 4;
    } else if (At(name, i, "YY")) {
      out += four_digit_year.substr(four_digit_year.size() - 2);
      i += 2;
    } else if (At(name, i, "Mmmmm")) {
      out += MonthNames[month];
      i += 5;
    } else if (At(name, i, "Mmm")) {
      out += MonthAbbrevs[month];
      i += 3;
    } else if (At(name, i, "MMM")) {
      out += Upper(MonthAbbrevs[month]);
      i += 3;
    } else if (At(name, i, "MM")) {
      out += Padded(m.month, zeros ? 2 : 0);
      i += 2;
    } else if (At(name, i, "DD")) {
      out += Padded(m.day, zeros ? 2 : 0);
      i += 2;
    } else {
      out += name[i++];  // a separator: "/", "-", ".", " " or ","
    }
  }
  return out;
}

std::string TimeText(int format, bool zeros, double days) {
  if (format < 1 || format > static_cast<int>(kTimeFormats.size())) return {};
  const CivilMoment m = SplitMoment(days);
  int hour = m.hour;
  if (format >= kFirst12HourFormat) hour = m.hour % 12 == 0 ? 12 : m.hour % 12;
  const bool pm = m.hour >= 12;
  const std::string_view name = kTimeFormats[static_cast<size_t>(format - 1)];
  std::string out;
  for (size_t i = 0; i < name.size();) {
    if (At(name, i, "hh")) {
      out += Padded(hour, zeros ? 2 : 0);
      i += 2;
    } else if (At(name, i, "mm")) {
      out += Padded(m.minute, 2);
      i += 2;
    } else if (At(name, i, "ss")) {
      out += Padded(m.second, 2);
      i += 2;
    } else if (At(name, i, "am")) {
      out += pm ? "pm" : "am";
      i += 2;
    } else if (At(name, i, "AM")) {
      out += pm ? "PM" : "AM";
      i += 2;
    } else if (At(name, i, "a")) {
      out += pm ? 'p' : 'a';
      i += 1;
    } else {
      out += name[i++];  // a separator: ":", ".", "," or " "
    }
  }
  return out;
}

}  // namespace qlx
