// Date values and the counter reading: the calendar day by day, the edge cases as two
// tables, exact integer arithmetic across the whole range, and any input at all.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>

#include "calendar.h"
#include "count_text.h"
#include "counter_reading.h"
#include "ole_date.h"
#include "serial_date_time.h"
#include "time_zone.h"

namespace {
int g_allocations = 0;
}
void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

// Every day of the encodable range, at several times of day, against the test's own
// calendar: consecutive day numbers, and decoding gives back the date with its weekday
// and day of the year.
TEST(OleDate, EveryDayRoundTripsWithWeekdayAndDayOfYear) {
    std::int64_t dayNumber = ole_date::kFirstDayNumber;
    int weekday = 5;  // 1 January 100 was a Friday (proleptic Gregorian)
    int failures = 0;
    for (int year = 100; year <= 9999 && failures < 10; ++year) {
        int dayOfYear = 1;
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(year, month); ++day) {
                for (const int second : {0, 1, 6 * 3600, 45296, 86399}) {
                    const auto f16 = [](int v) { return static_cast<std::uint16_t>(v); };
                    DateFields in{f16(year),       f16(month),         0,
                                  f16(day),        f16(second / 3600), f16(second / 60 % 60),
                                  f16(second % 60)};
                    double value = 0.0;
                    DateFields out;
                    const bool ok = ole_date::Encode(in, value) && ole_date::Decode(value, out);
                    const double whole = value < 0 ? std::ceil(value) : std::floor(value);
                    if (!ok || whole != static_cast<double>(dayNumber) || out.year != year ||
                        out.month != month || out.day != day || out.hour != in.hour ||
                        out.minute != in.minute || out.second != in.second ||
                        out.dayOfWeek != weekday || out.dayOfYear != dayOfYear) {
                        ADD_FAILURE() << year << "-" << month << "-" << day << " +" << second
                                      << "s: value " << value << " weekday " << out.dayOfWeek;
                        ++failures;
                    }
                }
                ++dayNumber, ++dayOfYear, weekday = (weekday + 1) % 7;
            }
        }
    }
    EXPECT_EQ(dayNumber, ole_date::kLastDayNumber + 1);
}

std::string Num(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}
std::string Describe(const SerialDateTime& date) {
    const char* status[] = {"valid ", "invalid ", "null "};
    return status[static_cast<int>(date.status)] + Num(date.value);
}
SerialDateTime Made(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    SerialDateTime date;
    date.SetDateTime(year, month, day, hour, minute, second);
    return date;
}
std::string Set(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return Describe(Made(year, month, day, hour, minute, second));
}
std::string Valid(double value) {
    return "valid " + Num(value);
}
std::string Text(SerialDateTime date, std::wstring_view pattern = kStartDatePattern) {
    const std::wstring text = date.FormatSerialDate(pattern);
    return std::string(text.begin(), text.end());
}
SerialDateTime With(double value, DateStatus status = DateStatus::valid) {
    return SerialDateTime{value, status};
}
std::string FromInstant(std::int64_t instant) {
    SerialDateTime now = With(7.5);  // a refusal must leave it
    now.SetFromInstant(instant);
    return Describe(now);
}
std::string Encoded(int year, int month, int day) {
    DateFields f;
    f.year = static_cast<std::uint16_t>(year);
    f.month = static_cast<std::uint16_t>(month);
    f.day = static_cast<std::uint16_t>(day);
    double value = 7.5;
    return ole_date::Encode(f, value) ? Num(value) : "refused";
}
std::string Decoded(double value) {
    DateFields f;
    if (!ole_date::Decode(value, f)) return "refused";
    return std::to_string(f.year) + "-" + std::to_string(f.month) + "-" + std::to_string(f.day) +
           " " + std::to_string(f.hour) + ":" + std::to_string(f.minute);
}

