// Mouse, clipboard, file, sound, web, date and time and pause commands.
// Their tokens are already read by the language table; what each one does
// belongs here. Until it does, each is consumed without effect, so a macro
// that uses them plays the rest of its text unchanged.
#include "engine/player.h"

namespace qlx {

Player::Step Player::PerformExtendedCommand(const Token& token) {
  switch (token.command) {
    case Command::MouseDown:
    case Command::MouseUp:
    case Command::MouseClick:
    case Command::MouseDoubleClick:
    case Command::WheelForward:
    case Command::WheelBackward:
    case Command::MouseMoveScreen:
    case Command::MouseMoveWindow:
    case Command::ClipCopy:
    case Command::ClipPaste:
    case Command::ClipBegin:  // the token spans its body: the body is never typed
    case Command::ClipEnd:
    case Command::ClipFile:
    case Command::TextFile:
    case Command::SwapFile:
    case Command::ChangeDir:
    case Command::DeleteFile:
    case Command::CopyFile:
    case Command::RenameFile:
    case Command::WaveWait:
    case Command::WaveAsync:
    case Command::Beep:
    case Command::Http:
    case Command::Ftp:
    case Command::Date:
    case Command::Time:
    case Command::Pause:
    case Command::PauseAt:
    default:
      return Step::Continue;
  }
}

}  // namespace qlx
