// Memo polygons to Polygon2DData and back, and shapes cut out of them.
#include "tests/unit/geometry/RoofCut.hpp"
#include <cmath>
#include <limits>
#include <random>

namespace {

using namespace Geometry;
using namespace GeometryTestSupport;

const Ring RoofSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};

template <typename T> std::vector<T> DataEntries(GSHandle h, Int32 count)
{
    if (h == nullptr)
        return {};
    const T* p = reinterpret_cast<const T*>(*h);
    return std::vector<T>(p, p + count);
}

// ------------------------------------------------------------ conversions

using MemoConversionTest = PolygonDataTest;

TEST_F(MemoConversionTest, LayoutOfPolygonData)
{
    TestMemo m;
    m.SetPolygon({RoofSquare, {{2, 2}, {4, 2}, {4, 4}}}, {{6, 7, 0.5}, {3, 4, Pi}});
    std::vector<API_Coord> coords = m.Coords();
    coords[0] = {7, 7};  // entry 0 is carried along as it is
    m.SetCoords(coords);
    ASSERT_EQ(MemoToPolygonData(m.memo, pd), NoError);
    EXPECT_EQ(pd.nVertices, 9);
    EXPECT_EQ(pd.nContours, 2);
    EXPECT_EQ(pd.nArcs, 2);
    EXPECT_EQ(DataEntries<API_Coord>(pd.vertices, 10), coords);
    EXPECT_EQ(DataEntries<Int32>(pd.contourEnds, 3), m.Ends());
    const std::vector<PolyArcRec> arcs = DataEntries<PolyArcRec>(pd.arcs, 3);
    EXPECT_EQ(arcs[1], (PolyArcRec{6, 7, 0.5}));
    EXPECT_EQ(arcs[2], (PolyArcRec{3, 4, Pi}));
    EXPECT_TRUE(pd.status & Polygon2DData_BoundBoxValid);
    EXPECT_EQ(pd.boundBox.xMax, 10);
    EXPECT_NEAR(pd.boundBox.yMax, 15, 1e-12);  // the half-circle arc over the top edge
}

struct RoundTripCase {
    const char* name;
    std::vector<Ring> rings;
    std::vector<PolyArcRec> arcs;
    bool withArcHandle;
    Int32 pdArcs;
    bool memoArcHandle;
};

const RoundTripCase roundTripCases[] = {
    {"ArcsInAnyOrder", {RoofSquare, {{2, 2}, {4, 2}, {4, 4}}}, {{8, 9, -0.3}, {3, 4, Pi}, {1, 2, 0.2}}, true, 3, true},
    {"NoArcHandle", {RoofSquare}, {}, false, 0, false},
    {"EmptyArcHandle", {RoofSquare}, {}, true, 0, false},
};

class MemoRoundTripTest : public MemoConversionTest, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(MemoRoundTripTest, GivesTheSameHandles)
{
    const RoundTripCase& c = GetParam();
    TestMemo m;
    m.SetPolygon(c.rings, c.arcs, c.withArcHandle);
    ASSERT_EQ(MemoToPolygonData(m.memo, pd), NoError);
    EXPECT_EQ(pd.nArcs, c.pdArcs);
    EXPECT_EQ(pd.arcs != nullptr, c.pdArcs > 0);

    TestMemo back;
    API_Polygon counts = {-1, -1, -1};
    ASSERT_EQ(PolygonDataToMemo(pd, counts, back.memo), NoError);
    EXPECT_EQ(back.Coords(), m.Coords());
    EXPECT_EQ(back.Ends(), m.Ends());
    EXPECT_EQ(back.Arcs(), c.arcs);
    EXPECT_EQ(back.memo.parcs != nullptr, c.memoArcHandle);
    EXPECT_EQ(counts.nCoords, static_cast<Int32>(m.Coords().size()) - 1);
    EXPECT_EQ(counts.nSubPolys, static_cast<Int32>(c.rings.size()));
    EXPECT_EQ(counts.nArcs, c.pdArcs);
}

