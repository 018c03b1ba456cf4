#pragma once
// Counts heap allocations made by this process: operator new always, and malloc/calloc/realloc where the
// counter can interpose them (glibc without a sanitizer). Link tests/support/allocation_counter.cpp into a test
// program of its own: it replaces the global allocation functions for the whole program.
#include <cstdint>

namespace ovra::testing {

int64_t AllocationCount();

// Runs `body` and returns how many allocations it made.
template <class F>
int64_t AllocationsDuring(F&& body) {
    const int64_t before = AllocationCount();
    body();
    return AllocationCount() - before;
}

}  // namespace ovra::testing
