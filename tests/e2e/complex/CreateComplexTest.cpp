// The create commands played from the palette's push menus in the stand-in
// host: the user names the element in dialog 32511, clicks its insertion
// point while the kind's outline follows the cursor, and then the list's.
// What the run leaves: the renumbered bars, the complex object, its detail
// drawing with linked copies, the list, the undo steps; and a fault sweep
// over a beam with its list and over a crowning.
#include "tests/e2e/palette/PaletteFixture.hpp"
#include "tests/e2e/SweepInvariant.hpp"
#include "tests/e2e/ModelText.hpp"
#include <cstdio>
#include "platform/gs/CH.hpp"
#include "simhost/scenario/PlanSvg.hpp"
#include <cstring>
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

std::vector<std::string> Texts(const SimHost::Element& e, const char* name)
{
    std::vector<std::string> out;
    if (const SimHost::GdlParam* p = SimHost::FindParam(e.Object().params, name))
        for (const std::u16string& t : p->texts)
            out.push_back(GS::EncodeText(t, CC_UTF8));
    return out;
}

const SimHost::GdlParam* Param(const SimHost::Element& e, const char* name)
{
    return SimHost::FindParam(e.Object().params, name);
}

// A stirrup of four legs, unlike the straight bars.
SimHost::GdlParams StirrupParams(double position)
{
    return {Number("iPosition", position), Numbers("ironType", 1, 4, {0, 1, 4, 0}),
            Numbers("ironData", 1, 4, {0.3, 0.4, 0.3, 0.4})};
}

SimHost::DialogAnswer IdAnswer(const char* id, Int32 layer, bool withList)
{
    SimHost::DialogAnswer answer;
    answer.dialog = 32511;
    DG::UserInput::DialogAction text;
    text.kind = DG::UserInput::DialogAction::Kind::SetText;
    text.item = 4;
    text.text = GS::UniString(id, CC_UTF8);
    DG::UserInput::DialogAction chooser;
    chooser.kind = DG::UserInput::DialogAction::Kind::SetValue;
    chooser.item = 6;
    chooser.value = layer;
    DG::UserInput::DialogAction check;
    check.kind = DG::UserInput::DialogAction::Kind::SetValue;
    check.item = 7;
    check.value = withList ? 1 : 0;
    DG::UserInput::DialogAction ok;
    ok.kind = DG::UserInput::DialogAction::Kind::Click;
    ok.item = 1;
    answer.actions = {text, chooser, check, ok};
    return answer;
}

std::string KindName(Entry entry)
{
    switch (entry) {
    case Crowning:
        return Slovenian() ? "venec" : "crowning";
    case Column:
        return Slovenian() ? "steber" : "column";
    default:
        break;
    }
    return Slovenian() ? "nosilec" : "beam";
}

// Four equal singular rebars (their library defaults) and a stirrup, on
// `layer`, the smallest plan corner at (3.5, 2.0).
std::vector<API_Guid> PlaceBeamBars(SimHost::Host& host, Int32 layer)
{
    std::vector<API_Guid> bars;
    const API_Coord at[] = {{3.5, 2.0}, {3.5, 2.3}, {3.8, 2.0}, {3.8, 2.3}};
    for (const API_Coord& c : at) {
        SimHost::Element& e = host.PlaceObject("rf_rebar", {}, layer);
        e.Object().pos = c;
        bars.push_back(e.guid);
    }
    SimHost::Element& s = host.PlaceObject("rf_stirrup", StirrupParams(2), layer);
    s.Object().pos = {3.6, 2.1};
    bars.push_back(s.guid);
    return bars;
}

class CreateComplexTest : public PaletteTest {
protected:
    void SetUp() override
    {
        PaletteTest::SetUp();
        ASSERT_TRUE(Start());
        OpenFromMenu();
        host->model.layers[3] = SimHost::Layer{"Beams", false, false};
    }

