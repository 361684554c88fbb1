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
// Every other form of new and delete, so that whatever the library
// allocates through one of them is freed through its match (a nothrow new
// of the runtime's would otherwise meet the free above).
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return ::operator new(size, tag); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
