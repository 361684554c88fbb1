#include "addon/walls/WallGeometryJob.hpp"
#include "addon/host/Owners.hpp"
#include "platform/vomdix/VOMDIX.hpp"
#include <cstring>
#include <new>

int BeginWallGeometryJob()
{
    int job = 0;
    VOMDIX_BeginJob(&job);
    return job;
}

void EndWallGeometryJob(int job) { VOMDIX_EndJob(job); }

std::optional<std::string> FetchWallPolygonReply(int job, const std::string& request)
{
    struct EndAtExit {
        int job;
        ~EndAtExit() { EndWallGeometryJob(job); }
    } endAtExit{job};

    int length = 0;
    VOMDIX_GetWallPolygon(job, request.c_str(), nullptr, &length);
    if (length <= 0 || length > MaxWallReplyLength)
        return std::nullopt;
    const int announced = length;
    HostBlockOwner buffer(GS_calloc(static_cast<USize>(announced) + 1, 1));
    if (buffer.Get() == nullptr)
        return std::nullopt;
    VOMDIX_GetWallPolygon(job, request.c_str(), static_cast<char*>(buffer.Get()), &length);
    // Whatever the library wrote back into `length`, the buffer holds the
    // announced length and its zero byte.
    const char* text = static_cast<const char*>(buffer.Get());
    try {
        return std::string(text, strnlen(text, static_cast<size_t>(announced)));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}
