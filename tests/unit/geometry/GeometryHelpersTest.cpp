// Numeric edge cases of the plane-geometry helpers: tolerances, sign
// conventions and the six-decimal cut of AngleBetween2D.
#include "tests/unit/platform/GeometryTestSupport.hpp"
#include "addon/geometry/GeometryHelpers.hpp"
#include <cmath>
#include <gtest/gtest.h>

namespace {

using GeometryTestSupport::Pi;

// The helpers allocate nothing; every test still says so.
using GeometryHelpersTest = NoLeakTest;

struct ArcCenterCase {
    const char* name;
    API_Coord p1, p2;
    double angle;
    bool computed;
    API_Coord centre;
};

// Chord (-1, 0) -> (1, 0): the tangent formula puts the centre at
// (0, 1 / tan(a / 2)), the midpoint is (0, 0).
const ArcCenterCase arcCenterCases[] = {
    {"BelowZeroToleranceFails", {-1, 0}, {1, 0}, 1e-6, false, {0, 0}},
    {"NegativeBelowZeroToleranceFails", {3, 4}, {5, 6}, -9e-6, false, {0, 0}},
    {"ZeroToleranceItselfComputes", {-1, 0}, {1, 0}, 1e-5, true, {0, 1.0 / std::tan(0.5e-5)}},
    {"HalfTurnIsMidpoint", {-1, 0}, {1, 0}, Pi, true, {0, 0}},
    {"NegativeHalfTurnIsMidpoint", {-1, 0}, {1, 0}, -Pi, true, {0, 0}},
    {"NearHalfTurnIsMidpoint", {-1, 0}, {1, 0}, Pi + 5e-5, true, {0, 0}},
    {"BeyondHalfTurnToleranceUsesTangent", {-1, 0}, {1, 0}, Pi + 2e-4, true, {0, 1.0 / std::tan((Pi + 2e-4) * 0.5)}},
    {"QuarterTurnLeftOfChord", {-1, 0}, {1, 0}, Pi / 2, true, {0, 1}},
    {"NegativeQuarterTurnRightOfChord", {-1, 0}, {1, 0}, -Pi / 2, true, {0, -1}},
    {"QuarterTurnOffOrigin", {4, 4}, {0, 4}, Pi / 2, true, {2, 2}},
};

class ArcCenterTest : public GeometryHelpersTest, public ::testing::WithParamInterface<ArcCenterCase> {};

TEST_P(ArcCenterTest, CentreAndResult)
{
    const ArcCenterCase& c = GetParam();
    API_Coord centre = {99, 99};
    EXPECT_EQ(ArcCenter(c.p1, c.p2, c.angle, centre), c.computed);
    EXPECT_NEAR(centre.x, c.centre.x, 1e-9);
    EXPECT_NEAR(centre.y, c.centre.y, 1e-9 * std::max(1.0, std::fabs(c.centre.y)));
    // Away from the half-turn shortcut, turning p1 about the centre reaches p2.
    if (c.computed && std::fabs(std::fabs(c.angle) - Pi) >= 1e-4 && std::fabs(c.angle) > 1e-3) {
        API_Coord end = RotateAround(c.p1, centre, c.angle);
        EXPECT_NEAR(end.x, c.p2.x, 1e-9);
        EXPECT_NEAR(end.y, c.p2.y, 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ArcCenterTest, ::testing::ValuesIn(arcCenterCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GeometryHelpersTest, SignConventionsOfOrientationAndLineDistance)
{
    // (0, 1) lies left of (0, 0) -> (1, 0).
    EXPECT_DOUBLE_EQ(Orientation({0, 0}, {1, 0}, {0, 1}), 1.0);
    EXPECT_DOUBLE_EQ(Orientation({0, 0}, {1, 0}, {0, -1}), -1.0);
    EXPECT_DOUBLE_EQ(Orientation({0, 0}, {1, 0}, {5, 0}), 0.0);
    EXPECT_DOUBLE_EQ(SignedLineDistance(0, 0, 1, 0, 0, 1), -1.0);
    EXPECT_DOUBLE_EQ(LineDistance(0, 0, 1, 0, 0, 1), 1.0);
    EXPECT_DOUBLE_EQ(SignedLineDistance(0, 0, 1, 0, 7, -2), 2.0);
    EXPECT_DOUBLE_EQ(LineDistance(0, 0, 1, 0, 7, -2), 2.0);
    // The line is infinite: a point beyond its second end is still measured
    // perpendicularly, and the line's length does not scale the result.
    EXPECT_DOUBLE_EQ(LineDistance(0, 0, 0, 10, -3, 50), 3.0);
    EXPECT_DOUBLE_EQ(PointDistance({1, 1}, {4, 5}), 5.0);
}

struct FootCase {
    const char* name;
    API_Coord p;
    API_Sector line;
    API_Coord foot;
};

const FootCase footCases[] = {
    // Within 1e-4 of vertical: x of the first point.
    {"NearVerticalTakesFirstX", {5, 3}, {{2, 0}, {2.00005, 10}}, {2, 3}},
    // Within 1e-4 of horizontal: y of the second point.
    {"NearHorizontalTakesSecondY", {5, 3}, {{0, 1}, {10, 1.00005}}, {5, 1.00005}},
    {"Diagonal", {0, 2}, {{0, 0}, {1, 1}}, {1, 1}},
    {"SteepBeyondTolerance", {0, 0}, {{1, 0}, {1.001, 10}}, {1e8 / (1e8 + 1), -1e4 / (1e8 + 1)}},
};

class PerpendicularFootTest : public GeometryHelpersTest, public ::testing::WithParamInterface<FootCase> {};

TEST_P(PerpendicularFootTest, Foot)
{
    const FootCase& c = GetParam();
    API_Coord f = PerpendicularFoot(c.p, c.line);
    EXPECT_NEAR(f.x, c.foot.x, 1e-9);
    EXPECT_NEAR(f.y, c.foot.y, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Cases, PerpendicularFootTest, ::testing::ValuesIn(footCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GeometryHelpersTest, RotationsAndSegments)
{
    API_Coord r = RotateAround({3, 1}, {1, 1}, Pi / 2);
    EXPECT_NEAR(r.x, 1, 1e-12);
    EXPECT_NEAR(r.y, 3, 1e-12);
    r = RotateAboutOrigin({1, 0}, -Pi / 2);
    EXPECT_NEAR(r.x, 0, 1e-12);
    EXPECT_NEAR(r.y, -1, 1e-12);
    API_Coord v = VectorBetween({1, 2}, {4, -1});
    EXPECT_EQ(v.x, 3);
    EXPECT_EQ(v.y, -3);
    API_Sector s = SwappedSegment({{1, 2}, {3, 4}});
    EXPECT_EQ(s.c1.x, 3);
    EXPECT_EQ(s.c2.y, 2);
}

struct AngleCase {
    const char* name;
    API_Coord u, v;
    double angle;
};

const AngleCase angleCases[] = {
    {"ParallelExactCosine", {1, 0}, {3, 0}, 0.0},
    // The cosine comes out as 0.9999999999999999 and is cut to 0.999999.
    {"ParallelRoundedCosine", {0.1, 0.1}, {0.1 * 3, 0.1 * 3}, 0.0014142136802445852},
    {"OppositeExactCosine", {1, 0}, {-2, 0}, Pi},
    {"OppositeRoundedCosine", {0.1, 0.1}, {0.1 * -3, 0.1 * -3}, 3.1401784399095485},
    {"Perpendicular", {0, 2}, {3, 0}, Pi / 2},
    {"ZeroVector", {0, 0}, {1, 0}, 0.0},
    {"TinyVector", {1, 0}, {0, 5e-6}, 0.0},
    {"InfiniteVector", {1, 0}, {HUGE_VAL, 1}, 0.0},
};

class AngleBetweenTest : public GeometryHelpersTest, public ::testing::WithParamInterface<AngleCase> {};

TEST_P(AngleBetweenTest, Angle)
{
    const AngleCase& c = GetParam();
    EXPECT_NEAR(AngleBetween2D(c.u, c.v), c.angle, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Cases, AngleBetweenTest, ::testing::ValuesIn(angleCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
