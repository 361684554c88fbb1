// Elements connected to others: openings in roofs.
#include "simhost/api/HostApi.hpp"
#include "simhost/api/Requests.hpp"
#include "platform/geometry/Polygon2D.hpp"

namespace SimHost {

GSErrCode HostApi::GetConnectedElements(API_Guid guid, API_ElemTypeID connectedType, GS::Array<API_Guid>* connected)
{
    if (connected == nullptr)
        return APIERR_BADPARS;
    const Element* e = host.model.Find(guid);
    if (e == nullptr)
        return APIERR_BADID;
    connected->Clear();
    for (const API_Guid& g : e->connected) {
        const Element* c = host.model.Find(g);
        if (c != nullptr && (connectedType == API_ZombieElemID || c->type == connectedType))
            connected->Push(g);
    }
    return NoError;
}

}  // namespace SimHost

namespace SimHost {

namespace {

// 'GSHP': the plan shape of an element into the caller's polygon. Only
// elements with an outline (openings) have one.
GSErrCode ShapeOf(Host& host, void* par1, void* par2, void*)
{
    auto* guid = static_cast<const API_Guid*>(par1);
    auto* shape = static_cast<Geometry::CorePolygon2DPtr*>(par2);
    if (guid == nullptr || shape == nullptr)
        return APIERR_BADPARS;
    const Element* e = host.model.Find(*guid);
    if (e == nullptr)
        return APIERR_BADID;
    if (e->shape.size() < 3)
        return APIERR_GENERAL;
    Geometry::PolyContour contour;
    for (const API_Coord& p : e->shape)
        contour.Push(Geometry::PolyVertex{{p.x, p.y}, 0.0});
    if (*shape == nullptr)
        *shape = std::make_shared<Geometry::CorePolygon2D>();
    **shape = Geometry::CorePolygon2D();
    (*shape)->AddContour(contour);
    return NoError;
}

const RequestRegistration gshp{RequestKind::Utility, "GSHP", &ShapeOf};

}  // namespace

}  // namespace SimHost
