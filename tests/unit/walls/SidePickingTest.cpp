// Picking a wall side or a slab edge: the sides of a wall, the part of a
// side facing the other, the side and edge a click chooses, and the rubber
// line showing the same choice while the cursor moves.
#include "addon/host/HostBinding.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/walls/SidePicking.hpp"
#include "platform/gs/Memory.hpp"
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

void ExpectSector(const API_Sector& s, API_Coord c1, API_Coord c2, const char* what = "")
{
    EXPECT_NEAR(s.c1.x, c1.x, 1e-9) << what;
    EXPECT_NEAR(s.c1.y, c1.y, 1e-9) << what;
    EXPECT_NEAR(s.c2.x, c2.x, 1e-9) << what;
    EXPECT_NEAR(s.c2.y, c2.y, 1e-9) << what;
}

API_WallType StraightWall(API_Coord begin, API_Coord end, double thickness, double offsetFromOutside, bool flipped)
{
    API_WallType w;
    std::memset(static_cast<void*>(&w), 0, sizeof w);
    w.begC = begin;
    w.endC = end;
    w.thickness = thickness;
    w.offsetFromOutside = offsetFromOutside;
    w.flipped = flipped;
    return w;
}

TEST(PickSideEndpointsTest, ShortenedToTheOppositeSideWhereItsCornersProjectInside)
{
    ExpectSector(PickSideEndpoints({{0, 0}, {10, 0}}, {{2, 1}, {8, 1}}), {2, 0}, {8, 0});
    ExpectSector(PickSideEndpoints({{0, 0}, {10, 0}}, {{-2, 1}, {12, 1}}), {0, 0}, {10, 0});
}

// The outline of the 10 x 0.3 wall, its reference line along the middle.
struct OutlineHandles {
    API_ElementOutline outline{};
    explicit OutlineHandles(const std::vector<API_Coord>& corners)
    {
        const Int64 n = static_cast<Int64>(corners.size());
        outline.coords = reinterpret_cast<API_Coord**>(BMhAllClear((n + 2) * static_cast<Int64>(sizeof(API_Coord))));
        for (Int64 i = 0; i < n; ++i)
            (*outline.coords)[i + 1] = corners[static_cast<size_t>(i)];
        (*outline.coords)[n + 1] = corners[0];
        outline.pends = reinterpret_cast<Int32**>(BMhAllClear(2 * static_cast<Int64>(sizeof(Int32))));
        (*outline.pends)[1] = static_cast<Int32>(n + 1);
    }
    ~OutlineHandles()
    {
        GSHandle h = reinterpret_cast<GSHandle>(outline.coords);
        BMhKill(&h);
        h = reinterpret_cast<GSHandle>(outline.pends);
        BMhKill(&h);
    }
};

TEST(WallSidesTest, FourCornerOutlineEitherWayRoundAndOtherOutlinesLeftAlone)
{
    const Int64 before = GS::LiveMemoryHandleCount();
    const API_WallType wall = StraightWall({0, 0.15}, {10, 0.15}, 0.3, 0.15, false);
    {
        WallSideCornersType sides;
        OutlineHandles along({{0, 0}, {10, 0}, {10, 0.3}, {0, 0.3}});
        ASSERT_TRUE(WallSidesFromOutline(wall, along.outline, sides));
        ExpectSector(sides.a, {0, 0}, {10, 0});
        ExpectSector(sides.b, {0, 0.3}, {10, 0.3});
        // The first corner pair across the wall.
        OutlineHandles across({{0, 0}, {0, 0.3}, {10, 0.3}, {10, 0}});
        ASSERT_TRUE(WallSidesFromOutline(wall, across.outline, sides));
        ExpectSector(sides.a, {0, 0}, {10, 0});
        ExpectSector(sides.b, {0, 0.3}, {10, 0.3});
        // Reversed along the reference line still counts as along it.
        OutlineHandles reversed({{10, 0}, {0, 0}, {0, 0.3}, {10, 0.3}});
        ASSERT_TRUE(WallSidesFromOutline(wall, reversed.outline, sides));
        ExpectSector(sides.a, {10, 0}, {0, 0});
    }
    {
        WallSideCornersType sides;
        sides.a = {{7, 7}, {8, 8}};
        OutlineHandles joined({{0, 0}, {10, 0}, {10.3, 0.3}, {10.3, 5}, {10, 5}, {0, 0.3}});
        EXPECT_FALSE(WallSidesFromOutline(wall, joined.outline, sides));
        ExpectSector(sides.a, {7, 7}, {8, 8});
        API_ElementOutline none{};
        EXPECT_FALSE(WallSidesFromOutline(wall, none, sides));
    }
    EXPECT_EQ(GS::LiveMemoryHandleCount(), before);
}

