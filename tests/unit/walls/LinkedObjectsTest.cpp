// The linked reinforcement object: its `et_coords` rows, the plane's part
// id, the order of the host calls and the caller's parameter handle.
#include "addon/host/HostBinding.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/walls/LinkedObjects.hpp"
#include "tests/unit/schedule/ScheduleTestSupport.hpp"
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace LinkedObjectsTests {

struct CreatedObject {
    Int16 story = 0;
    std::vector<std::vector<double>> coords;  // rows of every et_coords record
    std::vector<Int32> userData;              // the 12 bytes as three values
    Int16 userDataVersion = 0;
    UInt16 userDataSign = 0;
};

struct LinkHost {
    std::vector<std::string> log;
    API_ElemTypeID hostType = API_SlabID;
    GSErrCode getResult = NoError;
    GSErrCode createResult = NoError;
    GSErrCode linkResult = NoError;
    GSErrCode userDataResult = NoError;
    GSErrCode recalcResult = NoError;
    std::vector<CreatedObject> created;
    UInt32 nextGuid = 100;
};

LinkHost* g_host = nullptr;

std::vector<double> CoordRecordValues(const API_AddParType& rec)
{
    std::vector<double> v;
    for (Int32 r = 0; r < rec.dim1; ++r)
        for (Int32 c = 0; c < rec.dim2; ++c)
            v.push_back(GdlParams::ArrayNumber(rec, r, c));
    return v;
}

GSErrCode GetElement(HostToken, API_Element* element)
{
    g_host->log.push_back("GetElement");
    if (g_host->getResult == NoError)
        element->header.typeID = g_host->hostType;
    return g_host->getResult;
}

GSErrCode CreateElement(HostToken, API_Element* element, API_ElementMemo* memo)
{
    g_host->log.push_back("CreateElement");
    if (g_host->createResult != NoError)
        return g_host->createResult;
    CreatedObject o;
    o.story = element->header.floorInd;
    GdlParams::ForEachNamed(memo->params, "et_coords", [&](API_AddParType& rec) { o.coords.push_back(CoordRecordValues(rec)); });
    g_host->created.push_back(o);
    element->header.guid = APINULLGuid;
    element->header.guid.time_low = g_host->nextGuid++;
    return NoError;
}

GSErrCode LinkElements(HostToken, API_Guid source, API_Guid target, Int32 flags)
{
    g_host->log.push_back("LinkElements " + std::to_string(source.time_low) + " " + std::to_string(target.time_low) + " " +
                          std::to_string(flags));
    return g_host->linkResult;
}

GSErrCode SetUserData(HostToken, API_Elem_Head* head, const API_ElementUserData* data)
{
    g_host->log.push_back("SetUserData " + std::to_string(head->guid.time_low));
    CreatedObject& o = g_host->created.back();
    o.userDataVersion = data->dataVersion;
    o.userDataSign = data->platformSign;
    EXPECT_EQ(BMhGetSize(data->dataHdl), 12);
    Int32 v[3];
    std::memcpy(v, *data->dataHdl, sizeof v);
    o.userData.assign(v, v + 3);
    return g_host->userDataResult;
}

GSErrCode Utility(HostToken, API_RequestCode code, void* par1, void* par2, void*)
{
    if (code != RequestCode("RPAS") || par1 == nullptr || *static_cast<UInt32*>(par2) != APIRecalcParams)
        return APIERR_BADPARS;
    g_host->log.push_back("RPAS " + std::to_string(static_cast<API_Element*>(par1)->header.guid.time_low));
    return g_host->recalcResult;
}

GSErrCode DisposeMemo(API_ElementMemo* memo)
{
    KillParams(memo->params);
    return NoError;
}

class LinkedObjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        before = GS::LiveMemoryHandleCount();
        g_host = &host;
        std::vector<void*> table(HostFunctionCount, nullptr);
        Set<HostSlot::GetElement>(table, &GetElement);
        Set<HostSlot::CreateElement>(table, &CreateElement);
        Set<HostSlot::LinkElements>(table, &LinkElements);
        Set<HostSlot::SetUserData>(table, &SetUserData);
        Set<HostSlot::Utility>(table, &Utility);
        Set<HostSlot::DisposeMemo>(table, &DisposeMemo);
        HostBinding::ReceiveTable(table.data());
        std::memset(static_cast<void*>(&objectTemplate), 0, sizeof objectTemplate);
        objectTemplate.object.libInd = 3;
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

    // Creates one object on host element 7 with a fresh handle of the
    // parameters and returns the handle's et_coords afterwards.
    std::vector<double> Create(const SegmentedPolygon& polygon, const GS::Array<double>& status,
                               PlanePartIdValues partId = {0, 0, 0})
    {
        ParamsBuilder b;
        b.Numbers("et_coords", 1, 3, {9, 9, 9}).Number("iPosition", 1);
        API_AddParType** params = b.Build();
        API_Guid hostGuid = APINULLGuid;
        hostGuid.time_low = 7;
        CreateLinkedObject(hostGuid, 2, objectTemplate, params, polygon, partId, status);
        std::vector<double> kept;
        GdlParams::ForEachNamed(params, "et_coords", [&](API_AddParType& rec) { kept = CoordRecordValues(rec); });
        KillParams(params);
        return kept;
    }

    LinkHost host;
    API_Element objectTemplate;
    Int64 before = 0;
};

SegmentedPolygon Square()
{
    SegmentedPolygon p;
    p.contour.Push({0, 0});
    p.contour.Push({4, 0});
    p.contour.Push({4, 3});
    p.contour.Push({0, 3});
    return p;
}

GS::Array<double> List(std::initializer_list<double> values)
{
    GS::Array<double> a;
    for (double v : values)
        a.Push(v);
    return a;
}

std::vector<double> Flat(const GS::Array<double>& a)
{
    std::vector<double> v;
    for (UInt32 i = 0; i < a.GetSize(); ++i)
        v.push_back(a[i]);
    return v;
}

TEST(PolygonCoordRowsTest, RowsOfContourHolesAndStatus)
{
    SegmentedPolygon square = Square();
    SegmentedPolygon withHole = Square();
    withHole.holes.Push(GS::Array<API_Coord>());
    withHole.holes[0].Push({1, 1});
    withHole.holes[0].Push({2, 1});
    withHole.holes[0].Push({1, 2});
    SegmentedPolygon emptyContour;
    emptyContour.holes.Push(withHole.holes[0]);
    const GS::Array<double> status = List({0, 1, 2, 0, 1, 2, 0});

    struct Case {
        const char* name;
        const SegmentedPolygon& polygon;
        const GS::Array<double>* status;
        std::vector<double> rows;
    };
    const Case cases[] = {
        {"four vertices", square, nullptr, {0, 0, 0, 0, 4, 0, 0, 4, 3, 0, 0, 3, -1, 0, 0}},
        {"hole of three", withHole, nullptr,
         {0, 0, 0, 0, 4, 0, 0, 4, 3, 0, 0, 3, -1, 0, 0, 0, 1, 1, 0, 2, 1, 0, 1, 2, -1, 1, 1}},
        {"status through the hole", withHole, &status,
         {0, 0, 0, 1, 4, 0, 2, 4, 3, 0, 0, 3, -1, 0, 0, 1, 1, 1, 2, 2, 1, 0, 1, 2, -1, 1, 1}},
        // An empty ring writes no rows and reserves none.
        {"empty contour", emptyContour, &status, {0, 1, 1, 1, 2, 1, 2, 1, 2, -1, 1, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Flat(PolygonCoordRows(c.polygon, c.status)), c.rows) << c.name;

    // A status list shorter than the vertices gives 0 to the rest.
    EXPECT_EQ(Flat(PolygonCoordRows(square, &status)).size(), 15u);
    const GS::Array<double> shortStatus = List({2});
    EXPECT_EQ(Flat(PolygonCoordRows(square, &shortStatus)), (std::vector<double>{2, 0, 0, 0, 4, 0, 0, 4, 3, 0, 0, 3, -1, 0, 0}));
}

TEST_F(LinkedObjectTest, SlabCarriesTheStatusOtherHostsZeros)
{
    SegmentedPolygon five = Square();
    five.contour.Push({-1, 1});
    const GS::Array<double> status = List({0, 1, 2, 2, 0});
    const std::vector<double> slabRows = {0, 0, 0, 1, 4, 0, 2, 4, 3, 2, 0, 3, 0, -1, 1, -1, 0, 0};
    const std::vector<double> roofRows = {0, 0, 0, 0, 4, 0, 0, 4, 3, 0, 0, 3, 0, -1, 1, -1, 0, 0};

    host.hostType = API_SlabID;
    const std::vector<double> keptBySlab = Create(five, status);
    host.hostType = API_RoofID;
    Create(five, status);
    host.hostType = API_WallID;
    Create(five, status);

    ASSERT_EQ(host.created.size(), 3u);
    EXPECT_EQ(host.created[0].coords, std::vector<std::vector<double>>{slabRows});
    EXPECT_EQ(host.created[1].coords, std::vector<std::vector<double>>{roofRows});
    EXPECT_EQ(host.created[2].coords, std::vector<std::vector<double>>{roofRows});
    // The caller's handle is still the caller's and holds the last rows.
    EXPECT_EQ(keptBySlab, slabRows);
}

TEST_F(LinkedObjectTest, EveryCoordsRecordIsWritten)
{
    ParamsBuilder b;
    b.Numbers("et_coords", 1, 3, {9, 9, 9}).Number("ET_COORDS", 5).Numbers("et_coords", 2, 3, {1, 2, 3, 4, 5, 6});
    API_AddParType** params = b.Build();
    host.hostType = API_RoofID;
    CreateLinkedObject(APINULLGuid, 0, objectTemplate, params, Square(), {0, 0, 0}, GS::Array<double>());
    const std::vector<double> rows = {0, 0, 0, 0, 4, 0, 0, 4, 3, 0, 0, 3, -1, 0, 0};
    ASSERT_EQ(host.created.size(), 1u);
    EXPECT_EQ(host.created[0].coords, (std::vector<std::vector<double>>{rows, rows}));
    // A name that differs in case is another parameter.
    EXPECT_EQ(GdlParams::Number(*GdlParams::Record(params, 1)), 5.0);
    KillParams(params);
}

TEST_F(LinkedObjectTest, CallsInOrderWithThePlanePartId)
{
    struct Case {
        PlanePartIdValues id;
        std::vector<std::string> log;
        std::vector<Int32> userData;
    };
    const Case cases[] = {
        {{0, 0, 0}, {"GetElement", "CreateElement", "LinkElements 7 100 0", "RPAS 100"}, {}},
        {{0, 0, 7}, {"GetElement", "CreateElement", "LinkElements 7 100 0", "SetUserData 100", "RPAS 100"}, {0, 0, 7}},
        {{-3, 5, 0}, {"GetElement", "CreateElement", "LinkElements 7 100 0", "SetUserData 100", "RPAS 100"}, {-3, 5, 0}},
    };
    for (const Case& c : cases) {
        host = LinkHost();
        Create(Square(), GS::Array<double>(), c.id);
        EXPECT_EQ(host.log, c.log);
        ASSERT_EQ(host.created.size(), 1u);
        EXPECT_EQ(host.created[0].userData, c.userData);
        EXPECT_EQ(host.created[0].story, 2);
        if (!c.userData.empty()) {
            EXPECT_EQ(host.created[0].userDataVersion, 1);
            EXPECT_EQ(host.created[0].userDataSign, 0x5757);
        }
    }
}

TEST_F(LinkedObjectTest, FirstFailingCallEndsTheObjectWithItsError)
{
    // Each step's failure is the answer, and nothing after it is asked: an
    // unreadable host element creates nothing (the handle still holds the
    // previous object's outline), an object not created is neither linked
    // nor marked nor computed.
    struct Case {
        const char* what;
        GSErrCode LinkHost::*result;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"host element unread", &LinkHost::getResult, {"GetElement"}},
        {"not created", &LinkHost::createResult, {"GetElement", "CreateElement"}},
        {"not linked", &LinkHost::linkResult, {"GetElement", "CreateElement", "LinkElements 7 100 0"}},
        {"not marked", &LinkHost::userDataResult,
         {"GetElement", "CreateElement", "LinkElements 7 100 0", "SetUserData 100"}},
        {"not computed", &LinkHost::recalcResult,
         {"GetElement", "CreateElement", "LinkElements 7 100 0", "SetUserData 100", "RPAS 100"}},
    };
    for (const Case& c : cases) {
        host = LinkHost();
        host.*c.result = APIERR_BADID;
        ParamsBuilder b;
        b.Numbers("et_coords", 1, 3, {9, 9, 9});
        API_AddParType** params = b.Build();
        API_Guid hostGuid = APINULLGuid;
        hostGuid.time_low = 7;
        EXPECT_EQ(CreateLinkedObject(hostGuid, 2, objectTemplate, params, Square(), {0, 0, 7}, GS::Array<double>()),
                  APIERR_BADID)
            << c.what;
        EXPECT_EQ(host.log, c.log) << c.what;
        KillParams(params);
    }
}

}  // namespace LinkedObjectsTests
