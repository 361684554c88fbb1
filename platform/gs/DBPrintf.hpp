// The host's debug output. The host process decides where it goes.
#pragma once
#include "platform/gs/GSTypes.hpp"
#include <functional>
#include <string>

// Takes no memory from the heap: the text is formatted into a buffer on the
// stack, and one longer than DebugLineCapacity - 1 bytes is cut there.
PLATFORM_API void DBPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
constexpr int DebugLineCapacity = 4096;

#include <cstdarg>

namespace GS {
// printf-style formatting into a string of any length.
PLATFORM_API std::string VFormat(const char* format, va_list args);
// Every DBPrintf line goes to the sink, as a text that lives for the call;
// without one it goes to stderr.
PLATFORM_API void SetDebugOutputSink(std::function<void(const char*)> sink);
}
