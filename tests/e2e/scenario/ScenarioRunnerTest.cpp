// The scenario runner: refusals with file, line and reason, and a run.
#include "tests/e2e/scenario/ScenarioRun.hpp"

namespace {

struct MalformedCase {
    const char* name;
    const char* text;
    int line;
    const char* reason;
};

class MalformedScenarioTest : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedScenarioTest, IsRefusedWithFileLineAndReason)
{
    const MalformedCase& c = GetParam();
    std::string path = WriteScenario(std::string(c.name) + ".json", c.text);
    RunResult run = RunFile(path);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.errors.find(path + ":" + std::to_string(c.line) + ": "), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find(c.reason), std::string::npos) << run.errors;
    EXPECT_TRUE(run.report.empty()) << "nothing runs for a malformed scenario";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedScenarioTest,
    ::testing::Values(
        MalformedCase{"syntax", "{\n  \"steps\": [\n    { \"do\": \"unload\" },,\n  ]\n}\n", 3, "JSON syntax error"},
        MalformedCase{"unknownKey", "{\n  \"stpes\": []\n}\n", 2, "unknown key 'stpes'"},
        MalformedCase{"unknownAction", "{\n  \"steps\": [\n    {\"do\": \"unload\"},\n    {\"do\": \"fly\"}\n  ]\n}\n", 4,
                      "unknown action 'fly'"},
        MalformedCase{"wrongKind", "{\n  \"environmentKind\": \"one\"\n}\n", 2, "must be a number"},
        MalformedCase{"notObject", "[1, 2]\n", 1, "must be a JSON object"},
        MalformedCase{"badSlot", "{\n \"setup\": [\n  {\"do\": \"emptySlot\",\n   \"slot\": \"Nope\"}\n ]\n}\n", 4,
                      "unknown host call 'Nope'"},
        MalformedCase{"badPaletteMessage", "{\n \"steps\": [\n  {\"do\": \"paletteMessage\",\n   \"message\": 8}\n ]\n}\n", 4,
                      "palette messages are 1 to 7"},
        MalformedCase{"negativeEntry", "{\n \"steps\": [\n  {\"do\": \"clickEntry\", \"entry\": -1}\n ]\n}\n", 3,
                      "counts entries from 0"},
        MalformedCase{"badHoverPart", "{\n \"steps\": [\n  {\"do\": \"hover\", \"entry\": 1,\n   \"on\": \"edge\"}\n ]\n}\n", 4,
                      "'on' is"},
        MalformedCase{"failNthCallFromZero", "{\n \"steps\": [\n  {\"do\": \"failNthCall\",\n   \"n\": 0}\n ]\n}\n", 4,
                      "counts calls from 1"},
        MalformedCase{"expectNothing", "{\n \"steps\": [\n  {\"expect\": {}}\n ]\n}\n", 3, "names what to check: one of"},
        MalformedCase{"expectTwoThings", "{\n \"steps\": [\n  {\"expect\": {\"alerts\": [],\n   \"commands\": []}}\n ]\n}\n", 4,
                      "an expectation checks one thing"},
        MalformedCase{"doAndExpect", "{\n \"steps\": [\n  {\"do\": \"unload\",\n   \"expect\": {\"alerts\": []}}\n ]\n}\n", 3,
                      "either does something"},
        MalformedCase{"unknownField",
                      "{\n \"steps\": [\n  {\"expect\": {\"element\": \"w\",\n   \"field\": \"colour\", \"value\": 1}}\n ]\n}\n", 4,
                      "unknown field 'colour'"},
        MalformedCase{"fieldAndParam",
                      "{\n \"steps\": [\n  {\"expect\": {\"element\": \"w\", \"field\": \"layer\", \"param\": \"A\", \"value\": 1}}\n ]\n}\n",
                      3, "names one of \"field\", \"param\" or \"linkedObjects\""},
        MalformedCase{"noValue", "{\n \"steps\": [\n  {\"expect\": {\"element\": \"w\", \"param\": \"A\"}}\n ]\n}\n", 3,
                      "the value expected"},
        MalformedCase{"negativeTolerance",
                      "{\n \"steps\": [\n  {\"expect\": {\"element\": \"w\", \"param\": \"A\", \"value\": 1,\n   \"tolerance\": -1}}\n ]\n}\n",
                      4, "must not be negative"},
        MalformedCase{"unknownCall", "{\n \"steps\": [\n  {\"expect\": {\"calls\": {\n   \"Nope\": 1}}}\n ]\n}\n", 4,
                      "unknown host call 'Nope'"},
        MalformedCase{"dialogActionOfTwoForms",
                      "{\n \"steps\": [\n  {\"do\": \"dialog\", \"actions\": [\n   {\"click\": 1, \"close\": true}]}\n ]\n}\n",
                      4, "an action is {\"click\": n}"},
        MalformedCase{"dialogTextWithoutItem",
                      "{\n \"steps\": [\n  {\"do\": \"dialog\", \"actions\": [\n   {\"text\": \"A1\"}]}\n ]\n}\n", 4,
                      "an action is {\"click\": n}"},
        MalformedCase{"dialogItemZero",
                      "{\n \"steps\": [\n  {\"do\": \"dialog\", \"actions\": [\n   {\"click\": 0}]}\n ]\n}\n", 4,
                      "items are numbered from 1"},
        MalformedCase{"dialogSelectBelowZero",
                      "{\n \"steps\": [\n  {\"do\": \"dialog\", \"actions\": [\n   {\"item\": 4, \"select\": -1}]}\n ]\n}\n",
                      4, "a list view's items are numbered from 1"},
        MalformedCase{"dialogSelectWithoutItem",
                      "{\n \"steps\": [\n  {\"do\": \"dialog\", \"actions\": [\n   {\"select\": 1}]}\n ]\n}\n",
                      4, "an action is {\"click\": n}"},
        // 16-bit values out of range are refused, never cut to one in range
        // (65537 would become 1).
        MalformedCase{"alertButtonOutOfRange", "{\n \"steps\": [\n  {\"do\": \"alert\",\n   \"button\": 65537}\n ]\n}\n", 4,
                      "must be a whole number from -32768 to 32767"},
        MalformedCase{"alertButtonsOutOfRange", "{\n \"steps\": [\n  {\"do\": \"alert\",\n   \"buttons\": [65537]}\n ]\n}\n", 4,
                      "an alert's buttons are 1 to 3"},
        MalformedCase{"dialogClickOutOfRange",
                      "{\n \"steps\": [\n  {\"do\": \"dialog\", \"actions\": [\n   {\"click\": 65537}]}\n ]\n}\n", 4,
                      "must be a whole number from -32768 to 32767"},
        MalformedCase{"menuOutOfRange", "{\n \"steps\": [\n  {\"do\": \"menu\",\n   \"menu\": 98046, \"item\": 1}\n ]\n}\n", 4,
                      "must be a whole number from -32768 to 32767"},
        MalformedCase{"hugeWholeNumber", "{\n \"steps\": [\n  {\"do\": \"menu\",\n   \"menu\": 1e30, \"item\": 1}\n ]\n}\n", 4,
                      "must be a whole number"},
        MalformedCase{"noTextForThisHost",
                      HOST_VERSION == 24 ? "{\n \"steps\": [\n  {\"expect\": {\"alerts\": [\n   {\"25\": \"x\"}]}}\n ]\n}\n"
                                         : "{\n \"steps\": [\n  {\"expect\": {\"alerts\": [\n   {\"24\": \"x\"}]}}\n ]\n}\n",
                      4, "gives no text for host"}),
    [](const ::testing::TestParamInfo<MalformedCase>& info) { return std::string(info.param.name); });

