// Building a complex element against the stand-in host: the bars' new IDs,
// the complex object, its detail drawing with linked copies and its list.
// Object creation, the object tool's defaults and user data are answered by
// a small layer over the host's table that records what the add-on asked
// for.
#include "addon/complex/BuildComplex.hpp"
#include "addon/complex/ComplexSteps.hpp"
#include "addon/complex/DetailDrawing.hpp"
#include "addon/host/HostBinding.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/services/AddOnGlobals.hpp"
#include "addon/services/ResStrings.hpp"
#include "addon/services/GdlParams.hpp"
#include "tests/e2e/schedule/InHostFixture.hpp"
#include <algorithm>
#include <cstring>
#include <vector>
#include "tests/support/GdlParams.hpp"

namespace {

using TestParams::Numbers;

struct Created {
    API_Guid guid;
    Int32 libInd;
    API_Coord pos;
    double angle;
    Int32 layer;
    API_Guid group;
    Int32 database;
    std::string infoString;
    std::string ironId;
    std::vector<std::string> subBarIds;
    Int32 listRows = -1;
    double listType = 0;
};

struct UserDataSet {
    API_Guid element;
    Int16 version;
    UInt16 sign;
    std::vector<unsigned char> bytes;
};

struct Recording {
    SimHost::Host* host = nullptr;
    std::vector<Created> created;
    std::vector<UserDataSet> userData;
    GSErrCode createResult = NoError;
};

Recording*& Current()
{
    static Recording* r = nullptr;
    return r;
}

std::string Utf8(const GS::UniString& s) { return s.ToUtf8(); }

// A text of the add-on's resources in UTF-8, as the host's language has it.
std::string ResText(RSStringId id)
{
    char buffer[256] = {};
    HostGetResourceString(buffer, id.listId, id.index, OwnResourceModule());
    return GS::UniString(buffer, CC_Default).ToUtf8();
}

std::u16string ResText16(RSStringId id)
{
    char buffer[256] = {};
    HostGetResourceString(buffer, id.listId, id.index, OwnResourceModule());
    return GS::UniString(buffer, CC_Default).Units();
}

GSErrCode ToolDefaults(HostToken, API_Element*, API_ElementMemo* memo)
{
    std::memset(static_cast<void*>(memo), 0, sizeof *memo);
    return NoError;
}

GSErrCode Create(HostToken, API_Element* element, API_ElementMemo* memo)
{
    Recording& r = *Current();
    if (r.createResult != NoError)
        return r.createResult;
    SimHost::Element& e = r.host->model.Add(API_ObjectID, element->header.layer);
    e.database = r.host->model.currentDatabase;
    const SimHost::DetailDrawing* detail = r.host->model.databases.Find(e.database);
    e.groupGuid = element->header.groupGuid;
    e.Object().libInd = element->object.libInd;
    e.Object().pos = element->object.pos;
    element->header.guid = e.guid;
    Created c{e.guid, element->object.libInd, element->object.pos, element->object.angle, element->header.layer,
              element->header.groupGuid, detail != nullptr ? detail->number : 0, "", "", {}};
    if (memo->elemInfoString != nullptr)
        c.infoString = Utf8(*memo->elemInfoString);
    GdlParams::ForEachNamed(memo->params, "strIronID", [&](API_AddParType& p) { c.ironId = Utf8(GdlParams::Text(p)); });
    GdlParams::ForEachNamed(memo->params, "ironID", [&](API_AddParType& p) {
        for (Int32 i = 0; i < p.dim1; ++i)
            c.subBarIds.push_back(Utf8(GdlParams::ArrayText(p, i, 0)));
    });
    GdlParams::ForEachNamed(memo->params, "ironStringData", [&](API_AddParType& p) { c.listRows = p.dim1; });
    GdlParams::ForEachNamed(memo->params, "ironListType", [&](API_AddParType& p) { c.listType = GdlParams::Number(p); });
    r.created.push_back(c);
    return NoError;
}

GSErrCode SetUserData(HostToken, API_Elem_Head* head, const API_ElementUserData* data)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(*data->dataHdl);
    Current()->userData.push_back({head->guid, data->dataVersion, data->platformSign,
                                   std::vector<unsigned char>(bytes, bytes + BMhGetSize(data->dataHdl))});
    return NoError;
}

