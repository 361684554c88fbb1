// The outline the stand-in host gives for walls joined at a corner.
#include "simhost/model/WallPart.hpp"
#include <gtest/gtest.h>
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

// An L corner: each wall reaches across the corner to the other's far face
// and has a fifth corner where the other's near face meets its inner side.
TEST(JoinedWallOutline, CornerGivesEachWallFiveCorners)
{
    const WallPart a = Wall({0, 0}, {10, 0});
    const WallPart b = Wall({10, 0}, {10, 5});
    ExpectCorners(SimHost::BuildJoinedWallPlanPolygon(a, {&b}),
                  {{0, 0.15}, {9.85, 0.15}, {10.15, 0.15}, {10.15, -0.15}, {0, -0.15}});
    ExpectCorners(SimHost::BuildJoinedWallPlanPolygon(b, {&a}),
                  {{9.85, -0.15}, {9.85, 0.15}, {9.85, 5}, {10.15, 5}, {10.15, -0.15}});
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
