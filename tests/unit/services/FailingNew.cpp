#include "tests/unit/services/FailingNew.hpp"
#include <cstdlib>
#include <new>

namespace {
// Allocations left before they fail; negative: none fails.
thread_local int g_left = -1;
}  // namespace

FailingNew::FailingNew(int succeeding) { g_left = succeeding; }
FailingNew::~FailingNew() { g_left = -1; }

void* operator new(std::size_t size)
{
    if (g_left == 0)
        throw std::bad_alloc();
    if (g_left > 0)
        --g_left;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
