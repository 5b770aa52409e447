// The counter computes a reading ten times a second for as long as the program runs:
// the only heap allocation it may make is the date text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "counter_reading.h"
#include "time_zone.h"

namespace {
int g_allocations = 0;
}

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

TEST(ComputeReading, AllocatesOnlyTheDateText) {
    const ScopedTimeZone zone("UTC");
    for (const StoredDate start : {StoredDate{2008, 6, 30}, StoredDate{2008, 13, 1}}) {
        const int before = g_allocations;
        const CounterReading reading = ComputeReading(start, 1215163540);
        EXPECT_EQ(g_allocations - before, 1) << "start month " << start.month;
        EXPECT_FALSE(reading.dateText.empty());
    }
}

}  // namespace