INSTANTIATE_TEST_SUITE_P(Cases, MemoRoundTripTest, ::testing::ValuesIn(roundTripCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MemoConversionTest, RandomPolygonsSurviveTheRoundTrip)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> coord(-100, 100), angle(-3, 3);
    for (int round = 0; round < 100; ++round) {
        std::vector<Ring> rings(1 + rng() % 4);
        for (Ring& r : rings)
            for (USize i = 0, n = 3 + rng() % 6; i < n; ++i)
                r.push_back({coord(rng), coord(rng)});
        TestMemo m;
        m.SetPolygon(rings);
        const Int32 nCoords = static_cast<Int32>(m.Coords().size()) - 1;
        std::vector<PolyArcRec> arcs;
        for (USize i = 0, n = rng() % 6; i < n; ++i) {
            const Int32 begin = 1 + static_cast<Int32>(rng() % static_cast<UInt32>(nCoords - 1));
            arcs.push_back({begin, begin + 1, angle(rng)});
        }
        if (!arcs.empty())
            m.SetArcs(arcs);

        ASSERT_EQ(MemoToPolygonData(m.memo, pd), NoError);
        TestMemo back;
        API_Polygon counts;
        ASSERT_EQ(PolygonDataToMemo(pd, counts, back.memo), NoError);
        FreePolygon2DData(&pd);
        ASSERT_EQ(back.Coords(), m.Coords()) << "round " << round;
        ASSERT_EQ(back.Ends(), m.Ends()) << "round " << round;
        ASSERT_EQ(back.Arcs(), arcs) << "round " << round;
        ASSERT_EQ(counts.nArcs, static_cast<Int32>(arcs.size()));
    }
}

// The memo's former handles are freed, and old arcs never stay behind.
TEST_F(MemoConversionTest, WritingIntoAFilledMemoFreesItsHandles)
{
    TestMemo source, target;
    source.SetPolygon({{{0, 0}, {3, 0}, {0, 3}}});
    target.SetPolygon({RoofSquare, {{2, 2}, {4, 2}, {4, 4}}}, {{2, 3, 1.0}, {6, 7, 0.5}});
    ASSERT_EQ(MemoToPolygonData(source.memo, pd), NoError);
    const Int64 live = GS::LiveMemoryHandleCount();
    API_Polygon counts;
    ASSERT_EQ(PolygonDataToMemo(pd, counts, target.memo), NoError);
    EXPECT_EQ(GS::LiveMemoryHandleCount(), live - 1);  // three freed, two new
    EXPECT_EQ(target.memo.parcs, nullptr);
    EXPECT_EQ(target.Coords(), source.Coords());
    EXPECT_EQ(counts.nArcs, 0);
}

TEST_F(MemoConversionTest, MalformedHandlesAreCopiedWithinTheirSize)
{
    TestMemo m;
    m.SetCoords({{0, 0}, {1, 1}, {2, 1}, {1, 1}}, 9);
    m.SetEnds({0, 3, 40}, 2);  // an end beyond the coordinates is copied as it is
    m.SetArcs({{1, 2, 0.5}}, 12);
    ASSERT_EQ(MemoToPolygonData(m.memo, pd), NoError);
    EXPECT_EQ(pd.nVertices, 3);
    EXPECT_EQ(pd.nContours, 2);
    EXPECT_EQ(pd.nArcs, 1);
    EXPECT_EQ(DataEntries<Int32>(pd.contourEnds, 3), (std::vector<Int32>{0, 3, 40}));

    TestMemo empty;
    FreePolygon2DData(&pd);
    ASSERT_EQ(MemoToPolygonData(empty.memo, pd), NoError);
    EXPECT_EQ(pd.nVertices, 0);
    EXPECT_EQ(pd.nContours, 0);
    EXPECT_EQ(pd.arcs, nullptr);
}

TEST_F(MemoConversionTest, FailedAllocationReleasesPolygonData)
{
    TestMemo m;
    m.SetPolygon({RoofSquare}, {{1, 2, 0.5}});
    for (Int64 n = 1; n <= 3; ++n) {
        GS::FailNthAllocation(n);
        EXPECT_EQ(MemoToPolygonData(m.memo, pd), APIERR_MEMFULL) << n;
        GS::FailNthAllocation(0);
        EXPECT_EQ(pd.vertices, nullptr);
        EXPECT_EQ(pd.arcs, nullptr);
        EXPECT_EQ(pd.contourEnds, nullptr);
    }
}

