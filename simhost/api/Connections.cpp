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

// 'GSHP': the plan shape of an element into the caller's polygon. Only
// elements with an outline (openings) have one.
GSErrCode RequestHandlers::GSHP(const API_Guid* element, Geometry::CorePolygon2DPtr* shape)
{
    if (element == nullptr || shape == nullptr)
        return APIERR_BADPARS;
    const Element* e = host.model.Find(*element);
    if (e == nullptr)
        return APIERR_BADID;
    const OpeningPart* opening = e->As<OpeningPart>();
    if (opening == nullptr || opening->shape.size() < 3)
        return APIERR_GENERAL;
    Geometry::PolyContour contour;
    for (const API_Coord& p : opening->shape)
        contour.Push(Geometry::PolyVertex{{p.x, p.y}, 0.0});
    if (*shape == nullptr)
        *shape = std::make_shared<Geometry::CorePolygon2D>();
    **shape = Geometry::CorePolygon2D();
    (*shape)->AddContour(contour);
    return NoError;
}

}  // namespace SimHost
