// The palette's Cutting List in the stand-in host: results written back in
// one undoable step, the known list filled or a new one placed by a click,
// the messages, locked layers, cancels, and a fault sweep over each kind of
// run.
#include "tests/e2e/palette/PaletteFixture.hpp"
#include "tests/e2e/SweepInvariant.hpp"
#include <cstdio>
#include "platform/gs/CH.hpp"
#include "tests/support/GdlParams.hpp"

namespace {

using TestParams::Numbers;
using TestParams::Number;

bool Slovenian() { return HOST_VERSION == 25; }

std::string Text(const SimHost::Element& e, const char* name)
{
    const SimHost::GdlParam* p = SimHost::FindParam(e.Object().params, name);
    return p == nullptr ? "(none)" : GS::EncodeText(p->text, CC_UTF8);
}

double Number(const SimHost::Element& e, const char* name)
{
    const SimHost::GdlParam* p = SimHost::FindParam(e.Object().params, name);
    return p == nullptr ? -1 : p->number;
}

const char* Finished() { return Slovenian() ? "Optimizacija končana!" : "Optimalization finished!"; }

class CuttingListTest : public PaletteTest {
protected:
    void SetUp() override
    {
        PaletteTest::SetUp();
        ASSERT_TRUE(Start());
        OpenFromMenu();
    }

    // A straight bar of two segments; `kind` varies its lengths.
    API_Guid PlaceBar(int kind, Int32 layer = 1, SimHost::GdlParams extra = {})
    {
        SimHost::GdlParams params = {Numbers("ironType", 1, 4, {0, 1, 2, 0}),
                                     Numbers("ironData", 1, 2, {1.0 + kind, 0.5}),
                                     Numbers("ironExtraData", 1, 3, {0, 12, 1})};
        params.insert(params.end(), extra.begin(), extra.end());
        return host->PlaceObject("rf_rebar", params, layer).guid;
    }
    API_Guid PlaceList(Int32 layer = 1) { return host->PlaceObject("rf_list", {}, layer).guid; }

    void RunCuttingList()
    {
        host->user.ChangeSelection({});
        host->recorder.alerts.clear();
        ASSERT_TRUE(host->user.ClickPaletteEntry(CuttingList));
    }
    const SimHost::Element& Get(const API_Guid& guid) { return *host->model.Find(guid); }
};

TEST_F(CuttingListTest, KnownListIsFilledAndTheRunFinishes)
{
    const API_Guid a = PlaceBar(1);
    const API_Guid b = PlaceBar(2);
    const API_Guid a2 = PlaceBar(1);
    const API_Guid list = PlaceList();
    RunCuttingList();
    EXPECT_EQ(host->recorder.alerts, std::vector<std::string>{Finished()});
    EXPECT_EQ(Text(Get(a), "strIronID"), "1");
    EXPECT_EQ(Text(Get(a2), "strIronID"), "1");
    EXPECT_EQ(Text(Get(b), "strIronID"), "2");
    EXPECT_EQ(GS::EncodeText(Get(b).infoString, CC_UTF8), "2");
    EXPECT_EQ(Number(Get(list), "bDataInput"), 1);
    const SimHost::GdlParam* table = SimHost::FindParam(Get(list).Object().params, "tableContentTexts");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->dim1, 4) << "a header, two items and the total";
    EXPECT_EQ(GS::EncodeText(table->texts.at(8), CC_UTF8), "1");
    EXPECT_EQ(GS::EncodeText(table->texts.at(13), CC_UTF8), "2") << "two bars of the first kind";

    ASSERT_EQ(host->recorder.progressWindows.size(), 1u);
    const auto& window = host->recorder.progressWindows[0];
    EXPECT_EQ(window.phaseCount, 10);
    EXPECT_FALSE(window.open);
    ASSERT_EQ(window.phases.size(), 10u);
    EXPECT_EQ(window.phases[9].text, Slovenian() ? "Prepisovanje podatkov" : "Rewriting data");
}

