#include "addon/walls/UpdateReinforcement.hpp"
#include "addon/geometry/GeometryHelpers.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostQueries.hpp"
#include "addon/host/Owners.hpp"
#include "addon/services/CommandOutcome.hpp"
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

// What an object's steps came to: its change is ready to be sent whole,
// it is to be left as it was (it could not be kept in step), or the update
// stops here (a curved wall that leans: its objects are left alone).
enum class ObjectUpdate { Ready, Leave, Stop };

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

ObjectUpdate UpdateWallObject(const API_Element& wall, const WallSideCornersType& sides, ObjectChange& change)
{
    const API_WallType& w = wall.wall;
    change.SetStory(wall.header.floorInd);
    change.SetLevel(w.bottomOffset);
    const WallObjectValues values = ReadWallObjectValues(change.Params());
    // Without the side it lies on, only its story and level can follow.
    if (!values.sameDirectionParam)
        return ObjectUpdate::Ready;

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
    if (!Placing::Finite(start))
        return ObjectUpdate::Leave;
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
        return ObjectUpdate::Stop;
    // An object moved without its new face, or turned without its slant,
    // would be moved half way: it stays as it was.
    if (request != WallFaceRequest::Fetched || !Placing::UsableOutline(face) || !slant || !std::isfinite(*slant))
        return ObjectUpdate::Leave;
    WritePolygonCoordsParam(face, change.Memo());
    GdlParams::WriteNumber(params, "ironAngleY", Placing::IronAngleY(sameDirection, w.flipped, *slant));
    return ObjectUpdate::Ready;
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
        update.placed = PlaceOnSlab(host.memo.Get(), nullptr, update.placement) &&
                        Placing::UsableOutline(update.placement.polygon);
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

ObjectUpdate UpdateSlabObject(const API_Element& slab, const SlabUpdate& update, ObjectChange& change)
{
    if (!update.placed || !update.levelChange || !std::isfinite(slab.slab.thickness))
        return ObjectUpdate::Leave;
    change.SetStory(slab.header.floorInd);
    change.SetPosition(update.placement.position);
    change.SetAngle(update.placement.angle);
    WritePolygonCoordsParamWithStatus(update.placement.polygon, change.Memo(), update.placement.status);
    change.SetLevel(change.Object().object.level + *update.levelChange);
    GdlParams::WriteNumber(change.Params(), "et_thickness", slab.slab.thickness);
    GdlParams::WriteNumber(change.Params(), "ironAngleY", 0.0);
    return ObjectUpdate::Ready;
}

// ---------------------------------------------------------------- plane roofs

struct PlaneRoofUpdate {
    bool placed = false;
    PlanePlacement placement;
};

void PreparePlaneRoofUpdate(HostState& host, PlaneRoofUpdate& update)
{
    if (!host.outlineRead || CutRoofOpenings(host.element, host.memo.Get()) != NoError)
        return;
    update.placed = PlaceOnRoofPlane(RoofPlaneOf(host.element), host.memo.Get(), update.placement) &&
                    Placing::UsableOutline(update.placement.polygon);
}

ObjectUpdate UpdatePlaneRoofObject(const API_Element& roof, const PlaneRoofUpdate& update, ObjectChange& change)
{
    if (!update.placed)
        return ObjectUpdate::Leave;
    change.SetStory(roof.header.floorInd);
    change.SetPosition(update.placement.position);
    change.SetAngle(update.placement.angle);
    change.SetLevel(update.placement.level);
    WritePolygonCoordsParam(update.placement.polygon, change.Memo());
    WritePlacementParams(change.Params(), update.placement.params);
    return ObjectUpdate::Ready;
}

// ---------------------------------------------------------------- roofs of several planes

Int32 UpdateMultiPlaneRoof(const API_Guid& roof, const GS::Array<API_Guid>& links)
{
    PolyRoofConverter2 converter;
    converter.links = links;
    if (HostGetConnectedElements(roof, API_OpeningID, &converter.openings) != NoError ||
        HostDecomposeElement(roof, &converter) != NoError || converter.PlanesUnmatched()) {
        // Which objects still have their plane cannot be told: none is
        // deleted, and the ones not updated stay as they were.
        Int32 left = converter.ObjectsNotUpdated();
        for (UInt32 i = 0; i < converter.links.GetSize(); ++i)
            if (converter.links[i] != APINULLGuid)
                ++left;
        return left;
    }
    Int32 notKept = converter.ObjectsNotUpdated();

    GS::Array<API_Guid> remaining;  // linked objects not deleted yet
    for (UInt32 i = 0; i < converter.links.GetSize(); ++i) {
        const API_Guid& link = converter.links[i];
        if (link == APINULLGuid) {
            remaining.Push(links[i]);
            continue;
        }
        GS::Array<API_Guid> one;
        one.Push(link);
        if (HostDeleteElements(&one) != NoError)
            ++notKept;
    }
    if (!converter.PlaneWithoutObject)
        return notKept;
    // Everything of the roof goes, objects updated a moment ago included.
    // The unmatched links were deleted one by one above (or are gone or
    // refused): naming them again would have the whole list refused.
    if (!remaining.IsEmpty() && HostDeleteElements(&remaining) != NoError)
        return notKept + static_cast<Int32>(remaining.GetSize());
    if (notKept == 0)
        HostReport(GetResString(ResStr::Messages::RoofReinforcementRemoved), true);
    return notKept;
}

// Tells the user once that objects could not be kept in step.
void TellNotKeptInStep(Int32 count)
{
    if (count <= 0)
        return;
    CommandOutcome outcome(CommandOutcome::Skips::NotKeptInStep);
    outcome.Skip(count);
    outcome.Tell();
}

// One linked object brought in step: read, computed whole, sent in one
// change. False when it could not be (it is then as it was).
bool UpdateObject(const API_Element& host, const API_Guid& link, const SlabUpdate& slab, const PlaneRoofUpdate& planeRoof,
                  const WallSideCornersType& sides, bool& stop)
{
    const HostFailureWatch watch;
    API_Element object;
    if (ReadElement(link, object) != NoError)
        return false;
    if (object.header.typeID != API_ObjectID)
        return true;
    ObjectChange change(object);
    if (!change.ReadParams())
        return false;
    ObjectUpdate update = ObjectUpdate::Ready;
    switch (host.header.typeID) {
        case API_WallID: update = UpdateWallObject(host, sides, change); break;
        case API_SlabID: update = UpdateSlabObject(host, slab, change); break;
        case API_RoofID: update = UpdatePlaneRoofObject(host, planeRoof, change); break;
        default:
            // An element of another type gives its objects its story.
            change.SetStory(host.header.floorInd);
            break;
    }
    if (update == ObjectUpdate::Stop) {
        stop = true;
        return !watch.Seen();
    }
    // A value computed from a read that failed is not the element's.
    if (update == ObjectUpdate::Leave || change.Incomplete() || watch.Seen())
        return false;
    return change.Commit() == NoError;
}

// The element's linked objects. False, and the user told, when the host
// cannot hand them out: whether the element has objects then cannot be
// told. An element the host does not know (any more) has none.
bool ReadLinkedObjects(const API_Guid& hostElement, GS::Array<API_Guid>& linked)
{
    const GSErrCode err = HostGetLinkedElements(hostElement, &linked);
    if (err == NoError)
        return true;
    if (err != APIERR_BADID) {
        CommandOutcome outcome(CommandOutcome::Skips::NotKeptInStep);
        outcome.Fail(err);
        outcome.Tell();
    }
    return false;
}

}  // namespace

