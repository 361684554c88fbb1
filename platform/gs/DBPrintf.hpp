// The host's debug output. The host process decides where it goes.
#pragma once
#include "platform/gs/GSTypes.hpp"
#include <functional>
#include <string>

PLATFORM_API void DBPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

#include <cstdarg>

namespace GS {
// printf-style formatting into a string of any length.
PLATFORM_API std::string VFormat(const char* format, va_list args);
// Every DBPrintf line goes to the sink; without one it goes to stderr.
PLATFORM_API void SetDebugOutputSink(std::function<void(const std::string&)> sink);
}
