// A local wall-clock moment as an OLE Automation day number with a status.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

enum class DateStatus : std::int32_t { valid = 0, invalid = 1, null = 2 };

// A signed difference of two moments in days, on a linear scale.
using DaySpan = double;

struct SerialDateTime {
    double value = 0.0;
    DateStatus status = DateStatus::valid;

    // Seconds since 1970 UTC to local time. Outside 1970 to 3001, or when the runtime
    // refuses, the status becomes invalid and the value stays as it was.
    void SetFromInstant(std::int64_t instant);

    // Each argument is narrowed to 16 bits; valid only for a real calendar date from
    // 1 January 100 to 31 December 9999 with hour 0-23, minute 0-59 and second 0-59.
    // An invalid result leaves the value as it was.
    void SetDateTime(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                     std::int32_t minute, std::int32_t second);

    // "" when null, "Invalid DateTime" when invalid or undecodable, otherwise the
    // pattern rendered with English names.
    std::wstring FormatSerialDate(std::wstring_view pattern) const;
};

DaySpan Difference(const SerialDateTime& a, const SerialDateTime& b);

inline constexpr std::wstring_view kInvalidDateText = L"Invalid DateTime";
