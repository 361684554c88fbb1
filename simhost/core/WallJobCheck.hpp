// The host's check of the wall-geometry library's jobs over a run: every
// job begun is ended exactly once. A job still open at the end, or an end
// of a job that was not open (ended twice, or never handed out), is the
// add-on's fault. The ledger is the process's, so the check compares with
// the counts at its start.
#pragma once
#include "platform/vomdix/JobLedger.hpp"
#include "simhost/core/Recorder.hpp"

namespace SimHost {

class WallJobCheck {
public:
    WallJobCheck() : before(VOMDIX::GetJobCounts()) {}
    // Records a fault for each kind of broken rule since the previous
    // report (or the start), then starts a fresh account, so that a job
    // left open is reported once however often the add-on is unloaded.
    void Report(Recorder& recorder);

private:
    VOMDIX::JobCounts before;
};

}  // namespace SimHost
