#include "count_text.h"

void FormatCount(std::int32_t value, CountText& text) {
    // Work on the magnitude as unsigned so that INT32_MIN needs no special case.
    std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    wchar_t reversed[10];
    std::size_t count = 0;
    do {
        reversed[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    std::size_t length = 0;
    if (value < 0) text[length++] = L'-';
    while (count > 0) text[length++] = reversed[--count];
    text[length] = L'\0';
}

CountTexts FormatCounts(const CounterReading& reading) {
    const std::int32_t numbers[] = {reading.years,    reading.months,  reading.days,
                                    reading.hours,    reading.minutes, reading.seconds,
                                    reading.totalDays};
    CountTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i) FormatCount(numbers[i], texts[i]);
    return texts;
}