TEST_F(CuttingListTest, NewListStandsAtTheClick)
{
    host->model.layers[3] = SimHost::Layer{"bars", false, false};
    const API_Guid bar = PlaceBar(1, 3);
    host->user.pointInputs.Give({{}, false, {10, 5, 0}});
    RunCuttingList();
    EXPECT_TRUE(host->recorder.alerts.empty()) << "no final message after a new list";
    EXPECT_EQ(Text(Get(bar), "strIronID"), "1");
    ASSERT_EQ(host->recorder.createdElements.size(), 1u);
    const SimHost::Element& list = Get(host->recorder.createdElements[0]);
    EXPECT_EQ(list.layer, 3);
    EXPECT_EQ(list.Object().pos.x, 10);
    EXPECT_EQ(list.Object().pos.y, 5);
    EXPECT_EQ(list.Object().angle, 0);
    EXPECT_EQ(Number(list, "bDataInput"), 1);
    const SimHost::GdlParam* table = SimHost::FindParam(list.Object().params, "tableContentTexts");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->dim1, 3);
    // The list's outline followed the cursor to the click.
    const SimHost::PointInputScript& input = host->user.pointInputs;
    ASSERT_EQ(input.lines.size(), 11u);
    EXPECT_EQ(input.lines[1].c2.x, 10.5);
    EXPECT_EQ(input.lines[1].c2.y, 4);
    EXPECT_EQ(input.lines[1].mode, 1);
    ASSERT_EQ(input.shown.size(), 1u);
    EXPECT_TRUE(input.shown[0].withFeedback);
    EXPECT_EQ(input.shown[0].prompt, Slovenian() ? "Kliknite, da postavite objekt seznama!" : "Click to place List object!");
}

TEST_F(CuttingListTest, PlacementCancelledPlacesNothing)
{
    const API_Guid bar = PlaceBar(1);
    RunCuttingList();
    EXPECT_TRUE(host->recorder.alerts.empty());
    EXPECT_TRUE(host->recorder.createdElements.empty());
    EXPECT_EQ(Text(Get(bar), "strIronID"), "1") << "the members stay written";
}

TEST_F(CuttingListTest, SectionWindowRefusesTheRun)
{
    PlaceBar(1);
    host->model.databaseType = APIWind_SectionID;
    RunCuttingList();
    ASSERT_EQ(host->recorder.alerts.size(), 1u);
    EXPECT_EQ(host->recorder.alerts[0],
              Slovenian() ? "Ta funkcija je na voljo samo v tlorisu ali v oknu detajla!"
                          : "This function is only available on floor plan or in detail window!");
    EXPECT_TRUE(host->recorder.changedElements.empty());
}

struct MessageCase {
    const char* name;
    SimHost::GdlParams extra;
    std::vector<std::string> alerts24;
    std::vector<std::string> alerts25;
    bool written;
};

