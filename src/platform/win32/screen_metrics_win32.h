#pragma once
#include <windows.h>

#include "platform/screen_metrics.h"

namespace qlx {

// GetSystemMetrics of the primary screen.
class Win32ScreenMetrics : public IScreenMetrics {
 public:
  int Width() override { return ::GetSystemMetrics(SM_CXSCREEN); }
  int Height() override { return ::GetSystemMetrics(SM_CYSCREEN); }
};

}  // namespace qlx
