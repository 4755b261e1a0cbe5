#include "engine/macro_language.h"

#include <vector>

namespace qlx {
namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Keywords grouped by their second character: most `<` in real text are
// either tokens or followed by a character no keyword starts with.
struct KeywordIndex {
  std::array<std::vector<uint16_t>, 256> by_second;
  KeywordIndex() {
    for (size_t i = 0; i < kKeywordCount; ++i)
      by_second[static_cast<uint8_t>(kKeywords[i].text[1])].push_back(static_cast<uint16_t>(i));
  }
};
const KeywordIndex& Index() {
  static const KeywordIndex index;
  return index;
}

// Free text from `from`: up to the next `>` (consumed), else to the end.
size_t FreeTextEnd(std::string_view text, size_t from, std::string_view& out) {
  size_t close = text.find('>', from);
  if (close == std::string_view::npos) {
    out = text.substr(from);
    return text.size();
  }
  out = text.substr(from, close - from);
  return close + 1;
}

// Program text with the <PARAM> rule: the `>` that closes "<PARAM" belongs to
// the marker, and the program text runs on to the next `>`.
size_t ProgramTextEnd(std::string_view text, size_t from, std::string_view& out) {
  size_t close = text.find('>', from);
  if (close != std::string_view::npos &&
      text.substr(from, close - from).find("<PARAM") != std::string_view::npos)
    close = text.find('>', close + 1);
  if (close == std::string_view::npos) {
    out = text.substr(from);
    return text.size();
  }
  out = text.substr(from, close - from);
  return close + 1;
}

// Reads the parameters of keyword `k` whose text starts at `pos`; sets the
// token's end. False when the text does not have the keyword's shape.
bool ReadParameters(const Keyword& k, std::string_view text, size_t pos, Token& t) {
  const size_t start = pos + k.text.size();
  size_t end = start;
  auto need = [&](size_t count) { return text.size() >= start + count; };
  auto integer = [&](size_t at, size_t width, int slot) {
    auto v = ParseFixedInt(text.substr(at, width));
    if (v) t.number[slot] = *v;
    else t.fields_valid = false;
  };
  auto real = [&](size_t at, int slot) {
    auto v = ParseFixedReal(text.substr(at, 5));
    if (v) t.real[slot] = *v;
    else t.fields_valid = false;
  };
  switch (k.form) {
    case ParamForm::None:
      end = start;
      break;
    case ParamForm::Int:
      if (!need(k.width + 1u) || text[start + k.width] != '>') return false;
      integer(start, k.width, 0);
      t.text[0] = text.substr(start, k.width);  // the digits as written
      end = start + k.width + 1;
      break;
    case ParamForm::Real:
      if (!need(6) || text[start + 5] != '>') return false;
      real(start, 0);
      end = start + 6;
      break;
    case ParamForm::RealPair:
      if (!need(12) || text[start + 11] != '>') return false;
      real(start, 0);
      real(start + 6, 1);
      end = start + 12;
      break;
    case ParamForm::FreeText:
      end = FreeTextEnd(text, start, t.text[0]);
      break;
    case ParamForm::IntPairTitle:
    case ParamForm::PauseAt: {
      const size_t fixed = 2u * k.width + 1u;
      if (!need(fixed)) return false;
      integer(start, k.width, 0);
      integer(start + k.width + 1, k.width, 1);
      end = FreeTextEnd(text, start + fixed, t.text[0]);
      break;
    }
    case ParamForm::Program:
      end = ProgramTextEnd(text, start, t.text[0]);
      break;
    case ParamForm::LaunchWait: {
      if (!need(k.width)) return false;
      integer(start, k.width, 0);
      const size_t title_at = start + k.width;
      const size_t lt = text.find('<', title_at);
      if (lt == std::string_view::npos || text.substr(lt, kLaunchKeyword.size()) != kLaunchKeyword)
        return false;
      t.text[0] = text.substr(title_at, lt - title_at);
      end = ProgramTextEnd(text, lt + kLaunchKeyword.size(), t.text[1]);
      break;
    }
    case ParamForm::Pair: {
      const size_t stop = text.find_first_of(";>", start);
      if (stop != std::string_view::npos && text[stop] == ';') {
        t.text[0] = text.substr(start, stop - start);
        end = FreeTextEnd(text, stop + 1, t.text[1]);
      } else {
        end = FreeTextEnd(text, start, t.text[0]);
      }
      break;
    }
    case ParamForm::ClipBody: {
      // The body is not part of the token: playback resumes at "<ENDCLIP>".
      const size_t close = text.find(kEndClip, start);
      if (close == std::string_view::npos) {
        t.fields_valid = false;
        end = start;
      } else {
        t.text[0] = text.substr(start, close - start);
        end = close;
      }
      break;
    }
  }
  t.length = end - pos;
  return true;
}

// "<" name "{" Y|N ( "}>" | direction ddd "}>" )
std::optional<Token> MatchDate(std::string_view text, size_t pos) {
  for (size_t i = 0; i < kDateFormats.size(); ++i) {
    std::string_view name = kDateFormats[i];
    size_t p = pos + 1;
    if (text.substr(p, name.size()) != name) continue;
    p += name.size();
    if (p + 4 > text.size() || text[p] != '{' || (text[p + 1] != 'Y' && text[p + 1] != 'N'))
      continue;
    Token t;
    t.command = Command::Date;
    t.format = static_cast<uint8_t>(i + 1);
    t.zeros = text[p + 1] == 'Y';
    if (text[p + 2] == '}' && text[p + 3] == '>') {
      t.length = p + 4 - pos;
      return t;
    }
    if (p + 8 > text.size() || text[p + 6] != '}' || text[p + 7] != '>') continue;
    // Long form: direction, three-digit day offset.
    auto days = ParseFixedInt(text.substr(p + 3, 3));
    if (days) t.day_offset = static_cast<int16_t>(text[p + 2] == 'P' ? -*days : *days);
    else t.fields_valid = false;
    t.length = p + 8 - pos;
    return t;
  }
  return std::nullopt;
}

// "<" name "{Y}>" or "{N}>"
std::optional<Token> MatchTime(std::string_view text, size_t pos) {
  for (size_t i = 0; i < kTimeFormats.size(); ++i) {
    std::string_view name = kTimeFormats[i];
    size_t p = pos + 1;
    if (text.substr(p, name.size()) != name) continue;
    p += name.size();
    if (p + 4 > text.size() || text[p] != '{' || (text[p + 1] != 'Y' && text[p + 1] != 'N') ||
        text[p + 2] != '}' || text[p + 3] != '>')
      continue;
    Token t;
    t.command = Command::Time;
    t.format = static_cast<uint8_t>(i + 1);
    t.zeros = text[p + 1] == 'Y';
    t.length = p + 4 - pos;
    return t;
  }
  return std::nullopt;
}

}  // namespace

