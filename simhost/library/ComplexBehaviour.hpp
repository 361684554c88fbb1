// What the GDL script of a complex object (a beam, crowning or column)
// computes for its section: the box "ironBounding" that its section view
// fills, from the sub-bars the object holds.
//
// The section is drawn in the object's plane: each sub-bar r is cut at its
// position "ironPos"[r] (x, y; relative to the object, turned with the
// object's angle and mirrored with it) as a disc of its diameter
// "ironExtraData"[r][1] in mm (12 when missing or not above 0). The box
// holds every disc and a concrete cover of 0.05 m around them, in model
// coordinates: its first four values are x minimum, y minimum, x maximum and
// y maximum (the box a preview picture is zoomed to). An object without
// the parameter is left as it is.
#pragma once
#include "simhost/model/BarSections.hpp"

namespace SimHost {

void ComputeComplexBounding(ObjectPart& object);

}  // namespace SimHost
