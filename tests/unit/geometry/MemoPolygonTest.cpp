// Memo polygons to Polygon2DData and back, and openings cut out with the
// host's shapes from a fake host table.
#include "tests/unit/geometry/TestMemo.hpp"
#include "addon/geometry/MemoPolygon.hpp"
#include "addon/geometry/SegmentedPolygon.hpp"
#include "addon/host/HostBinding.hpp"
#include "addon/host/HostCalls.hpp"
#include <cmath>
#include <map>
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

class MemoConversionTest : public NoLeakTest {
protected:
    void TearDown() override
    {
        FreePolygon2DData(&pd);
        NoLeakTest::TearDown();
    }
    Polygon2DData pd{};
};

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

// The fake host: shapes by the first byte of an opening's GUID.
struct FakeHost {
    std::map<UInt32, CorePolygon2D> shapes;
    bool replacePointer = false;  // hand back a polygon of the host's own
    std::vector<UInt32> asked;
};
FakeHost* g_host = nullptr;

GSErrCode FakeUtility(HostToken, API_RequestCode code, void* par1, void* par2, void* par3)
{
    if (code != RequestCode("GSHP") || par1 == nullptr || par2 == nullptr || par3 != nullptr)
        return APIERR_BADPARS;
    const UInt32 id = static_cast<const API_Guid*>(par1)->time_low;
    g_host->asked.push_back(id);
    auto it = g_host->shapes.find(id);
    if (it == g_host->shapes.end())
        return APIERR_BADID;
    auto* shape = static_cast<CorePolygon2DPtr*>(par2);
    if (*shape == nullptr || !(*shape)->IsEmpty())
        return APIERR_BADPARS;
    if (g_host->replacePointer)
        *shape = std::make_shared<CorePolygon2D>(it->second);
    else
        **shape = it->second;
    return NoError;
}

API_Guid Opening(UInt32 id)
{
    API_Guid g = APINULLGuid;
    g.time_low = id;
    return g;
}

CorePolygon2D RectShape(double x0, double y0, double x1, double y1) { return Polygon({Rect(x0, y0, x1, y1)}); }

// The roof: a 10 x 10 square with a half circle over its top edge.
const std::vector<PolyArcRec> RoofArc = {{3, 4, Pi}};
const double RoofArea = 100 + Pi * 25 / 2;

class CutOpeningsTest : public MemoConversionTest {
protected:
    void SetUp() override
    {
        MemoConversionTest::SetUp();
        g_host = &host;
        std::vector<void*> table(HostFunctionCount, nullptr);
        table[static_cast<UInt32>(HostSlot::Utility)] = reinterpret_cast<void*>(static_cast<HostSlotFn<HostSlot::Utility>>(&FakeUtility));
        HostBinding::ReceiveTable(table.data());
        host.shapes[1] = RectShape(2, 2, 4, 4);       // inside
        host.shapes[2] = RectShape(20, 20, 30, 30);   // outside
        host.shapes[3] = RectShape(3, -1, 4, 20);     // splits, the right part larger
        host.shapes[4] = RectShape(-5, -5, 15, 25);   // covers everything
        host.shapes[5] = RectShape(8, -1, 11, 1);     // bites a corner
    }
    void TearDown() override
    {
        HostBinding::Reset();
        g_host = nullptr;
        MemoConversionTest::TearDown();
    }

    // The roof's polygon data, from `memo`.
    void LoadRoof(TestMemo& memo)
    {
        memo.SetPolygon({RoofSquare}, RoofArc);
        ASSERT_EQ(MemoToPolygonData(memo.memo, pd), NoError);
    }

    // The roof cut by the openings of these ids.
    void RunCut(const std::vector<UInt32>& ids, bool replacePointer)
    {
        host.replacePointer = replacePointer;
        TestMemo m;
        LoadRoof(m);
        GS::Array<API_Guid> openings;
        for (UInt32 id : ids)
            openings.Push(Opening(id));
        CutOpeningsFromPolygon(pd, openings);
    }

    // The cut polygon as the library sees it.
    CorePolygon2D Result() const
    {
        CustomMultiPolygon2D m;
        ConvertPolygon2DDataToPolygon2D(m, pd);
        return m.IsEmpty() ? CorePolygon2D() : m[0];
    }

    FakeHost host;
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
    {"UnknownShapeSkipped", {9, 1}, RoofArea - 4, 2, 1},
    {"InListOrder", {4, 1, 5}, RoofArea - 4 - 2, 2, 1},
};

