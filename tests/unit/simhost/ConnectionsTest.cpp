// Openings connected to a roof and their shapes, through the host table.
#include "simhost/core/SimHost.hpp"
#include "platform/geometry/Polygon2D.hpp"
#include <gtest/gtest.h>

namespace {

template <HostSlot S> HostSlotFn<S> Slot(const SimHost::Host& host)
{
    return reinterpret_cast<HostSlotFn<S>>(host.Table()[static_cast<UInt32>(S)]);
}

TEST(ConnectionsTest, OpeningsOfARoofAndTheirShapes)
{
    SimHost::Host host;
    SimHost::Element& roof = host.model.Add(API_RoofID);
    API_Guid roofGuid = roof.guid;
    SimHost::Element& opening = host.model.Add(API_OpeningID);
    opening.Opening().shape = {{1, 1}, {2, 1}, {2, 2}, {1, 2}};
    API_Guid openingGuid = opening.guid;
    API_Guid noShapeGuid = host.model.Add(API_OpeningID).guid;
    API_Guid wallGuid = host.model.Add(API_WallID).guid;
    host.model.Find(roofGuid)->connected = {openingGuid, noShapeGuid, wallGuid};

    GS::Array<API_Guid> connected;
    ASSERT_EQ(Slot<HostSlot::GetConnectedElements>(host)(nullptr, roofGuid, API_OpeningID, &connected), NoError);
    ASSERT_EQ(connected.GetSize(), 2u);
    EXPECT_EQ(connected[0], openingGuid);
    EXPECT_EQ(Slot<HostSlot::GetConnectedElements>(host)(nullptr, wallGuid, API_OpeningID, &connected), NoError);
    EXPECT_TRUE(connected.IsEmpty());

    auto utility = Slot<HostSlot::Utility>(host);
    auto shape = std::make_shared<Geometry::CorePolygon2D>();
    ASSERT_EQ(utility(nullptr, RequestCode("GSHP"), &openingGuid, &shape, nullptr), NoError);
    ASSERT_NE(shape, nullptr);
    EXPECT_DOUBLE_EQ(shape->CalcArea(), 1.0);
    auto none = std::make_shared<Geometry::CorePolygon2D>();
    EXPECT_NE(utility(nullptr, RequestCode("GSHP"), &noShapeGuid, &none, nullptr), NoError);
    API_Guid unknown{};
    EXPECT_EQ(utility(nullptr, RequestCode("GSHP"), &unknown, &none, nullptr), APIERR_BADID);
    EXPECT_TRUE(host.recorder.faults.empty());
}

}  // namespace
