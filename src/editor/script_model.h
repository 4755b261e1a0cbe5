#pragma once
// The script editor's model: the 50 script commands, the parameter record
// of each command family, and the script line that pairs a display text
// with its record.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace qlx::editor {

// Parameter groups: which record a command's line carries and which dialog
// edits it.
enum class Group : uint8_t {
  Text, DateTime, Delay, Pause, Repeat, Speed, Program, Sound, SingleString,
  SizePosition, Window, Mouse, Clipboard, ModifierKey, File,
};

// Command numbers 1..50; the numbers are internal, the names are what the
// user sees and what every line begins with.
namespace cmd {
inline constexpr int kText = 1, kDate = 2, kTime = 3, kDelay = 4, kPause = 5, kRepeatStart = 6,
                     kRepeatEnd = 7, kKeystrokeSpeed = 8, kMouseSpeed = 9, kActivateWindow = 10,
                     kLaunchProgram = 11, kSoundBeep = 12, kSoundWaveFile = 13, kLoadMacroFile = 14,
                     kLoadTextFile = 15, kResizeWindow = 16, kRepositionWindow = 17,
                     kMaximizeWindow = 18, kMinimizeWindow = 19, kRestoreWindow = 20,
                     kCloseWindow = 21, kHideWindow = 22, kShowWindow = 23, kMouseMove = 24,
                     kLeftButton = 25, kRightButton = 26, kMiddleButton = 27, kMouseWheel = 28,
                     kRemark = 29, kClipboardCopy = 30, kClipboardPaste = 31, kRepeatCounter = 32,
                     kActivateOrLaunch = 33, kLaunchAndActivate = 34, kClipboardStartCopy = 35,
                     kClipboardEndCopy = 36, kClipboardFileCopy = 37, kShutDownProgram = 38,
                     kControlKey = 39, kAltKey = 40, kShiftKey = 41, kWinKey = 42, kWebSite = 43,
                     kWebFtp = 44, kRepeatPromptStart = 45, kChangeDirectory = 46,
                     kDeleteFile = 47, kCopyFile = 48, kRenameFile = 49, kPlaybackSpeed = 50;
inline constexpr int kCount = 50;
}  // namespace cmd

struct ScriptCommand {
  int number;
  std::string_view name;  // at most 25 characters
  Group group;
};

// In number order: the order in which a line's command is recognised.
extern const std::array<ScriptCommand, cmd::kCount> kScriptCommands;

// The command of number 1..50; null for any other number.
const ScriptCommand* CommandByNumber(int number);
// The command a line's text names: spaces stripped at both ends, the first
// name in number order that the text begins with; null when none does.
const ScriptCommand* CommandOfLine(std::string_view line_text);

// ---- Parameter records, one per group (kinds and codes as the script
// editor numbers them).

struct TextRun {
  std::string text;  // the exact macro text of the run
  friend bool operator==(const TextRun&, const TextRun&) = default;
};

struct DateTimeParams {
  bool is_date = true;
  int format = 1;  // 1-based into the date or time format table
  bool zeros = true;
  bool future = true;
  int offset = 0;  // days
  friend bool operator==(const DateTimeParams&, const DateTimeParams&) = default;
};

enum class DelayUnit : uint8_t { Seconds = 1, Milliseconds = 2 };
struct DelayParams {
  DelayUnit unit = DelayUnit::Seconds;
  double amount = 0;
  friend bool operator==(const DelayParams&, const DelayParams&) = default;
};

struct PauseParams {
  int kind = 1;  // 1 basic, 2 complex
  int left = 0;
  int top = 0;
  std::string message;
  friend bool operator==(const PauseParams&, const PauseParams&) = default;
};

namespace repeat {
inline constexpr int kStart = 1, kPromptStart = 2, kEnd = 3, kCounter = 4;
}
struct RepeatParams {
  int kind = repeat::kStart;
  int value = 0;  // the count of a start, the width 1..4 of a counter
  friend bool operator==(const RepeatParams&, const RepeatParams&) = default;
};

namespace speed {
inline constexpr int kKeystroke = 1, kMouse = 2, kPlayback = 3;
}
struct SpeedParams {
  int kind = speed::kKeystroke;
  int milliseconds = 0;
  double factor = 1.0;
  friend bool operator==(const SpeedParams&, const SpeedParams&) = default;
};

