// One layer's object on a slab or a plane roof: position, angle, level,
// outline and placement parameters, and the elements that get nothing.
#include "addon/host/HostBinding.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/walls/HostReinforcement.hpp"
#include "tests/unit/schedule/ScheduleTestSupport.hpp"
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace HostReinforcementTests {

struct Placed {
    API_ObjectType object;
    std::vector<double> coords;
    double thickness = -1, angleY = -1, wall = -1;
};

// One plane of a roof of several, as the host hands it to the decomposer.
struct FakePlane {
    API_ElemPartId id;
    double slope;
    std::vector<API_Coord> outline;
};

struct ElementHost {
    API_Element element;
    std::vector<FakePlane> planes;
    std::vector<std::vector<Int32>> userData;  // per object, the part id written
    std::vector<API_Coord> outline;  // closed by the host
    GSErrCode memoResult = NoError;
    std::vector<Placed> placed;
    std::vector<std::string> log;
    ElementHost() { std::memset(static_cast<void*>(&element), 0, sizeof element); }
};

ElementHost* g_host = nullptr;

double ParamValue(API_AddParType** params, const char* name)
{
    double v = -1;
    GdlParams::ForEachNamed(params, name, [&](API_AddParType& r) { v = GdlParams::Number(r); });
    return v;
}

GSErrCode GetElement(HostToken, API_Element* e)
{
    if (g_host->element.header.typeID == API_ZombieElemID)
        return APIERR_BADID;
    std::memcpy(static_cast<void*>(e), &g_host->element, sizeof *e);
    return NoError;
}

GSErrCode GetMemo(HostToken, API_Guid, API_ElementMemo* memo, UInt64 mask)
{
    g_host->log.push_back("GetMemo " + std::to_string(mask));
    if (g_host->memoResult != NoError)
        return g_host->memoResult;
    const std::vector<API_Coord>& o = g_host->outline;
    const Int64 n = static_cast<Int64>(o.size());
    memo->coords = reinterpret_cast<API_Coord**>(BMhAllClear((n + 2) * static_cast<Int64>(sizeof(API_Coord))));
    for (Int64 i = 0; i < n; ++i)
        (*memo->coords)[i + 1] = o[static_cast<size_t>(i)];
    if (n > 0)
        (*memo->coords)[n + 1] = o[0];
    memo->pends = reinterpret_cast<Int32**>(BMhAllClear(2 * static_cast<Int64>(sizeof(Int32))));
    (*memo->pends)[1] = static_cast<Int32>(n + 1);
    return NoError;
}

GSErrCode DisposeMemo(API_ElementMemo* memo)
{
    KillParams(memo->params);
    GSHandle h = reinterpret_cast<GSHandle>(memo->coords);
    BMhKill(&h);
    h = reinterpret_cast<GSHandle>(memo->pends);
    BMhKill(&h);
    h = reinterpret_cast<GSHandle>(memo->parcs);
    BMhKill(&h);
    memo->coords = nullptr;
    memo->pends = nullptr;
    memo->parcs = nullptr;
    return NoError;
}

GSErrCode Connected(HostToken, API_Guid, API_ElemTypeID type, GS::Array<API_Guid>*)
{
    g_host->log.push_back("GetConnectedElements " + std::to_string(type));
    return NoError;
}

GSErrCode CreateElement(HostToken, API_Element* e, API_ElementMemo* memo)
{
    Placed p;
    p.object = e->object;
    GdlParams::ForEachNamed(memo->params, "et_coords", [&](API_AddParType& r) {
        for (Int32 i = 0; i < r.dim1 * r.dim2; ++i)
            p.coords.push_back(GdlParams::ArrayNumber(r, i / 3, i % 3));
    });
    p.thickness = ParamValue(memo->params, "et_thickness");
    p.angleY = ParamValue(memo->params, "ironAngleY");
    p.wall = ParamValue(memo->params, "wall_reinforcement");
    g_host->placed.push_back(p);
    g_host->log.push_back("CreateElement");
    e->header.guid.time_low = 99;
    return NoError;
}

// The memo of a closed ring (entry 0 unused), as the host lays one out.
void FillMemo(const std::vector<API_Coord>& o, API_ElementMemo* memo)
{
    const Int64 n = static_cast<Int64>(o.size());
    memo->coords = reinterpret_cast<API_Coord**>(BMhAllClear((n + 2) * static_cast<Int64>(sizeof(API_Coord))));
    for (Int64 i = 0; i < n; ++i)
        (*memo->coords)[i + 1] = o[static_cast<size_t>(i)];
    if (n > 0)
        (*memo->coords)[n + 1] = o[0];
    memo->pends = reinterpret_cast<Int32**>(BMhAllClear(2 * static_cast<Int64>(sizeof(Int32))));
    (*memo->pends)[1] = static_cast<Int32>(n + 1);
}

GSErrCode Decompose(HostToken, API_Guid roof, API_ElementDecomposerInterface* decomposer)
{
    g_host->log.push_back("DecomposeElement");
    for (const FakePlane& fp : g_host->planes) {
        API_Element plane;
        std::memset(static_cast<void*>(&plane), 0, sizeof plane);
        plane.header.typeID = API_RoofID;
        plane.header.floorInd = 2;
        plane.roof.level = 1.0;
        plane.roof.thickness = 0.2;
        plane.roof.angle = fp.slope;
        plane.roof.pivotBegin = fp.outline[0];
        plane.roof.pivotEnd = fp.outline[1];
        plane.roof.posSign = true;
        API_ElementMemo memo;
        std::memset(static_cast<void*>(&memo), 0, sizeof memo);
        FillMemo(fp.outline, &memo);
        EXPECT_EQ(decomposer->ConvertPlane(roof, fp.id, plane, memo), NoError);
        DisposeMemo(&memo);
    }
    return NoError;
}

GSErrCode SetUserData(HostToken, API_Elem_Head*, const API_ElementUserData* data)
{
    std::vector<Int32> id(3);
    std::memcpy(id.data(), *data->dataHdl, 12);
    EXPECT_EQ(data->dataVersion, 1);
    EXPECT_EQ(data->platformSign, 0x5757);
    g_host->userData.push_back(id);
    return NoError;
}

GSErrCode Succeed(HostToken, API_Guid, API_Guid, Int32) { return NoError; }
GSErrCode Observe(HostToken, API_Guid, UInt32)
{
    g_host->log.push_back("AttachElementObserver");
    return NoError;
}
GSErrCode Utility(HostToken, API_RequestCode, void*, void*, void*) { return NoError; }
Int32 Report(HostToken, const char* text, bool)
{
    g_host->log.push_back(std::string("Report ") + text);
    return 1;
}

class HostReinforcementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        before = GS::LiveMemoryHandleCount();
        g_host = &host;
        std::vector<void*> table(HostFunctionCount, nullptr);
        Set<HostSlot::GetElement>(table, &GetElement);
        Set<HostSlot::GetMemo>(table, &GetMemo);
        Set<HostSlot::DisposeMemo>(table, &DisposeMemo);
        Set<HostSlot::GetConnectedElements>(table, &Connected);
        Set<HostSlot::CreateElement>(table, &CreateElement);
        Set<HostSlot::LinkElements>(table, &Succeed);
        Set<HostSlot::AttachElementObserver>(table, &Observe);
        Set<HostSlot::Utility>(table, &Utility);
        Set<HostSlot::Report>(table, &Report);
        Set<HostSlot::DecomposeElement>(table, &Decompose);
        Set<HostSlot::SetUserData>(table, &SetUserData);
        HostBinding::ReceiveTable(table.data());
        std::memset(static_cast<void*>(&objectTemplate), 0, sizeof objectTemplate);
    }
    void TearDown() override
    {
        HostBinding::Reset();
        g_host = nullptr;
        EXPECT_EQ(GS::LiveMemoryHandleCount(), before) << "a memory handle leaked";
    }
    template <HostSlot S> static void Set(std::vector<void*>& table, HostSlotFn<S> fn)
    {
        table[static_cast<UInt32>(S)] = reinterpret_cast<void*>(fn);
    }
    PlacingResult Run(const API_Sector& sector = {{0, 0}, {0, 0}})
    {
        ParamsBuilder b;
        b.Numbers("et_coords", 1, 3, {0, 0, 0}).Number("et_thickness", -1).Number("et_thickness", -1).Number("ironAngleY", -1)
            .Number("wall_reinforcement", -1);
        API_AddParType** params = b.Build();
        const PlacingResult result = GenerateHostReinforcement(host.element.header.guid, objectTemplate, params, sector);
        // Both et_thickness records hold the value.
        std::vector<double> thickness;
        GdlParams::ForEachNamed(params, "et_thickness", [&](API_AddParType& r) { thickness.push_back(GdlParams::Number(r)); });
        if (!host.placed.empty()) {
            EXPECT_EQ(thickness, (std::vector<double>(2, host.placed.back().thickness)));
        }
        KillParams(params);
        return result;
    }

    ElementHost host;
    API_Element objectTemplate;
    Int64 before = 0;
};

