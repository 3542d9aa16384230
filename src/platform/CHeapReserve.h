#pragma once

#include <cstddef>

// Readies the C library's heap for a burst of small allocations, as loading a
// large project makes (hundreds of thousands of objects and texts).
//
// Fresh memory costs one page fault per 4 KB page when first touched, and on
// virtual machines a fault is expensive: loading a 34 MB project took 13,000
// faults, most of its time. Prepare grows the heap by the given size at once
// and marks that part for transparent huge pages, so the objects carved from
// it later fault in 2 MB at a time. Memory that is never touched is never
// resident, so the peak memory of the process does not grow.
class CHeapReserve {
public:
    // Readies about bytes of heap (capped at kMaxBytes). Does nothing where
    // the allocator is not the GNU C library's (as under the address
    // sanitizer) or for less than one block.
    static void Prepare(size_t bytes);

    static constexpr size_t kMaxBytes = size_t { 1 } << 30;
};
