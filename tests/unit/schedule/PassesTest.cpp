// The ID order, the joins of the reading and the passes over the groups.
#include "tests/unit/schedule/LiteralPasses.hpp"
#include "tests/unit/schedule/ScheduleTestSupport.hpp"
#include "addon/services/ResStrings.hpp"

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(CompareIdsTest, Pairs)
{
    struct Case {
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"9", "10", -1},       // no prefix: by value
        {"A2", "A10", -1},     // the same prefix: by value
        {"A2", "B1", -1},      // different prefixes: by bytes
        {"b", "A", 1},         // letters without case
        {"A1", "a1", 0},       // prefixes differ in case: bytes without case
        {"a01", "a1", 0},      // equal values
        {"A", "A1", -1},       // only one ends in a digit
        {"a10", "a1b", -1},    // the cycle a9 < a10 < a1b < a9
        {"a1b", "a9", -1},
        {"a9", "a10", -1},
        {"x99999999999999999999", "x100000000000000000000", -1},  // longer than any integer
        {"x4294967297", "x2", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Sign(CompareIds(c.a, c.b)), c.sign) << c.a << " vs " << c.b;
        EXPECT_EQ(Sign(CompareIds(c.b, c.a)), -c.sign) << c.b << " vs " << c.a;
    }
}

class PassTest : public FakeHostTest {
protected:
    IronArrayByProperty* Add(const std::string& id, IronProperties record = Bar({12, 1, 1}))
    {
        return AddGroup(run, std::move(record), ++records, id);
    }

    RunGroups run;
    PlacementManager manager;
    UInt32 records = 0;
};

