#include "platform/win32/sound_win32.h"

#include <mmsystem.h>

#include <string>

namespace qlx {

void Win32Sound::PlayWave(std::string_view path, bool wait) {
  const std::string file(path);
  // SND_NODEFAULT: a missing file stays silent instead of the default sound.
  ::sndPlaySoundA(file.c_str(), SND_NODEFAULT | (wait ? SND_SYNC : SND_ASYNC));
}

void Win32Sound::Beep() { ::MessageBeep(0); }

}  // namespace qlx