class BuildComplexInHostTest : public InHostTest {
protected:
    void SetUp() override
    {
        InHostTest::SetUp();
        recording.host = host.get();
        Current() = &recording;
        table.assign(host->Table(), host->Table() + HostFunctionCount);
        table[static_cast<UInt32>(HostSlot::GetToolDefaults)] = reinterpret_cast<void*>(&ToolDefaults);
        table[static_cast<UInt32>(HostSlot::CreateElement)] = reinterpret_cast<void*>(&Create);
        table[static_cast<UInt32>(HostSlot::SetUserData)] = reinterpret_cast<void*>(&SetUserData);
        HostBinding::ReceiveTable(table.data());
        CurrentComplexSteps().clickPoint = [this](const char*, PlacementOutline outline, API_Coord3D& point) {
            outlines.push_back(outline);
            if (!listClick)
                return APIERR_CANCEL;
            point = {20, 30, 0};
            return NoError;
        };
    }
    void Release() override
    {
        CurrentComplexSteps() = DefaultComplexSteps();
        Current() = nullptr;
    }

    API_Guid Bar(double x, double y, const std::vector<SimHost::GdlParam>& extra = {})
    {
        SimHost::GdlParams params = {Number("iPosition", 1), Number("bOnlyOneBar", 1), Number("A", 1), Number("B", 0.1)};
        params.insert(params.end(), extra.begin(), extra.end());
        SimHost::Element& e = Place("rf_rebar", params);
        e.Object().pos = {x, y};
        return e.guid;
    }
    // A stirrup of four legs, unlike the straight bars.
    static SimHost::GdlParams StirrupForm()
    {
        return {Numbers("ironType", 1, 4, {0, 1, 4, 0}), Numbers("ironData", 1, 4, {0.3, 0.4, 0.3, 0.4})};
    }
    API_Guid Stirrup(double x, double y, const char* id = "", double position = 2)
    {
        SimHost::GdlParams params = {Number("iPosition", position), Number("bOnlyOneBar", 0), Text("strIronID", id)};
        for (const SimHost::GdlParam& p : StirrupForm())
            params.push_back(p);
        SimHost::Element& e = Place("rf_stirrup", params);
        e.Object().pos = {x, y};
        return e.guid;
    }
    std::string IdOf(const API_Guid& guid) const
    {
        const SimHost::GdlParam* p = SimHost::FindParam(host->model.Find(guid)->Object().params, "strIronID");
        return p != nullptr ? std::string(p->text.begin(), p->text.end()) : "";
    }
    std::vector<const Created*> CreatedIn(Int32 database) const
    {
        std::vector<const Created*> v;
        for (const Created& c : recording.created)
            if (c.database == database)
                v.push_back(&c);
        return v;
    }

    std::vector<void*> table;
    Recording recording;
    std::vector<PlacementOutline> outlines;
    bool listClick = true;
};

