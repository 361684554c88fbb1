// SegmentedPolygon: building from memo handles (arcs subdivided, rings
// oriented, status values), the transforms and hole operations, and
// malformed handles.
#include "tests/unit/geometry/TestMemo.hpp"
#include "addon/geometry/SegmentedPolygon.hpp"
#include <cmath>
#include <random>

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace SegmentedPolygonTests {

using GeometryTestSupport::Pi;
const double R2 = 2 * std::sqrt(2.0);

std::string Twos(int n) { return std::string(static_cast<USize>(n), '2'); }

std::vector<double> ToVector(const GS::Array<double>& a) { return std::vector<double>(a.begin(), a.end()); }

// A vertex to check: ring 0 is the contour, ring r + 1 hole r.
struct VertexCheck {
    UInt32 ring;
    UInt32 index;
    API_Coord at;
};

struct BuildCase {
    const char* name;
    std::vector<Ring> rings;
    std::vector<PolyArcRec> arcs;
    std::string flags;
    std::vector<UInt32> ringSizes;  // contour, then each hole
    std::vector<VertexCheck> checks;
};

const Ring Square = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
const Ring ClockwiseSquare = {{0, 0}, {0, 4}, {4, 4}, {4, 0}};

const BuildCase buildCases[] = {
    {"ClockwiseStraightSquare", {{{1, 1}, {1, 5}, {5, 5}, {5, 1}}}, {}, "0000", {4},
     {{0, 0, {0, 0}}, {0, 1, {4, 0}}, {0, 2, {4, 4}}, {0, 3, {0, 4}}}},
    {"QuarterArc", {Square}, {{3, 4, Pi / 2}}, "001" + Twos(15) + "0", {19},
     {{0, 2, {4, 4}}, {0, 10, {2, 2 + R2}}, {0, 18, {0, 4}}}},
    // Built as (0,0) (0,4), the arc, (4,4) (4,0), then reversed keeping (0,0) first.
    {"ClockwiseQuarterArc", {ClockwiseSquare}, {{2, 3, -Pi / 2}}, "001" + Twos(15) + "0", {19},
     {{0, 1, {4, 0}}, {0, 2, {4, 4}}, {0, 10, {2, 2 + R2}}, {0, 18, {0, 4}}}},
    {"ArcOnClosingEdge", {Square}, {{4, 5, Pi / 2}}, "0001" + Twos(15), {19}, {{0, 3, {0, 4}}, {0, 11, {2 - R2, 2}}}},
    {"ClockwiseArcOnFirstEdge", {ClockwiseSquare}, {{1, 2, -Pi / 2}}, "0001" + Twos(15), {19},
     {{0, 1, {4, 0}}, {0, 3, {0, 4}}, {0, 11, {2 - R2, 2}}}},
    // 0.1 rad is 1.02 parts of 64 a turn: two parts, one point; 0.05 rad one part.
    {"SmallArcsRoundUp", {Square}, {{1, 2, 0.1}, {2, 3, 0.05}}, "12000", {5}, {{0, 2, {4, 0}}}},
    {"TinyAngleAndStrayBeginInsertNothing", {Square}, {{1, 2, 5e-6}, {9, 10, 1.0}}, "0000", {4}, {}},
    {"FirstRecordOfAVertexCounts", {Square}, {{1, 2, 0.05}, {1, 2, Pi / 2}}, "0000", {4}, {}},
    {"ArcsInAnyOrder", {Square}, {{3, 4, Pi / 2}, {1, 2, Pi}}, "1" + Twos(31) + "01" + Twos(15) + "0", {50},
     {{0, 16, {2, -2}}, {0, 32, {4, 0}}, {0, 49, {0, 4}}}},
    // The clockwise first hole turns round, its first vertex staying first.
    {"HolesInMemoOrder",
     {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{2, 2}, {2, 3}, {3, 3}, {3, 2}}, {{5, 5}, {6, 5}, {6, 6}, {5, 6}}},
     {},
     "000000000000",
     {4, 4, 4},
     {{1, 0, {2, 2}}, {1, 1, {3, 2}}, {1, 3, {2, 3}}, {2, 0, {5, 5}}, {2, 1, {6, 5}}}},
    {"ClockwiseHoleWithArcMovedWithTheContour",
     {{{3, 4}, {13, 4}, {13, 14}, {3, 14}}, {{5, 6}, {5, 10}, {9, 10}, {9, 6}}},
     {{7, 8, -Pi / 2}},
     "0000" "001" + Twos(15) + "0",
     {4, 19},
     {{0, 0, {0, 0}}, {0, 2, {10, 10}}, {1, 0, {2, 2}}, {1, 1, {6, 2}}, {1, 10, {4, 4 + R2}}}},
};

class BuildTest : public NoLeakTest, public ::testing::WithParamInterface<BuildCase> {};

