#pragma once
// Counts the heap allocations of the whole program that links it in: it
// replaces the global operator new. Only for the programs that check that
// some code does not allocate.
#include <cstdint>

namespace allocations {

// Allocations made through operator new since the program started.
std::int64_t count();

}  // namespace allocations
