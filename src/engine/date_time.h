#pragma once
// Date and time insertion: the program's own English names, and the text
// each date and time format gives for a moment.
#include <array>
#include <string>
#include <string_view>

namespace qlx {

// Day tables start with Sunday.
inline constexpr std::array<std::string_view, 7> DayAbbrevs = {"Sun", "Mon", "Tue", "Wed",
                                                               "Thu", "Fri", "Sat"};
inline constexpr std::array<std::string_view, 7> DayNames = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
inline constexpr std::array<std::string_view, 12> MonthAbbrevs = {
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
inline constexpr std::array<std::string_view, 12> MonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// A local date and time split into its fields.
struct CivilMoment {
  int year = 0, month = 0, day = 0;  // month and day from 1
  int hour = 0, minute = 0, second = 0;
  int day_of_week = 0;  // 0 Sunday .. 6 Saturday
};
// `days` counts from 30 December 1899, the fraction being the time of day;
// it is taken to the nearest millisecond.
CivilMoment SplitMoment(double days);

// Date format 1..51 of the moment; empty for other numbers. `zeros` pads
// day, month and year.
std::string DateText(int format, bool zeros, double days);
// Time format 1..26 of the moment; empty for other numbers. `zeros` pads
// the hour.
std::string TimeText(int format, bool zeros, double days);

}  // namespace qlx
