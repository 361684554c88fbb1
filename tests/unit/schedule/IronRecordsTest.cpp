// The records' equality rules and the deep copy of an individual record.
#include "tests/unit/schedule/ScheduleTestSupport.hpp"
#include <algorithm>
#include <cmath>
#include <limits>

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace IronRecordsTests {

const double NaN = std::numeric_limits<double>::quiet_NaN();

struct IronCase {
    const char* name;
    std::function<void(IronProperties& key, IronProperties& object)> change;
    bool equal;
};

TEST(IronPropertiesEqualTest, Rules)
{
    const IronCase cases[] = {
        {"identical", [](IronProperties&, IronProperties&) {}, true},
        {"qualities differ only in letter case", [](IronProperties&, IronProperties& o) { o.quality = "b500b"; }, true},
        {"qualities differ", [](IronProperties&, IronProperties& o) { o.quality = "B500A"; }, false},
        {"first extra value differs, no filter", [](IronProperties&, IronProperties& o) { o.ironExtraData = Rows({{7}}); }, true},
        {"first extra value differs, filter on the key",
         [](IronProperties& k, IronProperties& o) {
             k.filterLength = true;
             o.ironExtraData = Rows({{7}});
         },
         false},
        {"first extra value differs, filter on the object",
         [](IronProperties&, IronProperties& o) {
             o.filterLength = true;
             o.ironExtraData = Rows({{7}});
         },
         false},
        {"later extra values differ under the filter",
         [](IronProperties& k, IronProperties& o) {
             k.filterLength = true;
             k.ironExtraData = Rows({{0, 1}});
             o.ironExtraData = Rows({{0, 2}});
         },
         true},
        {"data differ beyond the key's count",
         [](IronProperties& k, IronProperties& o) {
             k.ironType = Rows({{0, 1, 2, 0}});
             o.ironType = Rows({{0, 1, 2, 0}});
             k.ironData = Rows({{12, 1, 5}});
             o.ironData = Rows({{12, 1, 9}});
         },
         true},
        {"data differ within the count", [](IronProperties&, IronProperties& o) { o.ironData = Rows({{12, 2, 1}}); }, false},
        {"fourth form value differs", [](IronProperties&, IronProperties& o) { o.ironType = Rows({{0, 1, 3, 1}}); }, false},
        {"form values beyond the fourth differ", [](IronProperties&, IronProperties& o) { o.ironType = Rows({{0, 1, 3, 0, 5}}); }, true},
        {"more form rows", [](IronProperties&, IronProperties& o) { o.ironType = Rows({{0, 1, 3, 0}, {0, 1, 3, 0}}); }, false},
        {"more data rows", [](IronProperties&, IronProperties& o) { o.ironData = Rows({{12, 1, 1}, {12, 1, 1}}); }, false},
        {"NaN in the data of both", [](IronProperties& k, IronProperties& o) { k.ironData = o.ironData = Rows({{NaN, 1, 1}}); }, false},
        {"0 and -0", [](IronProperties& k, IronProperties& o) {
             k.ironData = Rows({{0.0, 1, 1}});
             o.ironData = Rows({{-0.0, 1, 1}});
         },
         true},
        {"kind flags, boxes, listing and mirroring take no part",
         [](IronProperties&, IronProperties& o) {
             o.isBar = false;
             o.isConcrete = true;
             o.isListing = false;
             o.symbolBox[0] = 5;
             o.planBox[3] = 5;
             o.position[1] = 5;
             o.rotation = 1;
             o.mirrored = true;
             o.guid = GuidOf(99);
             o.listingColumns = Listing({{9, 9, 9, 9, 9}});
         },
         true},
        // Arrays that hold fewer values than the rules count on.
        {"key lacks the extra row the object has, under the filter",
         [](IronProperties& k, IronProperties& o) {
             o.filterLength = true;
             k.ironExtraData = Rows({});
         },
         false},
        {"object lacks an extra row the key has, under the filter",
         [](IronProperties& k, IronProperties&) {
             k.filterLength = true;
             k.ironExtraData = Rows({{0}, {4}});
         },
         true},
        {"data row shorter than the count on one side",
         [](IronProperties&, IronProperties& o) { o.ironData = Rows({{12, 1}}); },
         false},
        {"data rows shorter than the count on both sides",
         [](IronProperties& k, IronProperties& o) { k.ironData = o.ironData = Rows({{12, 1}}); },
         true},
        {"form row without its data count compares whole data rows",
         [](IronProperties& k, IronProperties& o) {
             k.ironType = o.ironType = Rows({{0, 1}});
             k.ironData = Rows({{12, 1, 1, 4}});
             o.ironData = Rows({{12, 1, 1, 5}});
         },
         false},
        {"form rows of different lengths", [](IronProperties&, IronProperties& o) { o.ironType = Rows({{0, 1, 3}}); }, false},
    };
    for (const IronCase& c : cases) {
        IronProperties key = Bar({12, 1, 1});
        IronProperties object = Bar({12, 1, 1});
        c.change(key, object);
        EXPECT_EQ(IronPropertiesEqual(key, object), c.equal) << c.name;
        if (IronPropertiesEqual(key, object)) {
            EXPECT_EQ(IronPropertiesHash(key), IronPropertiesHash(object)) << c.name << ": equal records hash alike";
        }
    }
}

TEST(IronPropertiesTest, CopyIsDeep)
{
    IronProperties original = Bar({12, 1, 1}, 3.0, "B500B");
    original.guid = GuidOf(7);
    original.symbolBox[5] = 2;
    IronProperties copy = original;
    original.ironData.At(0, 0) = 16;
    original.listingColumns.At(0, 0) = 9;
    original.quality = "X";
    EXPECT_EQ(copy.ironData.Get(0, 0), 12);
    EXPECT_EQ(copy.listingColumns.Get(0, 0), 1);
    EXPECT_EQ(copy.quality, "B500B");
    EXPECT_EQ(copy.guid, GuidOf(7));
    EXPECT_EQ(copy.symbolBox[5], 2);
    EXPECT_EQ(copy.ironExtraData.Get(0, 0), 3);
}

// Rows of every shape, short enough to stay inside the record or long
// enough for the heap, read back whichever way they were made, copied,
// moved and replaced by rows of the other kind.
TEST(RowArrayTest, ShortAndLongRows)
{
    const std::vector<std::vector<Row>> shapes = {
        {},
        {{12, 1}},
        {{0, 1, 2, 0}},                      // exactly fills the room inside
        {{0, 1, 2, 0, 5}},                   // one value more
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {{1}, {}, {2, 3}},
        {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}},
    };
    for (size_t s = 0; s < shapes.size(); ++s) {
        const std::vector<Row>& rows = shapes[s];
        const RowArray appended = Rows(rows);
        ASSERT_EQ(appended.RowCount(), static_cast<Int32>(rows.size())) << s;
        for (size_t r = 0; r < rows.size(); ++r) {
            ASSERT_EQ(appended.RowLength(static_cast<Int32>(r)), static_cast<Int32>(rows[r].size())) << s;
            for (size_t c = 0; c < rows[r].size(); ++c)
                EXPECT_EQ(appended.Get(static_cast<Int32>(r), static_cast<Int32>(c)), rows[r][c]) << s;
            EXPECT_FALSE(appended.Has(static_cast<Int32>(r), static_cast<Int32>(rows[r].size()))) << s;
        }
        // Rows of one length made in one step equal those appended.
        const bool even = !rows.empty() && std::all_of(rows.begin(), rows.end(), [&](const Row& row) { return row.size() == rows[0].size(); });
        if (even) {
            Row flat;
            for (const Row& row : rows)
                flat.insert(flat.end(), row.begin(), row.end());
            RowArray assigned;
            assigned.Assign(static_cast<Int32>(rows.size()), static_cast<Int32>(rows[0].size()), flat.data());
            EXPECT_EQ(assigned, appended) << s;
        }

        RowArray original = appended;
        const RowArray copy = original;
        if (!rows.empty() && !rows.back().empty())
            original.At(static_cast<Int32>(rows.size() - 1), 0) = -1;
        EXPECT_EQ(copy, appended) << s << ": the copy is its own";
        RowArray moved = std::move(original);
        EXPECT_EQ(moved.RowCount(), appended.RowCount()) << s;

        // Replaced by each other shape, the rows equal that shape's alone.
        for (const std::vector<Row>& other : shapes) {
            RowArray replaced = appended;
            replaced = Rows(other);
            EXPECT_EQ(replaced, Rows(other)) << s;
        }
    }
}

TEST(ListingColumnsTest, GrowsAndShrinksWithZeros)
{
    ListingColumns listing;
    listing.Resize(1);  // five values inside the record
    listing.At(0, 4) = 2;
    ListingColumns longer = listing;
    longer.Resize(3);   // fifteen on the heap
    for (Int32 r = 0; r < 3; ++r)
        for (Int32 c = 0; c < ListingColumns::ColumnCount; ++c)
            EXPECT_EQ(longer.Get(r, c), 0.0) << r << "," << c;
    longer.At(2, 3) = 7;
    ListingColumns copy = longer;
    longer.Resize(1);
    EXPECT_EQ(longer.RowCount(), 1);
    EXPECT_EQ(longer.Get(0, 4), 0.0);
    EXPECT_EQ(copy.Get(2, 3), 7.0);
    EXPECT_EQ(listing.Get(0, 4), 2.0);
    ListingColumns fresh;
    fresh.Resize(1);
    EXPECT_EQ(longer, fresh);
    copy.AddSums(copy);
    EXPECT_EQ(copy.Get(2, 3), 14.0);
}

// A crowning of two sub-bars, every array present.
std::unique_ptr<ComplexIronProperties> Crowning()
{
    auto c = std::make_unique<ComplexIronProperties>();
    c->count = 2;
    c->ironType.Set({0, 1, 3, 0, 0, 1, 2, 0});
    c->ironData.Set({12, 1, 1, 16, 2, 0});
    c->ironExtraData.Set(std::vector<double>(20, 0.5));
    c->ironPos.Set({0, 0, 0, 1, 1, 1});
    c->mirroredFlags.Set({0, 0});
    c->ironRotate.Set({0, 90});
    c->listingRows = 2;
    c->listingColumns = Listing({{1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}});
    c->ironIds.Set({"1", "2"});
    c->qualityTexts.Set({"B500B", "B500B"});
    return c;
}

