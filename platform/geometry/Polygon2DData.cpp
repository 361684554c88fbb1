#include "platform/geometry/Polygon2DData.hpp"
#include "platform/gs/MathConstants.hpp"
#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

namespace Geometry {

namespace {

using GS::Pi;

// Whole entries of type T that a handle holds.
template <typename T> Int64 EntryCount(GSConstHandle handle)
{
    return handle != nullptr ? BMhGetSize(handle) / static_cast<Int64>(sizeof(T)) : 0;
}

template <typename T> T* Entries(GSHandle handle) { return reinterpret_cast<T*>(*handle); }
template <typename T> const T* Entries(GSConstHandle handle) { return reinterpret_cast<const T*>(*handle); }

void Extend(Box2DData& box, const Coord& c)
{
    box.xMin = std::min(box.xMin, c.x);
    box.yMin = std::min(box.yMin, c.y);
    box.xMax = std::max(box.xMax, c.x);
    box.yMax = std::max(box.yMax, c.y);
}

// Adds the points where the arc p -> q reaches furthest along each axis.
void ExtendByArc(Box2DData& box, const Coord& p, const Coord& q, double angle)
{
    Coord c;
    if (!ArcGetOrigo(&p, &q, angle, &c))
        return;
    const double r = std::hypot(p.x - c.x, p.y - c.y);
    const double start = std::atan2(p.y - c.y, p.x - c.x);
    static const Coord axes[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    for (int k = 0; k < 4; ++k) {
        const double toAxis = angle > 0 ? k * Pi * 0.5 - start : start - k * Pi * 0.5;
        double turn = std::fmod(toAxis, 2 * Pi);
        if (turn < 0)
            turn += 2 * Pi;
        if (turn <= std::fabs(angle))
            Extend(box, {c.x + r * axes[k].x, c.y + r * axes[k].y});
    }
}

[[noreturn]] void Malformed(const char* what) { throw GeometryException(std::string("malformed polygon data: ") + what); }

}  // namespace

void InitPolygon2DData(Polygon2DData* polygon) { *polygon = Polygon2DData{}; }

void FreePolygon2DData(Polygon2DData* polygon)
{
    BMhKill(&polygon->vertices);
    BMhKill(&polygon->arcs);
    BMhKill(&polygon->contourEnds);
    InitPolygon2DData(polygon);
}

void GetPolygon2DDataBoundBox(const Polygon2DData& polygon, Box2DData* boundBox)
{
    *boundBox = Box2DData{};
    const Int64 count = std::min<Int64>(polygon.nVertices, EntryCount<Coord>(polygon.vertices) - 1);
    if (count < 1)
        return;
    const Coord* v = Entries<Coord>(polygon.vertices);
    *boundBox = {v[1].x, v[1].y, v[1].x, v[1].y};
    for (Int64 i = 2; i <= count; ++i)
        Extend(*boundBox, v[i]);
    const Int64 arcCount = std::min<Int64>(polygon.nArcs, EntryCount<PolyArcRec>(polygon.arcs) - 1);
    for (Int64 k = 1; k <= arcCount; ++k) {
        const PolyArcRec& a = Entries<PolyArcRec>(polygon.arcs)[k];
        if (a.begIndex >= 1 && a.begIndex <= count && a.endIndex >= 1 && a.endIndex <= count)
            ExtendByArc(*boundBox, v[a.begIndex], v[a.endIndex], a.arcAngle);
    }
}

void ConvertPolygon2DDataToPolygon2D(CustomMultiPolygon2D& result, const Polygon2DData& source)
{
    result.Clear();
    const Int32 nV = source.nVertices, nC = source.nContours, nA = source.nArcs;
    if (nV < 0 || nC < 0 || nA < 0)
        Malformed("negative count");
    if (nV == 0 || nC == 0)
        return;
    if (EntryCount<Coord>(source.vertices) < static_cast<Int64>(nV) + 1)
        Malformed("fewer vertices than counted");
    if (EntryCount<Int32>(source.contourEnds) < static_cast<Int64>(nC) + 1)
        Malformed("fewer contour ends than counted");
    if (nA > 0 && EntryCount<PolyArcRec>(source.arcs) < static_cast<Int64>(nA) + 1)
        Malformed("fewer arcs than counted");

    const Coord* v = Entries<Coord>(source.vertices);
    const Int32* ends = Entries<Int32>(source.contourEnds);
    if (ends[0] < 0)
        Malformed("contour end before the first vertex");
    // A vertex that begins an edge (every contour vertex but the closing one).
    std::vector<bool> beginsEdge(static_cast<USize>(nV) + 1, false);
    for (Int32 k = 1; k <= nC; ++k) {
        if (ends[k] < ends[k - 1] + 2 || ends[k] > nV)
            Malformed("contour end out of order or beyond the vertices");
        for (Int32 i = ends[k - 1] + 1; i < ends[k]; ++i)
            beginsEdge[static_cast<USize>(i)] = true;
    }

    std::vector<double> angles(static_cast<USize>(nV) + 1, 0.0);
    std::vector<bool> arcSeen(static_cast<USize>(nV) + 1, false);
    for (Int32 k = 1; k <= nA; ++k) {
        const PolyArcRec& a = Entries<PolyArcRec>(source.arcs)[k];
        if (a.begIndex < 1 || a.begIndex > nV || !beginsEdge[static_cast<USize>(a.begIndex)] || a.endIndex != a.begIndex + 1)
            Malformed("arc that is not an edge");
        // The first record of an edge counts.
        if (!arcSeen[static_cast<USize>(a.begIndex)]) {
            arcSeen[static_cast<USize>(a.begIndex)] = true;
            angles[static_cast<USize>(a.begIndex)] = a.arcAngle;
        }
    }

    CorePolygon2D polygon;
    for (Int32 k = 1; k <= nC; ++k) {
        PolyContour contour;
        for (Int32 i = ends[k - 1] + 1; i < ends[k]; ++i)
            contour.Push({v[i], angles[static_cast<USize>(i)]});
        polygon.AddContour(contour);
    }
    result.Push(std::move(polygon));
}

void ConvertPolygon2DToPolygon2DData(Polygon2DData& result, const CorePolygon2D& source)
{
    FreePolygon2DData(&result);
    Int32 nV = 0, nA = 0;
    const Int32 nC = static_cast<Int32>(source.GetContourCount());
    for (UInt32 k = 0; k < source.GetContourCount(); ++k) {
        const PolyContour& contour = source.GetContour(k);
        nV += static_cast<Int32>(contour.GetSize()) + 1;
        for (const PolyVertex& vertex : contour)
            nA += IsArcAngle(vertex.arcAngle) ? 1 : 0;
    }

    Polygon2DData data;
    InitPolygon2DData(&data);
    data.vertices = BMhAllClear((static_cast<Int64>(nV) + 1) * static_cast<Int64>(sizeof(Coord)));
    data.contourEnds = BMhAllClear((static_cast<Int64>(nC) + 1) * static_cast<Int64>(sizeof(Int32)));
    if (nA > 0)
        data.arcs = BMhAllClear((static_cast<Int64>(nA) + 1) * static_cast<Int64>(sizeof(PolyArcRec)));
    if (data.vertices == nullptr || data.contourEnds == nullptr || (nA > 0 && data.arcs == nullptr)) {
        FreePolygon2DData(&data);
        throw std::bad_alloc();
    }

    Coord* v = Entries<Coord>(data.vertices);
    Int32* ends = Entries<Int32>(data.contourEnds);
    Int32 index = 0, arc = 0;
    for (UInt32 k = 0; k < source.GetContourCount(); ++k) {
        const PolyContour& contour = source.GetContour(k);
        for (const PolyVertex& vertex : contour) {
            v[++index] = vertex.pos;
            if (IsArcAngle(vertex.arcAngle))
                Entries<PolyArcRec>(data.arcs)[++arc] = {index, index + 1, vertex.arcAngle};
        }
        v[++index] = contour[0].pos;
        ends[k + 1] = index;
    }
    data.nVertices = nV;
    data.nContours = nC;
    data.nArcs = nA;
    GetPolygon2DDataBoundBox(data, &data.boundBox);
    data.status |= Polygon2DData_BoundBoxValid;
    result = data;
}

}  // namespace Geometry
