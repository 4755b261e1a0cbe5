#include "engine/player.h"

#include <cmath>
#include <iterator>
#include <optional>
#include <utility>

namespace qlx {
namespace {

// Left and right modifier keys the user may still hold from a hot key.
struct SidedKey {
  uint8_t vk;
  bool extended;
  bool opens_menu;  // releasing it alone activates a menu or the Start menu
  uint8_t pressed_as;  // the key a macro presses for it ("<SHFD>", "<WIND>"...)
};
constexpr SidedKey kSidedModifiers[] = {
    {0xA0, false, false, vk::kShift}, {0xA1, false, false, vk::kShift},
    {0xA2, false, false, vk::kCtrl},  {0xA3, true, false, vk::kCtrl},
    {0xA4, false, true, vk::kAlt},    {0xA5, true, true, vk::kAlt},
    {0x5B, true, true, vk::kLeftWin}, {0x5C, true, true, vk::kRightWin},
};

// Shift states the layout answer may carry that the typer knows how to
// press: none, Shift, Ctrl, Ctrl+Alt, Shift+Ctrl+Alt.
bool PressableShiftState(uint8_t state) {
  return state == 0 || state == 1 || state == 2 || state == 6 || state == 7;
}

std::string CounterDigits(int32_t value, int width) {
  std::string digits = std::to_string(value);
  if (digits.size() < static_cast<size_t>(width))
    digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
  return digits;
}

}  // namespace

Player::Player(const EngineSeams& seams, IPlaybackHost& host, EngineState& state,
               WindowCommands& windows)
    : input_(seams.input),
      desktop_(seams.desktop),
      pump_(seams.pump),
      shell_(seams.shell),
      clipboard_(seams.clipboard),
      files_(seams.files),
      sound_(seams.sound),
      host_(host),
      state_(state),
      windows_(windows),
      waits_(seams.clock, seams.pump, state.AbortRequested) {}

void Player::StartPlayback(std::string_view text, PlaybackEntry entry) {
  // A macro started from inside another one (a hot key pressed while its
  // prompt or message is open, or between two of its steps) is a playback
  // of its own: the interrupted one gets its state back when it continues.
  // Keys the interrupted one holds stay its own, and an abort during the
  // inner playback ends the interrupted one too.
  struct Interrupted {
    Player& p;
    std::optional<EngineState> state;  // set only when a playback is interrupted
    int depth = 0;
    bool caps = false, reported = false;
    KeySet held{}, outer_held{};
    bool outer_caps = false;
    explicit Interrupted(Player& player) : p(player) {
      if (p.depth_ > 0) {
        state = p.state_;
        depth = p.depth_;
        caps = p.caps_toggled_;
        reported = p.abort_reported_;
        held = p.held_;
        outer_held = p.outer_held_;
        outer_caps = p.outer_caps_toggled_;
        for (size_t k = 0; k < p.held_.size(); ++k) p.outer_held_[k] = p.outer_held_[k] || p.held_[k];
        p.outer_caps_toggled_ = p.outer_caps_toggled_ || p.caps_toggled_;
        p.held_ = {};
      }
      p.depth_ = 0;
      p.caps_toggled_ = false;
      p.abort_reported_ = false;
    }
    ~Interrupted() {
      if (!state) return;
      // Dialog flags describe what is on the screen now, not what was.
      state->ShowingMessage = p.state_.ShowingMessage;
      state->ShowingRepeatPrompt = p.state_.ShowingRepeatPrompt;
      state->PauseInProgress = p.state_.PauseInProgress;
      // The abort request stays set until the next top-level playback
      // clears it: it ends the interrupted playback too, whose message the
      // inner one has already shown.
      const bool aborted = p.state_.AbortRequested;
      const bool inner_reported = p.abort_reported_;
      state->AbortRequested = state->AbortRequested || aborted;
      p.state_ = std::move(*state);
      p.depth_ = depth;
      p.caps_toggled_ = caps;
      p.abort_reported_ = reported || (aborted && inner_reported);
      p.held_ = held;
      p.outer_held_ = outer_held;
      p.outer_caps_toggled_ = outer_caps;
    }
  } interrupted(*this);

  state_.AbortRequested = false;
  const std::string copy(text);  // the record may change while it plays
  ReleaseUserModifiers();
  // An interrupted playback that turned Caps Lock off has left it off.
  caps_toggled_ = entry == PlaybackEntry::Triggered && state_.CapsLockWasOn && !outer_caps_toggled_;
  if (caps_toggled_) {
    PostVKey(vk::kCapsLock, false);
    PostVKey(vk::kCapsLock, true);
  }
  state_.FinalPassPending = false;
  state_.InRepeatPass = false;
  state_.PauseShown = false;
  state_.RestoredForPause = false;
  state_.MainHiddenForPause = false;
  state_.MouseDelayOn = false;
  state_.KeyDelayOn = false;
  state_.SpeedFactor = 1.0;
  try {
    DoMacro(copy);
  } catch (...) {
    // A store error thrown out of a command ends the playback, and the
    // keyboard is handed back as at any end before the error is shown.
    EndAfterError();
    throw;
  }
  ReleaseHeldKeys();
}

void Player::EndAfterError() {
  ReleaseHeldKeys();
  if (caps_toggled_) {
    PostVKey(vk::kCapsLock, false);
    PostVKey(vk::kCapsLock, true);
    caps_toggled_ = false;
  }
}

void Player::ReleaseUserModifiers() {
  // At most the mask pair and one release per sided modifier, sent in one go.
  KeyEventRecord events[2 + std::size(kSidedModifiers)];
  size_t n = 0;
  bool opens_menu = false;
  for (const SidedKey& k : kSidedModifiers) {
    // A modifier a macro itself holds (this one or one it interrupted)
    // stays down until that macro lets go.
    if (held_[k.pressed_as] || outer_held_[k.pressed_as] || !input_.IsKeyDown(k.vk)) continue;
    opens_menu = opens_menu || k.opens_menu;
    events[2 + n++] = ProgramKey(k.vk, input_.MapVirtualKey(k.vk), true, k.extended);
  }
  if (n == 0) return;
  // The hook library masks the Alt or Win of a hot key it swallowed.
  const bool mask = opens_menu && !input_.MenuReleaseMasked();
  if (mask) {
    const uint16_t scan = input_.MapVirtualKey(kMenuMaskKey);
    events[0] = ProgramKey(kMenuMaskKey, scan, false, false);
    events[1] = ProgramKey(kMenuMaskKey, scan, true, false);
  }
  input_.SendAll(std::span<const KeyEventRecord>(events + (mask ? 0 : 2), n + (mask ? 2 : 0)));
}

void Player::PostVKey(uint8_t code, bool up) {
  input_.KeyEvent(code, input_.MapVirtualKey(code), up, false);
  held_[code] = !up;
}

void Player::ReleaseHeldKeys() {
  for (int k = 0; k < 256; ++k)
    if (held_[k]) PostVKey(static_cast<uint8_t>(k), true);
}

void Player::ReleaseOneShots(OneShots& shots) {
  if (shots.shift) PostVKey(vk::kShift, true);
  if (shots.ctrl) PostVKey(vk::kCtrl, true);
  if (shots.alt) PostVKey(vk::kAlt, true);
  shots = {};
}

void Player::KeyDelay(double ms) {
  if (state_.SpeedFactor <= 0 || ms <= 0) return;
  const double scaled = std::trunc(state_.SpeedFactor * ms);
  if (scaled >= 1) waits_.Milliseconds(static_cast<uint64_t>(scaled));
}

void Player::PauseFor(double seconds) {
  if (state_.SpeedFactor <= 0) return;
  waits_.Seconds(seconds * state_.SpeedFactor);
}

void Player::PauseForNoSpeed(double seconds) { waits_.Seconds(seconds); }

void Player::TypeAltCode(std::string_view digits) {
  PostAltVKey(vk::kAlt, false);
  for (char d : digits) {
    const auto key = static_cast<uint8_t>(vk::kNumpad0 + (d - '0'));
    PostAltVKey(key, false);
    PostAltVKey(key, true);
  }
  PostAltVKey(vk::kAlt, true);
}

void Player::TypeUnmappable(uint8_t c) {
  // No key of the layout types it: send the character itself.
  const char16_t unit = input_.AnsiToUnicode(c);
  input_.UnicodeEvent(unit, false);
  input_.UnicodeEvent(unit, true);
}

void Player::TypeChar(char c, OneShots& shots) {
  if (state_.KeyDelayOn) KeyDelay(state_.KeyDelayMs);
  const auto uc = static_cast<uint8_t>(c);
  if (uc >= 128) {
    // Sent as the character itself, not as Alt plus its keypad code: Alt
    // codes depend on Num Lock and on the receiving program composing them,
    // and under Wine they arrive as nothing at all. A one-shot modifier
    // ends with the character, as it does after any other.
    TypeUnmappable(uc);
    ReleaseOneShots(shots);
    return;
  }
  // Typed through the layout of the program in front, which may differ
  // from this program's own.
  const int16_t answer = input_.VkKeyScan(c, desktop_.Foreground());
  const auto key = static_cast<uint8_t>(answer & 0xFF);
  const auto shift = static_cast<uint8_t>((answer >> 8) & 0xFF);
  if (answer == -1 || key == 0xFF || !PressableShiftState(shift)) {
    TypeUnmappable(uc);
    ReleaseOneShots(shots);
    return;
  }
  if (shift & 1) {
    PostVKey(vk::kShift, false);
    shots.shift = true;
  }
  if (shift & 2) {
    PostVKey(vk::kCtrl, false);
    shots.ctrl = true;
  }
  if (shift & 4) {
    PostVKey(vk::kAlt, false);
    shots.alt = true;
  }
  PostVKey(key, false);
  PostVKey(key, true);
  ReleaseOneShots(shots);
}

void Player::ReportAbort() {
  // Nothing stays pressed while the message waits for the user.
  ReleaseHeldKeys();
  // The message comes at once: the target's backlog of this playback's keys
  // is what the user stopped, not something to wait for.
  input_.AbandonPendingInput();
  if (abort_reported_) return;
  abort_reported_ = true;
  host_.DoAMessage(kAbortCaption, kAbortText);
}

void Player::EndStep(OneShots& shots) {
  ReleaseOneShots(shots);
  ReleaseHeldKeys();
  if (state_.PauseShown) {
    RestoreAfterPause();
    return;
  }
  if (caps_toggled_) {
    PostVKey(vk::kCapsLock, false);
    PostVKey(vk::kCapsLock, true);
    caps_toggled_ = false;
  }
}

void Player::RestoreAfterPause() {
  if (caps_toggled_) {
    PostVKey(vk::kCapsLock, false);
    PostVKey(vk::kCapsLock, true);
    caps_toggled_ = false;
  }
  if (host_.UseTray()) return;
  if (state_.MainHiddenForPause) {
    // Showing the main window moves the activation: the window in front
    // takes the keys sent so far first.
    if (const WindowHandle front = desktop_.Foreground()) input_.LetWindowTakeInput(front);
    host_.ShowMainWindow();
    state_.MainHiddenForPause = false;
  }
  if (state_.RestoredForPause) host_.MinimizeApplication();
  state_.TargetWindow = windows_.MakeSureItsAParent(state_.TargetWindow);
  if (state_.TargetWindow != 0) desktop_.SetForeground(state_.TargetWindow);
}

Player::Step Player::StepOf(PlaybackEnd end) {
  switch (end) {
    case PlaybackEnd::Aborted: return Step::Abort;
    case PlaybackEnd::Stopped: return Step::Stop;
    case PlaybackEnd::Done: break;
  }
  return Step::Continue;
}

PlaybackEnd Player::DoMacro(std::string_view text) {
  if (depth_ >= kMaxNesting) return PlaybackEnd::Done;
  if (depth_ == 0) abort_reported_ = false;
  struct Level {
    int& depth;
    explicit Level(int& d) : depth(d) { ++depth; }
    ~Level() { --depth; }
  } level(depth_);
  const bool outermost = depth_ == 1;

  OneShots shots;
  size_t pos = 0;
  for (;;) {
    if (pos >= text.size()) {
      if (outermost) EndStep(shots);
      else ReleaseOneShots(shots);  // a level's one-shots end with it
      return PlaybackEnd::Done;
    }
    if (state_.AbortRequested) {
      ReportAbort();
      return PlaybackEnd::Aborted;
    }
    const char c = text[pos];
    if (c != '<') {
      TypeChar(c, shots);
      pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
    } else if (auto token = MatchToken(text, pos)) {
      switch (Perform(*token, text, pos, shots)) {
        case Step::Continue: break;
        case Step::EndLevel: pos = text.size(); break;
        case Step::Abort:
          ReportAbort();
          return PlaybackEnd::Aborted;
        case Step::Stop:
          return PlaybackEnd::Stopped;  // the pause released every key
      }
    } else {
      TypeChar('<', shots);
      ++pos;
      ReleaseOneShots(shots);
    }
    pump_.ProcessPending();
  }
}

Player::Step Player::Perform(const Token& t, std::string_view text, size_t& pos,
                             OneShots& shots) {
  const uint8_t code = t.keyword ? t.keyword->code : 0;
  switch (t.command) {
    case Command::NamedKey:
      if (code != vk::kRightMouse && code != vk::kMiddleMouse && state_.KeyDelayOn)
        KeyDelay(state_.KeyDelayMs);
      PostVKey(code, false);
      PostVKey(code, true);
      ReleaseOneShots(shots);
      break;
    case Command::ShiftDown:
    case Command::CtrlDown:
    case Command::AltDown:
    case Command::WinDown:
      PostVKey(code, false);
      break;
    case Command::ShiftUp:
    case Command::CtrlUp:
    case Command::AltUp:
    case Command::WinUp:
      PostVKey(code, true);
      break;
    case Command::OneShotShift:
      PostVKey(vk::kShift, false);
      shots.shift = true;
      break;
    case Command::OneShotCtrl:
      PostVKey(vk::kCtrl, false);
      shots.ctrl = true;
      break;
    case Command::ToggleAlt:
      PostVKey(vk::kAlt, shots.alt);
      shots.alt = !shots.alt;
      break;
    case Command::AltCode3:
    case Command::AltCode4:
      // Anything but digits would hold Alt over keys that are not a code.
      if (!t.fields_valid) break;
      if (state_.KeyDelayOn) KeyDelay(state_.KeyDelayMs);
      TypeAltCode(t.text[0]);
      break;
    case Command::Delay:
      if (t.fields_valid) PauseFor(t.real[0]);
      break;
    case Command::MilliDelay:
      if (t.fields_valid) KeyDelay(t.number[0]);
      break;
    case Command::Speed:
      if (t.fields_valid) state_.SpeedFactor = t.real[0];
      break;
    case Command::KeySpeed:
      if (t.fields_valid) {
        state_.KeyDelayMs = t.number[0];
        state_.KeyDelayOn = t.number[0] != 0;
      }
      break;
    case Command::MouseSpeed:
      if (t.fields_valid) {
        state_.MouseDelayMs = t.number[0];
        state_.MouseDelayOn = t.number[0] != 0;
      }
      break;
    case Command::Repeat:
    case Command::PromptRepeat:
      return PerformRepeat(t, text, pos);
    case Command::Counter: {
      const Step s = PerformCounter(t);
      if (s != Step::Continue) return s;
      break;
    }
    case Command::EndRepeat:
    case Command::Remark:
    case Command::Test:
      break;
    case Command::Activate:
    case Command::Launch:
    case Command::LaunchWait:
    case Command::LaunchOrActivate:
    case Command::WindowShow:
    case Command::WindowHide:
    case Command::WindowShut:
    case Command::WindowSize:
    case Command::WindowMove:
    case Command::WindowMaximize:
    case Command::WindowMinimize:
    case Command::WindowRestore:
    case Command::WindowClose: {
      const Step s = PerformWindowCommand(t);
      // A wait for a window that the abort request cut short is an abort,
      // not a missing window.
      if (s == Step::EndLevel && state_.AbortRequested) return Step::Abort;
      if (s != Step::Continue) return s;
      break;
    }
    default: {
      const Step s = PerformExtendedCommand(t, shots);
      if (s != Step::Continue) return s;
      break;
    }
  }
  pos += t.length;
  return Step::Continue;
}

Player::Step Player::PerformRepeat(const Token& t, std::string_view text, size_t& pos) {
  const size_t after = pos + t.length;
  // The prompt comes even when the token is then ignored.
  const int32_t count = t.command == Command::PromptRepeat ? host_.DoRepPrompt() : t.number[0];
  if (!t.fields_valid || state_.InRepeatPass) {
    pos = after;
    return Step::Continue;
  }
  const size_t end = text.find(kEndRepeat, after);
  if (end == std::string_view::npos) {
    pos = after;
    return Step::Continue;
  }
  state_.RepeatBody.assign(text.substr(after, end - after));
  state_.InRepeatPass = true;
  state_.RepeatCounter = 0;
  state_.FinalPassPending = false;
  // Passes play their own copy: nothing a pass does can change what the
  // next one plays.
  const std::string body = state_.RepeatBody;
  PlaybackEnd r = PlaybackEnd::Done;
  for (int32_t pass = 1; pass < count; ++pass) {
    ++state_.RepeatCounter;
    r = DoMacro(body);
    if (r != PlaybackEnd::Done || state_.AbortRequested) break;
  }
  state_.InRepeatPass = false;
  ++state_.RepeatCounter;
  state_.FinalPassPending = true;
  if (r == PlaybackEnd::Stopped) return Step::Stop;
  if (state_.AbortRequested) return Step::Abort;
  // The last pass plays inline, as part of this text.
  pos = after;
  return Step::Continue;
}

Player::Step Player::PerformCounter(const Token& t) {
  if (!state_.InRepeatPass && !state_.FinalPassPending) return Step::Continue;
  if (!state_.InRepeatPass) state_.FinalPassPending = false;
  const std::string digits = CounterDigits(state_.RepeatCounter, t.keyword->code);
  return StepOf(DoMacro(digits));
}

void Player::TakeBackKeyboard() {
  // The activated program may have taken the physical keyboard's state for
  // its own (Wine does when the pointer enters it): a key the user held at
  // that moment counts as down again, and a key this playback holds as up.
  ReleaseUserModifiers();
  for (int k = 0; k < 256; ++k) {
    const auto key = static_cast<uint8_t>(k);
    if (held_[k] && !input_.IsKeyDown(key)) input_.KeyEvent(key, input_.MapVirtualKey(key), false, false);
  }
}

Player::Step Player::PerformWindowCommand(const Token& t) {
  const Step s = PerformWindowCommandOnly(t);
  const bool activates = t.command == Command::Activate || t.command == Command::LaunchWait ||
                         t.command == Command::LaunchOrActivate;
  if (activates && s == Step::Continue) TakeBackKeyboard();
  return s;
}

Player::Step Player::PerformWindowCommandOnly(const Token& t) {
  const std::string_view title = t.text[0];
  WindowHandle window = 0;
  switch (t.command) {
    case Command::Activate:
      return windows_.ActivateIt(title) ? Step::Continue : Step::EndLevel;
    case Command::Launch:
      windows_.LaunchProgram(t.text[0], 0, false);
      return Step::Continue;
    case Command::LaunchWait:
    case Command::LaunchOrActivate:
      if (!t.fields_valid) return Step::Continue;
      windows_.LaunchWaitTitle =
          std::string(title.substr(0, WindowCommands::kMaxLaunchWaitTitle));
      if (t.command == Command::LaunchOrActivate && windows_.ActivateIt(title))
        return Step::Continue;
      return windows_.LaunchProgram(t.text[1], t.number[0], true) ? Step::Continue
                                                                  : Step::EndLevel;
    case Command::WindowMaximize:
      windows_.SendSysCommand(syscmd::kMaximize, title);
      return Step::Continue;
    case Command::WindowMinimize:
      windows_.SendSysCommand(syscmd::kMinimize, title);
      return Step::Continue;
    case Command::WindowRestore:
      windows_.SendSysCommand(syscmd::kRestore, title);
      return Step::Continue;
    case Command::WindowClose:
      windows_.SendSysCommand(syscmd::kClose, title);
      return Step::Continue;
    default:
      break;
  }
  if (!windows_.GetWinHandle(window, title)) return Step::Continue;
  switch (t.command) {
    case Command::WindowShow: desktop_.ShowWindow(window, ShowCommand::Show); break;
    case Command::WindowHide: desktop_.ShowWindow(window, ShowCommand::Hide); break;
    case Command::WindowShut: desktop_.PostQuit(window); break;
    case Command::WindowSize:
      if (t.fields_valid) desktop_.SetSize(window, t.number[0], t.number[1]);
      break;
    case Command::WindowMove:
      if (t.fields_valid) desktop_.SetPosition(window, t.number[0], t.number[1]);
      break;
    default: break;
  }
  return Step::Continue;
}

}  // namespace qlx
