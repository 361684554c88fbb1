// Where a reinforcement layer lies in a wall, read from the wall
// description (built afresh with both depths at -1).
//
// A description that is "{}" or holds values of other types than its format
// counts as one that does not parse: each reader then gives its failure
// value.
#pragma once
#include "platform/api/APIdefs.hpp"

// The layer's depth in the wall's skins; -1 when there is no core or no
// usable description.
double LocateCoreOffset(bool sameDir, API_Element wall, double layerPos);

// The plan point where the layer begins, and the core skin's thickness
// through `coreThickness` when the core is found. (NaN, NaN) when the
// description is unusable, the wall cannot be read again, its reference
// line has no length, its location code lies outside 0 to 5, or (curved)
// its plan polygon holds fewer than 20 numbers or closes an end with no
// length.
API_Coord LocateLayerStartPoint(bool sameDir, API_Element wall, double layerPos, double& coreThickness);

// The wall's arc angle, or -1.0.
double ReadWallCurveAngle(API_Guid wall);

// The radius of the layer in a curved wall.
double ReadWallCurveRadius(API_Guid wall, bool sameDir, double layerPos, bool flipped);
