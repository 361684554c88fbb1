// The plan picture a run leaves in its output folder: what it draws where,
// and its size, read from the SVG text.
#include "tests/e2e/scenario/ScenarioRun.hpp"
#include <filesystem>
#include <regex>

namespace {

std::string RunAndReadPlan(const std::string& scenario)
{
    // A folder of this test process's own, fresh for every run.
    static int runs = 0;
    const std::string out = TestRunFolder() + "/plan" + std::to_string(++runs);
    std::filesystem::create_directories(out);
    SimHost::RunOptions options;
    options.addOnPath = ADDON_PATH;
    options.outDir = out;
    std::ostringstream report, errors;
    EXPECT_EQ(SimHost::RunScenario(scenario, options, report, errors), 0) << report.str() << errors.str();
    std::ifstream in(out + "/plan.svg");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The path of the element whose title starts with `title`, or "".
std::string PathOf(const std::string& svg, const std::string& title)
{
    std::smatch m;
    const std::regex path("<path d=\"([^\"]*)\"[^>]*><title>" + title);
    return std::regex_search(svg, m, path) ? m[1].str() : "";
}

// The roof of 30 degrees spans y 2..8 in the plan and its opening y 4..5.5:
// the mesh in its plane is drawn projected, its outline and its hole where
// the roof's and the opening's are (not 6 / cos 30 long up the slope). The
// picture has the drawing's proportions instead of a fixed 800 x 600.
TEST(PlanSvgTest, RoofMeshIsProjectedAndThePictureFitsTheDrawing)
{
    const std::string svg = RunAndReadPlan(std::string(SCENARIO_DIR) + "/placing-demo.json");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(svg, m, std::regex("<path d=\"(M10\\.0000,-2\\.0000[^\"]*)\"[^>]*><title>reinforcement")))
        << svg;
    EXPECT_EQ(m[1].str(), "M10.0000,-2.0000 L18.0000,-2.0000 L18.0000,-8.0000 L10.0000,-8.0000 Z "
                          "M13.0000,-4.0000 L15.0000,-4.0000 L15.0000,-5.5000 L13.0000,-5.5000 Z ");
    ASSERT_TRUE(std::regex_search(svg, m, std::regex("viewBox=\"[-0-9.]+ [-0-9.]+ ([0-9.]+) ([0-9.]+)\" width=\"([0-9]+)\" height=\"([0-9]+)\"")));
    const double w = std::stod(m[1].str()), h = std::stod(m[2].str());
    const double width = std::stod(m[3].str()), height = std::stod(m[4].str());
    EXPECT_NEAR(width / height, w / h, 0.01);
    EXPECT_NEAR(width, 50 * w, 1.0);
}

// A bar is drawn as the line of its segments from its position, a complex
// object as the box its bars span, a list as its table with the texts.
TEST(PlanSvgTest, BarsComplexObjectsAndListsAtTheirPlaceAndSize)
{
    const std::string scenario = WriteScenario("plan_objects.json", R"({
  "description": "a bar, a stirrup, a beam and a list",
  "steps": [
    { "do": "loadLibrary" },
    { "do": "place", "part": "rf_rebar", "name": "bar", "at": [1, 2],
      "params": { "ironType": { "rows": 1, "cols": 4, "values": [0, 1, 1, 0] },
                  "ironData": { "rows": 1, "cols": 1, "values": [2.5] } } },
    { "do": "place", "part": "rf_stirrup", "name": "stirrup", "at": [5, 0],
      "params": { "ironType": { "rows": 1, "cols": 4, "values": [0, 1, 4, 0] },
                  "ironData": { "rows": 1, "cols": 4, "values": [0.3, 0.4, 0.3, 0.4] } } },
    { "do": "place", "part": "rf_beam", "name": "beam", "at": [10, 0],
      "params": { "ironMinMax": { "rows": 1, "cols": 6, "values": [0, -0.1, 0, 4, 0.2, 0.3] } } },
    { "do": "place", "part": "rf_list", "name": "list", "at": [0, 10],
      "params": { "tableContentTexts": { "rows": 2, "cols": 2, "values": ["Bar mark", "Mass", "B1 & 2", "3.5"] } } }
  ]
})");
    const std::string svg = RunAndReadPlan(scenario);
    EXPECT_EQ(PathOf(svg, "bar "), "M1.0000,-2.0000 L3.5000,-2.0000");
    EXPECT_EQ(PathOf(svg, "bar 5A000000-0002"),
              "M5.0000,-0.0000 L5.3000,-0.0000 L5.3000,-0.4000 L5.0000,-0.4000 L5.0000,-0.0000");
    EXPECT_EQ(PathOf(svg, "complex element "),
              "M10.0000,0.1000 L14.0000,0.1000 L14.0000,-0.2000 L10.0000,-0.2000 Z ");
    // Two rows of 0.3 below the list's position, two columns of 1.2.
    const std::string list = PathOf(svg, "list ");
    EXPECT_NE(list.find("M0.0000,-9.7000 L1.2000,-9.7000 L1.2000,-10.0000 L0.0000,-10.0000 Z"), std::string::npos);
    EXPECT_NE(list.find("M1.2000,-9.4000 L2.4000,-9.4000 L2.4000,-9.7000 L1.2000,-9.7000 Z"), std::string::npos);
    EXPECT_NE(svg.find(">Bar mark</text>"), std::string::npos);
    EXPECT_NE(svg.find(">B1 &amp; 2</text>"), std::string::npos);
}

}  // namespace
