#include "platform/gs/Memory.hpp"
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace {

// A handle is the address of the first member, so *handle is the data.
struct Block {
    char* data;
    Int64 size;
};

struct Registry {
    std::mutex lock;
    std::unordered_set<const void*> handles;
    std::unordered_set<const void*> blocks;
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
    Block* b = static_cast<Block*>(std::malloc(sizeof(Block)));
    if (b == nullptr)
        return nullptr;
    b->size = size;
    const USize bytes = size > 0 ? static_cast<USize>(size) : 1;
    b->data = static_cast<char*>(clear ? std::calloc(bytes, 1) : std::malloc(bytes));
    if (b->data == nullptr) {
        std::free(b);
        return nullptr;
    }
    std::lock_guard<std::mutex> g(Reg().lock);
    Reg().handles.insert(b);
    return &b->data;
}

Block* Known(GSConstHandle handle, const char* caller)
{
    if (handle == nullptr)
        return nullptr;
    std::lock_guard<std::mutex> g(Reg().lock);
    if (Reg().handles.count(handle) == 0) {
        Fault(std::string(caller) + ": not a live handle");
        return nullptr;
    }
    return reinterpret_cast<Block*>(const_cast<char**>(reinterpret_cast<const char* const*>(handle)));
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
    std::lock_guard<std::mutex> g(Reg().lock);
    return Reg().handles.count(handle) != 0;
}

GSHandle BMhReallocate(GSHandle handle, Int64 newSize)
{
    Block* b = Known(handle, "BMhReallocate");
    if (b == nullptr || newSize < 0)
        return nullptr;
    if (ShouldFail())
        return nullptr;
    char* data = static_cast<char*>(std::realloc(b->data, newSize > 0 ? static_cast<USize>(newSize) : 1));
    if (data == nullptr)
        return nullptr;
    if (newSize > b->size)
        std::memset(data + b->size, 0, static_cast<USize>(newSize - b->size));
    b->data = data;
    b->size = newSize;
    return handle;
}

void BMhKill(GSHandle* handle)
{
    if (handle == nullptr || *handle == nullptr)
        return;
    Block* b = Known(*handle, "BMhKill");
    if (b != nullptr) {
        {
            std::lock_guard<std::mutex> g(Reg().lock);
            Reg().handles.erase(b);
        }
        std::free(b->data);
        std::free(b);
    }
    *handle = nullptr;
}

void* GS_calloc(USize count, USize size)
{
    if (ShouldFail())
        return nullptr;
    void* p = std::calloc(count == 0 ? 1 : count, size == 0 ? 1 : size);
    if (p != nullptr) {
        std::lock_guard<std::mutex> g(Reg().lock);
        Reg().blocks.insert(p);
    }
    return p;
}

void GS_free(void* ptr)
{
    if (ptr == nullptr)
        return;
    {
        std::lock_guard<std::mutex> g(Reg().lock);
        if (Reg().blocks.erase(ptr) == 0) {
            Fault("GS_free: not a live block");
            return;
        }
    }
    std::free(ptr);
}

namespace GS {
Int64 LiveMemoryHandleCount()
{
    std::lock_guard<std::mutex> g(Reg().lock);
    return static_cast<Int64>(Reg().handles.size());
}
Int64 LiveMemoryBlockCount()
{
    std::lock_guard<std::mutex> g(Reg().lock);
    return static_cast<Int64>(Reg().blocks.size());
}
void SetMemoryFaultHook(std::function<void(const std::string&)> hook) { Reg().faultHook = std::move(hook); }
void FailNthAllocation(Int64 n) { Reg().failCountdown = n; }
bool AllocationFailurePending() { return Reg().failCountdown > 0; }
}  // namespace GS