TEST_F(BuildComplexInHostTest, BeamB1WithItsListAndDetailDrawing)
{
    std::vector<API_Guid> bars = {Bar(3.5, 2.5), Bar(4.0, 2.0), Bar(4.5, 2.5), Bar(5.0, 3.0)};
    const API_Guid stirrup = Stirrup(6.0, 2.2);
    bars.push_back(stirrup);
    host->model.Select(bars);
    host->model.layers[3] = SimHost::Layer{"L3", false, false};

    ASSERT_TRUE(BuildComplexElement(ObjectCreator(BeamKind), "B1", 3, true, {10, 5, 0}));

    // The bars form one group and the stirrup another, numbered 1 and 2 in
    // the order the sort by properties leaves them.
    const std::string barId = IdOf(bars[0]);
    const std::string stirrupId = IdOf(stirrup);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(IdOf(bars[i]), barId);
    EXPECT_EQ(std::min(barId, stirrupId), "B1 - 1");
    EXPECT_EQ(std::max(barId, stirrupId), "B1 - 2");
    std::vector<std::string> subBarIds(4, barId);
    subBarIds.insert(stirrupId < barId ? subBarIds.begin() : subBarIds.end(), stirrupId);
    const std::string addOn = ResText(ResStr::AddOnName::Name);
    const std::string step = addOn + " " + ResText(ResStr::Messages::Beam);
    std::vector<std::string> undoSteps;
    for (const auto& s : host->undo.steps)
        undoSteps.push_back(s.name);
    // The whole element is one step: its parts are undone together.
    EXPECT_EQ(undoSteps, (std::vector<std::string>{step}));

    const std::vector<const Created*> plan = CreatedIn(0);
    ASSERT_EQ(plan.size(), 2u) << "the beam and its list";
    const Created& beam = *plan[0];
    EXPECT_EQ(beam.libInd, host->libraries.IndexOfPart("rf_beam"));
    EXPECT_EQ(beam.pos.x, 10);
    EXPECT_EQ(beam.pos.y, 5);
    EXPECT_EQ(beam.angle, 0);
    EXPECT_EQ(beam.layer, 3);
    EXPECT_EQ(beam.infoString, "B1");
    EXPECT_EQ(beam.ironId, "B1");
    EXPECT_EQ(beam.subBarIds, subBarIds);
    const Created& list = *plan[1];
    EXPECT_EQ(list.libInd, host->libraries.IndexOfPart("rf_list"));
    EXPECT_EQ(list.listRows, 2);
    EXPECT_EQ(list.listType, 12);
    EXPECT_EQ(list.layer, 3);
    EXPECT_EQ(list.pos.x, 20);
    EXPECT_EQ(outlines, std::vector<PlacementOutline>{PlacementOutline::List});

    // The detail drawing: its name and reference, the copies shifted by the
    // bars' plan origin (3.5, 2.0), the window back on the floor plan.
    ASSERT_EQ(host->model.databases.details.size(), 1u);
    const SimHost::DetailDrawing& detail = host->model.databases.details[0];
    EXPECT_EQ(detail.name, u"B1 " + ResText16(ResStr::Messages::Beam));
    EXPECT_EQ(detail.ref, u"B1");
    EXPECT_EQ(host->model.currentDatabase, APINULLGuid);
    const std::vector<const Created*> copies = CreatedIn(detail.number);
    ASSERT_EQ(copies.size(), 5u);
    std::vector<double> xs, ys;
    for (const Created* c : copies) {
        xs.push_back(c->pos.x);
        ys.push_back(c->pos.y);
    }
    std::sort(xs.begin(), xs.end());
    std::sort(ys.begin(), ys.end());
    EXPECT_EQ(xs, (std::vector<double>{0, 0.5, 1.0, 1.5, 2.5}));
    const std::vector<double> expectedYs = {0, 0.2, 0.5, 0.5, 1.0};
    for (size_t i = 0; i < ys.size(); ++i)
        EXPECT_NEAR(ys[i], expectedYs[i], 1e-9);

    // Each copy and then its bar carry the same 48 bytes naming both and
    // the drawing.
    ASSERT_EQ(recording.userData.size(), 10u);
    for (size_t i = 0; i < 5; ++i) {
        const UserDataSet& onCopy = recording.userData[2 * i];
        const UserDataSet& onBar = recording.userData[2 * i + 1];
        ASSERT_EQ(onCopy.bytes.size(), 48u);
        EXPECT_EQ(onCopy.version, 256);
        EXPECT_EQ(onCopy.sign, 0x5757);
        EXPECT_EQ(onCopy.bytes, onBar.bytes);
        BarLinkRecord link;
        std::memcpy(&link, onCopy.bytes.data(), sizeof link);
        EXPECT_EQ(std::memcmp(&link.copyGuid, &onCopy.element, sizeof(API_Guid)), 0);
        EXPECT_EQ(std::memcmp(&link.barGuid, &onBar.element, sizeof(API_Guid)), 0);
        EXPECT_EQ(std::memcmp(&link.detailDatabaseId, &detail.id, sizeof(API_Guid)), 0);
    }
}

TEST_F(BuildComplexInHostTest, ConcreteInAColumnIsASubBarButNoListRow)
{
    std::vector<API_Guid> sel;
    for (int i = 0; i < 4; ++i)
        sel.push_back(Place("rf_rebar", {Number("iPosition", 2), Number("bOnlyOneBar", 1)}).guid);
    sel.push_back(Stirrup(0, 0, "", 1));
    sel.push_back(Place("rf_concrete", {Number("bOnlyOneBar", 0), Numbers("ironData", 1, 1, {0.25})}).guid);
    host->model.Select(sel);
    ASSERT_TRUE(BuildComplexElement(ObjectCreator(ColumnKind), "C1", 1, true, {0, 0, 0}));
    const std::vector<const Created*> plan = CreatedIn(0);
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0]->subBarIds.size(), 6u);
    EXPECT_EQ(plan[1]->listRows, 2);
    EXPECT_EQ(plan[1]->listType, 13);
}

TEST_F(BuildComplexInHostTest, CancelledListClickKeepsTheElementAndLockedLayerIsLockedAgain)
{
    host->model.Select({Stirrup(1, 1)});
    listClick = false;
    ASSERT_TRUE(BuildComplexElement(ObjectCreator(BeamKind), "K", 1, true, {0, 0, 0}));
    EXPECT_EQ(CreatedIn(0).size(), 1u) << "no list";
    EXPECT_EQ(host->model.databases.details.size(), 1u);

    // A list on a locked layer: unlocked for its creation, locked again.
    Layer(4, false, true);
    listClick = true;
    host->model.Select({Stirrup(1, 1)});
    recording.created.clear();
    ASSERT_TRUE(BuildComplexElement(ObjectCreator(BeamKind), "K2", 4, true, {0, 0, 0}));
    EXPECT_EQ(CreatedIn(0).size(), 2u);
    EXPECT_TRUE(host->model.layers[4].locked);
}