TEST_F(HostReinforcementTest, SlabObjectAlongThePickedEdge)
{
    host.element.header.typeID = API_SlabID;
    host.element.slab = {0.2, 1.0, 0.5, {}, 0};
    host.outline = {{10, 20}, {14, 20}, {14, 23}, {10, 23}};
    struct Case {
        API_Sector edge;
        double angle;
        std::vector<double> coords;
    };
    const double q = std::acos(-1.0) / 2;
    const Case cases[] = {
        {{{14, 20}, {14, 23}}, q, {0, 0, 0, 0, 0, -4, 0, 3, -4, 0, 3, 0, -1, 0, 0}},
        // A zero sector (a layer of the complex object) gives angle 0.
        {{{0, 0}, {0, 0}}, 0.0, {0, 0, 0, 0, 4, 0, 0, 4, 3, 0, 0, 3, -1, 0, 0}},
    };
    for (const Case& c : cases) {
        host.placed.clear();
        host.log.clear();
        Run(c.edge);
        ASSERT_EQ(host.placed.size(), 1u);
        const Placed& p = host.placed[0];
        EXPECT_DOUBLE_EQ(p.object.angle, c.angle);
        EXPECT_DOUBLE_EQ(p.object.level, 1.5);
        EXPECT_DOUBLE_EQ(p.object.pos.x, 10);
        EXPECT_DOUBLE_EQ(p.object.pos.y, 20);
        ASSERT_EQ(p.coords.size(), c.coords.size());
        for (size_t i = 0; i < c.coords.size(); ++i)
            EXPECT_NEAR(p.coords[i], c.coords[i], 1e-12) << i;
        EXPECT_DOUBLE_EQ(p.thickness, 0.2);
        EXPECT_EQ(p.angleY, 0.0);
        EXPECT_EQ(p.wall, 0.0);
        EXPECT_EQ(host.log, (std::vector<std::string>{"GetMemo 1", "CreateElement", "AttachElementObserver"}));
    }
}

