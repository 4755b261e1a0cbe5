#pragma once
// Dialog text fields are read with the blanks at both ends removed.
#include <string>
#include <string_view>

namespace qlx {

inline std::string TrimField(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

}  // namespace qlx
