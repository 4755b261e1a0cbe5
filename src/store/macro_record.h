#pragma once
// The macro record: one macro, 5165 packed little-endian bytes, the unit of
// the macro file. Read and written only through the named accessors below.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/byte_view.h"

namespace qlx {

// Byte offsets of the macro record.
namespace mr {
inline constexpr size_t kNickname = 0;  // string[50]
inline constexpr size_t kNicknameCapacity = 50;
inline constexpr size_t kScopeText = 51;  // string[30]: window title, program or system digit
inline constexpr size_t kScopeTextCapacity = 30;
inline constexpr size_t kSnapword = 82;  // string[10]
inline constexpr size_t kSnapwordCapacity = 10;
inline constexpr size_t kCode = 93;    // uint16
inline constexpr size_t kScope = 95;   // int16
inline constexpr size_t kActive = 97;  // byte
inline constexpr size_t kReserved98 = 98;
inline constexpr size_t kReserved98Size = 2;
inline constexpr size_t kText = 100;  // zero-terminated
inline constexpr size_t kTextBytes = 5001;
inline constexpr size_t kTextMax = 5000;
inline constexpr size_t kIcon = 5101;  // string[12]
inline constexpr size_t kIconCapacity = 12;
inline constexpr size_t kScheduleKind = 5114;  // uint16
inline constexpr size_t kDayFlags = 5116;      // 7 bytes, Monday first
inline constexpr size_t kDayCount = 7;
inline constexpr size_t kHour = 5123;            // 1..12
inline constexpr size_t kMinute = 5124;          // 0..59
inline constexpr size_t kMonth = 5125;           // 1..12
inline constexpr size_t kDay = 5126;             // day of the month
inline constexpr size_t kMinutePastHour = 5127;  // hourly
inline constexpr size_t kInterval = 5128;        // uint16, minutes
inline constexpr size_t kWeekday = 5130;         // 1 = Sunday
inline constexpr size_t kYear = 5131;            // uint16
inline constexpr size_t kPm = 5133;
inline constexpr size_t kTopMostOnly = 5134;
inline constexpr size_t kLastModified = 5135;  // double, days since 30 Dec 1899
inline constexpr size_t kReserved5143 = 5143;
inline constexpr size_t kReserved5143Size = 22;
inline constexpr size_t kSize = 5165;

static_assert(kNickname + 1 + kNicknameCapacity == kScopeText);
static_assert(kScopeText + 1 + kScopeTextCapacity == kSnapword);
static_assert(kSnapword + 1 + kSnapwordCapacity == kCode);
static_assert(kCode + 2 == kScope);
static_assert(kScope + 2 == kActive);
static_assert(kActive + 1 == kReserved98);
static_assert(kReserved98 + kReserved98Size == kText);
static_assert(kTextBytes == kTextMax + 1);
static_assert(kText + kTextBytes == kIcon);
static_assert(kIcon + 1 + kIconCapacity == kScheduleKind);
static_assert(kScheduleKind + 2 == kDayFlags);
static_assert(kDayFlags + kDayCount == kHour);
static_assert(kHour + 1 == kMinute);
static_assert(kMinute + 1 == kMonth);
static_assert(kMonth + 1 == kDay);
static_assert(kDay + 1 == kMinutePastHour);
static_assert(kMinutePastHour + 1 == kInterval);
static_assert(kInterval + 2 == kWeekday);
static_assert(kWeekday + 1 == kYear);
static_assert(kYear + 2 == kPm);
static_assert(kPm + 1 == kTopMostOnly);
static_assert(kTopMostOnly + 1 == kLastModified);
static_assert(kLastModified + 8 == kReserved5143);
static_assert(kReserved5143 + kReserved5143Size == kSize);
}  // namespace mr

// Scope codes of a macro.
inline constexpr int16_t kScopeGlobal = 1;
inline constexpr int16_t kScopeWindow = 2;
inline constexpr int16_t kScopeProgram = 3;
inline constexpr int16_t kScopePopupMenu = 4;
inline constexpr int16_t kScopeSystem = 5;

// Schedule kinds of a timed macro.
inline constexpr uint16_t kScheduleAtStartup = 0;
inline constexpr uint16_t kScheduleOnce = 1;
inline constexpr uint16_t kScheduleHourly = 2;
inline constexpr uint16_t kScheduleDaily = 3;
inline constexpr uint16_t kScheduleWeekly = 4;
inline constexpr uint16_t kScheduleMonthly = 5;
inline constexpr uint16_t kScheduleEveryMinutes = 6;

class MacroRecord {
 public:
  static constexpr size_t kSize = mr::kSize;
  using Bytes = std::array<uint8_t, kSize>;

  MacroRecord() { bytes_.fill(0); }

  Bytes& bytes() { return bytes_; }
  const Bytes& bytes() const { return bytes_; }
  uint8_t* data() { return bytes_.data(); }
  const uint8_t* data() const { return bytes_.data(); }
  void Clear() { bytes_.fill(0); }

  std::string Nickname() const { return GetPString(At(mr::kNickname), mr::kNicknameCapacity); }
  void SetNickname(std::string_view s) { PutPString(At(mr::kNickname), mr::kNicknameCapacity, s); }
  std::string ScopeText() const { return GetPString(At(mr::kScopeText), mr::kScopeTextCapacity); }
  void SetScopeText(std::string_view s) { PutPString(At(mr::kScopeText), mr::kScopeTextCapacity, s); }
  std::string Snapword() const { return GetPString(At(mr::kSnapword), mr::kSnapwordCapacity); }
  // The same fields without a copy, for reading a record out into tables.
  std::string_view NicknameView() const { return PStringView(At(mr::kNickname), mr::kNicknameCapacity); }
  std::string_view ScopeTextView() const { return PStringView(At(mr::kScopeText), mr::kScopeTextCapacity); }
  std::string_view SnapwordView() const { return PStringView(At(mr::kSnapword), mr::kSnapwordCapacity); }
  void SetSnapword(std::string_view s) { PutPString(At(mr::kSnapword), mr::kSnapwordCapacity, s); }

  uint16_t Code() const { return GetU16(At(mr::kCode)); }
  void SetCode(uint16_t v) { PutU16(At(mr::kCode), v); }
  int16_t Scope() const { return GetI16(At(mr::kScope)); }
  void SetScope(int16_t v) { PutI16(At(mr::kScope), v); }
  bool Active() const { return bytes_[mr::kActive] != 0; }
  void SetActive(bool on) { bytes_[mr::kActive] = on ? 1 : 0; }

  // Up to the first zero byte, never more than 5000 characters.
  std::string Text() const;
  // Cut to 5000 characters; the rest of the field, terminator included, is zeroed.
  void SetText(std::string_view s);

  std::string Icon() const { return GetPString(At(mr::kIcon), mr::kIconCapacity); }
  void SetIcon(std::string_view s) { PutPString(At(mr::kIcon), mr::kIconCapacity, s); }

  uint16_t ScheduleKind() const { return GetU16(At(mr::kScheduleKind)); }
  void SetScheduleKind(uint16_t v) { PutU16(At(mr::kScheduleKind), v); }
  // day 0 = Monday ... 6 = Sunday; other numbers read false and write nothing.
  bool DayFlag(int day) const { return ValidDay(day) && bytes_[mr::kDayFlags + day] != 0; }
  void SetDayFlag(int day, bool on) {
    if (ValidDay(day)) bytes_[mr::kDayFlags + day] = on ? 1 : 0;
  }
  uint8_t Hour() const { return bytes_[mr::kHour]; }
  void SetHour(uint8_t v) { bytes_[mr::kHour] = v; }
  uint8_t Minute() const { return bytes_[mr::kMinute]; }
  void SetMinute(uint8_t v) { bytes_[mr::kMinute] = v; }
  uint8_t Month() const { return bytes_[mr::kMonth]; }
  void SetMonth(uint8_t v) { bytes_[mr::kMonth] = v; }
  uint8_t Day() const { return bytes_[mr::kDay]; }
  void SetDay(uint8_t v) { bytes_[mr::kDay] = v; }
  uint8_t MinutePastHour() const { return bytes_[mr::kMinutePastHour]; }
  void SetMinutePastHour(uint8_t v) { bytes_[mr::kMinutePastHour] = v; }
  uint16_t Interval() const { return GetU16(At(mr::kInterval)); }
  void SetInterval(uint16_t v) { PutU16(At(mr::kInterval), v); }
  uint8_t Weekday() const { return bytes_[mr::kWeekday]; }
  void SetWeekday(uint8_t v) { bytes_[mr::kWeekday] = v; }
  uint16_t Year() const { return GetU16(At(mr::kYear)); }
  void SetYear(uint16_t v) { PutU16(At(mr::kYear), v); }
  bool Pm() const { return bytes_[mr::kPm] != 0; }
  void SetPm(bool on) { bytes_[mr::kPm] = on ? 1 : 0; }

  bool TopMostOnly() const { return bytes_[mr::kTopMostOnly] != 0; }
  void SetTopMostOnly(bool on) { bytes_[mr::kTopMostOnly] = on ? 1 : 0; }
  double LastModified() const { return GetF64(At(mr::kLastModified)); }
  void SetLastModified(double v) { PutF64(At(mr::kLastModified), v); }

  // Reserved bytes are always written as zero.
  void ZeroReserved();

  // Length bytes as stored. A damaged or foreign file may hold one past its
  // field's capacity; the string accessors above then read the capacity.
  uint8_t NicknameLength() const { return bytes_[mr::kNickname]; }
  uint8_t ScopeTextLength() const { return bytes_[mr::kScopeText]; }
  uint8_t SnapwordLength() const { return bytes_[mr::kSnapword]; }
  uint8_t IconLength() const { return bytes_[mr::kIcon]; }
  // False when no zero byte ends the text inside its field.
  bool TextTerminated() const;

 private:
  static bool ValidDay(int day) { return day >= 0 && day < static_cast<int>(mr::kDayCount); }
  uint8_t* At(size_t off) { return bytes_.data() + off; }
  const uint8_t* At(size_t off) const { return bytes_.data() + off; }

  Bytes bytes_;
};
static_assert(sizeof(MacroRecord::Bytes) == mr::kSize);

// A calendar date; weekday 1 = Sunday ... 7 = Saturday, as the record counts.
struct CivilDate {
  int year = 1899;
  int month = 12;
  int day = 30;
  int weekday = 7;
};

// The date part of a stored date-time value (days since 30 December 1899).
CivilDate CivilDateFromDays(double days);

// Schedule of a macro that has just been made timed: daily on every day at
// 12 o'clock PM; once/monthly/weekly fields on today; 15 minutes past and
// every 15 minutes.
void SetNewTimedMacroSchedule(MacroRecord& record, const CivilDate& today);

}  // namespace qlx
