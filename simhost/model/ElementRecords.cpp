#include "simhost/model/ElementRecords.hpp"

namespace SimHost {

namespace {

// Whether the mask selects a field: `field` picks the same field of a record,
// by reference, so that a mask byte that is no valid bool is never loaded as one.
template <typename Pick> bool Selected(const API_Element* mask, Pick field)
{
    return mask == nullptr || MaskSet(field(*mask));
}

// `target` takes the record's field at `path` (e.g. wall.thickness) when the
// mask selects it; `rec` and `mask` are the applying function's.
#define APPLY_SELECTED(target, path)                                                 \
    if (Selected(mask, [](const API_Element& r) -> const auto& { return r.path; })) \
        target = rec.path;

// ---------------------------------------------------------------- types without record fields of their own
template <typename Part> void FillPart(const Part&, API_Element&) {}
template <typename Part> void ApplyPart(Part&, const API_Element&, const API_Element*) {}

// ---------------------------------------------------------------- objects
void FillPart(const ObjectPart& object, API_Element& rec)
{
    rec.object.libInd = object.libInd;
    rec.object.pos = object.pos;
    rec.object.level = object.level;
    rec.object.angle = object.angle;
    rec.object.reflected = object.mirrored;
}

void ApplyPart(ObjectPart& object, const API_Element& rec, const API_Element* mask)
{
    APPLY_SELECTED(object.libInd, object.libInd)
    APPLY_SELECTED(object.pos, object.pos)
    APPLY_SELECTED(object.level, object.level)
    APPLY_SELECTED(object.angle, object.angle)
    APPLY_SELECTED(object.mirrored, object.reflected)
}

// ---------------------------------------------------------------- walls
void FillPart(const WallPart& wall, API_Element& rec)
{
    rec.wall = wall.record;
    const WallPlanPolygon plan = BuildWallPlanPolygon(wall);
    rec.wall.poly.nCoords = static_cast<Int32>(plan.coords.size()) - 1;
    rec.wall.poly.nSubPolys = static_cast<Int32>(plan.ends.size()) - 1;
    rec.wall.poly.nArcs = static_cast<Int32>(plan.arcs.size());
}

void ApplyPart(WallPart& wall, const API_Element& rec, const API_Element* mask)
{
    API_WallType& w = wall.record;
#define WALL_FIELD(f) APPLY_SELECTED(w.f, wall.f)
    WALL_FIELD(structureKind)
    WALL_FIELD(compositeIndex)
    WALL_FIELD(slantCode)
    WALL_FIELD(referenceLineLocation)
    WALL_FIELD(begC)
    WALL_FIELD(endC)
    WALL_FIELD(thickness)
    WALL_FIELD(height)
    WALL_FIELD(bottomOffset)
    WALL_FIELD(offsetFromOutside)
    WALL_FIELD(angle)
    WALL_FIELD(slantAlpha)
    WALL_FIELD(slantBeta)
    WALL_FIELD(flipped)
#undef WALL_FIELD
}

// ---------------------------------------------------------------- slabs and roofs
void FillPart(const SlabPart& slab, API_Element& rec)
{
    rec.slab.thickness = slab.thickness;
    rec.slab.level = slab.level;
    rec.slab.offset = slab.offset;
    rec.slab.poly = PolygonCounts(slab.outline);
}

void ApplyPart(SlabPart& slab, const API_Element& rec, const API_Element* mask)
{
    APPLY_SELECTED(slab.thickness, slab.thickness)
    APPLY_SELECTED(slab.level, slab.level)
    APPLY_SELECTED(slab.offset, slab.offset)
}

void FillPart(const RoofPart& roof, API_Element& rec)
{
    rec.roof.roofClass = roof.roofClass;
    FillRoofPlane(roof, rec.roof);
}

// The class stays: a roof of several planes is made of its planes, which
// the record does not carry.
void ApplyPart(RoofPart& roof, const API_Element& rec, const API_Element* mask)
{
#define ROOF_FIELD(f) APPLY_SELECTED(roof.f, roof.f)
    ROOF_FIELD(level)
    ROOF_FIELD(thickness)
    ROOF_FIELD(angle)
    ROOF_FIELD(pivotBegin)
    ROOF_FIELD(pivotEnd)
    ROOF_FIELD(posSign)
#undef ROOF_FIELD
}

}  // namespace

void FillRecord(const Element& e, API_Element& rec)
{
    rec.header.typeID = e.type;
    rec.header.guid = e.guid;
    rec.header.layer = e.layer;
    rec.header.floorInd = e.story;
    rec.header.groupGuid = e.groupGuid;
    rec.header.hasMemo = true;
    std::visit([&](const auto& part) { FillPart(part, rec); }, e.part);
}

void ApplyRecord(Element& e, const API_Element& rec, const API_Element* mask)
{
    APPLY_SELECTED(e.layer, header.layer)
    APPLY_SELECTED(e.story, header.floorInd)
    std::visit([&](auto& part) { ApplyPart(part, rec, mask); }, e.part);
}

#undef APPLY_SELECTED

}  // namespace SimHost
