#include "store/macro_record.h"

#include <cmath>
#include <cstring>

namespace qlx {

std::string MacroRecord::Text() const {
  const char* p = reinterpret_cast<const char*>(At(mr::kText));
  // memchr, not strlen: the field need not hold a terminator in a foreign file.
  const void* zero = std::memchr(p, 0, mr::kTextMax);
  size_t len = zero ? static_cast<size_t>(static_cast<const char*>(zero) - p) : mr::kTextMax;
  return std::string(p, len);
}

void MacroRecord::SetText(std::string_view s) {
  size_t len = s.size() < mr::kTextMax ? s.size() : mr::kTextMax;
  uint8_t* p = At(mr::kText);
  std::memcpy(p, s.data(), len);
  std::memset(p + len, 0, mr::kTextBytes - len);
}

bool MacroRecord::TextTerminated() const {
  return std::memchr(At(mr::kText), 0, mr::kTextBytes) != nullptr;
}

void MacroRecord::ZeroReserved() {
  std::memset(At(mr::kReserved98), 0, mr::kReserved98Size);
  std::memset(At(mr::kReserved5143), 0, mr::kReserved5143Size);
}

namespace {
// Stored dates run from year 1 to 9999; anything else is damage.
constexpr double kFirstDay = -693593.0;  // 1 January 0001
constexpr double kLastDay = 2958465.0;   // 31 December 9999
constexpr long kUnixEpochDay = 25569;    // 1 January 1970
}  // namespace

CivilDate CivilDateFromDays(double days) {
  CivilDate out;
  if (!std::isfinite(days) || days < kFirstDay || days > kLastDay + 1.0) return out;
  // The date part is the whole-day count toward zero; negative values keep
  // their time of day as a positive fraction.
  long whole = static_cast<long>(std::trunc(days));
  // Days since 1970-01-01, then the proleptic Gregorian calendar.
  long z = whole - kUnixEpochDay + 719468;
  long era = (z >= 0 ? z : z - 146096) / 146097;
  long doe = z - era * 146097;
  long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long mp = (5 * doy + 2) / 153;
  out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  out.year = static_cast<int>(yoe + era * 400 + (out.month <= 2 ? 1 : 0));
  // Day 0 was a Saturday (7); weekday 1 is Sunday.
  long w = ((whole % 7) + 7 + 6) % 7;
  out.weekday = static_cast<int>(w + 1);
  return out;
}

void SetNewTimedMacroSchedule(MacroRecord& record, const CivilDate& today) {
  record.SetScheduleKind(kScheduleDaily);
  for (int d = 0; d < static_cast<int>(mr::kDayCount); ++d) record.SetDayFlag(d, true);
  record.SetHour(12);
  record.SetMinute(0);
  record.SetPm(true);
  record.SetMonth(static_cast<uint8_t>(today.month));
  record.SetDay(static_cast<uint8_t>(today.day));
  record.SetYear(static_cast<uint16_t>(today.year));
  record.SetWeekday(static_cast<uint8_t>(today.weekday));
  record.SetMinutePastHour(15);
  record.SetInterval(15);
}

}  // namespace qlx
