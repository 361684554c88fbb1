// Steps in which the user changes and deletes elements with the host's own
// tools: `change` (move, rotate, settings, outlines, roof planes) and
// `delete`. Each is one undo step; the add-on hears of observed elements
// through its element-event handler.
#include "simhost/model/ElementEdit.hpp"
#include "simhost/scenario/Steps.hpp"
#include "platform/gs/MathConstants.hpp"
#include <cmath>

namespace SimHost {

namespace {

using GS::Pi;
constexpr double DegreesToRadians = Pi / 180.0;

API_Coord ReadVector(const JsonObject& step, const std::string& key)
{
    const picojson::array& p = step.Array(key);
    if (p.size() != 2 || !p[0].is<double>() || !p[1].is<double>() || !std::isfinite(p[0].get<double>()) ||
        !std::isfinite(p[1].get<double>()))
        step.Fail(key, "'" + step.PathOf(key) + "' must be [x, y]");
    return {p[0].get<double>(), p[1].get<double>()};
}

// A number in [low, high], when given.
std::optional<double> ReadBounded(const JsonObject& step, const std::string& key, double low, double high,
                                  const std::string& what)
{
    if (!step.Has(key))
        return std::nullopt;
    const double v = step.Number(key);
    if (!(v >= low && v <= high))
        step.Fail(key, "'" + step.PathOf(key) + "' must be " + what);
    return v;
}

std::optional<double> ReadPositive(const JsonObject& step, const std::string& key)
{
    return ReadBounded(step, key, 1e-9, 1e6, "a number greater than 0");
}

std::optional<Int32> ReadInteger(const JsonObject& step, const std::string& key, Int32 low, Int32 high)
{
    if (!step.Has(key))
        return std::nullopt;
    const Int64 v = step.Integer(key);
    if (v < low || v > high)
        step.Fail(key, "'" + step.PathOf(key) + "' must be " + std::to_string(low) + " to " + std::to_string(high));
    return static_cast<Int32>(v);
}

std::vector<RoofPlaneDef> ReadPlanes(const JsonObject& step, const std::string& key)
{
    std::vector<RoofPlaneDef> planes;
    for (USize i = 0; i < step.Array(key).size(); ++i)
        planes.push_back(ReadRoofPlane(step.Item(key, i)));
    return planes;
}

// "element": a name, or "elements": names; at least one.
std::vector<std::string> ReadNames(const JsonObject& step)
{
    std::vector<std::string> names;
    if (step.Has("element"))
        names.push_back(step.String("element"));
    for (USize i = 0; i < step.Array("elements").size(); ++i)
        names.push_back(step.ItemString("elements", i));
    if (names.empty())
        step.Fail("do", "'" + step.PathOf("do") + "' needs \"element\" or \"elements\"");
    return names;
}

std::vector<API_Guid> Resolve(const JsonObject& step, const RunContext& ctx, const std::vector<std::string>& names)
{
    std::vector<API_Guid> guids;
    for (const std::string& name : names)
        guids.push_back(NamedElement(step, step.Has("element") ? "element" : "elements", ctx, name));
    return guids;
}

ElementEdit ReadEdit(const JsonObject& step)
{
    constexpr double AlmostTurn = 2 * Pi - 1e-9;
    ElementEdit edit;
    if (step.Has("move"))
        edit.move = ReadVector(step, "move");
    if (const auto degrees = ReadBounded(step, "rotate", -360, 360, "an angle in degrees, -360 to 360"))
        edit.rotate = *degrees * DegreesToRadians;
    if (step.Has("about"))
        edit.about = ReadVector(step, "about");
    if (edit.about && !edit.rotate)
        step.Fail("about", "'" + step.PathOf("about") + "' is the centre of a rotation: give \"rotate\" too");
    edit.thickness = ReadPositive(step, "thickness");
    edit.height = ReadPositive(step, "height");
    edit.bottomOffset = ReadBounded(step, "bottomOffset", -1e6, 1e6, "a number");
    edit.arcAngle = ReadBounded(step, "arcAngle", -AlmostTurn, AlmostTurn, "an angle greater than -2 pi and less than 2 pi");
    edit.slantAlpha = ReadBounded(step, "slantAlpha", 1e-3, Pi - 1e-3, "an angle between 0 and pi");
    edit.slantBeta = ReadBounded(step, "slantBeta", 1e-3, Pi - 1e-3, "an angle between 0 and pi");
    edit.slantCode = ReadInteger(step, "slantCode", 0, 2);
    edit.structure = ReadInteger(step, "structure", 0, 2);
    edit.composite = ReadInteger(step, "composite", 1, 32767);
    if (step.Has("flipped"))
        edit.flipped = step.Bool("flipped");
    edit.level = ReadBounded(step, "level", -1e6, 1e6, "a number");
    edit.offset = ReadBounded(step, "offset", -1e6, 1e6, "a number");
    if (const auto degrees = ReadBounded(step, "slope", -89, 89, "a slope in degrees, -89 to 89"))
        edit.slope = *degrees * DegreesToRadians;
    if (step.Has("outline"))
        edit.outline = ReadRings(step);
    else if (step.Has("holes"))
        step.Fail("holes", "'" + step.PathOf("holes") + "' belongs to an \"outline\"");
    edit.roofClass = ReadInteger(step, "roofClass", 0, 100);
    if (step.Has("planes")) {
        edit.planes = ReadPlanes(step, "planes");
        if (edit.planes->empty())
            step.Fail("planes", "'" + step.PathOf("planes") + "' must list at least one plane");
    }
    edit.addPlanes = ReadPlanes(step, "addPlanes");
    const picojson::array& removed = step.Array("removePlanes");
    for (USize i = 0; i < removed.size(); ++i)
        edit.removePlanes.push_back(
            ReadPlaneId(step, step.PathOf("removePlanes") + "[" + std::to_string(i) + "]", removed[i]));
    return edit;
}


// The user changes one element or several the same way.
StepAction ParseChange(const JsonObject& step)
{
    step.Only({"do", "element", "elements", "undoName", "move", "rotate", "about", "thickness", "height",
               "bottomOffset", "arcAngle", "slantAlpha", "slantBeta", "slantCode", "structure", "composite",
               "flipped", "level", "offset", "slope", "outline", "holes", "roofClass", "planes", "addPlanes",
               "removePlanes"});
    const std::vector<std::string> names = ReadNames(step);
    const ElementEdit edit = ReadEdit(step);
    if (!edit.move && !edit.rotate && edit.IsShapeEdit() && !edit.outline && !edit.planes && edit.addPlanes.empty() &&
        edit.removePlanes.empty())
        step.Fail("do", "'" + step.PathOf("do") + "' changes nothing: give what the user changes");
    const std::string action = step.Has("undoName") ? step.String("undoName") : edit.ActionName();
    const API_NotifyElementID kind = edit.IsShapeEdit() ? APINotifyElement_Edit : APINotifyElement_Change;
    return [=](Host& host, RunContext& ctx) {
        const std::vector<API_Guid> guids = Resolve(step, ctx, names);
        std::string why;
        auto change = [&](Element& e, std::string& reason) { return ApplyEdit(edit, host.model, e, reason); };
        if (!host.user.ChangeElements(action, kind, guids, change, why))
            step.Fail("do", "the user cannot make this change: " + why);
    };
}

// The user deletes elements, in one step.
StepAction ParseDelete(const JsonObject& step)
{
    step.Only({"do", "element", "elements", "undoName"});
    const std::vector<std::string> names = ReadNames(step);
    const std::string action = step.Has("undoName") ? step.String("undoName") : "Delete";
    return [=](Host& host, RunContext& ctx) {
        std::string why;
        if (!host.user.DeleteElements(action, Resolve(step, ctx, names), why))
            step.Fail("do", "the user cannot delete: " + why);
    };
}

}  // namespace

void AddChangeSteps(StepTable& table)
{
    table["change"] = {ParseChange, Reach::AddOn};
    table["delete"] = {ParseDelete, Reach::AddOn};
}

}  // namespace SimHost
