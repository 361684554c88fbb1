#include "addon/walls/UpdateReinforcement.hpp"
#include "addon/geometry/GeometryHelpers.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostQueries.hpp"
#include "addon/host/Owners.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/services/ResStrings.hpp"
#include "addon/walls/HostReinforcement.hpp"
#include "addon/walls/LinkedObjects.hpp"
#include "addon/walls/ObjectChange.hpp"
#include "addon/walls/PolyRoofConverter.hpp"
#include "addon/walls/SidePicking.hpp"
#include "addon/walls/WallFacePolygon.hpp"
#include "addon/walls/WallJson.hpp"
#include "addon/walls/WallLayers.hpp"
#include "platform/gs/MathConstants.hpp"
#include <cmath>
#include <cstring>
#include <optional>

namespace {

constexpr double HalfPi = GS::Pi / 2;

// What the host element gives every object of it, computed once per update.
struct HostState {
    API_Element element;
    MemoOwner memo;
    bool outlineRead = false;
};

// ---------------------------------------------------------------- walls

enum class WallUpdate { Next, Stop };

// The values an object of a wall keeps about its placing: the side it was
// placed on (the last `et_bSameDirection` record, rounded; none without
// one) and the layer's position.
struct WallObjectValues {
    std::optional<long> sameDirectionParam;
    double layerPos = 0.0;
};

WallObjectValues ReadWallObjectValues(API_AddParType** params)
{
    WallObjectValues values;
    GdlParams::ForEachNamed(params, "et_bSameDirection", [&](API_AddParType& r) {
        if (GdlParams::HoldsNumbers(r) && !GdlParams::IsArray(r) && std::isfinite(GdlParams::Number(r)))
            values.sameDirectionParam = std::lround(GdlParams::Number(r));
    });
    values.layerPos = Placing::LayerPosition(params);
    return values;
}

WallUpdate UpdateWallObject(const API_Element& wall, const WallSideCornersType& sides, ObjectChange& change)
{
    const API_WallType& w = wall.wall;
    change.SetStory(wall.header.floorInd);
    change.SetLevel(w.bottomOffset);
    const WallObjectValues values = ReadWallObjectValues(change.Params());
    if (!values.sameDirectionParam) {
        change.Commit();
        return WallUpdate::Next;
    }

    // The side the object was placed on, found again on the wall as it is
    // now; whether it runs the wall's way is decided anew from it. Placing
    // marks a side to the left of the reference direction (which keeps its
    // direction) with 1 and one to the right with 0. Which of A and B lies
    // on the right depends on the order of the outline's corners, so the
    // side is taken by where it lies, never by its letter: an object never
    // jumps to the wall's other face.
    const bool aOnTheRight = Orientation(w.begC, w.endC, sides.a.c1) < Orientation(w.begC, w.endC, sides.b.c1);
    const bool onTheRight = *values.sameDirectionParam == 0;
    const API_Sector side = DirectedWallSide(sides, w.begC, w.endC, onTheRight == aOnTheRight);
    const double wallAngle = Placing::Direction(w.begC, w.endC);
    const double sideAngle = Placing::Direction(side.c1, side.c2);
    const bool sameDirection = Placing::SameDirection(wallAngle, sideAngle);

    API_AddParType** params = change.Params();
    GdlParams::WriteNumber(params, "et_curveangle",
                           Placing::CurveAngleParam(ReadWallCurveAngle(wall.header.guid), sameDirection));
    if (w.angle != 0)
        GdlParams::WriteNumber(params, "et_curveradius",
                               ReadWallCurveRadius(wall.header.guid, sameDirection, values.layerPos, w.flipped));

    double coreThickness = 0.0;
    const API_Coord start = LocateLayerStartPoint(sameDirection, wall, values.layerPos, coreThickness);
    if (!Placing::Finite(start)) {
        change.Commit();
        return WallUpdate::Next;
    }
    change.SetPosition(start);
    change.SetAngle(sameDirection ? wallAngle : sideAngle);
    GdlParams::WriteNumber(params, "et_thickness", coreThickness);

    const double startDepth = LocateCoreOffset(sameDirection, wall, values.layerPos);
    const double endDepth = Placing::FaceEndDepth(startDepth, sameDirection, Placing::UpdatingBackDepth);
    WallFaceFrame frame;
    frame.sameDirection = sameDirection;
    frame.arcAngle = w.angle;
    frame.begin = w.begC;
    frame.end = w.endC;
    frame.flipped = w.flipped;
    std::optional<double> slant;
    bool curvedAndSlanted = false;
    SegmentedPolygon face;
    const WallFaceRequest request =
        RequestWallFacePolygon(wall.header.guid, startDepth, endDepth, frame, face, [&](const std::string& text) {
            slant = WallJson::ReadSlantAlpha(text);
            const double slantAngle = slant ? *slant : w.slantAlpha;
            // A curved wall that leans has no face the objects could
            // follow: they are left as they are.
            curvedAndSlanted = w.angle > 0 && std::fabs(slantAngle - HalfPi) > 1e-4;
            return !curvedAndSlanted;
        });
    if (curvedAndSlanted)
        return WallUpdate::Stop;
    if (request == WallFaceRequest::Fetched && !face.contour.IsEmpty() && Placing::PolygonFinite(face))
        WritePolygonCoordsParam(face, change.Memo());
    if (slant && std::isfinite(*slant))
        GdlParams::WriteNumber(params, "ironAngleY", Placing::IronAngleY(sameDirection, w.flipped, *slant));
    change.Commit();
    return WallUpdate::Next;
}

// ---------------------------------------------------------------- slabs

struct SlabUpdate {
    bool placed = false;
    SlabPlacement placement;
    std::optional<double> levelChange;
};

void PrepareSlabUpdate(HostState& host, SlabUpdate& update)
{
    if (host.outlineRead)
        update.placed = PlaceOnSlab(host.memo.Get(), nullptr, update.placement);
    // The objects keep their own height over the slab: they move by the
    // slab's change, not to its new level.
    API_Element before;
    std::memset(static_cast<void*>(&before), 0, sizeof before);
    if (HostGetElementBeforeChange(&before, nullptr, 0, 0) == NoError) {
        const double change = SlabPlacementLevel(host.element.slab) - SlabPlacementLevel(before.slab);
        if (std::isfinite(change))
            update.levelChange = change;
    }
}

void UpdateSlabObject(const API_Element& slab, const SlabUpdate& update, ObjectChange& change)
{
    change.SetStory(slab.header.floorInd);
    if (update.placed) {
        change.SetPosition(update.placement.position);
        change.SetAngle(update.placement.angle);
        WritePolygonCoordsParamWithStatus(update.placement.polygon, change.Memo(), update.placement.status);
    }
    if (update.levelChange)
        change.SetLevel(change.Object().object.level + *update.levelChange);
    if (std::isfinite(slab.slab.thickness))
        GdlParams::WriteNumber(change.Params(), "et_thickness", slab.slab.thickness);
    GdlParams::WriteNumber(change.Params(), "ironAngleY", 0.0);
    change.Commit();
}

// ---------------------------------------------------------------- plane roofs

struct PlaneRoofUpdate {
    bool placed = false;
    PlanePlacement placement;
};

void PreparePlaneRoofUpdate(HostState& host, PlaneRoofUpdate& update)
{
    if (!host.outlineRead)
        return;
    CutRoofOpenings(host.element, host.memo.Get());
    update.placed = PlaceOnRoofPlane(RoofPlaneOf(host.element), host.memo.Get(), update.placement);
}

void UpdatePlaneRoofObject(const API_Element& roof, const PlaneRoofUpdate& update, ObjectChange& change)
{
    change.SetStory(roof.header.floorInd);
    if (update.placed) {
        change.SetPosition(update.placement.position);
        change.SetAngle(update.placement.angle);
        change.SetLevel(update.placement.level);
        WritePolygonCoordsParam(update.placement.polygon, change.Memo());
        WritePlacementParams(change.Params(), update.placement.params);
    }
    change.Commit();
}

// ---------------------------------------------------------------- roofs of several planes

void UpdateMultiPlaneRoof(const API_Guid& roof, const GS::Array<API_Guid>& links)
{
    PolyRoofConverter2 converter;
    HostGetConnectedElements(roof, API_OpeningID, &converter.openings);
    converter.links = links;
    HostDecomposeElement(roof, &converter);

    GS::Array<API_Guid> remaining;  // linked objects not deleted yet
    for (UInt32 i = 0; i < converter.links.GetSize(); ++i) {
        const API_Guid& link = converter.links[i];
        if (link == APINULLGuid) {
            remaining.Push(links[i]);
            continue;
        }
        GS::Array<API_Guid> one;
        one.Push(link);
        HostDeleteElements(&one);
    }
    if (!converter.PlaneWithoutObject)
        return;
    // Everything of the roof goes, objects updated a moment ago included.
    // The unmatched links were deleted one by one above (or are gone or
    // refused): naming them again would have the whole list refused.
    if (!remaining.IsEmpty())
        HostDeleteElements(&remaining);
    HostReport(GetResString(ResStr::Messages::RoofReinforcementRemoved), true);
}

}  // namespace

