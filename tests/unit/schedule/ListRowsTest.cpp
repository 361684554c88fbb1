// The rows a run gives the cutting-list object and the width of its data.
#include "addon/schedule/ListObject.hpp"
#include "tests/unit/schedule/ScheduleTestSupport.hpp"
#include <algorithm>
#include <cmath>

namespace {

IronProperties Stirrup()
{
    IronProperties p = Bar({1, 2, 3});
    p.isBar = false;
    p.isStirrup = true;
    return p;
}

// A complex key of sub-bars: ID (nullptr: absent), form, data count.
struct SubBar {
    const char* id;
    double form;
    double count;
};

ComplexIronProperties* AddComplex(RunGroups& run, const std::vector<SubBar>& bars, const std::string& groupId = "1")
{
    auto record = std::make_unique<ComplexIronProperties>();
    record->isListing = true;
    record->listingRows = static_cast<Int32>(bars.size());
    record->count = record->listingRows;
    std::vector<double> type, data, extra;
    std::vector<std::string> ids, qualities;
    bool allPresent = true;
    record->listingColumns.Resize(record->listingRows);
    for (size_t i = 0; i < bars.size(); ++i) {
        type.insert(type.end(), {bars[i].form, 1, bars[i].count, 0});
        allPresent = allPresent && bars[i].id != nullptr;
        ids.push_back(bars[i].id != nullptr ? bars[i].id : "");
        qualities.push_back("Q" + std::to_string(i));
        for (int c = 0; c < 10; ++c)
            extra.push_back(100.0 * static_cast<double>(i) + c);
        for (int c = 0; c < 5; ++c)
            record->listingColumns.At(static_cast<Int32>(i), c) = 10.0 * static_cast<double>(i + 1) + c;
    }
    // Every sub-bar has the widest row's values: row i holds 10i + 1, 10i + 2, ...
    Int32 m = 0;
    for (const SubBar& b : bars)
        m = std::max(m, DataValueCount(b.count));
    for (size_t i = 0; i < bars.size(); ++i)
        for (Int32 d = 0; d < m; ++d)
            data.push_back(10.0 * static_cast<double>(i) + d + 1);
    record->ironType.Set(type);
    record->ironData.Set(data);
    record->ironExtraData.Set(extra);
    // An absent ID is one the record's list does not reach: only a trailing
    // sub-bar can be without one here.
    if (!allPresent)
        ids.resize(static_cast<size_t>(std::find_if(bars.begin(), bars.end(), [](const SubBar& b) { return b.id == nullptr; }) - bars.begin()));
    record->ironIds.Set(ids);
    record->qualityTexts.Set(qualities);
    ComplexIronProperties* kept = run.Keep(std::move(record));
    auto* group = new ComplexIronArrayByProperty;
    group->key = kept;
    group->id = groupId;
    group->members.Push(kept);
    run.complexGroups.Push(group);
    return kept;
}

std::vector<std::string> RowIds(const ListRows& rows)
{
    std::vector<std::string> ids;
    for (size_t i = 0; i < rows.strings.size(); i += 2)
        ids.push_back(rows.strings[i]);
    return ids;
}

TEST(ListRowsTest, IndividualGroupsGiveRowsByKind)
{
    RunGroups run;
    IronProperties listed = Bar({1, 2, 3});
    listed.ironType = Rows({{0, 1, 3, 0}, {0, 2, 3, 0}, {0, 3, 3, 0}});
    listed.ironData = Rows({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    listed.ironExtraData = Rows({{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {11}, {21}});
    listed.listingColumns = Listing({{1, 0.012, 2, 2, 0.1}, {2, 0.012, 3, 6, 0.2}, {3, 0.012, 4, 12, 0.3}});
    AddGroup(run, listed, 1, "A");
    IronProperties unlisted = Bar({1});
    unlisted.isListing = false;
    AddGroup(run, unlisted, 2, "B");
    AddGroup(run, Stirrup(), 3, "C");
    IronProperties concrete = Bar({1});
    concrete.isBar = false;
    concrete.isConcrete = true;
    AddGroup(run, concrete, 4, "D");

    EXPECT_EQ(CountListRows(run.groups, &run.complexGroups), 4);
    const ListRows rows = BuildListRows(run.groups, &run.complexGroups);
    ASSERT_EQ(rows.rows, 4);
    EXPECT_EQ(RowIds(rows), (std::vector<std::string>{"A", "A", "A", "C"}));
    EXPECT_EQ(rows.strings[1], "B500B");
    EXPECT_EQ(rows.width, 3);
    EXPECT_EQ(rows.type, (std::vector<double>{0, 1, 3, 0, 0, 2, 3, 0, 0, 3, 3, 0, 0, 1, 3, 0}));
    EXPECT_EQ(rows.data, (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3}));
    ASSERT_EQ(rows.extra.size(), 40u);
    EXPECT_EQ(std::vector<double>(rows.extra.begin(), rows.extra.begin() + 10), (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    // A row of fewer than ten extra values is padded, never read past.
    EXPECT_EQ(std::vector<double>(rows.extra.begin() + 10, rows.extra.begin() + 20), (std::vector<double>{11, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(std::vector<double>(rows.listing.begin() + 5, rows.listing.begin() + 10), (std::vector<double>{2, 0.012, 3, 6, 0.2}));
}

TEST(ListRowsTest, ConcreteAndUnlistedGroupsGiveNone)
{
    RunGroups run;
    IronProperties concrete = Bar({1});
    concrete.isBar = false;
    concrete.isConcrete = true;
    AddGroup(run, concrete, 1, "1");
    IronProperties unlisted = Bar({1});
    unlisted.isListing = false;
    AddGroup(run, unlisted, 2, "2");
    EXPECT_EQ(CountListRows(run.groups, nullptr), 0);
    EXPECT_EQ(BuildListRows(run.groups, nullptr).width, 0);
}

struct RunCase {
    const char* name;
    std::vector<SubBar> bars;
    std::vector<std::string> rowIds;
};

class ComplexRunsTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(ComplexRunsTest, SubBarsFallIntoRuns)
{
    RunGroups run;
    AddComplex(run, GetParam().bars);
    EXPECT_EQ(CountListRows(run.groups, &run.complexGroups), static_cast<Int32>(GetParam().rowIds.size()));
    EXPECT_EQ(RowIds(BuildListRows(run.groups, &run.complexGroups)), GetParam().rowIds);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComplexRunsTest,
    ::testing::Values(RunCase{"PairsOfEqualIds", {{"A", 0, 2}, {"A", 0, 2}, {"B", 0, 2}, {"B", 0, 2}}, {"A", "B"}},
                      RunCase{"RunBegunByAnUnlistedSubBar", {{"A", 90, 2}, {"A", 0, 2}, {"B", 0, 2}}, {"B"}},
                      RunCase{"UnlistedSubBarBeginsItsRun", {{"A", 0, 2}, {"B", 90, 2}, {"B", 0, 2}, {"C", 0, 2}}, {"A", "C"}},
                      RunCase{"FormNear90IsUnlisted", {{"A", 90.000001, 2}, {"B", 90.1, 2}}, {"B"}},
                      RunCase{"AbsentIdsShowEmpty", {{"A", 0, 2}, {nullptr, 0, 2}}, {"A", ""}}),
    [](const ::testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

TEST(ListRowsTest, ARunSumsItsListedSubBars)
{
    RunGroups run;
    AddComplex(run, {{"A", 0, 2}, {"A", 0, 2}, {"B", 0, 2}, {"B", 0, 2}});
    const ListRows rows = BuildListRows(run.groups, &run.complexGroups);
    ASSERT_EQ(rows.rows, 2);
    // Listing rows of the sub-bars: 10+i*10 + column; columns 0, 3, 4 summed,
    // 1 and 2 from the run's last listed sub-bar.
    EXPECT_EQ(std::vector<double>(rows.listing.begin(), rows.listing.begin() + 5), (std::vector<double>{30, 21, 22, 36, 38}));
    EXPECT_EQ(std::vector<double>(rows.listing.begin() + 5, rows.listing.end()), (std::vector<double>{70, 41, 42, 76, 78}));
    // The row's other values are its first sub-bar's.
    EXPECT_EQ(rows.strings, (std::vector<std::string>{"A", "Q0", "B", "Q2"}));
    EXPECT_EQ(rows.extra[10], 200);
    EXPECT_EQ(std::vector<double>(rows.data.begin() + 2, rows.data.end()), (std::vector<double>{21, 22}));

    // An unlisted sub-bar in a run adds nothing.
    RunGroups other;
    AddComplex(other, {{"A", 0, 2}, {"A", 90, 2}});
    const ListRows one = BuildListRows(other.groups, &other.complexGroups);
    EXPECT_EQ(one.listing, (std::vector<double>{10, 10 + 1, 10 + 2, 13, 14}));
}

TEST(ListRowsTest, WidestRowDecidesAndShortRowsArePadded)
{
    RunGroups run;
    AddGroup(run, Bar({1, 2, 3}), 1, "1");
    AddGroup(run, Bar({1, 2, 3, 4, 5}), 2, "2");
    AddComplex(run, {{"K", 0, 4}});
    const ListRows rows = BuildListRows(run.groups, &run.complexGroups);
    ASSERT_EQ(rows.width, 5);
    EXPECT_EQ(rows.data, (std::vector<double>{1, 2, 3, 0, 0, 1, 2, 3, 4, 5, 1, 2, 3, 4, 0}));
}

TEST(ListRowsTest, DeclaredCountsThatAreNoCountGiveNoWidth)
{
    struct Case {
        double declared;
        Int32 count;
    } cases[] = {{0, 0}, {-3, 0}, {0.9, 0}, {2.9, 2}, {std::nan(""), 0}, {1e300, MaxListDataValues}};
    for (const Case& c : cases)
        EXPECT_EQ(DataValueCount(c.declared), c.count) << c.declared;

    // Every listed object declaring 0 values: rows, but no data width.
    RunGroups run;
    IronProperties empty = Bar({});
    AddGroup(run, empty, 1, "1");
    const ListRows rows = BuildListRows(run.groups, nullptr);
    EXPECT_EQ(rows.rows, 1);
    EXPECT_EQ(rows.width, 0);
}

TEST(ListRowsTest, KeyArraysShorterThanTheirRowsReadAsZero)
{
    RunGroups run;
    IronProperties bar = Bar({1, 2});
    bar.listingColumns = Listing({{1, 0.012, 2, 2, 0.1}, {2, 0.012, 3, 6, 0.2}});  // two rows, one of everything else
    AddGroup(run, bar, 1, "1");
    ComplexIronProperties* k = AddComplex(run, {{"A", 0, 3}, {"B", 0, 3}});
    k->ironData.values.resize(4);  // short of the second sub-bar's row
    k->ironExtraData.values.clear();
    const ListRows rows = BuildListRows(run.groups, &run.complexGroups);
    ASSERT_EQ(rows.rows, 4);
    ASSERT_EQ(rows.width, 3);
    EXPECT_EQ(rows.data, (std::vector<double>{1, 2, 0, 0, 0, 0, 1, 2, 3, 11, 0, 0}));
    EXPECT_EQ(rows.type.size(), 16u);
    EXPECT_EQ(rows.extra, std::vector<double>(40, 0.0));
}

}  // namespace
