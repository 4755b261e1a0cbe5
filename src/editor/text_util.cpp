#include "editor/text_util.h"

#include <cmath>
#include <cstdio>

#include "engine/macro_language.h"

namespace qlx::editor {

std::string_view Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return s.substr(s.size());
  const size_t last = s.find_last_not_of(' ');
  return s.substr(first, last - first + 1);
}

std::optional<int32_t> ParseWhole(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (s.empty() || s.size() > 10) return std::nullopt;
  int64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
  return static_cast<int32_t>(v);
}

std::optional<double> ParseDecimal(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  // The digits and the point as the language reads its real fields.
  const std::optional<double> v = ParseFixedReal(s);
  if (!v) return std::nullopt;
  return negative ? -*v : *v;
}

std::string Padded(int64_t value, int width) {
  std::string digits = std::to_string(value);
  if (digits.size() < static_cast<size_t>(width))
    digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
  return digits;
}

std::string TwoDecimals(double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", value);
  return buf;
}

std::string FixedReal5(double value) {
  constexpr double kLargest = 99999;
  if (!(value > 0)) value = 0;  // the field has no sign; NaN reads as 0
  if (value > kLargest) value = kLargest;
  for (int decimals = 2; decimals >= 1; --decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    std::string s = buf;
    if (s.size() == 4) s.insert(0, 1, '0');
    if (s.size() == 5) return s;
  }
  return Padded(static_cast<int64_t>(std::llround(value)), 5);
}

std::string_view FileNamePart(std::string_view path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string Abbreviated(std::string_view s, size_t keep, size_t limit) {
  if (s.size() <= limit) return std::string(s);
  return std::string(s.substr(0, keep)) + "...";
}

}  // namespace qlx::editor
