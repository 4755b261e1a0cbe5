#include "tools/macro_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <unordered_map>

#include "store/hotkey_table.h"
#include "store/date_value.h"
#include "store/macro_record.h"
#include "store/shared_blocks.h"

namespace qlx {
namespace {

constexpr size_t kRecordSize = mr::kSize;
constexpr int64_t kMsPerDay = 86400000;
constexpr int64_t kLastDay = 2958465;  // 31 December 9999
constexpr size_t kHexPerLine = 16;
constexpr char kHexDigits[] = "0123456789ABCDEF";

// ---- small text helpers ----------------------------------------------------

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

// A run of decimal digits, nothing else, at most `max`.
bool ReadNumber(std::string_view s, unsigned long max, unsigned long& out) {
  if (s.empty() || s.size() > 9) return false;
  unsigned long v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<unsigned long>(c - '0');
  }
  if (v > max) return false;
  out = v;
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void AppendHexByte(std::string& out, uint8_t b) {
  out += kHexDigits[b >> 4];
  out += kHexDigits[b & 15];
}

// "HH HH HH": two hex digits per byte, blanks between.
bool ReadHexBytes(std::string_view s, std::vector<uint8_t>& out) {
  size_t i = 0;
  bool any = false;
  while (i < s.size()) {
    if (IsBlank(s[i])) {
      ++i;
      continue;
    }
    if (i + 1 >= s.size()) return false;
    const int hi = HexValue(s[i]), lo = HexValue(s[i + 1]);
    if (hi < 0 || lo < 0 || (i + 2 < s.size() && !IsBlank(s[i + 2]))) return false;
    out.push_back(static_cast<uint8_t>(hi * 16 + lo));
    any = true;
    i += 2;
  }
  return any;
}

// A piece of the text quoted in a message: escaped, and cut when long.
std::string Quote(std::string_view s) {
  constexpr size_t kShown = 40;
  std::string shown = EscapeValue(s.substr(0, kShown));
  return "\"" + shown + (s.size() > kShown ? "...\"" : "\"");
}

// ---- field names and value names ------------------------------------------

enum Field {
  kNickname,
  kActivation,
  kSnapword,
  kScope,
  kScopeText,
  kTopMost,
  kActive,
  kIcon,
  kModified,
  kSchedule,
  kDays,
  kTime,
  kDate,
  kMinutesPast,
  kInterval,
  kWeekday,
  kFieldCount
};

struct FieldKey {
  std::string_view key;
  Field field;
};
// The three scope-text keys are one field: which one a dump writes follows
// the scope.
constexpr FieldKey kFieldKeys[] = {
    {"nickname", kNickname},   {"activation", kActivation},
    {"snapword", kSnapword},   {"scope", kScope},
    {"window", kScopeText},    {"program", kScopeText},
    {"scope text", kScopeText}, {"top most only", kTopMost},
    {"active", kActive},       {"icon", kIcon},
    {"modified", kModified},   {"schedule", kSchedule},
    {"days", kDays},           {"time", kTime},
    {"date", kDate},           {"minutes past the hour", kMinutesPast},
    {"interval", kInterval},   {"weekday", kWeekday},
};
constexpr std::string_view kTextKey = "text";
constexpr std::string_view kRawKey = "raw";
constexpr std::string_view kTailBytesKey = "bytes";
constexpr std::string_view kWindowKey = "window";
constexpr std::string_view kProgramKey = "program";
constexpr std::string_view kScopeTextKey = "scope text";

constexpr std::array<std::string_view, 6> kScopeNames = {"", "global", "window", "program", "popup menu",
                                                         "system"};
constexpr std::array<std::string_view, 7> kScheduleNames = {
    "at startup", "once", "hourly", "daily", "weekly", "monthly", "every interval"};
// Day flags run Monday first; the weekday field counts 1 = Sunday.
constexpr std::array<std::string_view, 7> kFlagDays = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr std::array<std::string_view, 7> kWeekdayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                           "Thursday", "Friday", "Saturday"};

constexpr std::string_view kTimedName = "timed";
constexpr std::string_view kSnapwordName = "snapword";
constexpr std::string_view kCodeName = "code";

// Index of `word` among `names` (case ignored), or -1.
template <size_t N>
int IndexOf(const std::array<std::string_view, N>& names, std::string_view word) {
  const std::string lw = Lower(word);
  for (size_t i = 0; i < N; ++i)
    if (!names[i].empty() && Lower(names[i]) == lw) return static_cast<int>(i);
  return -1;
}

// Sunday = 0 .. Saturday = 6 from a full or three-letter name, or -1.
int WeekdayIndex(std::string_view word) {
  const std::string lw = Lower(word);
  for (size_t i = 0; i < kWeekdayNames.size(); ++i) {
    const std::string full = Lower(kWeekdayNames[i]);
    if (lw == full || lw == full.substr(0, 3)) return static_cast<int>(i);
  }
  return -1;
}

// ---- one record back from its lines ----------------------------------------

struct RawPatch {
  size_t offset;
  std::vector<uint8_t> bytes;
};

struct Block {
  int line = 0;    // the "macro" line
  int number = 0;  // place in the file, from 1
  std::array<int, kFieldCount> seen{};
  std::string_view scope_text_key;
  MacroRecord record;
  std::string text;
  bool text_too_long = false;
  std::vector<RawPatch> raws;
};

class TextBuilder {
 public:
  BuildResult Run(std::string_view text);

