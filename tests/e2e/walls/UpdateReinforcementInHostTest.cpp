// The update and the deletion of linked reinforcement, run on the add-on's
// own objects against the stand-in host: objects are placed by the placing
// code, the host element is changed in the model, and the update runs as
// the element notification runs it. An updated object stands where the
// changed element's geometry puts it, worked out by hand in each case, and
// equals what placing would give on the changed element.
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostQueries.hpp"
#include "addon/host/Owners.hpp"
#include "addon/walls/HostReinforcement.hpp"
#include "addon/walls/SidePicking.hpp"
#include "addon/walls/UpdateReinforcement.hpp"
#include "simhost/core/UndoHistory.hpp"
#include "tests/e2e/schedule/InHostFixture.hpp"
#include "platform/gs/MathConstants.hpp"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include "tests/support/Shapes.hpp"

namespace {

using SimHost::GdlParam;
using SimHost::GdlParams;

using GS::Pi;
const double Slope = Pi / 6;

// The alert as the host shows it (UTF-8), in the host's language.
std::string RemovedMessage()
{
    return HOST_VERSION == 25
               ? "Ve\xC4\x8Dravninska streha je bila mo\xC4\x8Dno spremenjena, obstoje\xC4\x8D" "a armatura je bila odstranjena."
               : "Multi-plane roof was modified greatly, existing reinforcement was removed.";
}

using TestShapes::Rectangle;

SimHost::RoofPlaneDef Plane(Int32 id, double x0)
{
    SimHost::RoofPlaneDef plane;
    plane.partId = {0, 0, id};
    plane.angle = Slope;
    plane.level = 2.0;
    plane.outline = Rectangle(x0, 0, x0 + 10, 5);
    plane.pivotBegin = plane.outline.contour[0];
    plane.pivotEnd = plane.outline.contour[1];
    return plane;
}

class UpdateReinforcementTest : public InHostTest {
protected:
    void Release() override { host->wallJobs.Report(host->recorder); }

    API_Guid AddWall(API_Coord begin, API_Coord end, double arc = 0)
    {
        SimHost::Element& e = host->model.Add(API_WallID);
        SimHost::WallPart& w = *e.As<SimHost::WallPart>();
        w.record.begC = begin;
        w.record.endC = end;
        w.record.angle = arc;
        return e.guid;
    }
    API_WallType& WallOf(const API_Guid& wall) { return host->model.Find(wall)->As<SimHost::WallPart>()->record; }

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
    API_Guid AddRoofOfPlanes(Int32 planes)
    {
        SimHost::Element& e = host->model.Add(API_RoofID);
        SimHost::RoofPart roof;
        roof.roofClass = 1;
        for (Int32 i = 0; i < planes; ++i)
            roof.planes.push_back(Plane(i + 1, 10.0 * i));
        e.part = roof;
        return e.guid;
    }
    API_Guid AddPlaneRoof()
    {
        SimHost::Element& e = host->model.Add(API_RoofID);
        SimHost::RoofPart roof;
        roof.level = 2.0;
        roof.angle = Slope;
        roof.outline = Rectangle(0, 0, 10, 5);
        roof.pivotBegin = roof.outline.contour[0];
        roof.pivotEnd = roof.outline.contour[1];
        e.part = roof;
        return e.guid;
    }
    SimHost::RoofPart& RoofOf(const API_Guid& roof) { return *host->model.Find(roof)->As<SimHost::RoofPart>(); }

    // The wall's side as a click nearer A (or B) picks it.
    API_Sector Side(const API_Guid& wall, bool sideA)
    {
        API_Element e;
        EXPECT_EQ(ReadElement(wall, e), NoError);
        return DirectedWallSide(ReadWallSides(wall, e.wall), e.wall.begC, e.wall.endC, sideA);
    }

