#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "store/macro_record.h"
#include "store/shared_blocks.h"

namespace qlx {
namespace {

TEST(StoreRecord, EveryFieldLandsAtItsPlaceInTheFileLayout) {
  MacroRecord r;
  r.SetNickname("Nick");
  r.SetScopeText("notepad.exe");
  r.SetSnapword("sw");
  r.SetCode(0x1234);
  r.SetScope(-2);
  r.SetActive(true);
  r.SetText("Hello");
  r.SetIcon("MENU");
  r.SetScheduleKind(0x0506);
  r.SetDayFlag(0, true);  // Monday
  r.SetDayFlag(6, true);  // Sunday
  r.SetHour(11);
  r.SetMinute(59);
  r.SetMonth(12);
  r.SetDay(31);
  r.SetMinutePastHour(45);
  r.SetInterval(0x0A0B);
  r.SetWeekday(7);
  r.SetYear(2024);
  r.SetPm(true);
  r.SetTopMostOnly(true);
  r.SetLastModified(1.5);

  const auto& b = r.bytes();
  ASSERT_EQ(b.size(), 5165u);
  EXPECT_EQ(b[0], 4);
  EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 5), "Nick");
  EXPECT_EQ(b[51], 11);
  EXPECT_EQ(std::string(b.begin() + 52, b.begin() + 63), "notepad.exe");
  EXPECT_EQ(b[82], 2);
  EXPECT_EQ(b[83], 's');
  EXPECT_EQ(b[93], 0x34);
  EXPECT_EQ(b[94], 0x12);
  EXPECT_EQ(b[95], 0xFE);  // -2, little-endian
  EXPECT_EQ(b[96], 0xFF);
  EXPECT_EQ(b[97], 1);
  EXPECT_EQ(std::string(b.begin() + 100, b.begin() + 105), "Hello");
  EXPECT_EQ(b[105], 0);
  EXPECT_EQ(b[5101], 4);
  EXPECT_EQ(b[5102], 'M');
  EXPECT_EQ(b[5114], 0x06);
  EXPECT_EQ(b[5115], 0x05);
  EXPECT_EQ(b[5116], 1);
  for (int i = 5117; i <= 5121; ++i) EXPECT_EQ(b[i], 0) << i;
  EXPECT_EQ(b[5122], 1);
  EXPECT_EQ(b[5123], 11);
  EXPECT_EQ(b[5124], 59);
  EXPECT_EQ(b[5125], 12);
  EXPECT_EQ(b[5126], 31);
  EXPECT_EQ(b[5127], 45);
  EXPECT_EQ(b[5128], 0x0B);
  EXPECT_EQ(b[5129], 0x0A);
  EXPECT_EQ(b[5130], 7);
  EXPECT_EQ(b[5131], 2024 & 0xFF);
  EXPECT_EQ(b[5132], 2024 >> 8);
  EXPECT_EQ(b[5133], 1);
  EXPECT_EQ(b[5134], 1);
  // 1.5 as an IEEE double is 0x3FF8000000000000.
  for (int i = 5135; i < 5141; ++i) EXPECT_EQ(b[i], 0) << i;
  EXPECT_EQ(b[5141], 0xF8);
  EXPECT_EQ(b[5142], 0x3F);
  for (int i = 5143; i < 5165; ++i) EXPECT_EQ(b[i], 0) << i;

  // And back through the accessors.
  EXPECT_EQ(r.Nickname(), "Nick");
  EXPECT_EQ(r.ScopeText(), "notepad.exe");
  EXPECT_EQ(r.Code(), 0x1234);
  EXPECT_EQ(r.Scope(), -2);
  EXPECT_EQ(r.Interval(), 0x0A0B);
  EXPECT_EQ(r.Year(), 2024);
  EXPECT_TRUE(r.DayFlag(6));
  EXPECT_FALSE(r.DayFlag(3));
  EXPECT_FALSE(r.DayFlag(7));  // no eighth day
  EXPECT_DOUBLE_EQ(r.LastModified(), 1.5);
}

TEST(StoreRecord, SettersClearTheRestOfTheirFieldAndNothingBeyond) {
  MacroRecord r;
  r.bytes().fill(0xAA);
  r.SetNickname("ab");
  EXPECT_EQ(r.bytes()[0], 2);
  for (int i = 3; i <= 50; ++i) EXPECT_EQ(r.bytes()[i], 0) << i;
  EXPECT_EQ(r.bytes()[51], 0xAA);

  r.SetSnapword(std::string(40, 'z'));  // cut to the ten-character field
  EXPECT_EQ(r.bytes()[82], 10);
  EXPECT_EQ(r.Snapword(), std::string(10, 'z'));
  EXPECT_EQ(r.bytes()[93], 0xAA);

  r.SetText("hi");
  EXPECT_EQ(r.bytes()[100], 'h');
  for (int i = 102; i <= 5100; ++i) ASSERT_EQ(r.bytes()[i], 0) << i;
  EXPECT_EQ(r.bytes()[5101], 0xAA);

  r.SetDayFlag(-1, true);
  r.SetDayFlag(7, true);
  EXPECT_EQ(r.bytes()[5115], 0xAA);
  EXPECT_EQ(r.bytes()[5123], 0xAA);

  r.ZeroReserved();
  EXPECT_EQ(r.bytes()[98], 0);
  EXPECT_EQ(r.bytes()[99], 0);
  for (int i = 5143; i < 5165; ++i) EXPECT_EQ(r.bytes()[i], 0) << i;
  EXPECT_EQ(r.bytes()[97], 0xAA);
  EXPECT_EQ(r.bytes()[5142], 0xAA);
}

