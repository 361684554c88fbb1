// The scripted wall-geometry library for tests: the same three functions,
// answering every polygon request with the bytes of the file named by
// VOMDIX_REPLY_FILE and appending each request text it receives, one per
// line, to the file named by VOMDIX_REQUEST_LOG. VOMDIX_REPLY_LENGTH, when
// set, is the length the length query answers instead of the file's size
// (negative, 0, or more than the file holds); the fetch then writes at most
// that many of the file's bytes.
#define VOMDIX_BUILDING
#include "platform/vomdix/VOMDIX.hpp"
#include "platform/vomdix/JobLedger.hpp"
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReplyBytes()
{
    const char* path = std::getenv("VOMDIX_REPLY_FILE");
    if (path == nullptr)
        return std::string();
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int AnnouncedLength(const std::string& reply)
{
    if (const char* text = std::getenv("VOMDIX_REPLY_LENGTH")) {
        errno = 0;
        char* end = nullptr;
        const long n = std::strtol(text, &end, 10);
        if (errno == 0 && end != text && n >= INT_MIN && n <= INT_MAX)
            return static_cast<int>(n);
    }
    return static_cast<int>(std::min(reply.size(), static_cast<size_t>(INT_MAX)));
}

void LogRequest(const char* request)
{
    if (const char* path = std::getenv("VOMDIX_REQUEST_LOG")) {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out << request << '\n';
    }
}

}  // namespace

extern "C" int VOMDIX_BeginJob(int* job)
{
    if (job == nullptr)
        return VOMDIX_BadArguments;
    try {
        *job = VOMDIX::LedgerBeginJob();
        return VOMDIX_Ok;
    } catch (...) {
        return VOMDIX_InternalError;
    }
}

extern "C" int VOMDIX_GetWallPolygon(int job, const char* request, char* reply, int* length)
{
    if (request == nullptr || length == nullptr)
        return VOMDIX_BadArguments;
    try {
        LogRequest(request);
        if (!VOMDIX::LedgerJobIsOpen(job)) {
            if (reply == nullptr)
                *length = 0;
            return VOMDIX_UnknownJob;
        }
        const std::string bytes = ReplyBytes();
        if (reply == nullptr) {
            *length = AnnouncedLength(bytes);
            return VOMDIX_Ok;
        }
        if (*length > 0)
            std::memcpy(reply, bytes.data(), std::min(bytes.size(), static_cast<size_t>(*length)));
        return VOMDIX_Ok;
    } catch (...) {
        if (reply == nullptr)
            *length = 0;
        return VOMDIX_InternalError;
    }
}

extern "C" int VOMDIX_EndJob(int job)
{
    try {
        return VOMDIX::LedgerEndJob(job) ? VOMDIX_Ok : VOMDIX_UnknownJob;
    } catch (...) {
        return VOMDIX_InternalError;
    }
}
