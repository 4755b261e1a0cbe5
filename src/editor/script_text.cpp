#include "editor/script_text.h"

#include <cmath>
#include <cstdlib>
#include <optional>

#include "editor/text_util.h"
#include "engine/date_time.h"
#include "engine/macro_language.h"
#include "store/date_value.h"

namespace qlx::editor {
namespace {

// Monday 30 March 1998, 15:04:23: the moment the format examples show.
constexpr double kSampleMoment = EncodeDateTime(1998, 3, 30, 15, 4, 23);

std::string_view Kw(Command c, uint8_t code = 0) { return KeywordText(c, code); }

std::string Number(int64_t v) { return std::to_string(v); }

// ---- Display texts ----------------------------------------------------

std::string PlaybackSpeedText(double factor) {
  constexpr std::string_view kName = "Macro Playback Speed";
  if (factor == 0) return std::string(kName) + ": No Speed";
  if (factor == 1) return std::string(kName) + ": Normal Speed";
  const bool slower = factor > 1;
  std::string f = TwoDecimals(slower ? factor : 1 / factor);
  if (f.size() >= 3 && f.compare(f.size() - 3, 3, ".00") == 0) {
    f.resize(f.size() - 3);
  } else if (f.size() >= 3 && f.back() == '0' && f[f.size() - 3] == '.') {
    f.pop_back();
  }
  return std::string(kName) + ": " + f +
         (slower ? " Times Slower Than Normal" : " Times Faster Than Normal");
}

std::string NameOf(int command) {
  const ScriptCommand* c = CommandByNumber(command);
  return c ? std::string(c->name) : std::string();
}

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

struct DisplayVisitor {
  DisplayFor who;