    void Create(Entry entry)
    {
        host->recorder.alerts.clear();
        ASSERT_TRUE(host->user.ChoosePaletteItem(entry, 1));
    }
    void Click(double x, double y) { host->user.pointInputs.Give({{{x - 1, y - 1, 0}}, false, {x, y, 0}}); }
    void CancelClick() { host->user.pointInputs.Give({{}, true, {0, 0, 0}}); }

    const SimHost::Element& Get(const API_Guid& guid) { return *host->model.Find(guid); }
    // The created objects of a part, in creation order.
    std::vector<const SimHost::Element*> CreatedOf(const char* part)
    {
        std::vector<const SimHost::Element*> out;
        const Int32 index = host->libraries.IndexOfPart(part);
        for (const API_Guid& g : host->recorder.createdElements) {
            const SimHost::Element* e = host->model.Find(g);
            if (e != nullptr && e->As<SimHost::ObjectPart>() != nullptr && e->Object().libInd == index)
                out.push_back(e);
        }
        return out;
    }
    std::vector<std::string> UndoNames() const
    {
        std::vector<std::string> names;
        for (const SimHost::UndoStep& s : host->undo.steps)
            names.push_back(s.name);
        return names;
    }
};

TEST_F(CreateComplexTest, BeamB1WithItsListAndDetailDrawing)
{
    const std::vector<API_Guid> bars = PlaceBeamBars(*host, 3);
    host->user.ChangeSelection(bars);
    host->user.dialogAnswers.push_back(IdAnswer("B1", 3, true));
    Click(10, 5);
    Click(14, 6);
    Create(Beam);
    EXPECT_TRUE(host->recorder.alerts.empty()) << host->recorder.CallLogText();

    // The two clicks: the beam's outline, then the list's.
    const auto& shown = host->user.pointInputs.shown;
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].prompt, Slovenian() ? "Kliknite, da postavite nov objekt!" : "Click to place the new object!");
    EXPECT_EQ(shown[1].prompt,
              Slovenian() ? "Kliknite, da postavite objekt seznama!" : "Click to place List object!");
    ASSERT_FALSE(shown[0].stops.empty());
    const SimHost::CursorStop& beamClick = shown[0].stops.back();
    ASSERT_EQ(beamClick.lines.size(), 4u);
    EXPECT_EQ(beamClick.lines[1].c1.y, 5.5);
    EXPECT_EQ(beamClick.lines[1].c2.x, 12);
    EXPECT_EQ(shown[1].stops.back().lines.size(), 11u);

    // The bars: the stirrup's group, sorted first, and one group of four.
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Text(Get(bars[i]), "strIronID"), "B1 - 2");
        EXPECT_EQ(GS::EncodeText(Get(bars[i]).infoString, CC_UTF8), "2");
    }
    EXPECT_EQ(Text(Get(bars[4]), "strIronID"), "B1 - 1");

    const std::vector<const SimHost::Element*> beams = CreatedOf("rf_beam");
    ASSERT_EQ(beams.size(), 1u);
    const SimHost::Element& beam = *beams[0];
    EXPECT_EQ(beam.layer, 3);
    EXPECT_EQ(beam.Object().pos.x, 10);
    EXPECT_EQ(beam.Object().pos.y, 5);
    EXPECT_EQ(beam.Object().angle, 0);
    EXPECT_EQ(GS::EncodeText(beam.infoString, CC_UTF8), "B1");
    EXPECT_EQ(Texts(beam, "ironID"), (std::vector<std::string>{"B1 - 1", "B1 - 2", "B1 - 2", "B1 - 2", "B1 - 2"}));
    ASSERT_NE(Param(beam, "ironListingData"), nullptr);
    EXPECT_EQ(Param(beam, "ironListingData")->dim1, 5);
    EXPECT_EQ(Param(beam, "ironListingData")->dim2, 5);

    // The detail drawing holds a copy of each bar, moved to its origin,
    // outside any group, and the window shows the floor plan again.
    ASSERT_EQ(host->model.databases.details.size(), 1u);
    const SimHost::DetailDrawing& detail = host->model.databases.details[0];
    EXPECT_EQ(GS::EncodeText(detail.name, CC_UTF8), "B1 " + KindName(Beam));
    EXPECT_EQ(GS::EncodeText(detail.ref, CC_UTF8), "B1");
    EXPECT_EQ(host->model.currentDatabase, APINULLGuid);
    EXPECT_NE(SimHost::PlanSvg(host->model).find("<title>detail 1 B1 " + KindName(Beam) + "</title>"), std::string::npos)
        << "the plan picture draws the drawing beside the plan";
    for (const API_Guid& guid : bars) {
        const SimHost::Element& bar = Get(guid);
        ASSERT_TRUE(bar.userData.has_value());
        EXPECT_EQ(bar.userData->version, 256);
        EXPECT_EQ(bar.userData->platformSign, 0x5757);
        ASSERT_EQ(bar.userData->bytes.size(), 48u);
        API_Guid link[3];
        std::memcpy(link, bar.userData->bytes.data(), 48);
        EXPECT_EQ(link[0], guid);
        EXPECT_EQ(link[2], detail.id);
        const SimHost::Element* copy = host->model.Find(link[1]);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->database, detail.id);
        EXPECT_EQ(copy->groupGuid, APINULLGuid);
        EXPECT_NEAR(copy->Object().pos.x, bar.Object().pos.x - 3.5, 1e-9);
        EXPECT_NEAR(copy->Object().pos.y, bar.Object().pos.y - 2.0, 1e-9);
        EXPECT_EQ(Text(*copy, "strIronID"), Text(bar, "strIronID"));
        ASSERT_TRUE(copy->userData.has_value());
        EXPECT_EQ(copy->userData->bytes, bar.userData->bytes);
    }

    const std::vector<const SimHost::Element*> lists = CreatedOf("rf_list");
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0]->layer, 3);
    EXPECT_EQ(lists[0]->Object().pos.x, 14);
    EXPECT_EQ(Texts(*lists[0], "ironStringData"), (std::vector<std::string>{"B1 - 1", "B500B", "B1 - 2", "B500B"}));
    EXPECT_EQ(Text(*lists[0], "ironListName"), "B1");

    // One step for the whole element: bars' IDs, element, copies and list
    // are undone together, and a part that fails takes the others back.
    const std::string step = Slovenian() ? "[zolva] Armatura" : "[zolva] Reinforcement";
    const std::string kindStep = step + " " + KindName(Beam);
    EXPECT_EQ(UndoNames(), (std::vector<std::string>{kindStep}));
}

