#pragma once
// The system clipboard, as macros fill it.
#include <string_view>

namespace qlx {

class IClipboard {
 public:
  virtual ~IClipboard() = default;
  // Replaces the clipboard's contents by `text` (ANSI, line breaks kept).
  // False when the clipboard could not be taken.
  virtual bool SetText(std::string_view text) = 0;
};

}  // namespace qlx
