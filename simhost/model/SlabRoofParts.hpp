// Slabs and roofs of the stand-in host: their record values and outlines.
// A roof of class 0 is one plane with its outline; any other class is made
// of planes, each with its own pivot line, slope, level, thickness, outline
// and part id, which the host hands out one by one when it decomposes the
// roof.
#pragma once
#include "platform/api/APIdefs.hpp"
#include <vector>

namespace SimHost {

// An outline and its holes, each ring counter-clockwise or as given, not
// closed.
struct PolygonRings {
    std::vector<API_Coord> contour;
    std::vector<std::vector<API_Coord>> holes;
};

struct SlabPart {
    double thickness = 0.2;
    double level = 0.0;
    double offset = 0.0;
    PolygonRings outline;
};

struct RoofPlaneDef {
    API_ElemPartId partId{};
    double level = 0.0;
    double thickness = 0.2;
    double angle = 0.0;
    API_Coord pivotBegin{};
    API_Coord pivotEnd{};
    bool posSign = true;
    PolygonRings outline;
};

struct RoofPart {
    Int32 roofClass = 0;
    double level = 0.0;
    double thickness = 0.2;
    double angle = 0.0;
    API_Coord pivotBegin{};
    API_Coord pivotEnd{};
    bool posSign = true;
    PolygonRings outline;
    std::vector<RoofPlaneDef> planes;  // a roof of several planes
};

// The counts a record keeps beside the memo polygon: coordinates (each ring
// closed by repeating its first vertex), sub-polygons, arcs.
API_Polygon PolygonCounts(const PolygonRings& rings);

// The record's values of one plane: a plane roof's own, or one plane of a
// roof of several planes as the host hands it out. The class is the
// caller's.
template <typename Plane>
void FillRoofPlane(const Plane& plane, API_RoofType& rec)
{
    rec.level = plane.level;
    rec.thickness = plane.thickness;
    rec.angle = plane.angle;
    rec.pivotBegin = plane.pivotBegin;
    rec.pivotEnd = plane.pivotEnd;
    rec.posSign = plane.posSign;
    rec.poly = PolygonCounts(plane.outline);
}

// Writes the rings into fresh memo handles laid out as the host lays them
// out (entry 0 unused, each ring closed, contour ends with entry 0 = 0). False,
// and the memo's polygon handles null, when a handle cannot be allocated.
bool FillPolygonMemo(const PolygonRings& rings, API_ElementMemo& memo);

}  // namespace SimHost
