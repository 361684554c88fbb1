// The one report of how a command ended, against a small fake host table
// that records the alerts and runs the undoable step as the host does.
#include "addon/host/HostBinding.hpp"
#include "addon/services/CommandOutcome.hpp"
#include "addon/services/ResStrings.hpp"
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_alerts;
GSErrCode g_refuse = NoError;  // the host's answer without running the step
GSErrCode g_bodyResult = NoError;

Int32 Report(HostToken, const char* text, bool) { g_alerts.emplace_back(text); return 0; }
GSErrCode RunUndoable(HostToken, const GS::UniString*, const UndoableBody* body)
{
    if (g_refuse != NoError)
        return g_refuse;
    g_bodyResult = (*body)();
    return g_bodyResult;
}

class CommandOutcomeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_alerts.clear();
        g_refuse = NoError;
        g_bodyResult = NoError;
        table.assign(HostFunctionCount, nullptr);
        table[static_cast<UInt32>(HostSlot::Report)] = reinterpret_cast<void*>(&Report);
        table[static_cast<UInt32>(HostSlot::RunUndoableCommand)] = reinterpret_cast<void*>(&RunUndoable);
        HostBinding::ReceiveTable(table.data());
    }
    void TearDown() override { HostBinding::Reset(); }
    std::vector<void*> table;
};

std::string Text(RSStringId id) { return GetResString(id); }

TEST_F(CommandOutcomeTest, WholeRunTellsNothing)
{
    CommandOutcome outcome;
    EXPECT_EQ(RunUndoableStep(outcome, [] { return NoError; }), NoError);
    EXPECT_TRUE(outcome.Tell());
    EXPECT_TRUE(g_alerts.empty());
}

TEST_F(CommandOutcomeTest, FailureTakesTheStepBackAndIsToldOnce)
{
    struct Case {
        const char* what;
        UndoableBody body;
        GSErrCode refuse;
        GSErrCode expected;
    };
    const Case cases[] = {
        {"recorded failure", [] { return NoError; }, NoError, APIERR_GENERAL},
        {"body's own code", [] { return APIERR_BADID; }, NoError, APIERR_BADID},
        {"exception", []() -> GSErrCode { throw std::runtime_error("x"); }, NoError, APIERR_GENERAL},
        {"host refused the step", [] { return NoError; }, APIERR_REFUSEDCMD, APIERR_REFUSEDCMD},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_alerts.clear();
        g_refuse = c.refuse;
        CommandOutcome outcome;
        outcome.Skip(3);
        const bool recorded = std::string(c.what) == "recorded failure";
        const GSErrCode result = RunUndoableStep(outcome, [&] {
            if (recorded)
                outcome.Check(APIERR_GENERAL);
            return c.body();
        });
        EXPECT_EQ(result, c.expected);
        EXPECT_TRUE(outcome.Failed());
        EXPECT_FALSE(outcome.Tell(result));
        EXPECT_FALSE(outcome.Tell(result));
        ASSERT_EQ(g_alerts.size(), 1u) << "one alert, the skips not told besides";
        EXPECT_EQ(g_alerts[0], Text(ResStr::Messages::CommandNotCompleted));
    }
}

TEST_F(CommandOutcomeTest, SkipsAreCountedAndToldOnce)
{
    CommandOutcome outcome;
    outcome.Skip();
    outcome.Skip(2);
    EXPECT_EQ(RunUndoableStep(outcome, [] { return NoError; }), NoError) << "a skip keeps the step";
    EXPECT_FALSE(outcome.Tell());
    EXPECT_FALSE(outcome.Tell());
    ASSERT_EQ(g_alerts.size(), 1u);
    EXPECT_NE(g_alerts[0].find('3'), std::string::npos) << g_alerts[0];

    CommandOutcome inStep(CommandOutcome::Skips::NotKeptInStep);
    inStep.Skip();
    EXPECT_FALSE(inStep.Tell());
    ASSERT_EQ(g_alerts.size(), 2u);
    EXPECT_NE(g_alerts[1], g_alerts[0]);
    EXPECT_NE(g_alerts[1].find('1'), std::string::npos) << g_alerts[1];
}

TEST_F(CommandOutcomeTest, FailNeverAnswersNoError)
{
    CommandOutcome outcome;
    EXPECT_TRUE(outcome.Check(NoError));
    EXPECT_FALSE(outcome.Failed());
    EXPECT_EQ(outcome.Fail(NoError), APIERR_GENERAL);
    EXPECT_EQ(outcome.Fail(APIERR_BADID), APIERR_BADID);
    EXPECT_EQ(outcome.BodyResult(), APIERR_GENERAL) << "the first failure is kept";
}

}  // namespace
