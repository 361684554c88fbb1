// Steps of a create run that stand on calls the add-on reaches elsewhere:
// the run's result writing, and the host's point input with the outline
// that follows the cursor. The run calls them only through here, so each is
// wired in one place and tests can play them.
#pragma once
#include "addon/complex/ComplexKind.hpp"
#include "addon/schedule/PlacementManager.hpp"
#include "addon/schedule/PlacementOutlines.hpp"
#include <functional>

PlacementOutline KindOutline(ComplexElementKind kind);

// The rubber-line callback that draws the outline.
PlacementFeedback OutlineFeedback(PlacementOutline outline);

struct ComplexSteps {
    // Writes the groups' IDs (with the element's ID as prefix) and data into
    // their members as one undoable step.
    std::function<bool(PlacementManager& manager, IronGroups& groups, const char* prefix)> writeResults;
    // The user's click with the prompt while the outline follows the
    // cursor; the host's code, 0 when a point was given.
    std::function<GSErrCode(const char* prompt, PlacementOutline outline, API_Coord3D& point)> clickPoint;
};

// The steps in use; the defaults are the add-on's own.
ComplexSteps& CurrentComplexSteps();

// The defaults, to put back after a test.
ComplexSteps DefaultComplexSteps();
