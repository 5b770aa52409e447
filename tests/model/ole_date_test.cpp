#include "ole_date.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calendar.h"

namespace {

// Walks every day of the encodable range with the test's own calendar and checks that
// the day numbers are consecutive, that each decodes back to the same date with the
// right weekday and day of the year, at several times of day.
TEST(OleDate, EveryDayRoundTripsWithWeekdayAndDayOfYear) {
    std::int64_t expectedDayNumber = ole_date::kFirstDayNumber;
    int weekday = 5;  // 1 January 100 was a Friday (proleptic Gregorian), Sunday = 0
    const int secondsOfDay[] = {0, 1, 6 * 3600, 12 * 3600 + 34 * 60 + 56, 86399};
    int failures = 0;
    for (int year = ole_date::kFirstYear; year <= ole_date::kLastYear; ++year) {
        int dayOfYear = 1;
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(year, month); ++day) {
                for (int secondOfDay : secondsOfDay) {
                    DateFields in;
                    in.year = static_cast<std::uint16_t>(year);
                    in.month = static_cast<std::uint16_t>(month);
                    in.day = static_cast<std::uint16_t>(day);
                    in.hour = static_cast<std::uint16_t>(secondOfDay / 3600);
                    in.minute = static_cast<std::uint16_t>(secondOfDay / 60 % 60);
                    in.second = static_cast<std::uint16_t>(secondOfDay % 60);
                    double value = 0.0;
                    DateFields out;
                    const bool ok = ole_date::Encode(in, value) && ole_date::Decode(value, out);
                    const double whole = value < 0 ? std::ceil(value) : std::floor(value);
                    if (!ok || whole != static_cast<double>(expectedDayNumber) ||
                        out.year != in.year || out.month != in.month || out.day != in.day ||
                        out.hour != in.hour || out.minute != in.minute || out.second != in.second ||
                        out.dayOfWeek != weekday || out.dayOfYear != dayOfYear) {
                        ADD_FAILURE() << year << "-" << month << "-" << day << " +" << secondOfDay
                                      << "s: value " << value << ", decoded " << out.year << "-"
                                      << out.month << "-" << out.day << " " << out.hour << ":"
                                      << out.minute << ":" << out.second << " weekday "
                                      << out.dayOfWeek << " day of year " << out.dayOfYear;
                        if (++failures > 10) return;
                    }
                }
                ++expectedDayNumber;
                ++dayOfYear;
                weekday = (weekday + 1) % 7;
            }
        }
    }
    EXPECT_EQ(expectedDayNumber, ole_date::kLastDayNumber + 1);
}

TEST(OleDate, LinearAndBoundaries) {
    struct Case {
        double value;
        double linear;
    };
    for (const Case c : {Case{0.0, 0.0}, Case{0.25, 0.25}, Case{-1.25, -0.75}, Case{-1.0, -1.0},
                         Case{-0.5, 0.5}, Case{-2.75, -1.25}}) {
        EXPECT_EQ(ole_date::Linear(c.value), c.linear) << c.value;
    }

    DateFields fields;
    EXPECT_FALSE(ole_date::Decode(ole_date::kFirstDayNumber - 1.0, fields));
    EXPECT_FALSE(ole_date::Decode(ole_date::kLastDayNumber + 1.0, fields));
    EXPECT_FALSE(ole_date::Decode(std::nan(""), fields));
    EXPECT_FALSE(ole_date::Decode(INFINITY, fields));
    // 31 December 9999 23:59:59.6 rounds past the last day.
    EXPECT_FALSE(ole_date::Decode(ole_date::kLastDayNumber + 86399.6 / 86400, fields));
    ASSERT_TRUE(ole_date::Decode(-657434.999999, fields));  // 1 January 100, 23:59:59.9
    EXPECT_EQ(fields.year, 100);
    EXPECT_EQ(fields.day, 2);  // rounded to the next midnight
    EXPECT_EQ(fields.hour, 0);
}

}  // namespace
