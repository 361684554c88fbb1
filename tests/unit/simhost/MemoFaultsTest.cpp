// What the host reports as the add-on's faults with memos and parameters.
#include "tests/unit/simhost/HostTestSupport.hpp"
#include "simhost/model/ParamHandles.hpp"
#include <cstring>
#include <optional>

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace MemoFaultsTests {

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

SimHost::GdlParam Param(const char* name, SimHost::GdlParam::Kind kind, std::vector<double> numbers = {},
                        std::vector<std::u16string> texts = {}, Int32 dim1 = 0, Int32 dim2 = 0)
{
    SimHost::GdlParam p;
    p.name = name;
    p.kind = kind;
    if (kind == SimHost::GdlParam::Kind::Number)
        p.number = numbers.at(0);
    if (kind == SimHost::GdlParam::Kind::Text)
        p.text = texts.at(0);
    if (kind == SimHost::GdlParam::Kind::Numbers)
        p.numbers = std::move(numbers);
    if (kind == SimHost::GdlParam::Kind::Texts)
        p.texts = std::move(texts);
    p.dim1 = dim1;
    p.dim2 = dim2;
    return p;
}

// Every field, as a reader of the element's parameters may see it.
void ExpectSameParams(const SimHost::GdlParams& got, const SimHost::GdlParams& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(want[i].name);
        EXPECT_EQ(got[i].name, want[i].name);
        EXPECT_EQ(got[i].kind, want[i].kind);
        EXPECT_EQ(got[i].number, want[i].number);
        EXPECT_EQ(got[i].text, want[i].text);
        EXPECT_EQ(got[i].dim1, want[i].dim1);
        EXPECT_EQ(got[i].dim2, want[i].dim2);
        EXPECT_EQ(got[i].numbers, want[i].numbers);
        EXPECT_EQ(got[i].texts, want[i].texts);
    }
}

// Changes one after another, of parameters that change kind, shape and
// number: each change the host takes leaves exactly its memo's parameters
// (nothing of an earlier change's), and one it refuses, for a parameter
// handle that does not hold what it claims or outside the scope for
// changes, leaves the parameters the last one left. Three sets in turn, so
// that each is read where another one was, every parameter changing kind.
TEST_F(MemoFaultsTest, EachChangeLeavesExactlyItsMemosParameters)
{
    using Kind = SimHost::GdlParam::Kind;
    const SimHost::GdlParams first = {Param("t", Kind::Text, {}, {u"abc"}), Param("n", Kind::Numbers, {1, 2, 3, 4}, {}, 2, 2),
                                      Param("s", Kind::Texts, {}, {u"a", u"bb"}, 1, 2), Param("x", Kind::Number, {5})};
    const SimHost::GdlParams second = {Param("t", Kind::Number, {7}), Param("n", Kind::Text, {}, {u"z"}),
                                       Param("s", Kind::Numbers, {9}, {}, 1, 1),
                                       Param("x", Kind::Texts, {}, {u"one", u"two", u"three"}, 3, 1)};
    const SimHost::GdlParams third = {Param("t", Kind::Texts, {}, {u"long text of many letters", u""}, 2, 1),
                                      Param("n", Kind::Number, {0}), Param("s", Kind::Text, {}, {u""}),
                                      Param("x", Kind::Numbers, {}, {}, 0, 1),
                                      Param("a longer name than most", Kind::Numbers, {1, 2, 3}, {}, 3, 1)};
    enum class Fault { None, TextsShort, OutsideScope };
    const struct {
        const SimHost::GdlParams* params;
        Fault fault;
        GSErrCode answer;
        const SimHost::GdlParams* left;
    } cases[] = {
        {&first, Fault::None, NoError, &first},          {&second, Fault::None, NoError, &second},
        {&third, Fault::None, NoError, &third},          {&first, Fault::None, NoError, &first},
        {&second, Fault::None, NoError, &second},        {&third, Fault::None, NoError, &third},
        {&third, Fault::TextsShort, APIERR_BADPARS, &third}, {&first, Fault::OutsideScope, APIERR_NEEDSUNDOSCOPE, &third},
        {&first, Fault::None, NoError, &first},          {&second, Fault::None, NoError, &second},
        {&third, Fault::None, NoError, &third},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(&c - cases));
        API_ElementMemo memo;
        std::memset(static_cast<void*>(&memo), 0, sizeof memo);
        memo.params = SimHost::BuildParamHandle(*c.params);
        ASSERT_NE(memo.params, nullptr);
        if (c.fault == Fault::TextsShort)
            (*memo.params)[0].dim1 = 3;  // three rows, two texts held
        API_Element element;
        std::memset(static_cast<void*>(&element), 0, sizeof element);
        element.header.guid = bar;
        {
            std::optional<SimHost::NotificationScope> scope;
            if (c.fault != Fault::OutsideScope)
                scope.emplace(host->undo);
            EXPECT_EQ(Slot<HostSlot::ChangeElement>(*host)(nullptr, &element, nullptr, &memo, APIMemoMask_AddPars, false),
                      c.answer);
        }
        if (c.fault == Fault::TextsShort) {
            (*memo.params)[0].dim1 = 2;
            ASSERT_EQ(host->recorder.faults.size(), 1u);
            EXPECT_NE(host->recorder.faults[0].what.find("do not fill"), std::string::npos);
            host->recorder.faults.clear();
        }
        SimHost::KillParamHandle(&memo.params);
        ExpectSameParams(host->model.Find(bar)->Object().params, *c.left);
    }
    EXPECT_TRUE(host->recorder.faults.empty());
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

}  // namespace MemoFaultsTests
