// Openings cut out of a roof polygon with the shapes the host gives of them.
#pragma once
#include "addon/geometry/MemoPolygon.hpp"

// The host's plan shape of an element, by the 'GSHP' convention of
// platform/geometry/Polygon2D.hpp; null when the host cannot give it.
Geometry::CorePolygon2DPtr HostOpeningShape(const API_Guid& opening);

// CutShapesFromPolygon with the host's shapes of the openings. Nothing
// escapes: when the geometry library fails (malformed pd, an outline it
// cannot work on, out of memory) pd is left as it was.
void CutOpeningsFromPolygon(Geometry::Polygon2DData& pd, const GS::Array<API_Guid>& openings);
