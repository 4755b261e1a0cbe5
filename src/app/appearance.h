#pragma once
// The Appearance dialog without its window: the check of the three column
// widths and what is kept of a chosen grid font.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "store/settings.h"

namespace qlx {

inline constexpr char kAppearanceCaption[] = "Appearance";
inline constexpr char kInvalidWidthText[] = "Invalid width specified.";

// A whole number greater than 0 (blanks around it allowed).
std::optional<int> ParseColumnWidth(std::string_view text);

struct ColumnWidthsCheck {
  int bad_field = -1;  // 0..2: the first box that is refused
  std::array<int, 3> widths{};
};
ColumnWidthsCheck CheckColumnWidths(const std::array<std::string, 3>& fields);

// The grid font keeps name, size and colour of the choice and of its style
// only bold; the title font keeps the choice as it is.
FontSetting GridFontFromChoice(const FontSetting& chosen);

}  // namespace qlx
