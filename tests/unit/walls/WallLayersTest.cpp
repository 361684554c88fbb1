// Where a layer lies in a wall: the core offset, the start point, the arc
// angle and the layer's radius, read from descriptions of a fake host's
// walls, each job ended once.
#include "tests/unit/platform/GeometryTestSupport.hpp"
#include "tests/unit/walls/FakeWallHost.hpp"
#include "tests/unit/walls/ScriptedWallLibrary.hpp"
#include "addon/walls/WallLayers.hpp"
#include <cmath>
#include <functional>
#include <limits>

namespace {

using GeometryTestSupport::Pi;
constexpr double L = 0.03;

class WallLayersTest : public NoLeakTest {
protected:
    // Wall 1: from (0,0) to (4,0), skins 0.02, 0.20 (core), 0.05.
    FakeElement& Wall(bool flipped = false, double angle = 0)
    {
        FakeElement& e = host.Add(1, API_WallID);
        API_WallType& w = e.element.wall;
        w.begC = {0, 0};
        w.endC = {4, 0};
        w.flipped = flipped;
        w.angle = angle;
        w.thickness = 0.27;
        w.slantAlpha = Pi / 2;
        w.slantBeta = Pi / 2;
        w.structureKind = 1;
        w.compositeIndex = 4;
        w.offsetFromOutside = 0.1;
        e.skinCount = 3;
        e.skins = {{0, 0, 0, 0.02}, {0, 0, 2, 0.20}, {0, 0, 0, 0.05}};
        e.body.vertices = {{0, 0, 0}};
        return e;
    }

    // The wall bent into a quarter circle about the origin from (5,0) to
    // (0,5); its plan has arcs from corners 1 and 3, of radius 5 and 5 + t.
    FakeElement& CurvedWall(bool flipped, double outer)
    {
        FakeElement& e = Wall(flipped, Pi / 2);
        e.element.wall.begC = {5, 0};
        e.element.wall.endC = {0, 5};
        e.coords = {{0, 0}, {5, 0}, {0, 5}, {0, outer}, {outer, 0}, {5, 0}};
        e.ends = {0, 5};
        e.arcs = {{1, 2, Pi / 2}, {3, 4, -Pi / 2}};
        e.element.wall.poly = {5, 1, 2};
        return e;
    }

    API_Element Record() const { return host.elements.at(1).element; }

