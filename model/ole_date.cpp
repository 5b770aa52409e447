#include "ole_date.h"

#include <chrono>
#include <cmath>

namespace ole_date {
namespace {

using std::chrono::day;
using std::chrono::days;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

constexpr sys_days kEpoch = year{1899} / 12 / 30;
constexpr std::int64_t kSecondsPerDay = 86400;

}  // namespace

double Linear(double value) {
    if (value >= 0.0) return value;
    const double wholeDays = std::ceil(value);
    return wholeDays - (value - wholeDays);
}

bool Encode(const DateFields& fields, double& value) {
    if (fields.year < kFirstYear || fields.year > kLastYear) return false;
    if (fields.hour > 23 || fields.minute > 59 || fields.second > 59) return false;
    // The calendar types keep month and day in one byte: 257 would wrap to 1.
    if (fields.month < 1 || fields.month > 12 || fields.day < 1 || fields.day > 31) return false;
    const year_month_day date{year{fields.year}, month{fields.month}, day{fields.day}};
    if (!date.ok()) return false;

    const std::int64_t dayNumber = (sys_days{date} - kEpoch).count();
    const double timeOfDay =
        static_cast<double>(fields.hour * 3600 + fields.minute * 60 + fields.second) /
        static_cast<double>(kSecondsPerDay);
    value = dayNumber >= 0 ? static_cast<double>(dayNumber) + timeOfDay
                           : static_cast<double>(dayNumber) - timeOfDay;
    return true;
}

bool Decode(double value, DateFields& fields) {
    // One day of slack on each side: the fraction of the first and last day stays in range.
    if (!(value > kFirstDayNumber - 1.0 && value < kLastDayNumber + 1.0)) return false;

    const double linear = Linear(value);
    const double wholeDays = std::floor(linear);
    std::int64_t dayNumber = static_cast<std::int64_t>(wholeDays);
    // The fraction is never negative, so adding a half and truncating rounds to nearest
    // (halves up, as the platform's own decoder does).
    const double secondsIntoDay = (linear - wholeDays) * kSecondsPerDay;
    // NOLINTNEXTLINE(bugprone-incorrect-roundings)
    std::int64_t secondOfDay = static_cast<std::int64_t>(secondsIntoDay + 0.5);
    if (secondOfDay >= kSecondsPerDay) {  // 23:59:59.5 and later round into the next day
        ++dayNumber;
        secondOfDay -= kSecondsPerDay;
    }
    if (dayNumber < kFirstDayNumber || dayNumber > kLastDayNumber) return false;

    const sys_days date = kEpoch + days{dayNumber};
    const year_month_day ymd{date};
    const sys_days newYear = ymd.year() / 1 / 1;

    fields.year = static_cast<std::uint16_t>(static_cast<int>(ymd.year()));
    fields.month = static_cast<std::uint16_t>(static_cast<unsigned>(ymd.month()));
    fields.day = static_cast<std::uint16_t>(static_cast<unsigned>(ymd.day()));
    fields.dayOfWeek = static_cast<std::uint16_t>(std::chrono::weekday{date}.c_encoding());
    fields.dayOfYear = static_cast<std::uint16_t>((date - newYear).count() + 1);
    fields.hour = static_cast<std::uint16_t>(secondOfDay / 3600);
    fields.minute = static_cast<std::uint16_t>(secondOfDay / 60 % 60);
    fields.second = static_cast<std::uint16_t>(secondOfDay % 60);
    fields.milliseconds = 0;
    return true;
}

}  // namespace ole_date
