// Where a new layer lies on each element: the side of a wall or the edge of
// a slab the user clicks, with a rubber line showing meanwhile what a click
// there would choose.
#pragma once
#include "platform/api/APIdefs.hpp"

// The two long sides of the current wall, each from its first to its
// second corner. Program-wide: rewritten before each wall's point input,
// read by the rubber line during it and by the side choice after it.
struct WallSideCornersType {
    API_Sector a{};
    API_Sector b{};
};
WallSideCornersType& WallSideCorners();

// One edge of the current slab.
struct SlabEdge {
    double x1, y1, x2, y2;
};
// The current slab's edges; filled only during the slab's point input.
GS::Array<SlabEdge>& SlabEdgeList();

// The sides of a wall outline of exactly four corners (its first contour
// closing at vertex 5): A = (c1, c2) and B = (c4, c3) when c1 -> c2 runs
// along the reference line (either way, within 0.002), else A = (c1, c4)
// and B = (c2, c3). False, `sides` untouched, for any other outline.
bool WallSidesFromOutline(const API_WallType& wall, const API_ElementOutline& outline, WallSideCornersType& sides);

// The two long sides of a straight wall from its own reference line,
// thickness and the reference line's place in it: A on the right of the
// reference direction, B on its left, both from the wall's begin to its
// end. A curved wall gives the sides of its chord.
WallSideCornersType WallSidesFromReferenceLine(const API_WallType& wall);

// The two long sides of the wall: from its plan outline when that has four
// corners, else (a wall joined to others, or an outline the host does not
// give) from the wall's own reference line.
WallSideCornersType ReadWallSides(const API_Guid& wallGuid, const API_WallType& wall);

// The part of side S that faces the other side O.
API_Sector PickSideEndpoints(const API_Sector& s, const API_Sector& o);

// True when the point lies nearer side A than side B (a tie is B's).
bool NearerIsSideA(const WallSideCornersType& sides, const API_Coord& point);

// Side A's part facing B (or B's facing A), directed: a side to the left
// of the reference direction keeps its corners' direction, a side to the
// right is reversed. The side a click nearer A chooses, or the side of an
// object placed with its layer against the reference direction.
API_Sector DirectedWallSide(const WallSideCornersType& sides, const API_Coord& begin, const API_Coord& end, bool sideA);

// The side a click chooses, directed: a side to the left of the reference
// direction keeps its corners' direction, a side to the right is reversed.
API_Sector ChooseWallSide(const WallSideCornersType& sides, const API_Coord& begin, const API_Coord& end,
                          const API_Coord& click);

// The edge nearest the point (the first among equal distances); -1 for an
// empty list.
Int32 NearestSlabEdge(const GS::Array<SlabEdge>& edges, const API_Coord& point);

// The rubber-line callbacks of the point inputs.
GSErrCode WallSidePickFeedback(const API_RubberLineInfo* info);
GSErrCode EdgePickFeedback(const API_RubberLineInfo* info);

// Highlights the element alone (after clearing the host's highlight).
void HighlightElement(const API_Guid& element);
void ClearHighlight();

// The user's pick for one wall or slab: 0 and the sector, or the host's
// code when the user cancelled the point input.
GSErrCode PickWallSide(const API_Guid& wall, API_Sector& side);
GSErrCode PickSlabEdge(const API_Guid& slab, API_Sector& edge);
