#include "activation/win/scheduler_timers.h"

namespace qlx {

void SchedulerTimers::Start(HWND window, uint16_t timer_seconds) {
  window_ = window;
  interval_ms_ = static_cast<UINT>(timer_seconds) * 1000u;
  Rebuild();
  ::SetTimer(window_, startup_id_, kStartUpDelayMs, nullptr);
}

void SchedulerTimers::Rebuild() {
  ticking_ = scheduler_.CheckAndSetTime();
  ArmTick();
}

void SchedulerTimers::SetInterval(uint16_t timer_seconds) {
  interval_ms_ = static_cast<UINT>(timer_seconds) * 1000u;
  ArmTick();
}

void SchedulerTimers::ArmTick() {
  if (!window_) return;
  if (ticking_) ::SetTimer(window_, tick_id_, interval_ms_, nullptr);
  else ::KillTimer(window_, tick_id_);
}

bool SchedulerTimers::OnTimer(UINT_PTR id) {
  if (id == tick_id_) {
    scheduler_.CheckOutTimerMacros();
    return true;
  }
  if (id == startup_id_) {
    // Runs once: the timer stops before the macros play.
    ::KillTimer(window_, startup_id_);
    scheduler_.DoStartUpMacros();
    return true;
  }
  return false;
}

void SchedulerTimers::Stop() {
  if (!window_) return;
  ::KillTimer(window_, tick_id_);
  ::KillTimer(window_, startup_id_);
}

}  // namespace qlx
