// The edit commands played through the palette once for every host call
// they make, that call failing, each run held to the sweep invariant: both
// roads of Edit Beam with a list (the beam selected with its bars, and the
// beam chosen in the edit list) and Edit Crowning, with the locked layer
// locked again and every beam's "bShowSection" as it was.
#include "tests/e2e/SweepInvariant.hpp"
#include "platform/dg/DGUserInput.hpp"
#include <cstdio>
#include <map>
#include <string>
#include <vector>
#include "tests/support/GdlParams.hpp"

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace EditSweepTests {

using TestParams::Number;
using TestParams::Numbers;

using Action = DG::UserInput::DialogAction;
constexpr USize CrowningEntry = 0;
constexpr USize BeamEntry = 1;
constexpr Int16 EditItem = 2;

SimHost::GdlParam Text(const char* name, const char* text)
{
    SimHost::GdlParam p;
    p.name = name;
    p.kind = SimHost::GdlParam::Kind::Text;
    p.text = std::u16string(text, text + std::char_traits<char>::length(text));
    return p;
}

void Start(SimHost::Host& host)
{
    host.session.StartAddOn();
    host.user.RunMenuCommand(32510, 1);
}

std::vector<API_Guid> BeamBars(SimHost::Host& host)
{
    std::vector<API_Guid> bars;
    for (int i = 0; i < 4; ++i) {
        SimHost::Element& bar = host.PlaceObject("rf_rebar", {Number("iPosition", 1), Number("bOnlyOneBar", 1)});
        bar.Object().pos = {static_cast<double>(i), 0};
        bars.push_back(bar.guid);
    }
    bars.push_back(host.PlaceObject("rf_stirrup", {Number("iPosition", 2), Number("bOnlyOneBar", 0),
                                                   Numbers("ironType", 1, 4, {0, 1, 4, 0}),
                                                   Numbers("ironData", 1, 4, {0.3, 0.4, 0.3, 0.4})})
                       .guid);
    return bars;
}

void AnswerId(SimHost::Host& host, const char* id)
{
    host.user.dialogAnswers.push_back(
        {32511, {{Action::Kind::SetText, 4, GS::UniString(id), 0}, {Action::Kind::Click, 1, {}, 0}}});
}

// A beam selected with its bars and a list on a locked layer, which the
// user agrees to change.
void PrepareSelectedBeam(SimHost::Host& host)
{
    Start(host);
    host.model.layers[3] = SimHost::Layer{"locked", false, true};
    std::vector<API_Guid> selection = BeamBars(host);
    selection.push_back(host.PlaceObject("rf_beam", {Text("strIronID", "B1"), Number("bShowSection", 0.05)}).guid);
    selection.push_back(host.PlaceObject("rf_list", {}, 3).guid);
    host.user.ChangeSelection(selection);
    host.user.dialogAnswers.push_back({32510, {{Action::Kind::Click, 1, {}, 0}}});
    AnswerId(host, "B2");
}

// Bars alone: the beam to edit, B2 on the locked layer, is chosen from the
// list of placed beams (each entry drawn as a preview picture).
void PrepareListedBeam(SimHost::Host& host)
{
    Start(host);
    host.model.layers[3] = SimHost::Layer{"locked", false, true};
    host.PlaceObject("rf_beam", {Text("strIronID", "B1"), Number("bShowSection", 3)});
    host.PlaceObject("rf_beam", {Text("strIronID", "B2"), Number("bShowSection", 0.05)}, 3);
    host.user.ChangeSelection(BeamBars(host));
    host.user.dialogAnswers.push_back(
        {32512, {{Action::Kind::Select, 4, {}, 2}, {Action::Kind::Click, 1, {}, 0}}});
}

void PrepareCrowning(SimHost::Host& host)
{
    Start(host);
    std::vector<API_Guid> selection;
    for (int i = 0; i < 2; ++i)
        selection.push_back(host.PlaceObject("rf_rebar", {Number("iPosition", 2), Number("bOnlyOneBar", 1)}).guid);
    selection.push_back(host.PlaceObject("rf_crowning", {Text("strIronID", "K1"), Number("bShowSection", 1)}).guid);
    host.user.ChangeSelection(selection);
    AnswerId(host, "K2");
}

// Whether each complex object's section was shown (bShowSection above
// 0.1) when the run began, by GUID.
std::map<std::string, bool>& ShownBefore()
{
    static std::map<std::string, bool> shown;
    return shown;
}

void NoteSections(SimHost::Host& host)
{
    ShownBefore().clear();
    for (const SimHost::Element& e : host.model.Elements())
        if (e.type == API_ObjectID)
            if (const SimHost::GdlParam* show = SimHost::FindParam(e.Object().params, "bShowSection"))
                ShownBefore()[SimHost::GuidText(e.guid)] = show->number > 0.1;
}

// What every run must leave, whatever failed.
void CheckLeftAsItWas(SimHost::Host& host)
{
    if (host.model.layers.count(3) != 0) {
        EXPECT_TRUE(host.model.layers[3].locked) << "the locked layer is locked again\n"
                                                 << host.recorder.CallLogText();
    }
    for (const SimHost::Element& e : host.model.Elements()) {
        const auto before = ShownBefore().find(SimHost::GuidText(e.guid));
        if (before == ShownBefore().end())
            continue;
        const SimHost::GdlParam* show = SimHost::FindParam(e.Object().params, "bShowSection");
        ASSERT_NE(show, nullptr);
        EXPECT_EQ(show->number > 0.1, before->second) << "bShowSection " << show->number;
    }
}

void EditBeam(SimHost::Host& host)
{
    NoteSections(host);
    host.user.ChoosePaletteItem(BeamEntry, EditItem);
    CheckLeftAsItWas(host);
}

void EditCrowning(SimHost::Host& host)
{
    NoteSections(host);
    host.user.ChoosePaletteItem(CrowningEntry, EditItem);
    CheckLeftAsItWas(host);
}

using SweepInvariant::SweepChecked;

TEST(EditSweepTest, SelectedBeamWithItsList) { SweepChecked("edit, selected beam", PrepareSelectedBeam, EditBeam, 3000); }
TEST(EditSweepTest, BeamChosenInTheList) { SweepChecked("edit via the list, beam", PrepareListedBeam, EditBeam, 3000); }
TEST(EditSweepTest, Crowning) { SweepChecked("edit, crowning", PrepareCrowning, EditCrowning, 3000); }

}  // namespace EditSweepTests