// Each kind's outline follows the cursor and stands at the click; a crowning
// never gets a list and keeps its listing data as its part defines them.
TEST_F(CreateComplexTest, EachKindHasItsOutlineAndACrowningNoList)
{
    struct Case {
        Entry entry;
        const char* part;
        USize lines;
    };
    const Case cases[] = {{Crowning, "rf_crowning", 13}, {Column, "rf_column", 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.part);
        std::vector<API_Guid> sel;
        for (int i = 0; i < 4; ++i)
            sel.push_back(host->PlaceObject("rf_rebar", {Number("iPosition", 2)}).guid);
        sel.push_back(host->PlaceObject("rf_stirrup", StirrupParams(1)).guid);
        host->user.ChangeSelection(sel);
        const USize before = host->user.pointInputs.shown.size();
        host->user.dialogAnswers.push_back(IdAnswer(c.part, 1, true));
        Click(1, 1);
        if (c.entry != Crowning)
            CancelClick();  // the list's click
        Create(c.entry);
        EXPECT_TRUE(host->recorder.alerts.empty());
        const auto& shown = host->user.pointInputs.shown;
        ASSERT_EQ(shown.size(), before + (c.entry == Crowning ? 1 : 2)) << "a crowning asks for no list";
        EXPECT_EQ(shown[before].stops.back().lines.size(), c.lines);
        const std::vector<const SimHost::Element*> made = CreatedOf(c.part);
        ASSERT_EQ(made.size(), 1u);
        if (c.entry == Crowning) {
            const SimHost::GdlParam* listing = Param(*made[0], "ironListingData");
            ASSERT_NE(listing, nullptr);
            EXPECT_EQ(listing->dim1, 1) << "the part's default";
        }
    }
    EXPECT_TRUE(CreatedOf("rf_list").empty());
}

