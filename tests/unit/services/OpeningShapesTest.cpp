// Openings cut out of a roof with the shapes a fake host table gives.
#include "tests/unit/geometry/RoofCut.hpp"
#include "addon/geometry/SegmentedPolygon.hpp"
#include "addon/host/HostBinding.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/services/OpeningShapes.hpp"
#include <cmath>
#include <limits>

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace OpeningShapesTests {

using namespace Geometry;
using namespace GeometryTestSupport;

// The fake host: shapes by the first field of an opening's GUID.
struct FakeHost {
    const std::map<UInt32, CorePolygon2D>* shapes = nullptr;
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
    auto it = g_host->shapes->find(id);
    if (it == g_host->shapes->end())
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

class OpeningShapesTest : public RoofCutTest {
protected:
    void SetUp() override
    {
        RoofCutTest::SetUp();
        // A shape whose corner the host could not compute.
        PolyContour broken = Rect(6, 6, 7, 7);
        broken[2].pos.x = std::numeric_limits<double>::quiet_NaN();
        shapes[6] = Polygon({broken});
        host.shapes = &shapes;
        g_host = &host;
        std::vector<void*> table(HostFunctionCount, nullptr);
        table[static_cast<UInt32>(HostSlot::Utility)] = reinterpret_cast<void*>(static_cast<HostSlotFn<HostSlot::Utility>>(&FakeUtility));
        HostBinding::ReceiveTable(table.data());
    }
    void TearDown() override
    {
        HostBinding::Reset();
        g_host = nullptr;
        RoofCutTest::TearDown();
    }

    FakeHost host;
};

struct HostCutCase {
    const char* name;
    std::vector<UInt32> openings;
    double area;
    UInt32 contours;
};

const HostCutCase hostCutCases[] = {
    {"NoOpenings", {}, RoofArea, 1},
    {"InsideAndCorner", {1, 5}, RoofArea - 4 - 2, 2},
    {"UnknownShapeSkipped", {9, 1}, RoofArea - 4, 2},
    {"InListOrder", {4, 1, 5}, RoofArea - 4 - 2, 2},
    // The shape with a corner that is not a number is skipped, the others cut.
    {"BrokenShapeSkipped", {1, 6, 5}, RoofArea - 4 - 2, 2},
};

class HostCutTest : public OpeningShapesTest, public ::testing::WithParamInterface<HostCutCase> {};

TEST_P(HostCutTest, AsksTheHostInListOrder)
{
    const HostCutCase& c = GetParam();
    for (bool replacePointer : {false, true}) {
        FreePolygon2DData(&pd);
        host.asked.clear();
        host.replacePointer = replacePointer;
        TestMemo m;
        LoadRoof(m);
        CutOpeningsFromPolygon(pd, Openings(c.openings));
        EXPECT_EQ(host.asked, c.openings);
        const CorePolygon2D result = Result();
        EXPECT_NEAR(result.CalcArea(), c.area, 0.05) << replacePointer;
        EXPECT_EQ(result.GetContourCount(), c.contours);
        EXPECT_EQ(ArcCount(result), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, HostCutTest, ::testing::ValuesIn(hostCutCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A library failure leaves pd as it was: same handles, same content, and
// nothing escapes.
struct FailureCase {
    const char* name;
    void (*breakIt)(Polygon2DData&);
    Int64 failAllocation;
};

const FailureCase failureCases[] = {
    {"ContourEndBeyondVertices", [](Polygon2DData& pd) { reinterpret_cast<Int32*>(*pd.contourEnds)[1] = 99; }, 0},
    {"ArcNotAnEdge", [](Polygon2DData& pd) { reinterpret_cast<PolyArcRec*>(*pd.arcs)[1].endIndex = 1; }, 0},
    {"OutlineVertexNotANumber",
     [](Polygon2DData& pd) { reinterpret_cast<API_Coord*>(*pd.vertices)[3].y = std::numeric_limits<double>::quiet_NaN(); }, 0},
    {"NoMemoryForTheVertices", [](Polygon2DData&) {}, 1},
    {"NoMemoryForTheContourEnds", [](Polygon2DData&) {}, 2},
    {"NoMemoryForTheArcs", [](Polygon2DData&) {}, 3},
};

class CutFailureTest : public OpeningShapesTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CutFailureTest, LeavesThePolygonUnchanged)
{
    TestMemo m;
    LoadRoof(m);
    GetParam().breakIt(pd);
    const Polygon2DData before = pd;
    const std::vector<Int32> ends(reinterpret_cast<Int32*>(*pd.contourEnds), reinterpret_cast<Int32*>(*pd.contourEnds) + pd.nContours + 1);
    const std::vector<PolyArcRec> arcs(reinterpret_cast<PolyArcRec*>(*pd.arcs), reinterpret_cast<PolyArcRec*>(*pd.arcs) + pd.nArcs + 1);
    GS::FailNthAllocation(GetParam().failAllocation);
    CutOpeningsFromPolygon(pd, Openings({1}));
    GS::FailNthAllocation(0);
    EXPECT_EQ(std::memcmp(&pd, &before, sizeof pd), 0);
    EXPECT_EQ(std::vector<Int32>(reinterpret_cast<Int32*>(*pd.contourEnds), reinterpret_cast<Int32*>(*pd.contourEnds) + pd.nContours + 1), ends);
    EXPECT_EQ(std::vector<PolyArcRec>(reinterpret_cast<PolyArcRec*>(*pd.arcs), reinterpret_cast<PolyArcRec*>(*pd.arcs) + pd.nArcs + 1), arcs);
}

INSTANTIATE_TEST_SUITE_P(Cases, CutFailureTest, ::testing::ValuesIn(failureCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OpeningShapesTest, WithoutTheHostCallEveryOpeningIsSkipped)
{
    HostBinding::Reset();
    TestMemo m;
    LoadRoof(m);
    CutOpeningsFromPolygon(pd, Openings({1, 3}));
    EXPECT_TRUE(host.asked.empty());
    EXPECT_NEAR(Result().CalcArea(), RoofArea, 1e-9);
}

// The roof code's order: memo, cut, the same memo, segmented polygon.
TEST_F(OpeningShapesTest, CutRoofBuildsIntoASegmentedPolygonWithAHole)
{
    TestMemo m;
    LoadRoof(m);
    CutOpeningsFromPolygon(pd, Openings({1, 5}));
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

}  // namespace OpeningShapesTests
