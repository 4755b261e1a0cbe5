#pragma once
// The capture options: the settings, the option bytes of the activation
// block, which dialog controls they enable, and the fixed texts of capture.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/hotkey_table.h"
#include "store/macro_record.h"
#include "store/settings.h"
#include "store/shared_blocks.h"

namespace qlx {

inline constexpr char kCaptureFileName[] = "TempCap.Txt";
inline constexpr int16_t kCaptureSystemDigit = 2;

inline constexpr char kCaptureBrowseText[] = "Capture not allowed in Browse Mode.";
inline constexpr char kCaptureInProgressText[] = "A capture is currently in progress.  Capture not allowed.";
inline constexpr char kCaptureMaxMacrosText[] = "Maximum number of macros has been reached.  Capture not allowed.";
inline constexpr char kNoHotKeysYetText[] = "No hot keys have been added yet.  Please add one first.";
inline constexpr char kNoHotKeySelectedText[] = "No hot key selected.  Please select one.";
inline constexpr char kGlobalHotKeyInUseText[] =
    "A Global Hot Key is already in use for the selected hot key.  Please select a different one or choose the "
    "Program specific option.";
inline constexpr char kStartCaptureCaption[] = "Start Capture";
inline constexpr char kCaptureCaption[] = "Capture";
inline constexpr char kRecordingToolTip[] = "Macro Is Recording";
// The quick capture's macro until Capture Complete names it.
inline constexpr char kQuickCaptureNickname[] = "Capture";
inline constexpr char kQuickCaptureSnapword[] = "capture";

// Speed choices: 1 actual, 2 half, 3 double, 4 quadruple.
inline constexpr int kSpeedActual = 1;
inline constexpr int kSpeedHalf = 2;
inline constexpr int kSpeedDouble = 3;
inline constexpr int kSpeedQuadruple = 4;

struct CaptureOptions {
  bool double_alt = true;
  bool keys = true;
  bool mouse = true;
  bool relative_to_screen = true;
  bool window_size = true;
  bool time = true;
  int speed = kSpeedActual;
  bool prompt = true;
  bool global = true;
  friend bool operator==(const CaptureOptions&, const CaptureOptions&) = default;
};
CaptureOptions CaptureOptionsOf(const Settings& s);
void StoreCaptureOptions(const CaptureOptions& o, Settings& s);

// The token written first when "Capture At" is on; a speed outside 1..4
// counts as actual speed.
std::string_view SpeedToken(int speed);

// Controls enabled by the options: "Capture Double <ALT>" with keystrokes,
// "Relative to" with the mouse, "Capture Window Size" with the mouse
// relative to the window, the speeds with "Capture At".
struct CaptureControlStates {
  bool double_alt = true;
  bool relative_to = true;
  bool window_size = true;
  bool speeds = true;
};
CaptureControlStates EnabledCaptureControls(const CaptureOptions& o);

CaptureKey CaptureKeyOf(const HotKeyCombo& combo);

// The option bytes of a capture start (741, 776/791, 778..781).
void WriteCaptureOptionBytes(ActivationBlock& block, const CaptureOptions& o);

// The hot key of the first Start/Stop Capture system macro, active or not, or -1.
int StopCaptureCode(const ActivationBlock& block);

// Texts.
std::string StartCapturePromptText(std::string_view stop_key_name);
std::string PressToEndText(std::string_view stop_key_name);
std::string OrPressToEndText(std::string_view own_key_name);
// The Capture Macro dialog's title: the hot-key name, or "Snapword: " and
// the Snapword.
std::string CaptureMacroTitle(uint16_t code, std::string_view snapword);
std::string CaptureCompleteForText(uint16_t code, std::string_view snapword);

// The quick capture's new macro: active GLOBAL Snapword macro "capture"
// named "Capture", top-most flag 1.
MacroRecord QuickCaptureRecord();

// "<TFILE:" reference and file names.
std::string JoinProgramPath(std::string_view dir, std::string_view name);
std::string OverflowFileName(int i);  // "QL" + i + ".TXT"

}  // namespace qlx
