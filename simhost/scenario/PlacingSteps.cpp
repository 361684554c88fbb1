// Steps for placing reinforcement into host elements: slabs and roofs with
// their outlines (a roof of several planes with its planes), and the
// user's answers to the object settings dialog.
#include "simhost/scenario/Steps.hpp"
#include "platform/gs/MathConstants.hpp"

namespace SimHost {

namespace {

API_Coord ReadPoint(const JsonObject& step, const std::string& key, const picojson::value& point)
{
    if (!point.is<picojson::array>() || point.get<picojson::array>().size() != 2 ||
        !point.get<picojson::array>()[0].is<double>() || !point.get<picojson::array>()[1].is<double>())
        step.Fail(key, "'" + step.PathOf(key) + "' must list points [x, y]");
    return {point.get<picojson::array>()[0].get<double>(), point.get<picojson::array>()[1].get<double>()};
}

std::vector<API_Coord> ReadRing(const JsonObject& step, const std::string& key, const picojson::array& points)
{
    std::vector<API_Coord> ring;
    for (const auto& p : points)
        ring.push_back(ReadPoint(step, key, p));
    return ring;
}

constexpr double DegreesToRadians = GS::Pi / 180.0;

}  // namespace

// "outline": [[x, y], ...], "holes": [[[x, y], ...], ...]
PolygonRings ReadRings(const JsonObject& step)
{
    PolygonRings rings;
    rings.contour = ReadRing(step, "outline", step.Array("outline"));
    if (rings.contour.size() < 3)
        step.Fail("outline", "'" + step.PathOf("outline") + "' needs at least three points");
    for (const auto& hole : step.Array("holes")) {
        if (!hole.is<picojson::array>())
            step.Fail("holes", "'" + step.PathOf("holes") + "' must list rings of points");
        rings.holes.push_back(ReadRing(step, "holes", hole.get<picojson::array>()));
    }
    return rings;
}

namespace {

// "pivot": [[x, y], [x, y]]
void ReadPivot(const JsonObject& step, API_Coord& begin, API_Coord& end)
{
    const picojson::array& pivot = step.Array("pivot");
    if (pivot.size() != 2)
        step.Fail("pivot", "'" + step.PathOf("pivot") + "' must be two points");
    begin = ReadPoint(step, "pivot", pivot[0]);
    end = ReadPoint(step, "pivot", pivot[1]);
}

// The keys that a plane roof and each plane of a roof of several planes
// share: thickness, level, slope in degrees, pivot line, side, outline.
template <typename Plane> void ReadPlaneKeys(const JsonObject& step, Plane& plane)
{
    plane.thickness = step.Number("thickness", 0.2);
    plane.level = step.Number("level", 0.0);
    plane.angle = step.Number("slope", 30.0) * DegreesToRadians;
    ReadPivot(step, plane.pivotBegin, plane.pivotEnd);
    plane.posSign = step.Bool("risesLeft", true);
    plane.outline = ReadRings(step);
}

// Where a step puts the element it adds, and the name it keeps it under.
struct ElementPlace {
    std::string name;
    Int32 layer = 1;
    Int16 story = 0;
};

ElementPlace ReadElementPlace(const JsonObject& step)
{
    ElementPlace place;
    place.name = step.String("name");
    place.layer = ReadLayer(step, "layer");
    place.story = ReadStory(step, "story");
    return place;
}

template <typename Part> StepAction AddElement(API_ElemTypeID type, const Part& part, const ElementPlace& place)
{
    return [=](Host& host, RunContext& ctx) {
        Element& e = host.model.Add(type, place.layer);
        host.model.ReachStory(place.story);
        e.story = place.story;
        e.part = part;
        if (!place.name.empty())
            ctx.names[place.name] = e.guid;
    };
}

StepAction ParseSlab(const JsonObject& step)
{
    step.Only({"do", "name", "layer", "story", "thickness", "level", "offset", "outline", "holes"});
    SlabPart slab;
    slab.thickness = step.Number("thickness", 0.2);
    slab.level = step.Number("level", 0.0);
    slab.offset = step.Number("offset", 0.0);
    slab.outline = ReadRings(step);
    return AddElement(API_SlabID, slab, ReadElementPlace(step));
}

// A plane roof (its outline, pivot line, slope in degrees, side), or a
// roof of several planes ("planes": each with the same keys and its
// part id "id": [a, b, c]).
StepAction ParseRoof(const JsonObject& step)
{
    step.Only({"do", "name", "layer", "story", "thickness", "level", "slope", "pivot", "risesLeft", "outline", "holes",
               "planes"});
    RoofPart roof;
    const ElementPlace place = ReadElementPlace(step);
    if (step.Has("planes")) {
        roof.roofClass = 1;
        for (USize i = 0; i < step.Array("planes").size(); ++i)
            roof.planes.push_back(ReadRoofPlane(step.Item("planes", i)));
    } else {
        ReadPlaneKeys(step, roof);
    }
    return AddElement(API_RoofID, roof, place);
}

// The user's answer to the next object settings dialog: the part and the
// values typed, or a cancel.
StepAction ParseSettingsDialog(const JsonObject& step)
{
    step.Only({"do", "part", "params", "cancel"});
    SettingsDialogAnswer answer;
    answer.cancel = step.Bool("cancel", false);
    answer.part = step.String("part");
    answer.params = ReadParams(step, "params");
    return [=](Host& host, RunContext&) { host.user.settingsDialogs.push_back(answer); };
}

}  // namespace

RoofPlaneDef ReadRoofPlane(const JsonObject& p)
{
    p.Only({"id", "thickness", "level", "slope", "pivot", "risesLeft", "outline", "holes"});
    RoofPlaneDef plane;
    if (!p.Has("id"))
        p.Fail("id", "'" + p.PathOf("id") + "' is missing: a plane's id, three whole numbers");
    plane.partId = ReadPlaneId(p, p.PathOf("id"), p.Raw().at("id"));
    ReadPlaneKeys(p, plane);
    return plane;
}

void AddPlacingSteps(StepTable& table)
{
    table["slab"] = {ParseSlab};
    table["roof"] = {ParseRoof};
    table["settingsDialog"] = {ParseSettingsDialog};
}

}  // namespace SimHost
