#pragma once

#include <atomic>

// Counts heap allocations made by the calling thread while a scope is active, through a
// replaced global operator new in the test binary.
class AllocationCounter
{
public:
    AllocationCounter();
    ~AllocationCounter();
    long count() const;

private:
    long start;
};
