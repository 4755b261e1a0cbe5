#include "app/appearance.h"

#include "app/field_text.h"

namespace qlx {
namespace {

// Wider than any screen; beyond it a number is a typing slip.
constexpr int kMaxColumnWidth = 100000;

}  // namespace

std::optional<int> ParseColumnWidth(std::string_view text) {
  const std::string t = TrimField(text);
  if (t.empty() || t.size() > 6) return std::nullopt;
  int v = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (v <= 0 || v > kMaxColumnWidth) return std::nullopt;
  return v;
}

ColumnWidthsCheck CheckColumnWidths(const std::array<std::string, 3>& fields) {
  ColumnWidthsCheck check;
  for (size_t i = 0; i < fields.size(); ++i) {
    const std::optional<int> w = ParseColumnWidth(fields[i]);
    if (!w) {
      check.bad_field = static_cast<int>(i);
      return check;
    }
    check.widths[i] = *w;
  }
  return check;
}

FontSetting GridFontFromChoice(const FontSetting& chosen) {
  FontSetting f = chosen;
  f.italic = false;
  f.underline = false;
  f.strikeout = false;
  return f;
}

}  // namespace qlx