// A locked layer chosen for the element: the element and its list stand on
// it, and it is locked again afterwards. A cancelled list click keeps the
// element, its detail drawing and the bars' new IDs.
TEST_F(CreateComplexTest, LockedLayerAndCancelledListClick)
{
    host->model.layers[4] = SimHost::Layer{"Locked", false, true};
    std::vector<API_Guid> bars = PlaceBeamBars(*host, 3);
    host->user.ChangeSelection(bars);
    host->user.dialogAnswers.push_back(IdAnswer("L1", 4, true));
    Click(1, 1);
    Click(2, 2);
    Create(Beam);
    EXPECT_TRUE(host->recorder.alerts.empty()) << host->recorder.CallLogText();
    ASSERT_EQ(CreatedOf("rf_beam").size(), 1u);
    EXPECT_EQ(CreatedOf("rf_beam")[0]->layer, 4);
    const API_Guid beam = CreatedOf("rf_beam")[0]->guid;
    ASSERT_EQ(CreatedOf("rf_list").size(), 1u);
    EXPECT_EQ(CreatedOf("rf_list")[0]->layer, 4);
    EXPECT_TRUE(host->model.layers[4].locked);

    // Undoing the element's one step takes the list, the copies and the
    // beam and finds the layer locked as before.
    ASSERT_TRUE(host->UndoLastStep());
    EXPECT_TRUE(host->model.layers[4].locked);
    EXPECT_EQ(host->model.Find(beam), nullptr);
    EXPECT_TRUE(CreatedOf("rf_list").empty());

    bars = PlaceBeamBars(*host, 3);
    host->user.ChangeSelection(bars);
    host->user.dialogAnswers.push_back(IdAnswer("C1", 3, true));
    Click(1, 1);
    CancelClick();
    Create(Beam);
    EXPECT_TRUE(host->recorder.alerts.empty());
    EXPECT_TRUE(CreatedOf("rf_list").empty());
    EXPECT_EQ(Text(Get(bars[0]), "strIronID"), "C1 - 2");
    ASSERT_EQ(CreatedOf("rf_beam").size(), 1u);
    ASSERT_FALSE(host->model.databases.details.empty());
    EXPECT_EQ(GS::EncodeText(host->model.databases.details.back().ref, CC_UTF8), "C1");
}

