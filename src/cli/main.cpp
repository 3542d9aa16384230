#include <iostream>

#include "cli/Commands.h"
#include "platform/CHeapReserve.h"

#if defined(PAGEWELL_WITH_MIMALLOC)
#include <mimalloc.h>
#endif

int main(int argc, char** argv)
{
#if defined(PAGEWELL_WITH_MIMALLOC)
    // A large project is loaded into memory made ready beside the load.
    CHeapReserve::SetAllocator(
        [](void* pStart, size_t size) { return mi_manage_os_memory(pStart, size, true, false, true, -1); });
#endif
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunCli(args, std::cout, std::cerr, true);
}