void DeleteLinkedReinforcement(const API_Guid& hostElement)
{
    GS::Array<API_Guid> linked;
    HostGetLinkedElements(hostElement, &linked);
    if (!linked.IsEmpty())
        HostDeleteElements(&linked);
}

void UpdateLinkedReinforcement(const API_Guid& hostElement)
{
    GS::Array<API_Guid> linked;
    if (HostGetLinkedElements(hostElement, &linked) != NoError || linked.IsEmpty())
        return;
    HostState host;
    if (ReadElement(hostElement, host.element) != NoError)
        return;
    const API_Element& e = host.element;
    const API_ElemTypeID type = e.header.typeID;
    if (type == API_RoofID && e.roof.roofClass == 1) {
        UpdateMultiPlaneRoof(hostElement, linked);
        return;
    }
    // A roof of another class has objects the update cannot place.
    if (type == API_RoofID && e.roof.roofClass != 0)
        return;

    if (type == API_SlabID || type == API_RoofID)
        host.outlineRead = HostGetMemo(hostElement, &host.memo.Get(), APIMemoMask_Polygon) == NoError;
    SlabUpdate slab;
    PlaneRoofUpdate planeRoof;
    WallSideCornersType sides;
    if (type == API_SlabID) {
        PrepareSlabUpdate(host, slab);
    } else if (type == API_RoofID) {
        PreparePlaneRoofUpdate(host, planeRoof);
    } else if (type == API_WallID) {
        sides = ReadWallSides(hostElement, e.wall);
        WallSideCorners() = sides;
    }

    for (UInt32 i = 0; i < linked.GetSize(); ++i) {
        API_Element object;
        if (ReadElement(linked[i], object) != NoError || object.header.typeID != API_ObjectID)
            continue;
        ObjectChange change(object);
        if (!change.ReadParams())
            continue;
        switch (type) {
            case API_WallID:
                if (UpdateWallObject(e, sides, change) == WallUpdate::Stop)
                    return;
                break;
            case API_SlabID:
                UpdateSlabObject(e, slab, change);
                break;
            case API_RoofID:
                UpdatePlaneRoofObject(e, planeRoof, change);
                break;
            default:
                // An element of another type gives its objects its story.
                change.SetStory(e.header.floorInd);
                change.Commit();
                break;
        }
    }
}
