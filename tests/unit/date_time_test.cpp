#include <gtest/gtest.h>

#include <string>

#include "engine/date_time.h"
#include "engine/macro_language.h"

namespace qlx {
namespace {

constexpr double kSecondsPerDay = 86400.0;

// Days since 30 December 1899 of a day number and a time of day.
double At(double day, int h, int m, int s) { return day + (h * 3600 + m * 60 + s) / kSecondsPerDay; }

// Day numbers of a few dates (days since 30 December 1899).
constexpr double k30Mar1998 = 35884;  // a Monday
constexpr double k7May2005 = 38479;   // a Saturday
constexpr double k1Mar1999 = 36220;
constexpr double k1Mar2000 = 36586;
constexpr double k31Dec1998 = 36160;

struct DateRow {
  const char* name;
  const char* mar30_zeros;
  const char* mar30_plain;
  const char* may7_zeros;
  const char* may7_plain;
};

// Every date format but the four day-of-week ones, on 30 March 1998 and on
// 7 May 2005 (one-digit day and month), with and without leading zeros.
constexpr DateRow kDateRows[] = {
    {"MM/DD/YY", "03/30/98", "3/30/98", "05/07/05", "5/7/05"},
    {"MM-DD-YY", "03-30-98", "3-30-98", "05-07-05", "5-7-05"},
    {"MM.DD.YY", "03.30.98", "3.30.98", "05.07.05", "5.7.05"},
    {"MM/DD/YYYY", "03/30/1998", "3/30/1998", "05/07/2005", "5/7/2005"},
    {"MM-DD-YYYY", "03-30-1998", "3-30-1998", "05-07-2005", "5-7-2005"},
    {"MM.DD.YYYY", "03.30.1998", "3.30.1998", "05.07.2005", "5.7.2005"},
    {"DD/MM/YY", "30/03/98", "30/3/98", "07/05/05", "7/5/05"},
    {"DD-MM-YY", "30-03-98", "30-3-98", "07-05-05", "7-5-05"},
    {"DD.MM.YY", "30.03.98", "30.3.98", "07.05.05", "7.5.05"},
    {"DD/MM/YYYY", "30/03/1998", "30/3/1998", "07/05/2005", "7/5/2005"},
    {"DD-MM-YYYY", "30-03-1998", "30-3-1998", "07-05-2005", "7-5-2005"},
    {"DD.MM.YYYY", "30.03.1998", "30.3.1998", "07.05.2005", "7.5.2005"},
    {"YY/MM/DD", "98/03/30", "98/3/30", "05/05/07", "05/5/7"},
    {"YY-MM-DD", "98-03-30", "98-3-30", "05-05-07", "05-5-7"},
    {"YY.MM.DD", "98.03.30", "98.3.30", "05.05.07", "05.5.7"},
    {"YYYY/MM/DD", "1998/03/30", "1998/3/30", "2005/05/07", "2005/5/7"},
    {"YYYY-MM-DD", "1998-03-30", "1998-3-30", "2005-05-07", "2005-5-7"},
    {"YYYY.MM.DD", "1998.03.30", "1998.3.30", "2005.05.07", "2005.5.7"},
    {"MMM YYYY", "MAR 1998", "MAR 1998", "MAY 2005", "MAY 2005"},
    {"Mmm YYYY", "Mar 1998", "Mar 1998", "May 2005", "May 2005"},
    {"DD MMM YY", "30 MAR 98", "30 MAR 98", "07 MAY 05", "7 MAY 05"},
    {"DD Mmm YY", "30 Mar 98", "30 Mar 98", "07 May 05", "7 May 05"},
    {"DD MMM YYYY", "30 MAR 1998", "30 MAR 1998", "07 MAY 2005", "7 MAY 2005"},
    {"DD Mmm YYYY", "30 Mar 1998", "30 Mar 1998", "07 May 2005", "7 May 2005"},
    {"DD Mmmmm YY", "30 March 98", "30 March 98", "07 May 05", "7 May 05"},
    {"DD Mmmmm YYYY", "30 March 1998", "30 March 1998", "07 May 2005", "7 May 2005"},
    {"Mmm DD YY", "Mar 30 98", "Mar 30 98", "May 07 05", "May 7 05"},
    {"Mmm DD, YY", "Mar 30, 98", "Mar 30, 98", "May 07, 05", "May 7, 05"},
    {"Mmm DD YYYY", "Mar 30 1998", "Mar 30 1998", "May 07 2005", "May 7 2005"},
    {"Mmm DD, YYYY", "Mar 30, 1998", "Mar 30, 1998", "May 07, 2005", "May 7, 2005"},
    {"Mmmmm DD YY", "March 30 98", "March 30 98", "May 07 05", "May 7 05"},
    {"Mmmmm DD, YY", "March 30, 98", "March 30, 98", "May 07, 05", "May 7, 05"},
    {"Mmmmm DD YYYY", "March 30 1998", "March 30 1998", "May 07 2005", "May 7 2005"},
    {"Mmmmm DD, YYYY", "March 30, 1998", "March 30, 1998", "May 07, 2005", "May 7, 2005"},
    {"MMDDYY", "033098", "33098", "050705", "5705"},
    {"MMDDYYYY", "03301998", "3301998", "05072005", "572005"},
    {"DDMMYY", "300398", "30398", "070505", "7505"},
    {"DDMMYYYY", "30031998", "3031998", "07052005", "752005"},
    {"YYMMDD", "980330", "98330", "050507", "0557"},
    {"YYYYMMDD", "19980330", "1998330", "20050507", "200557"},
    {"DD", "30", "30", "07", "7"},
    {"MM", "03", "3", "05", "5"},
    {"Mmm", "Mar", "Mar", "May", "May"},
    {"MMM", "MAR", "MAR", "MAY", "MAY"},
    {"Mmmmm", "March", "March", "May", "May"},
    {"YY", "98", "98", "05", "05"},
    {"YYYY", "1998", "1998", "2005", "2005"},
};

TEST(DateText, EveryFormatAtTwoMomentsWithAndWithoutZeros) {
  static_assert(std::size(kDateRows) == 47);
  for (size_t i = 0; i < std::size(kDateRows); ++i) {
    const DateRow& r = kDateRows[i];
    const int format = static_cast<int>(i) + 1;
    ASSERT_EQ(kDateFormats[i], r.name) << format;
    const double mar30 = At(k30Mar1998, 15, 4, 23);
    const double may7 = At(k7May2005, 9, 5, 7);
    EXPECT_EQ(DateText(format, true, mar30), r.mar30_zeros) << r.name;
    EXPECT_EQ(DateText(format, false, mar30), r.mar30_plain) << r.name;
    EXPECT_EQ(DateText(format, true, may7), r.may7_zeros) << r.name;
    EXPECT_EQ(DateText(format, false, may7), r.may7_plain) << r.name;
  }
}

TEST(DateText, DayOfWeekFormatsUseTheProgramsOwnNames) {
  EXPECT_EQ(kDateFormats[47], "Day of Week 1");
  EXPECT_EQ(DateText(48, true, At(k30Mar1998, 15, 4, 23)), "Mon");
  EXPECT_EQ(DateText(49, true, At(k30Mar1998, 15, 4, 23)), "MON");
  EXPECT_EQ(DateText(50, false, At(k30Mar1998, 15, 4, 23)), "Monday");
  EXPECT_EQ(DateText(51, false, At(k30Mar1998, 15, 4, 23)), "MONDAY");
  // A whole week from Sunday 29 March 1998; the zero flag changes nothing.
  const char* abbrevs[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  const char* names[] = {"SUNDAY", "MONDAY", "TUESDAY", "WEDNESDAY", "THURSDAY", "FRIDAY",
                         "SATURDAY"};
  for (int d = 0; d < 7; ++d) {
    const double day = At(k30Mar1998 - 1 + d, 23, 59, 59);
    EXPECT_EQ(DateText(48, d % 2 == 0, day), abbrevs[d]) << d;
    EXPECT_EQ(DateText(51, d % 2 == 1, day), names[d]) << d;
  }
  EXPECT_EQ(DateText(50, true, k7May2005), "Saturday");
}

TEST(DateText, DatesAcrossMonthYearAndLeapDayBoundaries) {
  // The player adds the offset in days to the moment before rendering.
  EXPECT_EQ(DateText(26, false, At(k1Mar1999, 8, 0, 0) - 1), "28 February 1999");
  EXPECT_EQ(DateText(26, false, At(k1Mar2000, 8, 0, 0) - 1), "29 February 2000");
  EXPECT_EQ(DateText(4, true, At(k30Mar1998, 15, 4, 23) + 2), "04/01/1998");
  EXPECT_EQ(DateText(4, true, At(k30Mar1998, 15, 4, 23) - 30), "02/28/1998");
  EXPECT_EQ(DateText(1, false, At(k31Dec1998, 23, 0, 0) + 1), "1/1/99");
  EXPECT_EQ(DateText(40, true, At(k31Dec1998, 23, 0, 0) + 366), "20000101");
  EXPECT_EQ(DateText(26, true, At(k30Mar1998, 0, 0, 0) + 999), "23 December 2000");
  EXPECT_EQ(DateText(26, true, At(k30Mar1998, 0, 0, 0) - 999), "05 July 1995");
  // The first days of the calendar keep a four-digit year with zeros.
  EXPECT_EQ(DateText(17, true, 2), "1900-01-01");
  EXPECT_EQ(DateText(1, true, -400 * 365.2425 + 2), "01/01/00");
  // The last millisecond of a day is still that day.
  EXPECT_EQ(DateText(17, true, k30Mar1998 + 86399.999 / kSecondsPerDay), "1998-03-30");
}

TEST(DateText, FormatNumbersOutsideTheTableGiveNothing) {
  EXPECT_EQ(DateText(0, true, k30Mar1998), "");
  EXPECT_EQ(DateText(52, true, k30Mar1998), "");
  EXPECT_EQ(DateText(-1, false, k30Mar1998), "");
  EXPECT_EQ(TimeText(0, true, k30Mar1998), "");
  EXPECT_EQ(TimeText(27, true, k30Mar1998), "");
}

struct TimeRow {
  const char* name;
  const char* pm_zeros;  // 15:04:23
  const char* pm_plain;
  const char* am_zeros;  // 09:05:07
  const char* am_plain;
  const char* night_zeros;  // 00:30:00
  const char* night_plain;
};

constexpr TimeRow kTimeRows[] = {
    {"hh:mm", "15:04", "15:04", "09:05", "9:05", "00:30", "0:30"},
    {"hh.mm", "15.04", "15.04", "09.05", "9.05", "00.30", "0.30"},
    {"hh,mm", "15,04", "15,04", "09,05", "9,05", "00,30", "0,30"},
    {"hhmm", "1504", "1504", "0905", "905", "0030", "030"},
    {"hh:mm:ss", "15:04:23", "15:04:23", "09:05:07", "9:05:07", "00:30:00", "0:30:00"},
    {"hh.mm.ss", "15.04.23", "15.04.23", "09.05.07", "9.05.07", "00.30.00", "0.30.00"},
    {"hh,mm,ss", "15,04,23", "15,04,23", "09,05,07", "9,05,07", "00,30,00", "0,30,00"},
    {"hhmmss", "150423", "150423", "090507", "90507", "003000", "03000"},
    {"hh", "15", "15", "09", "9", "00", "0"},
    {"mm", "04", "04", "05", "05", "30", "30"},
    {"ss", "23", "23", "07", "07", "00", "00"},
    {"hh:mm am", "03:04 pm", "3:04 pm", "09:05 am", "9:05 am", "12:30 am", "12:30 am"},
    {"hh.mm am", "03.04 pm", "3.04 pm", "09.05 am", "9.05 am", "12.30 am", "12.30 am"},
    {"hh,mm am", "03,04 pm", "3,04 pm", "09,05 am", "9,05 am", "12,30 am", "12,30 am"},
    {"hh:mm:ss am", "03:04:23 pm", "3:04:23 pm", "09:05:07 am", "9:05:07 am", "12:30:00 am", "12:30:00 am"},
    {"hh.mm.ss am", "03.04.23 pm", "3.04.23 pm", "09.05.07 am", "9.05.07 am", "12.30.00 am", "12.30.00 am"},
    {"hh,mm,ss am", "03,04,23 pm", "3,04,23 pm", "09,05,07 am", "9,05,07 am", "12,30,00 am", "12,30,00 am"},
    {"hh:mm AM", "03:04 PM", "3:04 PM", "09:05 AM", "9:05 AM", "12:30 AM", "12:30 AM"},
    {"hh.mm AM", "03.04 PM", "3.04 PM", "09.05 AM", "9.05 AM", "12.30 AM", "12.30 AM"},
    {"hh,mm AM", "03,04 PM", "3,04 PM", "09,05 AM", "9,05 AM", "12,30 AM", "12,30 AM"},
    {"hh:mm:ss AM", "03:04:23 PM", "3:04:23 PM", "09:05:07 AM", "9:05:07 AM", "12:30:00 AM", "12:30:00 AM"},
    {"hh.mm.ss AM", "03.04.23 PM", "3.04.23 PM", "09.05.07 AM", "9.05.07 AM", "12.30.00 AM", "12.30.00 AM"},
    {"hh,mm,ss AM", "03,04,23 PM", "3,04,23 PM", "09,05,07 AM", "9,05,07 AM", "12,30,00 AM", "12,30,00 AM"},
    {"hh:mma", "03:04p", "3:04p", "09:05a", "9:05a", "12:30a", "12:30a"},
    {"hh.mma", "03.04p", "3.04p", "09.05a", "9.05a", "12.30a", "12.30a"},
    {"hh,mma", "03,04p", "3,04p", "09,05a", "9,05a", "12,30a", "12,30a"},
};

TEST(TimeText, EveryFormatAfternoonMorningAndJustAfterMidnight) {
  static_assert(std::size(kTimeRows) == 26);
  for (size_t i = 0; i < std::size(kTimeRows); ++i) {
    const TimeRow& r = kTimeRows[i];
    const int format = static_cast<int>(i) + 1;
    ASSERT_EQ(kTimeFormats[i], r.name) << format;
    EXPECT_EQ(TimeText(format, true, At(k30Mar1998, 15, 4, 23)), r.pm_zeros) << r.name;
    EXPECT_EQ(TimeText(format, false, At(k30Mar1998, 15, 4, 23)), r.pm_plain) << r.name;
    EXPECT_EQ(TimeText(format, true, At(k1Mar1999, 9, 5, 7)), r.am_zeros) << r.name;
    EXPECT_EQ(TimeText(format, false, At(k1Mar1999, 9, 5, 7)), r.am_plain) << r.name;
    EXPECT_EQ(TimeText(format, true, At(k7May2005, 0, 30, 0)), r.night_zeros) << r.name;
    EXPECT_EQ(TimeText(format, false, At(k7May2005, 0, 30, 0)), r.night_plain) << r.name;
  }
}

TEST(TimeText, NoonMidnightAndTheLastSecondOfTheDay) {
  EXPECT_EQ(TimeText(18, false, At(k30Mar1998, 12, 0, 0)), "12:00 PM");
  EXPECT_EQ(TimeText(12, true, At(k30Mar1998, 12, 0, 5)), "12:00 pm");
  EXPECT_EQ(TimeText(24, false, At(k30Mar1998, 11, 59, 59)), "11:59a");
  EXPECT_EQ(TimeText(21, true, At(k30Mar1998, 0, 0, 0)), "12:00:00 AM");
  EXPECT_EQ(TimeText(5, false, At(k30Mar1998, 0, 0, 0)), "0:00:00");
  EXPECT_EQ(TimeText(5, true, At(k30Mar1998, 23, 59, 59)), "23:59:59");
  EXPECT_EQ(TimeText(21, false, At(k30Mar1998, 13, 0, 1)), "1:00:01 PM");
  // A moment a fraction of a millisecond short of a second, as floating
  // point often stores it, is that second.
  EXPECT_EQ(TimeText(5, true, k30Mar1998 + (54263.0 - 0.0004) / kSecondsPerDay), "15:04:23");
}

TEST(DateText, SplitMomentRoundsToTheMillisecondAndCrossesMidnight) {
  const CivilMoment m = SplitMoment(At(k30Mar1998, 15, 4, 23));
  EXPECT_EQ(m.year, 1998);
  EXPECT_EQ(m.month, 3);
  EXPECT_EQ(m.day, 30);
  EXPECT_EQ(m.hour, 15);
  EXPECT_EQ(m.minute, 4);
  EXPECT_EQ(m.second, 23);
  EXPECT_EQ(m.day_of_week, 1);
  // Half a millisecond before midnight rounds into the next day.
  const CivilMoment next = SplitMoment(k30Mar1998 + 1 - 0.0004 / kSecondsPerDay);
  EXPECT_EQ(next.day, 31);
  EXPECT_EQ(next.hour, 0);
  EXPECT_EQ(next.day_of_week, 2);
}

}  // namespace
}  // namespace qlx
