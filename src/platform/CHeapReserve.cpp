#include "platform/CHeapReserve.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <sys/mman.h>

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#define PAGEWELL_GLIBC_HEAP 1
#include <malloc.h>
#endif

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23 // Linux 5.14; older C libraries lack the name
#endif

namespace {

CHeapReserve::FAdoptMemory s_adopt = nullptr;

// Maps size bytes aligned to alignment (a power of two), or null.
void* MapAligned(size_t size, size_t alignment)
{
    void* pMapped = ::mmap(nullptr, size + alignment, PROT_READ | PROT_WRITE,
        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (pMapped == MAP_FAILED)
        return nullptr;
    const size_t skip = (alignment - reinterpret_cast<uintptr_t>(pMapped) % alignment) % alignment;
    char* const pAligned = static_cast<char*>(pMapped) + skip;
    if (skip > 0)
        ::munmap(pMapped, skip);
    if (const size_t tail = alignment - skip; tail > 0)
        ::munmap(pAligned + size, tail);
    return pAligned;
}

// A stretch of memory to fault in: from a page on, as many bytes.
struct CStretch {
    char* pStart = nullptr;
    size_t size = 0;
};

// The rest of the mapping that holds a block the allocator hands out now,
// from that block's page on: the allocator fills what it already has before
// it turns to new memory (mimalloc's first segment, mapped at start-up, takes
// the first 20 to 30 MB of a load).
CStretch RestOfCurrentMapping()
{
    constexpr uintptr_t kPage = 4096;
    const std::unique_ptr<char[]> pProbe(new char[1]);
    const auto address = reinterpret_cast<uintptr_t>(pProbe.get());
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        uintptr_t start = 0;
        uintptr_t end = 0;
        const char* const pszEnd = line.data() + line.size();
        const auto [afterStart, ec] = std::from_chars(line.data(), pszEnd, start, 16);
        if (ec != std::errc() || afterStart == pszEnd || *afterStart != '-'
            || std::from_chars(afterStart + 1, pszEnd, end, 16).ec != std::errc())
            continue;
        if (address >= start && address < end) {
            // Mappings side by side may read as one: no more than a segment's
            // worth is taken.
            constexpr uintptr_t kMaxRest = uintptr_t { 64 } << 20;
            const uintptr_t offset = address % kPage;
            return { pProbe.get() - offset, static_cast<size_t>(std::min(end - address, kMaxRest) + offset) };
        }
    }
    return {};
}

// Faults in stretch a piece at a time; false when the kernel refuses (before
// Linux 5.14, or memory unmapped meanwhile).
bool FaultIn(const CStretch& stretch)
{
    constexpr size_t kPiece = size_t { 2 } << 20;
    for (size_t done = 0; done < stretch.size; done += kPiece) {
        if (::madvise(stretch.pStart + done, std::min(kPiece, stretch.size - done), MADV_POPULATE_WRITE) != 0)
            return false;
    }
    return true;
}

// Fresh memory for the allocator, faulted in behind the caller's back.
void AdoptFreshMemory(size_t bytes)
{
    // The allocator carves its segments from whole, aligned blocks.
    constexpr size_t kArenaBlock = size_t { 64 } << 20;
    const size_t size = (bytes + kArenaBlock - 1) & ~(kArenaBlock - 1);
    void* pStart = MapAligned(size, kArenaBlock);
    if (pStart == nullptr)
        return;
    if (!s_adopt(pStart, size)) {
        ::munmap(pStart, size);
        return;
    }
    // The load fills the rest of the allocator's current memory first, then
    // more than half of what it asks for here (the project file's size); the
    // rest is left to fault in only if used, so the process grows little
    // larger. The allocator hands its memory out from the start, so the
    // faults go in that order, a piece at a time to keep ahead of the load.
    // Faulting in changes no byte, so the thread is left to finish on its
    // own (on a kernel before 5.14 the load faults its memory in itself).
    const CStretch current = RestOfCurrentMapping();
    const CStretch adopted { static_cast<char*>(pStart), bytes / 2 };
    std::thread([current, adopted] {
        if (FaultIn(current))
            FaultIn(adopted);
    }).detach();
}

} // namespace

void CHeapReserve::SetAllocator(FAdoptMemory adopt)
{
    s_adopt = adopt;
}

void CHeapReserve::Prepare(size_t bytes)
{
    // Below this the load is over about as soon as the memory could be
    // faulted in for it (measured: 5 % faster at 34 MB with 6 MB more
    // resident, nothing gained at 3 MB).
    constexpr size_t kMinAdoptBytes = size_t { 64 } << 20;
    if (s_adopt != nullptr) {
        if (bytes >= kMinAdoptBytes)
            AdoptFreshMemory(std::min(bytes, kMaxBytes));
        return;
    }
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
