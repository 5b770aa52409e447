// A plain civil-calendar helper for building expected values in tests, independent of
// the code under test: seconds since 1970 UTC for a UTC wall-clock moment.
#pragma once

#include <cstdint>

inline bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

inline int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1 January 1970 to the given date, counted month by month.
inline std::int64_t DaysSince1970(int year, int month, int day) {
    std::int64_t days = 0;
    for (int y = 1970; y < year; ++y) days += IsLeapYear(y) ? 366 : 365;
    for (int y = year; y < 1970; ++y) days -= IsLeapYear(y) ? 366 : 365;
    for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
    return days + day - 1;
}

inline std::int64_t UtcInstant(int year, int month, int day, int hour = 0, int minute = 0,
                               int second = 0) {
    return DaysSince1970(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}
