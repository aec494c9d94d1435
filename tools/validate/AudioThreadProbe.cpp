#include "AudioThreadProbe.h"

#include <atomic>
#include <cstddef>
#include <cstring>
#include <execinfo.h>
#include <pthread.h>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define BRISCA_PROBE_ENABLED 0
#else
#define BRISCA_PROBE_ENABLED 1
#endif

namespace probe
{
namespace
{
constexpr int maxStacks = maxKeptStacks, maxFrames = 40;
struct RawStack
{
    Call call;
    int depth;
    void* frames[maxFrames];
};

// Plain statics only: these are touched from inside malloc, where nothing may allocate.
thread_local bool armed = false;
thread_local bool busy = false;
std::atomic<long> counters[numCalls];
RawStack rawStacks[maxStacks];
std::atomic<int> stacksTaken { 0 };

// Never inlined, so every stack starts with this frame and the replaced function's.
[[maybe_unused]] __attribute__ ((noinline)) void record (Call call)
{
    if (! armed || busy)
        return;
    busy = true;
    counters[static_cast<int> (call)].fetch_add (1, std::memory_order_relaxed);
    const int slot = stacksTaken.fetch_add (1, std::memory_order_relaxed);
    if (slot < maxStacks)
    {
        rawStacks[slot].call = call;
        rawStacks[slot].depth = backtrace (rawStacks[slot].frames, maxFrames);
    }
    busy = false;
}
} // namespace

const char* nameOf (Call call)
{
    static const char* const names[] = { "malloc", "calloc", "realloc", "aligned alloc", "free", "pthread_mutex_lock" };
    return names[static_cast<int> (call)];
}

bool available() { return BRISCA_PROBE_ENABLED != 0; }

void prepare()
{
    void* frames[4];
    backtrace (frames, 4);
    reset();
}

Armed::Armed() { armed = true; }
Armed::~Armed() { armed = false; }

void reset()
{
    for (auto& c : counters)
        c.store (0);
    stacksTaken.store (0);
}

Counts counts()
{
    Counts result;
    for (int i = 0; i < numCalls; ++i)
        result.calls[(size_t) i] = counters[i].load();
    return result;
}

std::vector<Stack> stacks()
{
    std::vector<Stack> result;
    const int n = std::min (stacksTaken.load(), maxStacks);
    for (int i = 0; i < n; ++i)
    {
        // Frame 0 is record(), frame 1 the replaced function.
        const auto& raw = rawStacks[i];
        Stack s { raw.call, {} };
        for (int f = 2; f < raw.depth; ++f)
            s.frames.push_back (raw.frames[f]);
        result.push_back (std::move (s));
    }
    return result;
}
} // namespace probe

#if BRISCA_PROBE_ENABLED
// The replacements. glibc's own entry points stay reachable under their internal names; the
// mutex one only under its old symbol version.
extern "C"
{
void* __libc_malloc (std::size_t);
void* __libc_calloc (std::size_t, std::size_t);
void* __libc_realloc (void*, std::size_t);
void* __libc_memalign (std::size_t, std::size_t);
void __libc_free (void*);
int glibcMutexLock (pthread_mutex_t*);
__asm__ (".symver glibcMutexLock,__pthread_mutex_lock@GLIBC_2.2.5");

void* malloc (std::size_t size)
{
    probe::record (probe::Call::malloc);
    return __libc_malloc (size);
}

void* calloc (std::size_t count, std::size_t size)
{
    probe::record (probe::Call::calloc);
    return __libc_calloc (count, size);
}

void* realloc (void* p, std::size_t size)
{
    probe::record (probe::Call::realloc);
    return __libc_realloc (p, size);
}

void* memalign (std::size_t alignment, std::size_t size)
{
    probe::record (probe::Call::alignedAlloc);
    return __libc_memalign (alignment, size);
}

void* aligned_alloc (std::size_t alignment, std::size_t size)
{
    probe::record (probe::Call::alignedAlloc);
    return __libc_memalign (alignment, size);
}

int posix_memalign (void** out, std::size_t alignment, std::size_t size)
{
    probe::record (probe::Call::alignedAlloc);
    if (alignment < sizeof (void*) || (alignment & (alignment - 1)) != 0)
        return 22; // EINVAL
    void* p = __libc_memalign (alignment, size);
    if (p == nullptr)
        return 12; // ENOMEM
    *out = p;
    return 0;
}

void free (void* p)
{
    if (p != nullptr)
        probe::record (probe::Call::free);
    __libc_free (p);
}

int pthread_mutex_lock (pthread_mutex_t* mutex)
{
    probe::record (probe::Call::mutexLock);
    return glibcMutexLock (mutex);
}
}
#endif
