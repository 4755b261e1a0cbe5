#pragma once
// Date values as the macro file stores them: days since 30 December 1899,
// the fraction being the time of day.
#include <cstdint>

namespace qlx {

// Days from 1 January 1970 of a proleptic Gregorian date.
constexpr int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

inline constexpr int64_t kDateValueEpochOffset = 25569;  // 1899-12-30 to 1970-01-01
static_assert(DaysFromCivil(1899, 12, 30) == -kDateValueEpochOffset);

constexpr double EncodeDateTime(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
  const double day = static_cast<double>(DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) +
                                         kDateValueEpochOffset);
  return day + (h * 3600000.0 + mi * 60000.0 + s * 1000.0 + ms) / 86400000.0;
}

}  // namespace qlx
