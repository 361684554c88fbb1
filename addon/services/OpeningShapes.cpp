#include "addon/services/OpeningShapes.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/services/Boundary.hpp"

using namespace Geometry;

CorePolygon2DPtr HostOpeningShape(const API_Guid& opening)
{
    API_Guid guid = opening;
    CorePolygon2DPtr shape = std::make_shared<CorePolygon2D>();
    if (HostUtility(RequestCode("GSHP"), &guid, &shape, nullptr) != NoError)
        return nullptr;
    return shape;
}

void CutOpeningsFromPolygon(Polygon2DData& pd, const GS::Array<API_Guid>& openings)
{
    CallGuarded("CutOpeningsFromPolygon", [&] { CutShapesFromPolygon(pd, openings, HostOpeningShape); });
}
