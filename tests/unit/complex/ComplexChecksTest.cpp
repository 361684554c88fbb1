// The rules a selection must keep for each kind of complex element: the
// position each part must have, the records that count, and the totals.
#include "addon/complex/ComplexChecks.hpp"
#include "tests/unit/schedule/ScheduleTestSupport.hpp"
#include <gtest/gtest.h>

namespace {

bool Same(const std::optional<RSStringId>& a, const std::optional<RSStringId>& b)
{
    if (a.has_value() != b.has_value())
        return false;
    return !a.has_value() || (a->listId == b->listId && a->index == b->index);
}

std::string Describe(const std::optional<RSStringId>& m)
{
    return m.has_value() ? "130/" + std::to_string(m->index) : "none";
}

class ObjectParamsTest : public ::testing::Test {
protected:
    void SetUp() override { before = GS::LiveMemoryHandleCount(); }
    void TearDown() override
    {
        KillParams(params);
        EXPECT_EQ(GS::LiveMemoryHandleCount(), before);
    }
    std::optional<RSStringId> Check(ComplexElementKind kind, std::optional<LibraryPart> part)
    {
        return CheckObjectParams(kind, part, params, tally);
    }
    API_AddParType** params = nullptr;
    SelectionTally tally;
    Int64 before = 0;
};

TEST_F(ObjectParamsTest, PositionIsTestedByKindAndPartWithinATenth)
{
    using namespace ResStr::Messages;
    struct Case {
        ComplexElementKind kind;
        LibraryPart part;
        double position;
        std::optional<RSStringId> expected;
    };
    const Case cases[] = {
        {ColumnKind, LibraryPart::Rebar, 2.05, std::nullopt},
        {ColumnKind, LibraryPart::Rebar, 2.15, OnlyVerticalRebars},
        {ColumnKind, LibraryPart::Stirrup, 1, std::nullopt},
        {ColumnKind, LibraryPart::Stirrup, 2, StirrupHorizontal},
        {ColumnKind, LibraryPart::Concrete, 1, std::nullopt},
        {CrowningKind, LibraryPart::Rebar, 1, OnlyVerticalRebars},
        {CrowningKind, LibraryPart::Stirrup, 2, StirrupHorizontal},
        {CrowningKind, LibraryPart::Concrete, 1, OnlyVerticalConcrete},
        {CrowningKind, LibraryPart::Concrete, 2, std::nullopt},
        {BeamKind, LibraryPart::Rebar, 1, std::nullopt},
        {BeamKind, LibraryPart::Rebar, 2, OnlyHorizontalRebars},
        {BeamKind, LibraryPart::Stirrup, 1, StirrupVertical},
        {BeamKind, LibraryPart::Stirrup, 1.95, std::nullopt},
        {BeamKind, LibraryPart::Concrete, 1, std::nullopt},
    };
    for (const Case& c : cases) {
        KillParams(params);
        params = ParamsBuilder().Number("iPosition", c.position).Build();
        const std::optional<RSStringId> got = Check(c.kind, c.part);
        EXPECT_TRUE(Same(got, c.expected)) << "kind " << c.kind << " part " << static_cast<int>(c.part) << " position "
                                           << c.position << ": " << Describe(got);
    }
}

TEST_F(ObjectParamsTest, ForeignPartIsRefusedEvenWithoutRecords)
{
    EXPECT_TRUE(Same(Check(BeamKind, std::nullopt), ResStr::Messages::OnlyBarsStirrupsConcrete));
    params = ParamsBuilder().Number("iPosition", 1).Build();
    EXPECT_TRUE(Same(Check(BeamKind, std::nullopt), ResStr::Messages::OnlyBarsStirrupsConcrete));
}

TEST_F(ObjectParamsTest, SingularAndPolygonalRecordsAreCounted)
{
    // Every bOnlyOneBar record counts, for any of the three parts; a
    // crowning's rebar of another form than 1 is polygonal.
    params = ParamsBuilder()
                 .Number("bOnlyOneBar", 1)
                 .Number("bOnlyOneBar", 0.000001)
                 .Numbers("ironType", 1, 4, {0, 2, 3, 0})
                 .Number("iPosition", 2)
                 .Build();
    EXPECT_FALSE(Check(CrowningKind, LibraryPart::Rebar).has_value());
    EXPECT_EQ(tally.singular, 1);
    EXPECT_TRUE(tally.polygonal);

    SelectionTally other;
    EXPECT_FALSE(CheckObjectParams(ColumnKind, LibraryPart::Rebar, params, other).has_value());
    EXPECT_FALSE(other.polygonal) << "only crownings refuse polygonal rebars";
    SelectionTally stirrup;
    KillParams(params);
    params = ParamsBuilder().Number("bOnlyOneBar", 1).Numbers("ironType", 1, 4, {0, 2, 3, 0}).Build();
    EXPECT_FALSE(CheckObjectParams(CrowningKind, LibraryPart::Stirrup, params, stirrup).has_value());
    EXPECT_EQ(stirrup.singular, 1);
    EXPECT_FALSE(stirrup.polygonal) << "only rebars can be polygonal";
}

TEST_F(ObjectParamsTest, PositionThatIsNoNumberIsRefused)
{
    params = ParamsBuilder().Text("iPosition", "2").Build();
    EXPECT_TRUE(Same(Check(ColumnKind, LibraryPart::Rebar), ResStr::Messages::OnlyVerticalRebars));
}

TEST(ComplexTotalsTest, TotalsInTheirOrder)
{
    using namespace ResStr::Messages;
    struct Case {
        ComplexElementKind kind;
        SelectionTally tally;
        std::optional<RSStringId> expected;
    };
    const Case cases[] = {
        // nothing selected: the counts alone decide
        {BeamKind, {0, 0, 0, 0, false}, SelectRebarsAndStirrup},
        {ColumnKind, {0, 0, 0, 0, false}, SelectRebarsAndStirrup},
        {CrowningKind, {0, 0, 0, 0, false}, SelectRebarOrStirrup},
        // four singular rebars and a stirrup
        {BeamKind, {5, 4, 1, 4, false}, std::nullopt},
        {BeamKind, {4, 3, 1, 3, false}, SelectRebarsAndStirrup},
        {BeamKind, {6, 5, 1, 4, false}, OnlySingularRebars},
        {BeamKind, {4, 4, 0, 4, false}, SelectRebarsAndStirrup},
        // polygonal before singular
        {CrowningKind, {2, 1, 0, 0, true}, NoPolygonalCrownRebars},
        // a crowning of one stirrup, with no singular flag anywhere
        {CrowningKind, {1, 0, 1, 0, false}, std::nullopt},
        {CrowningKind, {1, 0, 1, 1, false}, OnlySingularRebars},
        // walls only: items but nothing counted
        {CrowningKind, {3, 0, 0, 0, false}, SelectRebarOrStirrup},
    };
    for (const Case& c : cases) {
        const std::optional<RSStringId> got = CheckTotals(c.kind, c.tally);
        EXPECT_TRUE(Same(got, c.expected)) << "kind " << c.kind << " rebars " << c.tally.rebars << " stirrups "
                                           << c.tally.stirrups << ": " << Describe(got);
    }
}

}  // namespace
