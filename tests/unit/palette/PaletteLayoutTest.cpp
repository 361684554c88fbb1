// The arrangement of the palette's entries for client areas of every kind,
// on a real palette object linked from the add-on's own code.
#include "addon/palette/paletta.hpp"
#include <gtest/gtest.h>

namespace {

enum class Labels { Beside, Below, None };

// What a client area gives: the grid, its cells and margins, and where the
// labels are. The entries then lie cell by cell: down the columns when
// there are fewer columns than rows, else along the rows.
struct LayoutCase {
    const char* name;
    Int16 width, height;
    Labels labels;
    Int16 columns, rows;
    Int16 cellWidth, cellHeight;
    Int16 marginX, marginY;
};

struct Cell {
    Int16 x, y;
};

Cell CellOf(const LayoutCase& c, Int16 index)
{
    if (c.columns < c.rows) {
        Int16 col = static_cast<Int16>(index / c.rows), row = static_cast<Int16>(index % c.rows);
        return {static_cast<Int16>(c.marginX + col * (c.cellWidth + 2)), static_cast<Int16>(row * (c.cellHeight + 2))};
    }
    Int16 row = static_cast<Int16>(index / c.columns), col = static_cast<Int16>(index % c.columns);
    return {static_cast<Int16>(col * (c.cellWidth + 2)), static_cast<Int16>(c.marginY + row * (c.cellHeight + 2))};
}

class PaletteLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PaletteLayoutTest, PlacesEveryEntry)
{
    const LayoutCase& c = GetParam();
    DirizizPaletta palette;
    palette.SetClientSize(c.width, c.height);
    Int32 redraws = palette.GetRedrawCount();
    palette.LayoutPalette();
    EXPECT_EQ(palette.GetRedrawCount(), redraws + 1);

    const auto& entries = palette.Entries();
    ASSERT_EQ(entries.size(), 8u);
    for (Int16 i = 0; i < 8; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const PaletteEntry& e = entries[static_cast<size_t>(i)];
        bool shown = i < c.columns * c.rows;
        EXPECT_EQ(e.Control().IsVisible(), shown);
        EXPECT_EQ(e.labelBeside->IsVisible(), shown && c.labels == Labels::Beside);
        EXPECT_EQ(e.labelBelow->IsVisible(), shown && c.labels == Labels::Below);
        if (!shown)
            continue;
        Cell cell = CellOf(c, i);
        if (c.labels == Labels::Below) {
            EXPECT_EQ(e.Control().GetPosition(), DG::Point(cell.x + 11, cell.y));
            EXPECT_EQ(e.labelBelow->GetPosition(), DG::Point(cell.x, cell.y + 31));
        } else {
            EXPECT_EQ(e.Control().GetPosition(), DG::Point(cell.x, cell.y));
        }
        if (c.labels == Labels::Beside) {
            EXPECT_EQ(e.labelBeside->GetPosition(), DG::Point(cell.x + 33, cell.y + 8));
            EXPECT_EQ(e.labelBeside->GetWidth(), c.cellWidth - 31);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    ClientAreas, PaletteLayoutTest,
    ::testing::Values(
        // The size at creation: one column of eight, cells 111 x 42, labels 80 wide.
        LayoutCase{"AtCreation111x350", 111, 350, Labels::Beside, 1, 8, 111, 42, 0, 6},
        // Four columns in two rows, filled along the rows from y = 6.
        LayoutCase{"Wide350x111", 350, 111, Labels::Beside, 4, 2, 86, 42, 0, 6},
        LayoutCase{"OneRow700x60", 700, 60, Labels::Beside, 8, 1, 85, 42, 0, 6},
        LayoutCase{"LabelsBelow111x200", 111, 200, Labels::Below, 2, 4, 54, 48, 1, 0},
        // Too narrow for labels beside a single column (below 43).
        LayoutCase{"Narrow40x350", 40, 350, Labels::None, 1, 8, 40, 42, 5, 6},
        // The margin comes from the cell before it is capped at 42.
        LayoutCase{"Square130x130", 130, 130, Labels::None, 2, 4, 42, 31, 6, 0},
        // The minimum: Crowning alone, at (0, 5).
        LayoutCase{"Minimum40x40", 40, 40, Labels::None, 1, 1, 30, 40, 0, 5},
        LayoutCase{"Large800x800", 800, 800, Labels::Beside, 1, 8, 137, 42, 0, 6},
        // Icons alone in one column with room beside them: labels after all,
        // across the whole client width.
        LayoutCase{"NarrowColumn60x300", 60, 300, Labels::Beside, 1, 8, 60, 35, 0, 2}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(PaletteLayoutSpotTest, KnownPositions)
{
    DirizizPaletta palette;
    palette.LayoutPalette();
    const auto& entries = palette.Entries();
    for (Int16 i = 0; i < 8; ++i)
        EXPECT_EQ(entries[static_cast<size_t>(i)].Control().GetPosition(), DG::Point(0, static_cast<Int16>(44 * i)));
    EXPECT_EQ(entries[0].labelBeside->GetWidth(), 80);

    palette.SetClientSize(40, 40);
    palette.LayoutPalette();
    EXPECT_EQ(entries[0].Control().GetPosition(), DG::Point(0, 5));
}

// Entries hidden by a smaller arrangement stay hidden in the labels-below
// look, which does not show controls; all reappear only when Crowning was
// hidden too.
TEST(PaletteLayoutHiddenTest, LabelsBelowKeepsEarlierHiddenEntries)
{
    DirizizPaletta palette;
    palette.SetClientSize(40, 40);
    palette.LayoutPalette();
    palette.SetClientSize(111, 200);
    palette.LayoutPalette();
    const auto& entries = palette.Entries();
    EXPECT_TRUE(entries[0].Control().IsVisible());
    for (size_t i = 1; i < 8; ++i) {
        EXPECT_FALSE(entries[i].Control().IsVisible()) << i;
        EXPECT_TRUE(entries[i].labelBelow->IsVisible()) << i;
    }

    // A client area without room for a single cell hides every entry.
    palette.SetClientSize(20, 20);
    palette.LayoutPalette();
    for (const PaletteEntry& e : entries)
        EXPECT_FALSE(e.Control().IsVisible());
    palette.SetClientSize(111, 200);
    palette.LayoutPalette();
    for (const PaletteEntry& e : entries)
        EXPECT_TRUE(e.Control().IsVisible());
}

}  // namespace
