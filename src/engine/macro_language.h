#pragma once
// The macro text language, defined once: every keyword with its parameter
// layout, the named-key codes and the date and time format names. The
// player, capture, the script editor and the command dialogs all read and
// write macro text through this table.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qlx {

// What a token does. Named keys share one command; their code is the key.
enum class Command : uint8_t {
  NamedKey,
  ShiftDown, ShiftUp, CtrlDown, CtrlUp, AltDown, AltUp, WinDown, WinUp,
  OneShotShift, OneShotCtrl, ToggleAlt,
  AltCode3, AltCode4,
  Delay, MilliDelay, Speed, KeySpeed, MouseSpeed,
  Repeat, PromptRepeat, EndRepeat, Counter,
  Pause, PauseAt, Remark, Test,
  Activate, Launch, LaunchWait, LaunchOrActivate,
  WindowShow, WindowHide, WindowShut, WindowSize, WindowMove,
  WindowMaximize, WindowMinimize, WindowRestore, WindowClose,
  MouseDown, MouseUp, MouseClick, MouseDoubleClick,
  WheelForward, WheelBackward, MouseMoveScreen, MouseMoveWindow,
  ClipCopy, ClipPaste, ClipBegin, ClipEnd, ClipFile,
  TextFile, SwapFile, ChangeDir, DeleteFile, CopyFile, RenameFile,
  WaveWait, WaveAsync, Beep, Http, Ftp,
  Date, Time,
};

// How the characters after a keyword are read. Fields start right after the
// keyword; a fixed-width form also requires its `>` at a fixed position.
enum class ParamForm : uint8_t {
  None,          // the keyword ends with its own `>`
  Int,           // `width` digits, then `>`
  Real,          // five characters of decimal number, then `>`
  RealPair,      // real, one separator, real, then `>`
  FreeText,      // up to the next `>`, or to the end of the text
  IntPairTitle,  // `width` digits, separator, `width` digits, title
  PauseAt,       // three digits, separator, three digits, message
  Program,       // program text with the <PARAM> rule
  LaunchWait,    // two digits, title up to `<`, "<LAUNCH:", program text
  Pair,          // first part up to `;`, second up to `>`
  ClipBody,      // no parameter; the text up to "<ENDCLIP>" is the body
};

struct Keyword {
  std::string_view text;  // from `<` to `>` or `:` inclusive
  Command command;
  ParamForm form;
  uint8_t width;  // digits of each integer field
  uint8_t code;   // key code, counter width or mouse button (1 L, 2 R, 3 M)
};

// Virtual keys the language itself names.
namespace vk {
inline constexpr uint8_t kRightMouse = 2, kMiddleMouse = 4, kBackspace = 8, kTab = 9,
                         kEnter = 13, kShift = 16, kCtrl = 17, kAlt = 18, kCapsLock = 20,
                         kEscape = 27, kSpace = 32, kLeftWin = 91, kRightWin = 92,
                         kNumpad0 = 96;
}  // namespace vk

