#include "serial_date_time.h"

#include "date_text.h"
#include "local_time.h"
#include "ole_date.h"

void SerialDateTime::SetFromInstant(std::int64_t instant) {
    DateFields fields;
    double encoded = 0.0;
    if (local_time::FieldsFromInstant(instant, fields) && ole_date::Encode(fields, encoded)) {
        value = encoded;
        status = DateStatus::valid;
    } else {
        status = DateStatus::invalid;
    }
}

void SerialDateTime::SetDateTime(std::int32_t year, std::int32_t month, std::int32_t day,
                                 std::int32_t hour, std::int32_t minute, std::int32_t second) {
    DateFields wanted;
    wanted.year = static_cast<std::uint16_t>(year);
    wanted.month = static_cast<std::uint16_t>(month);
    wanted.day = static_cast<std::uint16_t>(day);
    wanted.hour = static_cast<std::uint16_t>(hour);
    wanted.minute = static_cast<std::uint16_t>(minute);
    wanted.second = static_cast<std::uint16_t>(second);

    double encoded = 0.0;
    if (!ole_date::Encode(wanted, encoded)) {
        status = DateStatus::invalid;
        return;
    }
    // Decoding back must give the same fields; a zeroed record fails when decoding does.
    DateFields decoded{};
    ole_date::Decode(encoded, decoded);
    const bool same = decoded.year == wanted.year && decoded.month == wanted.month &&
                      decoded.day == wanted.day && decoded.hour == wanted.hour &&
                      decoded.minute == wanted.minute && decoded.second == wanted.second;
    if (same) value = encoded;
    status = same ? DateStatus::valid : DateStatus::invalid;
}

std::wstring SerialDateTime::FormatSerialDate(std::wstring_view pattern) const {
    if (status == DateStatus::null) return {};
    DateFields fields;
    if (status != DateStatus::valid || !ole_date::Decode(value, fields)) {
        return std::wstring{kInvalidDateText};
    }
    wchar_t buffer[date_text::kBufferChars];
    const std::size_t length = date_text::Render(pattern, fields, buffer);
    return std::wstring(buffer, length);
}

DaySpan Difference(const SerialDateTime& a, const SerialDateTime& b) {
    return ole_date::Linear(a.value) - ole_date::Linear(b.value);
}
