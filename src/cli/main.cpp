#include <iostream>

#include "cli/Commands.h"
#include "platform/CHeapReserve.h"

#if defined(PAGEWELL_WITH_MIMALLOC)
#include <mimalloc.h>
#include <new>

// Memory running out ends a run with "Out of memory." in every build: the
// operator new of the mimalloc library, built as C, aborts the process when
// no new handler is set, and it cannot see the one set here. These follow
// the standard library's (and the sanitizers') rule instead: the handler,
// then std::bad_alloc. Deleting stays with the library's operators.
namespace {

template <typename TAllocate> void* AllocateOrThrow(TAllocate allocate)
{
    for (;;) {
        if (void* pMemory = allocate())
            return pMemory;
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr)
            throw std::bad_alloc();
        handler();
    }
}

} // namespace

void* operator new(std::size_t size)
{
    return AllocateOrThrow([size] { return mi_malloc(size); });
}

void* operator new[](std::size_t size)
{
    return AllocateOrThrow([size] { return mi_malloc(size); });
}

void* operator new(std::size_t size, std::align_val_t alignment)
{
    return AllocateOrThrow([=] { return mi_malloc_aligned(size, static_cast<size_t>(alignment)); });
}

void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return AllocateOrThrow([=] { return mi_malloc_aligned(size, static_cast<size_t>(alignment)); });
}
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
