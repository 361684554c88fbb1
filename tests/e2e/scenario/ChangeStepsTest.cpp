// The change and delete steps: the user's changes of a roof the add-on
// reinforced reach the add-on as element events, each in its own undo
// step; malformed steps are refused with their line before anything runs.
#include "tests/e2e/scenario/ScenarioRun.hpp"

namespace {

TEST(ChangeStepsTest, ChangesAndDeletionOfAReinforcedRoofAreAnnounced)
{
    const std::string path = WriteScenario("changes_good.json", R"({
 "steps": [
  {"do": "roof", "name": "r", "level": 2, "slope": 30, "pivot": [[0, 0], [10, 0]],
   "outline": [[0, 0], [10, 0], [10, 5], [0, 5]]},
  {"do": "roof", "name": "several", "planes": [
    {"id": [0, 0, 1], "pivot": [[0, 0], [4, 0]], "outline": [[0, 0], [4, 0], [4, 3], [0, 3]]}]},
  {"do": "addWall", "name": "w", "begin": [0, 10], "end": [5, 10]},
  {"do": "menu", "menu": 32510, "item": 1},
  {"do": "select", "names": ["r"]},
  {"do": "settingsDialog", "part": "rf_mesh", "params": {"iPosition": 0}},
  {"do": "clickEntry", "entry": 5},
  {"expect": {"element": "r", "linkedObjects": 1}},
  {"expect": {"element": {"linkedTo": "r"}, "field": "part", "value": "rf_mesh"}},
  {"do": "change", "elements": ["r", "w"], "move": [2, 1]},
  {"expect": {"elementEvents": [{"element": "r", "kind": 4}]}},
  {"do": "change", "element": "r", "slope": 35, "undoName": "Roof Settings"},
  {"do": "change", "element": "w", "thickness": 0.25, "height": 2.5, "slantCode": 1, "slantAlpha": 1.4, "flipped": true},
  {"do": "change", "element": "several", "addPlanes": [
    {"id": [0, 0, 2], "pivot": [[4, 0], [8, 0]], "outline": [[4, 0], [8, 0], [8, 3], [4, 3]]}]},
  {"do": "change", "element": "several", "removePlanes": [[0, 0, 1]], "rotate": 90, "about": [0, 0]},
  {"expect": {"elementEvents": [{"element": "r", "kind": 3}]}},
  {"expect": {"undoSteps": [{"24": "[zolva] Reinforcement", "25": "[zolva] Armatura"}, "Move", "Roof Settings", "Element Settings", "Reshape", "Reshape"]}},
  {"expect": {"elements": {"type": "wall"}, "count": 1}},
  {"do": "delete", "elements": ["r", "w"]},
  {"expect": {"elementEvents": [{"element": "r", "kind": 5}]}},
  {"expect": {"elements": {"type": "wall"}, "count": 0}},
  {"expect": {"elements": {"type": "roof"}, "count": 1}},
  {"expect": {"lastUndoStep": "Delete"}},
  {"do": "undo"},
  {"expect": {"element": "r", "linkedObjects": 1}},
  {"expect": {"element": {"linkedTo": "r", "nth": 2}, "field": "x", "value": 0}}
 ]
})");
    const RunResult run = RunFile(path);
    EXPECT_EQ(run.exitCode, 4) << run.errors << run.report;
    // The one expectation meant to fail: the roof has a single object.
    EXPECT_NE(run.errors.find("there is no linked object 2 of 'r': 1 object(s) are linked to it"), std::string::npos)
        << run.errors;
    EXPECT_EQ(run.errors.find("expectation did not hold", run.errors.find("linked object 2") + 1), std::string::npos)
        << run.errors;
    for (const char* line : {"the user's \"Move\": 2 element(s) changed", "element event 4 (edited) for",
                             "element event 5 (deleted) for", "undo step \"Roof Settings\""})
        EXPECT_NE(run.report.find(line), std::string::npos) << line << "\n" << run.report;
}

TEST(ChangeStepsTest, MalformedChangeStepsAreRefusedWithTheirLine)
{
    struct Case {
        const char* step;
        const char* reason;
    };
    const Case cases[] = {
        {R"({"do": "change", "move": [1, 0]})", "needs \"element\" or \"elements\""},
        {R"({"do": "change", "element": "w"})", "changes nothing"},
        {R"({"do": "change", "element": "w", "move": [1]})", "must be [x, y]"},
        {R"({"do": "change", "element": "w", "thickness": 0})", "must be a number greater than 0"},
        {R"({"do": "change", "element": "w", "rotate": 400})", "-360 to 360"},
        {R"({"do": "change", "element": "w", "about": [0, 0], "move": [1, 1]})", "give \"rotate\" too"},
        {R"({"do": "change", "element": "w", "slantAlpha": 4})", "an angle between 0 and pi"},
        {R"({"do": "change", "element": "w", "removePlanes": [[1, 2]]})", "must be a plane id [a, b, c]"},
        {R"({"do": "change", "element": "w", "holes": []})", "belongs to an \"outline\""},
        {R"({"do": "change", "element": "w", "colour": 2})", "colour"},
        {R"({"do": "delete"})", "needs \"element\" or \"elements\""},
        {R"({"expect": {"elements": {"type": "wall"}}})", "needs the \"count\" expected"},
        {R"({"expect": {"elementEvents": [{"element": "w", "kind": 6}]}})", "must be 3, 4 or 5"},
        {R"({"expect": {"element": {"linkedTo": "w", "part": "rf_rebar"}, "field": "x", "value": 0}})",
         "selects by the links alone"},
        // Refused when they run.
        {R"({"do": "change", "element": "nobody", "move": [1, 0]})", "nobody"},
        {R"({"do": "change", "element": "w", "slope": 20})", "a wall takes no 'slope'"},
        {R"({"do": "change", "element": "w", "composite": 3})", "composite 3 is not defined"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        const std::string path = WriteScenario(
            "change_bad.json",
            std::string("{\n \"steps\": [\n  {\"do\": \"addWall\", \"name\": \"w\"},\n  ") + c.step + "\n ]\n}\n");
        RunResult run = RunFile(path);
        EXPECT_EQ(run.exitCode, 2) << run.errors;
        EXPECT_NE(run.errors.find(c.reason), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find(":4:"), std::string::npos) << run.errors;
    }
}

}  // namespace
