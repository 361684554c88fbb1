#include "addon/services/OpeningShapes.hpp"
#include "addon/host/HostRequests.hpp"
#include "addon/services/Boundary.hpp"

using namespace Geometry;

CorePolygon2DPtr HostOpeningShape(const API_Guid& opening)
{
    API_Guid guid = opening;
    CorePolygon2DPtr shape = std::make_shared<CorePolygon2D>();
    if (HostRequest::GSHP(&guid, &shape) != NoError)
        return nullptr;
    return shape;
}

void CutOpeningsFromPolygon(Polygon2DData& pd, const GS::Array<API_Guid>& openings)
{
    CallGuarded("CutOpeningsFromPolygon", [&] { CutShapesFromPolygon(pd, openings, HostOpeningShape); });
}
