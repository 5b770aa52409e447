#include "local_time.h"

#include <ctime>

namespace local_time {

bool FieldsFromInstant(std::int64_t instant, DateFields& fields) {
    if (instant < kFirstInstant || instant > kLastInstant) return false;

    // The zone is read afresh each time: the runtime reads it once per process, and a
    // counter that runs for months must follow the user to a new zone or new rules.
    std::tm local{};
#ifdef _WIN32
    _tzset();
    const __time64_t clock = instant;
    if (_localtime64_s(&local, &clock) != 0) return false;
#else
    tzset();
    const std::time_t clock = static_cast<std::time_t>(instant);
    if (localtime_r(&clock, &local) == nullptr) return false;
#endif
    fields.year = static_cast<std::uint16_t>(local.tm_year + 1900);
    fields.month = static_cast<std::uint16_t>(local.tm_mon + 1);
    fields.dayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
    fields.day = static_cast<std::uint16_t>(local.tm_mday);
    fields.hour = static_cast<std::uint16_t>(local.tm_hour);
    fields.minute = static_cast<std::uint16_t>(local.tm_min);
    fields.second = static_cast<std::uint16_t>(local.tm_sec);
    fields.milliseconds = 0;
    return true;
}

std::int64_t CurrentInstant() {
#ifdef _WIN32
    return _time64(nullptr);
#else
    static_assert(sizeof(std::time_t) == 8);
    return std::time(nullptr);
#endif
}

}  // namespace local_time