inline constexpr Keyword kKeywords[] = {
    // Named keys.
    {"<TAB>", Command::NamedKey, ParamForm::None, 0, 9},
    {"<ENTER>", Command::NamedKey, ParamForm::None, 0, 13},
    {"<BACKSPACE>", Command::NamedKey, ParamForm::None, 0, 8},
    {"<ESC>", Command::NamedKey, ParamForm::None, 0, 27},
    {"<SPACE>", Command::NamedKey, ParamForm::None, 0, 32},
    {"<LEFT ARROW>", Command::NamedKey, ParamForm::None, 0, 37},
    {"<UP ARROW>", Command::NamedKey, ParamForm::None, 0, 38},
    {"<RIGHT ARROW>", Command::NamedKey, ParamForm::None, 0, 39},
    {"<DOWN ARROW>", Command::NamedKey, ParamForm::None, 0, 40},
    {"<PAGE UP>", Command::NamedKey, ParamForm::None, 0, 33},
    {"<PAGE DOWN>", Command::NamedKey, ParamForm::None, 0, 34},
    {"<END>", Command::NamedKey, ParamForm::None, 0, 35},
    {"<HOME>", Command::NamedKey, ParamForm::None, 0, 36},
    {"<INSERT>", Command::NamedKey, ParamForm::None, 0, 45},
    {"<DELETE>", Command::NamedKey, ParamForm::None, 0, 46},
    {"<PRTSCR>", Command::NamedKey, ParamForm::None, 0, 44},
    {"<LEFTWIN>", Command::NamedKey, ParamForm::None, 0, 91},
    {"<RIGHTWIN>", Command::NamedKey, ParamForm::None, 0, 92},
    {"<APP>", Command::NamedKey, ParamForm::None, 0, 93},
    {"<F1>", Command::NamedKey, ParamForm::None, 0, 112},
    {"<F2>", Command::NamedKey, ParamForm::None, 0, 113},
    {"<F3>", Command::NamedKey, ParamForm::None, 0, 114},
    {"<F4>", Command::NamedKey, ParamForm::None, 0, 115},
    {"<F5>", Command::NamedKey, ParamForm::None, 0, 116},
    {"<F6>", Command::NamedKey, ParamForm::None, 0, 117},
    {"<F7>", Command::NamedKey, ParamForm::None, 0, 118},
    {"<F8>", Command::NamedKey, ParamForm::None, 0, 119},
    {"<F9>", Command::NamedKey, ParamForm::None, 0, 120},
    {"<F10>", Command::NamedKey, ParamForm::None, 0, 121},
    {"<F11>", Command::NamedKey, ParamForm::None, 0, 122},
    {"<F12>", Command::NamedKey, ParamForm::None, 0, 123},
    {"<F13>", Command::NamedKey, ParamForm::None, 0, 124},
    {"<F14>", Command::NamedKey, ParamForm::None, 0, 125},
    {"<F15>", Command::NamedKey, ParamForm::None, 0, 126},
    {"<F16>", Command::NamedKey, ParamForm::None, 0, 127},
    {"<F17>", Command::NamedKey, ParamForm::None, 0, 128},
    {"<F18>", Command::NamedKey, ParamForm::None, 0, 129},
    {"<F19>", Command::NamedKey, ParamForm::None, 0, 130},
    {"<F20>", Command::NamedKey, ParamForm::None, 0, 131},
    {"<F21>", Command::NamedKey, ParamForm::None, 0, 132},
    {"<F22>", Command::NamedKey, ParamForm::None, 0, 133},
    {"<F23>", Command::NamedKey, ParamForm::None, 0, 134},
    {"<F24>", Command::NamedKey, ParamForm::None, 0, 135},
    {"<KEYP0>", Command::NamedKey, ParamForm::None, 0, 96},
    {"<KEYP1>", Command::NamedKey, ParamForm::None, 0, 97},
    {"<KEYP2>", Command::NamedKey, ParamForm::None, 0, 98},
    {"<KEYP3>", Command::NamedKey, ParamForm::None, 0, 99},
    {"<KEYP4>", Command::NamedKey, ParamForm::None, 0, 100},
    {"<KEYP5>", Command::NamedKey, ParamForm::None, 0, 101},
    {"<KEYP6>", Command::NamedKey, ParamForm::None, 0, 102},
    {"<KEYP7>", Command::NamedKey, ParamForm::None, 0, 103},
    {"<KEYP8>", Command::NamedKey, ParamForm::None, 0, 104},
    {"<KEYP9>", Command::NamedKey, ParamForm::None, 0, 105},
    {"<KEYP*>", Command::NamedKey, ParamForm::None, 0, 106},
    {"<KEYP+>", Command::NamedKey, ParamForm::None, 0, 107},
    {"<KEYP->", Command::NamedKey, ParamForm::None, 0, 109},
    {"<KEYP.>", Command::NamedKey, ParamForm::None, 0, 110},
    {"<KEYP/>", Command::NamedKey, ParamForm::None, 0, 111},
    {"<ATTN>", Command::NamedKey, ParamForm::None, 0, 246},
    {"<CRSEL>", Command::NamedKey, ParamForm::None, 0, 247},
    {"<EXSEL>", Command::NamedKey, ParamForm::None, 0, 248},
    {"<EREOF>", Command::NamedKey, ParamForm::None, 0, 249},
    {"<PLAY>", Command::NamedKey, ParamForm::None, 0, 250},
    {"<ZOOM>", Command::NamedKey, ParamForm::None, 0, 251},
    {"<PA1>", Command::NamedKey, ParamForm::None, 0, 253},
    {"<RIGHT MOUSE>", Command::NamedKey, ParamForm::None, 0, vk::kRightMouse},
    {"<MIDDLE MOUSE>", Command::NamedKey, ParamForm::None, 0, vk::kMiddleMouse},
    // Modifiers.
    {"<SHFD>", Command::ShiftDown, ParamForm::None, 0, vk::kShift},
    {"<SHFU>", Command::ShiftUp, ParamForm::None, 0, vk::kShift},
    {"<CTLD>", Command::CtrlDown, ParamForm::None, 0, vk::kCtrl},
    {"<CTLU>", Command::CtrlUp, ParamForm::None, 0, vk::kCtrl},
    {"<ALTD>", Command::AltDown, ParamForm::None, 0, vk::kAlt},
    {"<ALTU>", Command::AltUp, ParamForm::None, 0, vk::kAlt},
    {"<WIND>", Command::WinDown, ParamForm::None, 0, vk::kLeftWin},
    {"<WINU>", Command::WinUp, ParamForm::None, 0, vk::kLeftWin},
    {"<SHIFT>", Command::OneShotShift, ParamForm::None, 0, vk::kShift},
    {"<CTRL>", Command::OneShotCtrl, ParamForm::None, 0, vk::kCtrl},
    {"<ALT>", Command::ToggleAlt, ParamForm::None, 0, vk::kAlt},
    // Character codes.
    {"<ALT:", Command::AltCode3, ParamForm::Int, 3, 0},
    {"<ALT4:", Command::AltCode4, ParamForm::Int, 4, 0},
    // Timing.
    {"<DELAY:", Command::Delay, ParamForm::Real, 5, 0},
    {"<MSD:", Command::MilliDelay, ParamForm::Int, 4, 0},
    {"<SPEED:", Command::Speed, ParamForm::Real, 5, 0},
    {"<SPKEY:", Command::KeySpeed, ParamForm::Int, 4, 0},
    {"<SPMSE:", Command::MouseSpeed, ParamForm::Int, 4, 0},
    // Flow.
    {"<REPEAT:", Command::Repeat, ParamForm::Int, 4, 0},
    {"<PROMPTREP>", Command::PromptRepeat, ParamForm::None, 0, 0},
    {"<ENDREP>", Command::EndRepeat, ParamForm::None, 0, 0},
    {"<I>", Command::Counter, ParamForm::None, 0, 1},
    {"<II>", Command::Counter, ParamForm::None, 0, 2},
    {"<III>", Command::Counter, ParamForm::None, 0, 3},
    {"<IIII>", Command::Counter, ParamForm::None, 0, 4},
    {"<PAUSE>", Command::Pause, ParamForm::None, 0, 0},
    {"<PAUSE:", Command::PauseAt, ParamForm::PauseAt, 3, 0},
    {"<REM:", Command::Remark, ParamForm::FreeText, 0, 0},
    {"<TEST>", Command::Test, ParamForm::None, 0, 0},
    // Windows and programs.
    {"<ACTIVATE:", Command::Activate, ParamForm::FreeText, 0, 0},
    {"<LAUNCH:", Command::Launch, ParamForm::Program, 0, 0},
    {"<LAUNCHNO:", Command::LaunchWait, ParamForm::LaunchWait, 2, 0},
    {"<LAUNCHYES:", Command::LaunchOrActivate, ParamForm::LaunchWait, 2, 0},
    {"<WSHOW:", Command::WindowShow, ParamForm::FreeText, 0, 0},
    {"<WHIDE:", Command::WindowHide, ParamForm::FreeText, 0, 0},
    {"<WSHUT:", Command::WindowShut, ParamForm::FreeText, 0, 0},
    {"<WSIZE:", Command::WindowSize, ParamForm::IntPairTitle, 4, 0},
    {"<WPOS:", Command::WindowMove, ParamForm::IntPairTitle, 4, 0},
    {"<WMAX:", Command::WindowMaximize, ParamForm::FreeText, 0, 0},
    {"<WMIN:", Command::WindowMinimize, ParamForm::FreeText, 0, 0},
    {"<WRES:", Command::WindowRestore, ParamForm::FreeText, 0, 0},
    {"<WCLS:", Command::WindowClose, ParamForm::FreeText, 0, 0},
    // Mouse.
    {"<LDN>", Command::MouseDown, ParamForm::None, 0, 1},
    {"<LUP>", Command::MouseUp, ParamForm::None, 0, 1},
    {"<LCLK>", Command::MouseClick, ParamForm::None, 0, 1},
    {"<LDCLK>", Command::MouseDoubleClick, ParamForm::None, 0, 1},
    {"<RDN>", Command::MouseDown, ParamForm::None, 0, 2},
    {"<RUP>", Command::MouseUp, ParamForm::None, 0, 2},
    {"<RCLK>", Command::MouseClick, ParamForm::None, 0, 2},
    {"<RDCLK>", Command::MouseDoubleClick, ParamForm::None, 0, 2},
    {"<MDN>", Command::MouseDown, ParamForm::None, 0, 3},
    {"<MUP>", Command::MouseUp, ParamForm::None, 0, 3},
    {"<MCLK>", Command::MouseClick, ParamForm::None, 0, 3},
    {"<MDCLK>", Command::MouseDoubleClick, ParamForm::None, 0, 3},
    {"<WFW:", Command::WheelForward, ParamForm::Int, 3, 0},
    {"<WBW:", Command::WheelBackward, ParamForm::Int, 3, 0},
    {"<MMS:", Command::MouseMoveScreen, ParamForm::RealPair, 5, 0},
    {"<MMW:", Command::MouseMoveWindow, ParamForm::RealPair, 5, 0},
    // Clipboard.
    {"<CLIPC>", Command::ClipCopy, ParamForm::None, 0, 0},
    {"<CLIPP>", Command::ClipPaste, ParamForm::None, 0, 0},
    {"<BEGCLIP>", Command::ClipBegin, ParamForm::ClipBody, 0, 0},
    {"<ENDCLIP>", Command::ClipEnd, ParamForm::None, 0, 0},
    {"<CLIPF:", Command::ClipFile, ParamForm::FreeText, 0, 0},
    // Files, sound, web and macro files.
    {"<TFILE:", Command::TextFile, ParamForm::FreeText, 0, 0},
    {"<SWAP:", Command::SwapFile, ParamForm::FreeText, 0, 0},
    {"<CHDIR:", Command::ChangeDir, ParamForm::FreeText, 0, 0},
    {"<DELFILE:", Command::DeleteFile, ParamForm::FreeText, 0, 0},
    {"<COPYFILE:", Command::CopyFile, ParamForm::Pair, 0, 0},
    {"<RENFILE:", Command::RenameFile, ParamForm::Pair, 0, 0},
    {"<WAV1:", Command::WaveWait, ParamForm::FreeText, 0, 0},
    {"<WAV2:", Command::WaveAsync, ParamForm::FreeText, 0, 0},
    {"<BEEP>", Command::Beep, ParamForm::None, 0, 0},
    {"<HTTP:", Command::Http, ParamForm::FreeText, 0, 0},
    {"<FTP:", Command::Ftp, ParamForm::FreeText, 0, 0},
};

