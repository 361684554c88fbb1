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
    CallGuarded("PolyRoofConverter1::ConvertPlane", [&] {
        PlanePlacement placement;
        if (!PlaceOnCutRoofPlane(plane, memo, openings, placement))
            return;
        objectTemplate.object.pos = placement.position;
        objectTemplate.object.angle = placement.angle;
        objectTemplate.object.level = placement.level;
        WritePlacementParams(params, placement.params);
        CreateLinkedObject(roof, plane.header.floorInd, objectTemplate, params, placement.polygon,
                           {partId.main, partId.sub, partId.floor}, placement.status);
    });
    return NoError;
}

bool UserDataMatchesPlane(const API_ElementUserData& userData, const API_ElemPartId& partId)
{
    if (userData.dataHdl == nullptr || BMhGetSize(userData.dataHdl) < PlanePartId::DataSize)
        return false;
    const Int32 wanted[3] = {partId.main, partId.sub, partId.floor};
    return std::memcmp(*userData.dataHdl, wanted, sizeof wanted) == 0;
}

namespace {

// The first link whose object carries the plane's part id, and its record.
bool FindPlaneObject(const GS::Array<API_Guid>& links, const API_ElemPartId& partId, UInt32& index, API_Element& object)
{
    for (UInt32 i = 0; i < links.GetSize(); ++i) {
        if (links[i] == APINULLGuid || ReadElement(links[i], object) != NoError)
            continue;
        API_ElementUserData userData;
        std::memset(static_cast<void*>(&userData), 0, sizeof userData);
        if (HostGetUserData(&object.header, &userData) != NoError)
            continue;
        HandleOwner data(userData.dataHdl);
        if (UserDataMatchesPlane(userData, partId)) {
            index = i;
            return true;
        }
    }
    return false;
}

}  // namespace

GSErrCode PolyRoofConverter2::ConvertPlane(const API_Guid&, const API_ElemPartId& partId, const API_Element& plane,
                                           const API_ElementMemo& memo)
{
    // The host calls in here: nothing may escape.
    CallGuarded("PolyRoofConverter2::ConvertPlane", [&] {
        UInt32 index = 0;
        API_Element object;
        if (!FindPlaneObject(links, partId, index, object)) {
            PlaneWithoutObject = true;
            return;
        }
        links[index] = APINULLGuid;

        ObjectChange change(object);
        if (!change.ReadParams())
            return;
        PlanePlacement placement;
        if (!PlaceOnCutRoofPlane(plane, memo, openings, placement))
            return;
        change.SetStory(plane.header.floorInd);
        change.SetPosition(placement.position);
        change.SetAngle(placement.angle);
        change.SetLevel(placement.level);
        WritePolygonCoordsParam(placement.polygon, change.Memo());
        // Only these two: a plane's object keeps its other placement values.
        GdlParams::WriteNumber(change.Params(), "et_thickness", placement.params.thickness);
        GdlParams::WriteNumber(change.Params(), "ironAngleY", placement.params.angleY);
        change.Commit();
    });
    return NoError;
}
