#include "store/import_records.h"

#include <algorithm>

namespace qlx {

std::optional<std::string> TerminatedText(std::span<const uint8_t> field) {
  auto zero = std::find(field.begin(), field.end(), uint8_t{0});
  if (zero == field.end()) return std::nullopt;
  return std::string(field.begin(), zero);
}

std::optional<std::string> CheckedPString(const uint8_t* p, size_t capacity) {
  if (p[0] > capacity) return std::nullopt;
  return GetPString(p, capacity);
}

}  // namespace qlx
