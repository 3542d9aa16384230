#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/CHeapReserve.h"

namespace {

size_t ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    size_t total = 0;
    size_t resident = 0;
    statm >> total >> resident;
    return resident * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

// The reserve must cost no resident memory until used, survive requests it
// cannot or need not fulfil, and leave the heap serving ordinary allocations.
TEST(CHeapReserve, CostsNoMemoryUntilUsedAndLeavesTheHeapWorking)
{
    const size_t before = ResidentBytes();
    for (const size_t bytes : { size_t { 0 }, size_t { 4096 }, size_t { 96 } << 20, ~size_t { 0 } }) {
        SCOPED_TRACE(bytes);
        CHeapReserve::Prepare(bytes);
        EXPECT_LT(ResidentBytes(), before + (size_t { 16 } << 20));
    }

    // Objects and texts of the sizes a project holds, carved from the reserve.
    std::vector<std::unique_ptr<std::string>> texts;
    for (int i = 0; i < 40000; ++i)
        texts.push_back(std::make_unique<std::string>(static_cast<size_t>(i % 2000) + 20, 'x'));
    size_t total = 0;
    for (const auto& pText : texts)
        total += pText->size();
    EXPECT_EQ(total, 40000u * 20 + 20 * (1999u * 2000 / 2));
}

// An allocator that takes memory from the program gets whole, aligned blocks
// of zero, writable memory, at least as much as asked, and only for large
// loads; the memory is faulted in beside the caller.
TEST(CHeapReserve, HandsAnAllocatorAlignedFreshMemory)
{
    struct CAdopted {
        void* pStart;
        size_t size;
    };
    static std::vector<CAdopted> s_adopted;
    s_adopted.clear();
    CHeapReserve::SetAllocator([](void* pStart, size_t size) {
        s_adopted.push_back({ pStart, size });
        return true;
    });
    constexpr size_t kBlock = size_t { 64 } << 20;
    for (const size_t bytes : { size_t { 4096 }, kBlock - 1, kBlock + 1, 2 * kBlock + 1 })
        CHeapReserve::Prepare(bytes);
    CHeapReserve::SetAllocator(nullptr);

    ASSERT_EQ(s_adopted.size(), 2u) << "a small load is left alone";
    EXPECT_EQ(s_adopted[0].size, 2 * kBlock);
    EXPECT_EQ(s_adopted[1].size, 3 * kBlock);
    for (const CAdopted& adopted : s_adopted) {
        EXPECT_EQ(reinterpret_cast<uintptr_t>(adopted.pStart) % kBlock, 0u);
        auto* const pBytes = static_cast<unsigned char*>(adopted.pStart);
        for (size_t offset = 0; offset < adopted.size; offset += adopted.size / 8 - 1) {
            ASSERT_EQ(pBytes[offset], 0u);
            pBytes[offset] = 1;
        }
    }
}

} // namespace