 private:
  void Line(int n, std::string_view line);
  void StartMacro(int n, std::string_view rest);
  void StartTail(int n);
  void FinishBlock();
  void TailBytes(int n, std::string_view key, std::string_view value);
  void FieldLine(int n, std::string_view key, std::string_view value);
  void SetField(int n, Field f, std::string_view key, std::string_view value);
  void TextLine(int n, std::string_view value);
  void RawLine(int n, std::string_view key, std::string_view value);
  std::optional<std::string> StringValue(int n, std::string_view key, std::string_view value,
                                         size_t capacity);
  std::optional<bool> YesNo(int n, std::string_view key, std::string_view value);
  std::optional<unsigned long> Number(int n, std::string_view key, std::string_view value,
                                      unsigned long max);
  void Activation(int n, std::string_view value);
  void Modified(int n, std::string_view value);
  void Days(int n, std::string_view value);
  void Time(int n, std::string_view value);
  void Date(int n, std::string_view value);
  void Error(int line, std::string message) { errors_.push_back({line, std::move(message)}); }

  std::vector<uint8_t> bytes_;
  std::vector<TextError> errors_;
  std::optional<Block> block_;
  int macros_ = 0;
  bool in_tail_ = false;
  int tail_line_ = 0;
  std::vector<uint8_t> tail_;
};

BuildResult TextBuilder::Run(std::string_view text) {
  // Windows editors may start a file with a UTF-8 byte-order mark.
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (StartsWith(text, kBom)) text.remove_prefix(kBom.size());
  int n = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    Line(++n, line);
    start = end + 1;
  }
  FinishBlock();
  if (in_tail_ && tail_.size() >= kRecordSize)
    Error(tail_line_, "the tail holds " + std::to_string(tail_.size()) +
                          " bytes: a tail is what follows the last whole record, less than " +
                          std::to_string(kRecordSize) + " bytes");

  // Faults found when a block ends belong to earlier lines.
  std::stable_sort(errors_.begin(), errors_.end(),
                   [](const TextError& a, const TextError& b) { return a.line < b.line; });
  BuildResult result;
  result.errors = std::move(errors_);
  if (result.errors.empty()) {
    bytes_.insert(bytes_.end(), tail_.begin(), tail_.end());
    result.bytes = std::move(bytes_);
    result.macros = macros_;
  }
  return result;
}

void TextBuilder::Line(int n, std::string_view raw) {
  const std::string_view line = Trim(raw);
  if (line.empty() || line.front() == '#') return;
  const size_t colon = line.find(':');
  if (colon == std::string_view::npos) {
    const size_t blank = line.find_first_of(" \t");
    const std::string word = Lower(line.substr(0, blank));
    const std::string_view rest = blank == std::string_view::npos ? std::string_view() : Trim(line.substr(blank));
    if (word == "macro") return StartMacro(n, rest);
    if (word == "tail" && rest.empty()) return StartTail(n);
    return Error(n, "cannot read " + Quote(line) +
                        ": expected \"field: value\", a line \"macro\" that begins a macro, or \"tail\"");
  }
  const std::string key = Lower(Trim(line.substr(0, colon)));
  const std::string_view value = Trim(line.substr(colon + 1));
  if (in_tail_) return TailBytes(n, key, value);
  if (!block_) return Error(n, Quote(key) + " comes before the first line \"macro\"");
  FieldLine(n, key, value);
}

void TextBuilder::StartMacro(int n, std::string_view rest) {
  unsigned long ignored;
  if (!rest.empty() && !ReadNumber(rest, 999999999, ignored))
    Error(n, "a line \"macro\" holds nothing but the macro's number, not " + Quote(rest));
  FinishBlock();
  if (in_tail_) Error(n, "a macro after the tail: the tail comes last");
  ++macros_;
  if (macros_ == kMaxMacros + 1)
    Error(n, "more than " + std::to_string(kMaxMacros) + " macros: a macro file holds at most " +
                 std::to_string(kMaxMacros));
  block_.emplace();
  block_->line = n;
  block_->number = macros_;
  // What a macro is when the text does not say.
  block_->record.SetScope(kScopeGlobal);
  block_->record.SetActive(true);
}