TEST(StoreRecord, DamagedLengthsAndUnterminatedTextStayInsideTheirFields) {
  MacroRecord r;
  r.bytes().fill('x');
  r.bytes()[0] = 255;
  r.bytes()[51] = 255;
  r.bytes()[82] = 255;
  r.bytes()[5101] = 255;
  EXPECT_EQ(r.Nickname(), std::string(50, 'x'));
  EXPECT_EQ(r.ScopeText(), std::string(30, 'x'));
  EXPECT_EQ(r.Snapword(), std::string(10, 'x'));
  EXPECT_EQ(r.Icon(), std::string(12, 'x'));
  // The views, for filling the tables without a copy, end where the copies do.
  EXPECT_EQ(r.NicknameView(), std::string(50, 'x'));
  EXPECT_EQ(r.ScopeTextView(), std::string(30, 'x'));
  EXPECT_EQ(r.SnapwordView(), std::string(10, 'x'));
  // No terminator anywhere in the text field: exactly 5000 characters.
  EXPECT_EQ(r.Text(), std::string(5000, 'x'));

  r.bytes()[100 + 7] = 0;
  EXPECT_EQ(r.Text(), std::string(7, 'x'));

  r.SetText(std::string(6000, 'y'));
  EXPECT_EQ(r.Text(), std::string(5000, 'y'));
  EXPECT_EQ(r.bytes()[5100], 0);
  EXPECT_EQ(r.bytes()[5101], 255);  // the icon's length byte is not the text's

  r.SetText(std::string("ab\0cd", 5));
  EXPECT_EQ(r.Text(), "ab");
}

TEST(StoreRecord, StoredDaysBecomeCalendarDatesWithSundayAsDayOne) {
  struct Case {
    double days;
    int year, month, day, weekday;
  };
  const Case cases[] = {
      {0.0, 1899, 12, 30, 7},      // Saturday
      {1.75, 1899, 12, 31, 1},     // Sunday, evening
      {36526.0, 2000, 1, 1, 7},    // Saturday
      {45351.999, 2024, 2, 29, 5}, // leap day, Thursday
      {61.0, 1900, 3, 1, 5},       // 1900 was no leap year
      {-1.25, 1899, 12, 29, 6},    // before the base day, Friday
      {2958465.0, 9999, 12, 31, 6},
      {-693593.0, 1, 1, 1, 2},
  };
  for (const Case& c : cases) {
    CivilDate d = CivilDateFromDays(c.days);
    EXPECT_EQ(d.year, c.year) << c.days;
    EXPECT_EQ(d.month, c.month) << c.days;
    EXPECT_EQ(d.day, c.day) << c.days;
    EXPECT_EQ(d.weekday, c.weekday) << c.days;
  }
  // Damage reads as the base day, never as an overflowed calendar.
  for (double bad : {std::nan(""), 1e300, -1e12, HUGE_VAL}) {
    CivilDate d = CivilDateFromDays(bad);
    EXPECT_EQ(d.year, 1899);
    EXPECT_EQ(d.month, 12);
    EXPECT_EQ(d.day, 30);
  }
}

TEST(StoreRecord, NewTimedMacroIsDailyAtNoonOnEveryDayWithTodayFilledIn) {
  MacroRecord r;
  r.SetNickname("keep me");
  r.SetCode(kTimedCode);
  SetNewTimedMacroSchedule(r, CivilDateFromDays(45351.3));  // Thursday 29 Feb 2024
  EXPECT_EQ(r.ScheduleKind(), kScheduleDaily);
  for (int d = 0; d < 7; ++d) EXPECT_TRUE(r.DayFlag(d)) << d;
  EXPECT_EQ(r.Hour(), 12);
  EXPECT_EQ(r.Minute(), 0);
  EXPECT_TRUE(r.Pm());
  EXPECT_EQ(r.Month(), 2);
  EXPECT_EQ(r.Day(), 29);
  EXPECT_EQ(r.Year(), 2024);
  EXPECT_EQ(r.Weekday(), 5);
  EXPECT_EQ(r.MinutePastHour(), 15);
  EXPECT_EQ(r.Interval(), 15);
  EXPECT_EQ(r.Nickname(), "keep me");
  EXPECT_EQ(r.Code(), kTimedCode);
}

}  // namespace
}  // namespace qlx
