#include "editor/command_dialogs.h"

#include <cmath>

#include "editor/script_text.h"
#include "editor/text_util.h"
#include "engine/macro_language.h"

namespace qlx::editor {
namespace {

std::string Digits(int64_t v) { return std::to_string(v); }

// A trimmed whole number, or nothing.
std::optional<int32_t> Whole(std::string_view s) { return ParseWhole(Trim(s)); }
std::optional<double> Decimal(std::string_view s) { return ParseDecimal(Trim(s)); }

template <typename P>
Checked<P> Refuse(std::string text, int field, std::string caption = "Error") {
  Checked<P> c;
  c.refusal = Refusal{std::move(text), field, std::move(caption)};
  return c;
}

template <typename P>
Checked<P> Accept(P params) {
  Checked<P> c;
  c.params = std::move(params);
  return c;
}

// The first character of `s` found in `forbidden`, as a refusal.
std::optional<Refusal> Forbidden(std::string_view s, std::string_view forbidden, int field) {
  const size_t at = s.find_first_of(forbidden);
  if (at == std::string_view::npos) return std::nullopt;
  return Refusal{CharacterNotAllowed(s[at]), field};
}

// Every free-text part of a token ends at `>`.
constexpr std::string_view kEndsText = ">";

constexpr char kInvalidWheel[] = "Invalid number of wheel clicks specified.  Please correct.";
constexpr char kInvalidX[] = "Invalid X Position specified.  Please correct.";
constexpr char kInvalidY[] = "Invalid Y Position specified.  Please correct.";
constexpr int kMaxMouseCoordinate = 30000;
constexpr char kDelayRange[] = "Value must be greater than zero and no larger than 60.";
constexpr char kGreaterThanZero[] = "Value must be greater than zero.";
constexpr char kLessThan9999[] = "Value must be less than 9999.";
constexpr char kInvalidTop[] = "Invalid Top Window Coordinate entered.  Please correct.";
constexpr char kInvalidLeft[] = "Invalid Left Window Coordinate entered.  Please correct.";
constexpr char kWidthRange[] = "Width must be between 1 and 4.";
constexpr char kZeroOrGreater[] = "Value must be zero or greater.";
// Over the field's width (a pasted value gets past the limit on typing).
constexpr char kNoLargerThan9999[] = "Value must be no larger than 9999.";
constexpr char kNoLargerThan99[] = "Value must be no larger than 99.";
constexpr char kNoWindowTitleEntry[] = "No entry made for Window Title.  Please correct.";
constexpr char kNoProgram[] = "Specified Path and Program does not exist.  Please correct.";
constexpr char kNoWave[] = "Specified WAV File does not exist.  Please correct.";
constexpr char kNoMacroFile[] = "Specified Macro File does not exist.  Please correct.";
constexpr char kNoTextFileQuestion[] = "Specified Path and Program does not exist.  Do you wish to correct?";
constexpr char kCannotOpenTextFile[] =
    "Specified Path and Program does not exist.  Unable to open text file.";
constexpr char kNoWindowTitle[] = "No Window title specified.  Please correct";
constexpr char kInvalidWidth[] = "Invalid width specified.  Width must be 10 or greater.  Please correct.";
constexpr char kInvalidHeight[] =
    "Invalid height specified.  Height must be 30 or greater.  Please correct.";
constexpr char kInvalidLeftPosition[] = "Invalid left position specified.  Please correct.";
constexpr char kInvalidTopPosition[] = "Invalid top position specified.  Please correct.";
constexpr char kNoTextFile[] = "Specified Text File does not exist.  Please correct.";
constexpr char kNoNewName[] = "No new name specified.  Please correct.";
constexpr char kNoDirectory[] = "Specified directory/folder does not exist.  Please correct.";
constexpr char kMustBeNumeric[] = "Value must be numeric.";
constexpr char kFrequencyRange[] = "Value must be between 1 and 60.";

// A decimal shown in a field: two decimals, as the writer keeps them.
std::string DecimalField(double v) { return TwoDecimals(v); }

}  // namespace

std::string CharacterNotAllowed(char c) {
  return std::string("The character ") + c + " cannot be used here.  Please correct.";
}

// ---- Mouse -------------------------------------------------------------------

MouseForm MouseFormFor(const MouseParams& p) {
  MouseForm f;
  f.action = p.action;
  f.x = Digits(p.x);
  f.y = Digits(p.y);
  f.clicks = Digits(p.clicks > 0 ? p.clicks : 1);
  f.to_window = p.relative;
  return f;
}

int MouseActionForCommand(int command) {
  switch (command) {
    case cmd::kLeftButton: return mouse_action::kLeftClick;
    case cmd::kRightButton: return mouse_action::kRightClick;
    case cmd::kMiddleButton: return mouse_action::kMiddleClick;
    case cmd::kMouseWheel: return mouse_action::kWheelForward;
    default: return mouse_action::kMove;
  }
}

MousePanels MousePanelsFor(int action) {
  MousePanels p;
  if (action == mouse_action::kMove) {
    p.movement = true;
    p.client_width = 393;
  } else if (action == mouse_action::kWheelForward || action == mouse_action::kWheelBackward) {
    p.wheel = true;
    p.client_width = 393;
  }
  return p;
}

Checked<MouseParams> CheckMouse(const MouseForm& f) {
  MouseParams p;
  p.action = f.action;
  p.relative = f.to_window;
  const bool wheel =
      f.action == mouse_action::kWheelForward || f.action == mouse_action::kWheelBackward;
  if (wheel) {
    const auto clicks = Whole(f.clicks);
    // The token holds three digits.
    if (!clicks || *clicks <= 0 || *clicks > 999)
      return Refuse<MouseParams>(kInvalidWheel, mouse_field::kClicks);
    p.clicks = *clicks;
  }
  if (f.action == mouse_action::kMove) {
    const auto x = Whole(f.x);
    if (!x || *x < 0 || *x > kMaxMouseCoordinate) return Refuse<MouseParams>(kInvalidX, mouse_field::kX);
    const auto y = Whole(f.y);
    if (!y || *y < 0 || *y > kMaxMouseCoordinate) return Refuse<MouseParams>(kInvalidY, mouse_field::kY);
    p.x = *x;
    p.y = *y;
  }
  return Accept(p);
}

// ---- Delay ---------------------------------------------------------------------

DelayForm DelayFormFor(const DelayParams& p) {
  DelayForm f;
  f.milliseconds = p.unit == DelayUnit::Milliseconds;
  f.value = f.milliseconds ? Digits(std::llround(p.amount)) : DecimalField(p.amount);
  return f;
}

Checked<DelayParams> CheckDelay(const DelayForm& f) {
  if (!f.milliseconds) {
    const auto v = Decimal(f.value);
    if (!v || *v <= 0 || *v > 60) return Refuse<DelayParams>(kDelayRange, delay_field::kValue);
    return Accept(DelayParams{DelayUnit::Seconds, *v});
  }
  const auto v = Whole(f.value);
  if (!v || *v <= 0) return Refuse<DelayParams>(kGreaterThanZero, delay_field::kValue);
  if (*v >= 10000) return Refuse<DelayParams>(kLessThan9999, delay_field::kValue);
  return Accept(DelayParams{DelayUnit::Milliseconds, static_cast<double>(*v)});
}

// ---- Pause -----------------------------------------------------------------------

PauseForm PauseFormFor(const PauseParams& p) {
  PauseForm f;
  f.complex = p.kind == 2;
  f.top = Digits(p.top);
  f.left = Digits(p.left);
  f.message = p.message;
  return f;
}

Checked<PauseParams> CheckPause(const PauseForm& f) {
  if (!f.complex) return Accept(PauseParams{1, 0, 0, {}});
  // Three digits each in the token.
  const auto top = Whole(f.top);
  if (!top || *top < 0 || *top > 999) return Refuse<PauseParams>(kInvalidTop, pause_field::kTop);
  const auto left = Whole(f.left);
  if (!left || *left < 0 || *left > 999) return Refuse<PauseParams>(kInvalidLeft, pause_field::kLeft);
  const std::string message(Trim(f.message));
  if (auto r = Forbidden(message, kEndsText, pause_field::kMessage)) return {r, {}};
  return Accept(PauseParams{2, *left, *top, message});
}

// ---- Repeat ------------------------------------------------------------------------

RepeatForm RepeatFormFor(const RepeatParams& p) {
  RepeatForm f;
  f.kind = p.kind;
  if (p.kind == repeat::kStart || p.kind == repeat::kCounter) f.count = Digits(p.value);
  return f;
}

std::string RepeatCountLabel(int kind) {
  if (kind == repeat::kStart) return "Repeat Count";
  if (kind == repeat::kCounter) return "Counter Width";
  return {};
}

Checked<RepeatParams> CheckRepeat(const RepeatForm& f) {
  switch (f.kind) {
    case repeat::kStart: {
      const auto n = Whole(f.count);
      if (!n || *n <= 0) return Refuse<RepeatParams>(kGreaterThanZero, repeat_field::kCount);
      if (*n > 9999) return Refuse<RepeatParams>(kNoLargerThan9999, repeat_field::kCount);
      return Accept(RepeatParams{repeat::kStart, *n});
    }
    case repeat::kCounter: {
      const auto n = Whole(f.count);
      if (!n || *n < 1 || *n > 4) return Refuse<RepeatParams>(kWidthRange, repeat_field::kCount);
      return Accept(RepeatParams{repeat::kCounter, *n});
    }
    default: return Accept(RepeatParams{f.kind, 0});
  }
}

// ---- Speed ---------------------------------------------------------------------------

SpeedForm SpeedFormFor(const SpeedParams& p) {
  SpeedForm f;
  f.kind = p.kind;
  f.value = p.kind == speed::kPlayback ? DecimalField(p.factor) : Digits(p.milliseconds);
  return f;
}

std::string SpeedValueLabel(int kind) {
  return kind == speed::kPlayback ? "Playback Factor" : "Delay in Milliseconds";
}

Checked<SpeedParams> CheckSpeed(const SpeedForm& f) {
  if (f.kind == speed::kPlayback) {
    const auto v = Decimal(f.value);
    if (!v || *v < 0) return Refuse<SpeedParams>(kZeroOrGreater, speed_field::kValue);
    return Accept(SpeedParams{speed::kPlayback, 0, *v});
  }
  const auto v = Whole(f.value);
  if (!v || *v < 0) return Refuse<SpeedParams>(kZeroOrGreater, speed_field::kValue);
  if (*v > 9999) return Refuse<SpeedParams>(kNoLargerThan9999, speed_field::kValue);
  return Accept(SpeedParams{f.kind, *v, 1.0});
}

// ---- Activate / launch ---------------------------------------------------------------

ActiveForm ActiveFormFor(const ProgramParams& p) {
  ActiveForm f;
  f.kind = p.kind;
  f.title = p.title;
  f.path = p.path;
  f.parameters = p.parameters;
  f.delay = Digits(p.delay);
  return f;
}

Checked<ProgramParams> CheckActive(const ActiveForm& f, IPathChecks& paths) {
  ProgramParams p;
  p.kind = f.kind;
  const bool waits = f.kind == program::kLaunchAndActivate || f.kind == program::kActivateOrLaunch;
  if (ActiveShowsWindow(f.kind)) {
    p.title.assign(Trim(f.title));
    if (p.title.empty()) return Refuse<ProgramParams>(kNoWindowTitleEntry, active_field::kTitle);
  }
  if (ActiveShowsProgram(f.kind)) {
    p.path.assign(Trim(f.path));
    if (!paths.FileExists(p.path)) return Refuse<ProgramParams>(kNoProgram, active_field::kPath);
    p.parameters.assign(Trim(f.parameters));
  }
  if (waits) {
    const auto d = Whole(f.delay);
    if (!d || *d < 0) return Refuse<ProgramParams>(kGreaterThanZero, active_field::kDelay);
    if (*d > 99) return Refuse<ProgramParams>(kNoLargerThan99, active_field::kDelay);
    p.delay = *d;
  }
  // The window title of the waiting launches ends at the first `<`.
  if (auto r = Forbidden(p.title, waits ? "<>" : kEndsText, active_field::kTitle)) return {r, {}};
  if (auto r = Forbidden(p.path, "<>", active_field::kPath)) return {r, {}};
  if (auto r = Forbidden(p.parameters, kEndsText, active_field::kParameters)) return {r, {}};
  return Accept(p);
}

// ---- Sound ------------------------------------------------------------------------------

SoundForm SoundFormFor(const SoundParams& p) { return SoundForm{p.kind, p.path, p.wait}; }

void StoreSchedulerAlarm(const SoundParams& p, Settings& settings) {
  settings.use_wave_file = p.kind == sound::kWave;
  if (!settings.use_wave_file) return;
  settings.wave_file = p.path;
  settings.wave_file_wait = p.wait;
}

Checked<SoundParams> CheckSound(const SoundForm& f, IPathChecks& paths) {
  if (f.kind == sound::kBeep) return Accept(SoundParams{sound::kBeep, {}, true});
  const std::string path(Trim(f.path));
  if (auto r = CheckSoundTest(path, paths)) return {r, {}};
  return Accept(SoundParams{sound::kWave, path, f.wait});
}

std::optional<Refusal> CheckSoundTest(std::string_view path, IPathChecks& paths) {
  const std::string_view p = Trim(path);
  if (!paths.FileExists(p)) return Refusal{kNoWave, sound_field::kPath};
  return Forbidden(p, kEndsText, sound_field::kPath);
}

// ---- Single strings ------------------------------------------------------------------------

Checked<StringParams> CheckSwap(std::string_view path, IPathChecks& paths) {
  const std::string p(Trim(path));
  if (!paths.FileExists(p)) return Refuse<StringParams>(kNoMacroFile, string_field::kText);
  if (auto r = Forbidden(p, kEndsText, string_field::kText)) return {r, {}};
  return Accept(StringParams{cmd::kLoadMacroFile, p});
}

TextInsertCheck CheckTextInsert(std::string_view path, IPathChecks& paths) {
  TextInsertCheck c;
  c.params = StringParams{cmd::kLoadTextFile, std::string(Trim(path))};
  c.refusal = Forbidden(c.params.text, kEndsText, string_field::kText);
  if (!c.refusal && !paths.FileExists(c.params.text))
    c.question = Refusal{kNoTextFileQuestion, string_field::kText, "Warning"};
  return c;
}

std::optional<Refusal> CheckEditTextFile(std::string_view path, IPathChecks& paths) {
  if (paths.FileExists(Trim(path))) return std::nullopt;
  return Refusal{kCannotOpenTextFile, string_field::kText};
}

Checked<StringParams> CheckRemark(std::string_view text) {
  const std::string t(Trim(text));
  if (auto r = Forbidden(t, kEndsText, string_field::kText)) return {r, {}};
  return Accept(StringParams{cmd::kRemark, t});
}

std::string WebPrefill(bool ftp) { return ftp ? "ftp://" : "http://"; }

Checked<StringParams> CheckWeb(bool ftp, std::string_view address) {
  std::string a(Trim(address));
  if (!ftp && a.size() >= 3) {
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    if (upper(a[0]) == 'W' && upper(a[1]) == 'W' && upper(a[2]) == 'W') a.insert(0, "http://");
  }
  if (auto r = Forbidden(a, kEndsText, string_field::kText)) return {r, {}};
  return Accept(StringParams{ftp ? cmd::kWebFtp : cmd::kWebSite, a});
}

// ---- Size or position ---------------------------------------------------------------------

SizeForm SizeFormFor(const SizePositionParams& p) {
  SizeForm f;
  f.current = p.current;
  f.title = p.title;
  f.kind = p.kind;
  f.first = Digits(p.first);
  f.second = Digits(p.second);
  return f;
}

std::string SizeFirstLabel(int kind) { return kind == sizepos::kReposition ? "Left" : "Width"; }
std::string SizeSecondLabel(int kind) { return kind == sizepos::kReposition ? "Top" : "Height"; }

Checked<SizePositionParams> CheckSize(const SizeForm& f) {
  SizePositionParams p;
  p.kind = f.kind;
  p.current = f.current;
  if (!f.current) {
    p.title.assign(Trim(f.title));
    if (p.title.empty()) return Refuse<SizePositionParams>(kNoWindowTitle, size_field::kTitle);
  }
  const auto first = Whole(f.first);
  const auto second = Whole(f.second);
  // Four digits each in the token.
  constexpr int kMax = 9999;
  if (f.kind == sizepos::kResize) {
    if (!first || *first < 10 || *first > kMax)
      return Refuse<SizePositionParams>(kInvalidWidth, size_field::kFirst);
    if (!second || *second < 30 || *second > kMax)
      return Refuse<SizePositionParams>(kInvalidHeight, size_field::kSecond);
  } else {
    if (!first || *first < 0 || *first > kMax)
      return Refuse<SizePositionParams>(kInvalidLeftPosition, size_field::kFirst);
    if (!second || *second < 0 || *second > kMax)
      return Refuse<SizePositionParams>(kInvalidTopPosition, size_field::kSecond);
  }
  p.first = *first;
  p.second = *second;
  if (auto r = Forbidden(p.title, kEndsText, size_field::kTitle)) return {r, {}};
  return Accept(p);
}

// ---- System commands ------------------------------------------------------------------------

SystemForm SystemFormFor(const WindowParams& p) { return SystemForm{p.kind, p.current, p.title}; }

Checked<WindowParams> CheckSystem(const SystemForm& f) {
  WindowParams p;
  p.kind = f.kind;
  p.current = f.current;
  if (!f.current) {
    p.title.assign(Trim(f.title));
    if (p.title.empty()) return Refuse<WindowParams>(kNoWindowTitle, system_field::kTitle);
    if (auto r = Forbidden(p.title, kEndsText, system_field::kTitle)) return {r, {}};
  }
  return Accept(p);
}

// ---- Clipboard ---------------------------------------------------------------------------------

Checked<ClipboardParams> CheckClipboard(const ClipboardForm& f, IPathChecks& paths) {
  if (f.kind != clip::kFileCopy) return Accept(ClipboardParams{f.kind, {}});
  const std::string path(Trim(f.path));
  if (!paths.FileExists(path)) return Refuse<ClipboardParams>(kNoTextFile, clipboard_field::kPath);
  if (auto r = Forbidden(path, kEndsText, clipboard_field::kPath)) return {r, {}};
  return Accept(ClipboardParams{clip::kFileCopy, path});
}

// ---- Keys up or down -----------------------------------------------------------------------------

std::optional<ModifierParams> KeyUpDownResult(int code) {
  if (code < 1 || code > 8) return std::nullopt;
  return ModifierParams{code};
}

int KeyDownCodeForCommand(int command) {
  switch (command) {
    case cmd::kAltKey: return 3;
    case cmd::kShiftKey: return 5;
    case cmd::kWinKey: return 7;
    default: return 1;
  }
}

// ---- Files ------------------------------------------------------------------------------------------

FilesForm FilesFormFor(const FileParams& p) { return FilesForm{p.kind, p.first, p.second}; }

std::string FilesPathLabel(int kind) {
  return kind == file::kChangeDirectory ? "Directory/Folder" : "Text File Path/Name";
}

Checked<FileParams> CheckFiles(const FilesForm& f, IPathChecks& paths) {
  FileParams p;
  p.kind = f.kind;
  p.first.assign(Trim(f.path));
  if (f.kind == file::kChangeDirectory) {
    if (!p.first.empty() && p.first.back() == '\\') p.first.pop_back();
    if (!paths.DirectoryExists(p.first)) return Refuse<FileParams>(kNoDirectory, files_field::kPath);
    if (auto r = Forbidden(p.first, kEndsText, files_field::kPath)) return {r, {}};
    return Accept(p);
  }
  if (FilesShowsNewName(f.kind)) {
    p.second.assign(Trim(f.new_name));
    if (p.second.empty()) return Refuse<FileParams>(kNoNewName, files_field::kNewName);
  }
  if (!paths.FileExists(p.first)) return Refuse<FileParams>(kNoTextFile, files_field::kPath);
  // The first path of a copy or rename ends at the first `;`.
  if (auto r = Forbidden(p.first, FilesShowsNewName(f.kind) ? ";>" : ">", files_field::kPath))
    return {r, {}};
  if (auto r = Forbidden(p.second, kEndsText, files_field::kNewName)) return {r, {}};
  return Accept(p);
}

// ---- Dates and times ----------------------------------------------------------------------------------

DateTimeForm DateTimeFormFor(const DateTimeParams& p) {
  DateTimeForm f;
  f.is_date = p.is_date;
  f.format = p.format;
  f.suppress_zeros = !p.zeros;
  f.days = Digits(p.offset);
  f.future = p.future;
  return f;
}

DateTimeParams DateTimeResult(const DateTimeForm& f) {
  DateTimeParams p;
  p.is_date = f.is_date;
  const int count = static_cast<int>(f.is_date ? kDateFormats.size() : kTimeFormats.size());
  p.format = f.format >= 1 && f.format <= count ? f.format : 1;
  p.zeros = !f.suppress_zeros;
  if (f.is_date) {
    // The field takes three digits only; anything else counts as none.
    const auto days = ParseFixedInt(Trim(f.days));
    p.offset = days && *days <= 999 ? *days : 0;
    p.future = f.future;
  }
  return p;
}

// ---- Window or program choice --------------------------------------------------------------------------

SpecWindCheck CheckSpecWind(const SpecWindForm& f) {
  SpecWindCheck c;
  c.on_top = f.on_top;
  c.name.assign(Trim(f.title));
  if (!c.name.empty()) return c;
  const std::string what = f.program ? "No program name has been entered.  "
                                     : "No window title has been entered.  ";
  if (!f.highlighted) {
    c.refusal = Refusal{what + "Please correct.", specwind_field::kTitle};
    return c;
  }
  c.question = Refusal{what + "\"" + *f.highlighted + "\" is currently highlighted.  Would you like to use it?",
                       specwind_field::kTitle};
  c.name = f.highlighted->substr(0, kSpecWindTitleMax);
  return c;
}

bool IsProgramListEntry(std::string_view exe_name) {
  std::string upper(exe_name);
  for (char& ch : upper)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
  return upper.find(".EXE") != std::string::npos;
}

// ---- TDoDelay -----------------------------------------------------------------------------------------------

DelayPromptText DelayPromptTextFor(DelayPromptMode mode) {
  switch (mode) {
    case DelayPromptMode::Keypad: return {"Alt Keypad Sequence", "Keypad Numbers", 4};
    case DelayPromptMode::SchedulerFrequency: return {"Scheduler Frequency", "Check Every", 2};
    case DelayPromptMode::Delay: break;
  }
  return {"Set Delay", "Seconds To Delay", 10};
}

DelayPromptCheck CheckDelayPrompt(DelayPromptMode mode, std::string_view value) {
  DelayPromptCheck c;
  const std::string_view v = Trim(value);
  switch (mode) {
    case DelayPromptMode::Delay: {
      const auto seconds = ParseDecimal(v);
      if (!seconds || *seconds <= 0 || *seconds > 60) {
        c.refusal = Refusal{kDelayRange, delay_field::kValue};
        return c;
      }
      c.token = TokenOf(DelayParams{DelayUnit::Seconds, *seconds});
      return c;
    }
    case DelayPromptMode::Keypad: {
      // Digits only: a sign would not be a keypad key.
      const auto digits = ParseFixedInt(v);
      if (!digits || v.size() > 4) {
        c.refusal = Refusal{kMustBeNumeric, delay_field::kValue};
        return c;
      }
      c.token = v.size() == 4 ? std::string(KeywordText(Command::AltCode4)) + std::string(v) + ">"
                              : std::string(KeywordText(Command::AltCode3)) + Padded(*digits, 3) + ">";
      return c;
    }
    case DelayPromptMode::SchedulerFrequency: {
      const auto n = ParseWhole(v);
      if (!n || *n < 1 || *n > 60) {
        c.refusal = Refusal{kFrequencyRange, delay_field::kValue};
        return c;
      }
      c.seconds = *n;
      return c;
    }
  }
  return c;
}

}  // namespace qlx::editor
