// Plane geometry on the host's point type, shared by the wall, slab and roof
// code. Pure functions: no state, no allocation, no host call.
//
// Angles are radians, positive counter-clockwise (from +x towards +y). The
// lines of SignedLineDistance, LineDistance and PerpendicularFoot are the
// infinite lines through two different points, not segments.
#pragma once
#include "platform/api/APIdefs.hpp"

// Centre of the circular arc that runs from p1 to p2 turning through the
// signed central angle a. False (centre (0, 0)) for |a| < 1e-5; a half turn
// either way (||a| - pi| < 1e-4) gives the chord's midpoint.
bool ArcCenter(const API_Coord& p1, const API_Coord& p2, double a, API_Coord& centre);

// Cross product of p1 - p0 and p2 - p0: positive when p2 lies to the left
// of p0 -> p1, negative to the right, 0 on the line.
double Orientation(const API_Coord& p0, const API_Coord& p1, const API_Coord& p2);

// Distance of (px, py) from the line (x1, y1) -> (x2, y2): positive to the
// right of that direction, negative to the left (the opposite convention to
// Orientation).
double SignedLineDistance(double x1, double y1, double x2, double y2, double px, double py);
double LineDistance(double x1, double y1, double x2, double y2, double px, double py);

double PointDistance(const API_Coord& p, const API_Coord& q);

// Foot of the perpendicular from p onto the line. A line within 1e-4 of
// vertical takes x from its first point, one within 1e-4 of horizontal
// takes y from its second point.
API_Coord PerpendicularFoot(const API_Coord& p, const API_Sector& line);

API_Coord RotateAround(const API_Coord& p, const API_Coord& c, double a);
API_Coord RotateAboutOrigin(const API_Coord& p, double a);

// q - p.
API_Coord VectorBetween(const API_Coord& p, const API_Coord& q);
API_Sector SwappedSegment(const API_Sector& s);

// Angle between u and v in [0, pi]. The cosine is cut to six decimals
// toward zero before acos, so nearly parallel vectors may give acos(0.999999)
// rather than 0. A vector shorter than 1e-5 gives 0.
double AngleBetween2D(const API_Coord& u, const API_Coord& v);
