// The sections of a complex object's sub-bars (a beam, crowning or column)
// in the model: each sub-bar r cut at its position "ironPos"[r] (x, y;
// relative to the object, turned with the object's angle and mirrored with
// it) as a disc of its diameter "ironExtraData"[r][1] in mm (12 when
// missing or not above 0). What the object's script computes from them, and
// what the plan and preview pictures draw.
#pragma once
#include "simhost/model/Model.hpp"
#include <vector>

namespace SimHost {

struct BarSection {
    API_Coord centre;  // model coordinates
    double diameter;   // metres
};

// The sections of the object's sub-bars; none when it has no "ironPos"
// rows of at least two values.
std::vector<BarSection> ComplexBarSections(const ObjectPart& object);

}  // namespace SimHost