TEST(WallSidesTest, FromTheWallsOwnReferenceLine)
{
    struct Case {
        API_WallType wall;
        API_Sector a, b;
    };
    const Case cases[] = {
        {StraightWall({0, 0.15}, {10, 0.15}, 0.3, 0.15, false), {{0, 0}, {10, 0}}, {{0, 0.3}, {10, 0.3}}},
        // Reference line on the outside (left) face.
        {StraightWall({0, 0.3}, {10, 0.3}, 0.3, 0, false), {{0, 0}, {10, 0}}, {{0, 0.3}, {10, 0.3}}},
        // Flipped: the outside face is the right one.
        {StraightWall({0, 0}, {10, 0}, 0.3, 0, true), {{0, 0}, {10, 0}}, {{0, 0.3}, {10, 0.3}}},
        {StraightWall({0, 0}, {0, 5}, 0.2, 0.2, false), {{0, 0}, {0, 5}}, {{-0.2, 0}, {-0.2, 5}}},
    };
    for (const Case& c : cases) {
        const WallSideCornersType sides = WallSidesFromReferenceLine(c.wall);
        ExpectSector(sides.a, c.a.c1, c.a.c2, "A");
        ExpectSector(sides.b, c.b.c1, c.b.c2, "B");
    }
    // A wall of no length has no sides to tell apart: zeros, no NaN.
    const WallSideCornersType none = WallSidesFromReferenceLine(StraightWall({3, 3}, {3, 3}, 0.3, 0.15, false));
    ExpectSector(none.a, {0, 0}, {0, 0});
}

TEST(WallSidesTest, ClickChoosesTheNearerSideDirectedByWhichSideOfTheReferenceLine)
{
    WallSideCornersType sides;
    sides.a = {{0, 0}, {10, 0}};
    sides.b = {{0, 0.3}, {10, 0.3}};
    const API_Coord begin = {0, 0.15}, end = {10, 0.15};
    // A lies to the right of the reference direction: reversed.
    ExpectSector(ChooseWallSide(sides, begin, end, {5, 0.05}), {10, 0}, {0, 0});
    ExpectSector(ChooseWallSide(sides, begin, end, {5, 0.25}), {0, 0.3}, {10, 0.3});
    // Midway is B's.
    ExpectSector(ChooseWallSide(sides, begin, end, {5, 0.15}), {0, 0.3}, {10, 0.3});
    // A side on the reference line counts as lying opposite the other side.
    const API_Coord onA = {0, 0}, onAEnd = {10, 0};
    ExpectSector(ChooseWallSide(sides, onA, onAEnd, {5, 0.01}), {10, 0}, {0, 0});
}

