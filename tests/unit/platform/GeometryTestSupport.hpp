// What the platform's and the add-on's geometry tests share: the leak check
// and a few polygons.
#pragma once
#include "platform/geometry/Polygon2D.hpp"
#include "platform/gs/MathConstants.hpp"
#include "platform/gs/Memory.hpp"
#include <gtest/gtest.h>

// Every test leaves as many memory handles alive as it found.
class NoLeakTest : public ::testing::Test {
protected:
    void SetUp() override { handlesBefore = GS::LiveMemoryHandleCount(); }
    void TearDown() override
    {
        GS::FailNthAllocation(0);
        EXPECT_EQ(GS::LiveMemoryHandleCount(), handlesBefore) << "memory handles leaked";
    }
    Int64 handlesBefore = 0;
};

namespace GeometryTestSupport {

using GS::Pi;

inline Geometry::PolyContour Rect(double x0, double y0, double x1, double y1)
{
    Geometry::PolyContour c;
    for (Geometry::Coord p : {Geometry::Coord{x0, y0}, Geometry::Coord{x1, y0}, Geometry::Coord{x1, y1}, Geometry::Coord{x0, y1}})
        c.Push({p, 0.0});
    return c;
}

inline Geometry::CorePolygon2D Polygon(std::initializer_list<Geometry::PolyContour> contours)
{
    Geometry::CorePolygon2D p;
    for (const Geometry::PolyContour& c : contours)
        p.AddContour(c);
    return p;
}

inline UInt32 ArcCount(const Geometry::CorePolygon2D& p)
{
    UInt32 n = 0;
    for (UInt32 c = 0; c < p.GetContourCount(); ++c)
        for (const Geometry::PolyVertex& v : p.GetContour(c))
            n += Geometry::IsArcAngle(v.arcAngle) ? 1 : 0;
    return n;
}

}  // namespace GeometryTestSupport
