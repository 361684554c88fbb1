// The geometry library: areas, subtraction (arcs kept where untouched), and
// the conversions between Polygon2DData and CorePolygon2D.
#include "tests/unit/platform/GeometryTestSupport.hpp"
#include "platform/geometry/Polygon2DData.hpp"
#include <cmath>
#include <gtest/gtest.h>
#include <initializer_list>
#include <limits>

namespace {

using namespace Geometry;
using namespace GeometryTestSupport;

struct V {
    double x, y, arc;
};

PolyContour Ring(std::initializer_list<V> vertices)
{
    PolyContour ring;
    for (const V& v : vertices)
        ring.Push({{v.x, v.y}, v.arc});
    return ring;
}

// Circle of radius r about (cx, cy) as two half turns.
PolyContour Circle(double cx, double cy, double r) { return Ring({{cx + r, cy, Pi}, {cx - r, cy, Pi}}); }

// The 10 x 10 square whose top edge bulges up by a half circle of radius 5.
CorePolygon2D ArchedSquare() { return Polygon({Ring({{0, 0, 0}, {10, 0, 0}, {10, 10, Pi}, {0, 10, 0}})}); }
const double ArchedSquareArea = 100 + Pi * 25 / 2;

struct AreaCase {
    const char* name;
    CorePolygon2D polygon;
    double area;
};

class AreaTest : public NoLeakTest, public ::testing::WithParamInterface<AreaCase> {};

TEST_P(AreaTest, Area) { EXPECT_NEAR(GetParam().polygon.CalcArea(), GetParam().area, 1e-9); }

INSTANTIATE_TEST_SUITE_P(
    Cases, AreaTest,
    ::testing::Values(AreaCase{"Empty", CorePolygon2D(), 0},
                      AreaCase{"Square", Polygon({Rect(0, 0, 4, 4)}), 16},
                      AreaCase{"ClockwiseSquare", Polygon({Ring({{0, 0, 0}, {0, 4, 0}, {4, 4, 0}, {4, 0, 0}})}), 16},
                      AreaCase{"SquareWithClockwiseAndCounterClockwiseHoles",
                               Polygon({Rect(0, 0, 10, 10), Rect(1, 1, 2, 2), Ring({{5, 5, 0}, {5, 7, 0}, {7, 7, 0}, {7, 5, 0}})}), 95},
                      AreaCase{"OutwardArc", ArchedSquare(), ArchedSquareArea},
                      // The same half circle turning the other way bites into the square.
                      AreaCase{"InwardArc", Polygon({Ring({{0, 0, 0}, {10, 0, 0}, {10, 10, -Pi}, {0, 10, 0}})}), 100 - Pi * 25 / 2},
                      AreaCase{"ClockwiseRingWithArc", Polygon({Ring({{0, 0, 0}, {0, 10, -Pi}, {10, 10, 0}, {10, 0, 0}})}), ArchedSquareArea},
                      AreaCase{"Disc", Polygon({Circle(3, 3, 2)}), Pi * 4},
                      AreaCase{"QuarterDisc", Polygon({Ring({{0, 0, 0}, {2, 0, Pi / 2}, {0, 2, 0}})}), Pi},
                      // Far from the origin the area is not lost to rounding.
                      AreaCase{"StripAtOneBillion", Polygon({Rect(1e9, 1e9, 1e9 + 3, 1e9 + 10)}), 30},
                      AreaCase{"ArchedSquareWithHoleAtMinusOneBillion",
                               Polygon({Ring({{-1e9, -1e9, 0}, {-1e9 + 10, -1e9, 0}, {-1e9 + 10, -1e9 + 10, Pi}, {-1e9, -1e9 + 10, 0}}),
                                        Rect(-1e9 + 2, -1e9 + 2, -1e9 + 4, -1e9 + 4)}),
                               ArchedSquareArea - 4}),
    [](const auto& info) { return std::string(info.param.name); });

struct SubtractCase {
    const char* name;
    CorePolygon2D polygon;
    CorePolygon2D cut;
    std::vector<double> pieceAreas;  // in any order
    UInt32 arcsLeft;                 // arcs over all pieces
};

class SubstractTest : public NoLeakTest, public ::testing::WithParamInterface<SubtractCase> {};

TEST_P(SubstractTest, PiecesAndArcs)
{
    const SubtractCase& c = GetParam();
    CustomMultiPolygon2D pieces = c.polygon.Substract(c.cut);
    ASSERT_EQ(pieces.GetSize(), c.pieceAreas.size());
    std::vector<double> areas;
    UInt32 arcs = 0;
    for (const CorePolygon2D& p : pieces) {
        areas.push_back(p.CalcArea());
        arcs += ArcCount(p);
    }
    std::sort(areas.begin(), areas.end());
    std::vector<double> expected = c.pieceAreas;
    std::sort(expected.begin(), expected.end());
    for (USize i = 0; i < areas.size(); ++i)
        EXPECT_NEAR(areas[i], expected[i], 1e-2) << "piece " << i;
    EXPECT_EQ(arcs, c.arcsLeft);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SubstractTest,
    ::testing::Values(
        SubtractCase{"HoleInside", Polygon({Rect(0, 0, 10, 10)}), Polygon({Rect(2, 2, 4, 4)}), {96}, 0},
        SubtractCase{"CornerBitten", Polygon({Rect(0, 0, 10, 10)}), Polygon({Rect(8, 8, 12, 12)}), {96}, 0},
        SubtractCase{"SplitInTwo", Polygon({Rect(0, 0, 10, 10)}), Polygon({Rect(3, -1, 4, 11)}), {30, 60}, 0},
        SubtractCase{"CoveredWhole", Polygon({Rect(0, 0, 10, 10)}), Polygon({Rect(-1, -1, 11, 11)}), {}, 0},
        SubtractCase{"EmptyCut", Polygon({Rect(0, 0, 10, 10)}), CorePolygon2D(), {100}, 0},
        SubtractCase{"EmptyPolygon", CorePolygon2D(), Polygon({Rect(0, 0, 10, 10)}), {}, 0},
        SubtractCase{"CutInsideExistingHole", Polygon({Rect(0, 0, 10, 10), Rect(2, 2, 6, 6)}), Polygon({Rect(3, 3, 4, 4)}), {84}, 0},
        // The arch is not touched by a hole under it: it stays one arc.
        SubtractCase{"ArcOutlineKeptBesideHole", ArchedSquare(), Polygon({Rect(2, 2, 4, 4)}), {ArchedSquareArea - 4}, 1},
        // A round opening inside comes back as a hole of two arcs.
        SubtractCase{"RoundHoleKeepsArcs", Polygon({Rect(0, 0, 10, 10)}), Polygon({Circle(5, 5, 2)}), {100 - Pi * 4}, 2},
        // Cutting through the arch leaves it a chain of points (whose chords
        // shave a little off the area).
        SubtractCase{"CutArcBecomesChain", ArchedSquare(), Polygon({Rect(4, 8, 6, 20)}), {ArchedSquareArea - 4 - (std::sqrt(24.0) + 25 * std::asin(0.2))}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

// Polygons the boolean operation cannot work on, and a few it can.
struct ValidityCase {
    const char* name;
    CorePolygon2D polygon;
    bool valid;
};

class ValidityTest : public NoLeakTest, public ::testing::WithParamInterface<ValidityCase> {};

// An invalid polygon never reaches Boost.Geometry, on either side.
TEST_P(ValidityTest, InvalidPolygonIsRefusedBySubstract)
{
    const ValidityCase& c = GetParam();
    EXPECT_EQ(c.polygon.IsValid(), c.valid);
    if (c.valid)
        return;
    const CorePolygon2D square = Polygon({Rect(0, 0, 10, 10)});
    EXPECT_THROW(square.Substract(c.polygon), GeometryException);
    EXPECT_THROW(c.polygon.Substract(square), GeometryException);
    EXPECT_THROW(c.polygon.Substract(CorePolygon2D()), GeometryException);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValidityTest,
    ::testing::Values(ValidityCase{"Empty", CorePolygon2D(), true},
                      ValidityCase{"ArchedSquare", ArchedSquare(), true},
                      // An angle that is not a number is no arc: a straight edge.
                      ValidityCase{"ArcAngleNotANumber", Polygon({Ring({{2, 2, NaN}, {4, 2, 0}, {4, 4, 0}})}), true},
                      ValidityCase{"ArcJustUnderAFullTurn", Polygon({Ring({{2, 2, 2 * Pi - 1e-9}, {4, 2, 0}, {4, 4, 0}})}), true},
                      ValidityCase{"VertexNotANumber", Polygon({Ring({{2, 2, 0}, {NaN, 2, 0}, {4, 4, 0}})}), false},
                      ValidityCase{"VertexInfinite", Polygon({Ring({{2, 2, 0}, {4, Inf, 0}, {4, 4, 0}})}), false},
                      ValidityCase{"HoleVertexMinusInfinite", Polygon({Rect(1, 1, 9, 9), Ring({{2, 2, 0}, {-Inf, 2, 0}, {4, 4, 0}})}), false},
                      ValidityCase{"ArcOfAFullTurn", Polygon({Ring({{2, 2, 2 * Pi}, {4, 2, 0}, {4, 4, 0}})}), false},
                      ValidityCase{"ClockwiseArcOfAFullTurn", Polygon({Ring({{2, 2, 0}, {4, 2, -2 * Pi}, {4, 4, 0}})}), false},
                      ValidityCase{"ArcOfMoreThanAFullTurn", Polygon({Ring({{2, 2, 0}, {4, 2, 0}, {4, 4, 3 * Pi}})}), false},
                      ValidityCase{"ArcAngleInfinite", Polygon({Ring({{2, 2, Inf}, {4, 2, 0}, {4, 4, 0}})}), false}),
    [](const auto& info) { return std::string(info.param.name); });

// Valid polygons the arithmetic still fails on: each failure comes out as
// the library's own exception.
struct ArithmeticFailureCase {
    const char* name;
    CorePolygon2D polygon;
    CorePolygon2D cut;
};

class ArithmeticFailureTest : public NoLeakTest, public ::testing::WithParamInterface<ArithmeticFailureCase> {};

TEST_P(ArithmeticFailureTest, IsAGeometryException)
{
    ASSERT_TRUE(GetParam().polygon.IsValid());
    EXPECT_THROW(GetParam().polygon.Substract(GetParam().cut), GeometryException);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArithmeticFailureTest,
    ::testing::Values(
        // Boost.Geometry's rescaling overflows on polygons this small
        // (boost::numeric::positive_overflow).
        ArithmeticFailureCase{"OverflowOfTheRescaling", Polygon({Rect(0, 0, 1e-15, 1e-15)}), Polygon({Rect(5e-16, 5e-16, 2e-15, 2e-15)})},
        // Finite ends, but the arc's bulge lies beyond the largest double.
        ArithmeticFailureCase{"ArcBeyondTheRangeOfCoordinates",
                              Polygon({Ring({{-1.5e308, 0, 3 * Pi / 2}, {1.5e308, 0, 0}, {0, 1e308, 0}})}),
                              Polygon({Rect(0, 0, 1, 1)})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NoLeakTest, SubstractOfDisjointPolygonReturnsItVertexForVertex)
{
    const CorePolygon2D clockwise = Polygon({Ring({{0, 0, 0}, {0, 10, -Pi}, {10, 10, 0}, {10, 0, 0}}), Rect(2, 2, 3, 3)});
    for (const CorePolygon2D& cut : {Polygon({Rect(30, 30, 40, 40)}), Polygon({Rect(2.2, 2.2, 2.8, 2.8)})}) {
        CustomMultiPolygon2D pieces = clockwise.Substract(cut);
        ASSERT_EQ(pieces.GetSize(), 1u);
        EXPECT_TRUE(pieces[0] == clockwise);
    }
}

TEST_F(NoLeakTest, RestoredArcKeepsItsEndPointsAndTurnsWithTheRing)
{
    // The hole runs clockwise in the result, so its arcs turn the other way.
    CustomMultiPolygon2D pieces = Polygon({Rect(0, 0, 10, 10)}).Substract(Polygon({Circle(5, 5, 2)}));
    ASSERT_EQ(pieces.GetSize(), 1u);
    ASSERT_EQ(pieces[0].GetContourCount(), 2u);
    const PolyContour& hole = pieces[0].GetContour(1);
    ASSERT_EQ(hole.GetSize(), 2u);
    for (const PolyVertex& v : hole) {
        EXPECT_EQ(v.arcAngle, -Pi);
        EXPECT_TRUE(v.pos == Coord({7, 5}) || v.pos == Coord({3, 5}));
    }
    EXPECT_NE(hole[0].pos, hole[1].pos);
}

TEST_F(NoLeakTest, ArcGetOrigo)
{
    Coord a = {-1, 0}, b = {1, 0}, o = {9, 9};
    EXPECT_TRUE(ArcGetOrigo(&a, &b, Pi / 2, &o));
    EXPECT_NEAR(o.x, 0, 1e-12);
    EXPECT_NEAR(o.y, 1, 1e-12);
    EXPECT_TRUE(ArcGetOrigo(&a, &b, -Pi, &o));
    EXPECT_NEAR(o.y, 0, 1e-12);
    o = {9, 9};
    EXPECT_FALSE(ArcGetOrigo(&a, &b, 0.0, &o));
    EXPECT_FALSE(ArcGetOrigo(&a, &a, 1.0, &o));
    EXPECT_FALSE(ArcGetOrigo(&a, &b, std::nan(""), &o));
    EXPECT_EQ(o.x, 9);
}

TEST_F(NoLeakTest, ConversionRoundTripKeepsLayoutAndArcs)
{
    const CorePolygon2D original =
        Polygon({Ring({{0, 0, 0}, {10, 0, 0}, {10, 10, Pi}, {0, 10, 0}}), Ring({{2, 2, 0}, {4, 2, 0.5}, {4, 4, 0}, {2, 4, -0.25}})});
    Polygon2DData data;
    InitPolygon2DData(&data);
    ConvertPolygon2DToPolygon2DData(data, original);
    EXPECT_EQ(data.nVertices, 10);
    EXPECT_EQ(data.nContours, 2);
    EXPECT_EQ(data.nArcs, 3);
    EXPECT_EQ(BMhGetSize(data.vertices), 11 * 16);
    const Int32* ends = reinterpret_cast<const Int32*>(*data.contourEnds);
    EXPECT_EQ(ends[0], 0);
    EXPECT_EQ(ends[1], 5);
    EXPECT_EQ(ends[2], 10);
    const Coord* v = reinterpret_cast<const Coord*>(*data.vertices);
    EXPECT_EQ(v[5], v[1]);  // each contour closes on its first vertex
    EXPECT_EQ(v[10], v[6]);
    const PolyArcRec* arcs = reinterpret_cast<const PolyArcRec*>(*data.arcs);
    EXPECT_EQ(arcs[1].begIndex, 3);
    EXPECT_EQ(arcs[1].endIndex, 4);
    EXPECT_EQ(arcs[3].begIndex, 9);  // the hole's closing edge
    EXPECT_EQ(arcs[3].endIndex, 10);
    // The arch reaches y = 15.
    EXPECT_TRUE(data.status & Polygon2DData_BoundBoxValid);
    EXPECT_NEAR(data.boundBox.yMax, 15, 1e-12);
    EXPECT_EQ(data.boundBox.xMin, 0);
    EXPECT_EQ(data.boundBox.xMax, 10);

    CustomMultiPolygon2D back;
    ConvertPolygon2DDataToPolygon2D(back, data);
    ASSERT_EQ(back.GetSize(), 1u);
    EXPECT_TRUE(back[0] == original);
    FreePolygon2DData(&data);
    EXPECT_EQ(data.vertices, nullptr);
}

struct BoxCase {
    const char* name;
    CorePolygon2D polygon;
    Box2DData box;
};

class BoundBoxTest : public NoLeakTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(BoundBoxTest, IncludesTheArcsBulges)
{
    Polygon2DData data;
    InitPolygon2DData(&data);
    ConvertPolygon2DToPolygon2DData(data, GetParam().polygon);
    Box2DData box;
    GetPolygon2DDataBoundBox(data, &box);
    EXPECT_NEAR(box.xMin, GetParam().box.xMin, 1e-12);
    EXPECT_NEAR(box.yMin, GetParam().box.yMin, 1e-12);
    EXPECT_NEAR(box.xMax, GetParam().box.xMax, 1e-12);
    EXPECT_NEAR(box.yMax, GetParam().box.yMax, 1e-12);
    FreePolygon2DData(&data);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoundBoxTest,
    ::testing::Values(BoxCase{"CounterClockwiseArc", ArchedSquare(), {0, 0, 10, 15}},
                      BoxCase{"ClockwiseArc", Polygon({Ring({{0, 0, 0}, {0, 10, -Pi}, {10, 10, 0}, {10, 0, 0}})}), {0, 0, 10, 15}},
                      // From -90 to +90 degrees about (10, 5), through 0.
                      BoxCase{"ArcThroughAngleZero", Polygon({Ring({{0, 0, 0}, {10, 0, Pi}, {10, 10, 0}, {0, 10, 0}})}), {0, 0, 15, 10}},
                      BoxCase{"InwardArc", Polygon({Ring({{0, 0, 0}, {10, 0, 0}, {10, 10, -Pi}, {0, 10, 0}})}), {0, 0, 10, 10}},
                      BoxCase{"Empty", CorePolygon2D(), {0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NoLeakTest, EmptyPolygonConvertsBothWays)
{
    Polygon2DData data;
    InitPolygon2DData(&data);
    CustomMultiPolygon2D multi;
    ConvertPolygon2DDataToPolygon2D(multi, data);
    EXPECT_TRUE(multi.IsEmpty());
    ConvertPolygon2DToPolygon2DData(data, CorePolygon2D());
    EXPECT_EQ(data.nVertices, 0);
    EXPECT_EQ(data.nContours, 0);
    EXPECT_EQ(data.arcs, nullptr);
    ConvertPolygon2DDataToPolygon2D(multi, data);
    EXPECT_TRUE(multi.IsEmpty());
    FreePolygon2DData(&data);
}

TEST_F(NoLeakTest, FailedAllocationThrowsAndLeavesNothing)
{
    for (Int64 n = 1; n <= 3; ++n) {
        Polygon2DData data;
        InitPolygon2DData(&data);
        ConvertPolygon2DToPolygon2DData(data, ArchedSquare());
        GS::FailNthAllocation(n);
        EXPECT_THROW(ConvertPolygon2DToPolygon2DData(data, ArchedSquare()), std::bad_alloc) << n;
        GS::FailNthAllocation(0);
        EXPECT_EQ(data.vertices, nullptr);
        EXPECT_EQ(data.nVertices, 0);
        FreePolygon2DData(&data);
    }
}

// Starts from a good square with one arc and breaks one thing.
struct MalformedCase {
    const char* name;
    void (*breakIt)(Polygon2DData&);
};

Int32* Ends(Polygon2DData& d) { return reinterpret_cast<Int32*>(*d.contourEnds); }
PolyArcRec* Arcs(Polygon2DData& d) { return reinterpret_cast<PolyArcRec*>(*d.arcs); }

const MalformedCase malformedCases[] = {
    {"ContourEndBeyondVertices", [](Polygon2DData& d) { Ends(d)[1] = d.nVertices + 5; }},
    {"ContourWithoutVertex", [](Polygon2DData& d) { Ends(d)[1] = 1; }},
    {"MoreVerticesCountedThanHeld", [](Polygon2DData& d) { d.nVertices += 1; }},
    {"MoreContoursCountedThanHeld", [](Polygon2DData& d) { d.nContours = 2; }},
    {"MoreArcsCountedThanHeld", [](Polygon2DData& d) { d.nArcs = 4; }},
    {"NegativeCount", [](Polygon2DData& d) { d.nArcs = -1; }},
    {"ArcFromClosingVertex", [](Polygon2DData& d) { Arcs(d)[1] = {5, 6, 1.0}; }},
    {"ArcOverTwoEdges", [](Polygon2DData& d) { Arcs(d)[1] = {1, 3, 1.0}; }},
};

class MalformedDataTest : public NoLeakTest, public ::testing::WithParamInterface<MalformedCase> {};

TEST_P(MalformedDataTest, IsRefused)
{
    Polygon2DData data;
    InitPolygon2DData(&data);
    ConvertPolygon2DToPolygon2DData(data, ArchedSquare());
    GetParam().breakIt(data);
    CustomMultiPolygon2D multi;
    multi.Push(CorePolygon2D());
    EXPECT_THROW(ConvertPolygon2DDataToPolygon2D(multi, data), GeometryException);
    EXPECT_TRUE(multi.IsEmpty());
    FreePolygon2DData(&data);
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedDataTest, ::testing::ValuesIn(malformedCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
