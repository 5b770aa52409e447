// The OLE Automation date: days since 30 December 1899, 00:00, with the time of day
// as the fraction. Below zero the whole part counts backwards while the fraction
// still counts forwards, so -1.25 is 29 December 1899, 06:00.
#pragma once

#include <cstdint>

#include "date_fields.h"

namespace ole_date {

// The encodable range: 1 January 100 to 31 December 9999.
inline constexpr int kFirstYear = 100;
inline constexpr int kLastYear = 9999;
inline constexpr std::int64_t kFirstDayNumber = -657434;  // 1 January 100
inline constexpr std::int64_t kLastDayNumber = 2958465;   // 31 December 9999

// The value on a linear day scale, so that two values can be subtracted.
double Linear(double value);

// Encodes a real calendar date in range with hour 0-23, minute 0-59 and second 0-59.
// Anything else is refused and `value` is left untouched. Milliseconds and the day of
// the week are ignored.
bool Encode(const DateFields& fields, double& value);

// Decodes to the nearest whole second, with day of week and day of year. Refuses
// values outside the encodable range, infinities and NaN; `fields` is then untouched.
bool Decode(double value, DateFields& fields);

}  // namespace ole_date
