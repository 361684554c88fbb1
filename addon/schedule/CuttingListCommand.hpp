// The Cutting List command of the palette.
#pragma once
#include "platform/api/APIdefs.hpp"

// Optimises the cutting list of the reinforcement that `mode` names (3: the
// selected objects, or all of them when nothing is selected).
bool RunCuttingListOptimization(Int32 mode);