TEST(SlabEdgesTest, NearestEdgeFirstAmongEqualDistances)
{
    GS::Array<SlabEdge> edges;
    EXPECT_EQ(NearestSlabEdge(edges, {0, 0}), -1);
    edges.Push({0, 0, 10, 0});   // distance 2.7 from (5, 2.7)
    edges.Push({0, 5.2, 10, 5.2});  // 2.5
    EXPECT_EQ(NearestSlabEdge(edges, {5, 2.7}), 1);
    edges.Push({0, 0.1, -10, 0.1});  // 2.6
    EXPECT_EQ(NearestSlabEdge(edges, {5, 2.7}), 1);
    GS::Array<SlabEdge> equal;
    equal.Push({0, 0, 10, 0});
    equal.Push({0, 2, 10, 2});
    EXPECT_EQ(NearestSlabEdge(equal, {5, 1}), 0);
    // An edge of no length is never the nearest.
    GS::Array<SlabEdge> degenerate;
    degenerate.Push({1, 1, 1, 1});
    degenerate.Push({0, 0.4, 10, 0.4});
    EXPECT_EQ(NearestSlabEdge(degenerate, {5, 0}), 1);
}

// ---------------------------------------------------------------- the picks on a small host

struct PickHost {
    std::vector<API_Element> elements;  // by time_low - 1
    std::vector<std::vector<API_Coord>> outlines;  // wall outlines, or slab memo coordinates (entry 0 unused)
    std::vector<std::vector<Int32>> ends;
    std::vector<API_Coord3D> path;  // cursor positions before the click
    API_Coord click{};
    bool cancel = false;
    std::vector<API_RubberLineType> drawn;
    std::vector<std::vector<API_RubberLineType>> drawnPerPosition;
    std::vector<API_Box> zooms;
    int highlights = 0, outlineDisposals = 0;
};
PickHost* g_pick = nullptr;

const API_Element* FindPicked(const API_Guid& g)
{
    if (g.time_low == 0 || g.time_low > g_pick->elements.size())
        return nullptr;
    return &g_pick->elements[g.time_low - 1];
}

template <typename T> T** HandleOf(const std::vector<T>& items)
{
    GSHandle h = BMhAllClear(static_cast<Int64>(items.size() * sizeof(T)));
    if (!items.empty())
        std::memcpy(*h, items.data(), items.size() * sizeof(T));
    return reinterpret_cast<T**>(h);
}

GSErrCode PickGetElement(HostToken, API_Element* e)
{
    const API_Element* found = FindPicked(e->header.guid);
    if (found == nullptr)
        return APIERR_BADID;
    *e = *found;
    return NoError;
}
GSErrCode PickGetOutline(HostToken, API_Guid g, API_ElemTypeID, API_ElementOutline* outline)
{
    const size_t i = g.time_low - 1;
    outline->coords = HandleOf(g_pick->outlines[i]);
    outline->pends = HandleOf(g_pick->ends[i]);
    return NoError;
}
GSErrCode PickDisposeOutline(API_ElementOutline* outline)
{
    ++g_pick->outlineDisposals;
    GSHandle h = reinterpret_cast<GSHandle>(outline->coords);
    BMhKill(&h);
    h = reinterpret_cast<GSHandle>(outline->pends);
    BMhKill(&h);
    outline->coords = nullptr;
    outline->pends = nullptr;
    return NoError;
}
GSErrCode PickGetMemo(HostToken, API_Guid g, API_ElementMemo* memo, UInt64)
{
    const size_t i = g.time_low - 1;
    memo->coords = HandleOf(g_pick->outlines[i]);
    memo->pends = HandleOf(g_pick->ends[i]);
    return NoError;
}
GSErrCode PickDisposeMemo(API_ElementMemo* memo)
{
    GSHandle h = reinterpret_cast<GSHandle>(memo->coords);
    BMhKill(&h);
    h = reinterpret_cast<GSHandle>(memo->pends);
    BMhKill(&h);
    memo->coords = nullptr;
    memo->pends = nullptr;
    return NoError;
}
GSErrCode PickInterface(HostToken, API_RequestCode code, void* par1, void* par2, void*)
{
    if (code == RequestCode("HGEL")) {
        ++g_pick->highlights;
        return NoError;
    }
    if (code == RequestCode("DRLI")) {
        g_pick->drawn.push_back(*static_cast<const API_RubberLineType*>(par1));
        return NoError;
    }
    if (code == RequestCode("IPOI")) {
        auto* point = static_cast<API_GetPointType*>(par1);
        auto* feedback = reinterpret_cast<APIRubberLineInfoProc*>(par2);
        EXPECT_TRUE(point->changePlane);
        for (Int32 c : point->cursorCodes)
            EXPECT_EQ(c, 36);
        for (const API_Coord3D& at : g_pick->path) {
            g_pick->drawn.clear();
            API_RubberLineInfo info;
            std::memset(static_cast<void*>(&info), 0, sizeof info);
            info.actCoord = at;
            feedback(&info);
            g_pick->drawnPerPosition.push_back(g_pick->drawn);
        }
        g_pick->drawn.clear();
        if (g_pick->cancel)
            return APIERR_CANCEL;
        point->pos = {g_pick->click.x, g_pick->click.y, 0};
        return NoError;
    }
    return APIERR_BADPARS;
}
GSErrCode PickAutomate(HostToken, API_RequestCode code, void* par1, void*, void*)
{
    if (code == RequestCode("ZOOM"))
        g_pick->zooms.push_back(*static_cast<const API_Box*>(par1));
    return NoError;
}

class PickTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        before = GS::LiveMemoryHandleCount();
        g_pick = &host;
        std::vector<void*> table(HostFunctionCount, nullptr);
        Set<HostSlot::GetElement>(table, &PickGetElement);
        Set<HostSlot::GetWallOutline>(table, &PickGetOutline);
        Set<HostSlot::DisposeOutlineRecord>(table, &PickDisposeOutline);
        Set<HostSlot::GetMemo>(table, &PickGetMemo);
        Set<HostSlot::DisposeMemo>(table, &PickDisposeMemo);
        Set<HostSlot::Interface>(table, &PickInterface);
        Set<HostSlot::Automate>(table, &PickAutomate);
        HostBinding::ReceiveTable(table.data());
        WallSideCorners() = WallSideCornersType();
    }
    void TearDown() override
    {
        HostBinding::Reset();
        g_pick = nullptr;
        EXPECT_TRUE(SlabEdgeList().IsEmpty());
        EXPECT_EQ(GS::LiveMemoryHandleCount(), before) << "a memory handle leaked";
    }
    template <HostSlot S> static void Set(std::vector<void*>& table, HostSlotFn<S> fn)
    {
        table[static_cast<UInt32>(S)] = reinterpret_cast<void*>(fn);
    }
    API_Guid AddWall(const API_WallType& w, std::vector<API_Coord> corners)
    {
        API_Element e;
        std::memset(static_cast<void*>(&e), 0, sizeof e);
        e.header.typeID = API_WallID;
        e.header.guid.time_low = static_cast<UInt32>(host.elements.size() + 1);
        e.wall = w;
        host.elements.push_back(e);
        corners.insert(corners.begin(), API_Coord{0, 0});
        corners.push_back(corners[1]);
        host.ends.push_back({0, static_cast<Int32>(corners.size() - 1)});
        host.outlines.push_back(corners);
        return e.header.guid;
    }
    // The rubber line drawn at each cursor position is the side the click
    // at that position picks.
    void ExpectRubberLineMatchesPick(const API_Guid& wall)
    {
        ASSERT_EQ(host.drawnPerPosition.size(), host.path.size());
        const API_Coord3D clickBefore = {host.click.x, host.click.y, 0};
        for (size_t k = 0; k < host.path.size(); ++k) {
            ASSERT_EQ(host.drawnPerPosition[k].size(), 1u);
            const API_RubberLineType& line = host.drawnPerPosition[k][0];
            EXPECT_EQ(line.drawModes, 2);
            EXPECT_EQ(line.c1.z, host.path[k].z);
            // Pick at that position, then compare the undirected line.
            host.click = {host.path[k].x, host.path[k].y};
            const std::vector<API_Coord3D> path = host.path;
            host.path.clear();
            API_Sector side{};
            ASSERT_EQ(PickWallSide(wall, side), NoError);
            host.path = path;
            const bool same = (std::fabs(side.c1.y - line.c1.y) < 1e-9 && std::fabs(side.c2.y - line.c2.y) < 1e-9) ||
                              (std::fabs(side.c1.y - line.c2.y) < 1e-9 && std::fabs(side.c2.y - line.c1.y) < 1e-9);
            EXPECT_TRUE(same) << "position " << k;
        }
        host.click = {clickBefore.x, clickBefore.y};
    }

    PickHost host;
    Int64 before = 0;
};

