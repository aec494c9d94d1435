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

void* operator new (std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc (size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void* operator new[] (std::size_t size) { return operator new (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    ++allocations;
    return std::malloc (size == 0 ? 1 : size);
}
void* operator new[] (std::size_t size, const std::nothrow_t& t) noexcept { return operator new (size, t); }
void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }
