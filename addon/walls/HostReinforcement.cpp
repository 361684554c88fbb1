#include "addon/walls/HostReinforcement.hpp"
#include "addon/geometry/GeometryHelpers.hpp"
#include "addon/geometry/MemoPolygon.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostQueries.hpp"
#include "addon/host/Owners.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/services/OpeningShapes.hpp"
#include "addon/walls/LinkedObjects.hpp"
#include "addon/walls/PolyRoofConverter.hpp"
#include "addon/walls/WallFacePolygon.hpp"
#include "addon/walls/WallLayers.hpp"
#include <cmath>
#include <cstring>

namespace {

constexpr UInt64 PolygonMask = APIMemoMask_Polygon;
constexpr double Pi = 3.14159265358979323846;

bool Finite(const API_Coord& c) { return std::isfinite(c.x) && std::isfinite(c.y); }

bool PolygonFinite(const SegmentedPolygon& polygon)
{
    for (UInt32 i = 0; i < polygon.contour.GetSize(); ++i)
        if (!Finite(polygon.contour[i]))
            return false;
    for (UInt32 h = 0; h < polygon.holes.GetSize(); ++h)
        for (UInt32 i = 0; i < polygon.holes[h].GetSize(); ++i)
            if (!Finite(polygon.holes[h][i]))
                return false;
    return true;
}

// The first vertex of the memo's outline (entry 1; entry 0 is unused).
bool FirstVertex(const API_ElementMemo& memo, API_Coord& vertex)
{
    if (memo.coords == nullptr || BMhGetSize(reinterpret_cast<GSConstHandle>(memo.coords)) < 2 * static_cast<Int64>(sizeof(API_Coord)))
        return false;
    vertex = (*memo.coords)[1];
    return true;
}

void CreateAndObserve(const API_Guid& hostElement, Int16 story, API_Element& object, API_AddParType** params,
                      const SegmentedPolygon& polygon, const GS::Array<double>& status)
{
    CreateLinkedObject(hostElement, story, object, params, polygon, {0, 0, 0}, status);
    HostAttachElementObserver(hostElement, 0);
}

void ReinforceSlab(const API_Element& slab, API_Element& object, API_AddParType** params, const API_Sector& sector)
{
    MemoOwner memo;
    if (HostGetMemo(slab.header.guid, &memo.Get(), PolygonMask) != NoError)
        return;
    SegmentedPolygon polygon;
    GS::Array<double> status;
    polygon.BuildSegmentedPolygon(memo->coords, memo->pends, memo->parcs, status);
    API_Coord position{};
    if (polygon.contour.IsEmpty() || !FirstVertex(memo.Get(), position))
        return;
    const double angle = std::atan2(sector.c2.y - sector.c1.y, sector.c2.x - sector.c1.x);
    polygon.RotateSegmentedPolygon(-angle);
    object.object.pos = position;
    object.object.angle = angle;
    object.object.level = slab.slab.level + slab.slab.offset;
    if (!Finite(position) || !std::isfinite(object.object.level) || !PolygonFinite(polygon))
        return;

    PlacementParams values;
    values.thickness = slab.slab.thickness;
    WritePlacementParams(params, values);
    CreateAndObserve(slab.header.guid, slab.header.floorInd, object, params, polygon, status);
}

// The angle difference within which a picked side runs the wall's way. The
// difference is not reduced modulo a full turn: sides at 179.9 and -179.9
// degrees count as opposite.
constexpr double SameDirectionTolerance = 0.002;

void ReinforceWall(const API_Element& wall, API_Element& object, API_AddParType** params, const API_Sector& sector)
{
    const API_WallType& w = wall.wall;
    const double sideAngle = std::atan2(sector.c2.y - sector.c1.y, sector.c2.x - sector.c1.x);
    const double wallAngle = std::atan2(w.endC.y - w.begC.y, w.endC.x - w.begC.x);
    const bool sameDirection = std::fabs(wallAngle - sideAngle) < SameDirectionTolerance;
    object.object.angle = sameDirection ? wallAngle : sideAngle;
    object.object.level = w.bottomOffset;

    double layerPos = 0.0;
    GdlParams::ForEachNamed(params, "LayerPosY", [&](API_AddParType& r) { layerPos = GdlParams::Number(r); });
    double coreThickness = 0.0;
    const API_Coord start = LocateLayerStartPoint(sameDirection, wall, layerPos, coreThickness);
    object.object.pos = start;

    PlacementParams values;
    values.thickness = coreThickness;
    values.wallReinforcement = true;
    values.angleY = sameDirection != w.flipped ? w.slantAlpha : Pi - w.slantAlpha;
    WritePlacementParams(params, values);
    const double curveAngle = ReadWallCurveAngle(wall.header.guid);
    GdlParams::WriteNumber(params, "et_curveangle", sameDirection ? -curveAngle : curveAngle);
    GdlParams::WriteNumber(params, "et_bSameDirection", sameDirection ? 1.0 : 0.0);
    if (w.angle != 0)
        GdlParams::WriteNumber(params, "et_curveradius",
                               ReadWallCurveRadius(wall.header.guid, sameDirection, layerPos, w.flipped));

    if (!Finite(start))
        return;
    const double startDepth = LocateCoreOffset(sameDirection, wall, layerPos);
    const double endDepth = sameDirection ? startDepth + 0.5 : 2 * startDepth + 0.8;
    WallFaceFrame frame;
    frame.sameDirection = sameDirection;
    frame.arcAngle = w.angle;
    frame.begin = w.begC;
    frame.end = w.endC;
    frame.flipped = w.flipped;
    SegmentedPolygon polygon;
    if (RequestWallFacePolygon(wall.header.guid, startDepth, endDepth, frame, polygon) && std::isfinite(object.object.level) &&
        std::isfinite(object.object.angle) && PolygonFinite(polygon))
        CreateLinkedObject(wall.header.guid, wall.header.floorInd, object, params, polygon, {0, 0, 0}, {});
    HostAttachElementObserver(wall.header.guid, 0);
}

void ReinforceMultiPlaneRoof(const API_Element& roof, const API_Element& object, API_AddParType** params)
{
    PolyRoofConverter1 converter(params, object);
    HostGetConnectedElements(roof.header.guid, API_OpeningID, &converter.openings);
    HostDecomposeElement(roof.header.guid, &converter);
    converter.openings.Clear();
    HostAttachElementObserver(roof.header.guid, 0);
}

void ReinforcePlaneRoof(const API_Element& roof, API_Element& object, API_AddParType** params)
{
    MemoOwner memo;
    if (HostGetMemo(roof.header.guid, &memo.Get(), PolygonMask) != NoError)
        return;
    GS::Array<API_Guid> openings;
    HostGetConnectedElements(roof.header.guid, API_OpeningID, &openings);
    {
        Geometry::Polygon2DData pd;
        if (MemoToPolygonData(memo.Get(), pd) == NoError) {
            CutOpeningsFromPolygon(pd, openings);
            API_Polygon counts = roof.roof.poly;
            PolygonDataToMemo(pd, counts, memo.Get());
            Geometry::FreePolygon2DData(&pd);
        }
    }
    PlanePlacement placement;
    if (!PlaceOnRoofPlane(RoofPlaneOf(roof), memo.Get(), placement))
        return;
    object.object.pos = placement.position;
    object.object.angle = placement.angle;
    object.object.level = placement.level;
    WritePlacementParams(params, placement.params);
    CreateAndObserve(roof.header.guid, roof.header.floorInd, object, params, placement.polygon, placement.status);
}

}  // namespace