void TextBuilder::StartTail(int n) {
  FinishBlock();
  if (in_tail_) return Error(n, "a second \"tail\" (the first is on line " + std::to_string(tail_line_) + ")");
  in_tail_ = true;
  tail_line_ = n;
}

void TextBuilder::TailBytes(int n, std::string_view key, std::string_view value) {
  if (key != kTailBytesKey) return Error(n, "only \"bytes:\" lines follow \"tail\", not " + Quote(key));
  std::vector<uint8_t> bytes;
  if (!ReadHexBytes(value, bytes)) return Error(n, "bytes: expected hex bytes such as 00 1F A0");
  // A tail can never reach a whole record: stop collecting once it has.
  if (tail_.size() < kRecordSize) tail_.insert(tail_.end(), bytes.begin(), bytes.end());
}

void TextBuilder::FinishBlock() {
  if (!block_) return;
  Block& b = *block_;
  MacroRecord& r = b.record;
  if (!b.seen[kActivation])
    Error(b.line, "macro " + std::to_string(b.number) +
                      " has no \"activation:\" line (a hot-key name, \"snapword NAME\" or \"timed\")");
  const int16_t scope = r.Scope();
  if (b.scope_text_key == kWindowKey && scope != kScopeWindow)
    Error(b.seen[kScopeText], "\"window:\" belongs to a macro whose scope is window; write \"scope text:\"");
  if (b.scope_text_key == kProgramKey && scope != kScopeProgram)
    Error(b.seen[kScopeText], "\"program:\" belongs to a macro whose scope is program; write \"scope text:\"");
  if (!b.text_too_long) r.SetText(b.text);
  for (const RawPatch& p : b.raws) std::memcpy(r.data() + p.offset, p.bytes.data(), p.bytes.size());
  if (b.number <= kMaxMacros) bytes_.insert(bytes_.end(), r.bytes().begin(), r.bytes().end());
  block_.reset();
}

void TextBuilder::FieldLine(int n, std::string_view key, std::string_view value) {
  if (key == kTextKey) return TextLine(n, value);
  if (StartsWith(key, kRawKey) && (key.size() == kRawKey.size() || IsBlank(key[kRawKey.size()])))
    return RawLine(n, key, value);
  for (const FieldKey& fk : kFieldKeys) {
    if (fk.key != key) continue;
    Block& b = *block_;
    if (b.seen[fk.field]) {
      const bool same_key = fk.field != kScopeText || b.scope_text_key == fk.key;
      return Error(n, (same_key ? Quote(key) + " given twice" : "a second scope text")  +
                          " (first on line " + std::to_string(b.seen[fk.field]) + ")");
    }
    b.seen[fk.field] = n;
    if (fk.field == kScopeText) b.scope_text_key = fk.key;
    return SetField(n, fk.field, key, value);
  }
  Error(n, "unknown field " + Quote(key));
}

std::optional<std::string> TextBuilder::StringValue(int n, std::string_view key, std::string_view value,
                                                    size_t capacity) {
  Unescaped u = UnescapeValue(value);
  if (!u.error.empty()) {
    Error(n, std::string(key) + ": " + u.error);
    return std::nullopt;
  }
  if (u.bytes.size() > capacity) {
    Error(n, std::string(key) + " of " + std::to_string(u.bytes.size()) + " characters; at most " +
                 std::to_string(capacity));
    return std::nullopt;
  }
  return std::move(u.bytes);
}

std::optional<bool> TextBuilder::YesNo(int n, std::string_view key, std::string_view value) {
  const std::string lv = Lower(value);
  if (lv == "yes") return true;
  if (lv == "no") return false;
  Error(n, std::string(key) + ": write yes or no, not " + Quote(value));
  return std::nullopt;
}

std::optional<unsigned long> TextBuilder::Number(int n, std::string_view key, std::string_view value,
                                                 unsigned long max) {
  unsigned long v;
  if (ReadNumber(value, max, v)) return v;
  Error(n, std::string(key) + ": expected a number from 0 to " + std::to_string(max) + ", not " + Quote(value));
  return std::nullopt;
}