TEST(ScenarioRunnerTest, MissingAddOnIsRefusedClearly)
{
    std::string path = WriteScenario("ok.json", "{ \"steps\": [] }");
    RunResult run = RunFile(path, "/nonexistent/Armbrix.so");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.errors.find("add-on not found: /nonexistent/Armbrix.so"), std::string::npos) << run.errors;
}

TEST(ScenarioRunnerTest, OtherHostsAddOnIsRefusedWithBothValues)
{
    std::string path = WriteScenario("ok.json", "{ \"steps\": [] }");
    RunResult run = RunFile(path, OTHER_ADDON_PATH);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.errors.find("host version"), std::string::npos) << run.errors;
}

TEST(ScenarioRunnerTest, RunsStepsAndReports)
{
    std::string path = WriteScenario("run.json", R"({
  "description": "two objects, one selected",
  "steps": [
    {"do": "loadLibrary"},
    {"do": "place", "part": "rf_rebar", "name": "bar", "params": {"strIronID": "A1", "ironData": {"rows": 1, "cols": 2, "values": [1, 2]}}},
    {"do": "addElement", "type": "wall", "name": "w"},
    {"do": "select", "names": ["bar", "w"]},
    {"do": "unload", "freeData": false}
  ]
})");
    RunResult run = RunFile(path);
    EXPECT_EQ(run.exitCode, 0) << run.errors << run.report;
    EXPECT_NE(run.report.find("two objects, one selected"), std::string::npos);
    EXPECT_NE(run.report.find("part rf_rebar strIronID=\"A1\""), std::string::npos) << run.report;
    EXPECT_NE(run.report.find("Abnormal add-on termination"), std::string::npos) << run.report;
    EXPECT_NE(run.report.find("memory handles left: 0"), std::string::npos);
}

TEST(ScenarioRunnerTest, PlacingAPartOfNoActiveLibraryIsRefused)
{
    std::string path = WriteScenario("nolib.json", "{\n \"steps\": [\n  {\"do\": \"place\", \"part\": \"rf_rebar\"}\n ]\n}\n");
    RunResult run = RunFile(path);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.errors.find(":3: part 'rf_rebar' is not in an active library"), std::string::npos) << run.errors;
}

}  // namespace