RoofPlane RoofPlaneOf(const API_Element& roof)
{
    RoofPlane plane;
    plane.level = roof.roof.level;
    plane.thickness = roof.roof.thickness;
    plane.slope = roof.roof.angle;
    plane.pivotBegin = roof.roof.pivotBegin;
    plane.pivotEnd = roof.roof.pivotEnd;
    plane.posSign = roof.roof.posSign;
    return plane;
}

void WritePlacementParams(API_AddParType** params, const PlacementParams& values)
{
    GdlParams::WriteNumber(params, "bIronPlacedManual", 0.0);
    GdlParams::WriteNumber(params, "et_thickness", values.thickness);
    GdlParams::WriteNumber(params, "wall_reinforcement", values.wallReinforcement ? 1.0 : 0.0);
    GdlParams::WriteNumber(params, "ironAngleX", 0.0);
    GdlParams::WriteNumber(params, "ironAngleY", values.angleY);
}

bool PlaceOnRoofPlane(const RoofPlane& plane, const API_ElementMemo& cutOutline, PlanePlacement& placement)
{
    const double cosine = std::cos(plane.slope);
    if (!std::isfinite(cosine) || std::fabs(cosine) < 1e-9)
        return false;
    placement.polygon.BuildSegmentedPolygon(cutOutline.coords, cutOutline.pends, cutOutline.parcs, placement.status);
    if (placement.polygon.contour.IsEmpty() || !FirstVertex(cutOutline, placement.position))
        return false;
    const double side = plane.posSign ? 1.0 : -1.0;
    placement.angle = std::atan2(plane.pivotEnd.y - plane.pivotBegin.y, plane.pivotEnd.x - plane.pivotBegin.x);
    placement.polygon.RotateSegmentedPolygon(-placement.angle);
    placement.polygon.ScaleSegmentedPolygon(1.0, 1.0 / cosine);
    const double d = SignedLineDistance(plane.pivotBegin.x, plane.pivotBegin.y, plane.pivotEnd.x, plane.pivotEnd.y,
                                        placement.position.x, placement.position.y);
    placement.level = plane.level - d * std::tan(plane.slope) * side + plane.thickness / cosine;
    placement.params.thickness = plane.thickness;
    placement.params.angleY = plane.slope * side;
    return Finite(placement.position) && std::isfinite(placement.angle) && std::isfinite(placement.level) &&
           PolygonFinite(placement.polygon);
}

void GenerateHostReinforcement(const API_Guid& hostElement, const API_Element& objectTemplate, API_AddParType** params,
                               const API_Sector& sector)
{
    API_Element element;
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    element.header.guid = hostElement;
    if (HostGetElement(&element) != NoError)
        return;
    API_Element object;
    std::memcpy(static_cast<void*>(&object), &objectTemplate, sizeof object);
    switch (element.header.typeID) {
        case API_SlabID:
            ReinforceSlab(element, object, params, sector);
            return;
        case API_RoofID:
            if (element.roof.roofClass == 0)
                ReinforcePlaneRoof(element, object, params);
            else
                ReinforceMultiPlaneRoof(element, object, params);
            return;
        case API_WallID:
            ReinforceWall(element, object, params, sector);
            return;
        default:
            HostReport("error: bad ac elem type", true);
            return;
    }
}
