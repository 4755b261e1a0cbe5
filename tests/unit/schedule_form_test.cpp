#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "activation/schedule_form.h"

namespace qlx {
namespace {

MacroRecord Scheduled(uint16_t kind) {
  MacroRecord r;
  r.SetCode(10000);
  r.SetScheduleKind(kind);
  r.SetHour(3);
  r.SetMinute(5);
  r.SetPm(true);
  return r;
}

TEST(GetSchedTest, TextOfEachKind) {
  struct Case {
    const char* name;
    std::function<void(MacroRecord&)> set;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"at start-up", [](MacroRecord& r) { r.SetScheduleKind(0); }, "At Startup"},
      {"once",
       [](MacroRecord& r) {
         r.SetScheduleKind(1);
         r.SetDay(7);
         r.SetMonth(4);
         r.SetYear(1998);
       },
       "Once at 3:05PM on 7 April 1998"},
      {"hourly",
       [](MacroRecord& r) {
         r.SetScheduleKind(2);
         r.SetMinutePastHour(15);
       },
       "Hourly at 15 minutes past the hour"},
      {"daily, Sunday first",
       [](MacroRecord& r) {
         r.SetScheduleKind(3);
         r.SetDayFlag(6, true);  // Sunday
         r.SetDayFlag(0, true);  // Monday
         r.SetDayFlag(4, true);  // Friday
       },
       "Daily at 3:05PM,Sun,Mon,Fri"},
      {"daily, no day", [](MacroRecord& r) { r.SetScheduleKind(3); }, "Daily at 3:05PM"},
      {"weekly",
       [](MacroRecord& r) {
         r.SetScheduleKind(4);
         r.SetWeekday(1);
       },
       "Weekly at 3:05PM on Sunday"},
      {"monthly",
       [](MacroRecord& r) {
         r.SetScheduleKind(5);
         r.SetDay(31);
         r.SetPm(false);
         r.SetHour(12);
         r.SetMinute(0);
       },
       "Monthly at 12:00AM on day 31 of each month"},
      {"every N minutes",
       [](MacroRecord& r) {
         r.SetScheduleKind(6);
         r.SetInterval(720);
       },
       "every 720 minutes"},
      // Damaged records: names out of range show empty, unknown kinds nothing.
      {"once, month 13",
       [](MacroRecord& r) {
         r.SetScheduleKind(1);
         r.SetMonth(13);
         r.SetDay(1);
         r.SetYear(2000);
       },
       "Once at 3:05PM on 1  2000"},
      {"weekly, weekday 0",
       [](MacroRecord& r) {
         r.SetScheduleKind(4);
         r.SetWeekday(0);
       },
       "Weekly at 3:05PM on "},
      {"kind 7", [](MacroRecord& r) { r.SetScheduleKind(7); }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MacroRecord r = Scheduled(0);
    c.set(r);
    EXPECT_EQ(GetSched(r), c.expected);
  }
}

TEST(TimeFieldTest, ShowsTwoDigitHourAndMinute) {
  EXPECT_EQ(TimeFieldText({3, 5, true}), "03:05PM");
  EXPECT_EQ(TimeFieldText({12, 0, false}), "12:00AM");
}

TEST(TimeFieldTest, ReadingRules) {
  struct Case {
    const char* text;
    int hour;
    int minute;
    bool pm;
  };
  const std::vector<Case> cases = {
      {"03:05PM", 3, 5, true},
      {"03:05pm", 3, 5, true},
      {"03:05Pm", 3, 5, true},
      {"03:05AM", 3, 5, false},
      {"03:05", 3, 5, false},
      {"03:05 PM", 3, 5, false},  // PM must follow the minutes directly
      {"  9:30PM  ", 9, 30, true},
      {"12:00PM", 12, 0, true},   // noon
      {"12:00AM", 12, 0, false},  // midnight
      {"15:20", 3, 20, true},     // 13..23: the afternoon
      {"23:59AM", 11, 59, true},
      {"24:10PM", 12, 10, true},  // above 23 becomes 0, kept as 12 with the PM
      {"99:10", 12, 10, false},
      {"00:45", 12, 45, false},
      {"07:75PM", 7, 0, true},    // minutes of 60 or more become 0
      {"0705PM", 7, 5, true},     // without ":" the first two characters are the hour
      {"1430", 2, 30, true},
      {"9", 9, 0, false},
      {"ab:cdPM", 12, 0, true},
      {"", 12, 0, false},
      {"7:5", 7, 5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ScheduleTime t = ParseTimeField(c.text);
    EXPECT_EQ(t.hour, c.hour);
    EXPECT_EQ(t.minute, c.minute);
    EXPECT_EQ(t.pm, c.pm);
  }
}

TEST(TimeFieldTest, ShownTimeReadsBackAsStored) {
  for (int h = 1; h <= 12; ++h)
    for (int m : {0, 1, 30, 59})
      for (bool pm : {false, true}) {
        const ScheduleTime in{static_cast<uint8_t>(h), static_cast<uint8_t>(m), pm};
        const ScheduleTime out = ParseTimeField(TimeFieldText(in));
        EXPECT_EQ(out.hour, in.hour);
        EXPECT_EQ(out.minute, in.minute);
        EXPECT_EQ(out.pm, in.pm);
      }
}

// Today is Monday 30 March 1998.
const CivilDate kToday{1998, 3, 30, 2};

ScheduleForm OnceForm(const std::string& day, int month_index, const std::string& year) {
  ScheduleForm f;
  f.kind = kScheduleOnce;
  f.once_time = "09:15AM";
  f.once_day = day;
  f.once_month = month_index;
  f.once_year = year;
  return f;
}

struct Refusal {
  const char* text;  // nullptr: accepted
  ScheduleField focus = ScheduleField::OnceDay;
};

void ExpectOutcome(const ScheduleForm& f, const Refusal& want) {
  MacroRecord r = Scheduled(kScheduleDaily);
  const MacroRecord before = r;
  const auto got = ApplyScheduleForm(f, kToday, r);
  if (!want.text) {
    EXPECT_FALSE(got.has_value()) << (got ? got->text : "");
    return;
  }
  ASSERT_TRUE(got.has_value());
  EXPECT_STREQ(got->text, want.text);
  EXPECT_EQ(got->focus, want.focus);
  EXPECT_EQ(r.bytes(), before.bytes()) << "a refusal changes nothing";
}

TEST(ScheduleFormTest, OnceChecksTheDayAndTheDate) {
  struct Case {
    const char* name;
    ScheduleForm form;
    Refusal want;
  };
  const std::vector<Case> cases = {
      {"today", OnceForm("30", 2, "1998"), {nullptr}},
      {"later this year", OnceForm("1", 3, "1998"), {nullptr}},
      {"next year, earlier month", OnceForm("5", 0, "1999"), {nullptr}},
      {"day not a number", OnceForm("3x", 3, "1998"), {kInvalidDayOfMonthText, ScheduleField::OnceDay}},
      {"day empty", OnceForm(" ", 3, "1998"), {kInvalidDayOfMonthText, ScheduleField::OnceDay}},
      {"day 0", OnceForm("0", 3, "1998"), {kInvalidDayOfMonthText, ScheduleField::OnceDay}},
      {"31 April", OnceForm("31", 3, "1998"), {kInvalidDayOfMonthText, ScheduleField::OnceDay}},
      {"29 February of a common year", OnceForm("29", 1, "1999"), {kInvalidDayOfMonthText, ScheduleField::OnceDay}},
      {"29 February of a leap year", OnceForm("29", 1, "2000"), {nullptr}},
      {"29 February 2100", OnceForm("29", 1, "2100"), {kInvalidDayOfMonthText, ScheduleField::OnceDay}},
      {"negative day", OnceForm("-3", 3, "1998"), {kInvalidDayOfMonthText, ScheduleField::OnceDay}},
      {"last year", OnceForm("30", 11, "1997"), {kDateElapsedText, ScheduleField::OnceYear}},
      {"year not a number", OnceForm("1", 5, "next"), {kDateElapsedText, ScheduleField::OnceYear}},
      {"earlier month", OnceForm("27", 1, "1998"), {kDateElapsedText, ScheduleField::OnceMonth}},
      {"yesterday", OnceForm("29", 2, "1998"), {kDateElapsedText, ScheduleField::OnceDay}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectOutcome(c.form, c.want);
  }
}

TEST(ScheduleFormTest, NumberFieldsOfTheOtherKinds) {
  auto hourly = [](const std::string& m) {
    ScheduleForm f;
    f.kind = kScheduleHourly;
    f.hourly_minutes = m;
    return f;
  };
  auto monthly = [](const std::string& d) {
    ScheduleForm f;
    f.kind = kScheduleMonthly;
    f.monthly_day = d;
    return f;
  };
  auto every = [](const std::string& n) {
    ScheduleForm f;
    f.kind = kScheduleEveryMinutes;
    f.interval = n;
    return f;
  };
  struct Case {
    const char* name;
    ScheduleForm form;
    Refusal want;
  };
  const std::vector<Case> cases = {
      {"hourly 0", hourly("0"), {nullptr}},
      {"hourly 59", hourly(" 59 "), {nullptr}},
      {"hourly 60", hourly("60"), {kInvalidMinutesText, ScheduleField::HourlyMinutes}},
      {"hourly text", hourly("ten"), {kInvalidMinutesText, ScheduleField::HourlyMinutes}},
      {"hourly negative", hourly("-1"), {kInvalidMinutesText, ScheduleField::HourlyMinutes}},
      {"monthly 1", monthly("1"), {nullptr}},
      {"monthly 31", monthly("31"), {nullptr}},
      {"monthly 0", monthly("0"), {kInvalidDayOfMonthText, ScheduleField::MonthlyDay}},
      {"monthly 32", monthly("32"), {kInvalidDayOfMonthText, ScheduleField::MonthlyDay}},
      {"monthly empty", monthly(""), {kInvalidDayOfMonthText, ScheduleField::MonthlyDay}},
      {"every 1", every("1"), {nullptr}},
      {"every 720", every("720"), {nullptr}},
      {"every 0", every("0"), {kInvalidIntervalText, ScheduleField::Interval}},
      {"every 721", every("721"), {kInvalidIntervalText, ScheduleField::Interval}},
      {"every huge", every("99999999999999"), {kInvalidIntervalText, ScheduleField::Interval}},
      {"every text", every("15m"), {kInvalidIntervalText, ScheduleField::Interval}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectOutcome(c.form, c.want);
  }
}

TEST(ScheduleFormTest, UpdateStoresTheChosenKindsFieldsAndEveryDayFlag) {
  MacroRecord r = Scheduled(kScheduleDaily);
  r.SetInterval(15);
  r.SetDay(9);
  ScheduleForm f = FormFromRecord(r);
  f.kind = kScheduleWeekly;
  f.weekly_time = "10:20pm";
  f.weekly_weekday = 5;  // Friday
  f.daily_time = "01:01AM";
  f.days = {true, false, true, false, false, false, true};
  f.interval = "999";  // another kind's field: not checked, not stored
  ASSERT_FALSE(ApplyScheduleForm(f, kToday, r).has_value());
  EXPECT_EQ(r.ScheduleKind(), kScheduleWeekly);
  EXPECT_EQ(r.Hour(), 10);
  EXPECT_EQ(r.Minute(), 20);
  EXPECT_TRUE(r.Pm());
  EXPECT_EQ(r.Weekday(), 6);
  EXPECT_EQ(r.Interval(), 15);
  EXPECT_EQ(r.Day(), 9);
  for (int d = 0; d < 7; ++d) EXPECT_EQ(r.DayFlag(d), d == 0 || d == 2 || d == 6) << d;
  EXPECT_EQ(GetSched(r), "Weekly at 10:20PM on Friday");
}

TEST(ScheduleFormTest, OnceStoresItsDateAndTime) {
  MacroRecord r = Scheduled(kScheduleDaily);
  ASSERT_FALSE(ApplyScheduleForm(OnceForm("4", 6, "1999"), kToday, r).has_value());
  EXPECT_EQ(GetSched(r), "Once at 9:15AM on 4 July 1999");
}

TEST(ScheduleFormTest, FormShowsTheRecord) {
  MacroRecord r = Scheduled(kScheduleMonthly);
  r.SetMonth(12);
  r.SetDay(25);
  r.SetYear(1998);
  r.SetMinutePastHour(45);
  r.SetWeekday(7);
  r.SetInterval(30);
  r.SetDayFlag(4, true);
  const ScheduleForm f = FormFromRecord(r);
  EXPECT_EQ(f.kind, kScheduleMonthly);
  for (const std::string& t : {f.once_time, f.daily_time, f.weekly_time, f.monthly_time}) EXPECT_EQ(t, "03:05PM");
  EXPECT_EQ(f.once_month, 11);
  EXPECT_EQ(f.once_day, "25");
  EXPECT_EQ(f.monthly_day, "25");
  EXPECT_EQ(f.once_year, "1998");
  EXPECT_EQ(f.hourly_minutes, "45");
  EXPECT_EQ(f.weekly_weekday, 6);
  EXPECT_EQ(f.interval, "30");
  EXPECT_TRUE(f.days[4]);
  EXPECT_FALSE(f.days[0]);
  // Out-of-range stored values open on the first choice.
  MacroRecord bad = Scheduled(9);
  bad.SetMonth(0);
  bad.SetWeekday(8);
  const ScheduleForm g = FormFromRecord(bad);
  EXPECT_EQ(g.kind, kScheduleDaily);
  EXPECT_EQ(g.once_month, 0);
  EXPECT_EQ(g.weekly_weekday, 0);
}

}  // namespace
}  // namespace qlx
