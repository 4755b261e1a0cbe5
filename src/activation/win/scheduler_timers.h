#pragma once
// The two timers of the scheduler on the main window: the tick ("Timer
// Seconds" apart, running exactly while the timer table has entries) and
// the one-shot start-up timer that plays the start-up macros 5 s after
// the program starts.
#include <windows.h>

#include <cstdint>

#include "activation/scheduler.h"

namespace qlx {

class SchedulerTimers {
 public:
  static constexpr UINT kStartUpDelayMs = 5000;

  // `tick_id` and `startup_id` are the main window's timer identifiers.
  SchedulerTimers(Scheduler& scheduler, UINT_PTR tick_id, UINT_PTR startup_id)
      : scheduler_(scheduler), tick_id_(tick_id), startup_id_(startup_id) {}

  // At start-up, once the window exists: builds the timer table and arms
  // the start-up timer.
  void Start(HWND window, uint16_t timer_seconds);
  // CheckAndSetTime: after every change of the macro file or of a macro.
  void Rebuild();
  // "&Timer Interval" changed the tick.
  void SetInterval(uint16_t timer_seconds);
  // WM_TIMER: true when the timer was one of these two (after a tick the
  // caller refreshes a caption that shows the time).
  bool OnTimer(UINT_PTR id);
  // At shutdown.
  void Stop();

 private:
  void ArmTick();

  Scheduler& scheduler_;
  UINT_PTR tick_id_;
  UINT_PTR startup_id_;
  HWND window_ = nullptr;
  UINT interval_ms_ = 10000;
  bool ticking_ = false;
};

}  // namespace qlx
