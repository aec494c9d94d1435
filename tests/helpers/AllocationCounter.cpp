#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace
{
thread_local long allocations = 0;
}

AllocationCounter::AllocationCounter() : start (allocations) {}
AllocationCounter::~AllocationCounter() = default;
long AllocationCounter::count() const { return allocations - start; }

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// A sanitizer owns malloc and free; replacing malloc alone would hand its free glibc's blocks.
// Its allocation hook sees every allocation instead.
extern "C" int __sanitizer_install_malloc_and_free_hooks (void (*) (const volatile void*, std::size_t),
                                                         void (*) (const volatile void*));
namespace
{
const int hooksInstalled = __sanitizer_install_malloc_and_free_hooks (
    [] (const volatile void*, std::size_t) { ++allocations; }, [] (const volatile void*) {});
}
#else
// JUCE's buffers and heap blocks take their memory straight from malloc, calloc and realloc,
// not through operator new, so the C allocator is where allocations are counted. These wrap
// glibc's own allocator, which free keeps serving.
extern "C"
{
void* __libc_malloc (std::size_t);
void* __libc_calloc (std::size_t, std::size_t);
void* __libc_realloc (void*, std::size_t);

void* malloc (std::size_t size)
{
    ++allocations;
    return __libc_malloc (size);
}
void* calloc (std::size_t count, std::size_t size)
{
    ++allocations;
    return __libc_calloc (count, size);
}
void* realloc (void* p, std::size_t size)
{
    ++allocations;
    return __libc_realloc (p, size);
}
}

// operator new reaches the counted malloc.
void* operator new (std::size_t size)
{
    if (void* p = std::malloc (size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void* operator new[] (std::size_t size) { return operator new (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept { return std::malloc (size == 0 ? 1 : size); }
void* operator new[] (std::size_t size, const std::nothrow_t& t) noexcept { return operator new (size, t); }
void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }
#endif
