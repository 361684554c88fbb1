#include "addon/schedule/PlacementOutlines.hpp"
#include "addon/host/HostRequests.hpp"
#include "addon/services/Boundary.hpp"
#include <cstring>

namespace {

constexpr Int32 OutlineLineMode = 1;

// A closed chain through the points, back to the first.
void AddClosedChain(std::vector<OutlineLine>& lines, const API_Coord3D& c, std::initializer_list<API_Coord> points)
{
    const API_Coord* first = points.begin();
    for (const API_Coord* p = points.begin(); p != points.end(); ++p) {
        const API_Coord* q = p + 1 == points.end() ? first : p + 1;
        lines.push_back({{c.x + p->x, c.y + p->y, c.z}, {c.x + q->x, c.y + q->y, c.z}});
    }
}

void AddLine(std::vector<OutlineLine>& lines, const API_Coord3D& c, API_Coord from, API_Coord to)
{
    lines.push_back({{c.x + from.x, c.y + from.y, c.z}, {c.x + to.x, c.y + to.y, c.z}});
}

// The rectangle of a crowning and a beam: 2 wide, 0.5 high, its lower-left
// corner at the cursor.
void AddLongRectangle(std::vector<OutlineLine>& lines, const API_Coord3D& c)
{
    AddClosedChain(lines, c, {{0, 0}, {0, 0.5}, {2, 0.5}, {2, 0}});
}

GSErrCode Feedback(PlacementOutline outline, const API_RubberLineInfo* info)
{
    if (info == nullptr)
        return APIERR_BADPARS;
    const API_Coord3D cursor = info->actCoord;
    CallGuarded("PlacementFeedback", [&] { DrawPlacementOutline(outline, cursor); });
    return NoError;
}

}  // namespace

std::vector<OutlineLine> PlacementOutlineLines(PlacementOutline outline, const API_Coord3D& c)
{
    std::vector<OutlineLine> lines;
    switch (outline) {
    case PlacementOutline::Crowning:
        AddLongRectangle(lines, c);
        for (int k = 1; k <= 9; ++k)
            AddLine(lines, c, {0.2 * k, 0.5}, {0.2 * k, 0});
        break;
    case PlacementOutline::Beam:
        AddLongRectangle(lines, c);
        break;
    case PlacementOutline::Column:
        AddClosedChain(lines, c, {{0, 0}, {0, 0.5}, {0.5, 0.5}, {0.5, 0}});
        AddClosedChain(lines, c, {{0.1, 0.1}, {0.1, 0.4}, {0.4, 0.4}, {0.4, 0.1}});
        break;
    case PlacementOutline::List:
        // A frame below the cursor and the table's text lines inside it.
        AddClosedChain(lines, c, {{0, 0}, {0, -1}, {0.5, -1}, {0.5, 0}});
        for (int k = 1; k <= 7; ++k)
            AddLine(lines, c, {0.4, -0.1 * k}, {0.1, -0.1 * k});
        break;
    }
    return lines;
}

void DrawPlacementOutline(PlacementOutline outline, const API_Coord3D& cursor)
{
    for (const OutlineLine& line : PlacementOutlineLines(outline, cursor)) {
        API_RubberLineType rubber;
        std::memset(static_cast<void*>(&rubber), 0, sizeof rubber);
        rubber.c1 = line.from;
        rubber.c2 = line.to;
        rubber.drawModes = OutlineLineMode;
        HostRequest::DRLI(&rubber);
    }
}

GSErrCode CrowningPlacementFeedback(const API_RubberLineInfo* info) { return Feedback(PlacementOutline::Crowning, info); }
GSErrCode BeamPlacementFeedback(const API_RubberLineInfo* info) { return Feedback(PlacementOutline::Beam, info); }
GSErrCode ColumnPlacementFeedback(const API_RubberLineInfo* info) { return Feedback(PlacementOutline::Column, info); }
GSErrCode ListPlacementFeedback(const API_RubberLineInfo* info) { return Feedback(PlacementOutline::List, info); }

GSErrCode RequestPoint(API_GetPointType& point, PlacementFeedback feedback)
{
    return HostRequest::IPOI(&point, feedback);
}
