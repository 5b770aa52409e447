#include "counter_reading.h"

#include <gtest/gtest.h>

#include <random>

#include "calendar.h"
#include "time_zone.h"

namespace {

struct Expected {
    const wchar_t* dateText;
    std::int32_t years, months, days, hours, minutes, seconds, totalDays;
};

void ExpectReading(const CounterReading& r, const Expected& e) {
    EXPECT_EQ(r.dateText, e.dateText);
    EXPECT_EQ(r.years, e.years);
    EXPECT_EQ(r.months, e.months);
    EXPECT_EQ(r.days, e.days);
    EXPECT_EQ(r.hours, e.hours);
    EXPECT_EQ(r.minutes, e.minutes);
    EXPECT_EQ(r.seconds, e.seconds);
    EXPECT_EQ(r.totalDays, e.totalDays);
}

TEST(ComputeReading, CalendarBoundariesInUtc) {
    const ScopedTimeZone zone("UTC");
    const std::int64_t june30 = UtcInstant(2008, 6, 30);
    struct Case {
        StoredDate start;
        std::int64_t instant;
        Expected expected;
    };
    const wchar_t* const kJune30 = L"Monday, June 30, 2008";
    const Case cases[] = {
        {{2008, 6, 30}, june30 + 14 * 3600 + 3 * 60 + 27, {kJune30, 0, 0, 0, 14, 3, 27, 0}},
        {{2008, 6, 30}, june30, {kJune30, 0, 0, 0, 0, 0, 0, 0}},
        {{2008, 6, 30}, june30 + 59, {kJune30, 0, 0, 0, 0, 0, 59, 0}},
        {{2008, 6, 30}, june30 + 60, {kJune30, 0, 0, 0, 0, 1, 0, 0}},
        {{2008, 6, 30}, june30 + 3599, {kJune30, 0, 0, 0, 0, 59, 59, 0}},
        {{2008, 6, 30}, june30 + 3600, {kJune30, 0, 0, 0, 1, 0, 0, 0}},
        {{2008, 6, 30}, june30 + 86399, {kJune30, 0, 0, 0, 23, 59, 59, 0}},
        {{2008, 6, 30}, june30 + 86400, {kJune30, 0, 0, 1, 0, 0, 0, 1}},
        {{2008, 6, 30}, june30 + 86401, {kJune30, 0, 0, 1, 0, 0, 1, 1}},
        {{2008, 6, 30}, UtcInstant(2008, 7, 4, 9, 15, 40), {kJune30, 0, 0, 4, 9, 15, 40, 4}},
        {{2008, 6, 30}, june30 + 364 * 86400, {kJune30, 0, 12, 4, 0, 0, 0, 364}},
        {{2008, 6, 30}, june30 + 365 * 86400 - 1, {kJune30, 0, 12, 4, 23, 59, 59, 364}},
        {{2008, 6, 30}, june30 + 365 * 86400, {kJune30, 1, 0, 0, 0, 0, 0, 365}},
        {{2008, 6, 30}, june30 + 1461 * 86400, {kJune30, 4, 0, 1, 0, 0, 0, 1461}},
        // A start tomorrow, seen at 18:00 today.
        {{2008, 7, 1}, june30 + 18 * 3600, {L"Tuesday, July 01, 2008", 0, 0, 0, -6, 0, 0, 0}},
        {{2008, 7, 1},
         june30 + 18 * 3600 + 1,
         {L"Tuesday, July 01, 2008", 0, 0, 0, -5, -59, -59, 0}},
        {{2008, 7, 2}, june30, {L"Wednesday, July 02, 2008", 0, 0, -2, 0, 0, 0, -2}},
        // An invalid start counts from the preset value 0.0, 30 December 1899.
        {{2008, 13, 1}, june30, {L"Invalid DateTime", 108, 6, 29, 0, 0, 0, 39629}},
        // An instant the runtime cannot convert leaves `now` at 0.0 as well.
        {{1899, 12, 30}, -1, {L"Saturday, December 30, 1899", 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start.year << "-" << c.start.month << "-"
                                        << c.start.day << " at " << c.instant);
        ExpectReading(ComputeReading(c.start, c.instant), c.expected);
    }
}

// From the default start in UTC every unit is exact integer arithmetic on the instant:
// a sweep across the whole convertible range, through 2038 and well past it, with
// every boundary second on either side.
TEST(ComputeReading, MatchesIntegerArithmeticAcrossTheRange) {
    const ScopedTimeZone zone("UTC");
    std::mt19937_64 random(20081231);
    std::uniform_int_distribution<std::int64_t> pick(0, 32535244799);
    int failures = 0;
    for (int i = 0; i < 200000 && failures < 10; ++i) {
        std::int64_t base = pick(random);
        if (i % 2 == 0) base -= base % 86400;  // whole days, where rounding goes wrong
        for (std::int64_t instant : {base - 1, base, base + 1}) {
            if (instant < 0) continue;
            const CounterReading r = ComputeReading(StoredDate{}, instant);
            const std::int64_t days = instant / 86400;
            const bool ok = r.seconds == instant % 60 && r.minutes == instant / 60 % 60 &&
                            r.hours == instant / 3600 % 24 && r.totalDays == days &&
                            r.years == days / 365 && r.months == days % 365 / 30 &&
                            r.days == days % 365 % 30;
            if (!ok) {
                ++failures;
                ADD_FAILURE() << "instant " << instant << ": " << r.years << "y " << r.months
                              << "m " << r.days << "d " << r.hours << ":" << r.minutes << ":"
                              << r.seconds << " total " << r.totalDays;
            }
        }
    }
}

#ifndef _WIN32
// Local wall-clock time is taken as it is: across a daylight-saving change the counter
// jumps with the clock. (The Windows runtime understands only POSIX-style zone strings.)
TEST(ComputeReading, DaylightSavingChangesFollowTheWallClock) {
    struct Case {
        const char* zone;
        StoredDate start;
        std::int64_t instant;
        std::int32_t hours, minutes, seconds;
    };
    const Case cases[] = {
        {"America/New_York", {2008, 3, 9}, 1205045999, 1, 59, 59},     // 01:59:59 EST
        {"America/New_York", {2008, 3, 9}, 1205046000, 3, 0, 0},       // 03:00:00 EDT
        {"America/New_York", {2008, 11, 2}, 1225603800, 1, 30, 0},     // 01:30 EDT
        {"America/New_York", {2008, 11, 2}, 1225607400, 1, 30, 0},     // 01:30 EST, again
        {"Australia/Lord_Howe", {2008, 4, 6}, 1207407599, 1, 59, 59},  // +11
        {"Australia/Lord_Howe", {2008, 4, 6}, 1207407600, 1, 30, 0},   // +10:30
    };
    for (const Case& c : cases) {
        const ScopedTimeZone zone(c.zone);
        const CounterReading r = ComputeReading(c.start, c.instant);
        EXPECT_EQ(r.hours, c.hours) << c.zone << " " << c.instant;
        EXPECT_EQ(r.minutes, c.minutes) << c.zone << " " << c.instant;
        EXPECT_EQ(r.seconds, c.seconds) << c.zone << " " << c.instant;
        EXPECT_EQ(r.totalDays, 0) << c.zone << " " << c.instant;
    }
}
#endif

// Any stored numbers and any instant give a defined, consistent reading.
TEST(ComputeReading, AnyInputGivesAConsistentReading) {
    const ScopedTimeZone zone("UTC");
    std::mt19937_64 random(7);
    const std::int32_t edges[] = {INT32_MIN, -65536, -1, 0, 1, 12, 13, 31, 65535, 65536, INT32_MAX};
    const std::int64_t instants[] = {INT64_MIN, -1, 0, 1215163540, 32535244799, INT64_MAX};
    for (int i = 0; i < 20000; ++i) {
        StoredDate start;
        start.year = i % 3 ? static_cast<std::int32_t>(random()) : edges[random() % 11];
        start.month = i % 5 ? static_cast<std::int32_t>(random() % 16) : edges[random() % 11];
        start.day = i % 7 ? static_cast<std::int32_t>(random() % 34) : edges[random() % 11];
        const std::int64_t instant = i % 2 ? static_cast<std::int64_t>(random()) : instants[i % 6];
        const CounterReading r = ComputeReading(start, instant);
        ASSERT_TRUE(r.seconds > -60 && r.seconds < 60 && r.minutes > -60 && r.minutes < 60 &&
                    r.hours > -24 && r.hours < 24 && r.days > -30 && r.days < 30 &&
                    r.months > -13 && r.months < 13)
            << start.year << "-" << start.month << "-" << start.day << " at " << instant;
        ASSERT_EQ(r.totalDays, r.years * 365 + r.months * 30 + r.days);
        ASSERT_FALSE(r.dateText.empty());
    }
}

}  // namespace
