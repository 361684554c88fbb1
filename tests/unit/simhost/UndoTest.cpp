// Undoable commands: named steps, a failed body taken back, the model
// closed to changes outside them, and the user's Undo.
#include "tests/unit/simhost/HostTestSupport.hpp"
#include "simhost/scenario/HostQueries.hpp"

namespace {

using namespace HostTest;
using SimHost::FindParam;

class UndoTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        bar = host->PlaceObject("rf_rebar").guid;
    }
    // Changes the bar's information string, as a command's result writing does.
    GSErrCode Rename(const char* text)
    {
        API_Element element = Zeroed<API_Element>();
        element.header.guid = bar;
        API_ElementMemo memo = Zeroed<API_ElementMemo>();
        GS::UniString info(text);
        memo.elemInfoString = &info;
        GS::Array<API_Guid> guids;
        guids.Push(bar);
        return Slot<HostSlot::ChangeElementsByGuid>(*host)(nullptr, &guids, &element, &memo, APIMemoMask_ElemInfoString);
    }
    std::u16string BarInfo() const { return host->model.Find(bar)->infoString; }

    API_Guid bar{};
};

TEST_F(UndoTest, StepIsNamedAndUndoneAsAWhole)
{
    API_Guid created{};
    ASSERT_EQ(RunUndoable("[zolva] Reinforcement",
                          [&] {
                              API_Element element = ObjectRecord("rf_rebar");
                              EXPECT_EQ(Create(element), NoError);
                              created = element.header.guid;
                              return Rename("A1");
                          }),
              NoError);
    EXPECT_EQ(SimHost::Queries::LastUndoStepName(*host), std::optional<std::string>("[zolva] Reinforcement"));
    EXPECT_EQ(host->model.Elements().size(), 2u);
    EXPECT_EQ(BarInfo(), u"A1");

    ASSERT_EQ(RunUndoable("second", [&] { return Delete({bar}); }), NoError);
    EXPECT_EQ(SimHost::Queries::UndoStepNames(*host), (std::vector<std::string>{"[zolva] Reinforcement", "second"}));

    ASSERT_TRUE(host->UndoLastStep());
    ASSERT_NE(host->model.Find(bar), nullptr) << "the deleted bar is back";
    EXPECT_EQ(BarInfo(), u"A1");
    ASSERT_TRUE(host->UndoLastStep());
    EXPECT_EQ(host->model.Find(created), nullptr);
    EXPECT_EQ(BarInfo(), u"");
    EXPECT_EQ(host->model.Elements().size(), 1u);
    EXPECT_FALSE(host->UndoLastStep()) << "nothing left to undo";
    EXPECT_EQ(host->undo.undone, (std::vector<std::string>{"second", "[zolva] Reinforcement"}));

    // GUIDs are not given out again after an undo.
    ASSERT_EQ(RunUndoable("third", [&] {
                  API_Element element = ObjectRecord("rf_rebar");
                  EXPECT_EQ(Create(element), NoError);
                  EXPECT_NE(element.header.guid, created);
                  return NoError;
              }),
              NoError);
    EXPECT_TRUE(host->recorder.faults.empty());
}

TEST_F(UndoTest, FailedBodyIsTakenBackAndRecordsNoStep)
{
    const GSErrCode failure = static_cast<GSErrCode>(0x81060042);
    EXPECT_EQ(RunUndoable("broken",
                          [&] {
                              API_Element element = ObjectRecord("rf_rebar");
                              EXPECT_EQ(Create(element), NoError);
                              EXPECT_EQ(Rename("A1"), NoError);
                              return failure;
                          }),
              failure);
    EXPECT_EQ(host->model.Elements().size(), 1u);
    EXPECT_EQ(BarInfo(), u"");
    EXPECT_TRUE(host->undo.steps.empty());
    EXPECT_EQ(host->undo.commandDepth, 0);

    // An exception from the body is the add-on's fault; its changes go too.
    EXPECT_EQ(RunUndoable("throws",
                          [&]() -> GSErrCode {
                              EXPECT_EQ(Rename("B"), NoError);
                              throw std::runtime_error("escaped");
                          }),
              APIERR_GENERAL);
    EXPECT_EQ(BarInfo(), u"");
    EXPECT_EQ(host->recorder.faults.size(), 1u);
    EXPECT_TRUE(host->undo.steps.empty());
}