  // Always the first 50 characters; the dots only past 53.
  std::string operator()(const TextRun& t) const {
    return "Text: " + t.text.substr(0, 50) + (t.text.size() > 53 ? "..." : "");
  }
  std::string operator()(const DateTimeParams& d) const {
    if (!d.is_date) return "Time: " + FormatName(d) + "  (" + TimeExample(d.format) + ")";
    std::string s = "Date";
    if (d.offset >= 1) {
      s += " (" + Number(d.offset) + " " + (d.offset == 1 ? "day" : "days") +
           (d.future ? " in future)" : " in past)");
    }
    return s + ": " + FormatName(d) + "  (" + DateExample(d.format) + ")";
  }
  static std::string FormatName(const DateTimeParams& d) {
    const size_t count = d.is_date ? kDateFormats.size() : kTimeFormats.size();
    if (d.format < 1 || static_cast<size_t>(d.format) > count) return {};
    const size_t i = static_cast<size_t>(d.format - 1);
    return std::string(d.is_date ? kDateFormats[i] : kTimeFormats[i]);
  }
  std::string operator()(const DelayParams& d) const {
    if (d.unit == DelayUnit::Milliseconds)
      return "Delay " + Number(std::llround(d.amount)) + " Milliseconds";
    return "Delay " + TwoDecimals(d.amount) + " Seconds";
  }
  std::string operator()(const PauseParams& p) const {
    return p.kind == 2 ? "Pause: Complex" : "Pause: Basic";
  }
  std::string operator()(const RepeatParams& r) const {
    switch (r.kind) {
      case repeat::kPromptStart:
        return "Repeat Prompt Start: (prompt for repeat count at macro play time)";
      case repeat::kEnd: return "Repeat End";
      case repeat::kCounter: return "Repeat Counter: Width " + Number(r.value);
      default: return "Repeat Start: " + Number(r.value);
    }
  }
  std::string operator()(const SpeedParams& s) const {
    if (s.kind == speed::kPlayback) return PlaybackSpeedText(s.factor);
    return NameOf(CommandOfParams(s)) + ": " + Number(s.milliseconds) + " Milliseconds";
  }
  std::string operator()(const ProgramParams& p) const {
    const std::string name = NameOf(CommandOfParams(p));
    switch (p.kind) {
      case program::kActivate: return name + ": " + Quoted(p.title);
      case program::kActivateOrLaunch:
        if (who == DisplayFor::Dialog)
          return name + ": " + Quoted(p.title) + " OR " + std::string(FileNamePart(p.path));
        return name + ": " + std::string(FileNamePart(p.path));
      default: return name + ": " + std::string(FileNamePart(p.path));
    }
  }
  std::string operator()(const SoundParams& s) const {
    if (s.kind == sound::kBeep) return "Sound Beep";
    return "Sound Wave File: " + std::string(FileNamePart(s.path));
  }
  std::string operator()(const StringParams& s) const {
    const std::string name = NameOf(s.command);
    switch (s.command) {
      case cmd::kRemark: return name + ": " + Abbreviated(s.text, 40, 43);
      case cmd::kWebSite:
      case cmd::kWebFtp:
        return name + ": " + (who == DisplayFor::Dialog ? Abbreviated(s.text, 40, 43) : s.text);
      default: return name + ": " + std::string(FileNamePart(s.text));
    }
  }
  std::string operator()(const SizePositionParams& s) const {
    std::string t = NameOf(CommandOfParams(s));
    t += s.current ? std::string(" - Current Win") : " - " + Quoted(s.title);
    if (s.kind == sizepos::kReposition)
      return t + " (Left: " + Number(s.first) + " Top: " + Number(s.second) + ")";
    return t + " (Width: " + Number(s.first) + " Height: " + Number(s.second) + ")";
  }
  std::string operator()(const WindowParams& w) const {
    const std::string name = NameOf(CommandOfParams(w));
    if (w.current) return name + (who == DisplayFor::Dialog ? " - Current Window" : " - Current Win");
    return name + " - Window Title: " + w.title;
  }
  std::string operator()(const MouseParams& m) const {
    const std::string name = NameOf(CommandOfParams(m));
    switch (m.action) {
      case mouse_action::kMove:
        return name + (m.relative ? " Window " : " Screen ") + Number(m.x) + "," + Number(m.y);
      case mouse_action::kWheelForward: return name + " " + Number(m.clicks) + " Clicks Forward";
      case mouse_action::kWheelBackward: return name + " " + Number(m.clicks) + " Clicks Backward";
      default: break;
    }
    static constexpr const char* kButton[] = {" Click", " Double Click", " Down", " Up"};
    const int within = (m.action - mouse_action::kLeftClick) % 4;
    return name + kButton[within < 0 ? 0 : within];
  }
  std::string operator()(const ClipboardParams& c) const {
    const std::string name = NameOf(CommandOfParams(c));
    if (c.kind == clip::kFileCopy) return name + ": " + std::string(FileNamePart(c.path));
    return name;
  }
  std::string operator()(const ModifierParams& m) const {
    return NameOf(CommandOfParams(m)) + (m.code % 2 == 1 ? " Down" : " Up");
  }
  std::string operator()(const FileParams& f) const {
    const std::string name = NameOf(CommandOfParams(f));
    if (f.kind == file::kChangeDirectory) return name + ": " + f.first;
    return name + ": " + std::string(FileNamePart(f.first));
  }
};

// ---- Tokens ------------------------------------------------------------

std::string WindowField(bool current, std::string_view title) {
  return current ? std::string(kCurrentWindow) : std::string(title);
}

std::string ProgramTextOf(const ProgramParams& p) {
  std::string s = p.path;
  if (!p.parameters.empty()) s += std::string(kParamMarker) + p.parameters;
  return s;
}

struct TokenVisitor {
  std::string operator()(const TextRun& t) const { return t.text; }
  std::string operator()(const DateTimeParams& d) const {
    const std::string name = DisplayVisitor::FormatName(d);
    if (!d.is_date) return "<" + name + (d.zeros ? "{Y}>" : "{N}>");
    return "<" + name + "{" + (d.zeros ? "Y" : "N") + (d.future ? "F" : "P") + Padded(d.offset, 3) +
           "}>";
  }
  std::string operator()(const DelayParams& d) const {
    if (d.unit == DelayUnit::Milliseconds)
      return std::string(Kw(Command::MilliDelay)) + Padded(std::llround(d.amount), 4) + ">";
    return std::string(Kw(Command::Delay)) + FixedReal5(d.amount) + ">";
  }
  std::string operator()(const PauseParams& p) const {
    if (p.kind != 2) return std::string(Kw(Command::Pause));
    return std::string(Kw(Command::PauseAt)) + Padded(p.top, 3) + "," + Padded(p.left, 3) +
           p.message + ">";
  }
  std::string operator()(const RepeatParams& r) const {
    switch (r.kind) {
      case repeat::kPromptStart: return std::string(Kw(Command::PromptRepeat));
      case repeat::kEnd: return std::string(Kw(Command::EndRepeat));
      case repeat::kCounter: {
        const int width = r.value < 1 ? 1 : r.value > 4 ? 4 : r.value;
        return std::string(Kw(Command::Counter, static_cast<uint8_t>(width)));
      }
      default: return std::string(Kw(Command::Repeat)) + Padded(r.value, 4) + ">";
    }
  }
  std::string operator()(const SpeedParams& s) const {
    if (s.kind == speed::kPlayback) return std::string(Kw(Command::Speed)) + FixedReal5(s.factor) + ">";
    const Command c = s.kind == speed::kMouse ? Command::MouseSpeed : Command::KeySpeed;
    return std::string(Kw(c)) + Padded(s.milliseconds, 4) + ">";
  }
  std::string operator()(const ProgramParams& p) const {
    switch (p.kind) {
      case program::kLaunch:
        return std::string(Kw(Command::Launch)) + ProgramTextOf(p) + ">";
      case program::kLaunchAndActivate:
      case program::kActivateOrLaunch: {
        const Command c = p.kind == program::kLaunchAndActivate ? Command::LaunchWait
                                                                : Command::LaunchOrActivate;
        return std::string(Kw(c)) + Padded(p.delay, 2) + p.title + std::string(Kw(Command::Launch)) +
               ProgramTextOf(p) + ">";
      }
      default: return std::string(Kw(Command::Activate)) + p.title + ">";
    }
  }
  std::string operator()(const SoundParams& s) const {
    if (s.kind == sound::kBeep) return std::string(Kw(Command::Beep));
    return std::string(Kw(s.wait ? Command::WaveWait : Command::WaveAsync)) + s.path + ">";
  }
  std::string operator()(const StringParams& s) const {
    Command c = Command::Remark;
    switch (s.command) {
      case cmd::kLoadMacroFile: c = Command::SwapFile; break;
      case cmd::kLoadTextFile: c = Command::TextFile; break;
      case cmd::kWebSite: c = Command::Http; break;
      case cmd::kWebFtp: c = Command::Ftp; break;
      default: break;
    }
    return std::string(Kw(c)) + s.text + ">";
  }
  std::string operator()(const SizePositionParams& s) const {
    const Command c = s.kind == sizepos::kReposition ? Command::WindowMove : Command::WindowSize;
    return std::string(Kw(c)) + Padded(s.first, 4) + "," + Padded(s.second, 4) +
           WindowField(s.current, s.title) + ">";
  }
  std::string operator()(const WindowParams& w) const {
    static constexpr Command kByKind[] = {Command::WindowMaximize, Command::WindowMinimize,
                                          Command::WindowRestore,  Command::WindowClose,
                                          Command::WindowHide,     Command::WindowShow,
                                          Command::WindowShut};
    const int k = w.kind >= 1 && w.kind <= 7 ? w.kind : 1;
    return std::string(Kw(kByKind[k - 1])) + WindowField(w.current, w.title) + ">";
  }
  std::string operator()(const MouseParams& m) const {
    switch (m.action) {
      case mouse_action::kMove: {
        const Command c = m.relative ? Command::MouseMoveWindow : Command::MouseMoveScreen;
        return std::string(Kw(c)) + Padded(m.x, 5) + "," + Padded(m.y, 5) + ">";
      }
      case mouse_action::kWheelForward:
      case mouse_action::kWheelBackward: {
        const Command c = m.action == mouse_action::kWheelForward ? Command::WheelForward
                                                                  : Command::WheelBackward;
        return std::string(Kw(c)) + Padded(m.clicks, 3) + ">";
      }
      default: break;
    }
    if (m.action < mouse_action::kLeftClick || m.action > mouse_action::kMiddleUp) return {};
    static constexpr Command kByPlace[] = {Command::MouseClick, Command::MouseDoubleClick,
                                           Command::MouseDown, Command::MouseUp};
    const int button = (m.action - mouse_action::kLeftClick) / 4 + 1;  // 1 left, 2 right, 3 middle
    return std::string(Kw(kByPlace[(m.action - mouse_action::kLeftClick) % 4],
                          static_cast<uint8_t>(button)));
  }
  std::string operator()(const ClipboardParams& c) const {
    switch (c.kind) {
      case clip::kStartCopy: return std::string(Kw(Command::ClipBegin));
      case clip::kEndCopy: return std::string(Kw(Command::ClipEnd));
      case clip::kFileCopy: return std::string(Kw(Command::ClipFile)) + c.path + ">";
      case clip::kPaste: return std::string(Kw(Command::ClipPaste));
      default: return std::string(Kw(Command::ClipCopy));
    }
  }
  std::string operator()(const ModifierParams& m) const {
    static constexpr Command kByCode[] = {Command::CtrlDown,  Command::CtrlUp,  Command::AltDown,
                                          Command::AltUp,     Command::ShiftDown, Command::ShiftUp,
                                          Command::WinDown,   Command::WinUp};
    if (m.code < 1 || m.code > 8) return {};
    return std::string(Kw(kByCode[m.code - 1]));
  }
  std::string operator()(const FileParams& f) const {
    switch (f.kind) {
      case file::kCopy: return std::string(Kw(Command::CopyFile)) + f.first + ";" + f.second + ">";
      case file::kRename: return std::string(Kw(Command::RenameFile)) + f.first + ";" + f.second + ">";
      case file::kDelete: return std::string(Kw(Command::DeleteFile)) + f.first + ">";
      default: return std::string(Kw(Command::ChangeDir)) + f.first + ">";
    }
  }
};

// ---- Reading -------------------------------------------------------------

// The line a recognised token makes; nothing when the token belongs in the
// text run: keys and character codes, and tokens whose values the record
// cannot hold exactly (the player gives a malformed number no effect, so
// it must stay as it stands).
std::optional<Params> ParamsOfToken(const Token& t, std::string_view source) {
  const uint8_t code = t.keyword ? t.keyword->code : 0;
  switch (t.command) {
    case Command::NamedKey:
    case Command::OneShotShift:
    case Command::OneShotCtrl:
    case Command::ToggleAlt:
    case Command::AltCode3:
    case Command::AltCode4:
    case Command::Test:
      return std::nullopt;

    case Command::CtrlDown: return ModifierParams{1};
    case Command::CtrlUp: return ModifierParams{2};
    case Command::AltDown: return ModifierParams{3};
    case Command::AltUp: return ModifierParams{4};
    case Command::ShiftDown: return ModifierParams{5};
    case Command::ShiftUp: return ModifierParams{6};
    case Command::WinDown: return ModifierParams{7};
    case Command::WinUp: return ModifierParams{8};

    case Command::Delay:
      if (!t.fields_valid) return std::nullopt;
      return DelayParams{DelayUnit::Seconds, t.real[0]};
    case Command::MilliDelay:
      if (!t.fields_valid) return std::nullopt;
      return DelayParams{DelayUnit::Milliseconds, static_cast<double>(t.number[0])};
    case Command::Speed:
      if (!t.fields_valid) return std::nullopt;
      return SpeedParams{speed::kPlayback, 0, t.real[0]};
    case Command::KeySpeed:
    case Command::MouseSpeed:
      if (!t.fields_valid) return std::nullopt;
      return SpeedParams{t.command == Command::KeySpeed ? speed::kKeystroke : speed::kMouse,
                         t.number[0], 1.0};

    case Command::Repeat:
      if (!t.fields_valid) return std::nullopt;
      return RepeatParams{repeat::kStart, t.number[0]};
    case Command::PromptRepeat: return RepeatParams{repeat::kPromptStart, 0};
    case Command::EndRepeat: return RepeatParams{repeat::kEnd, 0};
    case Command::Counter: return RepeatParams{repeat::kCounter, code};

    case Command::Pause: return PauseParams{1, 0, 0, {}};
    case Command::PauseAt:
      if (!t.fields_valid) return std::nullopt;
      return PauseParams{2, t.number[1], t.number[0], std::string(t.text[0])};
    case Command::Remark: return StringParams{cmd::kRemark, std::string(t.text[0])};

    case Command::Activate:
      return ProgramParams{program::kActivate, std::string(t.text[0]), {}, {}, 0};
    case Command::Launch:
    case Command::LaunchWait:
    case Command::LaunchOrActivate: {
      if (!t.fields_valid) return std::nullopt;
      const bool waits = t.command != Command::Launch;
      const ProgramText parts = SplitProgramText(t.text[waits ? 1 : 0]);
      // A path that itself holds the marker's beginning would be read
      // differently once written back.
      if (parts.program.find("<PARAM") != std::string_view::npos) return std::nullopt;
      ProgramParams p;
      p.kind = t.command == Command::Launch       ? program::kLaunch
               : t.command == Command::LaunchWait ? program::kLaunchAndActivate
                                                  : program::kActivateOrLaunch;
      if (waits) {
        p.title.assign(t.text[0]);
        p.delay = t.number[0];
      }
      p.path.assign(parts.program);
      p.parameters.assign(parts.arguments);
      return p;
    }

    case Command::WindowShow:
    case Command::WindowHide:
    case Command::WindowShut:
    case Command::WindowMaximize:
    case Command::WindowMinimize:
    case Command::WindowRestore:
    case Command::WindowClose: {
      WindowParams w;
      switch (t.command) {
        case Command::WindowShow: w.kind = window::kShow; break;
        case Command::WindowHide: w.kind = window::kHide; break;
        case Command::WindowShut: w.kind = window::kShutDown; break;
        case Command::WindowMinimize: w.kind = window::kMinimize; break;
        case Command::WindowRestore: w.kind = window::kRestore; break;
        case Command::WindowClose: w.kind = window::kClose; break;
        default: w.kind = window::kMaximize; break;
      }
      w.current = t.text[0] == kCurrentWindow;
      if (!w.current) w.title.assign(t.text[0]);
      return w;
    }
    case Command::WindowSize:
    case Command::WindowMove: {
      if (!t.fields_valid) return std::nullopt;
      SizePositionParams s;
      s.kind = t.command == Command::WindowSize ? sizepos::kResize : sizepos::kReposition;
      s.current = t.text[0] == kCurrentWindow;
      if (!s.current) s.title.assign(t.text[0]);
      s.first = t.number[0];
      s.second = t.number[1];
      return s;
    }

    case Command::MouseDown:
    case Command::MouseUp:
    case Command::MouseClick:
    case Command::MouseDoubleClick: {
      const int place = t.command == Command::MouseClick         ? 0
                        : t.command == Command::MouseDoubleClick ? 1
                        : t.command == Command::MouseDown        ? 2
                                                                 : 3;
      return MouseParams{0, 0, 0, mouse_action::kLeftClick + 4 * (code - 1) + place, true};
    }
    case Command::WheelForward:
    case Command::WheelBackward:
      if (!t.fields_valid) return std::nullopt;
      return MouseParams{0, 0, t.number[0],
                         t.command == Command::WheelForward ? mouse_action::kWheelForward
                                                            : mouse_action::kWheelBackward,
                         false};
    case Command::MouseMoveScreen:
    case Command::MouseMoveWindow: {
      // The player reads the coordinates as real numbers; the record holds
      // whole ones, so only digits make a line.
      const size_t at = t.keyword->text.size();
      const auto x = ParseFixedInt(source.substr(at, 5));
      const auto y = ParseFixedInt(source.substr(at + 6, 5));
      if (!t.fields_valid || !x || !y) return std::nullopt;
      return MouseParams{*x, *y, 0, mouse_action::kMove, t.command == Command::MouseMoveWindow};
    }

    case Command::ClipCopy: return ClipboardParams{clip::kCopy, {}};
    case Command::ClipPaste: return ClipboardParams{clip::kPaste, {}};
    case Command::ClipBegin: return ClipboardParams{clip::kStartCopy, {}};
    case Command::ClipEnd: return ClipboardParams{clip::kEndCopy, {}};
    case Command::ClipFile: return ClipboardParams{clip::kFileCopy, std::string(t.text[0])};

    case Command::TextFile: return StringParams{cmd::kLoadTextFile, std::string(t.text[0])};
    case Command::SwapFile: return StringParams{cmd::kLoadMacroFile, std::string(t.text[0])};
    case Command::Http: return StringParams{cmd::kWebSite, std::string(t.text[0])};
    case Command::Ftp: return StringParams{cmd::kWebFtp, std::string(t.text[0])};
    case Command::ChangeDir: return FileParams{file::kChangeDirectory, std::string(t.text[0]), {}};
    case Command::DeleteFile: return FileParams{file::kDelete, std::string(t.text[0]), {}};
    case Command::CopyFile:
    case Command::RenameFile:
      return FileParams{t.command == Command::CopyFile ? file::kCopy : file::kRename,
                        std::string(t.text[0]), std::string(t.text[1])};
    case Command::WaveWait:
    case Command::WaveAsync:
      return SoundParams{sound::kWave, std::string(t.text[0]), t.command == Command::WaveWait};
    case Command::Beep: return SoundParams{sound::kBeep, {}, true};

    case Command::Date: {
      if (!t.fields_valid) return std::nullopt;
      DateTimeParams d;
      d.is_date = true;
      d.format = t.format;
      d.zeros = t.zeros;
      d.offset = std::abs(t.day_offset);
      // Long form: "<" name "{" flag direction ddd "}>"; the direction is
      // the character after the flag.
      const size_t name = kDateFormats[static_cast<size_t>(t.format - 1)].size();
      d.future = !(source.size() == name + 9 && source[name + 3] == 'P');
      return d;
    }
    case Command::Time: return DateTimeParams{false, t.format, t.zeros, true, 0};
  }
  return std::nullopt;
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  std::vector<ScriptLine> Run() {
    size_t pos = 0;
    while (pos < text_.size()) {
      if (text_[pos] != '<') {
        run_ += text_[pos++];
        continue;
      }
      const std::optional<Token> token = MatchToken(text_, pos);
      if (!token) {
        run_ += '<';
        ++pos;
        continue;
      }
      std::string_view source = text_.substr(pos, token->length);
      if (token->command == Command::ClipBegin && token->fields_valid) {
        // The text up to "<ENDCLIP>" goes to the clipboard as it stands,
        // tokens and all: it is text, not commands.
        source = token->keyword->text;
        Add(ClipboardParams{clip::kStartCopy, {}}, source);
        run_.assign(token->text[0]);
        pos += token->length;
        continue;
      }
      if (std::optional<Params> params = ParamsOfToken(*token, source)) {
        Add(std::move(*params), source);
      } else {
        run_.append(source);
      }
      pos += token->length;
    }
    Flush();
    return std::move(lines_);
  }

 private:
  void Flush() {
    if (run_.empty()) return;
    TextRun t{std::move(run_)};
    run_.clear();
    std::string display = DisplayText(t, DisplayFor::Reader);
    lines_.push_back({std::move(display), std::move(t), {}});
  }
  void Add(Params params, std::string_view source) {
    Flush();
    std::string display = DisplayText(params, DisplayFor::Reader);
    lines_.push_back({std::move(display), std::move(params), std::string(source)});
  }

  std::string_view text_;
  std::string run_;
  std::vector<ScriptLine> lines_;
};

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

constexpr std::string_view kModifierKeyNames[] = {"Control Key", "Alt Key", "Shift Key", "Win Key"};

}  // namespace

std::string DisplayText(const Params& params, DisplayFor who) {
  std::string s = std::visit(DisplayVisitor{who}, params);
  if (s.size() > kMaxLineText) s.resize(kMaxLineText);
  return s;
}

std::string DateExample(int format) { return DateText(format, true, kSampleMoment); }
std::string TimeExample(int format) { return TimeText(format, false, kSampleMoment); }

std::vector<ScriptLine> BuildTheScript(std::string_view macro_text) { return Reader(macro_text).Run(); }

void SetIndents(std::vector<ScriptLine>& lines) {
  int indent = 0;
  for (ScriptLine& line : lines) {
    const std::string l(Trim(line.text));
    int closes = 0, opens = 0;
    if (StartsWith(l, "Repeat End")) ++closes;
    if (StartsWith(l, "Clipboard End Copy")) ++closes;
    if (StartsWith(l, "Clipboard Start Copy")) ++opens;
    if (StartsWith(l, "Repeat Start")) ++opens;
    if (StartsWith(l, "Repeat Prompt Start")) ++opens;
    for (std::string_view key : kModifierKeyNames) {
      if (StartsWith(l, std::string(key) + " Up")) ++closes;
      if (StartsWith(l, std::string(key) + " Down")) ++opens;
    }
    indent -= 3 * closes;
    if (indent < 0) indent = 0;
    line.text = std::string(static_cast<size_t>(indent), ' ') + l;
    indent += 3 * opens;
  }
}

std::string TokenOf(const Params& params) { return std::visit(TokenVisitor{}, params); }

std::string WriteScript(const std::vector<ScriptLine>& lines) {
  std::string text;
  for (const ScriptLine& line : lines) {
    const ScriptCommand* c = CommandOfLine(line.text);
    if (!c || c->group != GroupOf(line.params)) continue;
    text += line.source.empty() ? TokenOf(line.params) : line.source;
  }
  return text;
}

std::string TruncationMessage() {
  const std::string limit = std::to_string(kMacroTextLimit);
  return "The size of the macro exceeds the " + limit + " character limit.  The macro " +
         "will be truncated to " + limit + " characters.";
}

ScriptLine LineFromDialog(Params params) {
  std::string display = DisplayText(params, DisplayFor::Dialog);
  return {std::move(display), std::move(params), {}};
}

}  // namespace qlx::editor