    FakeWallHost host;
    ScriptedWallLibrary library;
};

TEST_F(WallLayersTest, CoreOffset)
{
    struct Case {
        const char* name;
        bool curved;
        bool flipped;
        bool sameDir;
        double expected;
    } cases[] = {
        {"straight", false, false, true, 0.05},
        {"straight, other side", false, false, false, 0.19},
        {"straight, flipped", false, true, true, 0.19},
        {"straight, flipped, other side", false, true, false, 0.05},
        {"curved walks backward", true, false, true, 0.22},
        {"curved walks backward, other side", true, false, false, 0.08},
        {"curved, flipped, walks forward", true, true, true, 0.19},
        {"curved, flipped, other side", true, true, false, 0.05},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Wall(c.flipped, c.curved ? 0.5 : 0);
        EXPECT_NEAR(LocateCoreOffset(c.sameDir, Record(), L), c.expected, 1e-12);
        library.ExpectJobsEndedOnce(1);
    }
    // A wall of no composite is one core of its thickness.
    for (bool sameDir : {true, false}) {
        Wall().element.wall.structureKind = 0;
        EXPECT_NEAR(LocateCoreOffset(sameDir, Record(), L), sameDir ? L : 0.27 - L, 1e-12);
        library.ExpectJobsEndedOnce(1);
    }
}

// No core, no usable description: -1, and still one job ended once.
TEST_F(WallLayersTest, CoreOffsetFailures)
{
    const std::pair<const char*, std::function<void(FakeElement&)>> cases[] = {
        {"no core", [](FakeElement& e) { e.skins[1].flagBits = 3; }},
        {"no skins", [](FakeElement& e) { e.compositeReadable = false; }},
        {"two bodies", [](FakeElement& e) { e.bodies = 2; }},
        {"a slab", [](FakeElement& e) { e.element.header.typeID = API_SlabID; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        c.second(Wall());
        EXPECT_EQ(LocateCoreOffset(true, Record(), L), -1);
        library.ExpectJobsEndedOnce(1);
    }
}

// The start point of a straight wall: d along n = (0, 1) from the begin
// point with the same direction, as the location table gives it, upright
// and slanted (skins and L divided by the sine, the offset not).
TEST_F(WallLayersTest, StartPointOfAStraightWall)
{
    using D = std::function<double(double s, double c, double l, double off)>;
    struct Row {
        Int32 location;
        bool forward;
        D agree, otherwise;
    } rows[] = {
        {0, true, [](double s, double c, double l, double) { return s + c - l; }, [](double s, double, double l, double) { return -(s + l); }},
        {1, true, [](double s, double c, double l, double o) { return s + c - l - o; }, [](double s, double, double l, double o) { return -(s + l - o); }},
        {2, false, [](double s, double, double l, double) { return -(s + l); }, [](double s, double c, double l, double) { return s + c - l; }},
        {3, false, [](double, double c, double l, double) { return c - l; }, [](double, double, double l, double) { return -l; }},
        {4, false, [](double, double c, double l, double) { return c / 2 - l; }, [](double, double c, double l, double) { return c / 2 - l; }},
        {5, false, [](double, double, double l, double) { return -l; }, [](double, double c, double l, double) { return c - l; }},
    };
    for (const Row& row : rows)
        for (double slant : {Pi / 2, Pi / 3})
            for (bool flipped : {false, true}) {
                SCOPED_TRACE(::testing::Message() << "location " << row.location << " slant " << slant << " flipped " << flipped);
                FakeElement& e = Wall(flipped);
                e.element.wall.referenceLineLocation = row.location;
                e.element.wall.slantAlpha = slant;
                const double k = slant == Pi / 2 ? 1 : std::sin(slant);
                const double s = (row.forward ? 0.02 : 0.05) / k;
                const double d = flipped ? row.agree(s, 0.2 / k, L / k, 0.1) : row.otherwise(s, 0.2 / k, L / k, 0.1);
                double core = 0;
                const API_Coord p = LocateLayerStartPoint(true, Record(), L, core);
                EXPECT_NEAR(p.x, 0, 1e-12);
                EXPECT_NEAR(p.y, d, 1e-12);
                EXPECT_EQ(core, 0.2);
                library.ExpectJobsEndedOnce(1);
            }
}

TEST_F(WallLayersTest, StartPointCases)
{
    // From the end point on the other side: n = (0, -1); they agree.
    Wall();
    double core = 0;
    API_Coord p = LocateLayerStartPoint(false, Record(), L, core);
    EXPECT_NEAR(p.x, 4, 1e-12);
    EXPECT_NEAR(p.y, -(0.02 + 0.2 - L), 1e-12);

    // The values come from the wall as read again, the fallback from the
    // record passed.
    API_Element passed = Record();
    passed.wall.flipped = true;
    passed.wall.begC = {7, 7};
    p = LocateLayerStartPoint(true, passed, L, core);
    EXPECT_NEAR(p.y, -0.05, 1e-12);
    host.elements.at(1).skins[1].flagBits = 0;
    core = -9;
    p = LocateLayerStartPoint(true, passed, L, core);
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(p.y, 7);
    EXPECT_EQ(core, -9);
    library.ExpectJobsEndedOnce(3);

    // Failures: (NaN, NaN), the core output untouched, the job ended once.
    const std::pair<const char*, std::function<void(FakeElement&)>> failures[] = {
        {"no description", [](FakeElement& e) { e.bodies = 2; }},
        {"a location code of 6", [](FakeElement& e) { e.element.wall.referenceLineLocation = 6; }},
        {"a location code of -1", [](FakeElement& e) { e.element.wall.referenceLineLocation = -1; }},
        {"a reference line of no length", [](FakeElement& e) { e.element.wall.endC = {0, 0}; }},
        {"a curved plan of too few numbers", [](FakeElement& e) {
             e.element.wall.angle = 0.5;
             e.coords = {{0, 0}, {0, 0}, {4, 0}, {4, 1}, {0, 1}, {0, 0}};
             e.ends = {0, 5};
             e.element.wall.poly = {5, 1, 0};
         }},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.first);
        f.second(Wall());
        core = -9;
        p = LocateLayerStartPoint(true, Record(), L, core);
        EXPECT_TRUE(std::isnan(p.x) && std::isnan(p.y));
        EXPECT_EQ(core, -9);
        library.ExpectJobsEndedOnce(1);
    }
    // The wall read again fails (the description reads it twice first).
    Wall();
    host.getElementCalls = 0;
    host.failGetElementCall = 3;
    p = LocateLayerStartPoint(true, Record(), L, core);
    EXPECT_TRUE(std::isnan(p.x) && std::isnan(p.y));
    library.ExpectJobsEndedOnce(1);
}

// A curved wall's layer starts on the plan's closing edge: corners 4 -> 1
// at the begin with the same direction, corners 2 -> 3 at the end otherwise.
TEST_F(WallLayersTest, StartPointOfACurvedWall)
{
    struct Case {
        bool sameDir;
        bool flipped;
        API_Coord expected;
    } cases[] = {
        {true, false, {5.27 - (0.02 + L), 0}},
        {true, true, {5.27 - (0.05 + L), 0}},
        {false, false, {0, 5 + 0.05 + L}},
        {false, true, {0, 5 + 0.02 + L}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.sameDir << c.flipped);
        CurvedWall(c.flipped, 5.27);
        double core = 0;
        const API_Coord p = LocateLayerStartPoint(c.sameDir, Record(), L, core);
        EXPECT_NEAR(p.x, c.expected.x, 1e-12);
        EXPECT_NEAR(p.y, c.expected.y, 1e-12);
        EXPECT_EQ(core, 0.2);
        library.ExpectJobsEndedOnce(1);
    }
}

TEST_F(WallLayersTest, CurveAngle)
{
    Wall();
    EXPECT_EQ(ReadWallCurveAngle(FakeGuid(1)), 0);
    CurvedWall(false, 5.27);
    EXPECT_EQ(ReadWallCurveAngle(FakeGuid(1)), Pi / 2);
    Wall().bodies = 2;
    EXPECT_EQ(ReadWallCurveAngle(FakeGuid(1)), -1.0);
    Wall().element.header.typeID = API_SlabID;
    EXPECT_EQ(ReadWallCurveAngle(FakeGuid(1)), -1.0);
    library.ExpectJobsEndedOnce(0);
}

// The largest arc radius of the plan (5.2 of 5.0 and 5.2), less the skins
// the walk passes (forward when flipped), with or without the core. On a
// clockwise arc the walk's face is the inner one: the smallest radius plus
// the same depth.
TEST_F(WallLayersTest, CurveRadius)
{
    struct Case {
        bool sameDir;
        bool flipped;
        bool withCore;
        bool clockwise;
        double expected;
    } cases[] = {
        {true, false, true, false, 5.2 - (0.05 + 0.2) + L},
        {false, false, true, false, 5.2 - 0.05 - L},
        {true, true, true, false, 5.2 - (0.02 + 0.2) + L},
        {false, true, true, false, 5.2 - 0.02 - L},
        {true, false, false, false, 5.2 - 0.27 + L},
        {true, false, true, true, 5.0 + (0.05 + 0.2) - L},
        {false, false, true, true, 5.0 + 0.05 + L},
        {true, true, true, true, 5.0 + (0.02 + 0.2) - L},
        {false, true, true, true, 5.0 + 0.02 + L},
        {false, false, false, true, 5.0 + 0.27 + L},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.sameDir << c.flipped << c.withCore << c.clockwise);
        FakeElement& e = CurvedWall(c.flipped, 5.2);
        if (c.clockwise)
            e.element.wall.angle = -Pi / 2;  // the plan's radii stay 5.0 and 5.2
        if (!c.withCore)
            e.skins[1].flagBits = 0;
        EXPECT_NEAR(ReadWallCurveRadius(FakeGuid(1), c.sameDir, L, c.flipped), c.expected, 1e-12);
    }
    // No usable description leaves the radius at the lowest double.
    Wall().bodies = 2;
    EXPECT_EQ(ReadWallCurveRadius(FakeGuid(1), true, L, false), std::numeric_limits<double>::lowest());
}

}  // namespace
