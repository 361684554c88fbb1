// The complex object's parameters and its list, built from groups as the
// passes leave them, and the positions the sub-bars get.
#include "addon/complex/BuildComplex.hpp"
#include "addon/services/GdlParams.hpp"
#include "tests/unit/schedule/ScheduleTestSupport.hpp"
#include <cmath>
#include <gtest/gtest.h>

namespace {

class BuildComplexTest : public ::testing::Test {
protected:
    void SetUp() override { before = GS::LiveMemoryHandleCount(); }
    void TearDown() override
    {
        KillParams(params);
        EXPECT_EQ(GS::LiveMemoryHandleCount(), before);
    }

    // A member of a group (new groups get the next ID).
    IronProperties* Member(IronArrayByProperty* group, IronProperties record, UInt32 n)
    {
        record.guid = GuidOf(n);
        IronProperties* kept = run.Keep(std::make_unique<IronProperties>(record));
        group->members.Push(kept);
        return kept;
    }
    IronArrayByProperty* Group(const IronProperties& key, const std::string& id)
    {
        auto* group = new IronArrayByProperty(key, id);
        run.groups.Push(group);
        return group;
    }

    std::vector<double> Numbers(const char* name, Int32* rows = nullptr, Int32* columns = nullptr)
    {
        std::vector<double> values;
        GdlParams::ForEachNamed(params, name, [&](API_AddParType& rec) {
            if (rows != nullptr)
                *rows = rec.dim1;
            if (columns != nullptr)
                *columns = rec.dim2;
            for (Int32 r = 0; r < rec.dim1; ++r)
                for (Int32 c = 0; c < rec.dim2; ++c)
                    values.push_back(GdlParams::ArrayNumber(rec, r, c));
        });
        return values;
    }
    std::vector<std::string> Texts(const char* name)
    {
        std::vector<std::string> texts;
        GdlParams::ForEachNamed(params, name, [&](API_AddParType& rec) {
            for (Int32 r = 0; r < rec.dim1; ++r)
                texts.push_back(GdlParams::ArrayText(rec, r, 0).ToUtf8());
        });
        return texts;
    }

    // The parameters of the complex parts that the table rewrites, with
    // defaults that show whether they were rewritten.
    void ComplexDefaults()
    {
        params = ParamsBuilder()
                     .Text("strIronID", "")
                     .Numbers("ironType", 1, 4, {0, 0, 0, 0})
                     .Number("bApiGenerated", 0)
                     .Numbers("ironData", 1, 1, {0})
                     .Numbers("ironListingData", 1, 5, {7, 7, 7, 7, 7})
                     .Numbers("ironExtraData", 1, 1, {0})
                     .Numbers("ironPos", 1, 3, {0, 0, 0})
                     .Numbers("ironMinMax", 1, 6, {0, 0, 0, 0, 0, 0})
                     .Numbers("ironRotate", 1, 1, {0})
                     .Numbers("ironMirrored", 1, 1, {0})
                     .Texts("ironID", 1, 1, {""})
                     .Texts("IronQualityData", 1, 1, {""})
                     .Number("bShowSection", 1)
                     .Build();
    }

    static IronProperties Stirrup()
    {
        IronProperties s = Bar({0.3, 0.4, 0.3, 0.4}, 1.4, "B500A");
        s.isStirrup = true;
        s.isBar = false;
        return s;
    }

