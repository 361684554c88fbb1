// The wall description: the JSON text that describes one wall to the
// wall-geometry library and from which the layer readers take the wall's
// arc angle, plan polygon and skins.
//
// Compact, keys of every object in byte order, numbers as the JSON library
// writes doubles. Anything that is not a readable wall with exactly one
// body gives "{}"; so does a wall with a number that is not finite, which
// JSON cannot hold.
#pragma once
#include "platform/api/APIdefs.hpp"
#include <string>
#include <vector>

struct WallComposite {
    double thickness = 0;
    int core = 0;  // 1 for the core skin
};

std::string BuildWallDescriptionJson(double startdepth, double enddepth, API_Guid wall);

// The wall's skins: a composite's in its order, or one core skin of the
// wall's thickness; empty when the composite cannot be read.
std::vector<WallComposite> CollectWallComposites(const API_Element& element);

// The plan polygon flattened: per vertex 0, x, y, or 1, x, y, cx, cy, r,
// angle where an arc begins. 0, the memo read's error, or -7003 for an
// element that is not a wall; the list stays empty when the memo lacks the
// coordinates or ring ends.
constexpr GSErrCode NotAWallError = -7003;
GSErrCode FlattenWallPolygon2D(const API_Element& element, const API_Polygon& counts, std::vector<double>& out);

// (x, y, z) / length, or (1, 0, 0) for a length of at most 1e-12.
API_Coord3D NormalizeVector3(double x, double y, double z);

// Centre of the arc from a to b turning by angle: false and (0, 0) for
// |angle| < 1e-5, the chord's middle for a half turn (within 1e-5).
bool ArcCentreFromChord(const API_Coord& a, const API_Coord& b, double angle, API_Coord& centre);