class CutTest : public CutOpeningsTest, public ::testing::WithParamInterface<CutCase> {};

TEST_P(CutTest, KeepsTheLargestPiece)
{
    const CutCase& c = GetParam();
    for (bool replacePointer : {false, true}) {
        FreePolygon2DData(&pd);
        host.asked.clear();
        RunCut(c.openings, replacePointer);
        EXPECT_EQ(host.asked, c.openings);
        const CorePolygon2D result = Result();
        EXPECT_NEAR(result.CalcArea(), c.area, 0.05) << replacePointer;
        EXPECT_EQ(result.GetContourCount(), c.contours);
        EXPECT_EQ(ArcCount(result), c.arcs);
        EXPECT_EQ(pd.nArcs, static_cast<Int32>(c.arcs));
        EXPECT_TRUE(pd.status & Polygon2DData_BoundBoxValid);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CutTest, ::testing::ValuesIn(cutCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A library failure leaves pd as it was: same handles, same content.
struct FailureCase {
    const char* name;
    void (*breakIt)(Polygon2DData&);
    Int64 failAllocation;
};

const FailureCase failureCases[] = {
    {"ContourEndBeyondVertices", [](Polygon2DData& pd) { reinterpret_cast<Int32*>(*pd.contourEnds)[1] = 99; }, 0},
    {"ArcNotAnEdge", [](Polygon2DData& pd) { reinterpret_cast<PolyArcRec*>(*pd.arcs)[1].endIndex = 1; }, 0},
    {"NoMemoryForTheVertices", [](Polygon2DData&) {}, 1},
    {"NoMemoryForTheContourEnds", [](Polygon2DData&) {}, 2},
    {"NoMemoryForTheArcs", [](Polygon2DData&) {}, 3},
};

class CutFailureTest : public CutOpeningsTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CutFailureTest, LeavesThePolygonUnchanged)
{
    TestMemo m;
    LoadRoof(m);
    GetParam().breakIt(pd);
    const Polygon2DData before = pd;
    const std::vector<Int32> ends = DataEntries<Int32>(pd.contourEnds, pd.nContours + 1);
    const std::vector<PolyArcRec> arcs = DataEntries<PolyArcRec>(pd.arcs, pd.nArcs + 1);
    GS::FailNthAllocation(GetParam().failAllocation);
    CutOpeningsFromPolygon(pd, {Opening(1)});
    GS::FailNthAllocation(0);
    EXPECT_EQ(std::memcmp(&pd, &before, sizeof pd), 0);
    EXPECT_EQ(DataEntries<Int32>(pd.contourEnds, pd.nContours + 1), ends);
    EXPECT_EQ(DataEntries<PolyArcRec>(pd.arcs, pd.nArcs + 1), arcs);
}

INSTANTIATE_TEST_SUITE_P(Cases, CutFailureTest, ::testing::ValuesIn(failureCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CutOpeningsTest, WithoutTheHostCallEveryOpeningIsSkipped)
{
    HostBinding::Reset();
    RunCut({1, 3}, false);
    EXPECT_TRUE(host.asked.empty());
    EXPECT_NEAR(Result().CalcArea(), RoofArea, 1e-9);
}

// The roof code's order: memo, cut, the same memo, segmented polygon.
TEST_F(CutOpeningsTest, CutRoofBuildsIntoASegmentedPolygonWithAHole)
{
    TestMemo m;
    LoadRoof(m);
    CutOpeningsFromPolygon(pd, {Opening(1), Opening(5)});
    API_Polygon counts;
    ASSERT_EQ(PolygonDataToMemo(pd, counts, m.memo), NoError);
    EXPECT_EQ(counts.nSubPolys, 2);
    EXPECT_EQ(counts.nArcs, 1);

    SegmentedPolygon p;
    GS::Array<double> status;
    p.BuildSegmentedPolygon(m.memo.coords, m.memo.pends, m.memo.parcs, status);
    ASSERT_EQ(p.holes.GetSize(), 1u);
    EXPECT_EQ(p.GetHoleVertexCount(0), 4u);
    // Six vertices of the bitten square and the arch's 31 inserted points.
    EXPECT_EQ(p.contour.GetSize(), 6u + 31u);
    EXPECT_EQ(status.GetSize(), p.contour.GetSize() + 4);
    EXPECT_NEAR(SegmentedPolygon::SignedContourArea(p.contour), RoofArea - 2, 0.1);
}

}  // namespace
