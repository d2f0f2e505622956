#include "tests/allocations/allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {

std::int64_t allocationsMade = 0;

}  // namespace

std::int64_t allocations::count() { return allocationsMade; }

// Kept out of line so that the compiler cannot pair an inlined malloc with a
// delete expression and drop both.
[[gnu::noinline]] void* operator new(std::size_t size) {
    ++allocationsMade;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }
