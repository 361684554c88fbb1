// The add-on's joins and passes against the plain algorithms, on random
// records built to meet every rule that makes the fast paths delicate: IDs
// on which the ID order is not consistent, NaN values, the length filter on
// some records only, qualities in either letter case, concrete blocks and
// objects without an ID.
#include "tests/unit/schedule/LiteralPasses.hpp"
#include "tests/unit/schedule/ScheduleTestSupport.hpp"
#include <limits>
#include <random>

namespace {

class Random {
public:
    explicit Random(unsigned seed) : engine(seed) {}
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T> const T& Pick(const std::vector<T>& v) { return v[static_cast<size_t>(Below(static_cast<int>(v.size())))]; }

private:
    std::mt19937 engine;
};

const double NaN = std::numeric_limits<double>::quiet_NaN();

IronProperties RandomBar(Random& r, UInt32 n)
{
    IronProperties p;
    p.guid = GuidOf(n);
    p.isConcrete = r.Chance(10);
    p.isStirrup = !p.isConcrete && r.Chance(20);
    p.isBar = !p.isConcrete && !p.isStirrup;
    p.isListing = r.Chance(70);
    p.filterLength = r.Chance(20);
    const double count = r.Pick(std::vector<double>{1, 2, 3, 2.5});
    if (r.Chance(5))
        p.ironType = Rows({{0, 1}});  // no data count: whole rows compared
    else
        p.ironType = Rows({{r.Chance(90) ? 0.0 : 90.0, 1, count, 0}});
    Row data;
    const int length = 1 + r.Below(4);
    for (int c = 0; c < length; ++c)
        data.push_back(r.Chance(3) ? NaN : r.Pick(std::vector<double>{12, 16, 1, 0.0, -0.0}));
    p.ironData = r.Chance(5) ? Rows({data, data}) : Rows({data});
    std::vector<Row> extra;
    const int extraRows = r.Below(3);
    for (int e = 0; e < extraRows; ++e)
        extra.push_back(r.Chance(10) ? Row{} : Row{r.Pick(std::vector<double>{0.5, 1.5}), 9});
    p.ironExtraData = Rows(extra);
    p.listingColumns = Listing({{1.0 + r.Below(3), 0.012, 2, static_cast<double>(r.Below(5)), 0.25}});
    p.quality = r.Pick(std::vector<std::string>{"B500B", "b500b", "B500A", ""});
    return p;
}

// IDs among which the order is not consistent, objects without an ID and
// one-off numbers.
const std::vector<std::string> IdPool = {"", "", "", "1", "2", "10", "a9", "a10", "a1b", "A9", "a09", "x", "X", "3", "01", "7", "0"};
// IDs on which it is: numbers and letter prefixes.
const std::vector<std::string> ConsistentPool = {"", "", "1", "2", "10", "3", "A1", "A2", "A10", "B1", "C", "D7", "0"};

std::string RandomId(Random& r, const std::vector<std::string>& pool)
{
    return r.Chance(15) ? std::to_string(1 + r.Below(40)) : r.Pick(pool);
}

void ExpectSameGroups(const IronGroups& fast, const IronGroups& literal, const std::string& step)
{
    ASSERT_EQ(View(fast), View(literal)) << step;
    for (Int32 g = 1; g <= fast.GetItemCount(); ++g) {
        EXPECT_EQ(fast[g]->Key().listingColumns, literal[g]->Key().listingColumns) << step << " group " << g;
        EXPECT_EQ(fast[g]->Key().isListing, literal[g]->Key().isListing) << step << " group " << g;
    }
}

TEST(LiteralEquivalenceTest, CuttingListChainOnIndividualGroups)
{
    for (unsigned seed = 1; seed <= 60; ++seed) {
        Random r(seed);
        const std::vector<std::string>& pool = seed % 3 == 0 ? ConsistentPool : IdPool;
        const bool silent = seed % 4 == 0;
        const int records = 20 + r.Below(200);
        RunGroups fast, literal;
        {
            IronGroupJoiner joiner(fast, silent);
            for (int n = 1; n <= records; ++n) {
                const IronProperties record = RandomBar(r, static_cast<UInt32>(n));
                const std::string id = RandomId(r, pool);
                joiner.Join(std::make_unique<IronProperties>(record), id);
                Literal::Join(literal, std::make_unique<IronProperties>(record), id, silent);
            }
        }
        const std::string at = "seed " + std::to_string(seed) + ": ";
        ExpectSameGroups(fast.groups, literal.groups, at + "reading");
        PlacementManager manager;
        ASSERT_TRUE(MakeIdsUnique(manager, fast.groups));
        Literal::MakeIdsUnique(literal.groups);
        ExpectSameGroups(fast.groups, literal.groups, at + "unique IDs");
        ASSERT_TRUE(SortGroupsById(manager, fast.groups));
        Literal::SortById(literal.groups);
        ExpectSameGroups(fast.groups, literal.groups, at + "sorted");
        ASSERT_TRUE(CompressGroups(manager, fast.groups));
        Literal::CompressGroups(literal.groups);
        ExpectSameGroups(fast.groups, literal.groups, at + "compressed");
        ASSERT_TRUE(SortGroupsById(manager, fast.groups));
        Literal::SortById(literal.groups);
        ExpectSameGroups(fast.groups, literal.groups, at + "sorted again");
        ASSERT_TRUE(SortGroupsByProperties(manager, fast.groups));
        Literal::SortGroupsByProperties(literal.groups);
        ExpectSameGroups(fast.groups, literal.groups, at + "by properties");
    }
}

TEST(LiteralEquivalenceTest, SortingIdsWithoutGroups)
{
    // Sets of every kind: only numbers, prefixes in one letter case, both
    // cases, texts that continue a prefix with a digit.
    const std::vector<std::vector<std::string>> pools = {
        {"1", "2", "10", "9", "100", "01", "007"},
        {"A1", "A2", "A10", "B1", "B", "C3", "Ab", "A", "b2"},
        {"a1", "A1", "a2", "A10", "a10", "b"},
        {"a9", "a10", "a1b", "a1b2", "1", "1a", "12b3", "x"},
        {"", "-1", "+2", "a.1", "a/1", "a:1", "a_1", "Z"},
    };
    for (unsigned seed = 1; seed <= 200; ++seed) {
        Random r(seed);
        const std::vector<std::string>& pool = pools[seed % pools.size()];
        std::vector<std::string> ids;
        const int n = r.Below(40);
        for (int i = 0; i < n; ++i)
            ids.push_back(r.Chance(20) ? r.Pick(pool) + std::to_string(r.Below(30)) : r.Pick(pool));
        std::vector<const std::string*> pointers;
        for (const std::string& id : ids)
            pointers.push_back(&id);
        std::vector<Int32> order;
        ASSERT_TRUE(BubbleOrderByIds(pointers, order, [](Int32) { return true; }));
        std::vector<std::string> fast;
        for (Int32 i : order)
            fast.push_back(ids[static_cast<size_t>(i)]);
        // The plain bubble sort over every pass.
        std::vector<std::string> literal = ids;
        for (size_t b = 1; b <= literal.size(); ++b)
            for (size_t i = 1; i + b <= literal.size(); ++i)
                if (Literal::CompareIds(literal[i - 1], literal[i]) > 0)
                    std::swap(literal[i - 1], literal[i]);
        ASSERT_EQ(fast, literal) << "seed " << seed;
    }
}

std::unique_ptr<ComplexIronProperties> RandomComplex(Random& r, UInt32 n)
{
    auto c = std::make_unique<ComplexIronProperties>();
    c->guid = GuidOf(n);
    c->count = 1 + r.Below(2);
    c->ironPos.Set({r.Pick(std::vector<double>{0, 0.000004, 0.000008, NaN}), 0, 0, 0, 0, 0});
    c->ironType.Set({0, 1, 2, 0, 0, 1, 2, 0});
    c->ironData.Set({12, 1, 12, 1});
    if (r.Chance(70))
        c->qualityTexts.Set({r.Pick(std::vector<std::string>{"B500B", "b500b"}), "B500B"});
    c->mirroredFlags.Set({static_cast<UInt8>(r.Below(2)), 0});
    c->isListing = r.Chance(70);
    c->listingColumns = Listing({{1, 1, 1, static_cast<double>(r.Below(4)), 1}});
    return c;
}

TEST(LiteralEquivalenceTest, CuttingListChainOnComplexGroups)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        Random r(seed);
        RunGroups fast, literal;
        {
            ComplexGroupJoiner joiner(fast, false);
            const int records = 10 + r.Below(80);
            for (int n = 1; n <= records; ++n) {
                const std::string id = RandomId(r, IdPool);
                Random copy = r;  // the same record for both sides
                auto a = RandomComplex(r, static_cast<UInt32>(n));
                auto b = RandomComplex(copy, static_cast<UInt32>(n));
                joiner.Join(std::move(a), id);
                Literal::Join(literal, std::move(b), id, false);
            }
        }
        const std::string at = "seed " + std::to_string(seed) + ": ";
        ASSERT_EQ(View(fast.complexGroups), View(literal.complexGroups)) << at << "reading";
        PlacementManager manager;
        ASSERT_TRUE(MakeComplexIdsUnique(manager, fast.complexGroups));
        Literal::MakeIdsUnique(literal.complexGroups);
        ASSERT_EQ(View(fast.complexGroups), View(literal.complexGroups)) << at << "unique IDs";
        ASSERT_TRUE(SortComplexGroupsById(manager, fast.complexGroups));
        Literal::SortById(literal.complexGroups);
        ASSERT_EQ(View(fast.complexGroups), View(literal.complexGroups)) << at << "sorted";
        ASSERT_TRUE(CompressComplexGroups(manager, fast.complexGroups));
        Literal::CompressComplexGroups(literal.complexGroups);
        ASSERT_EQ(View(fast.complexGroups), View(literal.complexGroups)) << at << "compressed";
        for (Int32 g = 1; g <= fast.complexGroups.GetItemCount(); ++g)
            EXPECT_EQ(fast.complexGroups[g]->key->listingColumns, literal.complexGroups[g]->key->listingColumns) << at;
    }
}

}  // namespace