class CuttingListMessageTest : public CuttingListTest, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(CuttingListMessageTest, ListMessages)
{
    const API_Guid bar = PlaceBar(1, 1, GetParam().extra);
    const API_Guid list = PlaceList();
    RunCuttingList();
    EXPECT_EQ(host->recorder.alerts, Slovenian() ? GetParam().alerts25 : GetParam().alerts24);
    EXPECT_EQ(Text(Get(bar), "strIronID"), "1") << "the members are written in every case";
    EXPECT_EQ(Number(Get(list), "bDataInput"), GetParam().written ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CuttingListMessageTest,
    ::testing::Values(
        MessageCase{"OnlyUnlistedObjects", {Number("bIsListing", 0)},
                    {"All visible (or chosen) elements are non-listable elements!"},
                    {"Vsi vidni (ali izbrani) elementi so elementi, ki jih ni mogoče uvrstiti v seznam!"}, false},
        MessageCase{"NoDataValues", {Numbers("ironType", 1, 4, {0, 1, 0, 0})},
                    // The list is not filled: the run is not called done.
                    {"Invalid rebar data!"}, {"Neveljavni podatki o palici!"}, false}),
    [](const ::testing::TestParamInfo<MessageCase>& info) { return std::string(info.param.name); });

// The only bar cannot be read: it is left alone, and the run says so once;
// it is not called non-listable, and the list is not filled.
TEST_F(CuttingListTest, OnlyBarUnreadableIsToldOnce)
{
    const API_Guid bar = PlaceBar(1);
    const API_Guid list = PlaceList();
    host->faultPlan.FailSlot(HostSlot::GetElement, APIERR_GENERAL, 1);
    RunCuttingList();
    std::string leftAlone = host->session.AddOnString(130, 75);
    leftAlone.replace(leftAlone.find("%d"), 2, "1");
    EXPECT_EQ(host->recorder.alerts, std::vector<std::string>{leftAlone});
    EXPECT_EQ(Text(Get(bar), "strIronID"), "");
    EXPECT_EQ(Number(Get(list), "bDataInput"), 0);
}

TEST_F(CuttingListTest, LockedLayerAnsweredYesIsLockedAgain)
{
    host->model.layers[2] = SimHost::Layer{"locked", false, true};
    const API_Guid bar = PlaceBar(1, 2);
    const API_Guid list = PlaceList(2);
    host->user.dialogButtons.push_back(1);
    RunCuttingList();
    EXPECT_EQ(host->recorder.alerts, std::vector<std::string>{Finished()});
    EXPECT_EQ(Text(Get(bar), "strIronID"), "1");
    EXPECT_EQ(Number(Get(list), "bDataInput"), 1);
    EXPECT_TRUE(host->model.layers[2].locked);
}

TEST_F(CuttingListTest, LockedLayerAnsweredNoChangesNothing)
{
    host->model.layers[2] = SimHost::Layer{"locked", false, true};
    const API_Guid bar = PlaceBar(1, 2);
    PlaceList(2);
    host->user.dialogButtons.push_back(2);
    RunCuttingList();
    EXPECT_TRUE(host->recorder.alerts.empty());
    EXPECT_EQ(Text(Get(bar), "strIronID"), "");
    EXPECT_TRUE(host->model.layers[2].locked);
}

// ------------------------------------------------------------ the sweep

void PrepareKnownList(SimHost::Host& host)
{
    host.session.StartAddOn();
    host.user.RunMenuCommand(32510, 1);
    host.PlaceObject("rf_rebar", {Numbers("ironType", 1, 4, {0, 1, 2, 0}), Numbers("ironData", 1, 2, {1, 2})});
    host.PlaceObject("rf_rebar", {Numbers("ironType", 1, 4, {0, 1, 2, 0}), Numbers("ironData", 1, 2, {3, 2})});
    host.PlaceObject("rf_list", {});
    host.user.ChangeSelection({});
}

void PrepareLockedLayer(SimHost::Host& host)
{
    host.session.StartAddOn();
    host.user.RunMenuCommand(32510, 1);
    host.model.layers[2] = SimHost::Layer{"locked", false, true};
    host.PlaceObject("rf_rebar", {Numbers("ironType", 1, 4, {0, 1, 2, 0}), Numbers("ironData", 1, 2, {1, 2})}, 2);
    host.PlaceObject("rf_list", {}, 2);
    host.user.ChangeSelection({});
    host.user.dialogButtons.push_back(1);
}

void ClickCuttingList(SimHost::Host& host)
{
    host.user.ClickPaletteEntry(CuttingList);
    EXPECT_TRUE(host.model.layers.count(2) == 0 || host.model.layers[2].locked)
        << "the locked layer is locked again\n" << host.recorder.CallLogText();
}

void PrepareNewList(SimHost::Host& host)
{
    host.session.StartAddOn();
    host.user.RunMenuCommand(32510, 1);
    host.PlaceObject("rf_rebar", {Numbers("ironType", 1, 4, {0, 1, 2, 0}), Numbers("ironData", 1, 2, {1, 2})});
    host.user.ChangeSelection({});
    host.user.pointInputs.Give({{}, false, {1, 2, 0}});
}

using SweepInvariant::SweepChecked;

const std::vector<std::string> FinishedTexts = {"Optimalization finished!", "Optimizacija končana!"};

TEST(CuttingListSweepTest, NewList) { SweepChecked("Cutting List, new list", PrepareNewList, ClickCuttingList, 2000, FinishedTexts); }
TEST(CuttingListSweepTest, KnownList)
{
    SweepChecked("Cutting List, known list", PrepareKnownList, ClickCuttingList, 2000, FinishedTexts);
}
TEST(CuttingListSweepTest, LockedLayerAnsweredYes)
{
    SweepChecked("Cutting List, locked layer", PrepareLockedLayer, ClickCuttingList, 2000, FinishedTexts);
}

}  // namespace
