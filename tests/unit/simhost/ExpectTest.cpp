// The expect step's checks against a host whose state is set by hand: what
// holds, what differs and how the difference is named.
#include "simhost/scenario/HostQueries.hpp"
#include "simhost/scenario/Steps.hpp"
#include "platform/gs/Memory.hpp"
#include <gtest/gtest.h>
#include <memory>
#include <list>

namespace {

using SimHost::GdlParam;

class ExpectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        handlesBefore = GS::LiveMemoryHandleCount();
        host = std::make_unique<SimHost::Host>();
        std::string error;
        ASSERT_TRUE(host->libraries.Activate(IO::Location(std::string(LIBRARY_DIR) + "/Zolva_Reinforcement.lcf"), error))
            << error;
        GdlParam id;
        id.name = "strIronID";
        id.kind = GdlParam::Kind::Text;
        id.text = u"A1";
        GdlParam position;
        position.name = "iPosition";
        position.number = 3;
        GdlParam data;
        data.name = "ironData";
        data.kind = GdlParam::Kind::Numbers;
        data.dim1 = 2;
        data.dim2 = 2;
        data.numbers = {1, 2, 3, 4};
        GdlParam texts;
        texts.name = "tableContentTexts";
        texts.kind = GdlParam::Kind::Texts;
        texts.dim1 = 1;
        texts.dim2 = 2;
        texts.texts = {u"a", u"\u0161"};
        GdlParam broken = data;  // dimensions its values do not fill
        broken.name = "broken";
        broken.numbers = {1};
        ctx.names["bar"] = host->PlaceObject("rf_rebar", {id, position, data, texts, broken}).guid;
        ctx.names["w"] = host->model.Add(API_WallID, 2).guid;
        ctx.step = "step 1";
    }

    void TearDown() override
    {
        host.reset();
        EXPECT_EQ(GS::LiveMemoryHandleCount(), handlesBefore);
    }

    // Plays `{"expect": <expect>}` and answers what did not hold.
    std::vector<std::string> Check(const std::string& expect)
    {
        docs.push_back(SimHost::JsonDocument::Parse("expect.json", "{\"expect\": " + expect + "}"));
        SimHost::JsonObject step(docs.back(), docs.back().Root(), "");
        SimHost::StepAction action = SimHost::ParseExpect(step);
        USize before = ctx.failedExpectations.size();
        action(*host, ctx);
        std::vector<std::string> out;
        for (USize i = before; i < ctx.failedExpectations.size(); ++i)
            out.push_back(ctx.failedExpectations[i].what);
        return out;
    }

    std::unique_ptr<SimHost::Host> host;
    SimHost::RunContext ctx;
    std::list<SimHost::JsonDocument> docs;  // the actions refer into them
    Int64 handlesBefore = 0;
};

struct CheckCase {
    const char* name;
    const char* expect;
    const char* difference;  // empty: the expectation holds
};