inline constexpr size_t kKeywordCount = std::size(kKeywords);

// Position of the fixed `>` counted from the token's `<`, or -1 when the
// token ends at the first `>` after its fields.
constexpr int ClosingPosition(const Keyword& k) {
  const int len = static_cast<int>(k.text.size());
  switch (k.form) {
    case ParamForm::Int: return len + k.width;
    case ParamForm::Real: return len + 5;
    case ParamForm::RealPair: return len + 11;
    default: return -1;
  }
}

// Date and time format names; a name's 1-based position is its number.
inline constexpr std::array<std::string_view, 51> kDateFormats = {
    "MM/DD/YY", "MM-DD-YY", "MM.DD.YY", "MM/DD/YYYY", "MM-DD-YYYY", "MM.DD.YYYY",
    "DD/MM/YY", "DD-MM-YY", "DD.MM.YY", "DD/MM/YYYY", "DD-MM-YYYY", "DD.MM.YYYY",
    "YY/MM/DD", "YY-MM-DD", "YY.MM.DD", "YYYY/MM/DD", "YYYY-MM-DD", "YYYY.MM.DD",
    "MMM YYYY", "Mmm YYYY", "DD MMM YY", "DD Mmm YY", "DD MMM YYYY", "DD Mmm YYYY",
    "DD Mmmmm YY", "DD Mmmmm YYYY", "Mmm DD YY", "Mmm DD, YY", "Mmm DD YYYY",
    "Mmm DD, YYYY", "Mmmmm DD YY", "Mmmmm DD, YY", "Mmmmm DD YYYY", "Mmmmm DD, YYYY",
    "MMDDYY", "MMDDYYYY", "DDMMYY", "DDMMYYYY", "YYMMDD", "YYYYMMDD", "DD", "MM", "Mmm",
    "MMM", "Mmmmm", "YY", "YYYY", "Day of Week 1", "Day of Week 2", "Day of Week 3",
    "Day of Week 4",
};
inline constexpr std::array<std::string_view, 26> kTimeFormats = {
    "hh:mm", "hh.mm", "hh,mm", "hhmm", "hh:mm:ss", "hh.mm.ss", "hh,mm,ss", "hhmmss", "hh",
    "mm", "ss", "hh:mm am", "hh.mm am", "hh,mm am", "hh:mm:ss am", "hh.mm.ss am",
    "hh,mm,ss am", "hh:mm AM", "hh.mm AM", "hh,mm AM", "hh:mm:ss AM", "hh.mm.ss AM",
    "hh,mm,ss AM", "hh:mma", "hh.mma", "hh,mma",
};
inline constexpr size_t kMaxFormatName = 15;

