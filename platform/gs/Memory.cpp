#include "platform/gs/Memory.hpp"
#include "platform/gs/FlatTable.hpp"
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>
#include <vector>

namespace {

// A handle is the address of the block's first member, so *handle is the
// data. A block's bytes come with it in one allocation until it is resized
// (then they live apart): a host hands out many small handles per call, and
// each allocation costs more than all the rest of making a handle.
struct Block {
    char* data;
    Int64 size;
    bool apart;  // data is an allocation of its own
};
constexpr size_t BytesAt = (sizeof(Block) + alignof(std::max_align_t) - 1) / alignof(std::max_align_t) * alignof(std::max_align_t);
char* InlineBytes(Block* b) { return reinterpret_cast<char*>(b) + BytesAt; }

// The live addresses, in the flat table: adding, finding and removing
// cost a hash and a few probes, and allocate only when the table grows.
struct AddressHash {
    UInt64 operator()(const void* p) const { return GS::MixBits(static_cast<UInt64>(reinterpret_cast<uintptr_t>(p))); }
};
using AddressSet = GS::FlatTable<const void*, bool, AddressHash>;

// The manager is called from one thread at a time in practice; the lock is
// a flag, which costs next to nothing when nobody else holds it.
class SpinLock {
public:
    void lock()
    {
        while (flag.test_and_set(std::memory_order_acquire)) {
        }
    }
    void unlock() { flag.clear(std::memory_order_release); }

private:
    std::atomic_flag flag = ATOMIC_FLAG_INIT;
};

struct Registry {
    SpinLock lock;
    AddressSet handles;
    AddressSet blocks;
    std::function<void(const std::string&)> faultHook;
    Int64 failCountdown = 0;
};

Registry& Reg()
{
    static Registry* reg = new Registry;  // never destroyed: handles may be freed during static teardown
    return *reg;
}

void Fault(const std::string& what)
{
    auto hook = Reg().faultHook;
    if (hook)
        hook(what);
}

bool ShouldFail()
{
    Registry& r = Reg();
    if (r.failCountdown <= 0)
        return false;
    return --r.failCountdown == 0;
}

GSHandle Allocate(Int64 size, bool clear)
{
    if (size < 0) {
        Fault("BMhAll: negative size");
        return nullptr;
    }
    if (ShouldFail())
        return nullptr;
    const USize bytes = size > 0 ? static_cast<USize>(size) : 1;
    if (bytes > std::numeric_limits<USize>::max() - BytesAt)
        return nullptr;
    Block* b = static_cast<Block*>(clear ? std::calloc(BytesAt + bytes, 1) : std::malloc(BytesAt + bytes));
    if (b == nullptr)
        return nullptr;
    b->size = size;
    b->data = InlineBytes(b);
    b->apart = false;
    Registry& r = Reg();
    std::lock_guard<SpinLock> g(r.lock);
    r.handles.Insert(b, true);
    return &b->data;
}

// The block of a live handle, or null (with the fault reported) for any
// other non-null pointer.
Block* Known(GSConstHandle handle, const char* caller)
{
    if (handle == nullptr)
        return nullptr;
    {
        std::lock_guard<SpinLock> g(Reg().lock);
        if (Reg().handles.Contains(handle))
            return reinterpret_cast<Block*>(const_cast<char**>(reinterpret_cast<const char* const*>(handle)));
    }
    // Outside the lock: the fault hook may call the manager.
    Fault(std::string(caller) + ": not a live handle");
    return nullptr;
}

}  // namespace

GSHandle BMhAll(Int64 size) { return Allocate(size, false); }
GSHandle BMhAllClear(Int64 size) { return Allocate(size, true); }

Int64 BMhGetSize(GSConstHandle handle)
{
    Block* b = Known(handle, "BMhGetSize");
    return b != nullptr ? b->size : 0;
}

bool BMhIsValid(GSConstHandle handle)
{
    if (handle == nullptr)
        return false;
    std::lock_guard<SpinLock> g(Reg().lock);
    return Reg().handles.Contains(handle);
}

GSHandle BMhReallocate(GSHandle handle, Int64 newSize)
{
    Block* b = Known(handle, "BMhReallocate");
    if (b == nullptr || newSize < 0)
        return nullptr;
    if (ShouldFail())
        return nullptr;
    const USize bytes = newSize > 0 ? static_cast<USize>(newSize) : 1;
    char* data = nullptr;
    if (b->apart) {
        data = static_cast<char*>(std::realloc(b->data, bytes));
    } else {
        // The bytes leave the block's own allocation for one that can grow.
        data = static_cast<char*>(std::malloc(bytes));
        if (data != nullptr)
            std::memcpy(data, b->data, static_cast<USize>(std::min(b->size, newSize)));
    }
    if (data == nullptr)
        return nullptr;
    if (newSize > b->size)
        std::memset(data + b->size, 0, static_cast<USize>(newSize - b->size));
    b->data = data;
    b->size = newSize;
    b->apart = true;
    return handle;
}

void BMhKill(GSHandle* handle)
{
    if (handle == nullptr || *handle == nullptr)
        return;
    Registry& r = Reg();
    std::unique_lock<SpinLock> g(r.lock);
    Block* b = reinterpret_cast<Block*>(*handle);
    if (r.handles.Erase(b)) {
        g.unlock();
        if (b->apart)
            std::free(b->data);
        std::free(b);
    } else {
        g.unlock();
        Fault("BMhKill: not a live handle");
    }
    *handle = nullptr;
}

void* GS_calloc(USize count, USize size)
{
    if (ShouldFail())
        return nullptr;
    void* p = std::calloc(count == 0 ? 1 : count, size == 0 ? 1 : size);
    if (p != nullptr) {
        std::lock_guard<SpinLock> g(Reg().lock);
        Reg().blocks.Insert(p, true);
    }
    return p;
}

void GS_free(void* ptr)
{
    if (ptr == nullptr)
        return;
    bool live = false;
    {
        std::lock_guard<SpinLock> g(Reg().lock);
        live = Reg().blocks.Erase(ptr);
    }
    if (!live) {
        Fault("GS_free: not a live block");
        return;
    }
    std::free(ptr);
}

namespace GS {
Int64 LiveMemoryHandleCount()
{
    std::lock_guard<SpinLock> g(Reg().lock);
    return static_cast<Int64>(Reg().handles.Size());
}
Int64 LiveMemoryBlockCount()
{
    std::lock_guard<SpinLock> g(Reg().lock);
    return static_cast<Int64>(Reg().blocks.Size());
}
void SetMemoryFaultHook(std::function<void(const std::string&)> hook) { Reg().faultHook = std::move(hook); }
void FailNthAllocation(Int64 n) { Reg().failCountdown = n; }
bool AllocationFailurePending() { return Reg().failCountdown > 0; }
}  // namespace GS