TEST_F(PickTest, WallSideWithRubberLineZoomAndHighlight)
{
    const API_Guid wall = AddWall(StraightWall({0, 0.15}, {10, 0.15}, 0.3, 0.15, false), {{0, 0}, {10, 0}, {10, 0.3}, {0, 0.3}});
    host.path = {{5, 0.05, 1.5}, {5, 0.29, 1.5}, {2, -3, 0}};
    host.click = {5, 0.05};
    API_Sector side{};
    ASSERT_EQ(PickWallSide(wall, side), NoError);
    ExpectSector(side, {10, 0}, {0, 0});
    ASSERT_EQ(host.zooms.size(), 1u);
    EXPECT_EQ(host.zooms[0].xMin, -1);
    EXPECT_DOUBLE_EQ(host.zooms[0].yMax, 1.15);
    EXPECT_EQ(host.highlights, 2);  // cleared, then this wall alone
    EXPECT_EQ(host.outlineDisposals, 1);
    ExpectRubberLineMatchesPick(wall);
}

// The example wall's outline as a host gives it, counter-clockwise from the
// right face's begin: a click near each side, and one exactly midway, which
// is B's (the left side, kept in its direction); the rubber line shows
// the side each position would choose.
TEST_F(PickTest, ExampleOutlineClicksNearEachSideAndMidway)
{
    const API_Guid wall = AddWall(StraightWall({0, 0.15}, {10, 0.15}, 0.3, 0.15, false), {{0, 0}, {10, 0}, {10, 0.3}, {0, 0.3}});
    struct Case {
        API_Coord click;
        API_Sector expected;
    } cases[] = {
        {{5, 0.05}, {{10, 0}, {0, 0}}},
        {{5, 0.25}, {{0, 0.3}, {10, 0.3}}},
        {{5, 0.15}, {{0, 0.3}, {10, 0.3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.click.x << ", " << c.click.y);
        host.path = {{c.click.x, c.click.y, 0.5}};
        host.drawnPerPosition.clear();
        host.click = c.click;
        API_Sector side{};
        ASSERT_EQ(PickWallSide(wall, side), NoError);
        ExpectSector(side, c.expected.c1, c.expected.c2);
        ExpectRubberLineMatchesPick(wall);
    }
}

TEST_F(PickTest, JoinedWallsSidesComeFromTheirOwnReferenceLine)
{
    // Two walls joined at a corner: the outlines have six corners.
    const API_Guid first = AddWall(StraightWall({0, 0.15}, {10, 0.15}, 0.3, 0.15, false),
                                   {{0, 0}, {10.15, 0}, {10.15, 0.15}, {10.15, 0.3}, {9.85, 0.3}, {0, 0.3}});
    const API_Guid second = AddWall(StraightWall({10, 0}, {10, 6}, 0.3, 0.15, false),
                                    {{10.15, 0}, {10.15, 6}, {9.85, 6}, {9.85, 0.3}, {10, 0.15}, {10.15, 0.15}});
    // The first pick after loading: the first wall's own sides, not zeros.
    host.click = {5, 0.25};
    API_Sector side{};
    ASSERT_EQ(PickWallSide(first, side), NoError);
    ExpectSector(side, {0, 0.3}, {10, 0.3});
    // Then the second wall: its sides, not the first wall's.
    host.click = {10.1, 3};
    host.path = {{10.1, 3, 0}, {9.9, 3, 0}};
    ASSERT_EQ(PickWallSide(second, side), NoError);
    ExpectSector(side, {10.15, 6}, {10.15, 0});
    const WallSideCornersType& sides = WallSideCorners();
    ExpectSector(sides.a, {10.15, 0}, {10.15, 6});
    ExpectSector(sides.b, {9.85, 0}, {9.85, 6});
    ASSERT_EQ(host.drawnPerPosition.size(), 2u);
    EXPECT_EQ(host.drawnPerPosition[0][0].c1.x, 10.15);
    EXPECT_EQ(host.drawnPerPosition[1][0].c1.x, 9.85);
}

TEST_F(PickTest, CancelledInputPicksNothing)
{
    const API_Guid wall = AddWall(StraightWall({0, 0.15}, {10, 0.15}, 0.3, 0.15, false), {{0, 0}, {10, 0}, {10, 0.3}, {0, 0.3}});
    host.cancel = true;
    API_Sector side = {{1, 2}, {3, 4}};
    EXPECT_EQ(PickWallSide(wall, side), APIERR_CANCEL);
    ExpectSector(side, {1, 2}, {3, 4});
}

TEST_F(PickTest, SlabEdgeIncludingTheHolesConnectingEdge)
{
    API_Element slab;
    std::memset(static_cast<void*>(&slab), 0, sizeof slab);
    slab.header.typeID = API_SlabID;
    slab.header.guid.time_low = 1;
    // Outline (0,0) (10,0) (10,8) (0,8) closed, then a hole (4,2) (6,2) (6,4) closed.
    const std::vector<API_Coord> coords = {{0, 0}, {0, 0}, {10, 0}, {10, 8}, {0, 8}, {0, 0}, {4, 2}, {6, 2}, {6, 4}, {4, 2}};
    slab.slab.poly.nCoords = 9;
    slab.slab.poly.nSubPolys = 2;
    host.elements.push_back(slab);
    host.outlines.push_back(coords);
    host.ends.push_back({0, 5, 9});
    struct Case {
        API_Coord click;
        API_Sector edge;
    };
    const Case cases[] = {
        {{5, -1}, {{0, 0}, {10, 0}}},
        {{10.5, 4}, {{10, 0}, {10, 8}}},
        // On the line from the outline's closing vertex to the hole.
        {{2, 1.05}, {{0, 0}, {4, 2}}},
        {{5, 1.9}, {{4, 2}, {6, 2}}},
    };
    for (const Case& c : cases) {
        host.click = c.click;
        host.path = {{c.click.x, c.click.y, 0.5}};
        host.drawnPerPosition.clear();
        API_Sector edge{};
        ASSERT_EQ(PickSlabEdge(slab.header.guid, edge), NoError);
        ExpectSector(edge, c.edge.c1, c.edge.c2);
        // The rubber line at the click's position is the edge picked.
        ASSERT_EQ(host.drawnPerPosition.size(), 1u);
        ASSERT_EQ(host.drawnPerPosition[0].size(), 1u);
        const API_RubberLineType& line = host.drawnPerPosition[0][0];
        EXPECT_EQ(line.c1.x, c.edge.c1.x);
        EXPECT_EQ(line.c2.y, c.edge.c2.y);
        EXPECT_EQ(line.c1.z, 0.5);
    }
    ASSERT_FALSE(host.zooms.empty());
    EXPECT_EQ(host.zooms[0].xMin, -1);
    EXPECT_EQ(host.zooms[0].yMax, 9);
}

}  // namespace