TEST_F(HostReinforcementTest, PlaneRoofBySideFlag)
{
    const double a = std::acos(-1.0) / 6;  // 30 degrees
    host.element.header.typeID = API_RoofID;
    host.element.roof.level = 3.0;
    host.element.roof.thickness = 0.25;
    host.element.roof.angle = a;
    host.element.roof.pivotBegin = {0, 0};
    host.element.roof.pivotEnd = {10, 0};
    host.outline = {{0, 2}, {10, 2}, {10, 6}, {0, 6}};
    for (bool rises : {true, false}) {
        host.placed.clear();
        host.element.roof.posSign = rises;
        Run();
        ASSERT_EQ(host.placed.size(), 1u);
        const Placed& p = host.placed[0];
        const double s = rises ? 1.0 : -1.0;
        EXPECT_DOUBLE_EQ(p.angleY, a * s);
        // The first vertex lies 2 to the left of the pivot line.
        EXPECT_NEAR(p.object.level, 3.0 + 2 * std::tan(a) * s + 0.25 / std::cos(a), 1e-12);
        EXPECT_DOUBLE_EQ(p.object.angle, 0.0);
        // Across the pivot line at true length along the slope; every row 0.
        ASSERT_EQ(p.coords.size(), 15u);
        EXPECT_NEAR(p.coords[3 * 2 + 2], 4 / std::cos(a), 1e-12);
        for (size_t r = 0; r < 4; ++r)
            EXPECT_EQ(p.coords[3 * r], 0.0);
        EXPECT_DOUBLE_EQ(p.thickness, 0.25);
    }
    EXPECT_EQ(host.log.front(), "GetMemo 1");
    EXPECT_EQ(host.log[1], "GetConnectedElements 44");
}

