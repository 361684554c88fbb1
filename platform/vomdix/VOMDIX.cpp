// The wall-geometry library's exports: job handles from the ledger in the
// class libraries, replies computed from the wall description.
#define VOMDIX_BUILDING
#include "platform/vomdix/VOMDIX.hpp"
#include "platform/vomdix/JobLedger.hpp"
#include "platform/vomdix/WallFace.hpp"
#include <climits>
#include <cstring>

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

// The reply is computed afresh on both calls; the computation is
// deterministic, so the length of the first call fits the second.
extern "C" int VOMDIX_GetWallPolygon(int job, const char* request, char* reply, int* length)
{
    if (request == nullptr || length == nullptr)
        return VOMDIX_BadArguments;
    try {
        if (!VOMDIX::LedgerJobIsOpen(job)) {
            if (reply == nullptr)
                *length = 0;
            return VOMDIX_UnknownJob;
        }
        const std::string text = VOMDIX::ComputeWallFaceReply(request);
        if (text.size() > static_cast<size_t>(INT_MAX))
            return VOMDIX_InternalError;
        if (reply == nullptr) {
            *length = static_cast<int>(text.size());
            return VOMDIX_Ok;
        }
        if (*length < 0)
            return VOMDIX_BadArguments;
        std::memcpy(reply, text.data(), std::min(text.size(), static_cast<size_t>(*length)));
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
