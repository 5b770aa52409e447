#include "serial_date_time.h"

#include <gtest/gtest.h>

#include <climits>

#include "counter_reading.h"
#include "time_zone.h"

namespace {

TEST(SerialDateTime, SetDateTimeValidity) {
    struct Case {
        std::int32_t year, month, day, hour, minute, second;
        bool valid;
        double value;  // checked when valid
    };
    const Case cases[] = {
        {2007, 2, 29, 0, 0, 0, false, 0},
        {2000, 2, 29, 0, 0, 0, true, 36585},
        {1900, 2, 29, 0, 0, 0, false, 0},
        {99, 12, 31, 0, 0, 0, false, 0},
        {100, 1, 1, 0, 0, 0, true, -657434},
        {9999, 12, 31, 23, 59, 59, true, 2958465 + 86399.0 / 86400},
        {10000, 1, 1, 0, 0, 0, false, 0},
        {2007, 65537, 1, 0, 0, 0, true, 39083},  // month narrows to 1
        {65536 + 2008, 6, 30, 0, 0, 0, true, 39629},
        {1899, 12, 29, 6, 0, 0, true, -1.25},
        {1899, 12, 30, 0, 0, 0, true, 0},
        {1970, 1, 1, 24, 0, 0, false, 0},
        {1970, 1, 1, 0, 60, 0, false, 0},
        {1970, 1, 1, 0, 0, 60, false, 0},
        {1970, 0, 1, 0, 0, 0, false, 0},
        {1970, 13, 1, 0, 0, 0, false, 0},
        {1970, 1, 0, 0, 0, 0, false, 0},
        {1970, 4, 31, 0, 0, 0, false, 0},
        {-1, 1, 1, 0, 0, 0, false, 0},  // narrows to 65535
        {INT32_MIN, INT32_MIN, INT32_MIN, 0, 0, 0, false, 0},
    };
    for (const Case& c : cases) {
        SerialDateTime date;
        date.SetDateTime(c.year, c.month, c.day, c.hour, c.minute, c.second);
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day << " " << c.hour
                                        << ":" << c.minute << ":" << c.second);
        EXPECT_EQ(date.status, c.valid ? DateStatus::valid : DateStatus::invalid);
        // An invalid date keeps the preset value.
        EXPECT_DOUBLE_EQ(date.value, c.valid ? c.value : 0.0);
    }
}

TEST(SerialDateTime, DifferenceIsLinear) {
    SerialDateTime early;
    early.SetDateTime(1899, 12, 29, 6, 0, 0);
    SerialDateTime quarter;
    quarter.value = 0.25;
    EXPECT_EQ(Difference(early, quarter), -1.0);
    EXPECT_EQ(Difference(quarter, early), 1.0);
    // Statuses do not matter: an invalid value still takes part.
    early.status = DateStatus::invalid;
    EXPECT_EQ(Difference(quarter, early), 1.0);
}

TEST(SerialDateTime, FormatSerialDate) {
    struct Case {
        std::int32_t year, month, day;
        const wchar_t* text;
    };
    const Case cases[] = {
        {1970, 1, 1, L"Thursday, January 01, 1970"},  {2008, 6, 30, L"Monday, June 30, 2008"},
        {999, 6, 15, L"Saturday, June 15, 0999"},     {100, 1, 1, L"Friday, January 01, 0100"},
        {9999, 12, 31, L"Friday, December 31, 9999"}, {1899, 12, 29, L"Friday, December 29, 1899"},
        {2000, 2, 29, L"Tuesday, February 29, 2000"}, {2007, 2, 29, L"Invalid DateTime"},
    };
    for (const Case& c : cases) {
        SerialDateTime date;
        date.SetDateTime(c.year, c.month, c.day, 0, 0, 0);
        EXPECT_EQ(date.FormatSerialDate(kStartDatePattern), c.text);
    }

    SerialDateTime date;
    date.status = DateStatus::null;
    EXPECT_EQ(date.FormatSerialDate(kStartDatePattern), L"");
    date.status = DateStatus::valid;
    date.value = 1e300;  // valid in name only: decoding fails
    EXPECT_EQ(date.FormatSerialDate(kStartDatePattern), L"Invalid DateTime");
    date.value = 39629.75;
    EXPECT_EQ(date.FormatSerialDate(L"%a %b %d %m %y %H:%M:%S %j %w %% %Q"),
              L"Mon Jun 30 06 08 18:00:00 182 1 % %Q");
    // A text longer than the runtime's 256-character buffer gives the empty text.
    EXPECT_EQ(date.FormatSerialDate(std::wstring(300, L'x')), L"");
    EXPECT_EQ(date.FormatSerialDate(std::wstring(255, L'x')), std::wstring(255, L'x'));
}

TEST(SerialDateTime, SetFromInstantRangeAndLocalFields) {
    const ScopedTimeZone zone("UTC");
    struct Case {
        std::int64_t instant;
        bool valid;
        double value;  // when valid; otherwise the previous value stays
    };
    const Case cases[] = {
        {0, true, 25569},
        {-1, false, 0},
        {1215162940, true, 39633 + (9 * 3600 + 15 * 60 + 40) / 86400.0},  // 2008-07-04 09:15:40
        {32535244799, true, 402134 + (7 * 3600 + 59 * 60 + 59) / 86400.0},
        {32535244800, false, 0},
        {INT64_MIN, false, 0},
        {INT64_MAX, false, 0},
    };
    for (const Case& c : cases) {
        SerialDateTime now;
        now.value = 7.5;  // must survive a refusal
        now.SetFromInstant(c.instant);
        EXPECT_EQ(now.status, c.valid ? DateStatus::valid : DateStatus::invalid) << c.instant;
        EXPECT_DOUBLE_EQ(now.value, c.valid ? c.value : 7.5) << c.instant;
    }
}

}  // namespace
