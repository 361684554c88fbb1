// The entries' states: set by every selection change from the first
// selected item, and when the palette opens from the whole selection.
#include "tests/e2e/palette/PaletteFixture.hpp"

namespace {

const API_ElemTypeID Other = API_ColumnID;  // a host element the add-on has no command for

using EntryStatesTest = PaletteTest;

struct SelectionCase {
    const char* name;
    std::vector<API_ElemTypeID> selection;  // in selection order
    const char* enabled;                    // Crowning .. Export, '1' enabled
};

class SelectionChangeTest : public PaletteTest, public ::testing::WithParamInterface<SelectionCase> {};

// Every entry is set, whatever it was before: the test starts from the
// opposite states.
TEST_P(SelectionChangeTest, FirstItemSetsAllEntries)
{
    const SelectionCase& c = GetParam();
    ASSERT_TRUE(Start());
    OpenFromMenu();
    std::vector<API_Guid> guids;
    for (API_ElemTypeID type : c.selection)
        guids.push_back(Add(type));
    std::string opposite = c.enabled;
    for (char& ch : opposite)
        ch = ch == '1' ? '0' : '1';
    SetEnabled(opposite);
    host->user.ChangeSelection(guids);
    EXPECT_EQ(Enabled(), c.enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, SelectionChangeTest,
    ::testing::Values(SelectionCase{"Nothing", {}, "00000010"}, SelectionCase{"Object", {API_ObjectID}, "11100011"},
                      SelectionCase{"Slab", {API_SlabID}, "11110010"}, SelectionCase{"Wall", {API_WallID}, "11101010"},
                      SelectionCase{"Roof", {API_RoofID}, "11100110"}, SelectionCase{"OtherType", {Other}, "11100010"},
                      // Only the first item counts.
                      SelectionCase{"WallFirstThenSlab", {API_WallID, API_SlabID}, "11101010"},
                      SelectionCase{"ObjectFirstThenWall", {API_ObjectID, API_WallID}, "11100011"}),
    [](const ::testing::TestParamInfo<SelectionCase>& info) { return std::string(info.param.name); });

TEST_F(EntryStatesTest, SelectionChangeWithoutPaletteDoesNothing)
{
    ASSERT_TRUE(Start());
    host->user.ChangeSelection({Add(API_WallID)});
    host->session.selectionChangeHandler(nullptr);
    EXPECT_EQ(Count(host->recorder.requestLog, "NTOE"), 0u);
    EXPECT_TRUE(DG::UserInput::Palettes().empty());
}

TEST_F(EntryStatesTest, SelectionChangeWithoutItemCountsAsNothingSelected)
{
    ASSERT_TRUE(Start());
    OpenFromMenu();
    SetEnabled("11111101");
    EXPECT_EQ(host->session.selectionChangeHandler(nullptr), NoError);
    EXPECT_EQ(Enabled(), "00000010");
}

// An item whose type the host cannot tell enables only what any selection
// enables.
TEST_F(EntryStatesTest, SelectionChangeWithUntellableItem)
{
    ASSERT_TRUE(Start());
    OpenFromMenu();
    API_Guid wall = Add(API_WallID);
    host->faultPlan.FailRequest("NTOE", APIERR_BADID);
    host->user.ChangeSelection({wall});
    EXPECT_EQ(Enabled(), "11100010");
}

struct OpenCase {
    const char* name;
    std::vector<API_ElemTypeID> selection;
    const char* enabled;
};

class PaletteOpenedTest : public PaletteTest, public ::testing::WithParamInterface<OpenCase> {};

// On opening every selected item counts, and entries are only disabled:
// Crowning, Beam, Column and Export keep their states while something is
// selected.
TEST_P(PaletteOpenedTest, WholeSelectionOnlyDisables)
{
    const OpenCase& c = GetParam();
    ASSERT_TRUE(Start());
    std::vector<API_Guid> guids;
    for (API_ElemTypeID type : c.selection)
        guids.push_back(Add(type));
    host->model.Select(guids);
    OpenFromMenu();
    EXPECT_EQ(Enabled(), c.enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, PaletteOpenedTest,
    ::testing::Values(OpenCase{"Nothing", {}, "00000010"}, OpenCase{"WallAndSlab", {API_WallID, API_SlabID}, "11100001"},
                      OpenCase{"Walls", {API_WallID, API_WallID}, "11101001"},
                      OpenCase{"Slabs", {API_SlabID, API_SlabID}, "11110001"}, OpenCase{"Roof", {API_RoofID}, "11100101"},
                      OpenCase{"Objects", {API_ObjectID, API_ObjectID}, "11100011"},
                      OpenCase{"ObjectAndWall", {API_ObjectID, API_WallID}, "11100001"},
                      OpenCase{"OtherType", {Other}, "11100001"}),
    [](const ::testing::TestParamInfo<OpenCase>& info) { return std::string(info.param.name); });

// A selection the host cannot give, or items whose type it cannot tell.
TEST_F(EntryStatesTest, PaletteOpenedWhenTheHostFails)
{
    ASSERT_TRUE(Start());
    host->model.Select({Add(API_WallID)});
    host->faultPlan.FailSlot(HostSlot::GetSelection, APIERR_REFUSEDCMD, 1);
    OpenFromMenu();
    EXPECT_EQ(Enabled(), "00000010");

    host->user.SendPaletteMessage(APIPalMsg_ClosePalette);
    host->faultPlan.FailRequest("NTOE", APIERR_BADID);
    OpenFromMenu();
    EXPECT_EQ(Enabled(), "11100001") << "counted as a foreign element";
}

// The palette is laid out when it opens and after every resize.
TEST_F(EntryStatesTest, LaidOutOnOpeningAndResizing)
{
    ASSERT_TRUE(Start());
    OpenFromMenu();
    auto entries = Entries();
    EXPECT_EQ(entries[Export].control->GetPosition(), DG::Point(0, 308)) << "one column of cells 44 high";
    EXPECT_TRUE(entries[Export].labelBeside->IsVisible());
    EXPECT_FALSE(entries[Export].labelBelow->IsVisible());

    ASSERT_TRUE(host->user.ResizePalette(10, 10));
    EXPECT_EQ(Palette().GetClientWidth(), 40) << "no smaller than the minimum";
    EXPECT_TRUE(entries[Crowning].control->IsVisible());
    EXPECT_FALSE(entries[Beam].control->IsVisible());
    EXPECT_EQ(entries[Crowning].control->GetPosition(), DG::Point(0, 5));
}

}  // namespace
