#include "bench/BenchSupport.hpp"
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {
size_t g_current = 0;
size_t g_peak = 0;
}  // namespace

// Every allocation counted by the size malloc gave it, without a header of
// our own, so that counting changes neither the layout nor the speed much.
void* operator new(size_t size)
{
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr)
        throw std::bad_alloc();
    g_current += malloc_usable_size(p);
    if (g_current > g_peak)
        g_peak = g_current;
    return p;
}

void operator delete(void* p) noexcept
{
    if (p == nullptr)
        return;
    g_current -= malloc_usable_size(p);
    std::free(p);
}

void operator delete(void* p, size_t) noexcept { operator delete(p); }

namespace Bench {
size_t CurrentBytes() { return g_current; }
size_t PeakBytes() { return g_peak; }
void StartPeak() { g_peak = g_current; }
}  // namespace Bench
