#include "counter_reading.h"

#include <cfloat>
#include <cmath>

#include "serial_date_time.h"

// The reading must come out the same on every build: doubles are computed at double
// precision, never in wider registers (the 32-bit build uses SSE2 for this).
static_assert(FLT_EVAL_METHOD == 0);

namespace {

// Truncation toward zero that stays defined for any double: out-of-range values
// saturate and NaN gives 0.
std::int64_t TruncateToInt64(double value) {
    constexpr double kLimit = 9.2e18;  // just inside the int64 range
    if (std::isnan(value)) return 0;
    if (value >= kLimit) return static_cast<std::int64_t>(kLimit);
    if (value <= -kLimit) return -static_cast<std::int64_t>(kLimit);
    return static_cast<std::int64_t>(value);
}

std::int32_t ClampToInt32(std::int64_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

}  // namespace

CounterReading ComputeReading(const StoredDate& storedDate, std::int64_t instant) {
    SerialDateTime now;
    now.SetFromInstant(instant);
    SerialDateTime start;
    start.SetDateTime(storedDate.year, storedDate.month, storedDate.day, 0, 0, 0);

    CounterReading reading;
    reading.dateText = start.FormatSerialDate(kStartDatePattern);

    const DaySpan span = Difference(now, start);
    const double biased = span + (span >= 0.0 ? HALF_SECOND : -HALF_SECOND);

    const std::int64_t totalDays = TruncateToInt64(biased);
    const std::int64_t totalHours = TruncateToInt64(biased * 24.0);
    const std::int64_t totalMinutes = TruncateToInt64(biased * 1440.0);
    const std::int64_t totalSeconds = TruncateToInt64(biased * 86400.0);

    reading.hours = static_cast<std::int32_t>(totalHours % 24);
    reading.minutes = static_cast<std::int32_t>(totalMinutes % 60);
    reading.seconds = static_cast<std::int32_t>(totalSeconds % 60);

    // Valid dates lie under 3.7 million days apart, so the day count always fits.
    reading.totalDays = ClampToInt32(totalDays);
    reading.years = reading.totalDays / 365;
    const std::int32_t rest = reading.totalDays % 365;
    reading.months = rest / 30;
    reading.days = rest % 30;
    return reading;
}
