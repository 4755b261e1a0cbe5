// Mouse, clipboard, file, sound, web, date and time and pause commands.
#include <cmath>

#include "engine/date_time.h"
#include "engine/extended_commands.h"
#include "engine/playback_dialogs.h"
#include "engine/player.h"

namespace qlx {

uint32_t ButtonDownFlag(int button) {
  switch (button) {
    case 1: return mouse::kLeftDown;
    case 2: return mouse::kRightDown;
    case 3: return mouse::kMiddleDown;
    default: return 0;
  }
}

uint32_t ButtonUpFlag(int button) {
  switch (button) {
    case 1: return mouse::kLeftUp;
    case 2: return mouse::kRightUp;
    case 3: return mouse::kMiddleUp;
    default: return 0;
  }
}

NormalizedPoint Normalize(double x, double y, const ScreenSize& screen) {
  // Far off-screen positions stay far off-screen instead of overflowing.
  constexpr double kLimit = 2147483647.0;
  auto scaled = [&](double v, double factor) {
    const double n = std::trunc(v * factor);
    if (!(n < kLimit)) return static_cast<int32_t>(kLimit);
    if (!(n > -kLimit)) return static_cast<int32_t>(-kLimit);
    return static_cast<int32_t>(n);
  };
  return {scaled(x, screen.scale_x), scaled(y, screen.scale_y)};
}

std::string TextOfFileBytes(std::string bytes) {
  const size_t zero = bytes.find('\0');
  if (zero != std::string::npos) bytes.resize(zero);
  constexpr char kCtrlZ = 26;
  if (!bytes.empty() && bytes.back() == kCtrlZ) bytes.pop_back();
  return bytes;
}

std::optional<std::string> ReadTextFile(IFileOperations& files, std::string_view path) {
  std::string bytes;
  if (path.empty() || !files.ReadWholeFile(path, bytes)) return std::nullopt;
  return TextOfFileBytes(std::move(bytes));
}

void DoWave(ISound& sound, std::string_view path, bool wait) {
  if (!path.empty()) sound.PlayWave(path, wait);
}

void OpenAddress(IShell& shell, std::string_view address) {
  if (!address.empty()) shell.OpenDefault(address);
}

void Player::InsertDate(int format, bool zeros, int offset_days, OneShots& shots) {
  for (char c : DateText(format, zeros, waits_.clock().Now() + offset_days)) TypeChar(c, shots);
}

void Player::InsertTime(int format, bool zeros, OneShots& shots) {
  for (char c : TimeText(format, zeros, waits_.clock().Now())) TypeChar(c, shots);
}

void Player::PerformMouse(const Token& t) {
  if (state_.MouseDelayOn) KeyDelay(state_.MouseDelayMs);
  const int button = t.keyword->code;
  switch (t.command) {
    case Command::MouseDown:
      input_.MouseEvent(ButtonDownFlag(button), 0, 0, 0);
      break;
    case Command::MouseUp:
      input_.MouseEvent(ButtonUpFlag(button), 0, 0, 0);
      break;
    case Command::MouseClick:
    case Command::MouseDoubleClick: {
      const int clicks = t.command == Command::MouseDoubleClick ? 2 : 1;
      for (int i = 0; i < clicks; ++i) {
        input_.MouseEvent(ButtonDownFlag(button), 0, 0, 0);
        input_.MouseEvent(ButtonUpFlag(button), 0, 0, 0);
      }
      break;
    }
    case Command::WheelForward:
    case Command::WheelBackward: {
      if (!t.fields_valid) break;
      const int32_t amount = t.number[0] * mouse::kWheelDelta;
      input_.MouseEvent(mouse::kWheel, 0, 0,
                        t.command == Command::WheelForward ? amount : -amount);
      break;
    }
    case Command::MouseMoveScreen:
    case Command::MouseMoveWindow: {
      if (!t.fields_valid) break;
      // The window clicked before finishes with the click first: letting
      // go of it can resend the pointer's old place.
      input_.LetClickedWindowTakeClicks();
      double x = t.real[0], y = t.real[1];
      if (t.command == Command::MouseMoveWindow) {
        WindowRectangle r;
        const WindowHandle front = desktop_.Foreground();
        if (front != 0 && desktop_.WindowRect(front, r)) {
          x += r.left;
          y += r.top;
        }
      }
      const NormalizedPoint p = Normalize(x, y, state_.Screen);
      input_.MouseEvent(mouse::kMove | mouse::kAbsolute, p.x, p.y, 0);
      break;
    }
    default:
      break;
  }
}

Player::Step Player::PerformTextFile(std::string_view path) {
  const std::optional<std::string> text = ReadTextFile(files_, path);
  if (!text) return Step::Continue;
  return StepOf(DoMacro(*text));
}

Player::Step Player::PerformPause(const Token& t) {
  std::string message;
  ScreenPlace place = CentredPausePlace(state_.Screen);
  if (t.command == Command::PauseAt) {
    message.assign(t.text[0]);
    // A position that is not a number still pauses, in the middle of the
    // screen: skipping the pause would run on over whatever it waits for.
    if (t.fields_valid)
      place = PausePlaceOnScreen(t.number[0], t.number[1], message.size(), state_.Screen);
  }
  state_.PauseShown = true;
  bool resume = false;
  {
    FlagScope in_progress(state_.PauseInProgress);
    resume = host_.ShowPauseBox(place.top, place.left, message);
  }
  if (resume) {
    // The hot key that resumed may still be held: its modifiers must not
    // fall on the keys that follow.
    ReleaseUserModifiers();
    return Step::Continue;
  }
  // Nothing stays pressed once the macro is given up.
  ReleaseHeldKeys();
  RestoreAfterPause();
  return Step::Stop;
}

Player::Step Player::PerformExtendedCommand(const Token& t, OneShots& shots) {
  switch (t.command) {
    case Command::MouseDown:
    case Command::MouseUp:
    case Command::MouseClick:
    case Command::MouseDoubleClick:
    case Command::WheelForward:
    case Command::WheelBackward:
    case Command::MouseMoveScreen:
    case Command::MouseMoveWindow:
      PerformMouse(t);
      return Step::Continue;

    case Command::ClipCopy:
    case Command::ClipPaste: {
      const uint8_t letter = t.command == Command::ClipCopy ? 'C' : 'V';
      PostVKey(vk::kCtrl, false);
      PostVKey(letter, false);
      PostVKey(letter, true);
      PostVKey(vk::kCtrl, true);
      if (t.command == Command::ClipPaste) PauseForNoSpeed(kPasteSettleSeconds);
      return Step::Continue;
    }
    case Command::ClipBegin:
      // Without an "<ENDCLIP>" the token is skipped and the text after it
      // plays as usual, as a repeat without "<ENDREP>" does.
      if (!t.fields_valid) return Step::Continue;
      clipboard_.SetText(t.text[0]);
      PauseForNoSpeed(kClipboardSettleSeconds);
      return Step::Continue;
    case Command::ClipEnd:
      return Step::Continue;
    case Command::ClipFile: {
      const std::optional<std::string> text = ReadTextFile(files_, t.text[0]);
      if (!text) return Step::Continue;
      clipboard_.SetText(*text);
      PauseForNoSpeed(kClipboardSettleSeconds);
      return Step::Continue;
    }

    case Command::TextFile:
      return PerformTextFile(t.text[0]);
    case Command::SwapFile:
      if (!t.text[0].empty()) host_.SwapMacroFile(t.text[0]);
      return Step::Continue;
    case Command::ChangeDir:
      files_.ChangeDirectory(t.text[0]);
      return Step::Continue;
    case Command::DeleteFile:
      files_.RemoveFile(t.text[0]);
      return Step::Continue;
    case Command::CopyFile:
      if (!t.text[0].empty() && !t.text[1].empty()) files_.CopyOver(t.text[0], t.text[1]);
      return Step::Continue;
    case Command::RenameFile:
      if (!t.text[0].empty() && !t.text[1].empty()) files_.RenameFile(t.text[0], t.text[1]);
      return Step::Continue;

    case Command::WaveWait:
    case Command::WaveAsync:
      DoWave(sound_, t.text[0], t.command == Command::WaveWait);
      return Step::Continue;
    case Command::Beep:
      sound_.Beep();
      return Step::Continue;
    case Command::Http:
    case Command::Ftp:
      OpenAddress(shell_, t.text[0]);
      return Step::Continue;

    case Command::Date:
      // An offset that is not a number makes the token type nothing, as any
      // token with a malformed number has no effect.
      if (t.fields_valid) InsertDate(t.format, t.zeros, t.day_offset, shots);
      return Step::Continue;
    case Command::Time:
      InsertTime(t.format, t.zeros, shots);
      return Step::Continue;

    case Command::Pause:
    case Command::PauseAt:
      return PerformPause(t);

    default:
      return Step::Continue;
  }
}

}  // namespace qlx
