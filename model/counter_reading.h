// Everything the counter window shows, computed from the start date and the clock.
#pragma once

#include <bit>
#include <cstdint>
#include <string>

// The start date as the store hands it over, not yet judged.
struct StoredDate {
    std::int32_t year = 1970;
    std::int32_t month = 1;
    std::int32_t day = 1;
};

// The eight display values, in display order.
struct CounterReading {
    std::wstring dateText;
    std::int32_t years = 0;
    std::int32_t months = 0;
    std::int32_t days = 0;
    std::int32_t hours = 0;
    std::int32_t minutes = 0;
    std::int32_t seconds = 0;
    std::int32_t totalDays = 0;
};

// Half a second in days. Every unit is cut from the span biased by it, so seconds,
// minutes, hours and days all roll over together.
inline constexpr double HALF_SECOND = 0.5 / 86400.0;
static_assert(std::bit_cast<std::uint64_t>(HALF_SECOND) == 0x3ED845C8A0CE5129u);

inline constexpr wchar_t kStartDatePattern[] = L"%A, %B %d, %Y";

// The time since local midnight of the stored date, in 365-day years and 30-day months,
// at `instant` (seconds since 1970 UTC). Never fails.
CounterReading ComputeReading(const StoredDate& storedDate, std::int64_t instant);
