// Our portable date code against the Windows platform's: SystemTimeToVariantTime,
// VariantTimeToSystemTime, VarUdateFromDate and the C runtime's wcsftime, put together
// the way the counter uses them. Status, value and text must agree.
#include <gtest/gtest.h>
#include <windows.h>

#include <oleauto.h>

#include <cmath>
#include <ctime>
#include <random>
#include <string>

#include "serial_date_time.h"

namespace {

// Day of year and the time in the pattern too, so every decoded field is compared.
constexpr wchar_t kPattern[] = L"%A, %B %d, %Y (%j) %H:%M:%S";

struct Result {
    DateStatus status;
    double value;
    std::wstring text;
};

std::wstring PlatformText(bool valid, double value) {
    UDATE decoded{};
    if (!valid || VarUdateFromDate(value, 0, &decoded) != S_OK) return L"Invalid DateTime";
    std::tm fields{};
    fields.tm_sec = decoded.st.wSecond;
    fields.tm_min = decoded.st.wMinute;
    fields.tm_hour = decoded.st.wHour;
    fields.tm_mday = decoded.st.wDay;
    fields.tm_mon = decoded.st.wMonth - 1;
    fields.tm_year = decoded.st.wYear - 1900;
    fields.tm_wday = decoded.st.wDayOfWeek;
    fields.tm_yday = decoded.wDayOfYear - 1;
    wchar_t buffer[256];
    const std::size_t length = wcsftime(buffer, 256, kPattern, &fields);
    return std::wstring(buffer, length);
}

// The counter's SetDateTime and formatting, done with the platform's routines.
Result PlatformSetDateTime(std::int32_t year, std::int32_t month, std::int32_t day,
                           std::int32_t hour, std::int32_t minute, std::int32_t second) {
    SYSTEMTIME wanted{};
    wanted.wYear = static_cast<WORD>(year);
    wanted.wMonth = static_cast<WORD>(month);
    wanted.wDay = static_cast<WORD>(day);
    wanted.wHour = static_cast<WORD>(hour);
    wanted.wMinute = static_cast<WORD>(minute);
    wanted.wSecond = static_cast<WORD>(second);
    double value = 0.0;
    bool valid = SystemTimeToVariantTime(&wanted, &value) != FALSE;
    if (valid) {
        SYSTEMTIME back{};
        VariantTimeToSystemTime(value, &back);
        valid = back.wYear == wanted.wYear && back.wMonth == wanted.wMonth &&
                back.wDay == wanted.wDay && back.wHour == wanted.wHour &&
                back.wMinute == wanted.wMinute && back.wSecond == wanted.wSecond;
    }
    return {valid ? DateStatus::valid : DateStatus::invalid, value, PlatformText(valid, value)};
}

Result OurSetDateTime(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                      std::int32_t minute, std::int32_t second) {
    SerialDateTime date;
    date.SetDateTime(year, month, day, hour, minute, second);
    return {date.status, date.value, date.FormatSerialDate(kPattern)};
}

// Compares one set of fields; returns false (after reporting) on a difference.
bool Agree(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
           std::int32_t minute, std::int32_t second) {
    const Result ours = OurSetDateTime(year, month, day, hour, minute, second);
    const Result platform = PlatformSetDateTime(year, month, day, hour, minute, second);
    const bool valuesAgree =
        ours.status != DateStatus::valid || std::fabs(ours.value - platform.value) < 1e-9;
    if (ours.status == platform.status && valuesAgree && ours.text == platform.text) return true;
    ADD_FAILURE() << year << "-" << month << "-" << day << " " << hour << ":" << minute << ":"
                  << second << ": ours " << static_cast<int>(ours.status) << " " << ours.value
                  << " [" << testing::PrintToString(ours.text) << "], platform "
                  << static_cast<int>(platform.status) << " " << platform.value << " ["
                  << testing::PrintToString(platform.text) << "]";
    return false;
}

TEST(PlatformReference, EveryDayOfTheRangeAtSeveralTimes) {
    const int times[][3] = {{0, 0, 0}, {6, 0, 0}, {12, 34, 56}, {23, 59, 59}};
    int failures = 0;
    for (int year = 100; year <= 9999 && failures < 10; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                for (const auto& t : times) {
                    if (!Agree(year, month, day, t[0], t[1], t[2])) ++failures;
                }
            }
        }
    }
}

TEST(PlatformReference, OutOfRangeAndRandomFields) {
    std::mt19937 random(1899);
    const std::int32_t odd[] = {0,   13,   65537, 32,    24,        60,   -1,          99,
                                100, 9999, 10000, 65535, INT32_MAX, 1899, 65536 + 2008};
    const auto pick = [&](std::int32_t low, std::int32_t high) {
        if (random() % 4 == 0) return odd[random() % std::size(odd)];
        return static_cast<std::int32_t>(
            low + static_cast<std::int32_t>(random() % static_cast<unsigned>(high - low + 1)));
    };
    int failures = 0;
    for (int i = 0; i < 1000000 && failures < 10; ++i) {
        const std::int32_t year = random() % 8 == 0 ? pick(-200, 200) : pick(0, 10100);
        if (!Agree(year, pick(0, 13), pick(0, 32), pick(0, 24), pick(0, 60), pick(0, 60))) {
            ++failures;
        }
    }
}

}  // namespace
