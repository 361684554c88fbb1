#include "simhost/model/ElementRecords.hpp"

namespace SimHost {

namespace {

template <typename T> bool MaskSet(const T& field)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(&field);
    for (size_t i = 0; i < sizeof(T); ++i)
        if (p[i] != 0)
            return true;
    return false;
}

// Whether the mask selects a field: `field` picks the same field of a record,
// by reference, so that a mask byte that is no valid bool is never loaded as one.
template <typename Pick> bool Selected(const API_Element* mask, Pick field)
{
    return mask == nullptr || MaskSet(field(*mask));
}

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
    if (Selected(mask, [](const API_Element& r) -> const auto& { return r.object.libInd; }))
        object.libInd = rec.object.libInd;
    if (Selected(mask, [](const API_Element& r) -> const auto& { return r.object.pos; }))
        object.pos = rec.object.pos;
    if (Selected(mask, [](const API_Element& r) -> const auto& { return r.object.level; }))
        object.level = rec.object.level;
    if (Selected(mask, [](const API_Element& r) -> const auto& { return r.object.angle; }))
        object.angle = rec.object.angle;
    if (Selected(mask, [](const API_Element& r) -> const auto& { return r.object.reflected; }))
        object.mirrored = rec.object.reflected;
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
#define WALL_FIELD(f)                                                      \
    if (Selected(mask, [](const API_Element& r) -> const auto& { return r.wall.f; })) \
        w.f = rec.wall.f;
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
    if (Selected(mask, [](const API_Element& r) -> const auto& { return r.slab.thickness; }))
        slab.thickness = rec.slab.thickness;
    if (Selected(mask, [](const API_Element& r) -> const auto& { return r.slab.level; }))
        slab.level = rec.slab.level;
    if (Selected(mask, [](const API_Element& r) -> const auto& { return r.slab.offset; }))
        slab.offset = rec.slab.offset;
}

void FillPart(const RoofPart& roof, API_Element& rec)
{
    rec.roof.roofClass = roof.roofClass;
    rec.roof.level = roof.level;
    rec.roof.thickness = roof.thickness;
    rec.roof.angle = roof.angle;
    rec.roof.pivotBegin = roof.pivotBegin;
    rec.roof.pivotEnd = roof.pivotEnd;
    rec.roof.posSign = roof.posSign;
    rec.roof.poly = PolygonCounts(roof.outline);
}

// The class stays: a roof of several planes is made of its planes, which
// the record does not carry.
void ApplyPart(RoofPart& roof, const API_Element& rec, const API_Element* mask)
{
#define ROOF_FIELD(f, member)                                                          \
    if (Selected(mask, [](const API_Element& r) -> const auto& { return r.roof.f; })) \
        roof.member = rec.roof.f;
    ROOF_FIELD(level, level)
    ROOF_FIELD(thickness, thickness)
    ROOF_FIELD(angle, angle)
    ROOF_FIELD(pivotBegin, pivotBegin)
    ROOF_FIELD(pivotEnd, pivotEnd)
    ROOF_FIELD(posSign, posSign)
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
    if (Selected(mask, [](const API_Element& r) -> const auto& { return r.header.layer; }))
        e.layer = rec.header.layer;
    if (Selected(mask, [](const API_Element& r) -> const auto& { return r.header.floorInd; }))
        e.story = rec.header.floorInd;
    std::visit([&](auto& part) { ApplyPart(part, rec, mask); }, e.part);
}

}  // namespace SimHost
