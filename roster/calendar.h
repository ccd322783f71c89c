// Dates and local times as plain numbers, for what the day's list writes and checks: the
// birth date inside an ID number, the time of a save, a ZIP entry's DOS time. The Windows
// side fills them from the clock (GetLocalTime); nothing here reads a clock. Portable.
#pragma once

#include <compare>

namespace roster {

struct Date {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;    // 1-31
    auto operator<=>(const Date&) const = default;
};

struct LocalTime {
    Date date;
    int hour = 0;
    int minute = 0;
    int second = 0;
    auto operator<=>(const LocalTime&) const = default;
};

constexpr bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

constexpr int DaysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

constexpr bool IsRealDate(const Date& date) {
    return date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

}  // namespace roster
