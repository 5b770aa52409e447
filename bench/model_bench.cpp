// What one counter tick costs in the model, beside the floor of runtime calls that
// any implementation following the zone makes: re-reading the zone, one local-time
// conversion and one wide strftime.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <cwchar>

#include "counter_reading.h"
#include "serial_date_time.h"

namespace {

constexpr std::int64_t kInstant = 1215162940;  // 2008-07-04 09:15:40 UTC

void UseNewYork() {
    setenv("TZ", "America/New_York", 1);
    tzset();
}

void BM_Floor_LocaltimeAndWcsftime(benchmark::State& state) {
    UseNewYork();
    std::time_t clock = kInstant;
    for (auto _ : state) {
        std::tm local{};
        tzset();
        localtime_r(&clock, &local);
        wchar_t buffer[256];
        benchmark::DoNotOptimize(std::wcsftime(buffer, 256, L"%A, %B %d, %Y", &local));
        benchmark::DoNotOptimize(buffer);
        ++clock;
    }
}
BENCHMARK(BM_Floor_LocaltimeAndWcsftime);

void BM_ComputeReading(benchmark::State& state) {
    UseNewYork();
    std::int64_t instant = kInstant;
    const StoredDate start{2008, 6, 30};
    for (auto _ : state) benchmark::DoNotOptimize(ComputeReading(start, instant++));
}
BENCHMARK(BM_ComputeReading);

void BM_FormatSerialDate(benchmark::State& state) {
    SerialDateTime date;
    date.SetDateTime(2008, 6, 30, 0, 0, 0);
    for (auto _ : state) benchmark::DoNotOptimize(date.FormatSerialDate(kStartDatePattern));
}
BENCHMARK(BM_FormatSerialDate);

}  // namespace