// Bars on a locked layer beside the selected ones (the check counts only
// the editable), and the element and its list on that layer too: the user
// agrees to use the locked layer, and create, and then edit via the edit
// list, write the bars' IDs and links, the detail drawing's copies and the
// list with the layer opened and locked again inside the command's one
// undo step. One undo takes each command back whole; the layer is locked
// after every command and every undo.
TEST_F(CreateComplexTest, BarsOnALockedLayerCreatedAndEdited)
{
    using Action = DG::UserInput::DialogAction;
    host->model.layers[3].locked = true;
    std::vector<API_Guid> bars = PlaceBeamBars(*host, 1);
    const auto lockedBar = [&](double x) {
        SimHost::Element& e = host->PlaceObject("rf_rebar", {}, 3);
        e.Object().pos = {x, 2.0};
        bars.push_back(e.guid);
    };
    lockedBar(4.1);
    lockedBar(4.4);
    host->user.ChangeSelection(bars);
    const std::string untouched = SweepInvariant::ModelText(*host, nullptr);
    host->user.dialogAnswers.push_back(IdAnswer("B1", 3, true));
    host->user.dialogAnswers.push_back({32510, {{Action::Kind::Click, 1, {}, 0}}});
    Click(10, 5);
    Click(14, 6);
    Create(Beam);
    EXPECT_TRUE(host->recorder.alerts.empty()) << host->recorder.alerts.front();
    ASSERT_EQ(host->undo.steps.size(), 1u);
    EXPECT_TRUE(host->model.layers[3].locked);

    // The bars and their copies in the detail drawing, the beam and the
    // list, the locked ones written on the locked layer.
    ASSERT_EQ(CreatedOf("rf_beam").size(), 1u);
    EXPECT_EQ(CreatedOf("rf_beam")[0]->layer, 3);
    ASSERT_EQ(CreatedOf("rf_list").size(), 1u);
    const API_Guid list = CreatedOf("rf_list")[0]->guid;
    EXPECT_EQ(CreatedOf("rf_list")[0]->layer, 3);
    EXPECT_EQ(Texts(*CreatedOf("rf_list")[0], "ironStringData"),
              (std::vector<std::string>{"B1 - 1", "B500B", "B1 - 2", "B500B"}));
    ASSERT_EQ(host->model.databases.details.size(), 1u);
    const API_Guid detail = host->model.databases.details[0].id;
    // The copies in the detail drawing, on the layer of their bar.
    const auto copiesOnLayer = [&](Int32 layer) {
        int copies = 0;
        for (const SimHost::Element& e : host->model.Elements())
            if (e.database == detail && e.layer == layer && e.As<SimHost::ObjectPart>() != nullptr)
                ++copies;
        return copies;
    };
    for (size_t i = 0; i < bars.size(); ++i) {
        EXPECT_EQ(Text(Get(bars[i]), "strIronID"), i == 4 ? "B1 - 1" : "B1 - 2") << i;
        EXPECT_TRUE(Get(bars[i]).userData.has_value()) << i << ": the bar is linked to its copy";
    }
    EXPECT_EQ(copiesOnLayer(1), 5);
    EXPECT_EQ(copiesOnLayer(3), 2);
    const std::string created = SweepInvariant::ModelText(*host, nullptr);

    // The edit: one more bar on the locked layer, the beam chosen in the
    // edit list and assembled again from the selected bars.
    lockedBar(4.7);
    host->user.ChangeSelection(bars);
    const std::string beforeEdit = SweepInvariant::ModelText(*host, nullptr);
    host->user.dialogAnswers.push_back({32510, {{Action::Kind::Click, 1, {}, 0}}});
    host->user.dialogAnswers.push_back({32512, {{Action::Kind::Select, 4, {}, 1}, {Action::Kind::Click, 1, {}, 0}}});
    host->recorder.alerts.clear();
    ASSERT_TRUE(host->user.ChoosePaletteItem(Beam, 2));
    EXPECT_TRUE(host->recorder.alerts.empty()) << host->recorder.alerts.front();
    ASSERT_EQ(host->undo.steps.size(), 2u) << "the edit is one step";
    EXPECT_TRUE(host->model.layers[3].locked);
    EXPECT_EQ(Text(Get(bars.back()), "strIronID"), "B1 - 2");
    ASSERT_EQ(host->model.databases.details.size(), 1u) << "the drawing is the beam's own";
    EXPECT_EQ(copiesOnLayer(3), 3) << "the new bar's copy beside the others";
    ASSERT_NE(host->model.Find(list), nullptr);
    EXPECT_EQ(host->model.Find(list)->layer, 3);
    const std::string edited = SweepInvariant::ModelText(*host, nullptr);
    EXPECT_TRUE(edited != beforeEdit);

    // One undo takes each command back whole, the layer locked all along.
    ASSERT_TRUE(host->UndoLastStep());
    const std::string editUndone = SweepInvariant::ModelText(*host, nullptr);
    EXPECT_TRUE(editUndone == beforeEdit) << SweepInvariant::FirstDifference(beforeEdit, editUndone);
    ASSERT_TRUE(host->UndoLastStep());
    const std::string createUndone = SweepInvariant::ModelText(*host, nullptr);
    EXPECT_TRUE(createUndone == untouched) << SweepInvariant::FirstDifference(untouched, createUndone);
    EXPECT_TRUE(host->model.layers[3].locked);
}

