#include "simhost/model/ElementEdit.hpp"
#include <algorithm>
#include <cmath>

namespace SimHost {

namespace {

bool SameId(const API_ElemPartId& a, const API_ElemPartId& b)
{
    return a.main == b.main && a.sub == b.sub && a.floor == b.floor;
}

std::string IdText(const API_ElemPartId& id)
{
    return "[" + std::to_string(id.main) + ", " + std::to_string(id.sub) + ", " + std::to_string(id.floor) + "]";
}

// Moves and turns points: first turned about the centre, then moved.
class Placement {
public:
    Placement(const ElementEdit& edit, API_Coord centre)
        : angle(edit.rotate.value_or(0.0)), centre(centre), by(edit.move.value_or(API_Coord{0, 0})),
          c(std::cos(angle)), s(std::sin(angle))
    {
    }
    API_Coord operator()(API_Coord p) const
    {
        const double dx = p.x - centre.x, dy = p.y - centre.y;
        return {centre.x + dx * c - dy * s + by.x, centre.y + dx * s + dy * c + by.y};
    }
    void Rings(PolygonRings& rings) const
    {
        for (API_Coord& p : rings.contour)
            p = (*this)(p);
        for (auto& hole : rings.holes)
            for (API_Coord& p : hole)
                p = (*this)(p);
    }
    double angle;

private:
    API_Coord centre;
    API_Coord by;
    double c, s;
};

// The keys given, named as the scenario's change step names them.
std::vector<std::string> KeysGiven(const ElementEdit& e)
{
    std::vector<std::string> keys;
    auto given = [&](bool has, const char* key) {
        if (has)
            keys.push_back(key);
    };
    given(e.move.has_value(), "move");
    given(e.rotate.has_value(), "rotate");
    given(e.height.has_value(), "height");
    given(e.bottomOffset.has_value(), "bottomOffset");
    given(e.arcAngle.has_value(), "arcAngle");
    given(e.slantAlpha.has_value(), "slantAlpha");
    given(e.slantBeta.has_value(), "slantBeta");
    given(e.slantCode.has_value(), "slantCode");
    given(e.structure.has_value(), "structure");
    given(e.composite.has_value(), "composite");
    given(e.flipped.has_value(), "flipped");
    given(e.thickness.has_value(), "thickness");
    given(e.level.has_value(), "level");
    given(e.offset.has_value(), "offset");
    given(e.slope.has_value(), "slope");
    given(e.outline.has_value(), "outline");
    given(e.roofClass.has_value(), "roofClass");
    given(e.planes.has_value(), "planes");
    given(!e.addPlanes.empty(), "addPlanes");
    given(!e.removePlanes.empty(), "removePlanes");
    return keys;
}

// False, with the reason, when the edit gives a key the type does not take.
bool OnlyKeys(const ElementEdit& edit, const char* type, const std::vector<std::string>& allowed, std::string& why)
{
    for (const std::string& key : KeysGiven(edit))
        if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
            why = std::string("a ") + type + " takes no '" + key + "'";
            return false;
        }
    return true;
}

bool ApplyWall(const ElementEdit& edit, const Model& model, WallPart& wall, std::string& why)
{
    if (!OnlyKeys(edit, "wall",
                  {"move", "rotate", "height", "bottomOffset", "arcAngle", "slantAlpha", "slantBeta", "slantCode",
                   "structure", "composite", "flipped", "thickness"},
                  why))
        return false;
    API_WallType& w = wall.record;
    if (edit.thickness) w.thickness = *edit.thickness;
    if (edit.height) w.height = *edit.height;
    if (edit.bottomOffset) w.bottomOffset = *edit.bottomOffset;
    if (edit.arcAngle) w.angle = *edit.arcAngle;
    if (edit.slantAlpha) w.slantAlpha = *edit.slantAlpha;
    if (edit.slantBeta) w.slantBeta = *edit.slantBeta;
    if (edit.slantCode) w.slantCode = *edit.slantCode;
    if (edit.flipped) w.flipped = *edit.flipped;
    if (edit.composite) {
        w.compositeIndex = *edit.composite;
        w.structureKind = 1;
    }
    if (edit.structure) w.structureKind = *edit.structure;
    if (w.structureKind == 1 && model.composites.count(w.compositeIndex) == 0) {
        why = "a composite wall needs a defined composite; composite " + std::to_string(w.compositeIndex) +
              " is not defined";
        return false;
    }
    const Placement place(edit, edit.about.value_or(w.begC));
    w.begC = place(w.begC);
    w.endC = place(w.endC);
    return true;
}

bool ApplySlab(const ElementEdit& edit, SlabPart& slab, std::string& why)
{
    if (!OnlyKeys(edit, "slab", {"move", "rotate", "thickness", "level", "offset", "outline"}, why))
        return false;
    if (edit.thickness) slab.thickness = *edit.thickness;
    if (edit.level) slab.level = *edit.level;
    if (edit.offset) slab.offset = *edit.offset;
    if (edit.outline) slab.outline = *edit.outline;
    const API_Coord first = slab.outline.contour.empty() ? API_Coord{0, 0} : slab.outline.contour.front();
    Placement(edit, edit.about.value_or(first)).Rings(slab.outline);
    return true;
}

bool ApplyRoof(const ElementEdit& edit, RoofPart& roof, std::string& why)
{
    if (!OnlyKeys(edit, "roof",
                  {"move", "rotate", "thickness", "level", "slope", "outline", "roofClass", "planes", "addPlanes",
                   "removePlanes"},
                  why))
        return false;
    if (edit.planes) {
        roof.planes = *edit.planes;
        if (roof.roofClass == 0)
            roof.roofClass = 1;
    }
    if (edit.roofClass)
        roof.roofClass = *edit.roofClass;
    for (const API_ElemPartId& id : edit.removePlanes) {
        auto it = std::find_if(roof.planes.begin(), roof.planes.end(),
                               [&](const RoofPlaneDef& p) { return SameId(p.partId, id); });
        if (it == roof.planes.end()) {
            why = "the roof has no plane " + IdText(id);
            return false;
        }
        roof.planes.erase(it);
    }
    roof.planes.insert(roof.planes.end(), edit.addPlanes.begin(), edit.addPlanes.end());
    const bool severalPlanes = roof.roofClass != 0;
    if (!severalPlanes && (!edit.addPlanes.empty() || !edit.removePlanes.empty())) {
        why = "a plane roof has no planes to add to or remove from";
        return false;
    }
    for (USize i = 0; i < roof.planes.size(); ++i)
        for (USize j = i + 1; j < roof.planes.size(); ++j)
            if (SameId(roof.planes[i].partId, roof.planes[j].partId)) {
                why = "the roof would have two planes " + IdText(roof.planes[i].partId);
                return false;
            }
    if (severalPlanes && roof.planes.empty()) {
        why = "a roof of several planes needs its planes";
        return false;
    }
    if (severalPlanes && edit.outline) {
        why = "a roof of several planes has its outlines in its planes";
        return false;
    }
    if (edit.outline)
        roof.outline = *edit.outline;
    if (!severalPlanes && roof.outline.contour.size() < 3) {
        why = "a plane roof needs an outline";
        return false;
    }
    if (edit.thickness) roof.thickness = *edit.thickness;
    if (edit.level) roof.level = *edit.level;
    if (edit.slope) roof.angle = *edit.slope;
    for (RoofPlaneDef& plane : roof.planes) {
        if (edit.thickness) plane.thickness = *edit.thickness;
        if (edit.level) plane.level = *edit.level;
        if (edit.slope) plane.angle = *edit.slope;
    }

    API_Coord first{0, 0};
    if (severalPlanes && !roof.planes.front().outline.contour.empty())
        first = roof.planes.front().outline.contour.front();
    else if (!roof.outline.contour.empty())
        first = roof.outline.contour.front();
    const Placement place(edit, edit.about.value_or(first));
    place.Rings(roof.outline);
    roof.pivotBegin = place(roof.pivotBegin);
    roof.pivotEnd = place(roof.pivotEnd);
    for (RoofPlaneDef& plane : roof.planes) {
        place.Rings(plane.outline);
        plane.pivotBegin = place(plane.pivotBegin);
        plane.pivotEnd = place(plane.pivotEnd);
    }
    return true;
}

bool ApplyObject(const ElementEdit& edit, ObjectPart& object, std::string& why)
{
    if (!OnlyKeys(edit, "object", {"move", "rotate", "level"}, why))
        return false;
    if (edit.level) object.level = *edit.level;
    const Placement place(edit, edit.about.value_or(object.pos));
    object.pos = place(object.pos);
    object.angle += place.angle;
    return true;
}

}  // namespace

