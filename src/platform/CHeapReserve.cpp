#include "platform/CHeapReserve.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#define PAGEWELL_GLIBC_HEAP 1
#include <malloc.h>
#include <sys/mman.h>
#endif

void CHeapReserve::Prepare(size_t bytes)
{
#if defined(PAGEWELL_GLIBC_HEAP)
    constexpr size_t kHugePage = size_t { 2 } << 20;
    constexpr size_t kBlock = size_t { 16 } << 20;
    bytes = std::min(bytes, kMaxBytes);
    if (bytes < kBlock)
        return;
    // Blocks below the mmap threshold come from the top of the heap, one after
    // the other; once freed they merge back into it and are handed out again
    // in order. The trim threshold keeps the freed top from being given back
    // to the system before it is used.
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kBlock * 2));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(std::min(bytes * 2, size_t { INT32_MAX })));
    std::vector<void*> blocks;
    blocks.reserve(bytes / kBlock + 1);
    for (size_t reserved = 0; reserved < bytes; reserved += kBlock) {
        void* pBlock = std::malloc(kBlock);
        if (pBlock == nullptr)
            break;
        blocks.push_back(pBlock);
        // Only whole huge pages inside the block are marked.
        const size_t skip = (kHugePage - reinterpret_cast<uintptr_t>(pBlock) % kHugePage) % kHugePage;
        const size_t length = (kBlock - skip) & ~(kHugePage - 1);
        if (length > 0)
            madvise(static_cast<char*>(pBlock) + skip, length, MADV_HUGEPAGE);
    }
    for (void* pBlock : blocks)
        std::free(pBlock);
#else
    (void)bytes;
#endif
}
