#include "platform/gs/DBPrintf.hpp"
#include <cstdarg>
#include <cstdio>

namespace {
std::function<void(const std::string&)>& Sink()
{
    static auto* sink = new std::function<void(const std::string&)>;
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
    va_list args;
    va_start(args, format);
    std::string text = GS::VFormat(format, args);
    va_end(args);
    if (Sink())
        Sink()(text);
    else
        std::fprintf(stderr, "%s", text.c_str());
}

namespace GS {
void SetDebugOutputSink(std::function<void(const std::string&)> sink) { Sink() = std::move(sink); }
}
