// The counter reads the start date ten times a second; this is one read.
#include <benchmark/benchmark.h>

#include "date_store.h"
#include "memory_registry.h"

namespace {

void BM_ReadStoredDate_MemoryRegistry(benchmark::State& state) {
    MemoryRegistry registry;
    DateStore store(registry);
    store.WriteStoredDate(2008, 6, 30);
    for (auto _ : state) benchmark::DoNotOptimize(store.ReadStoredDate());
}
BENCHMARK(BM_ReadStoredDate_MemoryRegistry);

}  // namespace
