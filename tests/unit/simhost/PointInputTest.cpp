// The point input through the host's table: the callback sees every cursor
// position and the click, its rubber lines are recorded by position, the
// click comes back in the record; and the highlight and zoom requests.
#include "HostTestSupport.hpp"
#include "platform/gs/HashTable.hpp"
#include "simhost/scenario/Steps.hpp"
#include <list>
#include <cmath>

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace PointInputTests {

using HostTest::Slot;
using HostTest::Zeroed;

SimHost::Host* g_host = nullptr;
std::vector<API_Coord3D> g_seen;

GSErrCode DrawLine(double x1, double y1, double x2, double y2, double z, Int32 mode)
{
    API_RubberLineType line = Zeroed<API_RubberLineType>();
    line.c1 = {x1, y1, z};
    line.c2 = {x2, y2, z};
    line.drawModes = mode;
    return Slot<HostSlot::Interface>(*g_host)(nullptr, RequestCode("DRLI"), &line, nullptr, nullptr);
}

// Two sides of a wall, y = 0 and y = 1 from x = 0 to 4: draws the side
// nearer to the cursor, as a side pick shows what a click would choose.
GSErrCode NearerSide(const API_RubberLineInfo* info)
{
    g_seen.push_back(info->actCoord);
    double y = std::fabs(info->actCoord.y) < std::fabs(info->actCoord.y - 1) ? 0.0 : 1.0;
    return DrawLine(0, y, 4, y, info->actCoord.z, 2);
}

class PointInputTest : public HostTest::HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        g_host = host.get();
        g_seen.clear();
    }
    API_GetPointType Request(const char* prompt)
    {
        API_GetPointType point = Zeroed<API_GetPointType>();
        std::strcpy(point.prompt, prompt);
        point.changePlane = true;
        for (Int32& code : point.cursorCodes)
            code = 36;
        return point;
    }
    GSErrCode Input(API_GetPointType& point, APIRubberLineInfoProc* feedback)
    {
        return Slot<HostSlot::Interface>(*host)(nullptr, RequestCode("IPOI"), &point,
                                                reinterpret_cast<void*>(feedback), nullptr);
    }
    const SimHost::PointInputScript& Script() const { return host->user.pointInputs; }
};

TEST_F(PointInputTest, CallbackFollowsThePathAndTheClickComesBack)
{
    host->user.pointInputs.Give({{{1, 0.9, 3}, {1, 0.2, 3}}, false, {2, 0.8, 3}});
    API_GetPointType point = Request("Click a side");
    ASSERT_EQ(Input(point, &NearerSide), NoError);

    // The point lies apart from the cursor codes and the option byte.
    EXPECT_DOUBLE_EQ(point.pos.x, 2);
    EXPECT_DOUBLE_EQ(point.pos.y, 0.8);
    EXPECT_DOUBLE_EQ(point.pos.z, 3);
    for (Int32 code : point.cursorCodes)
        EXPECT_EQ(code, 36);
    EXPECT_TRUE(point.changePlane);

    ASSERT_EQ(g_seen.size(), 3u);
    EXPECT_DOUBLE_EQ(g_seen[1].y, 0.2);
    ASSERT_EQ(Script().shown.size(), 1u);
    const SimHost::ShownPointInput& shown = Script().shown[0];
    EXPECT_EQ(shown.prompt, "Click a side");
    EXPECT_EQ(shown.cursorCodes[7], 36);
    EXPECT_TRUE(shown.changePlane);
    ASSERT_EQ(shown.stops.size(), 3u);
    const double expectedY[] = {1, 0, 1};
    for (USize i = 0; i < 3; ++i) {
        ASSERT_EQ(shown.stops[i].lines.size(), 1u) << i;
        EXPECT_DOUBLE_EQ(shown.stops[i].lines[0].c1.y, expectedY[i]) << i;
        EXPECT_DOUBLE_EQ(shown.stops[i].lines[0].c2.z, 3) << i;
        EXPECT_EQ(shown.stops[i].lines[0].mode, 2) << i;
    }
    EXPECT_TRUE(shown.stops[2].click);
    EXPECT_EQ(Script().lines.size(), 3u);
    EXPECT_TRUE(host->recorder.faults.empty());
}

