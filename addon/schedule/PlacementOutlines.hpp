// The outlines that follow the cursor while the user clicks where a new
// crowning, beam, column or cutting-list object goes. Each outline is a
// fixed chain of lines around the cursor; the four feedback functions are
// the rubber-line callbacks handed to the host's point input, which draw
// their outline at the position the host passes and keep no state.
#pragma once
#include "platform/api/APIdefs.hpp"
#include <vector>

enum class PlacementOutline { Crowning, Beam, Column, List };

struct OutlineLine {
    API_Coord3D from;
    API_Coord3D to;
};

// The outline's lines, in drawing order, every line at the cursor's z.
std::vector<OutlineLine> PlacementOutlineLines(PlacementOutline outline, const API_Coord3D& cursor);

// Draws the outline at the cursor with the host's rubber lines.
void DrawPlacementOutline(PlacementOutline outline, const API_Coord3D& cursor);

// The rubber-line callbacks: the host passes the cursor's position in
// `info->actCoord`.
GSErrCode CrowningPlacementFeedback(const API_RubberLineInfo* info);
GSErrCode BeamPlacementFeedback(const API_RubberLineInfo* info);
GSErrCode ColumnPlacementFeedback(const API_RubberLineInfo* info);
GSErrCode ListPlacementFeedback(const API_RubberLineInfo* info);

// The rubber-line callbacks' type.
using PlacementFeedback = APIRubberLineInfoProc*;

// The host's point input with an outline following the cursor: 0 and the
// clicked point in `point.pos`, or non-zero when the user gave no point.
GSErrCode RequestPoint(API_GetPointType& point, PlacementFeedback feedback);
