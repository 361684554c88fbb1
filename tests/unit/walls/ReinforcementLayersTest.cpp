// The position check of a layer and the placing of accepted layers: order,
// and every parameter handle disposed once, placed or cancelled.
#include "addon/host/HostBinding.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/walls/ReinforcementLayers.hpp"
#include "tests/unit/schedule/ScheduleTestSupport.hpp"
#include "tests/unit/services/FailingNew.hpp"
#include <cmath>
#include <gtest/gtest.h>
#include <new>
#include <string>
#include <vector>

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace ReinforcementLayersTests {

TEST(LayerPositionTest, PositionTypeAndPartTable)
{
    EXPECT_EQ(PositionTypeOf(API_SlabID), 1);
    EXPECT_EQ(PositionTypeOf(API_WallID), 2);
    EXPECT_EQ(PositionTypeOf(API_RoofID), 0);
    const LayerPartIndices indices = {5, 6, 9};
    EXPECT_EQ(LayerPartOf(5, indices), LayerPart::Rebar);
    EXPECT_EQ(LayerPartOf(6, indices), LayerPart::Mesh);
    EXPECT_EQ(LayerPartOf(9, indices), LayerPart::Complex);
    EXPECT_EQ(LayerPartOf(7, indices), LayerPart::Other);

    struct Case {
        Int32 positionType;
        LayerPart part;
        double iPosition;
        bool accepted;
        double after;  // iPosition afterwards
    };
    const double nan = std::nan("");
    const Case cases[] = {
        {1, LayerPart::Mesh, 1, true, 1},      {1, LayerPart::Rebar, 2, false, 2},   {1, LayerPart::Mesh, 1.49, true, 1.49},
        {2, LayerPart::Rebar, 1, false, 1},    {2, LayerPart::Rebar, 3, true, 3},    {2, LayerPart::Rebar, 2.4, true, 2.4},
        {2, LayerPart::Mesh, 3.5, false, 3.5}, {2, LayerPart::Mesh, 1.5, true, 1.5}, {0, LayerPart::Mesh, 0.4, true, 0.4},
        {0, LayerPart::Mesh, 0.5, false, 0.5}, {0, LayerPart::Mesh, -0.4, true, -0.4}, {0, LayerPart::Rebar, 2, true, 4},
        {0, LayerPart::Complex, 7, true, 4},   {0, LayerPart::Mesh, nan, false, nan}, {2, LayerPart::Rebar, nan, false, nan},
    };
    for (const Case& c : cases) {
        ParamsBuilder b;
        b.Number("iPosition", c.iPosition).Number("iPosition", 1);
        API_AddParType** params = b.Build();
        EXPECT_EQ(AcceptLayerPosition(c.positionType, c.part, params), c.accepted)
            << c.positionType << " " << static_cast<int>(c.part) << " " << c.iPosition;
        const double after = GdlParams::Number(*GdlParams::Record(params, 0));
        if (std::isnan(c.after)) {
            EXPECT_TRUE(std::isnan(after));
        } else {
            EXPECT_EQ(after, c.after);
        }
        // Only the first record counts and changes.
        EXPECT_EQ(GdlParams::Number(*GdlParams::Record(params, 1)), 1.0);
        KillParams(params);
    }
    // A layer without iPosition is accepted everywhere.
    ParamsBuilder b;
    b.Number("et_thickness", 1);
    API_AddParType** params = b.Build();
    for (Int32 type : {0, 1, 2})
        EXPECT_TRUE(AcceptLayerPosition(type, LayerPart::Mesh, params));
    KillParams(params);
}

std::vector<std::string>* g_log = nullptr;
UInt32 g_unreadable = 0;  // the element the host cannot read, 0 for none

// Every element is of a type that gets nothing (a column: told at once, no
// object), but the unreadable one.
GSErrCode GetElement(HostToken, API_Element* e)
{
    g_log->push_back("element " + std::to_string(e->header.guid.time_low));
    if (e->header.guid.time_low == g_unreadable)
        return APIERR_BADID;
    e->header.typeID = API_ColumnID;
    return NoError;
}

GSErrCode Dispose(API_AddParType*** params)
{
    g_log->push_back("dispose " + std::to_string(static_cast<int>(GdlParams::Number(**params[0]))));
    KillParams(*params);
    return NoError;
}

class LayersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        before = GS::LiveMemoryHandleCount();
        g_log = &log;
        std::vector<void*> table(HostFunctionCount, nullptr);
        table[static_cast<UInt32>(HostSlot::GetElement)] = reinterpret_cast<void*>(&GetElement);
        table[static_cast<UInt32>(HostSlot::DisposeParamHandle)] = reinterpret_cast<void*>(&Dispose);
        HostBinding::ReceiveTable(table.data());
        std::memset(static_cast<void*>(&objectTemplate), 0, sizeof objectTemplate);
    }
    void TearDown() override
    {
        HostBinding::Reset();
        g_log = nullptr;
        EXPECT_EQ(GS::LiveMemoryHandleCount(), before) << "a memory handle leaked";
    }
    // A layer whose handle holds its number.
    void AddLayer(ReinforcementLayers& layers, int number, UInt32 sectorCount)
    {
        ParamsBuilder b;
        b.Number("layer", number);
        GS::Array<API_Sector> sectors;
        for (UInt32 i = 0; i < sectorCount; ++i)
            sectors.Push(API_Sector{});
        ParamHandleOwner params;
        *params.Out() = b.Build();
        layers.Add(objectTemplate, params, sectors);
    }

    std::vector<std::string> log;
    API_Element objectTemplate;
    Int64 before = 0;
};

TEST_F(LayersTest, PlacedLayerByLayerEachHandleDisposedAfterItsLastElement)
{
    GS::Array<API_Guid> walls;
    for (UInt32 n : {1u, 2u, 3u}) {
        API_Guid g = APINULLGuid;
        g.time_low = n;
        walls.Push(g);
    }
    {
        ReinforcementLayers layers;
        AddLayer(layers, 1, 3);
        AddLayer(layers, 2, 2);  // a sector short: the third wall gets a zero one
        EXPECT_EQ(layers.Place(walls), NoError);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"element 1", "element 2", "element 3", "dispose 1", "element 1", "element 2",
                                             "element 3", "dispose 2"}));

    // An element that cannot be read ends the placing with an error (the
    // host takes the step back); the handles left are disposed all the same.
    log.clear();
    g_unreadable = 2;
    {
        ReinforcementLayers layers;
        AddLayer(layers, 1, 3);
        AddLayer(layers, 2, 3);
        EXPECT_NE(layers.Place(walls), NoError);
    }
    g_unreadable = 0;
    EXPECT_EQ(log, (std::vector<std::string>{"element 1", "element 2", "dispose 1", "dispose 2"}));
}

TEST_F(LayersTest, CancelledLayersAreDisposed)
{
    {
        ReinforcementLayers layers;
        AddLayer(layers, 1, 1);
        AddLayer(layers, 2, 1);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"dispose 1", "dispose 2"}));
}

// Memory running out while a layer is taken, at each allocation in turn: the
// handle stays with its owner, which disposes of it, and the layers held
// before are untouched.
TEST_F(LayersTest, LayerNotTakenWhenMemoryRunsOutStaysWithItsOwner)
{
    GS::Array<API_Guid> walls;
    API_Guid wall = APINULLGuid;
    wall.time_low = 1;
    walls.Push(wall);
    for (int succeeding = 0;; ++succeeding) {
        log.clear();
        bool taken = false;
        {
            ReinforcementLayers layers;
            AddLayer(layers, 1, 1);
            ParamsBuilder b;
            b.Number("layer", 2);
            GS::Array<API_Sector> sectors;
            sectors.Push(API_Sector{});
            ParamHandleOwner params;
            *params.Out() = b.Build();
            try {
                FailingNew failing(succeeding);
                layers.Add(objectTemplate, params, sectors);
                taken = true;
            } catch (const std::bad_alloc&) {
            }
            EXPECT_EQ(params.Get() == nullptr, taken) << succeeding;
            if (taken) {
                EXPECT_EQ(layers.Place(walls), NoError);
            }
        }
        if (taken) {
            EXPECT_EQ(log, (std::vector<std::string>{"element 1", "dispose 1", "element 1", "dispose 2"}));
            break;
        }
        EXPECT_EQ(log, (std::vector<std::string>{"dispose 2", "dispose 1"})) << succeeding;
    }
}

}  // namespace ReinforcementLayersTests