TEST_F(PointInputTest, CancelAndMissingAnswerLeaveThePoint)
{
    host->user.pointInputs.Give({{{1, 0.1, 0}}, true, {}});
    API_GetPointType point = Request("first");
    point.pos = {7, 7, 7};
    EXPECT_EQ(Input(point, &NearerSide), APIERR_CANCEL);
    EXPECT_DOUBLE_EQ(point.pos.x, 7);
    EXPECT_EQ(g_seen.size(), 1u);  // the path, no click

    // No answer left: cancelled, the callback never called; a null callback is allowed.
    EXPECT_NE(Input(point, nullptr), NoError);
    EXPECT_EQ(g_seen.size(), 1u);
    ASSERT_EQ(Script().shown.size(), 2u);
    EXPECT_TRUE(Script().shown[0].answered && Script().shown[0].cancelled);
    EXPECT_FALSE(Script().shown[1].answered);
    EXPECT_NE(host->recorder.events.back().find("no answer scripted"), std::string::npos);
    EXPECT_TRUE(host->recorder.faults.empty());
}

TEST_F(PointInputTest, MisuseIsTheAddOnsFault)
{
    // A line drawn outside a point input.
    EXPECT_NE(DrawLine(0, 0, 1, 1, 0, 2), NoError);
    EXPECT_EQ(host->recorder.faults.size(), 1u);
    EXPECT_TRUE(Script().lines.empty());

    // A prompt filling all of its 256 bytes: read no further.
    host->user.pointInputs.Give({{}, false, {1, 1, 0}});
    API_GetPointType point = Zeroed<API_GetPointType>();
    std::memset(point.prompt, 'a', sizeof point.prompt);
    point.changeFilter = true;
    EXPECT_EQ(Input(point, nullptr), NoError);
    EXPECT_EQ(host->recorder.faults.size(), 2u);
    EXPECT_EQ(Script().shown.back().prompt, std::string(256, 'a'));

    API_GetPointType* none = nullptr;
    EXPECT_EQ(Slot<HostSlot::Interface>(*host)(nullptr, RequestCode("IPOI"), none, nullptr, nullptr), APIERR_BADPARS);
}

TEST_F(PointInputTest, HighlightReplacesAndClearsAndZoomIsRecorded)
{
    API_Guid wall = host->model.Add(API_WallID).guid;
    API_Guid slab = host->model.Add(API_SlabID).guid;
    auto interface = Slot<HostSlot::Interface>(*host);
    bool wireframe = false;
    GS::HashTable<API_Guid, API_RGBAColor> table;
    table.Add(wall, {0.0, 0.1, 0.7, 0.8});
    ASSERT_EQ(interface(nullptr, RequestCode("HGEL"), &table, &wireframe, nullptr), NoError);
    ASSERT_EQ(host->view.highlight.size(), 1u);
    EXPECT_EQ(host->view.highlight[0].first, wall);
    EXPECT_DOUBLE_EQ(host->view.highlight[0].second.f_blue, 0.7);

    GS::HashTable<API_Guid, API_RGBAColor> other;
    other.Add(slab, {1, 0, 0, 1});
    EXPECT_FALSE(other.Add(slab, {0, 0, 0, 0}));
    ASSERT_EQ(interface(nullptr, RequestCode("HGEL"), &other, &wireframe, nullptr), NoError);
    ASSERT_EQ(host->view.highlight.size(), 1u);
    EXPECT_EQ(host->view.highlight[0].first, slab);
    ASSERT_EQ(interface(nullptr, RequestCode("HGEL"), nullptr, nullptr, nullptr), NoError);
    EXPECT_TRUE(host->view.highlight.empty());

    API_Box box = {-1, -2, 5, 3};
    ASSERT_EQ(Slot<HostSlot::Automate>(*host)(nullptr, RequestCode("ZOOM"), &box, nullptr, nullptr), NoError);
    ASSERT_EQ(host->view.zooms.size(), 1u);
    EXPECT_DOUBLE_EQ(host->view.zooms[0].yMin, -2);
    EXPECT_TRUE(host->recorder.faults.empty());
}

// The scenario's side: the pointInput step answers the next point input,
// and the lines, highlight and zoom expectations read what it left.
class PointInputScenarioTest : public PointInputTest {
protected:
    SimHost::StepAction Parse(const std::string& json)
    {
        docs.push_back(SimHost::JsonDocument::Parse("steps.json", json));
        SimHost::JsonObject step(docs.back(), docs.back().Root(), "");
        if (step.Has("expect"))
            return SimHost::ParseExpect(step);
        SimHost::StepTable table;
        SimHost::AddUserSteps(table);
        return table.at(step.String("do"))(step);
    }
    std::vector<std::string> Expect(const std::string& expect)
    {
        SimHost::StepAction action = Parse("{\"expect\": " + expect + "}");
        USize before = ctx.failedExpectations.size();
        action(*host, ctx);
        std::vector<std::string> out;
        for (USize i = before; i < ctx.failedExpectations.size(); ++i)
            out.push_back(ctx.failedExpectations[i].what);
        return out;
    }
    SimHost::RunContext ctx;
    std::list<SimHost::JsonDocument> docs;
};

