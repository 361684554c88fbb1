// Scenario steps that add and shape walls: what they build, as the report
// shows the model, and what they refuse before anything runs.
#include "tests/e2e/scenario/ScenarioRun.hpp"

namespace {

TEST(WallStepsTest, WallsCompositesAndTheLocationOffsetAreBuilt)
{
    const std::string good = WriteScenario("walls_good.json", R"({
 "steps": [
  {"do": "composite", "index": 4, "skins": [{"thickness": 0.05, "flags": 0}, {"thickness": 0.2, "flags": 2}]},
  {"do": "addWall", "name": "w", "begin": [1, 2], "end": [5, 2], "thickness": 0.25, "height": 2.8,
   "bottomOffset": 0.5, "flipped": true, "composite": 4, "referenceLine": 3, "offsetFromOutside": 0.1,
   "openings": [{"along": 1.5, "sill": 1, "width": 1, "height": 1.2}]},
  {"do": "addWall", "begin": [4, 0], "end": [0, 4], "arcAngle": 1.5, "slantCode": 1, "slantAlpha": 1.2, "bodies": 2},
  {"do": "locationOffset", "x": 100, "y": -50},
  {"do": "select", "names": ["w"]},
  {"expect": {"element": "w", "field": "type", "value": "wall"}}
 ]
})");
    const RunResult run = RunFile(good);
    EXPECT_EQ(run.exitCode, 0) << run.errors << run.report;
    for (const char* line :
         {"from 1 2 to 5 2 thickness 0.25 height 2.8 bottom 0.5 flipped composite 4 reference 3 0.1 opening 1.5 1 1x1.2",
          "from 4 0 to 0 4 thickness 0.3 height 3 bottom 0 arc 1.5 slant 1 1.2 1.5708 reference 0 0 bodies 2",
          "location offset 100 -50"})
        EXPECT_NE(run.report.find(line), std::string::npos) << line << "\n" << run.report;
}

TEST(WallStepsTest, MalformedWallStepsAreRefusedWithTheirLine)
{
    struct Case {
        const char* step;
        const char* reason;
    };
    const Case cases[] = {
        {R"({"do": "addWall", "begin": [1, 1], "end": [1, 1]})", "must differ from the begin point"},
        {R"({"do": "addWall", "begin": [1]})", "must be a point [x, y]"},
        {R"({"do": "addWall", "thickness": 0})", "must be a number greater than 0"},
        {R"({"do": "addWall", "height": -3})", "must be a number greater than 0"},
        {R"({"do": "addWall", "referenceLine": 6})", "must be a whole number from 0 to 5"},
        {R"({"do": "addWall", "arcAngle": 7})", "must be an angle greater than -2 pi"},
        {R"({"do": "addWall", "slantAlpha": 0})", "must be an angle between 0 and pi"},
        {R"({"do": "addWall", "bodies": 0})", "must be a whole number from 1 to 100"},
        {R"({"do": "addWall", "openings": [{"along": 1, "width": 0}]})", "must be a number greater than 0"},
        {R"({"do": "addWall", "openings": [{"along": -1}]})", "must be 0 or more"},
        {R"({"do": "addWall", "openings": [{"sill": 1, "depth": 2}]})", "depth"},
        {R"({"do": "addWall", "colour": 2})", "colour"},
        {R"({"do": "composite", "index": 2, "skins": []})", "must list at least one skin"},
        {R"({"do": "composite", "index": 2, "skins": [{"thickness": 0.1, "flags": 70000}]})", "must be a whole number from 0 to 65535"},
        {R"({"do": "locationOffset", "x": "far"})", "x"},
        // Refused when it runs: the composite does not exist.
        {R"({"do": "addWall", "composite": 9})", "composite 9 is not defined"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        const std::string path =
            WriteScenario("wall_bad.json", std::string("{\n \"steps\": [\n  ") + c.step + "\n ]\n}\n");
        RunResult run = RunFile(path);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.errors.find(":3:"), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find(c.reason), std::string::npos) << run.errors;
    }
}

}  // namespace
