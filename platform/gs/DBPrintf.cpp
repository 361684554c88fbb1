#include "platform/gs/DBPrintf.hpp"
#include <cstdarg>
#include <cstdio>

namespace {
std::function<void(const char*)>& Sink()
{
    static auto* sink = new std::function<void(const char*)>;
    return *sink;
}
}  // namespace

namespace GS {
std::string VFormat(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0)
        std::vsnprintf(&text[0], text.size() + 1, format, args);
    return text;
}
}  // namespace GS

void DBPrintf(const char* format, ...)
{
    // Formatted on the stack: an add-on reports its failures through here,
    // running out of memory included, so the call takes no memory itself.
    char text[DebugLineCapacity];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n < 0)
        return;
    if (Sink())
        Sink()(text);
    else
        std::fputs(text, stderr);
}

namespace GS {
void SetDebugOutputSink(std::function<void(const char*)> sink) { Sink() = std::move(sink); }
}
