// The wall-geometry library's job handles and their counts, kept in the
// class libraries (libGSRoot) so that the host can read them without binding
// the wall-geometry library itself, and so that the real library and its
// scripted stand-in keep one ledger per process.
//
// For the host's use: every job begun must be ended exactly once; a job
// still open when the add-on is unloaded, or an end of a job that is not
// open, is the add-on's fault.
#pragma once
#include "platform/gs/GSTypes.hpp"

namespace VOMDIX {

struct JobCounts {
    Int64 begun = 0;
    Int64 ended = 0;
    Int64 endedTwice = 0;    // ends of a job that had already ended
    Int64 endedUnknown = 0;  // ends of a handle that was never handed out
    Int64 open = 0;          // jobs begun and not yet ended
};

// A new job handle (never 0), recorded as open.
PLATFORM_API Int32 LedgerBeginJob();
PLATFORM_API bool LedgerJobIsOpen(Int32 job);
// Records the end; false when the job was not open.
PLATFORM_API bool LedgerEndJob(Int32 job);

PLATFORM_API JobCounts GetJobCounts();
// Forgets the counts and every open job; handles handed out before stay
// distinct from later ones and count as unknown when ended afterwards.
PLATFORM_API void ResetJobCounts();

}  // namespace VOMDIX
