#pragma once
// The command dialogs' decisions: what each one shows first, the checks its
// OK runs (in order, with their exact messages and the field that gets the
// focus) and the parameter record it makes. The token a dialog gives the
// direct editor is the writer's token of that record, so both callers get
// the same command. The dialog windows only move values between their
// controls and these functions.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editor/script_model.h"
#include "store/settings.h"

namespace qlx::editor {

// What the dialogs ask of the file system.
class IPathChecks {
 public:
  virtual ~IPathChecks() = default;
  // The path names an existing file (looked up by its short form).
  virtual bool FileExists(std::string_view path) = 0;
  virtual bool DirectoryExists(std::string_view path) = 0;
};

// A refused OK: the message box's text and caption, and the field (the
// dialog's own field number) that gets the focus back.
struct Refusal {
  std::string text;
  int field = 0;
  std::string caption = "Error";
  friend bool operator==(const Refusal&, const Refusal&) = default;
};

template <typename P>
struct Checked {
  std::optional<Refusal> refusal;
  P params{};
  bool ok() const { return !refusal.has_value(); }
};

// Free-text parts of a token end at the first `>` (the title of a
// launch-and-wait token at the first `<`, the first path of a copy or
// rename at the first `;`): such a character would cut the command short
// and the rest would be typed as text when the macro plays.
std::string CharacterNotAllowed(char c);

// ---- Mouse Commands (TDoMouse) ----------------------------------------

namespace mouse_field { inline constexpr int kX = 1, kY = 2, kClicks = 3; }
struct MouseForm {
  int action = mouse_action::kMove;
  std::string x = "0", y = "0", clicks = "1";
  bool to_window = false;
};
MouseForm MouseFormFor(const MouseParams& p);
// The action a newly added line of this command starts on.
int MouseActionForCommand(int command);
struct MousePanels {
  bool movement = false;
  bool wheel = false;
  int client_width = 200;
};
MousePanels MousePanelsFor(int action);
Checked<MouseParams> CheckMouse(const MouseForm& f);

// ---- Set Delay (TDoDelay2) -------------------------------------------------

namespace delay_field { inline constexpr int kValue = 1; }
struct DelayForm {
  bool milliseconds = false;
  std::string value;
};
DelayForm DelayFormFor(const DelayParams& p);
Checked<DelayParams> CheckDelay(const DelayForm& f);

// ---- Pause Window (TDoPausePos) -----------------------------------------

namespace pause_field { inline constexpr int kTop = 1, kLeft = 2, kMessage = 3; }
struct PauseForm {
  bool complex = true;
  std::string top = "0", left = "0", message;
};
PauseForm PauseFormFor(const PauseParams& p);
Checked<PauseParams> CheckPause(const PauseForm& f);

// ---- Repeat Options (TDoRepeat) ---------------------------------------------

namespace repeat_field { inline constexpr int kCount = 1; }
struct RepeatForm {
  int kind = repeat::kStart;
  std::string count;
};
RepeatForm RepeatFormFor(const RepeatParams& p);
// The count field's label, or empty when the field is hidden.
std::string RepeatCountLabel(int kind);
Checked<RepeatParams> CheckRepeat(const RepeatForm& f);

// ---- Speed (TDoSpeed) -------------------------------------------------------

namespace speed_field { inline constexpr int kValue = 1; }
struct SpeedForm {
  int kind = speed::kKeystroke;
  std::string value = "0";
};
SpeedForm SpeedFormFor(const SpeedParams& p);
std::string SpeedValueLabel(int kind);
Checked<SpeedParams> CheckSpeed(const SpeedForm& f);

// ---- Activate/Launch Program (TDoActive) -----------------------------------

namespace active_field { inline constexpr int kTitle = 1, kPath = 2, kParameters = 3, kDelay = 4; }
struct ActiveForm {
  int kind = program::kActivateOrLaunch;
  std::string title, path, parameters, delay = "0";
};
ActiveForm ActiveFormFor(const ProgramParams& p);
inline bool ActiveShowsWindow(int kind) { return kind != program::kLaunch; }
inline bool ActiveShowsProgram(int kind) { return kind != program::kActivate; }
Checked<ProgramParams> CheckActive(const ActiveForm& f, IPathChecks& paths);

// ---- Set Sound (TDoSound) -------------------------------------------------

namespace sound_field { inline constexpr int kPath = 1; }
struct SoundForm {
  int kind = sound::kBeep;
  std::string path;
  bool wait = true;
};
SoundForm SoundFormFor(const SoundParams& p);
Checked<SoundParams> CheckSound(const SoundForm& f, IPathChecks& paths);
// The Scheduler Alarm's Ok: "None" changes only the choice, the stored wave
// file and its wait stay for the next time a wave file is chosen.
void StoreSchedulerAlarm(const SoundParams& p, Settings& settings);
// "&Test": the same check; nothing when the file may be played.
std::optional<Refusal> CheckSoundTest(std::string_view path, IPathChecks& paths);

// ---- Single strings: Load A New Macro File (TDoSwap), Load Text from a
// Text File (TDoTextInsert), Remark (TDoRemark), Internet Web Site / FTP
// (TDoWebStuff).

namespace string_field { inline constexpr int kText = 1; }
Checked<StringParams> CheckSwap(std::string_view path, IPathChecks& paths);
// A text file that does not exist is a question, not a refusal: Yes goes
// back to the field, No takes the path as it is.
struct TextInsertCheck {
  std::optional<Refusal> refusal;   // a character the token cannot carry
  std::optional<Refusal> question;  // the file does not exist (caption "Warning")
  StringParams params;
};
TextInsertCheck CheckTextInsert(std::string_view path, IPathChecks& paths);
// "&Edit Text File": nothing when the file may be opened in Notepad.
std::optional<Refusal> CheckEditTextFile(std::string_view path, IPathChecks& paths);
Checked<StringParams> CheckRemark(std::string_view text);
// The address a new web command starts with.
std::string WebPrefill(bool ftp);
Checked<StringParams> CheckWeb(bool ftp, std::string_view address);

// ---- Size or Position a Window (TDoSizeIt) -------------------------------

namespace size_field { inline constexpr int kTitle = 1, kFirst = 2, kSecond = 3; }
struct SizeForm {
  bool current = true;
  std::string title;
  int kind = sizepos::kResize;
  std::string first, second;
};
SizeForm SizeFormFor(const SizePositionParams& p);
// "Width"/"Height" or "Left"/"Top".
std::string SizeFirstLabel(int kind);
std::string SizeSecondLabel(int kind);
Checked<SizePositionParams> CheckSize(const SizeForm& f);

// ---- System Commands (TDoSystemCommand) -----------------------------------

namespace system_field { inline constexpr int kTitle = 1; }
struct SystemForm {
  int kind = window::kMaximize;
  bool current = true;
  std::string title;
};
SystemForm SystemFormFor(const WindowParams& p);
Checked<WindowParams> CheckSystem(const SystemForm& f);

// ---- Clipboard (TDoClipboard) ----------------------------------------------

namespace clipboard_field { inline constexpr int kPath = 1; }
struct ClipboardForm {
  int kind = clip::kStartCopy;
  std::string path;
};
Checked<ClipboardParams> CheckClipboard(const ClipboardForm& f, IPathChecks& paths);

// ---- Keys Up Or Down (TDoKeyUpDown) ------------------------------------------

// Code 1..8, or 0 when no button is checked: the dialog then closes with
// nothing, as Cancel does.
std::optional<ModifierParams> KeyUpDownResult(int code);
// The "down" code of a modifier-key command (Control 1, Alt 3, Shift 5, Win 7).
int KeyDownCodeForCommand(int command);

// ---- File Manipulation (TDoDOSFiles) ----------------------------------------

namespace files_field { inline constexpr int kPath = 1, kNewName = 2; }
struct FilesForm {
  int kind = file::kChangeDirectory;
  std::string path, new_name;
};
FilesForm FilesFormFor(const FileParams& p);
std::string FilesPathLabel(int kind);
inline bool FilesShowsNewName(int kind) { return kind == file::kCopy || kind == file::kRename; }
Checked<FileParams> CheckFiles(const FilesForm& f, IPathChecks& paths);

// ---- Dates / Times (TDateOrTime) --------------------------------------------

struct DateTimeForm {
  bool is_date = true;
  int format = 1;  // 1-based
  bool suppress_zeros = true;
  std::string days = "0";  // digits only, at most 3
  bool future = true;
};
DateTimeForm DateTimeFormFor(const DateTimeParams& p);
DateTimeParams DateTimeResult(const DateTimeForm& f);

// ---- Set Title / Set Program (TDoSpecWind) ----------------------------------

namespace specwind_field { inline constexpr int kTitle = 1; }
inline constexpr size_t kSpecWindTitleMax = 20;
struct SpecWindForm {
  bool program = false;  // a program name rather than a window title
  std::string title;
  std::optional<std::string> highlighted;  // the list entry selected, if any
  bool on_top = true;
};
struct SpecWindCheck {
  std::optional<Refusal> refusal;
  // Asked when the field is empty but a list entry is highlighted: Yes
  // takes the entry, No goes back to the field.
  std::optional<Refusal> question;
  std::string name;
  bool on_top = true;
};
SpecWindCheck CheckSpecWind(const SpecWindForm& f);
// The entries of the running-program list: file names holding ".EXE".
bool IsProgramListEntry(std::string_view exe_name);

// ---- Set Delay, its other uses (TDoDelay) ------------------------------------

enum class DelayPromptMode : uint8_t { Delay = 1, Keypad = 3, SchedulerFrequency = 5 };
struct DelayPromptText {
  std::string caption;
  std::string label;
  int max_chars;
};
DelayPromptText DelayPromptTextFor(DelayPromptMode mode);
struct DelayPromptCheck {
  std::optional<Refusal> refusal;
  std::string token;   // modes 1 and 3
  int seconds = 0;     // mode 5
};
DelayPromptCheck CheckDelayPrompt(DelayPromptMode mode, std::string_view value);

// ---- Insert Symbol (TDoSpecial) ------------------------------------------------

inline constexpr int kSymbolColumns = 16, kSymbolRows = 8, kSymbolCellWidth = 26,
                     kSymbolCellHeight = 24;
// The character in column c and row r: 128 + 8c + r.
inline char SymbolAt(int column, int row) {
  return static_cast<char>(128 + 8 * column + row);
}

}  // namespace qlx::editor