    // Places one layer of the part on the element, as the command does,
    // and answers the objects it created.
    std::vector<API_Guid> PlaceOn(const API_Guid& element, const API_Sector& sector, const char* part = "rf_mesh",
                                  const GdlParams& params = {})
    {
        SimHost::Element& seed = Place(part, params);
        const API_Guid seedGuid = seed.guid;
        API_Element objectTemplate;
        EXPECT_EQ(ReadElement(seedGuid, objectTemplate), NoError);
        const size_t before = host->recorder.createdElements.size();
        {
            MemoOwner memo;
            EXPECT_EQ(HostGetMemo(seedGuid, &memo.Get(), APIMemoMask_AddPars), NoError);
            SimHost::NotificationScope scope(host->undo);
            GenerateHostReinforcement(element, objectTemplate, memo->params, sector);
        }
        host->model.Remove(seedGuid);
        return std::vector<API_Guid>(host->recorder.createdElements.begin() + static_cast<std::ptrdiff_t>(before),
                                     host->recorder.createdElements.end());
    }

    void Update(const API_Guid& element)
    {
        SimHost::NotificationScope scope(host->undo);
        UpdateLinkedReinforcement(element);
    }

    const SimHost::Element& Object(const API_Guid& guid) { return *host->model.Find(guid); }
    static double Param(const SimHost::Element& e, const char* name)
    {
        const GdlParam* p = SimHost::FindParam(e.Object().params, name);
        return p == nullptr ? std::nan("") : p->number;
    }
    static std::vector<double> Coords(const SimHost::Element& e)
    {
        const GdlParam* p = SimHost::FindParam(e.Object().params, "et_coords");
        return p == nullptr ? std::vector<double>{} : p->numbers;
    }
    Int64 Calls(const char* slot) const
    {
        return std::count(host->recorder.callLog.begin(), host->recorder.callLog.end(), std::string(slot));
    }

    // The object's start point, turn (radians) and level.
    void ExpectPlacement(const API_Guid& object, API_Coord start, double angle, double level)
    {
        const SimHost::ObjectPart& o = Object(object).Object();
        EXPECT_NEAR(o.pos.x, start.x, 1e-9);
        EXPECT_NEAR(o.pos.y, start.y, 1e-9);
        EXPECT_NEAR(o.angle, angle, 1e-9);
        EXPECT_NEAR(o.level, level, 1e-9);
    }

    // The outline in the object's frame: its corners in order, each row
    // (status 0, x, y), and the closing row (-1, first corner).
    void ExpectOutline(const API_Guid& object, const std::vector<API_Coord>& corners)
    {
        std::vector<double> expected;
        for (const API_Coord& c : corners)
            expected.insert(expected.end(), {0, c.x, c.y});
        expected.insert(expected.end(), {-1, corners.at(0).x, corners.at(0).y});
        const std::vector<double> found = Coords(Object(object));
        ASSERT_EQ(found.size(), expected.size());
        for (size_t i = 0; i < found.size(); ++i)
            EXPECT_NEAR(found[i], expected[i], 1e-9) << "et_coords " << i;
    }