void TextBuilder::SetField(int n, Field f, std::string_view key, std::string_view value) {
  MacroRecord& r = block_->record;
  switch (f) {
    case kNickname:
      if (auto s = StringValue(n, key, value, mr::kNicknameCapacity)) r.SetNickname(*s);
      return;
    case kActivation:
      return Activation(n, value);
    case kSnapword:
      if (auto s = StringValue(n, key, value, mr::kSnapwordCapacity)) r.SetSnapword(*s);
      return;
    case kScope: {
      const int named = IndexOf(kScopeNames, value);
      if (named > 0) return r.SetScope(static_cast<int16_t>(named));
      const bool negative = !value.empty() && value.front() == '-';
      unsigned long v;
      if (ReadNumber(negative ? value.substr(1) : value, negative ? 32768 : 32767, v))
        return r.SetScope(static_cast<int16_t>(negative ? -static_cast<long>(v) : static_cast<long>(v)));
      return Error(n, "scope: write global, window, program, popup menu or system, not " + Quote(value));
    }
    case kScopeText:
      if (auto s = StringValue(n, key, value, mr::kScopeTextCapacity)) r.SetScopeText(*s);
      return;
    case kTopMost:
      if (auto v = YesNo(n, key, value)) r.SetTopMostOnly(*v);
      return;
    case kActive:
      if (auto v = YesNo(n, key, value)) r.SetActive(*v);
      return;
    case kIcon:
      if (auto s = StringValue(n, key, value, mr::kIconCapacity)) r.SetIcon(*s);
      return;
    case kModified:
      return Modified(n, value);
    case kSchedule: {
      const int named = IndexOf(kScheduleNames, value);
      if (named >= 0) return r.SetScheduleKind(static_cast<uint16_t>(named));
      unsigned long v;
      if (ReadNumber(value, 65535, v)) return r.SetScheduleKind(static_cast<uint16_t>(v));
      return Error(n, "schedule: write at startup, once, hourly, daily, weekly, monthly or every interval, not " +
                          Quote(value));
    }
    case kDays:
      return Days(n, value);
    case kTime:
      return Time(n, value);
    case kDate:
      return Date(n, value);
    case kMinutesPast:
      if (auto v = Number(n, key, value, 255)) r.SetMinutePastHour(static_cast<uint8_t>(*v));
      return;
    case kInterval: {
      std::string_view digits = value;
      for (std::string_view unit : {"minutes", "minute"}) {
        const std::string lv = Lower(digits);
        if (lv.size() > unit.size() && lv.substr(lv.size() - unit.size()) == unit) {
          digits = Trim(digits.substr(0, digits.size() - unit.size()));
          break;
        }
      }
      if (auto v = Number(n, key, digits, 65535)) r.SetInterval(static_cast<uint16_t>(*v));
      return;
    }
    case kWeekday: {
      const int named = WeekdayIndex(value);
      if (named >= 0) return r.SetWeekday(static_cast<uint8_t>(named + 1));
      unsigned long v;
      if (ReadNumber(value, 255, v)) return r.SetWeekday(static_cast<uint8_t>(v));
      return Error(n, "weekday: write a day such as Sunday, not " + Quote(value));
    }
    case kFieldCount:
      break;
  }
}

void TextBuilder::Activation(int n, std::string_view value) {
  Block& b = *block_;
  MacroRecord& r = b.record;
  const std::string lv = Lower(value);
  if (lv == kTimedName) return r.SetCode(kTimedCode);
  if (lv == kSnapwordName || (StartsWith(lv, kSnapwordName) && IsBlank(lv[kSnapwordName.size()]))) {
    if (b.seen[kSnapword])
      return Error(n, "\"snapword\" given twice (first on line " + std::to_string(b.seen[kSnapword]) + ")");
    b.seen[kSnapword] = n;
    r.SetCode(kSnapwordCode);
    if (auto s = StringValue(n, "snapword", Trim(value.substr(kSnapwordName.size())), mr::kSnapwordCapacity))
      r.SetSnapword(*s);
    return;
  }
  if (StartsWith(lv, kCodeName) && lv.size() > kCodeName.size() && IsBlank(lv[kCodeName.size()])) {
    unsigned long v;
    if (ReadNumber(Trim(value.substr(kCodeName.size())), 65535, v)) return r.SetCode(static_cast<uint16_t>(v));
    return Error(n, "activation: \"code\" takes a number from 0 to 65535");
  }
  if (auto code = HotKeyCodeByName(value)) return r.SetCode(*code);
  Error(n, "unknown hot key " + Quote(value) +
               ": write a hot-key name such as Ctrl+Alt+A, \"snapword NAME\" or \"timed\"");
}

