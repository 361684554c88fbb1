// The Slab, Wall and Roof command of the palette.
#pragma once
#include "platform/api/APIdefs.hpp"

// Reinforces the selected elements of the host type (slab 8, wall 1,
// roof 9) with layers the user defines.
void ReinforceSelectedElements(API_ElemTypeID elemType);
