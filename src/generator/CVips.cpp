#include "generator/CVips.h"

#include <mutex>

bool CVips::Start()
{
    static std::once_flag once;
    static bool bStarted = false;
    std::call_once(once, [] {
        bStarted = VIPS_INIT("pagewell") == 0;
        if (!bStarted)
            return;
        // Pictures are read from memory once each: the operation cache would
        // only hold their pixels.
        vips_cache_set_max(0);
        vips_cache_set_max_mem(0);
    });
    return bStarted;
}