TEST_F(PointInputScenarioTest, LinesShowWhatTheClickChooses)
{
    Parse(R"({"do": "pointInput", "path": [[1, 0.9, 2], [1, 0.3]], "click": [3, 0.1, 2]})")(*host, ctx);
    API_GetPointType point = Request("p");
    ASSERT_EQ(Input(point, &NearerSide), NoError);

    EXPECT_TRUE(Expect(R"({"lines": [[[0, 0, 2], [4, 0, 2]]], "at": "click", "mode": 2})").empty());
    EXPECT_EQ(Expect(R"({"lines": [[[0, 1], [4, 1]]], "at": "click"})"),
              std::vector<std::string>{"lines at the click: line 1 expected [[0, 1, 0], [4, 1, 0]], drawn [[0, 0, 2], [4, 0, 2]]"});
    EXPECT_EQ(Expect(R"({"lines": 3, "mode": 1})").size(), 3u);  // every line drawn with mode 2
    EXPECT_EQ(Expect(R"({"lines": 0})"), std::vector<std::string>{});  // nothing since the previous check
    EXPECT_EQ(Expect(R"({"lines": [[[0, 0.05], [4, 0.05]]], "at": "click", "tolerance": 0.1})"), std::vector<std::string>{});

    // A cancelled input draws along its path but has no click.
    Parse(R"({"do": "pointInput", "path": [[1, 0.9]], "cancel": true})")(*host, ctx);
    EXPECT_EQ(Input(point, &NearerSide), APIERR_CANCEL);
    EXPECT_TRUE(Expect(R"({"lines": 0, "at": "click"})").empty());
    EXPECT_TRUE(Expect(R"({"lines": [[[0, 1, 0], [4, 1, 0]]]})").empty());
}

TEST_F(PointInputScenarioTest, HighlightAndZoomExpectations)
{
    ctx.names["w"] = host->model.Add(API_WallID).guid;
    EXPECT_EQ(Expect(R"({"zoom": [0, 0, 1, 1]})"), std::vector<std::string>{"zoom: expected [0, 0, 1, 1], the view was not zoomed"});
    EXPECT_TRUE(Expect(R"({"highlight": []})").empty());
    GS::HashTable<API_Guid, API_RGBAColor> table;
    table.Add(ctx.names["w"], {0, 0.1, 0.7, 0.8});
    bool wireframe = false;
    ASSERT_EQ(Slot<HostSlot::Interface>(*host)(nullptr, RequestCode("HGEL"), &table, &wireframe, nullptr), NoError);
    API_Box box = {-1, -1.5, 5, 2.5};
    ASSERT_EQ(Slot<HostSlot::Automate>(*host)(nullptr, RequestCode("ZOOM"), &box, nullptr, nullptr), NoError);
    EXPECT_TRUE(Expect(R"({"highlight": ["w"]})").empty());
    EXPECT_TRUE(Expect(R"({"zoom": [-1, -1.5, 5, 2.5]})").empty());
    EXPECT_EQ(Expect(R"({"zoom": [-1, -1, 5, 2.5], "tolerance": 0.1})"),
              std::vector<std::string>{"zoom: expected [-1, -1, 5, 2.5], zoomed to [-1, -1.5, 5, 2.5]"});
}

TEST_F(PointInputScenarioTest, MalformedStepsAreRefused)
{
    for (const char* bad : {R"({"do": "pointInput"})", R"({"do": "pointInput", "click": [1, 2], "cancel": true})",
                            R"({"do": "pointInput", "click": [1]})", R"({"do": "pointInput", "path": [[1, "a"]], "cancel": true})",
                            R"({"expect": {"lines": [[[1, 2]]]}})", R"({"expect": {"lines": 1, "at": "end"}})",
                            R"({"expect": {"zoom": [1, 2, 3]}})"})
        EXPECT_THROW(Parse(bad), SimHost::ScenarioError) << bad;
}

}  // namespace PointInputTests
