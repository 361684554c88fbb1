// Memory manager: movable blocks addressed by handles, and plain blocks.
//
// Every live handle and block is counted so that a test can assert that a
// run freed what it took. Killing a handle twice, or one that was never
// allocated, is not undefined behaviour here: it is reported through the
// fault hook (the stand-in host turns it into a test failure) and ignored.
#pragma once
#include "platform/gs/GSTypes.hpp"
#include <functional>
#include <string>

// A new block of `size` bytes: BMhAll leaves its contents undefined,
// BMhAllClear sets them to zero.
PLATFORM_API GSHandle BMhAll(Int64 size);
PLATFORM_API GSHandle BMhAllClear(Int64 size);
PLATFORM_API Int64 BMhGetSize(GSConstHandle handle);
// Resizes in place of the handle; new bytes are zeroed. Returns the handle,
// or nullptr (the handle unchanged) when the block cannot be resized.
PLATFORM_API GSHandle BMhReallocate(GSHandle handle, Int64 newSize);
// Frees the block and sets *handle to nullptr; a null handle is allowed.
PLATFORM_API void BMhKill(GSHandle* handle);
PLATFORM_API bool BMhIsValid(GSConstHandle handle);

PLATFORM_API void* GS_calloc(USize count, USize size);
PLATFORM_API void GS_free(void* ptr);

namespace GS {
// Number of handles and GS_calloc blocks not yet freed.
PLATFORM_API Int64 LiveMemoryHandleCount();
PLATFORM_API Int64 LiveMemoryBlockCount();
// Receives a line for every misuse (double kill, foreign handle, bad size).
PLATFORM_API void SetMemoryFaultHook(std::function<void(const std::string&)> hook);
// Makes the N-th allocation from now fail (0 switches it off): lets the
// stand-in host test the out-of-memory paths of callers.
PLATFORM_API void FailNthAllocation(Int64 n);
// Whether the planned failure has not happened yet.
PLATFORM_API bool AllocationFailurePending();
}
