// Broken-down calendar fields of one local wall-clock moment, laid out like the
// platform's SYSTEMTIME followed by UDATE's day of the year.
#pragma once

#include <cstdint>

struct DateFields {
    std::uint16_t year = 0;
    std::uint16_t month = 0;      // 1-12
    std::uint16_t dayOfWeek = 0;  // 0 = Sunday
    std::uint16_t day = 0;        // 1-31
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
    std::uint16_t dayOfYear = 0;  // 1 = 1 January; filled by decoding only
};
