#include "platform/win32/clock_win32.h"

#include <windows.h>

namespace qlx {

double DaysSince1899(int year, int month, int day, int hour, int minute, int second,
                     int millisecond) {
  // Days from the civil calendar (proleptic Gregorian), counted from
  // 1 March of year 0, then moved to the 1899 origin.
  const int y = month <= 2 ? year - 1 : year;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int mp = (month + 9) % 12;
  const int doy = (153 * mp + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const long days_from_epoch = static_cast<long>(era) * 146097 + doe - 719468;  // to 1970-01-01
  constexpr long k1899To1970 = 25569;
  const double fraction = (hour * 3600.0 + minute * 60.0 + second + millisecond / 1000.0) / 86400.0;
  return static_cast<double>(days_from_epoch + k1899To1970) + fraction;
}

double Win32Clock::Now() const {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return DaysSince1899(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond,
                       t.wMilliseconds);
}

uint32_t Win32Clock::TickCount() const { return ::GetTickCount(); }

ClockReading Win32Clock::Read() const {
  // One universal reading turned into local time with the rules in force
  // at that moment, so both halves describe the same instant.
  SYSTEMTIME utc, local;
  ::GetSystemTime(&utc);
  if (!::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) ::GetLocalTime(&local);
  auto days = [](const SYSTEMTIME& t) {
    return DaysSince1899(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  };
  return {days(local), days(utc)};
}

}  // namespace qlx
