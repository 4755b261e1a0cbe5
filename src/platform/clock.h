#pragma once
// Current date and time as the program stores it: days since 30 December
// 1899, the fraction being the time of day (local time).
#include <cstdint>

namespace qlx {

class IClock {
 public:
  virtual ~IClock() = default;
  virtual double Now() const = 0;
  virtual uint32_t TickCount() const = 0;  // milliseconds, wraps
};

}  // namespace qlx
