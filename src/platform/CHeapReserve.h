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
//
// A program linked with an allocator that can take memory from it (the
// command-line tool's mimalloc) names the call that hands it over instead.
// Prepare then maps fresh memory for the allocator and faults it in on a
// thread of its own, on the core the load leaves idle, so that the load
// finds its memory ready: first the rest of the memory the allocator holds
// already (which it fills first), then the fresh memory. Only about as much
// as the load will fill is faulted in.
class CHeapReserve {
public:
    // Readies about bytes of heap (capped at kMaxBytes). Does nothing where
    // the allocator is neither the GNU C library's (as under the address
    // sanitizer) nor one set below, or for less than one block.
    static void Prepare(size_t bytes);

    // Gives the allocator memory it manages from then on (false when it
    // refused it). The memory is zero and stays mapped.
    using FAdoptMemory = bool (*)(void* pStart, size_t size);
    // Set once, before any Prepare, by a program with such an allocator.
    static void SetAllocator(FAdoptMemory adopt);

    static constexpr size_t kMaxBytes = size_t { 1 } << 30;
};
