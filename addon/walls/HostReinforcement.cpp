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
#include "platform/gs/MathConstants.hpp"
#include <cmath>
#include <cstring>

namespace {

using Placing::Finite;
using Placing::PolygonFinite;

using GS::Pi;

// The first vertex of the memo's outline (entry 1; entry 0 is unused).
bool FirstVertex(const API_ElementMemo& memo, API_Coord& vertex)
{
    if (memo.coords == nullptr || BMhGetSize(reinterpret_cast<GSConstHandle>(memo.coords)) < 2 * static_cast<Int64>(sizeof(API_Coord)))
        return false;
    vertex = (*memo.coords)[1];
    return true;
}

PlacingResult Failed() { return PlacingResult::Failed; }

PlacingResult CreateAndObserve(const API_Guid& hostElement, Int16 story, API_Element& object, API_AddParType** params,
                               const SegmentedPolygon& polygon, const GS::Array<double>& status)
{
    if (CreateLinkedObject(hostElement, story, object, params, polygon, {0, 0, 0}, status) != NoError ||
        HostAttachElementObserver(hostElement, 0) != NoError)
        return Failed();
    return PlacingResult::Done;
}

PlacingResult ReinforceSlab(const API_Element& slab, API_Element& object, API_AddParType** params, const API_Sector& sector)
{
    MemoOwner memo;
    if (HostGetMemo(slab.header.guid, &memo.Get(), APIMemoMask_Polygon) != NoError)
        return Failed();
    SlabPlacement placement;
    if (!PlaceOnSlab(memo.Get(), &sector, placement) || !Placing::UsableOutline(placement.polygon))
        return PlacingResult::NoOutline;
    object.object.pos = placement.position;
    object.object.angle = placement.angle;
    object.object.level = SlabPlacementLevel(slab.slab);
    if (!std::isfinite(object.object.level))
        return PlacingResult::NoOutline;

    PlacementParams values;
    values.thickness = slab.slab.thickness;
    WritePlacementParams(params, values);
    return CreateAndObserve(slab.header.guid, slab.header.floorInd, object, params, placement.polygon, placement.status);
}

PlacingResult ReinforceWall(const API_Element& wall, API_Element& object, API_AddParType** params, const API_Sector& sector)
{
    const API_WallType& w = wall.wall;
    const double sideAngle = Placing::Direction(sector.c1, sector.c2);
    const double wallAngle = Placing::Direction(w.begC, w.endC);
    const bool sameDirection = Placing::SameDirection(wallAngle, sideAngle);
    object.object.angle = sameDirection ? wallAngle : sideAngle;
    object.object.level = w.bottomOffset;

    const double layerPos = Placing::LayerPosition(params);
    double coreThickness = 0.0;
    const API_Coord start = LocateLayerStartPoint(sameDirection, wall, layerPos, coreThickness);
    object.object.pos = start;

    PlacementParams values;
    values.thickness = coreThickness;
    values.wallReinforcement = true;
    values.angleY = Placing::IronAngleY(sameDirection, w.flipped, w.slantAlpha);
    WritePlacementParams(params, values);
    GdlParams::WriteNumber(params, "et_curveangle",
                           Placing::CurveAngleParam(ReadWallCurveAngle(wall.header.guid), sameDirection));
    GdlParams::WriteNumber(params, "et_bSameDirection", sameDirection ? 1.0 : 0.0);
    if (w.angle != 0)
        GdlParams::WriteNumber(params, "et_curveradius",
                               ReadWallCurveRadius(wall.header.guid, sameDirection, layerPos, w.flipped));

    if (!Finite(start))
        return PlacingResult::NoOutline;
    const double startDepth = LocateCoreOffset(sameDirection, wall, layerPos);
    const double endDepth = Placing::FaceEndDepth(startDepth, sameDirection, Placing::PlacingBackDepth);
    WallFaceFrame frame;
    frame.sameDirection = sameDirection;
    frame.arcAngle = w.angle;
    frame.begin = w.begC;
    frame.end = w.endC;
    frame.flipped = w.flipped;
    SegmentedPolygon polygon;
    // A reply that is no face, or a face without an area, is no outline:
    // the wall gets no object (its observer is still attached, as for a
    // request that does not parse).
    const bool usable = RequestWallFacePolygon(wall.header.guid, startDepth, endDepth, frame, polygon) &&
                        std::isfinite(object.object.level) && std::isfinite(object.object.angle) &&
                        Placing::UsableOutline(polygon);
    if (usable && CreateLinkedObject(wall.header.guid, wall.header.floorInd, object, params, polygon, {0, 0, 0}, {}) != NoError)
        return Failed();
    if (HostAttachElementObserver(wall.header.guid, 0) != NoError)
        return Failed();
    return usable ? PlacingResult::Done : PlacingResult::NoOutline;
}

PlacingResult ReinforceMultiPlaneRoof(const API_Element& roof, const API_Element& object, API_AddParType** params)
{
    PolyRoofConverter1 converter(params, object);
    if (HostGetConnectedElements(roof.header.guid, API_OpeningID, &converter.openings) != NoError ||
        HostDecomposeElement(roof.header.guid, &converter) != NoError || converter.Failed())
        return Failed();
    converter.openings.Clear();
    if (HostAttachElementObserver(roof.header.guid, 0) != NoError)
        return Failed();
    return converter.PlanesWithoutOutline() > 0 ? PlacingResult::NoOutline : PlacingResult::Done;
}

PlacingResult ReinforcePlaneRoof(const API_Element& roof, API_Element& object, API_AddParType** params)
{
    MemoOwner memo;
    if (HostGetMemo(roof.header.guid, &memo.Get(), APIMemoMask_Polygon) != NoError)
        return Failed();
    if (CutRoofOpenings(roof, memo.Get()) != NoError)
        return Failed();
    PlanePlacement placement;
    if (!PlaceOnRoofPlane(RoofPlaneOf(roof), memo.Get(), placement) || !Placing::UsableOutline(placement.polygon))
        return PlacingResult::NoOutline;
    object.object.pos = placement.position;
    object.object.angle = placement.angle;
    object.object.level = placement.level;
    WritePlacementParams(params, placement.params);
    return CreateAndObserve(roof.header.guid, roof.header.floorInd, object, params, placement.polygon, placement.status);
}

// Polygon data freed on every path.
class PolygonDataOwner {
public:
    PolygonDataOwner() { Geometry::InitPolygon2DData(&pd); }
    ~PolygonDataOwner() { Geometry::FreePolygon2DData(&pd); }
    PolygonDataOwner(const PolygonDataOwner&) = delete;
    PolygonDataOwner& operator=(const PolygonDataOwner&) = delete;
    Geometry::Polygon2DData pd;
};

}  // namespace

