#pragma once
// Filters of the common file dialogs are written as "Name|*.EXT|..." and
// handed to Windows with zero bytes for the bars and two at the end.
#include <string>
#include <string_view>

namespace qlx {

inline std::string CommonDialogFilter(std::string_view bars) {
  std::string out(bars);
  for (char& c : out)
    if (c == '|') c = '\0';
  out.push_back('\0');
  out.push_back('\0');
  return out;
}

}  // namespace qlx
