#pragma once
// A clipboard that keeps what was put on it.
#include <string>
#include <string_view>

#include "platform/clipboard.h"

namespace qlx::fake {

class FakeClipboard : public IClipboard {
 public:
  std::string text;
  int sets = 0;
  bool SetText(std::string_view t) override {
    text.assign(t);
    ++sets;
    return true;
  }
};

}  // namespace qlx::fake
