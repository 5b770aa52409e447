// Sets the process's local time zone for one test and puts the old one back.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#ifdef _WIN32
#include <stdlib.h>
#endif

class ScopedTimeZone {
  public:
    // `zone` in the runtime's own format: an IANA name natively, "EST5EDT" or "UTC"
    // for the Windows runtime.
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) m_old = old;
        Set(zone);
    }
    ~ScopedTimeZone() { Set(m_old ? m_old->c_str() : nullptr); }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

  private:
    static void Set(const char* zone) {
#ifdef _WIN32
        _putenv_s("TZ", zone ? zone : "");
        _tzset();
#else
        if (zone) {
            setenv("TZ", zone, 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
#endif
    }
    std::optional<std::string> m_old;
};
