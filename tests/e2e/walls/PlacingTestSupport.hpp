// What the placing tests give the stand-in host: numeric parameters and the
// user's answer to the object settings dialog.
#pragma once
#include "simhost/core/SimHost.hpp"
#include "simhost/model/Model.hpp"
#include "simhost/ui/PointInput.hpp"
#include "simhost/ui/SettingsDialog.hpp"
#include <utility>
#include "tests/support/GdlParams.hpp"

namespace PlacingTest {

using TestParams::Number;

// The settings dialog's answer for one layer: the part chosen and the
// values typed.
inline SimHost::SettingsDialogAnswer Layer(const char* part, SimHost::GdlParams params = {})
{
    SimHost::SettingsDialogAnswer a;
    a.part = part;
    a.params = std::move(params);
    return a;
}

// The user's click at (x, y) in a point input.
inline SimHost::PointAnswer Click(double x, double y)
{
    SimHost::PointAnswer a;
    a.click = {x, y, 0};
    return a;
}

// An outline and its holes.
inline SimHost::PolygonRings Ring(std::vector<API_Coord> contour, std::vector<std::vector<API_Coord>> holes = {})
{
    SimHost::PolygonRings r;
    r.contour = std::move(contour);
    r.holes = std::move(holes);
    return r;
}

// A plane roof over `outline`, its pivot line the outline's first edge.
inline API_Guid AddRoof(SimHost::Host& host, const SimHost::PolygonRings& outline, double slope)
{
    SimHost::Element& e = host.model.Add(API_RoofID);
    SimHost::RoofPart roof;
    roof.angle = slope;
    roof.pivotBegin = outline.contour[0];
    roof.pivotEnd = outline.contour[1];
    roof.outline = outline;
    e.part = roof;
    return e.guid;
}

}  // namespace PlacingTest
