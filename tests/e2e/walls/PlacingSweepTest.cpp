// Every host call of the Slab, Wall and Roof command, and of keeping its
// objects in step, failing in turn, each run held to the sweep invariant:
// the model is the fault-free run's or exactly the one before, or the user
// was told. Placing two layers on a wall, a slab and a roof, and a roof of
// two planes beside a plane roof; keeping in step after the user moves a
// wall, reshapes a slab, raises a plane roof and a roof of planes, and
// deletes a wall. Each sweep prints its counts.
#include "tests/e2e/SweepInvariant.hpp"
#include "simhost/model/ElementEdit.hpp"
#include "tests/e2e/palette/PaletteFixture.hpp"
#include "tests/e2e/walls/PlacingTestSupport.hpp"
#include <cmath>
#include "tests/support/Shapes.hpp"

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace PlacingSweepTests {

using PlacingTest::Layer;
using PlacingTest::Click;
using PlacingTest::Number;
using PlacingTest::Ring;

const double Slope = std::acos(-1.0) / 6;

using TestShapes::Rectangle;

API_Guid AddWall(SimHost::Host& host, API_Coord begin, API_Coord end)
{
    SimHost::Element& e = host.model.Add(API_WallID);
    SimHost::WallPart* wall = e.As<SimHost::WallPart>();
    wall->record.begC = begin;
    wall->record.endC = end;
    wall->record.thickness = 0.3;
    wall->record.referenceLineLocation = 4;
    wall->record.offsetFromOutside = 0.15;
    return e.guid;
}

API_Guid AddSlab(SimHost::Host& host, const SimHost::PolygonRings& outline)
{
    SimHost::Element& e = host.model.Add(API_SlabID);
    SimHost::SlabPart slab;
    slab.level = 3.0;
    slab.outline = outline;
    e.part = slab;
    return e.guid;
}

API_Guid AddRoof(SimHost::Host& host, const SimHost::PolygonRings& outline)
{
    return PlacingTest::AddRoof(host, outline, Slope);
}

API_Guid AddRoofOfPlanes(SimHost::Host& host, Int32 planes, double y)
{
    SimHost::Element& e = host.model.Add(API_RoofID);
    e.part = TestShapes::RoofOfPlanes(planes, Slope, y);
    return e.guid;
}

void Start(SimHost::Host& host)
{
    host.session.StartAddOn();
    host.user.RunMenuCommand(32510, 1);
}

// The user's answers for `layers` layers of rf_mesh at `position`, with
// `picks` clicks per layer, the alert answered "more" until the last.
void AnswerLayers(SimHost::Host& host, Int32 layers, double position, std::vector<std::pair<double, double>> picks)
{
    for (Int32 k = 0; k < layers; ++k) {
        host.user.settingsDialogs.push_back(Layer("rf_mesh", {Number("iPosition", position)}));
        host.user.alertButtons.push_back(k + 1 < layers ? 2 : 1);
    }
    for (const auto& p : picks)
        host.user.pointInputs.Give(Click(p.first, p.second));
}

// The command's own question whether a further layer follows: asked on
// every run, it says nothing about how the run ended.
const std::vector<Int16> LayerQuestion = {32520};

TEST(PlacingSweepTest, TwoLayersOnAWallASlabAndARoof)
{
    struct Case {
        const char* what;
        USize entry;
        std::function<API_Guid(SimHost::Host&)> add;
        double position;
        std::vector<std::pair<double, double>> picks;
    };
    const Case cases[] = {
        {"two layers on a wall", Wall, [](SimHost::Host& h) { return AddWall(h, {0, 0}, {6, 0}); }, 2,
         {{3, 0.1}, {3, -0.1}}},
        {"two layers on a slab", Slab,
         [](SimHost::Host& h) {
             return AddSlab(h, Ring({{0, 0}, {8, 0}, {8, 6}, {0, 6}}, {{{3, 2}, {5, 2}, {5, 4}, {3, 4}}}));
         },
         1, {{3, 0.1}, {8.1, 3}}},
        {"two layers on a roof", Roof, [](SimHost::Host& h) { return AddRoof(h, Rectangle(0, 0, 10, 5)); }, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SweepInvariant::SweepSetup setup;
        setup.prepare = [&](SimHost::Host& host) {
            Start(host);
            host.user.ChangeSelection({c.add(host)});
            AnswerLayers(host, 2, c.position, c.picks);
        };
        setup.command = [&](SimHost::Host& host) { host.user.ClickPaletteEntry(c.entry); };
        setup.questions = LayerQuestion;
        setup.limit = 3000;
        SweepInvariant::SweepChecked((std::string("placing, ") + c.what).c_str(), setup);
    }
}

TEST(PlacingSweepTest, RoofOfPlanesBesideAPlaneRoof)
{
    SweepInvariant::SweepSetup setup;
    setup.prepare = [](SimHost::Host& host) {
        Start(host);
        host.user.ChangeSelection({AddRoofOfPlanes(host, 2, 0), AddRoof(host, Rectangle(0, 10, 10, 15))});
        AnswerLayers(host, 1, 0, {});
    };
    setup.command = [](SimHost::Host& host) { host.user.ClickPaletteEntry(Roof); };
    setup.questions = LayerQuestion;
    SweepInvariant::SweepChecked("placing, a roof of two planes and a plane roof", setup);
}

// The elements of the keeping-in-step sweeps, each reinforced with two
// layers through the palette before the failure is armed.
struct Reinforced {
    API_Guid wall, slab, roof, planes, deleted;
};

Reinforced PlaceEverything(SimHost::Host& host)
{
    Start(host);
    Reinforced r;
    r.wall = AddWall(host, {0, 0}, {4, 0});
    r.deleted = AddWall(host, {0, 20}, {4, 20});
    host.user.ChangeSelection({r.wall, r.deleted});
    AnswerLayers(host, 2, 2, {{2, 0.1}, {2, 20.1}, {2, -0.1}, {2, 19.9}});
    host.user.ClickPaletteEntry(Wall);
    r.slab = AddSlab(host, Rectangle(0, 10, 6, 14));
    host.user.ChangeSelection({r.slab});
    AnswerLayers(host, 2, 1, {{3, 10.1}, {6.1, 12}});
    host.user.ClickPaletteEntry(Slab);
    r.roof = AddRoof(host, Rectangle(10, 0, 20, 5));
    r.planes = AddRoofOfPlanes(host, 2, 30);
    host.user.ChangeSelection({r.roof, r.planes});
    AnswerLayers(host, 2, 0, {});
    host.user.ClickPaletteEntry(Roof);
    EXPECT_TRUE(host.recorder.alerts.empty());
    return r;
}

bool Edit(SimHost::Host& host, const API_Guid& element, const SimHost::ElementEdit& edit, API_NotifyElementID kind)
{
    std::string why;
    return host.user.ChangeElements(
        edit.ActionName(), kind, {element},
        [&](SimHost::Element& e, std::string& reason) { return SimHost::ApplyEdit(edit, host.model, e, reason); }, why);
}

TEST(KeepingInStepSweepTest, EachChangeOfAReinforcedElement)
{
    struct Case {
        const char* what;
        std::function<void(SimHost::Host&, const Reinforced&)> change;
    };
    const Case cases[] = {
        {"a wall moved and raised",
         [](SimHost::Host& host, const Reinforced& r) {
             SimHost::ElementEdit edit;
             edit.move = API_Coord{1, 1};
             edit.bottomOffset = 0.3;
             Edit(host, r.wall, edit, APINotifyElement_Edit);
         }},
        {"a slab reshaped and raised",
         [](SimHost::Host& host, const Reinforced& r) {
             SimHost::ElementEdit edit;
             edit.outline = Rectangle(1, 11, 7, 15);
             edit.level = 3.3;
             Edit(host, r.slab, edit, APINotifyElement_Edit);
         }},
        {"a plane roof raised",
         [](SimHost::Host& host, const Reinforced& r) {
             SimHost::ElementEdit edit;
             edit.level = 2.5;
             Edit(host, r.roof, edit, APINotifyElement_Change);
         }},
        {"a roof of planes raised",
         [](SimHost::Host& host, const Reinforced& r) {
             SimHost::ElementEdit edit;
             edit.level = 3.5;
             Edit(host, r.planes, edit, APINotifyElement_Change);
         }},
        {"a wall deleted",
         [](SimHost::Host& host, const Reinforced& r) {
             std::string why;
             host.user.DeleteElements("Delete", {r.deleted}, why);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            // Without a fault the objects follow without a word.
            SimHost::Host host;
            std::string error;
            ASSERT_TRUE(host.session.LoadAddOn(ADDON_PATH, error)) << error;
            const Reinforced placed = PlaceEverything(host);
            const size_t steps = host.undo.steps.size();
            c.change(host, placed);
            EXPECT_TRUE(host.recorder.alerts.empty());
            EXPECT_EQ(host.undo.steps.size(), steps + 1) << "the user's change and the add-on's are one step";
            host.session.UnloadAddOn(true);
        }
        Reinforced r;
        SweepInvariant::SweepSetup setup;
        setup.prepare = [&](SimHost::Host& host) { r = PlaceEverything(host); };
        setup.command = [&](SimHost::Host& host) { c.change(host, r); };
        SweepInvariant::SweepChecked((std::string("keeping in step, ") + c.what).c_str(), setup);
    }
}

}  // namespace PlacingSweepTests