void TextBuilder::Modified(int n, std::string_view value) {
  constexpr std::string_view kExample = "modified: expected a date and time such as 2025-01-06 09:30:00";
  std::string_view when = value;
  std::optional<double> exact;
  const size_t open = value.find('(');
  if (open != std::string_view::npos) {
    if (value.back() != ')') return Error(n, std::string(kExample));
    when = Trim(value.substr(0, open));
    const std::string_view number = Trim(value.substr(open + 1, value.size() - open - 2));
    double d = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), d);
    if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(d))
      return Error(n, "modified: the value in brackets is not a number: " + Quote(number));
    exact = d;
  }
  const std::optional<double> parsed = ParseDateValue(when);
  if (!parsed) return Error(n, std::string(kExample));
  if (exact && FormatDateValue(*exact) != FormatDateValue(*parsed))
    return Error(n, "modified: the date and the exact value in brackets disagree; "
                    "after changing the date, remove the brackets");
  block_->record.SetLastModified(exact ? *exact : *parsed);
}

void TextBuilder::Days(int n, std::string_view value) {
  MacroRecord& r = block_->record;
  if (Lower(value) == "none") return;
  std::array<bool, 7> named{};
  size_t i = 0;
  while (i < value.size()) {
    if (IsBlank(value[i]) || value[i] == ',') {
      ++i;
      continue;
    }
    size_t end = value.find_first_of(" \t,", i);
    if (end == std::string_view::npos) end = value.size();
    const std::string_view word = value.substr(i, end - i);
    const int sunday_first = WeekdayIndex(word);
    if (sunday_first < 0)
      return Error(n, "days: unknown day " + Quote(word) + "; write days such as Mon Tue Wed, or none");
    const size_t flag = static_cast<size_t>((sunday_first + 6) % 7);  // Monday first
    if (named[flag]) return Error(n, "days: " + Quote(word) + " named twice");
    named[flag] = true;
    i = end;
  }
  for (size_t d = 0; d < named.size(); ++d) r.SetDayFlag(static_cast<int>(d), named[d]);
}

void TextBuilder::Time(int n, std::string_view value) {
  // "12:00 PM"; the blank before AM or PM may be left out.
  const std::string lv = Lower(value);
  const bool pm = lv.size() >= 2 && lv.substr(lv.size() - 2) == "pm";
  const bool am = lv.size() >= 2 && lv.substr(lv.size() - 2) == "am";
  const std::string_view clock = Trim(value.substr(0, value.size() - (am || pm ? 2 : 0)));
  const size_t colon = clock.find(':');
  unsigned long hour, minute;
  if (!(am || pm) || colon == std::string_view::npos || !ReadNumber(clock.substr(0, colon), 255, hour) ||
      !ReadNumber(clock.substr(colon + 1), 255, minute))
    return Error(n, "time: expected hour:minute AM or PM, such as 12:00 PM, not " + Quote(value));
  MacroRecord& r = block_->record;
  r.SetHour(static_cast<uint8_t>(hour));
  r.SetMinute(static_cast<uint8_t>(minute));
  r.SetPm(pm);
}

void TextBuilder::Date(int n, std::string_view value) {
  const size_t first = value.find('-');
  const size_t second = first == std::string_view::npos ? first : value.find('-', first + 1);
  unsigned long year, month, day;
  if (second == std::string_view::npos || !ReadNumber(value.substr(0, first), 65535, year) ||
      !ReadNumber(value.substr(first + 1, second - first - 1), 255, month) ||
      !ReadNumber(value.substr(second + 1), 255, day))
    return Error(n, "date: expected year-month-day, such as 2025-01-06, not " + Quote(value));
  MacroRecord& r = block_->record;
  r.SetYear(static_cast<uint16_t>(year));
  r.SetMonth(static_cast<uint8_t>(month));
  r.SetDay(static_cast<uint8_t>(day));
}

void TextBuilder::TextLine(int n, std::string_view value) {
  Block& b = *block_;
  if (b.text_too_long) return;
  Unescaped u = UnescapeValue(value);
  if (!u.error.empty()) return Error(n, "text: " + u.error);
  if (u.bytes.find('\0') != std::string::npos)
    return Error(n, "text: a macro text cannot hold a zero byte (\\x00): it would end there");
  b.text += u.bytes;
  if (b.text.size() > mr::kTextMax) {
    b.text_too_long = true;
    Error(n, "the text passes " + std::to_string(mr::kTextMax) + " characters here (" +
                 std::to_string(b.text.size()) + " so far); a macro holds at most " +
                 std::to_string(mr::kTextMax));
  }
}

void TextBuilder::RawLine(int n, std::string_view key, std::string_view value) {
  unsigned long offset;
  if (!ReadNumber(Trim(key.substr(kRawKey.size())), kRecordSize - 1, offset))
    return Error(n, "raw: expected \"raw OFFSET: HEX\" with an offset from 0 to " +
                        std::to_string(kRecordSize - 1));
  RawPatch p{offset, {}};
  if (!ReadHexBytes(value, p.bytes)) return Error(n, "raw: expected hex bytes such as 00 1F A0");
  if (offset + p.bytes.size() > kRecordSize)
    return Error(n, "raw: " + std::to_string(p.bytes.size()) + " bytes at " + std::to_string(offset) +
                        " run past the record's " + std::to_string(kRecordSize) + " bytes");
  block_->raws.push_back(std::move(p));
}

