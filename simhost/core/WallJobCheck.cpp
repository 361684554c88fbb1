#include "simhost/core/WallJobCheck.hpp"
#include <string>

namespace SimHost {

void WallJobCheck::Report(Recorder& recorder)
{
    const VOMDIX::JobCounts now = VOMDIX::GetJobCounts();
    const Int64 open = now.open - before.open;
    const Int64 twice = now.endedTwice - before.endedTwice;
    const Int64 unknown = now.endedUnknown - before.endedUnknown;
    if (open > 0)
        recorder.AddFault("wall-geometry jobs never ended: " + std::to_string(open));
    if (twice > 0)
        recorder.AddFault("wall-geometry jobs ended twice: " + std::to_string(twice));
    if (unknown > 0)
        recorder.AddFault("wall-geometry jobs ended that were never begun: " + std::to_string(unknown));
    before = now;
}

}  // namespace SimHost