class StateCheckTest : public ExpectTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(StateCheckTest, HoldsOrNamesTheDifference)
{
    const CheckCase& c = GetParam();
    std::vector<std::string> differences = Check(c.expect);
    if (std::string(c.difference).empty()) {
        EXPECT_TRUE(differences.empty()) << differences.front();
    } else {
        ASSERT_EQ(differences.size(), 1u) << c.expect;
        EXPECT_EQ(differences[0], c.difference);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StateCheckTest,
    ::testing::Values(
        CheckCase{"text", R"({"element": "bar", "param": "strIronID", "value": "A1"})", ""},
        CheckCase{"otherText", R"({"element": "bar", "param": "strIronID", "value": "A2"})",
                  R"(element 'bar' parameter strIronID: expected "A2", found "A1")"},
        CheckCase{"numberWithinDefaultTolerance", R"({"element": "bar", "param": "iPosition", "value": 3.0000001})", ""},
        CheckCase{"numberOutside", R"({"element": "bar", "param": "iPosition", "value": 3.1})",
                  "element 'bar' parameter iPosition: expected 3.1, found 3 (tolerance 1e-06)"},
        CheckCase{"numberWithinGivenTolerance", R"({"element": "bar", "param": "iPosition", "value": 3.1, "tolerance": 0.2})", ""},
        CheckCase{"textForNumber", R"({"element": "bar", "param": "iPosition", "value": "3"})",
                  "element 'bar' parameter iPosition: expected a text, found a number 3"},
        CheckCase{"array", R"({"element": "bar", "param": "ironData", "value": {"rows": 2, "cols": 2, "values": [1, 2, 3, 4]}})", ""},
        CheckCase{"arrayRow", R"({"element": "bar", "param": "ironData", "value": {"rows": 2, "cols": 2, "values": [1, 2, 3, 5]}})",
                  "element 'bar' parameter ironData row 2: expected [3, 5], found [3, 4] (tolerance 1e-06)"},
        CheckCase{"arrayShape", R"({"element": "bar", "param": "ironData", "value": {"rows": 1, "cols": 4, "values": [1, 2, 3, 4]}})",
                  "element 'bar' parameter ironData: expected 1x4 numbers, found 2x2 numbers"},
        CheckCase{"valuesShortOfTheShape", R"({"element": "bar", "param": "broken", "value": {"rows": 2, "cols": 2, "values": [1, 2, 3, 4]}})",
                  "element 'bar' parameter broken: holds 1 values for 2x2 numbers"},
        CheckCase{"textArray", R"({"element": "bar", "param": "tableContentTexts", "value": {"rows": 1, "cols": 2, "values": ["a", "š"]}})", ""},
        CheckCase{"textArrayRow", R"({"element": "bar", "param": "tableContentTexts", "value": {"rows": 1, "cols": 2, "values": ["a", "s"]}})",
                  R"(element 'bar' parameter tableContentTexts row 1: expected ["a", "s"], found ["a", "š"])"},
        CheckCase{"missingParam", R"({"element": "bar", "param": "nope", "value": 1})", "element 'bar' has no parameter 'nope'"},
        CheckCase{"field", R"({"element": "w", "field": "layer", "value": 2})", ""},
        CheckCase{"fieldDiffers", R"({"element": "w", "field": "type", "value": "slab"})",
                  R"(element 'w' field type: expected "slab", found "wall")"},
        CheckCase{"flagField", R"({"element": "bar", "field": "mirrored", "value": false})", ""},
        CheckCase{"byPart", R"({"element": {"part": "rf_rebar"}, "field": "part", "value": "rf_rebar"})", ""},
        CheckCase{"byType", R"({"element": {"type": "wall", "nth": 1}, "field": "layer", "value": 2})", ""},
        CheckCase{"noSuchNth", R"({"element": {"part": "rf_rebar", "nth": 2}, "param": "iPosition", "value": 3})",
                  "there is no object 2 of part 'rf_rebar': the model holds 1"},
        CheckCase{"noLinkedObjects", R"({"element": "w", "linkedObjects": 0})", ""},
        CheckCase{"linkedObjectsDiffer", R"({"element": "w", "linkedObjects": 2})",
                  "element 'w' linked objects: expected 2, found 0"},
        CheckCase{"nothingToUndo", R"({"lastUndoStep": "Armbrix"})",
                  R"(last undo step: expected "Armbrix", there is nothing to undo)"},
        CheckCase{"noUndoSteps", R"({"undoSteps": []})", ""},
        CheckCase{"undoStepsDiffer", R"({"undoSteps": ["Armbrix"]})", R"(undo steps: expected ["Armbrix"], found [])"},
        CheckCase{"noPalette", R"({"palette": {"visible": true}})", "palette: the add-on has none"},
        CheckCase{"paletteAbsent", R"({"palette": {"exists": false}})", ""},
        CheckCase{"noToolTip", R"({"tooltip": "Wall"})", R"(tooltip: expected "Wall", the last hover showed none)"}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST_F(ExpectTest, ARemovedElementIsNamed)
{
    host->model.Remove(ctx.names["w"]);
    EXPECT_EQ(Check(R"({"element": "w", "field": "layer", "value": 2})"),
              std::vector<std::string>{"element 'w' is no longer in the model"});
}

// Alerts, commands, calls and requests are each compared with what came
// since the previous check of the same kind, so one kind's check never
// hides what another kind has to see.
TEST_F(ExpectTest, EventChecksSeeWhatCameSinceTheirPreviousCheck)
{
    host->recorder.alerts = {"one", "two"};
    host->recorder.debugLines = {"[zolva] command ReinforceSelectedElements 8", "something else",
                        "[zolva] command RunCuttingListOptimization 0"};
    host->recorder.callLog = {"GetElement", "Sleep", "GetElement"};
    host->recorder.requestLog = {"RPAS"};

    EXPECT_EQ(Check(R"({"alerts": ["one"]})"),
              std::vector<std::string>{R"(alerts: expected ["one"], shown ["one", "two"])"});
    EXPECT_TRUE(Check(R"({"alerts": []})").empty());
    EXPECT_TRUE(Check(R"({"commands": [{"command": "ReinforceSelectedElements", "argument": 8},
                                       {"command": "RunCuttingListOptimization"}]})")
                    .empty());
    EXPECT_TRUE(Check(R"({"calls": {"HostGetElement": 2, "Sleep": 1, "Report": 0}})").empty());
    EXPECT_TRUE(Check(R"({"requests": {"RPAS": 1, "NTOE": 0}})").empty());

    host->recorder.alerts.push_back("three");
    host->recorder.debugLines.push_back("[zolva] command CreateComplexElement 2");
    host->recorder.callLog.push_back("Report");
    EXPECT_TRUE(Check(R"({"alerts": ["three"]})").empty());
    EXPECT_EQ(Check(R"({"command": "CreateComplexElement", "argument": 3})"),
              std::vector<std::string>{"commands: expected [CreateComplexElement 3], ran [CreateComplexElement 2]"});
    EXPECT_EQ(Check(R"({"commands": []})"), std::vector<std::string>{});
    EXPECT_EQ(Check(R"({"calls": {"Report": 2}})"), std::vector<std::string>{"calls of Report: expected 2, made 1"});
    EXPECT_EQ(ctx.expectationsChecked, 9);
}

struct CommandLineCase {
    const char* line;
    bool isCommand;
    const char* name;
    bool hasArgument;
    Int64 argument;
};

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, IsReadFromTheDebugLine)
{
    const CommandLineCase& c = GetParam();
    SimHost::Queries::CommandRun command;
    ASSERT_EQ(SimHost::Queries::ParseCommandLine(c.line, command), c.isCommand) << c.line;
    if (!c.isCommand)
        return;
    EXPECT_EQ(command.name, c.name);
    EXPECT_EQ(command.hasArgument, c.hasArgument);
    if (c.hasArgument) {
        EXPECT_EQ(command.argument, c.argument);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineTest,
    ::testing::Values(CommandLineCase{"[zolva] command ReinforceSelectedElements 1", true, "ReinforceSelectedElements", true, 1},
                      CommandLineCase{"[zolva] command RunCuttingListOptimization 0", true, "RunCuttingListOptimization", true, 0},
                      CommandLineCase{"[zolva] command Edit -3", true, "Edit", true, -3},
                      CommandLineCase{"[zolva] command Edit", true, "Edit", false, 0},
                      CommandLineCase{"[zolva] command Edit 2x", true, "Edit", false, 0},
                      CommandLineCase{"[zolva] command ", false, "", false, 0},
                      CommandLineCase{"[zolva] Abnormal add-on termination", false, "", false, 0},
                      CommandLineCase{"command Edit 1", false, "", false, 0}));

}  // namespace

