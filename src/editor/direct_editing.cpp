#include "editor/direct_editing.h"

namespace qlx::editor {
namespace {

constexpr KeyEntry Key(std::string_view label, uint8_t vk) { return {label, Command::NamedKey, vk}; }

}  // namespace

const std::array<KeyEntry, 30> kKeyButtons = {{
    {"S&hift", Command::OneShotShift, 0},
    {"C&trl", Command::OneShotCtrl, 0},
    {"Alt", Command::ToggleAlt, 0},
    Key("Space", 32),
    Key("Ta&b", 9),
    Key("Backspace", 8),
    Key("E&nter", 13),
    Key("E&sc", 27),
    Key("&Insert", 45),
    Key("&Delete", 46),
    Key("Ho&me", 36),
    Key("End", 35),
    Key("U&p Arrow", 38),
    Key("D&own Arrow", 40),
    Key("&Left Arrow", 37),
    Key("&Right Arrow", 39),
    Key("Pa&ge Up", 33),
    Key("Page Do&wn", 34),
    Key("F1", 112),
    Key("F2", 113),
    Key("F3", 114),
    Key("F4", 115),
    Key("F5", 116),
    Key("F6", 117),
    Key("F7", 118),
    Key("F8", 119),
    Key("F9", 120),
    Key("F10", 121),
    Key("F11", 122),
    Key("F12", 123),
}};

const std::array<KeyEntry, 38> kMiscKeys = {{
    Key("Left Window", 91),  Key("Right Window", 92), Key("Application", 93), Key("F13", 124),
    Key("F14", 125),         Key("F15", 126),         Key("F16", 127),        Key("F17", 128),
    Key("F18", 129),         Key("F19", 130),         Key("F20", 131),        Key("F21", 132),
    Key("F22", 133),         Key("F23", 134),         Key("F24", 135),        Key("Attn", 246),
    Key("CrSel", 247),       Key("ExSel", 248),       Key("Erase EOF", 249),  Key("Play", 250),
    Key("Zoom", 251),        Key("PA1", 253),         Key("Keypad 0", 96),    Key("Keypad 1", 97),
    Key("Keypad 2", 98),     Key("Keypad 3", 99),     Key("Keypad 4", 100),   Key("Keypad 5", 101),
    Key("Keypad 6", 102),    Key("Keypad 7", 103),    Key("Keypad 8", 104),   Key("Keypad 9", 105),
    Key("Keypad .", 110),    Key("Keypad /", 111),    Key("Keypad *", 106),   Key("Keypad -", 109),
    Key("Keypad +", 107),    Key("Print Screen", 44),
}};

std::optional<Insertion> InsertAt(size_t text_length, size_t caret, std::string_view token) {
  if (text_length + token.size() > kDirectTextLimit) return std::nullopt;
  if (caret > text_length) caret = text_length;
  return Insertion{caret, caret + token.size()};
}

std::string ReplaceTabs(std::string_view text) {
  const std::string_view tab = KeywordText(Command::NamedKey, 9);
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\t') out += tab;
    else out += c;
  }
  return out;
}

}  // namespace qlx::editor
