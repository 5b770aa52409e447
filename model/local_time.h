// The C runtime's conversion of a clock reading to local wall-clock fields.
#pragma once

#include <cstdint>

#include "date_fields.h"

namespace local_time {

// The instants that every build converts: the range the Windows runtime accepts,
// 1 January 1970 00:00:00 UTC to 1 January 3001 07:59:59 UTC.
inline constexpr std::int64_t kFirstInstant = 0;
inline constexpr std::int64_t kLastInstant = 32535244799;

// Fills `fields` (milliseconds 0, day of year left 0) from seconds since 1970 UTC,
// applying the local zone and daylight saving in force now (the zone is read afresh on
// every call). False outside the range above or when the runtime refuses.
bool FieldsFromInstant(std::int64_t instant, DateFields& fields);

// The clock: seconds since 1970 UTC, 64 bits on every build (the 32-bit Windows
// runtime's time_t would run out in 2038).
std::int64_t CurrentInstant();

}  // namespace local_time
