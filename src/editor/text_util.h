#pragma once
// Small text helpers of the editors: trimming, numbers as dialogs read and
// tokens write them, file name parts.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qlx::editor {

// Without leading and trailing spaces.
std::string_view Trim(std::string_view s);

// A whole number as a dialog field holds it: an optional sign and digits,
// within 32 bits; nothing for anything else (empty included).
std::optional<int32_t> ParseWhole(std::string_view s);
// A decimal number: an optional sign, digits with at most one decimal
// point, at least one digit; nothing for anything else.
std::optional<double> ParseDecimal(std::string_view s);

// N(w): decimal, left-padded with zeros to `width`; a number that is
// already that long or longer is written unchanged.
std::string Padded(int64_t value, int width);
// A number with two decimals ("1.50").
std::string TwoDecimals(double value);
// The five characters of a fixed-width real field: two decimals, with one
// "0" in front when that gives four; values too large for two decimals
// keep as many as fit, so the field stays five characters wide.
std::string FixedReal5(double value);

// The characters after the last backslash; the whole path when it has none.
std::string_view FileNamePart(std::string_view path);

// Cut to `keep` characters plus "..." when longer than `limit`.
std::string Abbreviated(std::string_view s, size_t keep, size_t limit);

}  // namespace qlx::editor
