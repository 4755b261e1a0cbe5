#pragma once
#include <windows.h>

#include "platform/sound.h"

namespace qlx {

// sndPlaySoundA and MessageBeep.
class Win32Sound : public ISound {
 public:
  void PlayWave(std::string_view path, bool wait) override;
  void Beep() override;
};

}  // namespace qlx