// ---- writing the text -----------------------------------------------------------

void PutLine(std::string& out, std::string_view key, std::string_view value) {
  out += key;
  out += ':';
  if (!value.empty()) {
    out += ' ';
    out += value;
  }
  out += '\n';
}

std::string Decimal(unsigned long v) { return std::to_string(v); }

bool HasSchedule(const MacroRecord& r) {
  bool any = r.ScheduleKind() || r.Hour() || r.Minute() || r.Month() || r.Day() || r.MinutePastHour() ||
             r.Interval() || r.Weekday() || r.Year() || r.Pm();
  for (int d = 0; d < 7; ++d) any = any || r.DayFlag(d);
  return any;
}

void PutSchedule(std::string& out, const MacroRecord& r) {
  const uint16_t kind = r.ScheduleKind();
  PutLine(out, "schedule", kind < kScheduleNames.size() ? std::string(kScheduleNames[kind]) : Decimal(kind));
  std::string days;
  for (int d = 0; d < 7; ++d) {
    if (!r.DayFlag(d)) continue;
    if (!days.empty()) days += ' ';
    days += kFlagDays[static_cast<size_t>(d)];
  }
  PutLine(out, "days", days.empty() ? "none" : days);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%u:%02u %s", r.Hour(), r.Minute(), r.Pm() ? "PM" : "AM");
  PutLine(out, "time", buf);
  std::snprintf(buf, sizeof buf, "%04u-%02u-%02u", r.Year(), r.Month(), r.Day());
  PutLine(out, "date", buf);
  PutLine(out, "minutes past the hour", Decimal(r.MinutePastHour()));
  PutLine(out, "interval", Decimal(r.Interval()) + " minutes");
  const uint8_t wd = r.Weekday();
  PutLine(out, "weekday", wd >= 1 && wd <= 7 ? std::string(kWeekdayNames[wd - 1u]) : Decimal(wd));
}

void PutModified(std::string& out, double v) {
  const std::optional<std::string> when = FormatDateValue(v);
  if (!when) return;  // the raw lines carry it
  std::string value = *when;
  const auto same = [v](double d) { return std::bit_cast<uint64_t>(d) == std::bit_cast<uint64_t>(v); };
  const std::optional<double> back = ParseDateValue(value);
  if (!back || !same(*back)) {
    // The exact value follows in brackets, unless it would not read back
    // either: then the raw lines carry it.
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, v);
    double d = 0;
    const auto read = std::from_chars(buf, written.ptr, d);
    if (written.ec != std::errc() || read.ec != std::errc() || read.ptr != written.ptr || !same(d)) return;
    value += " (" + std::string(buf, written.ptr) + ")";
  }
  PutLine(out, "modified", value);
}

// Each line break of the text ends a "text:" line, so the text reads as it
// types; the lines are joined again without anything between them.
void PutText(std::string& out, const std::string& text) {
  if (text.empty()) return PutLine(out, kTextKey, "");
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    if (end < text.size()) {
      if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
      ++end;
    }
    PutLine(out, kTextKey, EscapeValue(std::string_view(text).substr(start, end - start)));
    start = end;
  }
}

std::string FormatBlock(const MacroRecord& r, size_t number) {
  std::string out;
  out.reserve(256 + r.Text().size());
  out += "macro " + std::to_string(number) + "\n";
  PutLine(out, "nickname", EscapeValue(r.Nickname()));
  const uint16_t code = r.Code();
  if (code == kSnapwordCode) {
    const std::string word = EscapeValue(r.Snapword());
    PutLine(out, "activation", std::string(kSnapwordName) + (word.empty() ? "" : " " + word));
  } else {
    const std::string_view name = HotKeyName(code);
    PutLine(out, "activation", !name.empty()            ? std::string(name)
                               : code == kTimedCode ? std::string(kTimedName)
                                                    : std::string(kCodeName) + " " + Decimal(code));
    if (!r.Snapword().empty()) PutLine(out, "snapword", EscapeValue(r.Snapword()));
  }
  if (code == kTimedCode || HasSchedule(r)) PutSchedule(out, r);
  const int16_t scope = r.Scope();
  PutLine(out, "scope",
          scope >= kScopeGlobal && scope <= kScopeSystem ? std::string(kScopeNames[static_cast<size_t>(scope)])
                                                         : std::to_string(scope));
  const bool scoped = scope == kScopeWindow || scope == kScopeProgram;
  if (scoped || !r.ScopeText().empty())
    PutLine(out, scope == kScopeWindow ? kWindowKey : scope == kScopeProgram ? kProgramKey : kScopeTextKey,
            EscapeValue(r.ScopeText()));
  if (scoped || r.TopMostOnly()) PutLine(out, "top most only", r.TopMostOnly() ? "yes" : "no");
  PutLine(out, "active", r.Active() ? "yes" : "no");
  PutLine(out, "icon", EscapeValue(r.Icon()));
  PutModified(out, r.LastModified());
  PutText(out, r.Text());
  return out;
}