bool ElementEdit::IsShapeEdit() const
{
    return !(height || bottomOffset || arcAngle || slantAlpha || slantBeta || slantCode || structure || composite ||
             flipped || thickness || level || offset || slope || roofClass);
}

std::string ElementEdit::ActionName() const
{
    if (!IsShapeEdit())
        return "Element Settings";
    if (outline || planes || !addPlanes.empty() || !removePlanes.empty())
        return "Reshape";
    if (move && rotate)
        return "Move and Rotate";
    return rotate ? "Rotate" : "Move";
}

bool ApplyEdit(const ElementEdit& edit, const Model& model, Element& element, std::string& why)
{
    ElementPart part = element.part;
    bool applied = false;
    if (WallPart* wall = std::get_if<WallPart>(&part))
        applied = ApplyWall(edit, model, *wall, why);
    else if (SlabPart* slab = std::get_if<SlabPart>(&part))
        applied = ApplySlab(edit, *slab, why);
    else if (RoofPart* roof = std::get_if<RoofPart>(&part))
        applied = ApplyRoof(edit, *roof, why);
    else if (ObjectPart* object = std::get_if<ObjectPart>(&part))
        applied = ApplyObject(edit, *object, why);
    else
        why = "the user changes no element of type " + std::to_string(static_cast<Int32>(element.type)) + " here";
    if (applied)
        element.part = std::move(part);
    return applied;
}

}  // namespace SimHost
