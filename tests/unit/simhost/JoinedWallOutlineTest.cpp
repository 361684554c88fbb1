// The outlines the stand-in host gives for free walls and for walls joined
// at a corner: counter-clockwise from the right face's begin, the order the
// add-on's side picking takes the corners in.
#include "simhost/model/WallPart.hpp"
#include <gtest/gtest.h>
#include <cmath>
#include <vector>

namespace {

using SimHost::WallPart;

WallPart Wall(API_Coord begin, API_Coord end)
{
    WallPart w;
    w.record.begC = begin;
    w.record.endC = end;
    w.record.thickness = 0.3;
    w.record.offsetFromOutside = 0.15;  // the reference line in the middle
    return w;
}

std::vector<std::pair<double, double>> Corners(const SimHost::WallPlanPolygon& p)
{
    std::vector<std::pair<double, double>> out;
    EXPECT_EQ(p.ends.size(), 2u);
    EXPECT_EQ(p.ends.back(), static_cast<Int32>(p.coords.size() - 1));
    EXPECT_EQ(p.coords[1].x, p.coords.back().x);
    EXPECT_EQ(p.coords[1].y, p.coords.back().y);
    for (size_t i = 1; i + 1 < p.coords.size(); ++i)
        out.emplace_back(p.coords[i].x, p.coords[i].y);
    return out;
}

void ExpectCorners(const SimHost::WallPlanPolygon& p, const std::vector<std::pair<double, double>>& expected)
{
    const auto corners = Corners(p);
    ASSERT_EQ(corners.size(), expected.size());
    for (size_t i = 0; i < corners.size(); ++i) {
        EXPECT_NEAR(corners[i].first, expected[i].first, 1e-12) << i;
        EXPECT_NEAR(corners[i].second, expected[i].second, 1e-12) << i;
    }
}

// A free wall starts on its right face and runs counter-clockwise; a
// curved one's right face turns with the reference line, its left face back.
TEST(JoinedWallOutline, FreeWallStartsOnTheRightFaceCounterClockwise)
{
    const WallPart straight = Wall({0, 0.15}, {10, 0.15});
    ExpectCorners(SimHost::BuildWallPlanPolygon(straight), {{0, 0}, {10, 0}, {10, 0.3}, {0, 0.3}});
    EXPECT_TRUE(SimHost::BuildWallPlanPolygon(straight).arcs.empty());

    for (const double angle : {1.0, -1.0}) {
        SCOPED_TRACE(angle);
        WallPart curved = Wall({0, 0}, {4, 0});
        curved.record.angle = angle;
        const SimHost::WallPlanPolygon p = SimHost::BuildWallPlanPolygon(curved);
        // Both faces' ends lie on the radii through the reference line's ends.
        const auto c = Corners(p);
        ASSERT_EQ(c.size(), 4u);
        const double r = 2 / std::sin(0.5), cy = angle > 0 ? std::sqrt(r * r - 4) : -std::sqrt(r * r - 4);
        auto radius = [&](const std::pair<double, double>& q) { return std::hypot(q.first - 2, q.second - cy); };
        // Right of the way from begin to end: outside for a counter-clockwise
        // arc, inside for a clockwise one.
        const double right = angle > 0 ? r + 0.15 : r - 0.15, left = angle > 0 ? r - 0.15 : r + 0.15;
        EXPECT_NEAR(radius(c[0]), right, 1e-9);
        EXPECT_NEAR(radius(c[1]), right, 1e-9);
        EXPECT_NEAR(radius(c[2]), left, 1e-9);
        EXPECT_NEAR(radius(c[3]), left, 1e-9);
        EXPECT_LT(c[0].first, c[1].first) << "the right face runs from the begin to the end";
        ASSERT_EQ(p.arcs.size(), 2u);
        EXPECT_EQ(p.arcs[0].begIndex, 1);
        EXPECT_EQ(p.arcs[0].endIndex, 2);
        EXPECT_EQ(p.arcs[0].arcAngle, angle);
        EXPECT_EQ(p.arcs[1].begIndex, 3);
        EXPECT_EQ(p.arcs[1].endIndex, 4);
        EXPECT_EQ(p.arcs[1].arcAngle, -angle);
    }
}

// An L corner: each wall reaches across the corner to the other's far face
// and has a fifth corner where the other's near face meets its inner side.
TEST(JoinedWallOutline, CornerGivesEachWallFiveCorners)
{
    const WallPart a = Wall({0, 0}, {10, 0});
    const WallPart b = Wall({10, 0}, {10, 5});
    ExpectCorners(SimHost::BuildJoinedWallPlanPolygon(a, {&b}),
                  {{0, -0.15}, {10.15, -0.15}, {10.15, 0.15}, {9.85, 0.15}, {0, 0.15}});
    ExpectCorners(SimHost::BuildJoinedWallPlanPolygon(b, {&a}),
                  {{10.15, -0.15}, {10.15, 5}, {9.85, 5}, {9.85, 0.15}, {9.85, -0.15}});
}

// Joined at both ends (a U): six corners; a free wall keeps its four.
TEST(JoinedWallOutline, BothEndsGiveSixCornersAndParallelOrCurvedWallsNone)
{
    const WallPart a = Wall({0, 0}, {10, 0});
    const WallPart left = Wall({0, 0}, {0, 5});
    const WallPart right = Wall({10, 0}, {10, 5});
    EXPECT_EQ(Corners(SimHost::BuildJoinedWallPlanPolygon(a, {&left, &right})).size(), 6u);
    EXPECT_EQ(Corners(SimHost::BuildJoinedWallPlanPolygon(a, {})).size(), 4u);
    const WallPart parallel = Wall({0, 1}, {10, 1});
    EXPECT_EQ(Corners(SimHost::BuildJoinedWallPlanPolygon(a, {&parallel})).size(), 4u);
    WallPart curved = Wall({10, 0}, {10, 5});
    curved.record.angle = 0.5;
    EXPECT_EQ(Corners(SimHost::BuildJoinedWallPlanPolygon(a, {&curved})).size(), 4u);
    EXPECT_EQ(Corners(SimHost::BuildJoinedWallPlanPolygon(curved, {&a})).size(), 4u);
}

}  // namespace
