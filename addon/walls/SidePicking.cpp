#include "addon/walls/SidePicking.hpp"
#include "addon/geometry/GeometryHelpers.hpp"
#include "addon/geometry/SegmentedPolygon.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostRequests.hpp"
#include "addon/host/Owners.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/gs/MathConstants.hpp"
#include "platform/gs/Memory.hpp"
#include <cmath>
#include <cstring>

namespace {

using GS::Pi;
constexpr double ParallelTolerance = 0.002;
constexpr Int32 PickCursor = 36;
constexpr Int32 RubberLineMode = 2;
const API_RGBAColor HighlightColor = {0.0, 0.1, 0.7, 0.8};

double DistanceFrom(const API_Sector& line, const API_Coord& p)
{
    return LineDistance(line.c1.x, line.c1.y, line.c2.x, line.c2.y, p.x, p.y);
}

GSErrCode DrawRubberLine(const API_Coord& from, const API_Coord& to, double z)
{
    API_RubberLineType line;
    std::memset(static_cast<void*>(&line), 0, sizeof line);
    line.c1 = {from.x, from.y, z};
    line.c2 = {to.x, to.y, z};
    line.drawModes = RubberLineMode;
    return HostRequest::DRLI(&line);
}

// The point input with the pick prompt; the click comes back in `click`.
GSErrCode InputPoint(APIRubberLineInfoProc* feedback, API_Coord& click)
{
    API_GetPointType point;
    std::memset(static_cast<void*>(&point), 0, sizeof point);
    std::strncpy(point.prompt, GetResString(ResStr::Texts::ClickWallSide), sizeof point.prompt - 1);
    point.changePlane = true;
    for (Int32& code : point.cursorCodes)
        code = PickCursor;
    const GSErrCode err = HostRequest::IPOI(&point, feedback);
    if (err == NoError)
        click = {point.pos.x, point.pos.y};
    return err;
}

// Bytes of a memory handle, 0 for none.
Int64 HandleSize(const void* h) { return h == nullptr ? 0 : BMhGetSize(reinterpret_cast<GSConstHandle>(h)); }

// Releases the outline the host filled, on every path.
class OutlineOwner {
public:
    OutlineOwner() { std::memset(static_cast<void*>(&outline), 0, sizeof outline); }
    ~OutlineOwner() { HostDisposeOutlineRecord(&outline); }
    OutlineOwner(const OutlineOwner&) = delete;
    OutlineOwner& operator=(const OutlineOwner&) = delete;
    API_ElementOutline outline;
};

}  // namespace

WallSideCornersType& WallSideCorners()
{
    static WallSideCornersType sides;
    return sides;
}

GS::Array<SlabEdge>& SlabEdgeList()
{
    static GS::Array<SlabEdge> edges;
    return edges;
}

bool WallSidesFromOutline(const API_WallType& wall, const API_ElementOutline& outline, WallSideCornersType& sides)
{
    if (outline.pends == nullptr || outline.coords == nullptr || HandleSize(outline.pends) < 2 * static_cast<Int64>(sizeof(Int32)) ||
        (*outline.pends)[1] != 5 || HandleSize(outline.coords) < 6 * static_cast<Int64>(sizeof(API_Coord)))
        return false;
    const API_Coord* c = *outline.coords;  // c[1] .. c[4] are the corners
    const API_Coord reference = VectorBetween(wall.begC, wall.endC);
    const double angle = std::fabs(AngleBetween2D(reference, VectorBetween(c[1], c[2])));
    if (angle < ParallelTolerance || std::fabs(angle - Pi) < ParallelTolerance) {
        sides.a = {c[1], c[2]};
        sides.b = {c[4], c[3]};
    } else {
        sides.a = {c[1], c[4]};
        sides.b = {c[2], c[3]};
    }
    return true;
}