TEST_F(BuildComplexInHostTest, PercentSignsStayAndGroupedBarsCopyOutsideTheirGroup)
{
    const API_Guid grouped = Stirrup(1, 1);
    host->model.Find(grouped)->groupGuid = host->model.NewGuid();
    host->model.Select({grouped});
    ASSERT_TRUE(BuildComplexElement(ObjectCreator(CrowningKind), "50%", 1, false, {0, 0, 0}));
    ASSERT_EQ(host->model.databases.details.size(), 1u);
    EXPECT_EQ(host->model.databases.details[0].name, u"50% " + ResText16(ResStr::Messages::Crowning));
    EXPECT_EQ(host->model.databases.details[0].ref, u"50%");
    const std::vector<const Created*> copies = CreatedIn(1);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(std::memcmp(&copies[0]->group, &APINULLGuid, sizeof(API_Guid)), 0);
    EXPECT_EQ(CreatedIn(0).size(), 1u) << "a crowning never gets a list";
}

// A refused creation or a detail drawing that cannot be made takes the
// whole element back, bars' IDs included, with one message.
TEST_F(BuildComplexInHostTest, RefusedCreationOrAMissingDetailDrawingTakeTheElementBack)
{
    for (int refuseCreation = 1; refuseCreation >= 0; --refuseCreation) {
        SCOPED_TRACE(refuseCreation != 0 ? "creation refused" : "no detail drawing");
        host->recorder.alerts.clear();
        host->model.Select({Stirrup(1, 1)});
        if (refuseCreation != 0)
            recording.createResult = APIERR_REFUSEDCMD;
        else
            host->faultPlan.FailRequest("NDAT", APIERR_GENERAL);
        const size_t steps = host->undo.steps.size();
        EXPECT_FALSE(BuildComplexElement(ObjectCreator(BeamKind), "K", 1, true, {0, 0, 0}));
        EXPECT_EQ(host->recorder.alerts, std::vector<std::string>{ResText(ResStr::Messages::CommandNotCompleted)});
        EXPECT_EQ(host->undo.steps.size(), steps) << "no step is kept";
        EXPECT_EQ(host->model.currentDatabase, APINULLGuid);
        EXPECT_TRUE(host->model.databases.details.empty()) << "the step takes back the drawing it made";
        EXPECT_TRUE(recording.userData.empty());
        recording.createResult = NoError;
    }
}

}  // namespace

namespace {

// Each host call that can fail fails in turn: the build ends cleanly every
// time, frees what it took, leaves the list's locked layer locked and, when
// no step is kept, no detail drawing behind.
TEST_F(BuildComplexInHostTest, EveryFailingHostCallEndsCleanly)
{
    Layer(4, false, true);
    for (Int64 n = 1; n < 500; ++n) {
        std::vector<API_Guid> sel = {Bar(1, 1), Bar(1.5, 1), Bar(2, 1), Bar(2.5, 1), Stirrup(3, 1)};
        host->model.Select(sel);
        const Int64 handles = GS::LiveMemoryHandleCount();
        const size_t details = host->model.databases.details.size();
        const size_t steps = host->undo.steps.size();
        host->faultPlan.FailNthCall(n);
        BuildComplexElement(ObjectCreator(BeamKind), "F" + std::to_string(n), 4, true, {0, 0, 0});
        const bool failed = host->faultPlan.NthCallFailed();
        if (host->undo.steps.size() == steps) {
            EXPECT_EQ(host->model.databases.details.size(), details) << "call " << n << ": no drawing left behind";
        }
        host->faultPlan.FailNthCall(0);
        EXPECT_EQ(GS::LiveMemoryHandleCount(), handles) << "call " << n;
        EXPECT_TRUE(host->model.layers[4].locked) << "call " << n;
        EXPECT_EQ(host->model.currentDatabase, APINULLGuid) << "call " << n;
        for (const SimHost::ProgressWindow& w : host->recorder.progressWindows)
            EXPECT_FALSE(w.open) << "call " << n;
        if (!failed)
            break;
    }
    EXPECT_TRUE(host->recorder.faults.empty());
}

}  // namespace
