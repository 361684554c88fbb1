// The add-on's host layer against a small fake table: what an empty slot
// answers, how every request of the list travels, and the shared queries.
#include "addon/host/HostBinding.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostQueries.hpp"
#include "addon/host/HostRequests.hpp"
#include "platform/gs/Memory.hpp"
#include <gtest/gtest.h>
#include <vector>

namespace {

// What the fake dispatching calls saw.
struct Sent {
    HostSlot slot = HostSlot::NamedSlotCount;
    API_RequestCode code = 0;
    void* pars[3] = {};
};
Sent g_sent;
GSErrCode g_answer = NoError;

template <HostSlot S> GSErrCode Dispatching(HostToken, API_RequestCode code, void* p1, void* p2, void* p3)
{
    g_sent = {S, code, {p1, p2, p3}};
    return g_answer;
}
GSErrCode ToolCommand(HostToken, API_RequestCode code, void* p1)
{
    g_sent = {HostSlot::ToolCommand, code, {p1, nullptr, nullptr}};
    return g_answer;
}

class HostLayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        handles = GS::LiveMemoryHandleCount();
        g_sent = {};
        g_answer = NoError;
        table.assign(HostFunctionCount, nullptr);
    }
    void TearDown() override
    {
        HostBinding::Reset();
        EXPECT_EQ(GS::LiveMemoryHandleCount(), handles);
    }
    template <HostSlot S> void Install(HostSlotFn<S> fn) { table[static_cast<UInt32>(S)] = reinterpret_cast<void*>(fn); }
    void InstallDispatching()
    {
        Install<HostSlot::Environment>(&Dispatching<HostSlot::Environment>);
        Install<HostSlot::Interface>(&Dispatching<HostSlot::Interface>);
        Install<HostSlot::Utility>(&Dispatching<HostSlot::Utility>);
        Install<HostSlot::Automate>(&Dispatching<HostSlot::Automate>);
        Install<HostSlot::Database>(&Dispatching<HostSlot::Database>);
        Install<HostSlot::ToolCommand>(&ToolCommand);
    }
    void Hand() { HostBinding::ReceiveTable(table.data()); }

    std::vector<void*> table;
    Int64 handles = 0;
};

// Every slot left empty answers what its line of the list names.
TEST_F(HostLayerTest, EmptySlotsGiveTheListedAnswers)
{
    Hand();
    API_Element element{};
    EXPECT_EQ(HostGetElement(&element), APIERR_MISSINGCODE);
    EXPECT_EQ(HostDisposeMemo(nullptr), APIERR_MISSINGCODE);
    EXPECT_EQ(HostUtility(RequestCode("NTOE"), nullptr, nullptr, nullptr), APIERR_MISSINGCODE);
    EXPECT_EQ(HostReport("text", true), 0);
    EXPECT_FALSE(HostElementFilter(APINULLGuid, 2, 0, APINULLGuid));
    EXPECT_EQ(HostMainWindow(), nullptr);
    HostKeepInMemory(true);
    API_Neig item{};
    EXPECT_EQ(HostRequest::NTOE(&item, nullptr), APIERR_MISSINGCODE);
}

// Distinct addresses for the parameters of a request: never dereferenced.
template <typename T> T FakeParameter(USize index)
{
    return reinterpret_cast<T>(static_cast<GS::IntPtr>(0x1000 + 0x10 * index));
}

template <HostRequestId R, typename... A, size_t... I>
void CheckRow(GSErrCode (*wrapper)(A...), std::index_sequence<I...>)
{
    using Traits = HostRequestTraits<R>;
    g_sent = {};
    g_answer = static_cast<GSErrCode>(0x81060310);
    EXPECT_EQ(wrapper(FakeParameter<A>(I)...), g_answer) << Traits::name;
    EXPECT_EQ(g_sent.slot, Traits::slot) << Traits::name;
    EXPECT_EQ(g_sent.code, Traits::code) << Traits::name;
    for (USize p = 0; p < 3; ++p) {
        void* expected = p < sizeof...(A) ? FakeParameter<void*>(p) : nullptr;
        EXPECT_EQ(g_sent.pars[p], expected) << Traits::name << " par" << p + 1;
    }
}

template <HostRequestId R, typename... A> void CheckRow(GSErrCode (*wrapper)(A...))
{
    CheckRow<R>(wrapper, std::index_sequence_for<A...>{});
}

// Each request goes through the call its line names, with its parameters
// in order and the others null, and gives back the host's answer.
TEST_F(HostLayerTest, EveryRequestTravelsAsItsLineSays)
{
    InstallDispatching();
    Hand();
#define HOST_REQUEST(Code, Slot, Params, Args) CheckRow<HostRequestId::Code>(&HostRequest::Code);
#include "platform/api/HostRequests.def"
}

API_ElemTypeID g_type = API_WallID;
GSErrCode TypeOf(HostToken, API_RequestCode code, void* item, void* type, void*)
{
    if (code != RequestCode("NTOE") || item == nullptr || type == nullptr)
        return APIERR_BADPARS;
    if (static_cast<const API_Neig*>(item)->guid == APINULLGuid)
        return APIERR_BADID;
    *static_cast<API_ElemTypeID*>(type) = g_type;
    return NoError;
}

TEST_F(HostLayerTest, ElementTypeOfATypedAndAnUnknownItem)
{
    Install<HostSlot::Utility>(&TypeOf);
    Hand();
    API_Neig item{};
    item.guid.time_low = 7;
    API_ElemTypeID type = API_ZombieElemID;
    EXPECT_EQ(ElementTypeOf(item, type), NoError);
    EXPECT_EQ(type, API_WallID);
    API_Neig unknown{};
    EXPECT_EQ(ElementTypeOf(unknown, type), APIERR_BADID);
    EXPECT_EQ(type, API_ZombieElemID);
}

// The host hands out a marquee handle with every selection, also with
// none selected; the reader frees it on every answer.
GSErrCode Selection(HostToken, API_SelectionInfo* info, GS::Array<API_Neig>* items, bool, bool, Int32)
{
    info->marqueeCoords = BMhAllClear(16);
    if (g_answer != NoError)
        return g_answer;
    info->typeID = 1;
    items->Push(API_Neig{});
    return NoError;
}

TEST_F(HostLayerTest, ReadSelectionFreesTheMarqueeOnEveryAnswer)
{
    Install<HostSlot::GetSelection>(&Selection);
    Hand();
    GS::Array<API_Neig> items;
    Int32 kind = -1;
    EXPECT_EQ(ReadSelection(items, kind), NoError);
    EXPECT_EQ(kind, 1);
    EXPECT_EQ(items.GetSize(), 1u);
    g_answer = APIERR_NOSEL;
    EXPECT_EQ(ReadSelection(items, kind), APIERR_NOSEL);
    EXPECT_EQ(kind, 0);
    EXPECT_TRUE(items.IsEmpty());
}

}  // namespace