// The keyword of a command; `code` tells apart the keywords one command
// shares (the named key, the counter width, the mouse button). Null when
// the language has no such keyword.
constexpr const Keyword* FindKeyword(Command command, uint8_t code = 0) {
  for (const Keyword& k : kKeywords)
    if (k.command == command && (code == 0 || k.code == code)) return &k;
  return nullptr;
}
// The text of a keyword the language certainly has (checked at compile
// time where the arguments are constants).
constexpr std::string_view KeywordText(Command command, uint8_t code = 0) {
  const Keyword* k = FindKeyword(command, code);
  return k ? k->text : std::string_view();
}

// True when no keyword begins with another one, so the order in which
// keywords are tried can never change what a text means.
constexpr bool KeywordsArePrefixFree() {
  for (const Keyword& a : kKeywords)
    for (const Keyword& b : kKeywords)
      if (&a != &b && b.text.size() >= a.text.size() && b.text.substr(0, a.text.size()) == a.text)
        return false;
  return true;
}
static_assert(KeywordsArePrefixFree());

// One token found in macro text.
struct Token {
  Command command = Command::Test;
  const Keyword* keyword = nullptr;  // null for date and time tokens
  size_t length = 0;                 // characters from `<` through the token's end
  // False when a fixed-width number holds something else than digits: the
  // token is still consumed, but it has no effect.
  bool fields_valid = true;
  int32_t number[2] = {0, 0};
  double real[2] = {0, 0};
  // Free text: title, path, message or program text (the digits as written
  // for a one-integer token); the second part of a pair; the program text
  // of the launch-and-wait tokens.
  std::string_view text[2];
  // Date and time tokens.
  uint8_t format = 0;  // 1-based number in its table
  bool zeros = false;
  int16_t day_offset = 0;
};

// The token that starts at `pos` (which must hold `<`), or nothing when the
// `<` is a literal character.
std::optional<Token> MatchToken(std::string_view text, size_t pos);

// Splits program text at the first "<PARAM>" into program and arguments.
struct ProgramText {
  std::string_view program;
  std::string_view arguments;
};
ProgramText SplitProgramText(std::string_view program_text);

inline constexpr std::string_view kParamMarker = "<PARAM>";
inline constexpr std::string_view kEndRepeat = "<ENDREP>";
inline constexpr std::string_view kEndClip = "<ENDCLIP>";
inline constexpr std::string_view kLaunchKeyword = "<LAUNCH:";
inline constexpr std::string_view kCurrentWindow = "\"CURRENT\"";

// Reads fixed-width fields; nothing when a character is out of place.
std::optional<int32_t> ParseFixedInt(std::string_view digits);
std::optional<double> ParseFixedReal(std::string_view chars);

}  // namespace qlx
