// The host's account of wall-geometry jobs: every job begun is ended exactly
// once, or the add-on is at fault, reported once.
#include "simhost/core/WallJobCheck.hpp"
#include <gtest/gtest.h>
#include <functional>

namespace {

std::vector<std::string> Faults(const SimHost::Recorder& recorder)
{
    std::vector<std::string> out;
    for (const auto& f : recorder.faults)
        out.push_back(f.what);
    return out;
}

TEST(WallJobCheckTest, JobsNotEndedExactlyOnceAreFaults)
{
    struct Case {
        const char* name;
        std::function<void()> jobs;
        std::vector<std::string> faults;
    };
    const std::vector<Case> cases = {
        {"none", [] {}, {}},
        {"begun and ended",
         [] {
             for (int i = 0; i < 3; ++i)
                 VOMDIX::LedgerEndJob(VOMDIX::LedgerBeginJob());
         },
         {}},
        {"never ended", [] { VOMDIX::LedgerBeginJob(); }, {"wall-geometry jobs never ended: 1"}},
        {"ended twice",
         [] {
             const Int32 job = VOMDIX::LedgerBeginJob();
             VOMDIX::LedgerEndJob(job);
             VOMDIX::LedgerEndJob(job);
         },
         {"wall-geometry jobs ended twice: 1"}},
        {"never begun", [] { VOMDIX::LedgerEndJob(-7); }, {"wall-geometry jobs ended that were never begun: 1"}},
        {"one of each",
         [] {
             VOMDIX::LedgerBeginJob();
             const Int32 job = VOMDIX::LedgerBeginJob();
             VOMDIX::LedgerEndJob(job);
             VOMDIX::LedgerEndJob(job);
         },
         {"wall-geometry jobs never ended: 1", "wall-geometry jobs ended twice: 1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Jobs another host of the process left open are not this one's.
        const Int32 before = VOMDIX::LedgerBeginJob();
        SimHost::WallJobCheck check;
        SimHost::Recorder recorder;
        c.jobs();
        check.Report(recorder);
        EXPECT_EQ(Faults(recorder), c.faults);
        // Reported once: a later report without new jobs adds nothing.
        check.Report(recorder);
        EXPECT_EQ(Faults(recorder), c.faults);
        VOMDIX::LedgerEndJob(before);
    }
}

}  // namespace