    // The updated object against a fresh one placed on the element as it
    // is now: place, angle, level, outline and the values placing writes.
    void ExpectAsPlaced(const API_Guid& updated, const API_Guid& fresh)
    {
        const SimHost::Element& u = Object(updated);
        const SimHost::Element& f = Object(fresh);
        EXPECT_NEAR(u.Object().pos.x, f.Object().pos.x, 1e-9);
        EXPECT_NEAR(u.Object().pos.y, f.Object().pos.y, 1e-9);
        EXPECT_NEAR(u.Object().angle, f.Object().angle, 1e-12);
        EXPECT_NEAR(u.Object().level, f.Object().level, 1e-12);
        EXPECT_EQ(u.story, f.story);
        const std::vector<double> uc = Coords(u), fc = Coords(f);
        ASSERT_EQ(uc.size(), fc.size());
        for (size_t i = 0; i < uc.size(); ++i)
            EXPECT_NEAR(uc[i], fc[i], 1e-9) << "et_coords " << i;
        for (const char* name : {"et_thickness", "ironAngleY", "et_curveangle", "et_curveradius"})
            EXPECT_NEAR(Param(u, name), Param(f, name), 1e-9) << name;
    }
};

TEST_F(UpdateReinforcementTest, MovedWallTakesItsObjectsOnBothSidesAlong)
{
    const API_Guid wall = AddWall({0, 0}, {4, 0});
    const API_Guid onA = PlaceOn(wall, Side(wall, true)).at(0);
    const API_Guid onB = PlaceOn(wall, Side(wall, false)).at(0);
    ASSERT_NE(Param(Object(onA), "et_bSameDirection"), Param(Object(onB), "et_bSameDirection"));

    // Moved, turned a quarter, raised, made thicker.
    API_WallType& w = WallOf(wall);
    w.begC = {10, 5};
    w.endC = {10, 11};
    w.bottomOffset = 0.4;
    w.thickness = 0.4;
    host->recorder.callLog.clear();
    Update(wall);
    EXPECT_EQ(Calls("ChangeElement"), 2);

    // Each stays on its own face. The wall now runs up from (10, 5) to
    // (10, 11), 6 long, 3 high, and lies right of its reference line: x
    // from 10 to 10.4. The layer lies 0.03 inside each face.
    // - The side along the wall (flag 1) starts at the wall's begin on the
    //   face x = 10: (10 + 0.03, 5), turned as the wall, 90 degrees.
    // - The other side starts at the wall's end on the face x = 10.4:
    //   (10.4 - 0.03, 11), turned the other way, -90 degrees.
    // Both at the wall's bottom offset 0.4, the core 0.4 thick, upright
    // (ironAngleY 90 degrees), the face 6 x 3 in the object's frame.
    ASSERT_EQ(Param(Object(onB), "et_bSameDirection"), 1);
    ExpectPlacement(onB, {10.03, 5}, Pi / 2, 0.4);
    ExpectOutline(onB, {{0, 0}, {6, 0}, {6, 3}, {0, 3}});
    ExpectPlacement(onA, {10.37, 11}, -Pi / 2, 0.4);
    ExpectOutline(onA, {{6, 0}, {6, 3}, {0, 3}, {0, 0}});
    for (const API_Guid& g : {onA, onB}) {
        EXPECT_NEAR(Param(Object(g), "et_thickness"), 0.4, 1e-12);
        EXPECT_NEAR(Param(Object(g), "ironAngleY"), Pi / 2, 1e-12);
    }

    const API_Guid freshA = PlaceOn(wall, Side(wall, true)).at(0);
    const API_Guid freshB = PlaceOn(wall, Side(wall, false)).at(0);
    ExpectAsPlaced(onA, freshA);
    ExpectAsPlaced(onB, freshB);
}

TEST_F(UpdateReinforcementTest, WallSlantAndCurveDecideWhetherObjectsFollow)
{
    // A straight wall whose slant changes: ironAngleY follows it.
    const API_Guid straight = AddWall({0, 0}, {5, 0});
    const API_Guid onStraight = PlaceOn(straight, Side(straight, false)).at(0);
    const double slant = 80 * Pi / 180;
    WallOf(straight).slantAlpha = slant;
    WallOf(straight).slantCode = 2;
    Update(straight);
    // The side along the wall leans with it: ironAngleY is the slant, 80
    // degrees. Its layer, 0.03 inside the face measured square to it, lies
    // 0.03 / sin 80 = 0.030463 from the face in the plan: the start point
    // (0, -0.030463).
    ASSERT_EQ(Param(Object(onStraight), "et_bSameDirection"), 1);
    EXPECT_NEAR(Param(Object(onStraight), "ironAngleY"), 80 * Pi / 180, 1e-12);
    ExpectPlacement(onStraight, {0, -0.03 / std::sin(slant)}, 0, 0);

    // A curved wall whose arc angle is positive, leaning by 80 degrees: its
    // objects are never changed, whatever else changed.
    const API_Guid curved = AddWall({0, 10}, {6, 10}, Pi / 3);
    const std::vector<API_Guid> objects = {PlaceOn(curved, Side(curved, true)).at(0),
                                           PlaceOn(curved, Side(curved, false)).at(0)};
    std::vector<SimHost::Element> before;
    for (const API_Guid& g : objects)
        before.push_back(Object(g));
    WallOf(curved).slantAlpha = slant;
    WallOf(curved).slantCode = 2;
    WallOf(curved).bottomOffset = 1.0;
    host->recorder.callLog.clear();
    Update(curved);
    EXPECT_EQ(Calls("ChangeElement"), 0);
    for (size_t i = 0; i < objects.size(); ++i) {
        EXPECT_EQ(Object(objects[i]).Object().level, before[i].Object().level);
        EXPECT_EQ(Coords(Object(objects[i])), Coords(before[i]));
    }
}

TEST_F(UpdateReinforcementTest, SideComesFromTheObjectsFlagWhichIsNeverRewritten)
{
    // The object with flag 1 lies on the side left of the reference line.
    const API_Guid wall = AddWall({0, 0}, {4, 0});
    API_Guid object = PlaceOn(wall, Side(wall, false)).at(0);
    if (Param(Object(object), "et_bSameDirection") != 1)
        object = PlaceOn(wall, Side(wall, true)).at(0);
    ASSERT_EQ(Param(Object(object), "et_bSameDirection"), 1);
    // The wall turned end for end: the left side is now the other face.
    API_WallType& w = WallOf(wall);
    std::swap(w.begC, w.endC);
    w.bottomOffset = 0.1;
    Update(wall);
    EXPECT_EQ(Param(Object(object), "et_bSameDirection"), 1);
    // The wall now runs from (4, 0) to (0, 0) and lies right of it: y from
    // 0 to 0.3. The object stays on the side along the wall, 0.03 inside
    // the face y = 0: start (4, 0.03), turned 180 degrees, at the bottom
    // offset 0.1, its face 4 x 3.
    ExpectPlacement(object, {4, 0.03}, Pi, 0.1);
    ExpectOutline(object, {{0, 0}, {4, 0}, {4, 3}, {0, 3}});
    for (bool sideA : {true, false}) {
        const API_Guid fresh = PlaceOn(wall, Side(wall, sideA)).at(0);
        if (Param(Object(fresh), "et_bSameDirection") == 1)
            ExpectAsPlaced(object, fresh);
    }
}

TEST_F(UpdateReinforcementTest, ObjectWithoutItsSideFlagOnlyFollowsTheWallsLevel)
{
    const API_Guid wall = AddWall({0, 0}, {4, 0});
    const API_Guid object = PlaceOn(wall, Side(wall, true)).at(0);
    auto& params = host->model.Find(object)->Object().params;
    params.erase(std::remove_if(params.begin(), params.end(),
                                [](const GdlParam& p) { return p.name == "et_bSameDirection"; }),
                 params.end());
    const SimHost::Element before = Object(object);
    WallOf(wall).begC = {1, 1};
    WallOf(wall).bottomOffset = 0.25;
    Update(wall);
    const SimHost::Element& after = Object(object);
    EXPECT_EQ(after.Object().level, 0.25);
    EXPECT_EQ(after.Object().pos.x, before.Object().pos.x);
    EXPECT_EQ(after.Object().pos.y, before.Object().pos.y);
    EXPECT_EQ(after.Object().angle, before.Object().angle);
    EXPECT_EQ(Coords(after), Coords(before));
    EXPECT_EQ(Param(after, "et_thickness"), Param(before, "et_thickness"));
}

TEST_F(UpdateReinforcementTest, SlabObjectTakesTheOutlinesFirstEdgeWhateverEdgeWasPicked)
{
    const API_Guid slab = AddSlab(Rectangle(0, 0, 6, 4));
    // The third edge, (6, 4) -> (0, 4).
    const API_Guid object = PlaceOn(slab, API_Sector{{6, 4}, {0, 4}}, "rf_mesh", {}).at(0);
    ASSERT_NEAR(Object(object).Object().angle, Pi, 1e-12);
    // The user's change, announced as the host does: the slab as it was
    // before is at hand while the update runs.
    host->session.elementEventHandler = [](const API_NotifyElementType* event) -> GSErrCode {
        UpdateLinkedReinforcement(event->elemHead.guid);
        return NoError;
    };
    std::string why;
    ASSERT_TRUE(host->user.ChangeElements(
        "Edit", APINotifyElement_Edit, {slab},
        [](SimHost::Element& e, std::string&) {
            SimHost::SlabPart& part = *e.As<SimHost::SlabPart>();
            part.outline.contour = {{2, 1}, {2, 7}, {-2, 7}, {-2, 1}};
            part.thickness = 0.3;
            return true;
        },
        why))
        << why;
    host->session.elementEventHandler = nullptr;
    EXPECT_TRUE(host->recorder.alerts.empty());
    const SimHost::Element& o = Object(object);
    EXPECT_NEAR(o.Object().angle, Pi / 2, 1e-12);
    EXPECT_EQ(o.Object().pos.x, 2);
    EXPECT_EQ(o.Object().pos.y, 1);
    EXPECT_EQ(Param(o, "et_thickness"), 0.3);
    // The outline in the object's frame: along x first, 6 long.
    const std::vector<double> c = Coords(o);
    ASSERT_GE(c.size(), 6u);
    EXPECT_NEAR(c[4], 6, 1e-9);
    EXPECT_NEAR(c[5], 0, 1e-9);
}

TEST_F(UpdateReinforcementTest, PlaneRoofObjectFollowsAndAnotherClassIsLeftAlone)
{
    const API_Guid roof = AddPlaneRoof();
    const API_Guid object = PlaceOn(roof, API_Sector{}).at(0);
    RoofOf(roof).level = 3.0;
    RoofOf(roof).posSign = false;
    Update(roof);
    // The plane rises from its pivot line (0, 0) -> (10, 0) by 30 degrees,
    // now on the other side: the object starts at the outline's first
    // corner (0, 0), on the pivot line, turned 0, at the new level 3 plus
    // the thickness measured upright, 0.2 / cos 30 = 0.230940; it leans by
    // -30 degrees. The outline 10 x 5 in plan is 5 / cos 30 = 5.773503 long
    // up the slope.
    ExpectPlacement(object, {0, 0}, 0, 3 + 0.2 / std::cos(Slope));
    EXPECT_NEAR(Param(Object(object), "ironAngleY"), -Pi / 6, 1e-12);
    EXPECT_NEAR(Param(Object(object), "et_thickness"), 0.2, 1e-12);
    const double upSlope = 5 / std::cos(Slope);
    ExpectOutline(object, {{0, 0}, {10, 0}, {10, upSlope}, {0, upSlope}});
    const API_Guid fresh = PlaceOn(roof, API_Sector{}).at(0);
    ExpectAsPlaced(object, fresh);

    RoofOf(roof).roofClass = 2;
    RoofOf(roof).level = 9.0;
    const SimHost::Element before = Object(object);
    host->recorder.callLog.clear();
    Update(roof);
    EXPECT_EQ(Calls("ChangeElement"), 0);
    EXPECT_EQ(Calls("DeleteElements"), 0);
    EXPECT_EQ(Object(object).Object().level, before.Object().level);
}

TEST_F(UpdateReinforcementTest, RoofOfSeveralPlanesKeepsMatchesAndDropsTheRest)
{
    const std::string removed = RemovedMessage();
    struct Case {
        const char* name;
        std::function<void(SimHost::RoofPart&, SimHost::Model&, const std::vector<API_Guid>&)> change;
        size_t kept;  // objects left, one per plane
        bool alert;
    };
    const std::vector<Case> cases = {
        {"planes moved", [](SimHost::RoofPart& r, SimHost::Model&, const std::vector<API_Guid>&) {
             for (auto& p : r.planes) p.level = 4.0;
         }, 3, false},
        {"plane removed", [](SimHost::RoofPart& r, SimHost::Model&, const std::vector<API_Guid>&) {
             r.planes.pop_back();
         }, 2, false},
        {"plane added", [](SimHost::RoofPart& r, SimHost::Model&, const std::vector<API_Guid>&) {
             r.planes.push_back(Plane(9, 40));
         }, 0, true},
        {"user data of another version", [](SimHost::RoofPart&, SimHost::Model& m, const std::vector<API_Guid>& objects) {
             for (const API_Guid& g : objects) {
                 m.Find(g)->userData->version = 7;
                 m.Find(g)->userData->platformSign = 0x1234;
             }
         }, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const API_Guid roof = AddRoofOfPlanes(3);
        // Two settings: two objects per plane, the first of each pair in
        // link order is the one a plane finds.
        const std::vector<API_Guid> first = PlaceOn(roof, API_Sector{});
        const std::vector<API_Guid> second = PlaceOn(roof, API_Sector{});
        ASSERT_EQ(first.size(), 3u);
        ASSERT_EQ(second.size(), 3u);
        c.change(RoofOf(roof), host->model, first);
        host->recorder.alerts.clear();
        Update(roof);
        for (const API_Guid& g : second)
            EXPECT_EQ(host->model.Find(g), nullptr) << "the second object of a plane stays";
        size_t kept = 0;
        for (const API_Guid& g : first)
            if (const SimHost::Element* e = host->model.Find(g)) {
                ++kept;
                EXPECT_NEAR(e->Object().level, RoofOf(roof).planes[0].level + 0.2 / std::cos(Slope), 1e-9);
            }
        EXPECT_EQ(kept, c.kept);
        EXPECT_EQ(host->recorder.alerts, c.alert ? std::vector<std::string>{removed} : std::vector<std::string>{});
    }
}

TEST_F(UpdateReinforcementTest, PlaneRoofTurnedIntoPlanesLosesEverythingWithOneMessage)
{
    const API_Guid roof = AddPlaneRoof();
    const std::vector<API_Guid> objects = PlaceOn(roof, API_Sector{});
    PlaceOn(roof, API_Sector{});
    RoofOf(roof).roofClass = 1;
    RoofOf(roof).planes = {Plane(1, 0), Plane(2, 10)};
    Update(roof);
    for (const SimHost::Element& e : host->model.Elements())
        EXPECT_EQ(e.As<SimHost::ObjectPart>(), nullptr);
    EXPECT_EQ(host->recorder.alerts, std::vector<std::string>{RemovedMessage()});
}

TEST_F(UpdateReinforcementTest, DeletionTakesEveryLinkedObjectInOneCall)
{
    const API_Guid wall = AddWall({0, 0}, {4, 0});
    const API_Guid other = AddWall({0, 5}, {4, 5});
    for (int i = 0; i < 60; ++i) {
        const API_Guid g = Place("rf_mesh").guid;
        host->model.links.Link(wall, g);
    }
    const API_Guid kept = Place("rf_mesh").guid;
    host->model.links.Link(other, kept);
    host->recorder.callLog.clear();
    {
        SimHost::NotificationScope scope(host->undo);
        DeleteLinkedReinforcement(wall);
        // A wall without reinforcement: nothing is asked to change.
        DeleteLinkedReinforcement(AddWall({9, 9}, {10, 9}));
        UpdateLinkedReinforcement(AddWall({9, 19}, {10, 19}));
    }
    EXPECT_EQ(Calls("DeleteElements"), 1);
    EXPECT_EQ(Calls("ChangeElement"), 0);
    EXPECT_EQ(host->recorder.deletedElements.size(), 60u);
    EXPECT_NE(host->model.Find(kept), nullptr);
}

}  // namespace
