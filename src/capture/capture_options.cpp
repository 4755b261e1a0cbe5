#include "capture/capture_options.h"

namespace qlx {

CaptureOptions CaptureOptionsOf(const Settings& s) {
  CaptureOptions o;
  o.double_alt = s.capture_double_alt;
  o.keys = s.capture_keys;
  o.mouse = s.capture_mouse;
  o.relative_to_screen = s.capture_relative_to_screen;
  o.window_size = s.capture_window_size;
  o.time = s.capture_time;
  o.speed = (s.capture_speed >= kSpeedActual && s.capture_speed <= kSpeedQuadruple) ? s.capture_speed : kSpeedActual;
  o.prompt = s.capture_prompt;
  o.global = s.capture_global;
  return o;
}

void StoreCaptureOptions(const CaptureOptions& o, Settings& s) {
  s.capture_double_alt = o.double_alt;
  s.capture_keys = o.keys;
  s.capture_mouse = o.mouse;
  s.capture_relative_to_screen = o.relative_to_screen;
  s.capture_window_size = o.window_size;
  s.capture_time = o.time;
  s.capture_speed = o.speed;
  s.capture_prompt = o.prompt;
  s.capture_global = o.global;
}

std::string_view SpeedToken(int speed) {
  switch (speed) {
    case kSpeedHalf: return "<SPEED:00002>";
    case kSpeedDouble: return "<SPEED:00.50>";
    case kSpeedQuadruple: return "<SPEED:00.25>";
    default: return "<SPEED:00001>";
  }
}

CaptureControlStates EnabledCaptureControls(const CaptureOptions& o) {
  CaptureControlStates c;
  c.double_alt = o.keys;
  c.relative_to = o.mouse;
  c.window_size = o.mouse && !o.relative_to_screen;
  c.speeds = o.time;
  return c;
}

CaptureKey CaptureKeyOf(const HotKeyCombo& combo) {
  CaptureKey k;
  k.mouseButton = combo.mouseButton;
  k.virtualKey = static_cast<int16_t>(combo.virtualKey);
  k.ctrl = combo.ctrl;
  k.alt = combo.alt;
  k.shift = combo.shift;
  k.win = combo.win;
  return k;
}

void WriteCaptureOptionBytes(ActivationBlock& block, const CaptureOptions& o) {
  block.SetCaptureDoubleAlt(o.double_alt);
  block.SetCaptureKeys(o.keys);
  block.SetCaptureMouse(o.mouse);
  block.SetCaptureRelativeToScreen(o.relative_to_screen);
  block.SetCaptureTiming(o.time);
  // The window size only means something for window-relative clicks.
  block.SetCaptureWindowSize(o.mouse && !o.relative_to_screen && o.window_size);
}

int StopCaptureCode(const ActivationBlock& block) {
  const int count = block.ClampedCount();
  for (int n = 1; n <= count; ++n) {
    // An inactive Start / Stop Capture still ends a capture begun another way.
    if (block.Scope(n) != kScopeSystem) continue;
    const std::string text = block.ScopeText(n);
    if (!text.empty() && text[0] == '0' + kCaptureSystemDigit) {
      const int code = block.Code(n);
      return code < kHotKeyCodes ? code : -1;
    }
  }
  return -1;
}

std::string StartCapturePromptText(std::string_view stop_key_name) {
  return "Quillon 98 macro capture will now start.\r\n\r\nUse " + std::string(stop_key_name) +
         " to stop the capture.";
}

std::string PressToEndText(std::string_view stop_key_name) {
  return "Press " + std::string(stop_key_name) + " to end capture";
}

std::string OrPressToEndText(std::string_view own_key_name) {
  return "Or Press " + std::string(own_key_name) + " to end capture";
}

std::string CaptureMacroTitle(uint16_t code, std::string_view snapword) {
  if (code == kSnapwordCode) return "Snapword: " + std::string(snapword);
  return std::string(HotKeyName(code));
}

std::string CaptureCompleteForText(uint16_t code, std::string_view snapword) {
  if (code == kSnapwordCode) return "Quillon 98 capture is complete for Snapword: " + std::string(snapword) + ".";
  return "Quillon 98 capture is complete for " + std::string(HotKeyName(code)) + ".";
}

MacroRecord QuickCaptureRecord() {
  MacroRecord r;
  r.SetActive(true);
  r.SetNickname(kQuickCaptureNickname);
  r.SetScope(kScopeGlobal);
  r.SetScopeText("");
  r.SetTopMostOnly(true);
  r.SetCode(kSnapwordCode);
  r.SetSnapword(kQuickCaptureSnapword);
  return r;
}

std::string JoinProgramPath(std::string_view dir, std::string_view name) {
  std::string out(dir);
  if (out.empty()) return std::string(name);
  const char last = out.back();
  if (last != '\\' && last != '/') {
    // A folder written with slashes only (a POSIX path) keeps them.
    const bool slashes = out.find('/') != std::string::npos && out.find('\\') == std::string::npos;
    out += slashes ? '/' : '\\';
  }
  return out + std::string(name);
}

std::string OverflowFileName(int i) { return "QL" + std::to_string(i) + ".TXT"; }

}  // namespace qlx