TEST_F(UndoTest, NestedCommandBelongsToTheEnclosingStep)
{
    ASSERT_EQ(RunUndoable("outer",
                          [&] {
                              EXPECT_EQ(RunUndoable("inner", [&] { return Rename("A1"); }), NoError);
                              // A failing inner command takes back only its own changes.
                              EXPECT_EQ(RunUndoable("inner failing",
                                                    [&] {
                                                        EXPECT_EQ(Rename("lost"), NoError);
                                                        return APIERR_GENERAL;
                                                    }),
                                        APIERR_GENERAL);
                              return NoError;
                          }),
              NoError);
    EXPECT_EQ(BarInfo(), u"A1");
    EXPECT_EQ(SimHost::Queries::UndoStepNames(*host), std::vector<std::string>{"outer"});
    ASSERT_TRUE(host->UndoLastStep());
    EXPECT_EQ(BarInfo(), u"");
}

TEST_F(UndoTest, ModelChangesOutsideAnUndoableCommandAreRefused)
{
    API_Element element = ObjectRecord("rf_rebar");
    EXPECT_EQ(Create(element), APIERR_NEEDSUNDOSCOPE);
    EXPECT_EQ(Rename("A1"), APIERR_NEEDSUNDOSCOPE);
    EXPECT_EQ(Delete({bar}), APIERR_NEEDSUNDOSCOPE);
    API_ElementUserData data = Zeroed<API_ElementUserData>();
    data.dataHdl = BMhAllClear(4);
    API_Elem_Head head = Zeroed<API_Elem_Head>();
    head.guid = bar;
    EXPECT_EQ(Slot<HostSlot::SetUserData>(*host)(nullptr, &head, &data), APIERR_NEEDSUNDOSCOPE);
    BMhKill(&data.dataHdl);

    EXPECT_EQ(host->model.Elements().size(), 1u);
    EXPECT_EQ(BarInfo(), u"");
    EXPECT_FALSE(host->model.Find(bar)->userData.has_value());
    EXPECT_TRUE(host->recorder.createdElements.empty());
    EXPECT_TRUE(host->recorder.changedElements.empty());
    // A wrong call still gets its own answer first.
    EXPECT_EQ(Delete({host->model.NewGuid()}), APIERR_BADID);

    // A notification's changes join the user's step and are let through.
    SimHost::NotificationScope notification(host->undo);
    EXPECT_EQ(Rename("A1"), NoError);
}

TEST_F(UndoTest, RefusedCommandNeverRunsItsBody)
{
    host->faultPlan.FailSlot(HostSlot::RunUndoableCommand, APIERR_REFUSEDCMD, 1);
    bool ran = false;
    EXPECT_EQ(RunUndoable("refused", [&] {
                  ran = true;
                  return NoError;
              }),
              APIERR_REFUSEDCMD);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(host->undo.steps.empty());

    const UndoableBody empty;
    GS::UniString name("x");
    EXPECT_EQ(Slot<HostSlot::RunUndoableCommand>(*host)(nullptr, &name, nullptr), APIERR_BADPARS);
    EXPECT_EQ(Slot<HostSlot::RunUndoableCommand>(*host)(nullptr, &name, &empty), APIERR_BADPARS);
    EXPECT_EQ(Slot<HostSlot::RunUndoableCommand>(*host)(nullptr, nullptr, &empty), APIERR_BADPARS);
}

}  // namespace

namespace {

using namespace HostTest;

class UndoTimingTest : public HostFixture {};

// The body is the add-on's time: a benchmark takes the host's time out,
// so the body must not be counted in it, while its host calls are. The
// host's clock is the test's: every reading moves it on by 1 us, and the
// body itself takes 200 ms.
TEST_F(UndoTimingTest, BodyTimeIsNotHostTime)
{
    Int64 now = 0;
    host->recorder.clock = [&now] { return now += 1'000; };
    const Int64 before = host->recorder.hostCallNanoseconds;
    const Int64 callsBefore = host->recorder.hostCallCount;
    Int64 createTime = 0;
    ASSERT_EQ(RunUndoable("slow body",
                          [&] {
                              now += 200'000'000;
                              API_Element element = ObjectRecord("rf_rebar");
                              const Int64 hostTimeBefore = host->recorder.hostCallNanoseconds;
                              const GSErrCode err = Create(element);
                              createTime = host->recorder.hostCallNanoseconds - hostTimeBefore;
                              return err;
                          }),
              NoError);
    const Int64 hostTime = host->recorder.hostCallNanoseconds - before;
    EXPECT_GT(createTime, 0) << "the body's host call is not counted";
    EXPECT_GE(hostTime, createTime);
    EXPECT_LT(hostTime, 100'000) << "the body's 200 ms counted as host time";
    EXPECT_EQ(host->recorder.hostCallCount - callsBefore, 2);
    EXPECT_EQ(host->recorder.hostCallDepth, 0);
}

}  // namespace