WallSideCornersType WallSidesFromReferenceLine(const API_WallType& wall)
{
    // The outside face is the left one unless the wall is flipped; the
    // reference line lies offsetFromOutside inside it.
    const double left = wall.flipped ? wall.thickness - wall.offsetFromOutside : wall.offsetFromOutside;
    const double right = wall.thickness - left;
    const API_Coord d = VectorBetween(wall.begC, wall.endC);
    const double length = std::sqrt(d.x * d.x + d.y * d.y);
    WallSideCornersType sides;
    if (!(length > 0) || !std::isfinite(length))
        return sides;
    const API_Coord leftNormal = {-d.y / length, d.x / length};
    auto shifted = [&](double by) {
        return API_Sector{{wall.begC.x + leftNormal.x * by, wall.begC.y + leftNormal.y * by},
                          {wall.endC.x + leftNormal.x * by, wall.endC.y + leftNormal.y * by}};
    };
    sides.a = shifted(-right);
    sides.b = shifted(left);
    return sides;
}

WallSideCornersType ReadWallSides(const API_Guid& wallGuid, const API_WallType& wall)
{
    OutlineOwner outline;
    const bool read = HostGetWallOutline(wallGuid, API_WallID, &outline.outline) == NoError;
    // An outline of other than four corners (a wall joined to others)
    // has sides of this wall all the same: they come from its own
    // reference line, never from whichever wall was read before.
    WallSideCornersType sides;
    if (!read || !WallSidesFromOutline(wall, outline.outline, sides))
        sides = WallSidesFromReferenceLine(wall);
    return sides;
}

API_Sector PickSideEndpoints(const API_Sector& s, const API_Sector& o)
{
    const double length = PointDistance(s.c1, s.c2);
    const API_Coord f1 = PerpendicularFoot(o.c1, s);
    const API_Coord f2 = PerpendicularFoot(o.c2, s);
    API_Sector result;
    result.c1 = length > PointDistance(f1, s.c2) ? f1 : s.c1;
    result.c2 = length > PointDistance(f2, s.c1) ? f2 : s.c2;
    return result;
}

bool NearerIsSideA(const WallSideCornersType& sides, const API_Coord& point)
{
    return DistanceFrom(sides.a, point) < DistanceFrom(sides.b, point);
}

API_Sector ChooseWallSide(const WallSideCornersType& sides, const API_Coord& begin, const API_Coord& end,
                          const API_Coord& click)
{
    return DirectedWallSide(sides, begin, end, NearerIsSideA(sides, click));
}

API_Sector DirectedWallSide(const WallSideCornersType& sides, const API_Coord& begin, const API_Coord& end, bool sideA)
{
    const double oA = Orientation(begin, end, sides.a.c1);
    const double oB = Orientation(begin, end, sides.b.c1);
    if (sideA) {
        const API_Sector s = PickSideEndpoints(sides.a, sides.b);
        const bool reverse = std::fabs(oA) < 1e-4 ? oB > 0 : oA < 0;
        return reverse ? SwappedSegment(s) : s;
    }
    const API_Sector s = PickSideEndpoints(sides.b, sides.a);
    const bool reverse = std::fabs(oB) < 1e-4 ? oA > 0 : oB < 0;
    return reverse ? SwappedSegment(s) : s;
}

Int32 NearestSlabEdge(const GS::Array<SlabEdge>& edges, const API_Coord& point)
{
    Int32 best = -1;
    double bestDistance = 0;
    for (UInt32 m = 0; m < edges.GetSize(); ++m) {
        const SlabEdge& e = edges[m];
        const double d = LineDistance(e.x1, e.y1, e.x2, e.y2, point.x, point.y);
        // A degenerate edge has no line to measure from; it is never nearer.
        if (best < 0 ? !std::isnan(d) : d < bestDistance) {
            best = static_cast<Int32>(m);
            bestDistance = d;
        }
    }
    if (best < 0 && !edges.IsEmpty())
        best = 0;
    return best;
}

namespace {

GSErrCode DrawWallSidePick(const API_RubberLineInfo* info)
{
    if (info == nullptr)
        return APIERR_BADPARS;
    const API_Coord3D* cursor = &info->actCoord;
    const WallSideCornersType& sides = WallSideCorners();
    const API_Sector& line = NearerIsSideA(sides, {cursor->x, cursor->y}) ? sides.a : sides.b;
    return DrawRubberLine(line.c1, line.c2, cursor->z);
}

GSErrCode DrawEdgePick(const API_RubberLineInfo* info)
{
    if (info == nullptr)
        return APIERR_BADPARS;
    const API_Coord3D* cursor = &info->actCoord;
    const GS::Array<SlabEdge>& edges = SlabEdgeList();
    const Int32 m = NearestSlabEdge(edges, {cursor->x, cursor->y});
    if (m < 0)
        return NoError;
    const SlabEdge& e = edges[static_cast<UInt32>(m)];
    DrawRubberLine({e.x1, e.y1}, {e.x2, e.y2}, cursor->z);
    return NoError;
}

}  // namespace

