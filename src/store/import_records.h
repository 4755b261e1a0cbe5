#pragma once
// Records of the two sibling formats that import reads: the Brindle macro
// record (.BR2, 5141 bytes) and the Snapwords abbreviation record (.SNW,
// 3039 bytes). Read-only typed views over one whole record; the fields that
// import does not use are not named.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "store/byte_view.h"

namespace qlx {

namespace br {
inline constexpr size_t kNickname = 0;  // string[50]
inline constexpr size_t kNicknameCapacity = 50;
inline constexpr size_t kScopeName = 51;  // string[30]
inline constexpr size_t kScopeNameCapacity = 30;
inline constexpr size_t kCode = 82;          // uint16
inline constexpr size_t kScope = 84;         // int16
inline constexpr size_t kActive = 86;        // byte
inline constexpr size_t kPasteAsClip = 87;   // byte
inline constexpr size_t kReserved88 = 88;    // 16-bit, copied as is
inline constexpr size_t kText = 90;          // zero-terminated
inline constexpr size_t kTextBytes = 5001;
inline constexpr size_t kScheduleKind = 5091;  // uint16
inline constexpr size_t kScheduleBytes = 5093; // twelve bytes: day flags .. minute past the hour
inline constexpr size_t kScheduleBytesCount = 12;
inline constexpr size_t kInterval = 5105;  // uint16
inline constexpr size_t kWeekday = 5107;   // byte
inline constexpr size_t kYear = 5108;      // uint16
inline constexpr size_t kPm = 5110;        // byte
inline constexpr size_t kTopMostOnly = 5111;
inline constexpr size_t kTail = 5112;  // not read
inline constexpr size_t kSize = 5141;

static_assert(kNickname + 1 + kNicknameCapacity == kScopeName);
static_assert(kScopeName + 1 + kScopeNameCapacity == kCode);
static_assert(kCode + 2 == kScope);
static_assert(kScope + 2 == kActive);
static_assert(kActive + 1 == kPasteAsClip);
static_assert(kPasteAsClip + 1 == kReserved88);
static_assert(kReserved88 + 2 == kText);
static_assert(kText + kTextBytes == kScheduleKind);
static_assert(kScheduleKind + 2 == kScheduleBytes);
static_assert(kScheduleBytes + kScheduleBytesCount == kInterval);
static_assert(kInterval + 2 == kWeekday);
static_assert(kWeekday + 1 == kYear);
static_assert(kYear + 2 == kPm);
static_assert(kPm + 1 == kTopMostOnly);
static_assert(kTopMostOnly + 1 == kTail);
static_assert(kTail + 29 == kSize);
}  // namespace br

namespace sw {
inline constexpr size_t kHead = 0;  // three bytes, not read
inline constexpr size_t kAbbreviation = 3;  // string[10]
inline constexpr size_t kAbbreviationCapacity = 10;
inline constexpr size_t kActive = 14;      // byte
inline constexpr size_t kReserved15 = 15;  // 16-bit, copied as is
inline constexpr size_t kText = 17;        // zero-terminated
inline constexpr size_t kTextBytes = 3001;
inline constexpr size_t kPasteAsClip = 3018;  // byte
inline constexpr size_t kTail = 3019;         // not read
inline constexpr size_t kSize = 3039;

static_assert(kHead + 3 == kAbbreviation);
static_assert(kAbbreviation + 1 + kAbbreviationCapacity == kActive);
static_assert(kActive + 1 == kReserved15);
static_assert(kReserved15 + 2 == kText);
static_assert(kText + kTextBytes == kPasteAsClip);
static_assert(kPasteAsClip + 1 == kTail);
static_assert(kTail + 20 == kSize);
}  // namespace sw

// The text of a zero-terminated field, or nothing when no zero ends it
// within the field.
std::optional<std::string> TerminatedText(std::span<const uint8_t> field);

// A length-prefixed string whose length byte fits its capacity, or nothing.
std::optional<std::string> CheckedPString(const uint8_t* p, size_t capacity);

class BrindleRecordView {
 public:
  static constexpr size_t kSize = br::kSize;
  // `bytes` holds exactly one record.
  explicit BrindleRecordView(std::span<const uint8_t, kSize> bytes) : p_(bytes.data()) {}

  std::optional<std::string> Nickname() const { return CheckedPString(p_ + br::kNickname, br::kNicknameCapacity); }
  std::optional<std::string> ScopeName() const {
    return CheckedPString(p_ + br::kScopeName, br::kScopeNameCapacity);
  }
  uint16_t Code() const { return GetU16(p_ + br::kCode); }
  int16_t Scope() const { return GetI16(p_ + br::kScope); }
  uint8_t Active() const { return p_[br::kActive]; }
  bool PasteAsClipboard() const { return p_[br::kPasteAsClip] != 0; }
  uint16_t Reserved88() const { return GetU16(p_ + br::kReserved88); }
  std::optional<std::string> Text() const { return TerminatedText({p_ + br::kText, br::kTextBytes}); }
  uint16_t ScheduleKind() const { return GetU16(p_ + br::kScheduleKind); }
  uint8_t ScheduleByte(size_t i) const { return i < br::kScheduleBytesCount ? p_[br::kScheduleBytes + i] : 0; }
  uint16_t Interval() const { return GetU16(p_ + br::kInterval); }
  uint8_t Weekday() const { return p_[br::kWeekday]; }
  uint16_t Year() const { return GetU16(p_ + br::kYear); }
  uint8_t Pm() const { return p_[br::kPm]; }
  uint8_t TopMostOnly() const { return p_[br::kTopMostOnly]; }

 private:
  const uint8_t* p_;
};

class SnapwordsRecordView {
 public:
  static constexpr size_t kSize = sw::kSize;
  explicit SnapwordsRecordView(std::span<const uint8_t, kSize> bytes) : p_(bytes.data()) {}

  std::optional<std::string> Abbreviation() const {
    return CheckedPString(p_ + sw::kAbbreviation, sw::kAbbreviationCapacity);
  }
  uint8_t Active() const { return p_[sw::kActive]; }
  uint16_t Reserved15() const { return GetU16(p_ + sw::kReserved15); }
  std::optional<std::string> Text() const { return TerminatedText({p_ + sw::kText, sw::kTextBytes}); }
  bool PasteAsClipboard() const { return p_[sw::kPasteAsClip] != 0; }

 private:
  const uint8_t* p_;
};

}  // namespace qlx