namespace {

// The dialog check reads the last modal dialog the user saw.
TEST_F(ExpectTest, DialogCheckReadsTheLastDialogShown)
{
    EXPECT_EQ(Check(R"({"dialog": 32510})"),
              std::vector<std::string>{"dialog: expected dialog 32510, no modal dialog was shown"});
    SimHost::ShownModalDialog shown;
    shown.resourceId = 32510;
    shown.title = "Warning";
    shown.closed = true;
    shown.result = 2;
    DG::DialogItemState yes, warning, kinds;
    yes.type = DG::ItemType::Button;
    yes.text = GS::UniString("Yes");
    warning.text = GS::UniString("Used!");
    warning.visible = false;
    kinds.type = DG::ItemType::PopUp;
    kinds.entries = {GS::UniString("Bar"), GS::UniString("Mesh")};
    kinds.value = 2;
    DG::DialogItemState list;
    list.type = DG::ItemType::ListView;
    list.listItems.resize(2);
    list.listItems[0].text = GS::UniString("C1 [2 pcs]");
    list.listItems[1].text = GS::UniString("C2 [1 pcs]");
    list.listItems[1].image =
        DG::Image(1, 1, std::make_shared<const std::vector<std::uint8_t>>(3, std::uint8_t(0)), "/tmp/x.jpg");
    shown.items = {yes, warning, kinds, list};
    host->user.modalDialogs.push_back(shown);
    const std::vector<CheckCase> cases = {
        {"holds", R"({"dialog": 32510, "result": 2, "title": "Warning"})", ""},
        {"otherDialog", R"({"dialog": 32511})", "dialog: expected dialog 32511, the last shown was 32510"},
        {"otherResult", R"({"dialog": 32510, "result": 1})", "dialog: expected result 1, it closed with 2"},
        {"itemText", R"({"dialog": 32510, "item": 1, "text": "Yes", "visible": true})", ""},
        {"hiddenItem", R"({"dialog": 32510, "item": 2, "visible": true})", "dialog: item 2 is hidden"},
        {"popUpShowsItsEntry", R"({"dialog": 32510, "item": 3, "text": "Mesh"})", ""},
        {"otherText", R"({"dialog": 32510, "item": 1, "text": "No"})", R"(dialog: item 1 expected "No", shown "Yes")"},
        {"noSuchItem", R"({"dialog": 32510, "item": 5, "visible": false})", "dialog: it has no item 5"},
        {"listItems", R"({"dialog": 32510, "item": 4, "listItems": ["C1 [2 pcs]", "C2 [1 pcs]"], "pictures": 1})", ""},
        {"otherListItems", R"({"dialog": 32510, "item": 4, "listItems": ["C2 [1 pcs]"]})",
         R"(dialog: item 4 expected the list items ["C2 [1 pcs]"], shown ["C1 [2 pcs]", "C2 [1 pcs]"])"},
        {"otherPictureCount", R"({"dialog": 32510, "item": 4, "pictures": 2})",
         "dialog: item 4 expected 2 pictures, shown 1"},
        {"noListView", R"({"dialog": 32510, "item": 1, "pictures": 0})", "dialog: item 1 is no list view"},
    };
    for (const CheckCase& c : cases) {
        std::vector<std::string> differences = Check(c.expect);
        if (std::string(c.difference).empty())
            EXPECT_TRUE(differences.empty()) << c.name << ": " << differences.front();
        else
            EXPECT_EQ(differences, std::vector<std::string>{c.difference}) << c.name;
    }
}

}  // namespace
