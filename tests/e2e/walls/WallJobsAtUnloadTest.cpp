// When the add-on goes, the host accounts for the wall-geometry jobs of its
// run: one left open is the add-on's fault; a clean run has none.
#include "tests/e2e/AddOnFixture.hpp"
#include "platform/vomdix/JobLedger.hpp"

namespace {

class WallJobsAtUnloadTest : public AddOnTest {};

TEST_F(WallJobsAtUnloadTest, AJobLeftOpenIsAFaultWhenTheAddOnIsUnloaded)
{
    for (bool leaveOpen : {false, true}) {
        SCOPED_TRACE(leaveOpen ? "left open" : "ended");
        host.reset();  // one host at a time
        host = std::make_unique<SimHost::Host>();
        ASSERT_TRUE(Start());
        // As the add-on's wall code would, inside the run.
        const Int32 job = VOMDIX::LedgerBeginJob();
        if (!leaveOpen)
            VOMDIX::LedgerEndJob(job);
        host->session.UnloadAddOn(true);
        std::vector<std::string> faults;
        for (const auto& f : host->recorder.faults)
            faults.push_back(f.what);
        EXPECT_EQ(faults, leaveOpen ? std::vector<std::string>{"wall-geometry jobs never ended: 1"}
                                    : std::vector<std::string>{});
        host->recorder.faults.clear();
        if (leaveOpen)
            VOMDIX::LedgerEndJob(job);
    }
}

}  // namespace
