// The wall description, written from a fake host.
#include "tests/unit/platform/GeometryTestSupport.hpp"
#include "tests/unit/walls/FakeWallHost.hpp"
#include "addon/walls/WallDescription.hpp"
#include <cmath>
#include <functional>
#include <limits>

namespace {

using GeometryTestSupport::Pi;

class WallDescriptionTest : public NoLeakTest {
protected:
    // Wall 1: straight from (0,0) to (4,0), one body of two vertices moved
    // by its matrix and the location offset, and a plan rectangle.
    FakeElement& StraightWall()
    {
        FakeElement& e = host.Add(1, API_WallID);
        API_WallType& w = e.element.wall;
        w.begC = {0, 0};
        w.endC = {4, 0};
        w.thickness = 0.25;
        w.height = 3;
        w.slantAlpha = Pi / 2;
        w.slantBeta = Pi / 2;
        w.poly = {5, 1, 0};
        e.body.vertices = {{0, 0, 0}, {4, 0, 0.5}};
        e.body.matrix[3] = 1;
        e.body.matrix[7] = 2;
        e.body.matrix[11] = 0.5;
        e.body.edges = {{1, 2}};
        e.body.vectors = {{0, 0, 2}};
        e.body.polygons = {{1, {1, -1}}, {-1, {1}}};
        e.coords = {{0, 0}, {0, 0}, {4, 0}, {4, -0.25}, {0, -0.25}, {0, 0}};
        e.ends = {0, 5};
        host.offset = {10, 20};
        return e;
    }

    // Wall 2: a half circle from (4,0) to (-4,0), flipped, slanted (the arc
    // wins), built from a composite of three skins.
    FakeElement& CurvedCompositeWall()
    {
        FakeElement& e = host.Add(2, API_WallID);
        API_WallType& w = e.element.wall;
        w.begC = {4, 0};
        w.endC = {-4, 0};
        w.angle = Pi;
        w.slantCode = 1;
        w.flipped = true;
        w.thickness = 0.875;
        w.height = 3;
        w.offsetFromOutside = 0.125;
        w.slantAlpha = Pi / 2;
        w.slantBeta = Pi / 2;
        w.structureKind = 1;
        w.compositeIndex = 7;
        e.skinCount = 3;
        // Flag words: only 2 alone marks the core.
        e.skins = {{0, 0, 0, 0.125}, {0, 0, 2, 0.25}, {0, 0, 3, 0.5}};
        e.body.vertices = {{1, 2, 3}};
        return e;
    }

