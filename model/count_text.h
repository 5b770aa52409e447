// A counter number as the window shows it: "%d", no grouping, no padding.
#pragma once

#include <array>
#include <cstdint>

#include "counter_reading.h"

// Room for "-2147483648" and the terminating NUL.
using CountText = std::array<wchar_t, 12>;

// Fills `text` with the terminated decimal form of `value`, without allocating.
void FormatCount(std::int32_t value, CountText& text);

// A reading's seven numbers as shown, in display order: years, months, days, hours,
// minutes, seconds, total days.
using CountTexts = std::array<CountText, 7>;
CountTexts FormatCounts(const CounterReading& reading);
