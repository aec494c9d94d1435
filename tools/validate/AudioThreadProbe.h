#pragma once

#include <array>
#include <vector>

// Watches what a thread asks of the C library while it is inside a plug-in's processBlock: heap
// calls (malloc, calloc, realloc, aligned allocation, free) and mutex locks. The validator
// replaces those functions for the whole process and forwards them to glibc; only calls made on
// an armed thread are counted, and the call stacks of the first few are kept.
namespace probe
{
enum class Call { malloc, calloc, realloc, alignedAlloc, free, mutexLock };
inline constexpr int numCalls = 6;
inline constexpr int maxKeptStacks = 64;
const char* nameOf (Call);

struct Counts
{
    std::array<long, numCalls> calls {};
    long heap() const { return calls[0] + calls[1] + calls[2] + calls[3] + calls[4]; }
    long locks() const { return calls[5]; }
};

struct Stack
{
    Call call;
    std::vector<void*> frames; // innermost first, the probe's own frames removed
};

// False in sanitizer builds: the sanitizers own malloc and the locks there, so nothing is
// replaced and nothing is counted.
bool available();

// Readies stack capture (its first use loads the unwinder, which allocates) and clears the
// counts. Call on the main thread before any check.
void prepare();

// Counts calls on the calling thread while alive. Not nestable.
class Armed
{
public:
    Armed();
    ~Armed();
    Armed (const Armed&) = delete;
    Armed& operator= (const Armed&) = delete;
};

void reset();
Counts counts();
std::vector<Stack> stacks();
} // namespace probe