// The record the block's lines give: the text is read back exactly as a
// build reads it, so what differs from the file is what the lines miss.
MacroRecord ReadBack(const std::string& block) {
  BuildResult back = TextBuilder().Run(block);
  if (!back.ok() || back.bytes.size() != kRecordSize)
    throw std::logic_error("the dump wrote a block it cannot read: " +
                           (back.ok() ? std::string("no record") : back.errors.front().message));
  MacroRecord r;
  std::memcpy(r.data(), back.bytes.data(), kRecordSize);
  return r;
}

void PutRawLines(std::string& out, const MacroRecord& file, const MacroRecord& lines) {
  const uint8_t* a = file.data();
  const uint8_t* b = lines.data();
  size_t i = 0;
  while (i < kRecordSize) {
    if (a[i] == b[i]) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < kRecordSize && end - i < kHexPerLine && a[end] != b[end]) ++end;
    out += std::string(kRawKey) + " " + std::to_string(i) + ":";
    for (size_t k = i; k < end; ++k) {
      out += ' ';
      AppendHexByte(out, a[k]);
    }
    out += '\n';
    i = end;
  }
}

}  // namespace

std::string EscapeValue(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 8);
  for (size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    switch (c) {
      case '\\': out += "\\\\"; continue;
      case '\r': out += "\\r"; continue;
      case '\n': out += "\\n"; continue;
      case '\t': out += "\\t"; continue;
      default: break;
    }
    // Blanks at either end would be dropped when the line is read.
    const bool edge_blank = c == ' ' && (i == 0 || i + 1 == s.size());
    if (c >= 0x20 && c < 0x7F && !edge_blank) {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      AppendHexByte(out, c);
    }
  }
  return out;
}

Unescaped UnescapeValue(std::string_view v) {
  Unescaped u;
  u.bytes.reserve(v.size());
  for (size_t i = 0; i < v.size(); ++i) {
    const auto c = static_cast<unsigned char>(v[i]);
    if (c == '\\') {
      if (i + 1 >= v.size()) {
        u.error = "a backslash ends the value; write a backslash as \\\\";
        return u;
      }
      const char e = v[++i];
      switch (e) {
        case '\\': u.bytes += '\\'; continue;
        case 'r': u.bytes += '\r'; continue;
        case 'n': u.bytes += '\n'; continue;
        case 't': u.bytes += '\t'; continue;
        case 'x': {
          const int hi = i + 1 < v.size() ? HexValue(v[i + 1]) : -1;
          const int lo = i + 2 < v.size() ? HexValue(v[i + 2]) : -1;
          if (hi < 0 || lo < 0) {
            u.error = "\\x takes two hex digits, such as \\x0D";
            return u;
          }
          u.bytes += static_cast<char>(hi * 16 + lo);
          i += 2;
          continue;
        }
        default:
          u.error = "unknown escape " + Quote(std::string("\\") + e) + "; write a backslash as \\\\";
          return u;
      }
    }
    if (c != '\t' && (c < 0x20 || c >= 0x7F)) {
      std::string hex = "\\x";
      AppendHexByte(hex, c);
      u.error = "a character outside plain ASCII (byte " + hex.substr(2) + "); write Windows characters as " + hex;
      return u;
    }
    u.bytes += static_cast<char>(c);
  }
  return u;
}

std::optional<std::string> FormatDateValue(double days) {
  if (!std::isfinite(days) || days < 0 || days >= static_cast<double>(kLastDay + 1)) return std::nullopt;
  const int64_t total = std::llround(days * static_cast<double>(kMsPerDay));
  const int64_t day = total / kMsPerDay;
  const int64_t ms = total % kMsPerDay;
  if (day > kLastDay) return std::nullopt;
  const CivilDate d = CivilDateFromDays(static_cast<double>(day));
  char buf[48];
  int len = std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day,
                          static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60),
                          static_cast<int>(ms / 1000 % 60));
  if (ms % 1000) len += std::snprintf(buf + len, sizeof buf - static_cast<size_t>(len), ".%03d",
                                      static_cast<int>(ms % 1000));
  return std::string(buf, static_cast<size_t>(len));
}