// What the day-by-day sweep above, the probe's expected answers (invalid days, years out
// of range, a wide month, the texts of a date) and, in the Windows builds, the comparison
// with the platform's own routines do not already cover.
TEST(SerialDateTime, EdgeCases) {
    SetZone("UTC");
    const std::pair<std::string, std::string> cases[] = {
        {Set(1899, 12, 29, 6), Valid(-1.25)},
        {Encoded(2007, 257, 1), "refused"},  // not 1 January, whatever the field's width
        {Encoded(2007, 1, 257), "refused"},
        // The difference is linear whatever the statuses.
        {Num(Difference(Made(1899, 12, 29, 6), With(0.25))), "-1"},
        {Num(Difference(With(0.25), With(-1.25, DateStatus::invalid))), "1"},
        {Num(ole_date::Linear(-0.5)), "0.5"},
        {Num(ole_date::Linear(-2.75)), "-1.25"},
        {Num(ole_date::Linear(-1.0)), "-1"},
        // The text.
        {Text(With(0, DateStatus::null)), ""},
        {Text(With(1e300)), "Invalid DateTime"},  // valid in name only: decoding fails
        {Text(With(39629.75), L"%a %b %d %m %y %H:%M:%S %j %w %% %Q"),
         "Mon Jun 30 06 08 18:00:00 182 1 % %Q"},
        {Text(With(39629.75), std::wstring(256, L'x')), ""},  // no room for the NUL
        {Text(With(39629.75), std::wstring(255, L'x')), std::string(255, 'x')},
        // Decoding rounds to the nearest second and refuses what is out of range.
        {Decoded(-657434.999999), "100-1-2 0:0"},
        {Decoded(ole_date::kLastDayNumber + 86399.6 / 86400), "refused"},
        {Decoded(ole_date::kFirstDayNumber - 1.0), "refused"},
        {Decoded(ole_date::kLastDayNumber + 1.0), "refused"},
        {Decoded(std::nan("")), "refused"},
        {Decoded(INFINITY), "refused"},
        // The clock's instants, in UTC here.
        {FromInstant(32535244799), Valid(402134 + 28799 / 86400.0)},
        {FromInstant(-1), "invalid 7.5"},
        {FromInstant(32535244800), "invalid 7.5"},
        {FromInstant(INT64_MIN), "invalid 7.5"},
        {FromInstant(INT64_MAX), "invalid 7.5"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
    }
}

std::string Shown(const CounterReading& r) {
    std::string text(r.dateText.begin(), r.dateText.end());
    for (const CountText& number : FormatCounts(r)) {
        text += ' ';
        for (const wchar_t* c = number.data(); *c != L'\0'; ++c) text += static_cast<char>(*c);
    }
    return text;
}

// The zone is changed between cases without telling the runtime: the reading must
// follow the zone in force when it is computed. A reading allocates only its date text.
TEST(ComputeReading, EdgeCases) {
    SetZone("UTC");
    const std::int64_t june30 = UtcInstant(2008, 6, 30);
    const std::string kJune30 = "Monday, June 30, 2008 ";
    struct Case {
        const char* zone;
        StoredDate start;
        std::int64_t instant;
        std::string shown;  // the eight texts: date, years ... seconds, total days
    };
    const Case cases[] = {
        {"UTC", {2008, 6, 30}, june30 + 14 * 3600 + 3 * 60 + 27, kJune30 + "0 0 0 14 3 27 0"},
        {"UTC", {2008, 6, 30}, june30, kJune30 + "0 0 0 0 0 0 0"},
        {"UTC", {2008, 6, 30}, june30 + 86400, kJune30 + "0 0 1 0 0 0 1"},
        {"UTC", {2008, 6, 30}, UtcInstant(2008, 7, 4, 9, 15, 40), kJune30 + "0 0 4 9 15 40 4"},
        {"EST5", {2008, 6, 30}, UtcInstant(2008, 7, 4, 9, 15, 40), kJune30 + "0 0 4 4 15 40 4"},
        {"UTC", {2008, 6, 30}, june30 + 1461 * 86400, kJune30 + "4 0 1 0 0 0 1461"},
        // A start tomorrow, seen at 18:00 today, and a day later.
        {"UTC", {2008, 7, 1}, june30 + 18 * 3600, "Tuesday, July 01, 2008 0 0 0 -6 0 0 0"},
        {"UTC", {2008, 7, 1}, june30 + 64801, "Tuesday, July 01, 2008 0 0 0 -5 -59 -59 0"},
        {"UTC", {2008, 7, 2}, june30, "Wednesday, July 02, 2008 0 0 -2 0 0 0 -2"},
        // An invalid start counts from the preset 0.0, 30 December 1899; so does an
        // instant the runtime cannot convert.
        {"UTC", {2008, 13, 1}, june30, "Invalid DateTime 108 6 29 0 0 0 39629"},
        {"UTC", {1899, 12, 30}, -1, "Saturday, December 30, 1899 0 0 0 0 0 0 0"},
        // Local wall-clock time as it is: across a daylight-saving change the counter
        // jumps with the clock. (The Windows runtime knows no such zone names.)
        {"America/New_York", {2008, 3, 9}, 1205045999, "Sunday, March 09, 2008 0 0 0 1 59 59 0"},
        {"America/New_York", {2008, 3, 9}, 1205046000, "Sunday, March 09, 2008 0 0 0 3 0 0 0"},
        {"America/New_York", {2008, 11, 2}, 1225603800, "Sunday, November 02, 2008 0 0 0 1 30 0 0"},
        {"America/New_York", {2008, 11, 2}, 1225607400, "Sunday, November 02, 2008 0 0 0 1 30 0 0"},
        {"Australia/Lord_Howe", {2008, 4, 6}, 1207407599, "Sunday, April 06, 2008 0 0 0 1 59 59 0"},
        {"Australia/Lord_Howe", {2008, 4, 6}, 1207407600, "Sunday, April 06, 2008 0 0 0 1 30 0 0"},
        {"UTC", {2008, 6, 30}, june30 + 59, kJune30 + "0 0 0 0 0 59 0"},
    };
    for (const Case& c : cases) {
#ifdef _WIN32
        if (std::strchr(c.zone, '/') != nullptr) continue;
#endif
        SetZone(c.zone, false);
        const int before = g_allocations;
        const CounterReading reading = ComputeReading(c.start, c.instant);
        EXPECT_EQ(g_allocations - before, 1) << "allocations besides the date text";
        EXPECT_EQ(Shown(reading), c.shown) << c.zone << " " << c.instant;
    }
    for (const auto& [value, text] :
         {std::pair{INT32_MAX, L"2147483647"}, {INT32_MIN, L"-2147483648"}}) {
        CountText shown;
        FormatCount(value, shown);
        EXPECT_STREQ(shown.data(), text);
    }
}

// From the default start in UTC every unit is exact integer arithmetic on the instant:
// a sweep across the whole convertible range, through 2038 and well past it, each instant
// with the seconds on either side: half of them whole days, a sixth the first day of a
// 30-day month of the count, a twelfth the first day of a 365-day year.
TEST(ComputeReading, MatchesIntegerArithmeticAcrossTheRange) {
    SetZone("UTC");
    std::mt19937_64 random(20081231);
    std::uniform_int_distribution<std::int64_t> pick(0, 32535244799);
    int failures = 0;
    for (int i = 0; i < 200000 && failures < 10; ++i) {
        std::int64_t base = pick(random);
        if (i % 2 == 0) base -= base % 86400;  // whole days, where rounding goes wrong
        if (i % 6 == 0) base -= base / 86400 % 365 % 30 * 86400;
        if (i % 12 == 0) base -= base / 86400 % 365 * 86400;
        for (std::int64_t t : {base - 1, base, base + 1}) {
            if (t < 0) continue;
            const CounterReading r = ComputeReading(StoredDate{}, t);
            const std::int64_t days = t / 86400;
            if (r.seconds != t % 60 || r.minutes != t / 60 % 60 || r.hours != t / 3600 % 24 ||
                r.totalDays != days || r.years != days / 365 || r.months != days % 365 / 30 ||
                r.days != days % 365 % 30) {
                ++failures;
                ADD_FAILURE() << "instant " << t << ": " << r.years << "y " << r.months << "m "
                              << r.days << "d " << r.hours << ":" << r.minutes << ":" << r.seconds;
            }
        }
    }
}

}  // namespace
