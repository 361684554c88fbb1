// The Wall and Slab commands through the palette with the picks played by
// the user: layers on both sides of a wall and along a slab's edges, the
// wall request through the wall-geometry library found beside the add-on,
// and elements of odd geometry.
#include "tests/e2e/palette/PaletteFixture.hpp"
#include "platform/vomdix/JobLedger.hpp"
#include "tests/e2e/walls/PlacingTestSupport.hpp"
#include "simhost/model/ElementEdit.hpp"
#include <picojson.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <unistd.h>

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace PlaceIntoWallsAndSlabsTests {

using SimHost::GdlParam;
using SimHost::GdlParams;

using PlacingTest::Layer;
using PlacingTest::AddRoof;
using PlacingTest::Click;
using PlacingTest::Number;
using PlacingTest::Ring;

const double Slope = std::acos(-1.0) / 6;

API_Guid AddWall(SimHost::Host& host, API_Coord begin, API_Coord end)
{
    SimHost::Element& e = host.model.Add(API_WallID);
    SimHost::WallPart* wall = e.As<SimHost::WallPart>();
    wall->record.begC = begin;
    wall->record.endC = end;
    wall->record.thickness = 0.3;
    wall->record.referenceLineLocation = 4;  // the middle
    wall->record.offsetFromOutside = 0.15;
    return e.guid;
}

API_Guid AddSlab(SimHost::Host& host, const SimHost::PolygonRings& outline)
{
    SimHost::Element& e = host.model.Add(API_SlabID);
    SimHost::SlabPart slab;
    slab.outline = outline;
    e.part = slab;
    return e.guid;
}

std::vector<const SimHost::Element*> Objects(const SimHost::Host& host)
{
    std::vector<const SimHost::Element*> objects;
    for (const SimHost::Element& e : host.model.Elements())
        if (e.As<SimHost::ObjectPart>() != nullptr)
            objects.push_back(&e);
    return objects;
}

USize LinkedCount(const SimHost::Host& host, const API_Guid& element)
{
    const std::vector<API_Guid>* linked = host.model.links.LinkedTo(element);
    return linked == nullptr ? 0 : linked->size();
}

class PlaceIntoWallsAndSlabsTest : public PaletteTest {
protected:
    void SetUp() override
    {
        PaletteTest::SetUp();
        VOMDIX::ResetJobCounts();
    }
    void Begin()
    {
        ASSERT_TRUE(Start());
        OpenFromMenu();
        host->recorder.alerts.clear();
    }
    std::string Message(Int16 index) const { return host->session.AddOnString(130, index); }
    void ExpectJobsEnded() const
    {
        const VOMDIX::JobCounts c = VOMDIX::GetJobCounts();
        EXPECT_EQ(c.begun, c.ended);
        EXPECT_EQ(c.endedTwice, 0);
        EXPECT_EQ(c.endedUnknown, 0);
        EXPECT_EQ(c.open, 0);
    }
};

// Two layers on three walls: six objects, layer by layer in the walls'
// order, each wall with two linked objects, all in one undo step.
TEST_F(PlaceIntoWallsAndSlabsTest, TwoLayersOnThreeWallsGiveSixObjectsInOneUndoStep)
{
    Begin();
    const API_Guid walls[] = {AddWall(*host, {0, 0}, {6, 0}), AddWall(*host, {0, 4}, {6, 4}),
                              AddWall(*host, {0, 8}, {6, 8})};
    host->user.ChangeSelection({walls[0], walls[1], walls[2]});
    host->user.settingsDialogs.push_back(Layer("rf_mesh", {Number("iPosition", 2)}));
    host->user.settingsDialogs.push_back(Layer("rf_rebar", {Number("iPosition", 3)}));
    for (double y : {0.1, 4.1, 8.1, -0.1, 3.9, 7.9})
        host->user.pointInputs.Give(Click(3, y));
    host->user.alertButtons = {2, 1};
    ASSERT_TRUE(host->user.ClickPaletteEntry(Wall));

    EXPECT_TRUE(host->recorder.alerts.empty());
    ASSERT_EQ(host->user.alertsShown.size(), 2u);
    EXPECT_EQ(host->user.alertsShown[0].resourceId, 32520);
    EXPECT_EQ(host->user.alertsShown[0].result, 2);
    const auto objects = Objects(*host);
    ASSERT_EQ(objects.size(), 6u) << host->recorder.CallLogText();
    const std::string mesh = "rf_mesh", rebar = "rf_rebar";
    for (USize i = 0; i < 6; ++i) {
        const SimHost::ObjectPart& o = objects[i]->Object();
        EXPECT_EQ(o.libInd, host->libraries.IndexOfPart(i < 3 ? mesh : rebar)) << i;
        // Layer 1 on the left sides (the walls' way), layer 2 on the right.
        EXPECT_NEAR(o.angle, i < 3 ? 0.0 : std::acos(-1.0), 1e-12) << i;
        const GdlParam* same = SimHost::FindParam(o.params, "et_bSameDirection");
        ASSERT_NE(same, nullptr);
        EXPECT_EQ(same->number, i < 3 ? 1.0 : 0.0) << i;
        const GdlParam* coords = SimHost::FindParam(o.params, "et_coords");
        ASSERT_NE(coords, nullptr);
        EXPECT_EQ(coords->dim1, 5) << "the face: four corners and the closing row";
    }
    for (const API_Guid& w : walls)
        EXPECT_EQ(LinkedCount(*host, w), 2u);
    ASSERT_EQ(host->undo.steps.size(), 1u);
    EXPECT_EQ(host->undo.steps[0].name, host->session.AddOnString(32501, 1));
    ExpectJobsEnded();

    ASSERT_TRUE(host->UndoLastStep());
    EXPECT_TRUE(Objects(*host).empty());
}

// A user who cancels the settings dialog after two accepted layers gets
// nothing; every layer's parameter handle is freed (the fixture checks).
TEST_F(PlaceIntoWallsAndSlabsTest, CancelAfterTwoLayersPlacesNothingAndFreesTheLayers)
{
    Begin();
    const API_Guid wall = AddWall(*host, {0, 0}, {6, 0});
    const API_Guid slab = AddSlab(*host, Ring({{0, 5}, {4, 5}, {4, 8}, {0, 8}}));
    struct Case {
        API_Guid element;
        USize entry;
        double position;
    };
    for (const Case& c : {Case{wall, Wall, 2}, Case{slab, Slab, 1}}) {
        host->user.ChangeSelection({c.element});
        host->user.settingsDialogs.push_back(Layer("rf_mesh", {Number("iPosition", c.position)}));
        host->user.settingsDialogs.push_back(Layer("rf_rebar", {Number("iPosition", c.position)}));
        host->user.pointInputs.Give(Click(1, 0.1));
        host->user.pointInputs.Give(Click(1, 5.1));
        host->user.alertButtons = {2, 2};
        // No answer left: the third dialog is cancelled.
        ASSERT_TRUE(host->user.ClickPaletteEntry(c.entry));
        EXPECT_EQ(host->user.alertsShown.size(), 2u);
        host->user.alertsShown.clear();
        EXPECT_TRUE(host->user.pointInputs.answers.empty());
        EXPECT_TRUE(Objects(*host).empty());
        EXPECT_TRUE(host->undo.steps.empty());
    }
    EXPECT_TRUE(host->recorder.alerts.empty());
}

// Cancelling a pick ends the command: no alert, nothing placed.
TEST_F(PlaceIntoWallsAndSlabsTest, CancelledPickEndsTheCommand)
{
    Begin();
    const API_Guid walls[] = {AddWall(*host, {0, 0}, {6, 0}), AddWall(*host, {0, 4}, {6, 4})};
    host->user.ChangeSelection({walls[0], walls[1]});
    host->user.settingsDialogs.push_back(Layer("rf_mesh", {Number("iPosition", 2)}));
    host->user.pointInputs.Give(Click(3, 0.1));
    SimHost::PointAnswer cancel;
    cancel.cancel = true;
    host->user.pointInputs.Give(cancel);
    ASSERT_TRUE(host->user.ClickPaletteEntry(Wall));
    EXPECT_TRUE(host->user.alertsShown.empty());
    EXPECT_TRUE(Objects(*host).empty());
    EXPECT_TRUE(host->undo.steps.empty());
    EXPECT_TRUE(host->view.highlight.empty());
}

// With the scripted wall-geometry library beside the add-on copy, the Wall
// command's request reaches it, and the face it answers is the object's.
TEST_F(PlaceIntoWallsAndSlabsTest, WallRequestGoesThroughTheLibraryBesideTheAddOn)
{
    host->session.addOnFolder = std::make_unique<SimHost::AddOnFolder>(ADDON_PATH, true);
    std::filesystem::copy_file(VOMDIX_SCRIPTED_PATH, host->session.addOnFolder->Folder() + "/libVOMDIX.so");
    const std::string reply = host->session.addOnFolder->Folder() + "/reply.json";
    const std::string log = host->session.addOnFolder->Folder() + "/requests.log";
    // A face 2 long and 1 high, along the wall from its begin.
    std::ofstream(reply) << "{\"polygons\":[{\"loops\":[[{\"x\":0,\"z\":0},{\"x\":-2,\"z\":0},{\"x\":-2,\"z\":1},"
                            "{\"x\":0,\"z\":1},{\"x\":0,\"z\":0}]],\"outerIndex\":0}]}";
    setenv("VOMDIX_REPLY_FILE", reply.c_str(), 1);
    setenv("VOMDIX_REQUEST_LOG", log.c_str(), 1);
    unsetenv("VOMDIX_REPLY_LENGTH");
    {
        std::string error;
        ASSERT_TRUE(host->session.LoadAddOn(host->session.addOnFolder->AddOnPath(), error)) << error;
        ASSERT_TRUE(host->session.StartAddOn());
        OpenFromMenu();
        const API_Guid wall = AddWall(*host, {0, 0}, {6, 0});
        host->user.ChangeSelection({wall});
        host->user.settingsDialogs.push_back(Layer("rf_mesh", {Number("iPosition", 2)}));
        host->user.pointInputs.Give(Click(3, 0.1));
        ASSERT_TRUE(host->user.ClickPaletteEntry(Wall));
        host->session.UnloadAddOn(true);
    }
    unsetenv("VOMDIX_REPLY_FILE");
    unsetenv("VOMDIX_REQUEST_LOG");
    std::ifstream in(log);
    const std::string requests((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(requests.find("\"startdepth\""), std::string::npos) << requests;
    EXPECT_NE(requests.find("\"refline\""), std::string::npos) << requests;
    const auto objects = Objects(*host);
    ASSERT_EQ(objects.size(), 1u);
    const GdlParam* coords = SimHost::FindParam(objects[0]->Object().params, "et_coords");
    ASSERT_NE(coords, nullptr);
    ASSERT_EQ(coords->dim1, 5);
    ASSERT_EQ(coords->dim2, 3);
    double xMax = 0, yMax = 0;
    for (Int32 r = 0; r < coords->dim1; ++r) {
        // Each row is status, x, y.
        xMax = std::max(xMax, std::fabs(coords->numbers[static_cast<size_t>(r * 3 + 1)]));
        yMax = std::max(yMax, std::fabs(coords->numbers[static_cast<size_t>(r * 3 + 2)]));
    }
    EXPECT_NEAR(xMax, 2, 1e-9);
    EXPECT_NEAR(yMax, 1, 1e-9);
    ExpectJobsEnded();
}

// How far the face request reaches behind the layer: V + 0.5 on a side
// that runs the wall's way, 2 V + 0.8 against it when placing and 2 V + 0.2
// when the update asks again after the wall moved. The scripted library
// beside the add-on logs every request (each twice: length, then text).
TEST_F(PlaceIntoWallsAndSlabsTest, FaceRequestsReachBehindTheLayerAsPlacingAndUpdateEachAsk)
{
    host->session.addOnFolder = std::make_unique<SimHost::AddOnFolder>(ADDON_PATH, true);
    std::filesystem::copy_file(VOMDIX_SCRIPTED_PATH, host->session.addOnFolder->Folder() + "/libVOMDIX.so");
    const std::string reply = host->session.addOnFolder->Folder() + "/reply.json";
    const std::string log = host->session.addOnFolder->Folder() + "/requests.log";
    std::ofstream(reply) << "{\"polygons\":[{\"loops\":[[{\"x\":0,\"z\":0},{\"x\":-2,\"z\":0},{\"x\":-2,\"z\":1},"
                            "{\"x\":0,\"z\":1},{\"x\":0,\"z\":0}]],\"outerIndex\":0}]}";
    setenv("VOMDIX_REPLY_FILE", reply.c_str(), 1);
    setenv("VOMDIX_REQUEST_LOG", log.c_str(), 1);
    unsetenv("VOMDIX_REPLY_LENGTH");
    auto requests = [&] {
        std::vector<std::pair<double, double>> depths;  // startdepth, enddepth
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);) {
            picojson::value v;
            EXPECT_TRUE(picojson::parse(v, line).empty()) << line;
            depths.emplace_back(v.get("startdepth").get<double>(), v.get("enddepth").get<double>());
        }
        std::remove(log.c_str());
        return depths;
    };
    std::vector<std::pair<double, double>> placing, update;
    {
        std::string error;
        ASSERT_TRUE(host->session.LoadAddOn(host->session.addOnFolder->AddOnPath(), error)) << error;
        ASSERT_TRUE(host->session.StartAddOn());
        OpenFromMenu();
        const API_Guid wall = AddWall(*host, {0, 0}, {6, 0});
        host->user.ChangeSelection({wall});
        for (int layer = 0; layer < 2; ++layer)
            host->user.settingsDialogs.push_back(Layer("rf_mesh", {Number("iPosition", 2), Number("LayerPosY", 0.05)}));
        host->user.pointInputs.Give(Click(3, 0.1));   // left: the wall's way
        host->user.pointInputs.Give(Click(3, -0.1));  // right: against it
        host->user.alertButtons = {2, 1};
        ASSERT_TRUE(host->user.ClickPaletteEntry(Wall));
        placing = requests();

        SimHost::ElementEdit move;
        move.move = API_Coord{1, 2};
        std::string why;
        ASSERT_TRUE(host->user.ChangeElements(
            move.ActionName(), APINotifyElement_Edit, {wall},
            [&](SimHost::Element& e, std::string& reason) { return SimHost::ApplyEdit(move, host->model, e, reason); },
            why))
            << why;
        update = requests();
        host->session.UnloadAddOn(true);
    }
    unsetenv("VOMDIX_REPLY_FILE");
    unsetenv("VOMDIX_REQUEST_LOG");
    // The depth runs from the left face, the wall being one core skin 0.3
    // thick: the left layer lies 0.05 deep, the right one 0.25.
    const double left = 0.05, right = 0.25;
    const std::vector<std::pair<double, double>> placed = {
        {left, left + 0.5}, {left, left + 0.5}, {right, 2 * right + 0.8}, {right, 2 * right + 0.8}};
    const std::vector<std::pair<double, double>> updated = {
        {left, left + 0.5}, {left, left + 0.5}, {right, 2 * right + 0.2}, {right, 2 * right + 0.2}};
    ASSERT_EQ(placing.size(), placed.size());
    ASSERT_EQ(update.size(), updated.size());
    for (size_t i = 0; i < placed.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(placing[i].first, placed[i].first, 1e-12);
        EXPECT_NEAR(placing[i].second, placed[i].second, 1e-12);
        EXPECT_NEAR(update[i].first, updated[i].first, 1e-12);
        EXPECT_NEAR(update[i].second, updated[i].second, 1e-12);
    }
    ExpectJobsEnded();
}

// Elements of odd geometry: nothing crashes, nothing leaks, and an element
// whose outline gives nothing to place gets no object.
TEST_F(PlaceIntoWallsAndSlabsTest, OddGeometryNeitherCrashesNorPlacesGarbage)
{
    Begin();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const API_Guid zeroWall = AddWall(*host, {2, 2}, {2, 2});
    host->user.ChangeSelection({zeroWall});
    host->user.settingsDialogs.push_back(Layer("rf_mesh", {Number("iPosition", 2)}));
    host->user.pointInputs.Give(Click(2, 2.1));
    ASSERT_TRUE(host->user.ClickPaletteEntry(Wall));
    EXPECT_EQ(LinkedCount(*host, zeroWall), 0u);

    struct SlabCase {
        const char* what;
        SimHost::PolygonRings outline;
    };
    const SlabCase slabs[] = {
        {"three points in line", Ring({{0, 0}, {1, 0}, {2, 0}})},
        {"a NaN vertex", Ring({{0, 0}, {nan, 0}, {4, 4}, {0, 4}})},
        {"huge coordinates", Ring({{0, 0}, {1e300, 0}, {1e300, 1e300}, {0, 1e300}})},
    };
    for (const SlabCase& c : slabs) {
        SCOPED_TRACE(c.what);
        const API_Guid slab = AddSlab(*host, c.outline);
        host->user.ChangeSelection({slab});
        host->user.settingsDialogs.push_back(Layer("rf_mesh", {Number("iPosition", 1)}));
        host->user.pointInputs.Give(Click(1, 0.5));
        ASSERT_TRUE(host->user.ClickPaletteEntry(Slab));
        for (const SimHost::Element* o : Objects(*host))
            for (double v : SimHost::FindParam(o->Object().params, "et_coords")->numbers)
                EXPECT_TRUE(std::isfinite(v));
    }

    // A roof standing upright (90 degrees) has no plane to lie in.
    const API_Guid upright = AddRoof(*host, Ring({{0, 0}, {4, 0}, {4, 3}, {0, 3}}), std::acos(-1.0) / 2);
    const API_Guid nanRoof = AddRoof(*host, Ring({{0, 10}, {4, 10}, {nan, 13}, {0, 13}}), Slope);
    host->user.ChangeSelection({upright, nanRoof});
    host->user.settingsDialogs.push_back(Layer("rf_mesh", {Number("iPosition", 0)}));
    ASSERT_TRUE(host->user.ClickPaletteEntry(Roof));
    EXPECT_EQ(LinkedCount(*host, upright), 0u);
    EXPECT_EQ(LinkedCount(*host, nanRoof), 0u);
    ExpectJobsEnded();
}

}  // namespace PlaceIntoWallsAndSlabsTests