// The host calls these at every cursor position: through the guard, as every
// callback of the host's.
GSErrCode WallSidePickFeedback(const API_RubberLineInfo* info)
{
    return CallGuarded("WallSidePickFeedback", APIERR_GENERAL, [&] { return DrawWallSidePick(info); });
}

GSErrCode EdgePickFeedback(const API_RubberLineInfo* info)
{
    return CallGuarded("EdgePickFeedback", APIERR_GENERAL, [&] { return DrawEdgePick(info); });
}

void ClearHighlight() { HostRequest::HGEL(nullptr, nullptr); }

void HighlightElement(const API_Guid& element)
{
    ClearHighlight();
    GS::HashTable<API_Guid, API_RGBAColor> table;
    table.Add(element, HighlightColor);
    const bool wireframe = false;
    HostRequest::HGEL(&table, &wireframe);
}

GSErrCode PickWallSide(const API_Guid& wallGuid, API_Sector& side)
{
    HighlightElement(wallGuid);
    API_Element wall;
    std::memset(static_cast<void*>(&wall), 0, sizeof wall);
    wall.header.guid = wallGuid;
    HostGetElement(&wall);
    const API_WallType& w = wall.wall;
    API_Box box = {std::fmin(w.begC.x, w.endC.x) - 1, std::fmin(w.begC.y, w.endC.y) - 1,
                   std::fmax(w.begC.x, w.endC.x) + 1, std::fmax(w.begC.y, w.endC.y) + 1};
    HostRequest::ZOOM(&box);
    WallSideCorners() = ReadWallSides(wallGuid, w);
    API_Coord click{};
    const GSErrCode err = InputPoint(&WallSidePickFeedback, click);
    if (err != NoError)
        return err;
    side = ChooseWallSide(WallSideCorners(), w.begC, w.endC, click);
    return NoError;
}

GSErrCode PickSlabEdge(const API_Guid& slabGuid, API_Sector& edge)
{
    HighlightElement(slabGuid);
    API_Element slab;
    std::memset(static_cast<void*>(&slab), 0, sizeof slab);
    slab.header.guid = slabGuid;
    HostGetElement(&slab);
    MemoOwner memo;
    HostGetMemo(slabGuid, &memo.Get(), APIMemoMask_Polygon);

    // The coordinates the memo holds (entry 0 unused), as far as both the
    // record's count and the handle go.
    Int32 n = slab.slab.poly.nCoords;
    const Int64 held = HandleSize(memo->coords) / static_cast<Int64>(sizeof(API_Coord)) - 1;
    if (n > held)
        n = static_cast<Int32>(held);
    if (n > 0) {
        SegmentedPolygon polygon;
        GS::Array<double> status;
        polygon.BuildSegmentedPolygon(memo->coords, memo->pends, memo->parcs, status);
        const API_Box b = polygon.ContourBoundingBox();
        const API_Coord c1 = (*memo->coords)[1];
        API_Box box = {b.xMin + c1.x - 1, b.yMin + c1.y - 1, b.xMax + c1.x + 1, b.yMax + c1.y + 1};
        HostRequest::ZOOM(&box);
    }
    GS::Array<SlabEdge> edges;
    for (Int32 m = 1; m < n; ++m) {
        const API_Coord p = (*memo->coords)[m];
        const API_Coord q = (*memo->coords)[m + 1];
        edges.Push(SlabEdge{p.x, p.y, q.x, q.y});
    }
    SlabEdgeList() = edges;
    API_Coord click{};
    const GSErrCode err = InputPoint(&EdgePickFeedback, click);
    SlabEdgeList() = GS::Array<SlabEdge>();
    if (err != NoError)
        return err;
    const Int32 m = NearestSlabEdge(edges, click);
    if (m < 0) {
        edge = API_Sector{};
        return NoError;
    }
    const SlabEdge& e = edges[static_cast<UInt32>(m)];
    edge = {{e.x1, e.y1}, {e.x2, e.y2}};
    return NoError;
}
