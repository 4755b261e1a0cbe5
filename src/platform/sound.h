#pragma once
// Wave files and the system beep.
#include <string_view>

namespace qlx {

class ISound {
 public:
  virtual ~ISound() = default;
  // Plays a wave file; with `wait` returns when it has finished. A missing
  // file, or a machine without an audio device, plays nothing.
  virtual void PlayWave(std::string_view path, bool wait) = 0;
  // The standard system beep.
  virtual void Beep() = 0;
};

}  // namespace qlx
