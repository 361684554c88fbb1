// Polygons with arcs and holes, and the boolean operation the add-on needs.
//
// A CorePolygon2D is an outline and its holes, each a closed ring of
// vertices; the edge from a vertex to the next (the last back to the first)
// is straight or an arc. Rings keep the order and the first vertex they were
// given; nothing is re-oriented until an operation has to.
//
// Substract runs on Boost.Geometry. The arcs are cut into a fine chain of
// points first; afterwards every arc whose whole chain is still present in a
// result ring is put back as the arc it was, so arcs that the operation does
// not touch come out exactly. Arcs that it cuts stay a chain of points.
// When the two polygons do not meet, the result is the first polygon itself,
// vertex for vertex.
//
// Failures are exceptions: GeometryException for malformed input (a polygon
// that is not IsValid included) or any error inside the polygon arithmetic,
// std::bad_alloc for memory. Nothing else leaves the library.
#pragma once
#include "platform/geometry/GeometryTypes.hpp"
#include "platform/gs/Array.hpp"
#include <memory>
#include <stdexcept>
#include <string>

namespace Geometry {

class PLATFORM_API GeometryException : public std::runtime_error {
public:
    explicit GeometryException(const std::string& what) : std::runtime_error(what) {}
};

// Arc angles smaller than this in magnitude are straight edges.
constexpr double MinArcAngle = 1e-10;
inline bool IsArcAngle(double angle) { return angle >= MinArcAngle || angle <= -MinArcAngle; }

// Centre of the arc from begC to endC turning through angle (counter-
// clockwise when positive). False, and origo untouched, for an angle that is
// not an arc (IsArcAngle) or not finite, or for coinciding end points.
PLATFORM_API bool ArcGetOrigo(const Coord* begC, const Coord* endC, double angle, Coord* origo);

struct PolyVertex {
    Coord pos;
    double arcAngle;  // the edge to the next vertex: 0 straight, else an arc turning by this angle
};
inline bool operator==(const PolyVertex& a, const PolyVertex& b) { return a.pos == b.pos && a.arcAngle == b.arcAngle; }

using PolyContour = GS::Array<PolyVertex>;

class CorePolygon2D;
// A list of polygons with holes.
using CustomMultiPolygon2D = GS::Array<CorePolygon2D>;

class PLATFORM_API CorePolygon2D {
public:
    CorePolygon2D() = default;

    // The first contour added is the outline, every later one a hole. An
    // empty contour is not added.
    void AddContour(const PolyContour& contour);
    bool IsEmpty() const { return contours.IsEmpty(); }
    UInt32 GetContourCount() const { return contours.GetSize(); }
    const PolyContour& GetContour(UInt32 index) const { return contours[index]; }

    // Area of the outline less the holes, arcs included; 0 for an empty polygon.
    double CalcArea() const;

    // Every coordinate finite and every arc less than a full turn: a polygon
    // the boolean operations can work on. An empty polygon is valid.
    bool IsValid() const;

    // What remains of this polygon once `other` is taken away: each piece a
    // polygon with its holes; empty when nothing remains. GeometryException
    // when either polygon is not IsValid.
    CustomMultiPolygon2D Substract(const CorePolygon2D& other) const;

    bool operator==(const CorePolygon2D& other) const { return contours == other.contours; }
    bool operator!=(const CorePolygon2D& other) const { return !(*this == other); }

private:
    GS::Array<PolyContour> contours;
};

// The host's plan shape of an element, asked for with the request code
// 'GSHP' through the host's utility call (the slot Utility: code, par1,
// par2, par3):
//   par1  const API_Guid*          the element;
//   par2  CorePolygon2DPtr*        a shared pointer that holds an empty
//                                  polygon, owned by the caller;
//   par3  nullptr.
// On success the host answers 0 and the shape is in the polygon the shared
// pointer holds: the host fills that polygon, or makes the pointer hold one
// of its own. The caller reads the shape through the pointer after the call
// and treats an empty pointer as no shape. Any other answer is the host's
// error code and the polygon means nothing.
using CorePolygon2DPtr = std::shared_ptr<CorePolygon2D>;

}  // namespace Geometry