TEST_F(PassTest, SortGroupsById)
{
    struct Case {
        std::vector<std::string> ids;
        std::vector<std::string> sorted;
    };
    const Case cases[] = {
        {{"A10", "A2", "B1", "10", "9"}, {"9", "10", "A2", "A10", "B1"}},
        {{"3", "1", "2", "1"}, {"1", "1", "2", "3"}},
        {{"a1b", "a10", "a9"}, {"a10", "a1b", "a9"}},  // no consistent order: as the exchanges leave it
        {{"a9", "a1b", "a10"}, {"a1b", "a9", "a10"}},
        {{"a9", "a10", "a1b"}, {"a9", "a10", "a1b"}},
        {{"b", "A1", "a2", "a1", "A"}, {"A", "A1", "a1", "a2", "b"}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        RunGroups fresh;
        for (size_t i = 0; i < c.ids.size(); ++i)
            AddGroup(fresh, Bar({12, 1, 1}), static_cast<UInt32>(i + 1), c.ids[i]);
        ASSERT_TRUE(SortGroupsById(manager, fresh.groups));
        EXPECT_EQ(Ids(fresh.groups), c.sorted);
    }
}

TEST_F(PassTest, MakeIdsUnique)
{
    struct Case {
        std::vector<std::string> ids;
        std::vector<std::string> unique;
    };
    const Case cases[] = {
        {{"3", "3"}, {"3", "1"}},
        {{"3", "1", "3", "3", "2", "1"}, {"3", "1", "4", "5", "2", "6"}},
        {{"01", "01", "A"}, {"01", "1", "A"}},  // numbers are compared as texts
        {{"0", "0", "0"}, {"0", "1", "2"}},
        {{"2", "999999999", "2", "999999999", "1"}, {"2", "999999999", "3", "4", "1"}},
        {{"x", "x", "1", "3", "x"}, {"x", "2", "1", "3", "4"}},
        // A number far beyond the group count and one with a leading zero
        // go by their texts beside the small numbers.
        {{"30", "30", "5", "05", "5"}, {"30", "1", "5", "05", "2"}},
        {{"100000", "7", "100000", "007", "7"}, {"100000", "7", "1", "007", "2"}},
    };
    for (const Case& c : cases) {
        RunGroups fresh;
        for (size_t i = 0; i < c.ids.size(); ++i)
            AddGroup(fresh, Bar({12, 1, 1}), static_cast<UInt32>(i + 1), c.ids[i]);
        ASSERT_TRUE(MakeIdsUnique(manager, fresh.groups));
        EXPECT_EQ(Ids(fresh.groups), c.unique);
        EXPECT_EQ(NextFreeId(fresh.groups), Literal::NextFreeId(fresh.groups));
    }
}

TEST_F(PassTest, CompressGroupsMergesEqualObjects)
{
    IronProperties bar = Bar({12, 1, 1});
    bar.listingColumns = Listing({{1, 10, 20, 3, 0.5}, {2, 10, 20, 4, 0.25}});
    IronProperties other = Bar({16, 1, 1});
    Add("4", bar);
    Add("5", other);
    Add("7", bar)->members.Push(run.Keep(std::make_unique<IronProperties>(bar)));
    ASSERT_TRUE(CompressGroups(manager, run.groups));
    ASSERT_EQ(run.groups.GetItemCount(), 2);
    EXPECT_EQ(Ids(run.groups), (std::vector<std::string>{"4", "5"}));
    EXPECT_EQ(run.groups[1]->members.GetItemCount(), 3);
    EXPECT_EQ(run.groups[1]->members[2]->guid, GuidOf(3));
    // Columns 0, 3 and 4 summed, 1 and 2 kept.
    EXPECT_EQ(run.groups[1]->Key().listingColumns, Listing({{2, 10, 20, 6, 1}, {4, 10, 20, 8, 0.5}}));
}

TEST_F(PassTest, RenumberGroups)
{
    IronProperties concrete = Bar({1, 1, 1});
    concrete.isBar = false;
    concrete.isConcrete = true;
    IronProperties stirrup = Bar({2, 1, 1});
    stirrup.isBar = false;
    stirrup.isStirrup = true;
    Add("A");
    Add("7", concrete);
    Add("0");
    Add("B", stirrup);
    ASSERT_TRUE(RenumberGroups(manager, run.groups));
    EXPECT_EQ(Ids(run.groups), (std::vector<std::string>{"1", "0", "2", "3"}));
}

TEST_F(PassTest, SortGroupsByProperties)
{
    Add("a", Bar({16, 1, 1}));
    Add("b", Bar({12, 1, 1}, 0.7));
    Add("c", Bar({12, 1, 1}, 0.2));
    Add("d", Bar({12, 1, 1.000001}, 0.1));  // within 1e-5: the extra value decides
    ASSERT_TRUE(SortGroupsByProperties(manager, run.groups));
    EXPECT_EQ(Ids(run.groups), (std::vector<std::string>{"d", "c", "b", "a"}));
}

// ---------------------------------------------------------------- joining

TEST_F(PassTest, JoinsFollowIdsAndEquality)
{
    IronGroupJoiner joiner(run, false);
    auto bar = [&](UInt32 n, bool listing = true) {
        auto r = std::make_unique<IronProperties>(Bar({12, 1, 1}));
        r->guid = GuidOf(n);
        r->isListing = listing;
        return r;
    };
    auto concrete = [&](UInt32 n) {
        auto r = bar(n);
        r->isBar = false;
        r->isConcrete = true;
        return r;
    };
    joiner.Join(bar(1), "A");
    joiner.Join(bar(2), "");
    joiner.Join(bar(3), "A");
    joiner.Join(bar(4, false), "A");  // adds nothing to the sums
    joiner.Join(concrete(5), "5");
    joiner.Join(concrete(6), "5");
    joiner.Join(concrete(7), "0");
    EXPECT_EQ(View(run.groups), (std::vector<GroupView>{{"A", {1, 3, 4}}, {"1", {2}}, {"0", {5, 7}}, {"0", {6}}}));
    EXPECT_EQ(run.groups[1]->Key().listingColumns, Listing({{2, 0.012, 2, 6, 1}}));
    EXPECT_EQ(run.groups[1]->members[3]->listingColumns, Listing({{1, 0.012, 2, 3, 0.5}})) << "members keep their values";
}

TEST_F(PassTest, SilentJoinsSumEveryMember)
{
    IronGroupJoiner joiner(run, true);
    for (UInt32 n = 1; n <= 2; ++n) {
        auto r = std::make_unique<IronProperties>(Bar({12, 1, 1}));
        r->isListing = false;
        joiner.Join(std::move(r), "A");
    }
    ASSERT_EQ(run.groups.GetItemCount(), 1);
    EXPECT_TRUE(run.groups[1]->Key().isListing);
    EXPECT_EQ(run.groups[1]->Key().listingColumns, Listing({{2, 0.012, 2, 6, 1}}));
}

TEST_F(PassTest, ComplexGroupsAreMergedOnlyOnASharedKey)
{
    ComplexGroupJoiner joiner(run, false);
    for (UInt32 n = 1; n <= 3; ++n) {
        auto r = std::make_unique<ComplexIronProperties>();
        r->guid = GuidOf(n);
        r->isListing = true;
        r->listingColumns = Listing({{1, 1, 1, 1, 1}});
        joiner.Join(std::move(r), n == 3 ? "K" : "");
    }
    EXPECT_EQ(View(run.complexGroups), (std::vector<GroupView>{{"1", {1}}, {"2", {2}}, {"K", {3}}}));
    ASSERT_TRUE(CompressComplexGroups(manager, run.complexGroups));
    EXPECT_EQ(View(run.complexGroups), (std::vector<GroupView>{{"1", {1}}, {"2", {2}}, {"K", {3}}})) << "equal keys of their own";

    // Two groups on one key record become one; the key's sums stay.
    auto* shared = new ComplexIronArrayByProperty;
    shared->key = run.complexGroups[1]->key;
    shared->id = "S";
    shared->members.Push(run.complexGroups[1]->key);
    run.complexGroups.Push(shared);
    ASSERT_TRUE(CompressComplexGroups(manager, run.complexGroups));
    EXPECT_EQ(View(run.complexGroups), (std::vector<GroupView>{{"1", {1, 1}}, {"2", {2}}, {"K", {3}}}));
    EXPECT_EQ(run.complexGroups[1]->key->listingColumns, Listing({{1, 1, 1, 1, 1}}));
}

// --------------------------------------------------------------- progress

struct PassCase {
    const char* name;
    std::function<bool(PlacementManager&, RunGroups&)> run;
    Int16 title;  // entry of the progress titles
};

const PassCase ProgressPasses[] = {
    {"MakeIdsUnique", [](PlacementManager& m, RunGroups& r) { return MakeIdsUnique(m, r.groups); }, 4},
    {"SortGroupsById", [](PlacementManager& m, RunGroups& r) { return SortGroupsById(m, r.groups); }, 5},
    {"CompressGroups", [](PlacementManager& m, RunGroups& r) { return CompressGroups(m, r.groups); }, 6},
    {"MakeComplexIdsUnique", [](PlacementManager& m, RunGroups& r) { return MakeComplexIdsUnique(m, r.complexGroups); },
     8},
    {"SortComplexGroupsById", [](PlacementManager& m, RunGroups& r) { return SortComplexGroupsById(m, r.complexGroups); },
     8},
    {"CompressComplexGroups", [](PlacementManager& m, RunGroups& r) { return CompressComplexGroups(m, r.complexGroups); },
     9},
};

// Three individual and three complex groups, two of them equal, IDs out of
// order and one twice.
void FillForProgress(RunGroups& run)
{
    AddGroup(run, Bar({12, 1, 1}), 1, "3");
    AddGroup(run, Bar({16, 1, 1}), 2, "3");
    AddGroup(run, Bar({12, 1, 1}), 3, "1");
    ComplexGroupJoiner joiner(run, false);
    for (const char* id : {"K3", "K3", "K1"}) {
        auto r = std::make_unique<ComplexIronProperties>();
        r->guid = GuidOf(static_cast<UInt32>(run.complexGroups.GetItemCount() + 10));
        r->count = run.complexGroups.GetItemCount();  // all different
        joiner.Join(std::move(r), id);
    }
}

TEST_F(PassTest, PassesShowTheirPhase)
{
    for (const PassCase& c : ProgressPasses) {
        host.log.clear();
        RunGroups fresh;
        FillForProgress(fresh);
        {
            ProgressWindowOwner window("Optimization", 10);
            manager.progress = &window;
            EXPECT_TRUE(c.run(manager, fresh)) << c.name;
        }
        ASSERT_GE(host.log.size(), 5u) << c.name;
        EXPECT_EQ(host.log[1], std::string("SPRP ") + GetResString(131, c.title) + " 3") << c.name;
        EXPECT_EQ(host.log[2], "SPRV 1") << c.name;
        EXPECT_EQ(host.log[3], "CANC") << c.name;
        EXPECT_EQ(host.Count("CPWD"), 1) << c.name << ": the window's own close";
    }
}

TEST_F(PassTest, CancelClosesTheWindowOnce)
{
    for (const PassCase& c : ProgressPasses) {
        host.log.clear();
        host.checks = 0;
        host.cancelAtCheck = 1;
        RunGroups fresh;
        FillForProgress(fresh);
        const std::vector<GroupView> individual = View(fresh.groups);
        const std::vector<GroupView> complex = View(fresh.complexGroups);
        {
            ProgressWindowOwner window("Optimization", 10);
            manager.progress = &window;
            EXPECT_FALSE(c.run(manager, fresh)) << c.name;
            EXPECT_EQ(host.log.back(), "CPWD") << c.name;
        }
        EXPECT_EQ(host.Count("CPWD"), 1) << c.name << ": closed by the pass, not again by its owner";
        EXPECT_EQ(View(fresh.groups), individual) << c.name;
        EXPECT_EQ(View(fresh.complexGroups), complex) << c.name;
    }
    host.cancelAtCheck = 0;
}

TEST_F(PassTest, SortingAListInOrderTakesOnePass)
{
    // In order pairwise, though the set has no consistent order: the first
    // pass exchanges nothing, so the sort asks once and leaves the list.
    for (const bool cancel : {false, true}) {
        host.log.clear();
        host.checks = 0;
        host.cancelAtCheck = cancel ? 1 : 0;
        RunGroups fresh;
        const std::vector<std::string> ids = {"1", "2", "a9", "a10", "a1b"};
        for (size_t i = 0; i < ids.size(); ++i)
            AddGroup(fresh, Bar({12, 1, 1}), static_cast<UInt32>(i + 1), ids[i]);
        {
            ProgressWindowOwner window("Optimization", 10);
            manager.progress = &window;
            EXPECT_EQ(SortGroupsById(manager, fresh.groups), !cancel);
        }
        EXPECT_EQ(Ids(fresh.groups), ids) << cancel;
        EXPECT_EQ(host.Count("SPRV 1"), 1) << cancel;
        EXPECT_EQ(host.Count("SPRV 2"), 0) << cancel;
        EXPECT_EQ(host.Count("CANC"), 1) << cancel;
        EXPECT_EQ(host.Count("CPWD"), 1) << cancel;
    }
    host.cancelAtCheck = 0;
}

TEST_F(PassTest, CancelWhileCompressingKeepsEveryMemberInOneGroup)
{
    for (UInt32 n = 1; n <= 4; ++n)
        Add(std::to_string(n));  // all equal: the first pass step takes the others
    host.cancelAtCheck = 2;
    ProgressWindowOwner window("Optimization", 10);
    manager.progress = &window;
    EXPECT_FALSE(CompressGroups(manager, run.groups));
    EXPECT_EQ(View(run.groups), (std::vector<GroupView>{{"1", {1, 2, 3, 4}}}));
}

TEST_F(PassTest, SilentPassesAskNothing)
{
    RunGroups fresh;
    FillForProgress(fresh);
    ProgressWindowOwner window("Optimization", 10);
    manager.progress = &window;
    manager.silent = true;
    host.cancelAtCheck = 1;
    for (const PassCase& c : ProgressPasses)
        EXPECT_TRUE(c.run(manager, fresh)) << c.name;
    EXPECT_TRUE(SortGroupsByProperties(manager, fresh.groups));
    EXPECT_TRUE(RenumberGroups(manager, fresh.groups));
    EXPECT_EQ(host.log, (std::vector<std::string>{"IPWD"}));
}

}  // namespace
