#include "addon/walls/PolyRoofConverter.hpp"
#include "addon/geometry/MemoPolygon.hpp"
#include "addon/host/Owners.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/OpeningShapes.hpp"
#include "addon/walls/HostReinforcement.hpp"
#include "addon/walls/LinkedObjects.hpp"
#include <cstring>

namespace {

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

PolyRoofConverter1::PolyRoofConverter1(API_AddParType** params, const API_Element& objectTemplate) : params(params)
{
    std::memcpy(static_cast<void*>(&this->objectTemplate), &objectTemplate, sizeof this->objectTemplate);
}

GSErrCode PolyRoofConverter1::ConvertPlane(const API_Guid& roof, const API_ElemPartId& partId, const API_Element& plane,
                                           const API_ElementMemo& memo)
{
    // The host calls in here: nothing may escape.
    CallGuarded("PolyRoofConverter1::ConvertPlane", [&] {
        PolygonDataOwner data;
        if (MemoToPolygonData(memo, data.pd) != NoError)
            return;
        CutOpeningsFromPolygon(data.pd, openings);
        MemoOwner cut;
        API_Polygon counts{};
        if (PolygonDataToMemo(data.pd, counts, cut.Get()) != NoError)
            return;
        PlanePlacement placement;
        if (!PlaceOnRoofPlane(RoofPlaneOf(plane), cut.Get(), placement))
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
