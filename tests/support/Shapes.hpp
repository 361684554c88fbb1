// Outlines and roofs as tests and benchmarks give them to the stand-in
// host's model.
#pragma once
#include "simhost/model/SlabRoofParts.hpp"

namespace TestShapes {

// The rectangle from (x0, y0) to (x1, y1), counter-clockwise from (x0, y0).
inline SimHost::PolygonRings Rectangle(double x0, double y0, double x1, double y1)
{
    SimHost::PolygonRings r;
    r.contour = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    return r;
}

// A roof of `planes` planes of 10 x 5 side by side along x from (0, y),
// part ids {0, 0, 1} on; each rises by `slope` from its first edge, its
// pivot line.
inline SimHost::RoofPart RoofOfPlanes(Int32 planes, double slope, double y = 0)
{
    SimHost::RoofPart roof;
    roof.roofClass = 1;
    for (Int32 i = 0; i < planes; ++i) {
        SimHost::RoofPlaneDef plane;
        plane.partId = {0, 0, i + 1};
        plane.angle = slope;
        plane.outline = Rectangle(10.0 * i, y, 10.0 * i + 10, y + 5);
        plane.pivotBegin = plane.outline.contour[0];
        plane.pivotEnd = plane.outline.contour[1];
        roof.planes.push_back(plane);
    }
    return roof;
}

}  // namespace TestShapes