TEST_F(MemoConversionTest, FailedAllocationLeavesTheMemoWhole)
{
    TestMemo source, target;
    source.SetPolygon({RoofSquare}, {{1, 2, 0.5}});
    target.SetPolygon({{{0, 0}, {3, 0}, {0, 3}}}, {{3, 4, 1.0}});
    ASSERT_EQ(MemoToPolygonData(source.memo, pd), NoError);
    const API_ElementMemo before = target.memo;
    for (Int64 n = 1; n <= 3; ++n) {
        API_Polygon counts = {1, 2, 3};
        GS::FailNthAllocation(n);
        EXPECT_EQ(PolygonDataToMemo(pd, counts, target.memo), APIERR_MEMFULL) << n;
        GS::FailNthAllocation(0);
        EXPECT_EQ(target.memo.coords, before.coords);
        EXPECT_EQ(target.memo.pends, before.pends);
        EXPECT_EQ(target.memo.parcs, before.parcs);
        EXPECT_EQ(target.Arcs(), (std::vector<PolyArcRec>{{3, 4, 1.0}}));
        EXPECT_EQ(counts.nCoords, 1);
    }
}

// ------------------------------------------------------------ openings

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

PolyContour Contour(std::initializer_list<PolyVertex> vertices)
{
    PolyContour ring;
    for (const PolyVertex& v : vertices)
        ring.Push(v);
    return ring;
}

class CutShapesTest : public RoofCutTest {
protected:
    void SetUp() override
    {
        RoofCutTest::SetUp();
        // Shapes the geometry library refuses, each over a part of the roof
        // that no other opening touches.
        shapes[11] = Polygon({Contour({{{6, 6}, 0}, {{7, 6}, 0}, {{NaN, 7}, 0}, {{6, 7}, 0}})});
        shapes[12] = Polygon({Contour({{{6, 6}, 0}, {{Inf, 6}, 0}, {{7, 7}, 0}, {{6, 7}, 0}})});
        shapes[13] = Polygon({Contour({{{6, 6}, 2 * Pi}, {{7, 6}, 0}, {{7, 7}, 0}, {{6, 7}, 0}})});
        shapes[14] = Polygon({Contour({{{6, 6}, 0}, {{7, 6}, -3 * Pi}, {{7, 7}, 0}, {{6, 7}, 0}})});
        shapes[15] = Polygon({Contour({{{6, 6}, 0}, {{7, 6}, 0}, {{7, 7}, Inf}, {{6, 7}, 0}})});
        shapes[16] = Polygon({RectShape(6, 6, 7, 7).GetContour(0), Contour({{{6.2, 6.2}, 0}, {{-Inf, 6.8}, 0}, {{6.8, 6.8}, 0}})});
    }

    // pd cut by the openings of these ids; the source records what it is
    // asked for and has no shape for an id the table lacks.
    void Cut(const std::vector<UInt32>& ids)
    {
        CutShapesFromPolygon(pd, Openings(ids), [this](const API_Guid& opening) -> CorePolygon2DPtr {
            asked.push_back(opening.time_low);
            auto it = shapes.find(opening.time_low);
            return it != shapes.end() ? std::make_shared<CorePolygon2D>(it->second) : nullptr;
        });
    }

    std::vector<UInt32> asked;
};

struct CutCase {
    const char* name;
    std::vector<UInt32> openings;
    double area;
    UInt32 contours;
    UInt32 arcs;
};

const CutCase cutCases[] = {
    {"NoOpenings", {}, RoofArea, 1, 1},
    {"InsideBecomesHole", {1}, RoofArea - 4, 2, 1},
    {"OutsideLeavesItAsItWas", {2}, RoofArea, 1, 1},
    // x from 4 to 10: 6 x 10 and the arch over it, cut and so no longer an arc.
    {"SplitKeepsTheLargerPart", {3}, 60 + Pi * 25 / 4 + std::sqrt(24.0) / 2 + 12.5 * std::asin(0.2), 1, 0},
    {"CoveringEverythingLeavesItAsItWas", {4}, RoofArea, 1, 1},
    {"NoShapeSkipped", {9, 1}, RoofArea - 4, 2, 1},
    {"InListOrder", {4, 1, 5}, RoofArea - 4 - 2, 2, 1},
    // A shape the library refuses is skipped; the openings around it are cut.
    {"VertexNotANumber", {11, 1, 5}, RoofArea - 4 - 2, 2, 1},
    {"VertexInfinite", {1, 12, 5}, RoofArea - 4 - 2, 2, 1},
    {"ArcOfAFullTurn", {1, 5, 13}, RoofArea - 4 - 2, 2, 1},
    {"ArcOfMoreThanAFullTurn", {14, 1, 5}, RoofArea - 4 - 2, 2, 1},
    {"ArcAngleInfinite", {1, 15, 5}, RoofArea - 4 - 2, 2, 1},
    {"HoleVertexInfinite", {1, 5, 16}, RoofArea - 4 - 2, 2, 1},
    {"OnlyRefusedShapes", {11, 13}, RoofArea, 1, 1},
};