    FakeWallHost host;
};

TEST_F(WallDescriptionTest, TextIsByteExact)
{
    StraightWall();
    CurvedCompositeWall();
    // A reversed vector negates every component, zeros included ("-0").
    EXPECT_EQ(BuildWallDescriptionJson(0.5, 1.25, FakeGuid(1)),
              R"({"angle":0,"composites":[{"core":1,"thickness":0.25}],"edges":[{"vert1":1,"vert2":2}],"enddepth":1.25,)"
              R"("flipped":false,"height":3,"normals":[{"x":0,"y":0,"z":1},{"x":-0,"y":-0,"z":-1}],"offsetfromoutside":0,)"
              R"("polygon2d":[0,0,0,0,4,0,0,4,-0.25,0,0,-0.25,0,0,0],"polygons":[[1,-1],[1]],)"
              R"("refline":{"end":{"x":4,"y":0},"start":{"x":0,"y":0}},"slantalpha":1.5707963267948966,)"
              R"("slantbeta":1.5707963267948966,"startdepth":0.5,"thickness":0.25,)"
              R"("vertices":[{"x":11,"y":22,"z":0.5},{"x":15,"y":22,"z":1}],"walltype":0})");
    EXPECT_EQ(BuildWallDescriptionJson(-1, -1, FakeGuid(2)),
              R"({"angle":3.1415926535897931,"composites":[{"core":0,"thickness":0.125},{"core":1,"thickness":0.25},)"
              R"({"core":0,"thickness":0.5}],"edges":[],"enddepth":-1,"flipped":true,"height":3,"normals":[],)"
              R"("offsetfromoutside":0.125,"origo":{"x":0,"y":0},"polygon2d":[],"polygons":[],)"
              R"("refline":{"end":{"x":-4,"y":0},"start":{"x":4,"y":0}},"slantalpha":1.5707963267948966,)"
              R"("slantbeta":1.5707963267948966,"startdepth":-1,"thickness":0.875,"vertices":[{"x":11,"y":22,"z":3}],)"
              R"("walltype":3})");
    EXPECT_EQ(host.disposedDefs, 1);
}

// Anything that is not a readable wall with exactly one body, and a wall
// with a number JSON cannot hold.
TEST_F(WallDescriptionTest, NoReadableWallGivesEmptyObject)
{
    const std::pair<const char*, std::function<void(FakeElement&)>> cases[] = {
        {"a slab", [](FakeElement& e) { e.element.header.typeID = API_SlabID; }},
        {"an object", [](FakeElement& e) { e.element.header.typeID = API_ObjectID; }},
        {"two bodies", [](FakeElement& e) { e.bodies = 2; }},
        {"no 3D information", [](FakeElement& e) { e.bodyReadable = false; }},
        {"a body part that cannot be read", [](FakeElement& e) { e.body.vectors.clear(); }},
        {"a thickness that is not a number", [](FakeElement& e) { e.element.wall.thickness = std::nan(""); }},
        {"an infinite vertex", [](FakeElement& e) { e.body.vertices[0].x = HUGE_VAL; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        FakeElement& e = StraightWall();
        c.second(e);
        EXPECT_EQ(BuildWallDescriptionJson(-1, -1, FakeGuid(1)), "{}");
    }
    EXPECT_EQ(BuildWallDescriptionJson(-1, -1, FakeGuid(99)), "{}");
}

TEST_F(WallDescriptionTest, WallTypeAndCentre)
{
    struct Case {
        double angle;
        Int32 slantCode;
        const char* expected;  // what the text holds from "walltype" on, or about "origo"
    } cases[] = {
        {0, 0, R"("walltype":0})"},
        {0, 1, R"("walltype":1})"},
        {0, 2, R"("walltype":2})"},
        {0, 5, R"("walltype":0})"},
        {5e-7, 2, R"("walltype":2})"},
        // Curved beyond 1e-6, but too flat for a centre.
        {-5e-6, 1, R"("origo":{"x":0,"y":0})"},
        {Pi / 2, 2, R"("walltype":3})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        FakeElement& e = StraightWall();
        e.element.wall.angle = c.angle;
        e.element.wall.slantCode = c.slantCode;
        const std::string text = BuildWallDescriptionJson(-1, -1, FakeGuid(1));
        EXPECT_NE(text.find(c.expected), std::string::npos) << text;
        EXPECT_EQ(text.find("origo") != std::string::npos, std::fabs(c.angle) > 1e-6);
    }
}

TEST_F(WallDescriptionTest, CompositeSkins)
{
    struct Case {
        const char* name;
        Int16 count;
        size_t inHandle;
        bool readable;
        size_t expected;
    } cases[] = {
        {"all skins", 3, 3, true, 3},
        {"fewer in the handle than counted", 3, 2, true, 2},
        {"fewer counted than in the handle", 1, 3, true, 1},
        {"a negative count", -1, 3, true, 0},
        {"an unreadable composite", 3, 3, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeElement& e = CurvedCompositeWall();
        e.skinCount = c.count;
        e.skins.resize(c.inHandle);
        e.compositeReadable = c.readable;
        const std::vector<WallComposite> skins = CollectWallComposites(e.element);
        ASSERT_EQ(skins.size(), c.expected);
        const double thickness[] = {0.125, 0.25, 0.5};
        for (size_t i = 0; i < skins.size(); ++i) {
            EXPECT_EQ(skins[i].thickness, thickness[i]);
            EXPECT_EQ(skins[i].core, i == 1 ? 1 : 0);
        }
    }
    // A wall of no composite is one core skin of its own thickness.
    FakeElement& basic = StraightWall();
    basic.element.wall.structureKind = 2;
    const std::vector<WallComposite> one = CollectWallComposites(basic.element);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].thickness, 0.25);
    EXPECT_EQ(one[0].core, 1);
}

TEST_F(WallDescriptionTest, PlanPolygonFlattened)
{
    FakeElement& e = StraightWall();
    std::vector<double> flat;
    ASSERT_EQ(FlattenWallPolygon2D(e.element, e.element.wall.poly, flat), NoError);
    EXPECT_EQ(flat, (std::vector<double>{0, 0, 0, 0, 4, 0, 0, 4, -0.25, 0, 0, -0.25, 0, 0, 0}));

    // An arc from vertex 2 to 3 (a half circle over the right end); a
    // record that does not join neighbours is not taken.
    e.arcs = {{1, 3, 1.0}, {2, 3, Pi}, {2, 3, 0.5}};
    flat.clear();
    ASSERT_EQ(FlattenWallPolygon2D(e.element, API_Polygon{5, 1, 3}, flat), NoError);
    ASSERT_EQ(flat.size(), 19u);
    const double arcGroup[] = {1, 4, 0, 4, -0.125, 0.125, Pi};
    for (size_t i = 0; i < 7; ++i)
        EXPECT_NEAR(flat[3 + i], arcGroup[i], 1e-12) << i;
    EXPECT_EQ(flat[10], 0);  // the next vertex is plain

    struct Failing {
        const char* name;
        std::function<void(FakeElement&)> change;
        GSErrCode result;
    } failing[] = {
        {"not a wall", [](FakeElement& x) { x.element.header.typeID = API_SlabID; }, NotAWallError},
        {"no memo", [](FakeElement& x) { x.memoReadable = false; }, APIERR_BADID},
        {"no ring ends", [](FakeElement& x) { x.ends.clear(); }, NoError},
        {"no coordinates", [](FakeElement& x) { x.coords.clear(); }, NoError},
        {"ring end past the coordinates", [](FakeElement& x) { x.ends = {0, 50}; }, NoError},
    };
    for (const Failing& f : failing) {
        SCOPED_TRACE(f.name);
        FakeElement& w = StraightWall();
        f.change(w);
        flat.clear();
        EXPECT_EQ(FlattenWallPolygon2D(w.element, w.element.wall.poly, flat), f.result);
        // A ring end beyond the coordinates is cut to what they hold.
        EXPECT_EQ(flat.size(), std::string(f.name) == "ring end past the coordinates" ? 15u : 0u);
    }
}

TEST(WallDescriptionMath, NormalizeVector3)
{
    struct Case {
        API_Coord3D in, out;
    } cases[] = {
        {{3, 0, 4}, {0.6, 0, 0.8}},
        {{0, -2, 0}, {0, -1, 0}},
        {{0, 0, 0}, {1, 0, 0}},
        {{1e-13, 0, 0}, {1, 0, 0}},
        {{2e-12, 0, 0}, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        const API_Coord3D n = NormalizeVector3(c.in.x, c.in.y, c.in.z);
        EXPECT_NEAR(n.x, c.out.x, 1e-15);
        EXPECT_NEAR(n.y, c.out.y, 1e-15);
        EXPECT_NEAR(n.z, c.out.z, 1e-15);
    }
}

TEST(WallDescriptionMath, ArcCentreFromChord)
{
    struct Case {
        double angle;
        bool result;
        API_Coord centre;
    } cases[] = {
        {Pi / 2, true, {1, 1}},
        {-Pi / 2, true, {1, -1}},
        {Pi, true, {1, 0}},
        {-Pi + 5e-6, true, {1, 0}},      // a half turn within 1e-5
        {9e-6, false, {0, 0}},
        {-9e-6, false, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        API_Coord centre{7, 7};
        EXPECT_EQ(ArcCentreFromChord({0, 0}, {2, 0}, c.angle, centre), c.result);
        EXPECT_NEAR(centre.x, c.centre.x, 1e-12);
        EXPECT_NEAR(centre.y, c.centre.y, 1e-12);
    }
    // Beyond the half-turn tolerance the centre comes from the tangent.
    API_Coord centre{0, 0};
    EXPECT_TRUE(ArcCentreFromChord({0, 0}, {2, 0}, Pi - 5e-5, centre));
    EXPECT_GT(std::fabs(centre.y), 1e-5);
}

}  // namespace
