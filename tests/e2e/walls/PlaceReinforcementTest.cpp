// The Slab, Wall and Roof command through the palette: refusals and their
// messages, the settings dialog's layers, the objects placed into roofs
// (one per plane of a roof of several) in one undo step.
#include "tests/e2e/palette/PaletteFixture.hpp"
#include "simhost/scenario/PlanSvg.hpp"
#include "tests/e2e/walls/PlacingTestSupport.hpp"
#include <cmath>
#include <cstring>
#include "tests/support/Shapes.hpp"

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace PlaceReinforcementTests {

using SimHost::GdlParam;
using SimHost::GdlParams;

using PlacingTest::Layer;
using PlacingTest::Number;

using TestShapes::Rectangle;

const double Slope = std::acos(-1.0) / 6;

class PlaceReinforcementTest : public PaletteTest {
protected:
    void SetUp() override
    {
        PaletteTest::SetUp();
        ASSERT_TRUE(Start());
        OpenFromMenu();
        host->recorder.alerts.clear();
    }
    API_Guid AddSlab(const SimHost::PolygonRings& outline)
    {
        SimHost::Element& e = host->model.Add(API_SlabID);
        SimHost::SlabPart slab;
        slab.thickness = 0.25;
        slab.level = 3.0;
        slab.outline = outline;
        e.part = slab;
        return e.guid;
    }
    // A plane roof at level 2.
    API_Guid AddRoof(const SimHost::PolygonRings& outline)
    {
        const API_Guid guid = PlacingTest::AddRoof(*host, outline, Slope);
        host->model.Find(guid)->As<SimHost::RoofPart>()->level = 2.0;
        return guid;
    }
    API_Guid AddRoofOfPlanes(Int32 planes)
    {
        SimHost::Element& e = host->model.Add(API_RoofID);
        e.part = TestShapes::RoofOfPlanes(planes, Slope);
        return e.guid;
    }
    std::vector<const SimHost::Element*> Objects() const
    {
        std::vector<const SimHost::Element*> objects;
        for (const SimHost::Element& e : host->model.Elements())
            if (e.As<SimHost::ObjectPart>() != nullptr)
                objects.push_back(&e);
        return objects;
    }
    std::vector<API_Guid> Linked(const API_Guid& element) const
    {
        const std::vector<API_Guid>* linked = host->model.links.LinkedTo(element);
        return linked == nullptr ? std::vector<API_Guid>{} : *linked;
    }
    static double Param(const SimHost::Element& e, const char* name)
    {
        const GdlParam* p = SimHost::FindParam(e.Object().params, name);
        return p == nullptr ? std::nan("") : p->number;
    }
    std::string Message(Int16 index) const { return host->session.AddOnString(130, index); }
};

TEST_F(PlaceReinforcementTest, NothingSelectedNamesTheTypeAndLeavesThePaletteAlone)
{
    struct Case {
        USize entry;
        API_ElemTypeID type;
        Int16 message;
    };
    for (const Case& c : {Case{Slab, API_SlabID, 62}, Case{Wall, API_WallID, 63}, Case{Roof, API_RoofID, 70}}) {
        // The entry is on for its type; then the selection empties without
        // the add-on hearing of it.
        host->user.ChangeSelection({Add(c.type)});
        host->model.Select({});
        const std::string before = Enabled();
        host->recorder.alerts.clear();
        ASSERT_TRUE(host->user.ClickPaletteEntry(c.entry));
        EXPECT_EQ(host->recorder.alerts, std::vector<std::string>{Message(c.message)});
        EXPECT_EQ(Enabled(), before);
    }
}

TEST_F(PlaceReinforcementTest, ElementOfAnotherTypeInTheSelectionIsRefused)
{
    const API_Guid roof = AddRoof(Rectangle(0, 0, 10, 5));
    const API_Guid slab = AddSlab(Rectangle(0, 0, 4, 4));
    host->user.ChangeSelection({roof, slab});
    host->user.settingsDialogs.push_back(Layer("rf_mesh"));
    ASSERT_TRUE(host->user.ClickPaletteEntry(Roof));
    EXPECT_EQ(host->recorder.alerts, std::vector<std::string>{Message(70)});
    EXPECT_TRUE(Objects().empty());
    EXPECT_EQ(host->user.settingsDialogs.size(), 1u) << "the dialog was not opened";
}

TEST_F(PlaceReinforcementTest, PlaneRoofWithAnOpeningGetsOneLinkedObjectInOneUndoStep)
{
    const API_Guid roof = AddRoof(Rectangle(0, 0, 10, 5));
    SimHost::Element& opening = host->model.Add(API_OpeningID);
    opening.Opening().shape = {{4, 2}, {6, 2}, {6, 3}, {4, 3}};
    host->model.Find(roof)->connected.push_back(opening.guid);
    host->user.ChangeSelection({roof});
    host->user.settingsDialogs.push_back(Layer("rf_mesh", {Number("iPosition", 0)}));
    ASSERT_TRUE(host->user.ClickPaletteEntry(Roof));
    EXPECT_TRUE(host->recorder.alerts.empty());
    // Every entry but Cutting List is off until the next selection change.
    EXPECT_EQ(Enabled(), "00000010");

    const auto objects = Objects();
    ASSERT_EQ(objects.size(), 1u) << host->recorder.CallLogText();
    const SimHost::Element& object = *objects[0];
    EXPECT_EQ(Linked(roof), std::vector<API_Guid>{object.guid});
    EXPECT_EQ(host->model.links.ObserverCount(roof), 1);
    EXPECT_NEAR(Param(object, "ironAngleY"), Slope, 1e-12);
    EXPECT_EQ(Param(object, "et_thickness"), 0.2);
    EXPECT_NEAR(object.Object().level, 2.0 + 0.2 / std::cos(Slope), 1e-9);
    // The outline and the opening's hole: 5 + 5 rows.
    const GdlParam* coords = SimHost::FindParam(object.Object().params, "et_coords");
    ASSERT_NE(coords, nullptr);
    EXPECT_EQ(coords->dim1, 10);
    EXPECT_EQ(coords->dim2, 3);
    ASSERT_EQ(host->undo.steps.size(), 1u);
    EXPECT_EQ(host->undo.steps[0].name, host->session.AddOnString(32501, 1));

    // Undoing the step takes the object and its link back.
    ASSERT_TRUE(host->UndoLastStep());
    EXPECT_TRUE(Objects().empty());
    EXPECT_TRUE(Linked(roof).empty());

    // The plan shows the roof, the opening and nothing more.
    EXPECT_NE(SimHost::PlanSvg(host->model).find("opening"), std::string::npos);
}

TEST_F(PlaceReinforcementTest, RoofOfSeveralPlanesGetsOneObjectPerPlaneWithItsPartId)
{
    const API_Guid roof = AddRoofOfPlanes(3);
    host->user.ChangeSelection({roof});
    host->user.settingsDialogs.push_back(Layer("rf_rebar", {Number("iPosition", 2)}));
    ASSERT_TRUE(host->user.ClickPaletteEntry(Roof));
    const auto objects = Objects();
    ASSERT_EQ(objects.size(), 3u);
    for (Int32 i = 0; i < 3; ++i) {
        const SimHost::Element& object = *objects[static_cast<size_t>(i)];
        ASSERT_TRUE(object.userData.has_value());
        EXPECT_EQ(object.userData->version, 1);
        EXPECT_EQ(object.userData->platformSign, 0x5757);
        ASSERT_EQ(object.userData->bytes.size(), 12u);
        Int32 id[3];
        std::memcpy(id, object.userData->bytes.data(), sizeof id);
        EXPECT_EQ(id[2], i + 1);
        // A roof's bars always lie in its plane.
        EXPECT_EQ(Param(object, "iPosition"), 4);
        EXPECT_NEAR(object.Object().pos.x, 10.0 * i, 1e-12);
    }
    EXPECT_EQ(Linked(roof).size(), 3u);
    EXPECT_EQ(host->model.links.ObserverCount(roof), 1);
    EXPECT_EQ(host->undo.steps.size(), 1u);
    const std::string svg = SimHost::PlanSvg(host->model);
    EXPECT_NE(svg.find("roof plane 3"), std::string::npos);
    EXPECT_NE(svg.find("reinforcement"), std::string::npos);
}

TEST_F(PlaceReinforcementTest, WrongPartOrPositionAsksAgainAndCancelPlacesNothing)
{
    const API_Guid roof = AddRoof(Rectangle(0, 0, 10, 5));
    host->user.ChangeSelection({roof});
    host->user.settingsDialogs.push_back(Layer("rf_stirrup"));
    host->user.settingsDialogs.push_back(Layer("rf_mesh", {Number("iPosition", 0.5)}));
    // The user gives up: nothing left to answer cancels the dialog.
    ASSERT_TRUE(host->user.ClickPaletteEntry(Roof));
    EXPECT_EQ(host->recorder.alerts, (std::vector<std::string>{Message(66), Message(67)}));
    EXPECT_TRUE(Objects().empty());
    EXPECT_TRUE(host->undo.steps.empty());

    // 0.4 rounds to 0: accepted.
    host->recorder.alerts.clear();
    host->user.ChangeSelection({roof});
    host->user.settingsDialogs.push_back(Layer("rf_mesh", {Number("iPosition", 0.4)}));
    ASSERT_TRUE(host->user.ClickPaletteEntry(Roof));
    EXPECT_TRUE(host->recorder.alerts.empty());
    EXPECT_EQ(Objects().size(), 1u);
}

TEST_F(PlaceReinforcementTest, SettingsDialogOpensOnTheMeshPositionedForTheElementType)
{
    const API_Guid slab = AddSlab(Rectangle(0, 0, 4, 4));
    host->user.ChangeSelection({slab});
    // The user cancels the dialog at once.
    host->user.settingsDialogs.push_back(SimHost::SettingsDialogAnswer{true, "", {}});
    ASSERT_TRUE(host->user.ClickPaletteEntry(Slab));
    const auto& tool = host->model.objectTool;
    EXPECT_EQ(tool.libInd, host->libraries.IndexOfPart("rf_mesh"));
    const GdlParam* position = SimHost::FindParam(tool.params, "iPosition");
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(position->number, 1);
}

}  // namespace PlaceReinforcementTests