class CutTest : public CutShapesTest, public ::testing::WithParamInterface<CutCase> {};

TEST_P(CutTest, KeepsTheLargestPiece)
{
    const CutCase& c = GetParam();
    TestMemo m;
    LoadRoof(m);
    Cut(c.openings);
    EXPECT_EQ(asked, c.openings);
    const CorePolygon2D result = Result();
    EXPECT_NEAR(result.CalcArea(), c.area, 0.05);
    EXPECT_EQ(result.GetContourCount(), c.contours);
    EXPECT_EQ(ArcCount(result), c.arcs);
    EXPECT_EQ(pd.nArcs, static_cast<Int32>(c.arcs));
    EXPECT_TRUE(pd.status & Polygon2DData_BoundBoxValid);
    EXPECT_TRUE(std::isfinite(pd.boundBox.xMin) && std::isfinite(pd.boundBox.yMax));
}

INSTANTIATE_TEST_SUITE_P(Cases, CutTest, ::testing::ValuesIn(cutCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Far from the origin the larger piece still wins: a 10 x 10 square split
// by a strip into pieces of 30 and 60.
struct FarCase {
    const char* name;
    double offset;
    double stripX;    // the strip runs from stripX to stripX + 1
    double keptXMin;  // of the piece kept, relative to the square
    double keptXMax;
};

const FarCase farCases[] = {
    {"AtTheOriginLeft", 0, 3, 4, 10},
    {"AtTheOriginRight", 0, 6, 0, 6},
    {"AtOneBillionLeft", 1e9, 3, 4, 10},
    {"AtOneBillionRight", 1e9, 6, 0, 6},
    {"AtMinusOneBillionLeft", -1e9, 3, 4, 10},
    {"AtMinusOneBillionRight", -1e9, 6, 0, 6},
};

class FarFromOriginTest : public CutShapesTest, public ::testing::WithParamInterface<FarCase> {};

TEST_P(FarFromOriginTest, KeepsTheLargerPiece)
{
    const FarCase& c = GetParam();
    const double o = c.offset;
    ConvertPolygon2DToPolygon2DData(pd, RectShape(o, o, o + 10, o + 10));
    shapes[1] = RectShape(o + c.stripX, o - 1, o + c.stripX + 1, o + 11);
    Cut({1});
    const CorePolygon2D result = Result();
    EXPECT_NEAR(result.CalcArea(), 60, 1e-4);
    EXPECT_NEAR(pd.boundBox.xMin, o + c.keptXMin, 1e-5);
    EXPECT_NEAR(pd.boundBox.xMax, o + c.keptXMax, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Cases, FarFromOriginTest, ::testing::ValuesIn(farCases),
                         [](const auto& info) { return std::string(info.param.name); });

// An outline the library cannot work on, or malformed data, fails the whole
// cut before any shape is asked for, and leaves pd as it was.
struct OutlineCase {
    const char* name;
    void (*breakIt)(Polygon2DData&);
};

const OutlineCase outlineCases[] = {
    {"VertexNotANumber", [](Polygon2DData& pd) { reinterpret_cast<API_Coord*>(*pd.vertices)[2].x = NaN; }},
    {"VertexInfinite", [](Polygon2DData& pd) { reinterpret_cast<API_Coord*>(*pd.vertices)[3].y = -Inf; }},
    {"ArcOfAFullTurn", [](Polygon2DData& pd) { reinterpret_cast<PolyArcRec*>(*pd.arcs)[1].arcAngle = 2 * Pi; }},
    {"ContourEndBeyondVertices", [](Polygon2DData& pd) { reinterpret_cast<Int32*>(*pd.contourEnds)[1] = 99; }},
};

class CutOutlineTest : public CutShapesTest, public ::testing::WithParamInterface<OutlineCase> {};

TEST_P(CutOutlineTest, ThrowsAndLeavesThePolygonData)
{
    TestMemo m;
    LoadRoof(m);
    GetParam().breakIt(pd);
    const Polygon2DData before = pd;
    EXPECT_THROW(Cut({1, 5}), GeometryException);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(std::memcmp(&pd, &before, sizeof pd), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, CutOutlineTest, ::testing::ValuesIn(outlineCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
