// The process's local time zone in tests, in the runtime's own format: an IANA name
// natively, "EST5" or "UTC" for the Windows runtime.
#pragma once

#include <cstdlib>
#include <ctime>

// Sets TZ. Unannounced (no tzset), it reaches the runtime as a change of zone reaches
// a program that is already running.
inline void SetZone(const char* zone, bool announce = true) {
#ifdef _WIN32
    _putenv_s("TZ", zone);
    if (announce) _tzset();
#else
    setenv("TZ", zone, 1);
    if (announce) tzset();
#endif
}
