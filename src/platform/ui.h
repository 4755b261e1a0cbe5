#pragma once
// What the portable core asks of the user interface: modal message boxes
// with the program's fixed captions and texts.
#include <string>

namespace qlx {

class IMessageBoxes {
 public:
  virtual ~IMessageBoxes() = default;
  // A modal OK box.
  virtual void Show(const std::string& caption, const std::string& text) = 0;
  // A modal Yes/No box; true for Yes.
  virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
};

}  // namespace qlx