TEST_F(HostReinforcementTest, RoofOfSeveralPlanesGetsOneObjectPerPlaneWithItsPartId)
{
    const double a = std::acos(-1.0) / 6;
    host.element.header.typeID = API_RoofID;
    host.element.roof.roofClass = 1;
    host.planes = {
        {{0, 0, 1}, a, {{0, 0}, {10, 0}, {10, 4}, {0, 4}}},
        // An upright plane has no true length across its pivot line.
        {{0, 0, 2}, std::acos(-1.0) / 2, {{0, 4}, {10, 4}, {10, 8}, {0, 8}}},
        {{3, 0, 7}, a, {{10, 0}, {10, 4}, {12, 4}}},
    };
    Run();
    ASSERT_EQ(host.placed.size(), 2u);
    EXPECT_EQ(host.userData, (std::vector<std::vector<Int32>>{{0, 0, 1}, {3, 0, 7}}));
    const Placed& second = host.placed[1];
    EXPECT_DOUBLE_EQ(second.object.angle, std::acos(-1.0) / 2);
    EXPECT_DOUBLE_EQ(second.angleY, a);
    EXPECT_DOUBLE_EQ(second.thickness, 0.2);
    EXPECT_EQ(second.coords.size(), 12u);
    // The roof itself gets no object and its observer once, after the planes.
    EXPECT_EQ(host.log, (std::vector<std::string>{"GetConnectedElements 44", "DecomposeElement", "CreateElement",
                                                  "CreateElement", "AttachElementObserver"}));
}

TEST_F(HostReinforcementTest, ElementsThatGetNothing)
{
    // A failed read fails the element (its step is taken back); an outline
    // without an area or with a value that is no number is no outline.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        API_ElemTypeID type;
        double slope;
        std::vector<API_Coord> outline;
        GSErrCode memoResult;
        std::vector<std::string> log;
        PlacingResult result;
    };
    const std::vector<API_Coord> square = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const PlacingResult none = PlacingResult::NoOutline, failed = PlacingResult::Failed;
    const Case cases[] = {
        {"unreadable element", API_ZombieElemID, 0, square, NoError, {}, failed},
        {"another type", API_ColumnID, 0, square, NoError, {"Report error: bad ac elem type"}, PlacingResult::Done},
        {"unreadable slab outline", API_SlabID, 0, square, APIERR_MEMFULL, {"GetMemo 1"}, failed},
        {"slab without outline", API_SlabID, 0, {}, NoError, {"GetMemo 1"}, none},
        {"slab of NaN", API_SlabID, 0, {{0, 0}, {nan, 0}, {1, 1}}, NoError, {"GetMemo 1"}, none},
        {"slab of huge values", API_SlabID, 0, {{0, 0}, {1e308, 0}, {1e308, 1e308}, {-1e308, 1e308}}, NoError,
         {"GetMemo 1"}, none},
        {"collinear slab", API_SlabID, 0, {{0, 0}, {1, 0}, {2, 0}}, NoError, {"GetMemo 1"}, none},
        {"slab of two distinct points", API_SlabID, 0, {{0, 0}, {1, 0}, {0, 0}, {1, 0}}, NoError, {"GetMemo 1"}, none},
        {"upright roof", API_RoofID, std::acos(-1.0) / 2, square, NoError, {"GetMemo 1", "GetConnectedElements 44"}, none},
        {"unreadable roof outline", API_RoofID, 0, square, APIERR_MEMFULL, {"GetMemo 1"}, failed},
    };
    for (const Case& c : cases) {
        host = ElementHost();
        host.element.header.typeID = c.type;
        host.element.roof.angle = c.slope;
        host.element.roof.pivotEnd = {1, 0};
        host.outline = c.outline;
        host.memoResult = c.memoResult;
        if (c.type == API_SlabID)
            host.element.slab = {0.2, 0, 0, {}, 0};
        EXPECT_EQ(Run(), c.result) << c.name;
        EXPECT_EQ(host.log, c.log) << c.name;
    }
}

}  // namespace HostReinforcementTests
