#include <gtest/gtest.h>

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

} // namespace
