// The Slab, Wall and Roof command of the palette.
#pragma once
#include "addon/walls/ReinforcementLayers.hpp"
#include "platform/api/APIdefs.hpp"
#include <functional>

// Reinforces the selected elements of the host type (slab 8, wall 1,
// roof 9) with layers the user defines. `disableEntries` turns off the
// palette entries that must not be used while the user defines layers
// (the palette is the frame's to reach).
void ReinforceSelectedElements(API_ElemTypeID elemType, const std::function<void()>& disableEntries = {});

// The settings dialog loop: layers defined one after the other, a side or
// edge picked per element, and on finishing one undoable step that places
// them all. Nothing is placed when the user cancels.
void DefineReinforcementLayers(const GS::Array<API_Guid>& elements, Int32 positionType);

// Sets the object tool's default to the library part, with its default
// sizes and the position type in `iPosition`. Failures are ignored.
void SetDefaultPositionType(Int32 libInd, Int32 value);

// Whether a wall can be reinforced: upright, not profiled, and a curved
// wall's slant within 1e-4 of upright.
bool WallPlaneIsVertical(const API_WallType& wall);