// Cancel in the dialog or at the element's click creates nothing and
// changes no bar.
TEST_F(CreateComplexTest, CancelledDialogOrClickCreatesNothing)
{
    const std::vector<API_Guid> bars = PlaceBeamBars(*host, 3);
    host->user.ChangeSelection(bars);
    SimHost::DialogAnswer cancel;
    cancel.dialog = 32511;
    DG::UserInput::DialogAction click;
    click.kind = DG::UserInput::DialogAction::Kind::Click;
    click.item = 2;
    cancel.actions = {click};
    host->user.dialogAnswers.push_back(cancel);
    Create(Beam);
    EXPECT_TRUE(host->user.pointInputs.shown.empty());
    EXPECT_FALSE(host->preferences.Stored().has_value());

    host->user.dialogAnswers.push_back(IdAnswer("B1", 3, true));
    CancelClick();
    Create(Beam);
    EXPECT_EQ(host->user.pointInputs.shown.size(), 1u);
    EXPECT_TRUE(host->recorder.createdElements.empty());
    EXPECT_TRUE(host->undo.steps.empty());
    EXPECT_EQ(Text(Get(bars[0]), "strIronID"), "");
    EXPECT_TRUE(host->recorder.alerts.empty());
}

// ------------------------------------------------------------ the sweep

void StartWithPalette(SimHost::Host& host)
{
    host.session.StartAddOn();
    host.user.RunMenuCommand(32510, 1);
}

void PrepareBeamWithList(SimHost::Host& host)
{
    StartWithPalette(host);
    // The bars on an open layer; the element and its list go onto the
    // locked layer the user chose.
    host.model.layers[4] = SimHost::Layer{"Locked", false, true};
    host.user.ChangeSelection(PlaceBeamBars(host, 1));
    host.user.dialogAnswers.push_back(IdAnswer("B1", 4, true));
    host.user.pointInputs.Give({{{9, 4, 0}}, false, {10, 5, 0}});
    host.user.pointInputs.Give({{}, false, {14, 6, 0}});
}

void PrepareCrowning(SimHost::Host& host)
{
    StartWithPalette(host);
    std::vector<API_Guid> sel;
    for (int i = 0; i < 2; ++i)
        sel.push_back(host.PlaceObject("rf_rebar", {Number("iPosition", 2)}).guid);
    sel.push_back(host.PlaceObject("rf_stirrup", StirrupParams(1)).guid);
    host.user.ChangeSelection(sel);
    host.user.dialogAnswers.push_back(IdAnswer("K1", 1, true));
    host.user.pointInputs.Give({{}, false, {1, 2, 0}});
}

void ChooseAndCheck(SimHost::Host& host, Entry entry)
{
    host.user.ChoosePaletteItem(entry, 1);
    if (host.model.layers.count(4) != 0) {
        EXPECT_TRUE(host.model.layers[4].locked) << "the locked layer is locked again\n" << host.recorder.CallLogText();
    }
    for (const SimHost::ProgressWindow& w : host.recorder.progressWindows)
        EXPECT_FALSE(w.open) << "a progress window left open";
    EXPECT_EQ(host.model.currentDatabase, APINULLGuid) << "the window is back on the floor plan";
}

using SweepInvariant::SweepChecked;

TEST(CreateComplexSweepTest, BeamWithItsListOnALockedLayer)
{
    SweepChecked("create, beam with list on a locked layer", PrepareBeamWithList,
                 [](SimHost::Host& host) { ChooseAndCheck(host, Beam); }, 3000);
}

TEST(CreateComplexSweepTest, Crowning)
{
    SweepChecked("create, crowning", PrepareCrowning, [](SimHost::Host& host) { ChooseAndCheck(host, Crowning); }, 3000);
}

}  // namespace
