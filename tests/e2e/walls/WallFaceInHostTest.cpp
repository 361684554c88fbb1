// The add-on's wall code, linked from the add-on's own objects, against
// the stand-in host's real table and the real wall-geometry library: the
// host builds the wall's body, the library cuts the face, the add-on maps
// it. Every job ends once and no memory handle is left.
#include "addon/host/HostBinding.hpp"
#include "addon/walls/WallFacePolygon.hpp"
#include "platform/gs/Memory.hpp"
#include "platform/vomdix/JobLedger.hpp"
#include "simhost/core/SimHost.hpp"
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace {

struct Box {
    double x0 = HUGE_VAL, z0 = HUGE_VAL, x1 = -HUGE_VAL, z1 = -HUGE_VAL;
};

Box BoxOf(const GS::Array<API_Coord>& ring)
{
    Box b;
    for (UInt32 i = 0; i < ring.GetSize(); ++i) {
        b.x0 = std::min(b.x0, ring[i].x), b.x1 = std::max(b.x1, ring[i].x);
        b.z0 = std::min(b.z0, ring[i].y), b.z1 = std::max(b.z1, ring[i].y);
    }
    return b;
}

class WallFaceEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        handlesBefore = GS::LiveMemoryHandleCount();
        jobsBefore = VOMDIX::GetJobCounts();
        host = std::make_unique<SimHost::Host>();
        HostBinding::ReceiveTable(host->Table());
    }
    void TearDown() override
    {
        HostBinding::Reset();
        host->wallJobs.Report(host->recorder);
        for (const auto& f : host->recorder.faults)
            ADD_FAILURE() << "add-on fault: " << f.what;
        host.reset();
        const VOMDIX::JobCounts now = VOMDIX::GetJobCounts();
        EXPECT_GT(now.begun, jobsBefore.begun);
        EXPECT_EQ(now.ended - jobsBefore.ended, now.begun - jobsBefore.begun) << "every job ends once";
        EXPECT_EQ(GS::LiveMemoryHandleCount(), handlesBefore) << "memory handles leaked";
    }

    SimHost::Element& Wall(API_Coord begin, API_Coord end, double angle)
    {
        SimHost::Element& e = host->model.Add(API_WallID);
        SimHost::WallPart& w = *e.As<SimHost::WallPart>();
        w.record.begC = begin;
        w.record.endC = end;
        w.record.angle = angle;
        w.record.thickness = 0.3;
        w.record.height = 3;
        return e;
    }

    std::unique_ptr<SimHost::Host> host;
    Int64 handlesBefore = 0;
    VOMDIX::JobCounts jobsBefore;
};

TEST_F(WallFaceEndToEndTest, StraightWallWithAWindowGivesTheRectangleWithTheWindowAsAHole)
{
    // The face is the wall's own wherever the project's origin lies: the
    // body comes out of the 3D world and the description adds the location
    // offset back, so the wall and its window move together.
    for (const API_Coord offset : {API_Coord{0, 0}, API_Coord{100, -50}}) {
        SCOPED_TRACE(std::to_string(offset.x) + ", " + std::to_string(offset.y));
        host->model.locationOffset = offset;
        SimHost::Element& e = Wall({0, 0}, {4, 0}, 0);
        e.As<SimHost::WallPart>()->openings.push_back({1.5, 1, 1, 1});
        SegmentedPolygon out;
        const WallFaceFrame frame{true, 0, {0, 0}, {4, 0}, false};
        ASSERT_TRUE(RequestWallFacePolygon(e.guid, 0.15, 0.15, frame, out));
        const Box c = BoxOf(out.contour);
        EXPECT_NEAR(c.x0, 0, 1e-6);
        EXPECT_NEAR(c.x1, 4, 1e-6);
        EXPECT_NEAR(c.z0, 0, 1e-6);
        EXPECT_NEAR(c.z1, 3, 1e-6);
        // The rectangle, its edges possibly cut where the body's columns meet.
        for (UInt32 i = 0; i < out.contour.GetSize(); ++i) {
            const API_Coord p = out.contour[i];
            EXPECT_TRUE(std::fabs(p.x) < 1e-6 || std::fabs(p.x - 4) < 1e-6 || std::fabs(p.y) < 1e-6 ||
                        std::fabs(p.y - 3) < 1e-6)
                << p.x << ", " << p.y;
        }
        ASSERT_EQ(out.holes.GetSize(), 1u);
        const Box h = BoxOf(out.holes[0]);
        EXPECT_NEAR(h.x0, 1.5, 1e-6);
        EXPECT_NEAR(h.x1, 2.5, 1e-6);
        EXPECT_NEAR(h.z0, 1, 1e-6);
        EXPECT_NEAR(h.z1, 2, 1e-6);
        host->model.Remove(e.guid);
    }
}

TEST_F(WallFaceEndToEndTest, CurvedWallGivesTheUnrolledFace)
{
    // A quarter circle of radius 4 about the origin, counter-clockwise.
    const double angle = 1.5707963267948966;
    SimHost::Element& e = Wall({4, 0}, {0, 4}, angle);
    SegmentedPolygon out;
    const WallFaceFrame frame{true, angle, {4, 0}, {0, 4}, false};
    ASSERT_TRUE(RequestWallFacePolygon(e.guid, 0.1, 0.1, frame, out));
    ASSERT_GE(out.contour.GetSize(), 4u);
    EXPECT_TRUE(out.holes.IsEmpty());
    const Box c = BoxOf(out.contour);
    EXPECT_NEAR(c.z0, 0, 1e-6);
    EXPECT_NEAR(c.z1, 3, 1e-6);
    // Unrolled: the reference line is the left face (radius 4), the right
    // one lies at 4.3; a curved wall's depth runs from its right face, so the
    // section 0.1 deep is an arc of radius 4.2, measured on its facets.
    const double length = c.x1 - c.x0;
    EXPECT_NEAR(length, 4.2 * angle, 0.02);
}

}  // namespace
