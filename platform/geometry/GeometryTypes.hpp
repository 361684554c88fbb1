// Plain records of the host's geometry library. They do not depend on the
// host version, so the API records share them.
#pragma once
#include "platform/gs/GSTypes.hpp"

// One arc of a polygon: from vertex begIndex to endIndex, turning by
// arcAngle (counter-clockwise when positive).
struct PolyArcRec {
    Int32 begIndex;
    Int32 endIndex;
    double arcAngle;
};
static_assert(sizeof(PolyArcRec) == 16, "PolyArcRec");

namespace Geometry {

struct Coord {
    double x;
    double y;
};
static_assert(sizeof(Coord) == 16, "Coord");

inline bool operator==(const Coord& a, const Coord& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const Coord& a, const Coord& b) { return !(a == b); }

struct Box2DData {
    double xMin;
    double yMin;
    double xMax;
    double yMax;
};

}  // namespace Geometry