GSErrCode CutRoofOpenings(const API_Element& roof, API_ElementMemo& memo)
{
    GS::Array<API_Guid> openings;
    const GSErrCode err = HostGetConnectedElements(roof.header.guid, API_OpeningID, &openings);
    if (err != NoError)
        return err;
    PolygonDataOwner data;
    if (MemoToPolygonData(memo, data.pd) == NoError) {
        CutOpeningsFromPolygon(data.pd, openings);
        API_Polygon counts = roof.roof.poly;
        PolygonDataToMemo(data.pd, counts, memo);
    }
    return NoError;
}

bool PlaceOnCutRoofPlane(const API_Element& plane, const API_ElementMemo& outline, const GS::Array<API_Guid>& openings,
                         PlanePlacement& placement)
{
    PolygonDataOwner data;
    if (MemoToPolygonData(outline, data.pd) != NoError)
        return false;
    CutOpeningsFromPolygon(data.pd, openings);
    MemoOwner cut;
    API_Polygon counts{};
    if (PolygonDataToMemo(data.pd, counts, cut.Get()) != NoError)
        return false;
    return PlaceOnRoofPlane(RoofPlaneOf(plane), cut.Get(), placement);
}

bool PlaceOnSlab(const API_ElementMemo& outline, const API_Sector* pickedEdge, SlabPlacement& placement)
{
    placement.polygon.BuildSegmentedPolygon(outline.coords, outline.pends, outline.parcs, placement.status);
    if (placement.polygon.contour.IsEmpty() || !FirstVertex(outline, placement.position))
        return false;
    if (pickedEdge != nullptr) {
        placement.angle = Placing::Direction(pickedEdge->c1, pickedEdge->c2);
    } else {
        // The polygon starts at the origin: its second vertex is the first
        // edge's direction (0 for an outline of one vertex).
        const API_Coord second = placement.polygon.contour.GetSize() > 1 ? placement.polygon.contour[1] : API_Coord{};
        placement.angle = std::atan2(second.y, second.x);
    }
    placement.polygon.RotateSegmentedPolygon(-placement.angle);
    return Finite(placement.position) && std::isfinite(placement.angle) && PolygonFinite(placement.polygon);
}

