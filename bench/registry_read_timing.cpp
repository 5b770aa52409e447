// Times ReadStoredDate on the real registry (under Wine here), as the counter does it
// ten times a second. Prints the mean and the slowest of batches, in microseconds.
#include <windows.h>

#include <cstdio>

#include "date_store.h"
#include "win32_registry.h"

int main() {
    Win32Registry registry;
    DateStore store(registry);
    if (store.WriteStoredDate(2008, 6, 30) != WriteResult::stored) {
        std::fprintf(stderr, "could not store the date\n");
        return 1;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    constexpr int kBatches = 20;
    constexpr int kReadsPerBatch = 2000;
    double total = 0;
    double slowestBatch = 0;
    std::int32_t checksum = 0;
    for (int batch = 0; batch < kBatches; ++batch) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < kReadsPerBatch; ++i) checksum += store.ReadStoredDate().day;
        QueryPerformanceCounter(&end);
        const double micros = static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                              static_cast<double>(frequency.QuadPart) / kReadsPerBatch;
        total += micros;
        if (micros > slowestBatch) slowestBatch = micros;
    }
    std::printf(
        "ReadStoredDate on the registry: mean %.2f us, slowest batch %.2f us per read (%d reads, "
        "checksum %d)\n",
        total / kBatches, slowestBatch, kBatches * kReadsPerBatch, checksum);
    return 0;
}
