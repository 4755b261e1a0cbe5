#pragma once
// Sounds played, in order: "wait PATH", "async PATH", "beep".
#include <string>
#include <string_view>
#include <vector>

#include "platform/sound.h"

namespace qlx::fake {

class FakeSound : public ISound {
 public:
  std::vector<std::string> played;
  void PlayWave(std::string_view path, bool wait) override {
    played.push_back((wait ? "wait " : "async ") + std::string(path));
  }
  void Beep() override { played.push_back("beep"); }
};

}  // namespace qlx::fake
