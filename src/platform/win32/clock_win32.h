#pragma once
#include <windows.h>

#include "platform/clock.h"
#include "store/date_value.h"

namespace qlx {

// Local time as a date value, and the system tick count.
class Win32Clock : public IClock {
 public:
  double Now() const override {
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    return EncodeDateTime(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  }
  uint32_t TickCount() const override { return ::GetTickCount(); }
};

}  // namespace qlx
