#include "addon/complex/ComplexSteps.hpp"
#include "addon/schedule/WriteResults.hpp"
#include <cstring>

namespace {

// The run's results go through the Cutting List's writer: no complex
// groups, the element's ID as the members' prefix.
bool WriteBarResults(PlacementManager& manager, IronGroups& groups, const char* prefix)
{
    return WriteResultsUndoable(manager, groups, nullptr, prefix);
}

// The host's point input with the outline following the cursor; the prompt
// is cut to the record's 255 bytes and its terminator.
GSErrCode ClickPoint(const char* prompt, PlacementOutline outline, API_Coord3D& point)
{
    API_GetPointType request;
    std::memset(static_cast<void*>(&request), 0, sizeof request);
    if (prompt != nullptr)
        std::strncpy(request.prompt, prompt, sizeof request.prompt - 1);
    const GSErrCode err = RequestPoint(request, OutlineFeedback(outline));
    if (err == NoError)
        point = request.pos;
    return err;
}

}  // namespace

PlacementOutline KindOutline(ComplexElementKind kind)
{
    switch (kind) {
    case CrowningKind:
        return PlacementOutline::Crowning;
    case BeamKind:
        return PlacementOutline::Beam;
    case ColumnKind:
        break;
    }
    return PlacementOutline::Column;
}

PlacementFeedback OutlineFeedback(PlacementOutline outline)
{
    switch (outline) {
    case PlacementOutline::Crowning:
        return CrowningPlacementFeedback;
    case PlacementOutline::Beam:
        return BeamPlacementFeedback;
    case PlacementOutline::Column:
        return ColumnPlacementFeedback;
    case PlacementOutline::List:
        break;
    }
    return ListPlacementFeedback;
}

ComplexSteps DefaultComplexSteps()
{
    ComplexSteps steps;
    steps.writeResults = WriteBarResults;
    steps.clickPoint = ClickPoint;
    return steps;
}

ComplexSteps& CurrentComplexSteps()
{
    static ComplexSteps steps = DefaultComplexSteps();
    return steps;
}
