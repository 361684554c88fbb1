// Walls' host calls: their bodies, composites and plan polygons.
#pragma once
#include "simhost/model/Model.hpp"

namespace SimHost {

// Puts the wall's plan polygon into the memo's handles; false when memory
// cannot be had (the memo then holds none of them). With walls joined to
// it, the outline that reaches across the corners.
bool HandOutWallPlanPolygon(const WallPart& wall, API_ElementMemo& memo, const std::vector<const WallPart*>& joined = {});

// Bodies are numbered by wall: the n-th wall of the model (from 1) has
// bodies n * WallBodyStride up to one less than the next wall's.
constexpr Int32 WallBodyStride = 1000;

class Host;
// 'HostGetAttribute' for a composite structure (attribute type 5): its
// skin count, line count and total thickness.
GSErrCode GetWallCompositeAttribute(const Host& host, API_Attribute* attribute);

}  // namespace SimHost
