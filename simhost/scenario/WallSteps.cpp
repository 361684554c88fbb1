// Steps that add and shape walls: the wall with its reference line, sizes,
// slants, arc and openings, the composite structures walls are built from,
// and the database's location offset.
#include "platform/gs/MathConstants.hpp"
#include "simhost/scenario/Steps.hpp"
#include <cmath>

namespace SimHost {

namespace {

using GS::Pi;
constexpr double HalfPi = Pi / 2;

API_Coord ReadPoint(const JsonObject& step, const std::string& key, API_Coord fallback)
{
    if (!step.Has(key))
        return fallback;
    const picojson::array& p = step.Array(key);
    if (p.size() != 2 || !p[0].is<double>() || !p[1].is<double>())
        step.Fail(key, "'" + step.PathOf(key) + "' must be a point [x, y]");
    return {p[0].get<double>(), p[1].get<double>()};
}

// A number that must lie in [low, high].
double ReadBounded(const JsonObject& step, const std::string& key, double fallback, double low, double high,
                   const std::string& what)
{
    const double v = step.Number(key, fallback);
    if (!(v >= low && v <= high))
        step.Fail(key, "'" + step.PathOf(key) + "' must be " + what);
    return v;
}

double ReadPositive(const JsonObject& step, const std::string& key, double fallback)
{
    const double v = step.Number(key, fallback);
    if (!(v > 0) || !std::isfinite(v))
        step.Fail(key, "'" + step.PathOf(key) + "' must be a number greater than 0");
    return v;
}

WallOpening ReadOpening(const JsonObject& o)
{
    o.Only({"along", "sill", "width", "height"});
    WallOpening opening;
    opening.along = ReadBounded(o, "along", 0, 0, 1e6, "0 or more");
    opening.sill = ReadBounded(o, "sill", 0, 0, 1e6, "0 or more");
    opening.width = ReadPositive(o, "width", 1);
    opening.height = ReadPositive(o, "height", 1);
    return opening;
}

StepAction ParseAddWall(const JsonObject& step)
{
    step.Only({"do", "name", "layer", "begin", "end", "thickness", "height", "bottomOffset", "flipped",
               "arcAngle", "slantAlpha", "slantBeta", "slantCode", "structure", "composite",
               "referenceLine", "offsetFromOutside", "bodies", "openings"});
    const std::string name = step.String("name");
    const Int32 layer = ReadLayer(step, "layer");
    WallPart wall;
    API_WallType& w = wall.record;
    w.begC = ReadPoint(step, "begin", {0, 0});
    w.endC = ReadPoint(step, "end", {w.begC.x + 1, w.begC.y});
    if (std::hypot(w.endC.x - w.begC.x, w.endC.y - w.begC.y) < 1e-9)
        step.Fail("end", "'" + step.PathOf("end") + "' must differ from the begin point");
    w.thickness = ReadPositive(step, "thickness", w.thickness);
    w.height = ReadPositive(step, "height", w.height);
    w.bottomOffset = ReadBounded(step, "bottomOffset", 0, -1e6, 1e6, "a number");
    w.flipped = step.Bool("flipped", false);
    // Less than a full turn either way; 0 is a straight wall.
    w.angle = ReadBounded(step, "arcAngle", 0, -2 * Pi + 1e-9, 2 * Pi - 1e-9,
                          "an angle greater than -2 pi and less than 2 pi");
    w.slantAlpha = ReadBounded(step, "slantAlpha", HalfPi, 1e-3, Pi - 1e-3, "an angle between 0 and pi");
    w.slantBeta = ReadBounded(step, "slantBeta", HalfPi, 1e-3, Pi - 1e-3, "an angle between 0 and pi");
    w.slantCode = static_cast<Int32>(step.IntegerIn("slantCode", 0, 0, 2));
    w.structureKind = static_cast<Int32>(step.IntegerIn("structure", 0, 0, 2));
    w.compositeIndex = static_cast<Int32>(step.IntegerIn("composite", 0, 1, 32767));
    if (step.Has("composite") && !step.Has("structure"))
        w.structureKind = 1;
    w.referenceLineLocation = static_cast<Int32>(step.IntegerIn("referenceLine", 0, 0, 5));
    w.offsetFromOutside = ReadBounded(step, "offsetFromOutside", 0, -1e6, 1e6, "a number");
    wall.bodies = static_cast<Int32>(step.IntegerIn("bodies", 1, 1, 100));
    for (USize i = 0; i < step.Array("openings").size(); ++i)
        wall.openings.push_back(ReadOpening(step.Item("openings", i)));
    return [=](Host& host, RunContext& ctx) {
        if (w.structureKind == 1 && host.model.composites.count(w.compositeIndex) == 0)
            step.Fail("composite", "composite " + std::to_string(w.compositeIndex) +
                                       " is not defined (add a composite step first)");
        Element& e = host.model.Add(API_WallID, layer);
        *e.As<WallPart>() = wall;
        if (!name.empty())
            ctx.names[name] = e.guid;
    };
}

StepAction ParseComposite(const JsonObject& step)
{
    step.Only({"do", "index", "skins"});
    const auto index = static_cast<Int32>(step.IntegerIn("index", 1, 1, 32767));
    WallComposite composite;
    for (USize i = 0; i < step.Array("skins").size(); ++i) {
        const JsonObject s = step.Item("skins", i);
        s.Only({"thickness", "flags"});
        API_CWallComponent skin{};
        skin.fillThick = ReadPositive(s, "thickness", 0.1);
        skin.flagBits = static_cast<Int16>(s.IntegerIn("flags", 0, 0, 65535));
        composite.skins.push_back(skin);
    }
    if (composite.skins.empty())
        step.Fail("skins", "'" + step.PathOf("skins") + "' must list at least one skin");
    return [=](Host& host, RunContext&) { host.model.composites[index] = composite; };
}

StepAction ParseLocationOffset(const JsonObject& step)
{
    step.Only({"do", "x", "y"});
    const API_Coord offset{ReadBounded(step, "x", 0, -1e9, 1e9, "a number"),
                           ReadBounded(step, "y", 0, -1e9, 1e9, "a number")};
    return [=](Host& host, RunContext&) { host.model.locationOffset = offset; };
}

// Two walls joined at a corner: the outline the host gives for each
// then reaches across the corner (five corners, six for a wall joined
// at both ends).
StepAction ParseJoinWalls(const JsonObject& step)
{
    step.Only({"do", "walls"});
    const picojson::array& walls = step.Array("walls");
    if (walls.size() != 2 || !walls[0].is<std::string>() || !walls[1].is<std::string>() ||
        walls[0].get<std::string>() == walls[1].get<std::string>())
        step.Fail("walls", "'" + step.PathOf("walls") + "' must name two different walls");
    const std::string first = walls[0].get<std::string>(), second = walls[1].get<std::string>();
    return [=](Host& host, RunContext& ctx) {
        const API_Guid a = NamedElement(step, "walls", ctx, first), b = NamedElement(step, "walls", ctx, second);
        Element* wa = host.model.Find(a);
        Element* wb = host.model.Find(b);
        if (wa == nullptr || wb == nullptr || wa->As<WallPart>() == nullptr || wb->As<WallPart>() == nullptr)
            step.Fail("walls", "'" + step.PathOf("walls") + "' must name two walls of the model");
        wa->As<WallPart>()->joinedWith.push_back(b);
        wb->As<WallPart>()->joinedWith.push_back(a);
    };
}

}  // namespace

void AddWallSteps(StepTable& table)
{
    table["addWall"] = {ParseAddWall};
    table["composite"] = {ParseComposite};
    table["locationOffset"] = {ParseLocationOffset};
    table["joinWalls"] = {ParseJoinWalls};
}

}  // namespace SimHost