struct ComplexCase {
    const char* name;
    std::function<void(ComplexIronProperties& key, ComplexIronProperties& object)> change;
    bool equal;
};

TEST(ComplexIronPropertiesEqualTest, Rules)
{
    const ComplexCase cases[] = {
        {"identical", [](ComplexIronProperties&, ComplexIronProperties&) {}, true},
        {"position off by 0.00001", [](ComplexIronProperties&, ComplexIronProperties& o) { o.ironPos.values[0] = 0.00001; }, true},
        {"position off by 0.00002", [](ComplexIronProperties&, ComplexIronProperties& o) { o.ironPos.values[0] = 0.00002; }, false},
        {"last form value of the last row", [](ComplexIronProperties&, ComplexIronProperties& o) { o.ironType.values[7] = 1; }, false},
        {"qualities absent on one side", [](ComplexIronProperties&, ComplexIronProperties& o) { o.qualityTexts = {}; }, false},
        {"qualities absent on both sides",
         [](ComplexIronProperties& k, ComplexIronProperties& o) { k.qualityTexts = o.qualityTexts = {}; }, true},
        {"qualities differ in letter case", [](ComplexIronProperties&, ComplexIronProperties& o) { o.qualityTexts.values[1] = "b500b"; },
         false},
        {"sub-bar IDs and listing values", [](ComplexIronProperties&, ComplexIronProperties& o) {
             o.ironIds.values[0] = "X";
             o.listingColumns.At(0, 0) = 9;
             o.isListing = true;
             o.guid = GuidOf(5);
         },
         true},
        {"counts differ", [](ComplexIronProperties&, ComplexIronProperties& o) { o.count = 1; }, false},
        {"mirrored flag", [](ComplexIronProperties&, ComplexIronProperties& o) { o.mirroredFlags.values[1] = 1; }, false},
        {"rotation", [](ComplexIronProperties&, ComplexIronProperties& o) { o.ironRotate.values[1] = 91; }, false},
        {"data within the largest count", [](ComplexIronProperties&, ComplexIronProperties& o) { o.ironData.values[5] = 1; }, false},
        {"extra value", [](ComplexIronProperties&, ComplexIronProperties& o) { o.ironExtraData.values[19] = 0; }, false},
        {"NaN position on both sides",
         [](ComplexIronProperties& k, ComplexIronProperties& o) { k.ironPos.values[0] = o.ironPos.values[0] = NaN; }, false},
        // Arrays that hold fewer values than the count implies.
        {"positions shorter on one side", [](ComplexIronProperties&, ComplexIronProperties& o) { o.ironPos.values.resize(3); }, false},
        {"positions equally short", [](ComplexIronProperties& k, ComplexIronProperties& o) {
             k.ironPos.values.resize(3);
             o.ironPos.values.resize(3);
         },
         true},
        {"huge data count", [](ComplexIronProperties& k, ComplexIronProperties& o) { k.ironType.values[2] = o.ironType.values[2] = 1e300; },
         true},
    };
    for (const ComplexCase& c : cases) {
        auto key = Crowning();
        auto object = Crowning();
        c.change(*key, *object);
        EXPECT_EQ(ComplexIronPropertiesEqual(*key, *object), c.equal) << c.name;
        if (ComplexIronPropertiesEqual(*key, *object)) {
            EXPECT_EQ(ComplexIronPropertiesHash(*key), ComplexIronPropertiesHash(*object)) << c.name;
        }
    }
}

}  // namespace IronRecordsTests
