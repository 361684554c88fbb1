// What the host reports as the add-on's faults with memos and parameters.
#include "tests/unit/simhost/HostTestSupport.hpp"

namespace {

using HostTest::Slot;

// A host with one placed bar.
class MemoFaultsTest : public HostTest::HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        if (HasFatalFailure())
            return;
        bar = host->PlaceObject("rf_rebar").guid;
    }
    API_Guid bar{};
};

TEST_F(MemoFaultsTest, MemoDisposedTwiceIsAFaultNotACrash)
{
    API_ElementMemo memo;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    ASSERT_EQ(Slot<HostSlot::GetMemo>(*host)(nullptr, bar, &memo, APIMemoMask_All), NoError);
    ASSERT_NE(memo.params, nullptr);
    ASSERT_NE(memo.elemInfoString, nullptr);
    API_ElementMemo copy = memo;
    Slot<HostSlot::DisposeMemo>(*host)(&memo);
    EXPECT_TRUE(host->recorder.faults.empty());
    Slot<HostSlot::DisposeMemo>(*host)(&copy);
    EXPECT_GE(host->recorder.faults.size(), 2u) << "the parameter handle and the information string";
}

TEST_F(MemoFaultsTest, ParameterHandleOfPartialRecordsIsRefused)
{
    API_ElementMemo memo;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    ASSERT_EQ(Slot<HostSlot::GetMemo>(*host)(nullptr, bar, &memo, APIMemoMask_AddPars), NoError);
    GSHandle h = reinterpret_cast<GSHandle>(memo.params);
    BMhReallocate(h, BMhGetSize(h) - 100);
    API_Element element;
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    element.header.guid = bar;
    EXPECT_EQ(Slot<HostSlot::ChangeElement>(*host)(nullptr, &element, nullptr, &memo, APIMemoMask_AddPars, false), APIERR_BADPARS);
    ASSERT_EQ(host->recorder.faults.size(), 1u);
    EXPECT_NE(host->recorder.faults[0].what.find("not a whole number of records"), std::string::npos);
    EXPECT_EQ(Slot<HostSlot::ChangeElement>(*host)(nullptr, &element, nullptr, &memo, 0, false), APIERR_NOMEMOMASK);
    // Back to whole records (the last one, a plain number, is dropped) so the
    // memo can be freed.
    BMhReallocate(h, (BMhGetSize(h) / static_cast<Int64>(sizeof(API_AddParType))) * static_cast<Int64>(sizeof(API_AddParType)));
    Slot<HostSlot::DisposeMemo>(*host)(&memo);
    host->recorder.faults.clear();
}

TEST_F(MemoFaultsTest, DefaultsOfAPartRoundTrip)
{
    API_AddParType** params = nullptr;
    Int32 count = 0;
    double a = 0, b = 0;
    Int32 libInd = host->libraries.IndexOfPart("rf_list");
    ASSERT_EQ(Slot<HostSlot::GetLibraryPartParams>(*host)(nullptr, libInd, &a, &b, &count, &params), NoError);
    SimHost::GdlParams read;
    std::string fault;
    ASSERT_TRUE(SimHost::ReadParamHandle(params, read, fault)) << fault;
    EXPECT_EQ(static_cast<Int32>(read.size()), count);
    const SimHost::GdlParam* strings = SimHost::FindParam(read, "ironStringData");
    ASSERT_NE(strings, nullptr);
    EXPECT_EQ(strings->kind, SimHost::GdlParam::Kind::Texts);
    EXPECT_EQ(strings->dim2, 2);
    Slot<HostSlot::DisposeParamHandle>(*host)(&params);
    EXPECT_EQ(params, nullptr);
    EXPECT_NE(Slot<HostSlot::GetLibraryPartParams>(*host)(nullptr, 999, &a, &b, &count, &params), NoError);
}

}  // namespace