double SlabPlacementLevel(const API_SlabType& slab) { return slab.level + slab.offset; }

namespace Placing {

bool Finite(const API_Coord& c) { return std::isfinite(c.x) && std::isfinite(c.y); }

bool UsableOutline(const SegmentedPolygon& polygon)
{
    if (!PolygonFinite(polygon))
        return false;
    const GS::Array<API_Coord>& ring = polygon.contour;
    const UInt32 n = ring.GetSize();
    UInt32 distinct = 0;
    for (UInt32 i = 0; i < n && distinct < 3; ++i) {
        bool seen = false;
        for (UInt32 k = 0; k < i && !seen; ++k)
            seen = ring[k].x == ring[i].x && ring[k].y == ring[i].y;
        if (!seen)
            ++distinct;
    }
    if (distinct < 3)
        return false;
    // Twice the signed area, about the first vertex so that far-off
    // outlines keep their precision.
    double twice = 0;
    for (UInt32 i = 1; i + 1 < n; ++i) {
        const double ax = ring[i].x - ring[0].x, ay = ring[i].y - ring[0].y;
        const double bx = ring[i + 1].x - ring[0].x, by = ring[i + 1].y - ring[0].y;
        twice += ax * by - ay * bx;
    }
    return std::isfinite(twice) && std::fabs(twice) / 2 > MinOutlineArea;
}

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

constexpr double SameDirectionTolerance = 0.002;

bool SameDirection(double wallAngle, double sideAngle) { return std::fabs(wallAngle - sideAngle) < SameDirectionTolerance; }

double Direction(const API_Coord& begin, const API_Coord& end) { return std::atan2(end.y - begin.y, end.x - begin.x); }

double FaceEndDepth(double startDepth, bool sameDirection, double backDepth)
{
    return sameDirection ? startDepth + 0.5 : 2 * startDepth + backDepth;
}

double IronAngleY(bool sameDirection, bool flipped, double slant) { return sameDirection != flipped ? slant : Pi - slant; }

double CurveAngleParam(double curveAngle, bool sameDirection) { return sameDirection ? -curveAngle : curveAngle; }

double LayerPosition(API_AddParType** params)
{
    double layerPos = 0.0;
    GdlParams::ForEachNamed(params, "LayerPosY", [&](API_AddParType& r) { layerPos = GdlParams::Number(r); });
    return layerPos;
}

}  // namespace Placing

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

PlacingResult GenerateHostReinforcement(const API_Guid& hostElement, const API_Element& objectTemplate,
                                        API_AddParType** params, const API_Sector& sector)
{
    // Every host call made for the element counts: the wall's description,
    // layers and curve values rest on reads that fall back on failure
    // values, and an object computed from those is not the element's.
    const HostFailureWatch watch;
    API_Element element;
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    element.header.guid = hostElement;
    if (HostGetElement(&element) != NoError)
        return Failed();
    API_Element object;
    std::memcpy(static_cast<void*>(&object), &objectTemplate, sizeof object);
    PlacingResult result = PlacingResult::Done;
    switch (element.header.typeID) {
        case API_SlabID:
            result = ReinforceSlab(element, object, params, sector);
            break;
        case API_RoofID:
            result = element.roof.roofClass == 0 ? ReinforcePlaneRoof(element, object, params)
                                                 : ReinforceMultiPlaneRoof(element, object, params);
            break;
        case API_WallID:
            result = ReinforceWall(element, object, params, sector);
            break;
        default:
            // Told at once; nothing of it is left to do.
            HostReport("error: bad ac elem type", true);
            return PlacingResult::Done;
    }
    return watch.Seen() ? Failed() : result;
}
