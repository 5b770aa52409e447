// What the counter window must show: the eight texts of a reading, and whether texts read
// from the window are the reading of a start date at some second in a range.
#pragma once

#include <cstdint>

#include "count_text.h"
#include "driver.h"

inline e2e::CounterTexts TextsOf(const CounterReading& reading) {
    e2e::CounterTexts texts{reading.dateText};
    const CountTexts numbers = FormatCounts(reading);
    for (std::size_t i = 0; i < numbers.size(); ++i) texts[i + 1] = numbers[i].data();
    return texts;
}

// `from` and `to` bracket the read: the clock read just before and just after it.
inline bool ShowsReadingBetween(const e2e::CounterTexts& shown, const StoredDate& start,
                                std::int64_t from, std::int64_t to) {
    for (std::int64_t t = from - 1; t <= to; ++t) {
        if (shown == TextsOf(ComputeReading(start, t))) return true;
    }
    return false;
}