void DeleteLinkedReinforcement(const API_Guid& hostElement)
{
    GS::Array<API_Guid> linked;
    if (!ReadLinkedObjects(hostElement, linked))
        return;
    if (!linked.IsEmpty() && HostDeleteElements(&linked) != NoError)
        TellNotKeptInStep(static_cast<Int32>(linked.GetSize()));
}

void UpdateLinkedReinforcement(const API_Guid& hostElement)
{
    GS::Array<API_Guid> linked;
    if (!ReadLinkedObjects(hostElement, linked) || linked.IsEmpty())
        return;
    const Int32 all = static_cast<Int32>(linked.GetSize());
    // What every object is computed from is read first; when any of it
    // cannot be read, every object stays as it was.
    const HostFailureWatch hostWatch;
    HostState host;
    if (ReadElement(hostElement, host.element) != NoError) {
        TellNotKeptInStep(all);
        return;
    }
    const API_Element& e = host.element;
    const API_ElemTypeID type = e.header.typeID;
    if (type == API_RoofID && e.roof.roofClass == 1) {
        TellNotKeptInStep(UpdateMultiPlaneRoof(hostElement, linked));
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
    if (hostWatch.Seen()) {
        TellNotKeptInStep(all);
        return;
    }

    Int32 notKept = 0;
    for (UInt32 i = 0; i < linked.GetSize(); ++i) {
        bool stop = false;
        if (!UpdateObject(e, linked[i], slab, planeRoof, sides, stop))
            ++notKept;
        if (stop)
            break;
    }
    TellNotKeptInStep(notKept);
}