void ExpectRings(const SegmentedPolygon& p, const BuildCase& c)
{
    ASSERT_EQ(p.holes.GetSize() + 1, c.ringSizes.size());
    EXPECT_EQ(p.contour.GetSize(), c.ringSizes[0]);
    for (UInt32 r = 0; r < p.holes.GetSize(); ++r)
        EXPECT_EQ(p.GetHoleVertexCount(r), c.ringSizes[r + 1]) << "hole " << r;
    for (const VertexCheck& v : c.checks) {
        const API_Coord at = v.ring == 0 ? p.GetContourVertex(v.index) : p.GetHoleVertex(v.ring - 1, v.index);
        EXPECT_NEAR(at.x, v.at.x, 1e-9) << "ring " << v.ring << " vertex " << v.index;
        EXPECT_NEAR(at.y, v.at.y, 1e-9) << "ring " << v.ring << " vertex " << v.index;
    }
}

TEST_P(BuildTest, RingsAndStatus)
{
    const BuildCase& c = GetParam();
    TestMemo m;
    m.SetPolygon(c.rings, c.arcs);
    SegmentedPolygon p;
    GS::Array<double> status;
    p.BuildSegmentedPolygon(m.memo.coords, m.memo.pends, m.memo.parcs, status);
    EXPECT_EQ(ToVector(status), Flags(c.flags));
    ExpectRings(p, c);
    EXPECT_GE(SegmentedPolygon::SignedContourArea(p.contour), 0);
    for (const GS::Array<API_Coord>& h : p.holes)
        EXPECT_GE(SegmentedPolygon::SignedContourArea(h), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, BuildTest, ::testing::ValuesIn(buildCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The status list keeps what it held; a second build replaces the rings.
TEST_F(NoLeakTest, BuildAppendsToTheStatusListAndReplacesRings)
{
    TestMemo m;
    m.SetPolygon({ClockwiseSquare}, {{2, 3, -Pi / 2}});
    SegmentedPolygon p;
    GS::Array<double> status = {7, 1, 2};
    p.BuildSegmentedPolygon(m.memo.coords, m.memo.pends, m.memo.parcs, status);
    std::vector<double> expected = {7, 1, 2};
    for (double f : Flags("001" + Twos(15) + "0"))
        expected.push_back(f);
    EXPECT_EQ(ToVector(status), expected);

    m.SetPolygon({Square, {{1, 1}, {2, 1}, {2, 2}}});
    p.BuildSegmentedPolygon(m.memo.coords, m.memo.pends, m.memo.parcs, status);
    EXPECT_EQ(p.contour.GetSize(), 4u);
    EXPECT_EQ(p.holes.GetSize(), 1u);
    EXPECT_EQ(status.GetSize(), expected.size() + 7);
}

// A ring given clockwise builds into the same points and status values as
// the same ring given counter-clockwise: first vertex kept first, the order
// of the others reversed, every arc angle negated.
TEST_F(NoLeakTest, ClockwiseRingsEqualCounterClockwiseRings)
{
    std::mt19937 rng(20240601);
    std::uniform_real_distribution<double> radius(6, 10), arc(-1.2, 1.2), coin(0, 1);
    for (int round = 0; round < 200; ++round) {
        const int n = 3 + static_cast<int>(rng() % 8);
        Ring ccw;
        for (int i = 0; i < n; ++i) {
            const double a = 2 * Pi * (i + 0.2 + 0.6 * coin(rng)) / n, r = radius(rng);
            ccw.push_back({r * std::cos(a), r * std::sin(a)});
        }
        // Every edge an arc in some rounds, each edge by chance in the others
        // (consecutive arcs and the closing edge included).
        const bool allArcs = round % 4 == 0;
        std::vector<PolyArcRec> ccwArcs, cwArcs;
        for (int i = 0; i < n; ++i) {
            if (!allArcs && coin(rng) < 0.5)
                continue;
            const double angle = arc(rng);
            ccwArcs.push_back({i + 1, i + 2, angle});
            // Edge i -> i + 1 of the ring is edge (n - i - 1) -> (n - i) of the reversed one.
            cwArcs.push_back({n - i, n - i + 1, -angle});
        }
        std::shuffle(cwArcs.begin(), cwArcs.end(), rng);
        Ring cw = {ccw[0]};
        for (int i = n - 1; i >= 1; --i)
            cw.push_back(ccw[static_cast<USize>(i)]);

        TestMemo a, b;
        a.SetPolygon({ccw}, ccwArcs);
        b.SetPolygon({cw}, cwArcs);
        SegmentedPolygon pa, pb;
        GS::Array<double> sa, sb;
        pa.BuildSegmentedPolygon(a.memo.coords, a.memo.pends, a.memo.parcs, sa);
        pb.BuildSegmentedPolygon(b.memo.coords, b.memo.pends, b.memo.parcs, sb);
        ASSERT_EQ(ToVector(sa), ToVector(sb)) << "round " << round;
        ASSERT_EQ(pa.contour.GetSize(), pb.contour.GetSize());
        for (UInt32 i = 0; i < pa.contour.GetSize(); ++i) {
            ASSERT_NEAR(pa.contour[i].x, pb.contour[i].x, 1e-9) << "round " << round << " vertex " << i;
            ASSERT_NEAR(pa.contour[i].y, pb.contour[i].y, 1e-9) << "round " << round << " vertex " << i;
        }
        // Every 1 is followed by a 2, and every run of 2 values starts after a 1.
        for (UInt32 i = 0; i < sa.GetSize(); ++i) {
            if (sa[i] == 1) {
                ASSERT_TRUE(i + 1 < sa.GetSize() && sa[i + 1] == 2) << "round " << round;
            }
            if (sa[i] == 2) {
                ASSERT_TRUE(i > 0 && sa[i - 1] != 0) << "round " << round;
            }
        }
    }
}

struct FlagCase {
    const char* name;
    std::string before;
    std::string reversed;
    std::string fixed;  // FixArcStartFlags of `reversed`
};

const FlagCase flagCases[] = {
    {"Empty", "", "", ""},
    {"Plain", "000", "000", "000"},
    {"OneArc", "01220", "02210", "01220"},
    {"ConsecutiveArcs", "0122120", "0212210", "0121220"},
    {"ArcOnClosingEdge", "0012", "2100", "1200"},
    {"RunReachingIndexZero", "1220", "0221", "0122"},
};

class FlagTest : public NoLeakTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(FlagTest, ReverseThenFix)
{
    const std::vector<double> b = Flags(GetParam().before);
    GS::Array<double> list;
    for (double f : b)
        list.Push(f);
    SegmentedPolygon::ReverseFlagArray(list);
    EXPECT_EQ(ToVector(list), Flags(GetParam().reversed));
    SegmentedPolygon::FixArcStartFlags(list);
    EXPECT_EQ(ToVector(list), Flags(GetParam().fixed));
}

INSTANTIATE_TEST_SUITE_P(Cases, FlagTest, ::testing::ValuesIn(flagCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NoLeakTest, FixArcStartFlagsLeavesALeadingOneAlone)
{
    GS::Array<double> list = {1, 2, 0};
    SegmentedPolygon::FixArcStartFlags(list);
    EXPECT_EQ(ToVector(list), Flags("120"));
}

TEST_F(NoLeakTest, TransformsVisitContourAndHoles)
{
    SegmentedPolygon p;
    p.contour = {{1, 0}, {3, 0}, {3, 2}};
    p.holes.Push({{2, 1}});
    p.TranslateSegmentedPolygon(1, -1);
    EXPECT_EQ(p.GetContourVertex(2).x, 4);
    EXPECT_EQ(p.GetHoleVertex(0, 0).y, 0);
    p.ScaleSegmentedPolygon(2, -3);
    EXPECT_EQ(p.GetContourVertex(0).x, 4);
    EXPECT_EQ(p.GetContourVertex(0).y, 3);
    EXPECT_EQ(p.GetHoleVertex(0, 0).x, 6);
    p.RotateSegmentedPolygon(Pi / 2);
    EXPECT_NEAR(p.GetHoleVertex(0, 0).x, 0, 1e-12);
    EXPECT_NEAR(p.GetHoleVertex(0, 0).y, 6, 1e-12);
    EXPECT_NEAR(p.GetContourVertex(0).x, -3, 1e-12);

    p.contour = {{1, 5}, {-2, 3}, {4, -1}, {0, 7}};
    const API_Box box = p.ContourBoundingBox();
    EXPECT_EQ(box.xMin, -2);
    EXPECT_EQ(box.yMin, -1);
    EXPECT_EQ(box.xMax, 4);
    EXPECT_EQ(box.yMax, 7);
    EXPECT_DOUBLE_EQ(SegmentedPolygon::SignedContourArea({{0, 0}, {0, 2}, {3, 2}, {3, 0}}), -6);
    EXPECT_EQ(SegmentedPolygon::SignedContourArea({{5, 5}}), 0);
}

TEST_F(NoLeakTest, HoleOperations)
{
    SegmentedPolygon p;
    GS::Array<API_Coord> ring = {{3, 1}, {4, 2}};
    p.PushHoleFromContour(ring);
    EXPECT_TRUE(ring.IsEmpty());
    ASSERT_EQ(p.holes.GetSize(), 1u);
    EXPECT_EQ(p.GetHoleVertexCount(0), 2u);
    EXPECT_EQ(p.GetHoleVertex(0, 1).x, 4);
    p.MirrorHoleVertexX(0, 0, {10, 0}, {2, 0});
    EXPECT_EQ(p.GetHoleVertex(0, 0).x, 5);
    EXPECT_EQ(p.GetHoleVertex(0, 0).y, 1);
    p.OffsetHoleVertex(0, 1, {1, 5});
    EXPECT_EQ(p.GetHoleVertex(0, 1).x, 3);
    EXPECT_EQ(p.GetHoleVertex(0, 1).y, -3);
}

TEST_F(NoLeakTest, EmptyRingsReadAndWriteNothing)
{
    SegmentedPolygon p;
    EXPECT_EQ(p.ArcResolution, 64);
    EXPECT_EQ(SegmentedPolygon::SignedContourArea(p.contour), 0);
    const API_Box box = p.ContourBoundingBox();
    EXPECT_EQ(box.xMin, 0);
    EXPECT_EQ(box.yMax, 0);
    p.TranslateSegmentedPolygon(1, 1);
    p.RotateSegmentedPolygon(1);
    p.ScaleSegmentedPolygon(2, 2);
    EXPECT_TRUE(p.contour.IsEmpty());
    EXPECT_THROW(p.GetContourVertex(0), GS::OutOfRangeException);
    EXPECT_THROW(p.GetHoleVertexCount(0), GS::OutOfRangeException);
    p.holes.Push({});
    EXPECT_THROW(p.GetHoleVertex(0, 0), GS::OutOfRangeException);
    EXPECT_THROW(p.OffsetHoleVertex(0, 0, {1, 1}), GS::OutOfRangeException);
}

// Malformed handles are clipped to what they hold; the sanitizer build
// turns any read beyond them into a failure.
struct MalformedCase {
    const char* name;
    void (*fill)(TestMemo&);
    std::vector<UInt32> ringSizes;
    std::string flags;
};

const std::vector<API_Coord> SquareCoords = {{0, 0}, {0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}};

const MalformedCase malformedCases[] = {
    {"NullHandles", [](TestMemo&) {}, {0}, ""},
    {"OnlyContourEndZero", [](TestMemo& m) { m.SetCoords(SquareCoords), m.SetEnds({0}); }, {0}, ""},
    {"PartialRecordsIgnored",
     [](TestMemo& m) {
         m.SetCoords(SquareCoords, 9);
         m.SetEnds({0, 5}, 3);
         m.SetArcs({{3, 4, Pi / 2}}, 15);
     },
     {19},
     "001" + Twos(15) + "0"},
    {"ContourEndBeyondCoordinates", [](TestMemo& m) { m.SetCoords(SquareCoords), m.SetEnds({0, 40}); }, {5}, "00000"},
    {"HoleRangesOutOfOrder", [](TestMemo& m) { m.SetCoords(SquareCoords), m.SetEnds({0, 5, -7, 3, 1 << 30}); }, {4, 2, 2}, "00000000"},
    {"ArcEndBeyondCoordinates",
     [](TestMemo& m) { m.SetPolygon({Square}), m.SetArcs({{1, 60, 1.0}, {2, -1, 1.0}}); },
     {4},
     "0000"},
    {"ArcAngleNotFinite", [](TestMemo& m) { m.SetPolygon({Square}), m.SetArcs({{1, 2, std::nan("")}, {2, 3, HUGE_VAL}}); }, {4}, "0000"},
    {"ArcTooManyParts", [](TestMemo& m) { m.SetPolygon({Square}), m.SetArcs({{1, 2, 1e6}}); }, {4}, "0000"},
    // A ring whose area is not a number is not reversed: its arc start stays first.
    {"RingAreaNotANumber",
     [](TestMemo& m) { m.SetPolygon({{{0, 0}, {0, 4}, {std::nan(""), 4}, {4, 0}}}, {{1, 2, -Pi / 2}}); },
     {19},
     "1" + Twos(15) + "000"},
};

class MalformedHandlesTest : public NoLeakTest, public ::testing::WithParamInterface<MalformedCase> {};

TEST_P(MalformedHandlesTest, AreClipped)
{
    TestMemo m;
    GetParam().fill(m);
    SegmentedPolygon p;
    GS::Array<double> status;
    p.BuildSegmentedPolygon(m.memo.coords, m.memo.pends, m.memo.parcs, status);
    ASSERT_EQ(p.holes.GetSize() + 1, GetParam().ringSizes.size());
    EXPECT_EQ(p.contour.GetSize(), GetParam().ringSizes[0]);
    for (UInt32 r = 0; r < p.holes.GetSize(); ++r)
        EXPECT_EQ(p.holes[r].GetSize(), GetParam().ringSizes[r + 1]);
    EXPECT_EQ(ToVector(status), Flags(GetParam().flags));
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedHandlesTest, ::testing::ValuesIn(malformedCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace SegmentedPolygonTests
