// Building a complex element from the selected bars, stirrups and concrete
// blocks: their groups and new IDs, the complex object with one row per
// sub-bar, its detail drawing and, when asked for, its cutting list.
#pragma once
#include "addon/complex/ComplexKind.hpp"
#include "addon/schedule/PlacementManager.hpp"
#include <string>

// Moves every sub-bar's position and symbol box so that the smallest x, the
// smallest y and the smallest z of all positions become 0, each coordinate
// on its own. The plan box stays. The creator is not read.
void NormalizeBarPositions(const ObjectCreator& creator, IronGroups& groups);

// The number of sub-bars: every member of every group.
Int32 SubBarCount(const IronGroups& groups);

// The smallest plan-box x and y over every sub-bar: the origin the detail
// drawing's copies are shifted to.
API_Coord PlanOrigin(const IronGroups& groups);

// The number of data values a row declares (its form's third value), cut to
// the values the row holds, never below 0.
Int32 DeclaredDataCount(const IronProperties& record);

// Writes the complex object's parameters for the groups (sub-bars in group
// order, members in order) into the default parameters of its part.
void FillComplexObjectParams(ComplexElementKind kind, const std::string& id, const IronGroups& groups,
                             API_AddParType** params);

// Writes the cutting list of the element: a row per group that is not a
// concrete block.
void FillComplexListParams(ComplexElementKind kind, const std::string& id, const IronGroups& groups,
                           API_AddParType** params);

// Builds the element with the accepted ID on the layer at the point. False
// when the reading refused, a part was missing or the object tool's
// defaults were not to be had.
bool BuildComplexElement(const ObjectCreator& creator, const std::string& id, Int16 layer, bool withList,
                         const API_Coord3D& point);
