#include "addon/walls/PolyRoofConverter.hpp"
#include "addon/geometry/MemoPolygon.hpp"
#include "addon/host/Owners.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostQueries.hpp"
#include "addon/walls/ObjectChange.hpp"
#include "addon/services/OpeningShapes.hpp"
#include "addon/walls/HostReinforcement.hpp"
#include "addon/walls/LinkedObjects.hpp"
#include <cstring>

PolyRoofConverter1::PolyRoofConverter1(API_AddParType** params, const API_Element& objectTemplate) : params(params)
{
    std::memcpy(static_cast<void*>(&this->objectTemplate), &objectTemplate, sizeof this->objectTemplate);
}

GSErrCode PolyRoofConverter1::ConvertPlane(const API_Guid& roof, const API_ElemPartId& partId, const API_Element& plane,
                                           const API_ElementMemo& memo)
{
    // The host calls in here: nothing may escape.
    const GSErrCode err = CallGuarded("PolyRoofConverter1::ConvertPlane", APIERR_GENERAL, [&]() -> GSErrCode {
        PlanePlacement placement;
        if (!PlaceOnCutRoofPlane(plane, memo, openings, placement) || !Placing::UsableOutline(placement.polygon)) {
            ++withoutOutline;
            return NoError;
        }
        objectTemplate.object.pos = placement.position;
        objectTemplate.object.angle = placement.angle;
        objectTemplate.object.level = placement.level;
        WritePlacementParams(params, placement.params);
        return CreateLinkedObject(roof, plane.header.floorInd, objectTemplate, params, placement.polygon,
                                  {partId.main, partId.sub, partId.floor}, placement.status);
    });
    if (err != NoError)
        failed = true;
    return err;
}

bool UserDataMatchesPlane(const API_ElementUserData& userData, const API_ElemPartId& partId)
{
    if (userData.dataHdl == nullptr || BMhGetSize(userData.dataHdl) < PlanePartId::DataSize)
        return false;
    const Int32 wanted[3] = {partId.main, partId.sub, partId.floor};
    return std::memcmp(*userData.dataHdl, wanted, sizeof wanted) == 0;
}

namespace {

enum class PlaneSearch { Found, None, Unknown };

// The first link whose object carries the plane's part id, and its record;
// Unknown when a link before it (or, with none found, any link) could not
// be read.
PlaneSearch FindPlaneObject(const GS::Array<API_Guid>& links, const API_ElemPartId& partId, UInt32& index,
                            API_Element& object)
{
    bool unread = false;
    for (UInt32 i = 0; i < links.GetSize(); ++i) {
        if (links[i] == APINULLGuid)
            continue;
        if (ReadElement(links[i], object) != NoError) {
            unread = true;
            continue;
        }
        API_ElementUserData userData;
        std::memset(static_cast<void*>(&userData), 0, sizeof userData);
        const GSErrCode err = HostGetUserData(&object.header, &userData);
        if (err == APIERR_NOUSERDATA)
            continue;  // an object of no plane
        if (err != NoError) {
            unread = true;
            continue;
        }
        HandleOwner data(userData.dataHdl);
        if (UserDataMatchesPlane(userData, partId)) {
            // Behind a link that could not be read the plane's first object
            // may hide: this one is not known to be it.
            index = i;
            return unread ? PlaneSearch::Unknown : PlaneSearch::Found;
        }
    }
    return unread ? PlaneSearch::Unknown : PlaneSearch::None;
}

}  // namespace

GSErrCode PolyRoofConverter2::ConvertPlane(const API_Guid&, const API_ElemPartId& partId, const API_Element& plane,
                                           const API_ElementMemo& memo)
{
    // The host calls in here: nothing may escape.
    const bool updated = CallGuarded("PolyRoofConverter2::ConvertPlane", false, [&] {
        UInt32 index = 0;
        API_Element object;
        switch (FindPlaneObject(links, partId, index, object)) {
            case PlaneSearch::None: PlaneWithoutObject = true; return true;
            case PlaneSearch::Unknown: unmatched = true; return true;
            case PlaneSearch::Found: break;
        }
        links[index] = APINULLGuid;

        const HostFailureWatch watch;
        ObjectChange change(object);
        if (!change.ReadParams())
            return false;
        PlanePlacement placement;
        if (!PlaceOnCutRoofPlane(plane, memo, openings, placement) || !Placing::UsableOutline(placement.polygon))
            return false;
        change.SetStory(plane.header.floorInd);
        change.SetPosition(placement.position);
        change.SetAngle(placement.angle);
        change.SetLevel(placement.level);
        WritePolygonCoordsParam(placement.polygon, change.Memo());
        // Only these two: a plane's object keeps its other placement values.
        GdlParams::WriteNumber(change.Params(), "et_thickness", placement.params.thickness);
        GdlParams::WriteNumber(change.Params(), "ironAngleY", placement.params.angleY);
        if (change.Incomplete() || watch.Seen())
            return false;
        return change.Commit() == NoError;
    });
    if (!updated)
        ++notUpdated;
    return NoError;
}
