// Polygon2DData: a polygon with arcs and holes in memory handles, laid out as
// a host memo polygon, and its conversions to and from CorePolygon2D.
//
// vertices     nVertices + 1 Coord, 1-based; entry 0 is not a vertex. Each
//              contour lists its vertices and then repeats its first one.
// contourEnds  nContours + 1 Int32; entry 0 is 0, entry k the index of the
//              closing vertex of contour k. Contour 1 is the outline, the
//              others its holes.
// arcs         nArcs + 1 PolyArcRec, 1-based; entry 0 is not an arc. Null
//              when there are no arcs.
#pragma once
#include "platform/geometry/Polygon2D.hpp"
#include "platform/gs/Memory.hpp"

namespace Geometry {

enum Polygon2DDataStatus : UInt32 {
    Polygon2DData_BoundBoxValid = 0x1,  // boundBox holds the polygon's box
};

struct Polygon2DData {
    UInt32 status;
    Box2DData boundBox;
    Int32 nVertices;
    GSHandle vertices;
    Int32 nArcs;
    GSHandle arcs;
    Int32 nContours;
    GSHandle contourEnds;
};

// An empty structure: no handles, counts 0, status 0.
PLATFORM_API void InitPolygon2DData(Polygon2DData* polygon);
// Kills the handles and leaves the structure as InitPolygon2DData does.
PLATFORM_API void FreePolygon2DData(Polygon2DData* polygon);

// The box of the vertices and of the arcs' bulges. Reads only entries that
// the handles hold; an empty polygon gives a box of zeros.
PLATFORM_API void GetPolygon2DDataBoundBox(const Polygon2DData& polygon, Box2DData* boundBox);

// The polygon of `source` as one polygon with holes (none for an empty
// source). Throws GeometryException when the counts do not fit the handles,
// the contour ends are out of order or beyond the vertices, a contour has no
// vertex, or an arc is not an edge of a contour; result is then empty.
PLATFORM_API void ConvertPolygon2DDataToPolygon2D(CustomMultiPolygon2D& result, const Polygon2DData& source);

// Frees what `result` holds (it must be initialised) and fills it with
// `source`, the bounding box computed. Throws std::bad_alloc when a handle
// cannot be allocated; result is then empty and nothing is leaked.
PLATFORM_API void ConvertPolygon2DToPolygon2DData(Polygon2DData& result, const CorePolygon2D& source);

}  // namespace Geometry
