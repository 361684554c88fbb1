// The host's side of the request list and the slot list: typed handlers
// that refuse bad arguments as a host does, requests sent the wrong way,
// failures planned only where the slot list allows them, and slot
// positions that never move.
#include "simhost/core/SimHost.hpp"
#include "platform/api/HostRequests.hpp"
#include "platform/gs/Memory.hpp"
#include <functional>
#include <gtest/gtest.h>

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace RequestsTests {

template <HostSlot S> HostSlotFn<S> Slot(const SimHost::Host& host)
{
    return reinterpret_cast<HostSlotFn<S>>(host.Table()[static_cast<UInt32>(S)]);
}

struct Fixture {
    SimHost::Host host;
    API_Guid wall = host.model.Add(API_WallID).guid;
    API_Guid object = host.model.Add(API_ObjectID).guid;  // of no active library part
    GSErrCode Utility(const char (&code)[5], void* p1, void* p2 = nullptr)
    {
        return Slot<HostSlot::Utility>(host)(nullptr, RequestCode(code), p1, p2, nullptr);
    }
    GSErrCode Environment(const char (&code)[5], void* p1)
    {
        return Slot<HostSlot::Environment>(host)(nullptr, RequestCode(code), p1, nullptr, nullptr);
    }
    GSErrCode Interface(const char (&code)[5], void* p1 = nullptr, void* p2 = nullptr)
    {
        return Slot<HostSlot::Interface>(host)(nullptr, RequestCode(code), p1, p2, nullptr);
    }
};

struct BadArgumentCase {
    const char* name;
    std::function<GSErrCode(Fixture&)> call;
    GSErrCode expected;
    bool addOnFault;  // misuse a real host would not forgive
};

class BadArgumentTest : public ::testing::TestWithParam<BadArgumentCase> {};

TEST_P(BadArgumentTest, AnswersTheHostsCodeWithoutCrashing)
{
    const BadArgumentCase& c = GetParam();
    Int64 handles = GS::LiveMemoryHandleCount();
    {
        Fixture f;
        EXPECT_EQ(c.call(f), c.expected);
        EXPECT_EQ(!f.host.recorder.faults.empty(), c.addOnFault)
            << (f.host.recorder.faults.empty() ? "" : f.host.recorder.faults[0].what);
    }
    EXPECT_EQ(GS::LiveMemoryHandleCount(), handles);
}

API_Neig Item(const API_Guid& guid)
{
    API_Neig n{};
    n.guid = guid;
    return n;
}

API_Element Record(const API_Guid& guid)
{
    API_Element e{};
    e.header.guid = guid;
    return e;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadArgumentTest,
    ::testing::Values(
        BadArgumentCase{"typeOfNoItem", [](Fixture& f) { API_ElemTypeID t; return f.Utility("NTOE", nullptr, &t); }, APIERR_BADPARS, false},
        BadArgumentCase{"typeIntoNothing", [](Fixture& f) { API_Neig n = Item(f.wall); return f.Utility("NTOE", &n, nullptr); }, APIERR_BADPARS, false},
        BadArgumentCase{"typeOfUnknownElement",
                        [](Fixture& f) { API_Neig n = Item(APINULLGuid); API_ElemTypeID t; return f.Utility("NTOE", &n, &t); },
                        APIERR_BADID, false},
        BadArgumentCase{"recomputeNoElement", [](Fixture& f) { return f.Utility("RPAS", nullptr); }, APIERR_BADPARS, false},
        BadArgumentCase{"recomputeAWall", [](Fixture& f) { API_Element e = Record(f.wall); return f.Utility("RPAS", &e); }, APIERR_BADID, false},
        BadArgumentCase{"recomputeObjectOfNoPart", [](Fixture& f) { API_Element e = Record(f.object); return f.Utility("RPAS", &e); },
                        APIERR_BADINDEX, false},
        BadArgumentCase{"shapeIntoNothing", [](Fixture& f) { return f.Utility("GSHP", &f.wall, nullptr); }, APIERR_BADPARS, false},
        BadArgumentCase{"librariesIntoNothing", [](Fixture& f) { return f.Environment("GLIB", nullptr); }, APIERR_BADPARS, false},
        BadArgumentCase{"addNoLibrary", [](Fixture& f) { return f.Environment("ALIB", nullptr); }, APIERR_BADPARS, false},
        BadArgumentCase{"addUnreadableLibrary",
                        [](Fixture& f) { IO::Location l(std::string("/nonexistent/x.lcf")); return f.Environment("ALIB", &l); },
                        APIERR_BADLIBRARY, false},
        BadArgumentCase{"groupsModeIntoNothing", [](Fixture& f) { return f.Environment("ISSG", nullptr); }, APIERR_BADPARS, false},
        BadArgumentCase{"phaseWithoutWindow",
                        [](Fixture& f) { Int32 max = 3; return f.Interface("SPRP", const_cast<char*>("phase"), &max); },
                        APIERR_GENERAL, true},
        BadArgumentCase{"requestThroughTheWrongCall",
                        [](Fixture& f) { API_Neig n = Item(f.wall); API_ElemTypeID t; return f.Interface("NTOE", &n, &t); },
                        APIERR_BADPARS, true},
        BadArgumentCase{"requestNotInTheList", [](Fixture& f) { return f.Utility("ZZZZ", nullptr); }, APIERR_GENERAL, true}),
    [](const ::testing::TestParamInfo<BadArgumentCase>& info) { return std::string(info.param.name); });

// Planned failures reach only calls the slot list marks as able to fail;
// the others neither fail nor use up the plan.
TEST(FaultPlanTest, CallsThatCannotFailAreLeftAlone)
{
    Int64 handles = GS::LiveMemoryHandleCount();
    SimHost::Host host;
    API_Guid wall = host.model.Add(API_WallID).guid;
    host.faultPlan.FailSlot(HostSlot::DisposeMemo, APIERR_GENERAL);
    host.faultPlan.FailNthCall(1, APIERR_REFUSEDCMD);
    API_ElementMemo memo{};
    EXPECT_EQ(Slot<HostSlot::DisposeMemo>(host)(&memo), NoError);
    API_AddParType** params = nullptr;
    EXPECT_EQ(Slot<HostSlot::DisposeParamHandle>(host)(&params), NoError);
    EXPECT_EQ(Slot<HostSlot::Report>(host)(nullptr, "alert", true), 0);
    EXPECT_FALSE(host.faultPlan.NthCallFailed());
    API_Element element = Record(wall);
    EXPECT_EQ(Slot<HostSlot::GetElement>(host)(nullptr, &element), APIERR_REFUSEDCMD);
    EXPECT_TRUE(host.faultPlan.NthCallFailed());
    EXPECT_EQ(Slot<HostSlot::GetElement>(host)(nullptr, &element), NoError);
    EXPECT_EQ(host.recorder.hostCallCount, 5);
    EXPECT_TRUE(host.recorder.faults.empty());
    EXPECT_EQ(GS::LiveMemoryHandleCount(), handles);
}

// The table's positions are the host's binary interface: a slot keeps its
// index for good, and new slots come after these.
TEST(HostSlotsTest, PositionsNeverMove)
{
    const char* const released[] = {
        "Environment", "Interface", "Utility", "Automate", "Database", "ToolCommand", "Report", "KeepInMemory",
        "RegisterMenu", "InstallMenuHandler", "CatchElementEvents", "CatchSelectionChange", "RegisterPalette",
        "UnregisterPalette", "MainWindow", "RunUndoableCommand", "GetSelection", "GetElement", "GetMemo", "DisposeMemo",
        "CreateElement", "ChangeElement", "ChangeElementsByGuid", "DeleteElements", "GetToolDefaults",
        "ListElementsByType", "ElementFilter", "SetUserData", "GetUserData", "SearchLibraryPart", "GetLibraryPart",
        "GetLibraryPartParams", "DisposeParamHandle", "GetConnectedElements"};
    const UInt32 count = static_cast<UInt32>(sizeof released / sizeof released[0]);
    ASSERT_GE(NamedHostSlotCount, count);
    for (UInt32 i = 0; i < count; ++i)
        EXPECT_STREQ(HostSlotName(i), released[i]) << "slot " << i;
}

}  // namespace RequestsTests
