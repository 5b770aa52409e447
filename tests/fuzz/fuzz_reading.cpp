// Feeds arbitrary bytes to the counter arithmetic and to the probe's line parser. The
// first byte chooses: odd, a stored date and an instant for ComputeReading; even, one
// probe line. Any crash, sanitizer report or broken invariant is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "counter_reading.h"
#include "probe_line.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckReading(const CounterReading& r) {
    Check(r.seconds > -60 && r.seconds < 60 && r.minutes > -60 && r.minutes < 60);
    Check(r.hours > -24 && r.hours < 24 && r.days > -30 && r.days < 30);
    Check(r.months > -13 && r.months < 13);
    Check(r.totalDays == r.years * 365 + r.months * 30 + r.days);
    Check(!r.dateText.empty());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "America/New_York", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool()) {
        StoredDate start;
        start.year = input.ConsumeIntegral<std::int32_t>();
        start.month = input.ConsumeIntegral<std::int32_t>();
        start.day = input.ConsumeIntegral<std::int32_t>();
        CheckReading(ComputeReading(start, input.ConsumeIntegral<std::int64_t>()));
        return 0;
    }
    const std::string line = input.ConsumeRemainingBytesAsString();
    probe::Command command;
    std::string reason;
    if (!probe::ParseLine(line, command, reason)) {
        Check(!reason.empty());
        return 0;
    }
    if (const auto* date = std::get_if<probe::DateCommand>(&command)) {
        Check(!probe::AnswerDate(*date).empty());
    } else if (const auto* reading = std::get_if<probe::ReadingCommand>(&command)) {
        const CounterReading r = ComputeReading(reading->start, reading->instant);
        CheckReading(r);
        Check(!probe::FormatReading(r).empty());
    }
    return 0;
}
