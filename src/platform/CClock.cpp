#include "platform/CClock.h"

#include <ctime>
#include <optional>

namespace {
std::optional<int64_t> g_fakeNow;
}

int64_t CClock::Now64()
{
    if (g_fakeNow)
        return *g_fakeNow;
    return static_cast<int64_t>(std::time(nullptr));
}

int32_t CClock::Now()
{
    // Truncated to the 32 bits the project file holds, as a 32-bit time() gives.
    return static_cast<int32_t>(static_cast<uint32_t>(Now64()));
}

CClock::CScopedFake::CScopedFake(int64_t now)
{
    g_fakeNow = now;
}

CClock::CScopedFake::~CScopedFake()
{
    g_fakeNow.reset();
}