std::optional<int32_t> ParseFixedInt(std::string_view digits) {
  if (digits.empty() || digits.size() > 9) return std::nullopt;
  int32_t v = 0;
  for (char c : digits) {
    if (!IsDigit(c)) return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

std::optional<double> ParseFixedReal(std::string_view chars) {
  double whole = 0, fraction = 0, scale = 1;
  bool point = false, any_digit = false;
  for (char c : chars) {
    if (c == '.') {
      if (point) return std::nullopt;
      point = true;
    } else if (IsDigit(c)) {
      any_digit = true;
      if (point) {
        scale /= 10;
        fraction += (c - '0') * scale;
      } else {
        whole = whole * 10 + (c - '0');
      }
    } else {
      return std::nullopt;
    }
  }
  if (!any_digit) return std::nullopt;
  return whole + fraction;
}

std::optional<Token> MatchToken(std::string_view text, size_t pos) {
  if (pos + 1 >= text.size() || text[pos] != '<') return std::nullopt;
  const std::string_view rest = text.substr(pos);
  for (uint16_t i : Index().by_second[static_cast<uint8_t>(rest[1])]) {
    const Keyword& k = kKeywords[i];
    if (rest.substr(0, k.text.size()) != k.text) continue;
    Token t;
    t.command = k.command;
    t.keyword = &k;
    // Keywords are prefix-free: the first one whose text matches is the
    // only candidate, whether or not its parameters fit.
    if (!ReadParameters(k, text, pos, t)) return std::nullopt;
    return t;
  }
  if (auto date = MatchDate(text, pos)) return date;
  return MatchTime(text, pos);
}

ProgramText SplitProgramText(std::string_view program_text) {
  const size_t marker = program_text.find(kParamMarker);
  if (marker == std::string_view::npos) return {program_text, {}};
  return {program_text.substr(0, marker), program_text.substr(marker + kParamMarker.size())};
}

}  // namespace qlx
