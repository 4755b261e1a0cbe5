#pragma once
// The capture options as the Capture Defaults and Capture Macro dialogs
// show them: the same controls, the same enabling rules.
#include <windows.h>

#include "capture/capture_options.h"
#include "platform/win32/dialog.h"
#include "capture_ids.h"

namespace qlx {

inline constexpr int kSpeedRadios[] = {IDC_CAP_ACTUAL, IDC_CAP_HALF, IDC_CAP_DOUBLE, IDC_CAP_QUADRUPLE};

inline void ShowCaptureOptions(HWND d, const CaptureOptions& o) {
  dlg::SetChecked(d, IDC_CAP_KEYS, o.keys);
  dlg::SetChecked(d, IDC_CAP_DOUBLE_ALT, o.double_alt);
  dlg::SetChecked(d, IDC_CAP_MOUSE, o.mouse);
  dlg::CheckRadio(d, IDC_CAP_SCREEN, IDC_CAP_WINDOW, o.relative_to_screen ? IDC_CAP_SCREEN : IDC_CAP_WINDOW);
  dlg::SetChecked(d, IDC_CAP_WINDOW_SIZE, o.window_size);
  dlg::SetChecked(d, IDC_CAP_TIME, o.time);
  const int speed = o.speed >= kSpeedActual && o.speed <= kSpeedQuadruple ? o.speed : kSpeedActual;
  dlg::CheckRadio(d, IDC_CAP_ACTUAL, IDC_CAP_QUADRUPLE, kSpeedRadios[speed - 1]);
  dlg::SetChecked(d, IDC_CAP_PROMPT, o.prompt);
  dlg::CheckRadio(d, IDC_CAP_GLOBAL, IDC_CAP_PROGRAM, o.global ? IDC_CAP_GLOBAL : IDC_CAP_PROGRAM);
}

inline CaptureOptions ReadCaptureOptions(HWND d) {
  CaptureOptions o;
  o.keys = dlg::IsChecked(d, IDC_CAP_KEYS);
  o.double_alt = dlg::IsChecked(d, IDC_CAP_DOUBLE_ALT);
  o.mouse = dlg::IsChecked(d, IDC_CAP_MOUSE);
  o.relative_to_screen = dlg::IsChecked(d, IDC_CAP_SCREEN);
  o.window_size = dlg::IsChecked(d, IDC_CAP_WINDOW_SIZE);
  o.time = dlg::IsChecked(d, IDC_CAP_TIME);
  o.speed = dlg::CheckedRadio(d, IDC_CAP_ACTUAL, IDC_CAP_QUADRUPLE, IDC_CAP_ACTUAL) - IDC_CAP_ACTUAL + 1;
  o.prompt = dlg::IsChecked(d, IDC_CAP_PROMPT);
  o.global = dlg::IsChecked(d, IDC_CAP_GLOBAL);
  return o;
}

inline void EnableCaptureOptions(HWND d) {
  const CaptureControlStates c = EnabledCaptureControls(ReadCaptureOptions(d));
  dlg::Enable(d, IDC_CAP_DOUBLE_ALT, c.double_alt);
  for (int id : {IDC_CAP_RELATIVE_LABEL, IDC_CAP_SCREEN, IDC_CAP_WINDOW}) dlg::Enable(d, id, c.relative_to);
  dlg::Enable(d, IDC_CAP_WINDOW_SIZE, c.window_size);
  for (int id : kSpeedRadios) dlg::Enable(d, id, c.speeds);
}

inline bool IsCaptureOptionControl(int id) { return id >= IDC_CAP_KEYS && id <= IDC_CAP_PROGRAM; }

}  // namespace qlx