namespace program {
inline constexpr int kActivate = 1, kLaunch = 2, kLaunchAndActivate = 3, kActivateOrLaunch = 4;
}
struct ProgramParams {
  int kind = program::kActivate;
  std::string title;
  std::string path;
  std::string parameters;
  int delay = 0;  // seconds
  friend bool operator==(const ProgramParams&, const ProgramParams&) = default;
};

namespace sound {
inline constexpr int kBeep = 1, kWave = 2;
}
struct SoundParams {
  int kind = sound::kBeep;
  std::string path;
  bool wait = true;
  friend bool operator==(const SoundParams&, const SoundParams&) = default;
};

// Load New Macro File, Load Text File, Remark, Web Site, Web FTP: one
// string; the command tells them apart.
struct StringParams {
  int command = cmd::kRemark;
  std::string text;
  friend bool operator==(const StringParams&, const StringParams&) = default;
};

namespace sizepos {
inline constexpr int kResize = 1, kReposition = 2;
}
struct SizePositionParams {
  std::string title;
  int kind = sizepos::kResize;
  bool current = false;
  int first = 0;   // width or left
  int second = 0;  // height or top
  friend bool operator==(const SizePositionParams&, const SizePositionParams&) = default;
};

namespace window {
inline constexpr int kMaximize = 1, kMinimize = 2, kRestore = 3, kClose = 4, kHide = 5, kShow = 6,
                     kShutDown = 7;
}
struct WindowParams {
  std::string title;
  int kind = window::kMaximize;
  bool current = false;
  friend bool operator==(const WindowParams&, const WindowParams&) = default;
};

// Mouse action codes.
namespace mouse_action {
inline constexpr int kMove = 1, kLeftClick = 2, kLeftDouble = 3, kLeftDown = 4, kLeftUp = 5,
                     kRightClick = 6, kRightDouble = 7, kRightDown = 8, kRightUp = 9,
                     kMiddleClick = 10, kMiddleDouble = 11, kMiddleDown = 12, kMiddleUp = 13,
                     kWheelForward = 14, kWheelBackward = 15;
}
struct MouseParams {
  int x = 0;
  int y = 0;
  int clicks = 0;
  int action = mouse_action::kMove;
  bool relative = false;  // coordinates relative to the window
  friend bool operator==(const MouseParams&, const MouseParams&) = default;
};

namespace clip {
inline constexpr int kStartCopy = 1, kEndCopy = 2, kFileCopy = 3, kCopy = 4, kPaste = 5;
}
struct ClipboardParams {
  int kind = clip::kCopy;
  std::string path;
  friend bool operator==(const ClipboardParams&, const ClipboardParams&) = default;
};

// 1 Control down, 2 up, 3 Alt down, 4 up, 5 Shift down, 6 up, 7 Win down, 8 up.
struct ModifierParams {
  int code = 1;
  friend bool operator==(const ModifierParams&, const ModifierParams&) = default;
};

namespace file {
inline constexpr int kChangeDirectory = 1, kCopy = 2, kRename = 3, kDelete = 4;
}
struct FileParams {
  int kind = file::kChangeDirectory;
  std::string first;
  std::string second;
  friend bool operator==(const FileParams&, const FileParams&) = default;
};

using Params = std::variant<TextRun, DateTimeParams, DelayParams, PauseParams, RepeatParams,
                            SpeedParams, ProgramParams, SoundParams, StringParams,
                            SizePositionParams, WindowParams, MouseParams, ClipboardParams,
                            ModifierParams, FileParams>;

// The group of a record (the variant's alternatives are in Group order).
inline Group GroupOf(const Params& p) { return static_cast<Group>(p.index()); }

// The command a record stands for.
int CommandOfParams(const Params& p);

// One line of the script list.
struct ScriptLine {
  std::string text;  // display text, indentation included
  Params params;
  // The token exactly as it stood in the macro text the line was read from;
  // empty once a dialog has changed the values (and for text runs, whose
  // record is their text). An unchanged line is written back as it was, so
  // that opening and saving never changes what a macro plays.
  std::string source;
  friend bool operator==(const ScriptLine&, const ScriptLine&) = default;
};

inline constexpr size_t kMaxLineText = 255;

}  // namespace qlx::editor
