#pragma once
// The direct editor (TModHotKeys) and the keystroke editor (TModText): the
// keys their buttons and menus insert, the insertion rule at the caret and
// what "&Update" makes of the text.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/macro_language.h"

namespace qlx::editor {

// A key a button, a menu item or the "Miscellaneous" list inserts.
struct KeyEntry {
  std::string_view label;
  Command command;
  uint8_t code;  // the named key's virtual key; 0 for the others
  std::string_view Token() const { return KeywordText(command, code); }
};

// The key buttons (and the "&Keys" and "FKe&ys" menus), in their order.
extern const std::array<KeyEntry, 30> kKeyButtons;
// The "Miscellaneous" list, in its order.
extern const std::array<KeyEntry, 38> kMiscKeys;

inline constexpr size_t kDirectTextLimit = 5000;
inline constexpr char kTextTooLong[] = "Text exceeds maximum length.  Text not added.";

// Where a token goes: the caret, with the text's length before it.
struct Insertion {
  size_t caret = 0;  // characters before the token
  size_t caret_after = 0;
};
// Nothing when the token would take the text past 5000 characters (the
// caller shows kTextTooLong and inserts nothing).
std::optional<Insertion> InsertAt(size_t text_length, size_t caret, std::string_view token);

// "&Update": every tab becomes "<TAB>".
std::string ReplaceTabs(std::string_view text);

}  // namespace qlx::editor
