// Whether the eight texts read from the counter window are the reading of a start date at
// some second from just before `from` to `to`, the clock read before and after the read.
#pragma once

#include <cstdint>

#include "count_text.h"
#include "driver.h"

inline bool ShowsReadingBetween(const e2e::CounterTexts& shown, const StoredDate& start,
                                std::int64_t from, std::int64_t to) {
    for (std::int64_t t = from - 1; t <= to; ++t) {
        const CounterReading reading = ComputeReading(start, t);
        e2e::CounterTexts texts{reading.dateText};
        const CountTexts numbers = FormatCounts(reading);
        for (std::size_t i = 0; i < numbers.size(); ++i) texts[i + 1] = numbers[i].data();
        if (shown == texts) return true;
    }
    return false;
}