    RunGroups run;
    API_AddParType** params = nullptr;
    Int64 before = 0;
};

TEST_F(BuildComplexTest, BeamOfFourEqualBarsAndAStirrup)
{
    IronArrayByProperty* bars = Group(Bar({2.5}), "1");
    for (UInt32 n = 1; n <= 4; ++n)
        Member(bars, Bar({2.5}), n)->position[0] = n;
    IronArrayByProperty* stirrups = Group(Stirrup(), "2");
    Member(stirrups, Stirrup(), 5)->mirrored = true;
    ComplexDefaults();

    FillComplexObjectParams(BeamKind, "B1", run.groups, params);

    EXPECT_EQ(GdlParams::Text(*GdlParams::Record(params, 0)).ToUtf8(), "B1");
    EXPECT_EQ(Texts("ironID"), (std::vector<std::string>{"B1 - 1", "B1 - 1", "B1 - 1", "B1 - 1", "B1 - 2"}));
    EXPECT_EQ(Texts("IronQualityData"), (std::vector<std::string>{"B500B", "B500B", "B500B", "B500B", "B500A"}));
    Int32 rows = 0, columns = 0;
    EXPECT_EQ(Numbers("ironListingData", &rows, &columns).size(), 25u);
    EXPECT_EQ(rows, 5);
    EXPECT_EQ(columns, 5);
    // The bars declare one value, the stirrup four: m = 4, the bars' rows
    // padded with zeros.
    const std::vector<double> data = Numbers("ironData", &rows, &columns);
    EXPECT_EQ(columns, 4);
    EXPECT_EQ(std::vector<double>(data.begin(), data.begin() + 4), (std::vector<double>{2.5, 0, 0, 0}));
    EXPECT_EQ(std::vector<double>(data.begin() + 16, data.end()), (std::vector<double>{0.3, 0.4, 0.3, 0.4}));
    EXPECT_EQ(Numbers("ironMirrored"), (std::vector<double>{1, 1, 1, 1, -1}));
    EXPECT_EQ(Numbers("bApiGenerated").size(), 0u);  // a single value, not an array
    GdlParams::ForEachNamed(params, "bApiGenerated", [](API_AddParType& rec) { EXPECT_EQ(GdlParams::Number(rec), 1); });
    const std::vector<double> extra = Numbers("ironExtraData", &rows, &columns);
    EXPECT_EQ(columns, 10) << "extra data rows of fewer values are padded to ten";
    EXPECT_EQ(extra[0], 0);
    EXPECT_EQ(extra[40], 1.4);
}

TEST_F(BuildComplexTest, CrowningKeepsItsListingDefault)
{
    Member(Group(Stirrup(), "1"), Stirrup(), 1);
    ComplexDefaults();
    FillComplexObjectParams(CrowningKind, "K", run.groups, params);
    EXPECT_EQ(Numbers("ironListingData"), (std::vector<double>{7, 7, 7, 7, 7}));
}

TEST_F(BuildComplexTest, DataColumnsFollowTheLargestDeclaredCountNeverPastARow)
{
    IronProperties three = Bar({1, 2, 3});
    IronProperties five = Bar({1, 2, 3, 4, 5});
    // A foreign object declaring more values than its row holds, and one
    // with a form that is no number: neither reads past its row.
    IronProperties overstated = Bar({9});
    overstated.ironType = Rows({{0, 1, 1e12, 0}});
    IronProperties notANumber = Bar({8});
    notANumber.ironType = Rows({{0, 1, std::nan(""), 0}});
    Member(Group(three, "1"), three, 1);
    Member(Group(five, "2"), five, 2);
    Member(Group(overstated, "3"), overstated, 3);
    Member(Group(notANumber, "4"), notANumber, 4);
    ComplexDefaults();
    FillComplexObjectParams(ColumnKind, "C", run.groups, params);
    Int32 rows = 0, columns = 0;
    const std::vector<double> data = Numbers("ironData", &rows, &columns);
    EXPECT_EQ(rows, 4);
    EXPECT_EQ(columns, 5);
    EXPECT_EQ(data, (std::vector<double>{1, 2, 3, 0, 0, 1, 2, 3, 4, 5, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(BuildComplexTest, SubBarsOfSeveralRowsGiveTheirFirstRow)
{
    IronProperties twoRows = Bar({1});
    twoRows.ironType = Rows({{0, 1, 1, 0}, {0, 1, 2, 0}});
    twoRows.ironData = Rows({{1.5}, {2, 3}});
    Member(Group(twoRows, "1"), twoRows, 1);
    ComplexDefaults();
    FillComplexObjectParams(ColumnKind, "C", run.groups, params);
    Int32 rows = 0;
    EXPECT_EQ(Numbers("ironType", &rows), (std::vector<double>{0, 1, 1, 0}));
    EXPECT_EQ(Numbers("ironData"), (std::vector<double>{1.5}));
}

TEST_F(BuildComplexTest, ListHasARowPerGroupThatIsNoConcreteBlock)
{
    IronProperties concrete = Bar({0.5});
    concrete.isConcrete = true;
    concrete.isBar = false;
    Member(Group(concrete, "0"), concrete, 1);
    IronArrayByProperty* bars = Group(Bar({2.5}), "1");
    bars->OwnKey().listingColumns = Listing({{4, 0.012, 2.5, 10, 0.9}});
    for (UInt32 n = 2; n <= 5; ++n)
        Member(bars, Bar({2.5}), n);
    Member(Group(Stirrup(), "2"), Stirrup(), 6);
    params = ParamsBuilder()
                 .Texts("ironStringData", 1, 2, {"", ""})
                 .Numbers("ironType", 1, 4, {0, 0, 0, 0})
                 .Numbers("ironData", 1, 1, {0})
                 .Numbers("ironExtraData", 1, 1, {0})
                 .Numbers("ironListingData", 1, 5, {0, 0, 0, 0, 0})
                 .Number("ironListType", 0)
                 .Text("ironListName", "")
                 .Build();
    FillComplexListParams(ColumnKind, "C1", run.groups, params);
    std::vector<std::string> strings;
    GdlParams::ForEachNamed(params, "ironStringData", [&](API_AddParType& rec) {
        for (Int32 r = 0; r < rec.dim1; ++r)
            for (Int32 c = 0; c < rec.dim2; ++c)
                strings.push_back(GdlParams::ArrayText(rec, r, c).ToUtf8());
    });
    EXPECT_EQ(strings, (std::vector<std::string>{"C1 - 1", "B500B", "C1 - 2", "B500A"}));
    Int32 rows = 0;
    const std::vector<double> listing = Numbers("ironListingData", &rows);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(std::vector<double>(listing.begin(), listing.begin() + 5), (std::vector<double>{4, 0.012, 2.5, 10, 0.9}));
    GdlParams::ForEachNamed(params, "ironListType", [](API_AddParType& rec) { EXPECT_EQ(GdlParams::Number(rec), 13); });
    GdlParams::ForEachNamed(params, "ironListName", [](API_AddParType& rec) { EXPECT_EQ(GdlParams::Text(rec).ToUtf8(), "C1"); });
}

TEST_F(BuildComplexTest, PositionsAreNormalisedPerCoordinate)
{
    IronArrayByProperty* g = Group(Bar({1}), "1");
    IronProperties* a = Member(g, Bar({1}), 1);
    IronProperties* b = Member(g, Bar({1}), 2);
    IronProperties* c = Member(g, Bar({1}), 3);
    const double pa[3] = {5, 1, 3}, pb[3] = {2, 4, 7}, pc[3] = {6, 6, -1};
    std::copy(pa, pa + 3, a->position);
    std::copy(pb, pb + 3, b->position);
    std::copy(pc, pc + 3, c->position);
    const double box[6] = {1, 1, 1, 9, 9, 9};
    std::copy(box, box + 6, a->symbolBox);
    const double plan[4] = {3.5, 2.0, 8, 8};
    std::copy(plan, plan + 4, a->planBox);

    const ObjectCreator creator(BeamKind);
    NormalizeBarPositions(creator, run.groups);

    EXPECT_EQ(std::vector<double>(a->position, a->position + 3), (std::vector<double>{3, 0, 4}));
    EXPECT_EQ(std::vector<double>(b->position, b->position + 3), (std::vector<double>{0, 3, 8}));
    EXPECT_EQ(std::vector<double>(c->position, c->position + 3), (std::vector<double>{4, 5, 0}));
    EXPECT_EQ(std::vector<double>(a->symbolBox, a->symbolBox + 6), (std::vector<double>{-1, 0, 2, 7, 8, 10}));
    EXPECT_EQ(std::vector<double>(a->planBox, a->planBox + 4), (std::vector<double>{3.5, 2.0, 8, 8}));
}

TEST_F(BuildComplexTest, PlanOriginIsTheSmallestPlanCorner)
{
    IronArrayByProperty* g = Group(Bar({1}), "1");
    IronProperties* a = Member(g, Bar({1}), 1);
    IronProperties* b = Member(Group(Stirrup(), "2"), Stirrup(), 2);
    const double pa[4] = {3.5, 4, 9, 9}, pb[4] = {5, 2.0, 9, 9};
    std::copy(pa, pa + 4, a->planBox);
    std::copy(pb, pb + 4, b->planBox);
    const API_Coord origin = PlanOrigin(run.groups);
    EXPECT_EQ(origin.x, 3.5);
    EXPECT_EQ(origin.y, 2.0);
    EXPECT_EQ(SubBarCount(run.groups), 2);
}

}  // namespace