std::optional<double> ParseDateValue(std::string_view text) {
  text = Trim(text);
  const size_t blank = text.find_first_of(" \t");
  const std::string_view date = text.substr(0, blank);
  const std::string_view time = blank == std::string_view::npos ? std::string_view() : Trim(text.substr(blank));

  const size_t d1 = date.find('-');
  const size_t d2 = d1 == std::string_view::npos ? d1 : date.find('-', d1 + 1);
  unsigned long y, mo, d;
  if (d2 == std::string_view::npos || d1 > 4 || d2 - d1 - 1 > 2 || date.size() - d2 - 1 > 2 ||
      !ReadNumber(date.substr(0, d1), 9999, y) || !ReadNumber(date.substr(d1 + 1, d2 - d1 - 1), 12, mo) ||
      !ReadNumber(date.substr(d2 + 1), 31, d) || mo < 1 || d < 1)
    return std::nullopt;
  static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  const unsigned long month_days = static_cast<unsigned long>(kMonthDays[mo - 1]) + (mo == 2 && leap ? 1 : 0);
  if (d > month_days) return std::nullopt;
  const int64_t day_number =
      DaysFromCivil(static_cast<int64_t>(y), static_cast<unsigned>(mo), static_cast<unsigned>(d)) +
      kDateValueEpochOffset;
  if (day_number < 0) return std::nullopt;  // before 30 December 1899

  unsigned long h = 0, mi = 0, s = 0, ms = 0;
  if (!time.empty()) {
    // HH:MM, HH:MM:SS or HH:MM:SS.mmm
    const size_t c1 = time.find(':');
    if (c1 == std::string_view::npos || c1 > 2 || !ReadNumber(time.substr(0, c1), 23, h)) return std::nullopt;
    std::string_view rest = time.substr(c1 + 1);
    if (rest.size() < 2 || !ReadNumber(rest.substr(0, 2), 59, mi)) return std::nullopt;
    rest.remove_prefix(2);
    if (!rest.empty()) {
      if (rest.size() < 3 || rest[0] != ':' || !ReadNumber(rest.substr(1, 2), 59, s)) return std::nullopt;
      rest.remove_prefix(3);
      if (!rest.empty() && (rest.size() != 4 || rest[0] != '.' || !ReadNumber(rest.substr(1), 999, ms)))
        return std::nullopt;
    }
  }
  // The program's clock adds the time of day this way.
  const double fraction = (static_cast<double>(h) * 3600.0 + static_cast<double>(mi) * 60.0 +
                           static_cast<double>(s) + static_cast<double>(ms) / 1000.0) /
                          86400.0;
  return static_cast<double>(day_number) + fraction;
}

std::optional<uint16_t> HotKeyCodeByName(std::string_view name) {
  static const std::unordered_map<std::string, uint16_t> by_name = [] {
    std::unordered_map<std::string, uint16_t> m;
    for (int code = 0; code < kHotKeyCodes; ++code) m.emplace(Lower(HotKeyName(code)), static_cast<uint16_t>(code));
    return m;
  }();
  const auto it = by_name.find(Lower(name));
  if (it == by_name.end()) return std::nullopt;
  return it->second;
}

BuildResult BuildMacroFile(std::string_view text) { return TextBuilder().Run(text); }

std::string DumpMacroFile(std::span<const uint8_t> file) {
  const size_t whole = file.size() / kRecordSize;
  const size_t tail = file.size() % kRecordSize;
  std::string out;
  out.reserve(whole * 512 + tail * 3 + 256);
  out += "# Quillon 98 macro file: " + std::to_string(whole) + (whole == 1 ? " macro" : " macros");
  if (tail) out += " and " + std::to_string(tail) + " bytes after the last whole one";
  out += ".\n# \"qlxfile build\" makes the file again from this text.\n";
  MacroRecord record;
  for (size_t n = 0; n < whole; ++n) {
    std::memcpy(record.data(), file.data() + n * kRecordSize, kRecordSize);
    const std::string block = FormatBlock(record, n + 1);
    out += '\n';
    out += block;
    PutRawLines(out, record, ReadBack(block));
  }
  if (tail) {
    out += "\ntail\n";
    const uint8_t* p = file.data() + whole * kRecordSize;
    for (size_t i = 0; i < tail; i += kHexPerLine) {
      out += kTailBytesKey;
      out += ':';
      for (size_t k = i; k < tail && k < i + kHexPerLine; ++k) {
        out += ' ';
        AppendHexByte(out, p[k]);
      }
      out += '\n';
    }
  }
  return out;
}

}  // namespace qlx
