// The scenario runner: refusals with file, line and reason, and a run.
#include "tests/e2e/scenario/ScenarioRun.hpp"
#include <fstream>
#include <sstream>

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
        // Steps that would call into an unloaded add-on.
        MalformedCase{"menuAfterUnload", "{\n \"steps\": [\n  {\"do\": \"unload\"},\n  {\"do\": \"menu\"}\n ]\n}\n", 4,
                      "'menu' calls into the add-on, which step 1 unloaded"},
        MalformedCase{"selectAfterUnload",
                      "{\n \"steps\": [\n  {\"do\": \"unload\"},\n  {\"do\": \"addElement\", \"type\": \"wall\", \"name\": \"w\"},\n"
                      "  {\"do\": \"select\", \"names\": [\"w\"]}\n ]\n}\n",
                      5, "'select' calls into the add-on, which step 1 unloaded"},
        MalformedCase{"changeAfterUnload",
                      "{\n \"steps\": [\n  {\"do\": \"unload\"},\n  {\"do\": \"change\", \"element\": \"w\", \"move\": [1, 0]}\n ]\n}\n", 4,
                      "'change' calls into the add-on"},
        // Numbers a double cannot hold, and nesting deeper than the bound.
        MalformedCase{"beyondDouble", "{\n \"host\":\n  1e400\n}\n", 3, "beyond the range of a double"},
        MalformedCase{"beyondDoubleInAStep", "{\n \"steps\": [\n  {\"do\": \"menu\", \"item\": -1e999}\n ]\n}\n", 3,
                      "beyond the range of a double"},
        MalformedCase{"tooDeep", "{\"steps\": [\n[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]\n]}\n", 2,
                      "nested deeper than 32 levels"},
        // Numbers out of their field's range, refused rather than cut or wrapped.
        MalformedCase{"menuBeyondInt16", "{\n \"steps\": [\n  {\"do\": \"menu\", \"menu\": 2147483648}\n ]\n}\n", 3,
                      "'steps[0].menu' must be a whole number from 1 to 32767"},
        MalformedCase{"paletteMessageBeyondInt32",
                      "{\n \"steps\": [\n  {\"do\": \"paletteMessage\", \"message\": 4294967297}\n ]\n}\n", 3,
                      "palette messages are 1 to 7"},
        MalformedCase{"resizeBeyondInt16",
                      "{\n \"steps\": [\n  {\"do\": \"resizePalette\", \"width\": 2147483648}\n ]\n}\n", 3,
                      "'steps[0].width' must be a whole number from 1 to 32767"},
        MalformedCase{"negativeLayer", "{\n \"steps\": [\n  {\"do\": \"addElement\", \"type\": \"wall\", \"layer\": -3}\n ]\n}\n", 3,
                      "'steps[0].layer' must be a whole number from 1 to"},
        MalformedCase{"failCallNegativeTimes",
                      "{\n \"steps\": [\n  {\"do\": \"failCall\", \"slot\": \"GetElement\", \"times\": -5}\n ]\n}\n", 3,
                      "is -1 (every call from here) or a count"},
        MalformedCase{"failCallHugeTimes",
                      "{\n \"steps\": [\n  {\"do\": \"failCall\", \"slot\": \"GetElement\", \"times\": 1e20}\n ]\n}\n", 3,
                      "is -1 (every call from here) or a count"},
        MalformedCase{"failCallHugeCode",
                      "{\n \"steps\": [\n  {\"do\": \"failCall\", \"slot\": \"GetElement\", \"code\": 1e20}\n ]\n}\n", 3,
                      "must be a code of 32 bits"},
        MalformedCase{"failNthCallHuge", "{\n \"steps\": [\n  {\"do\": \"failNthCall\", \"n\": 1e300}\n ]\n}\n", 3,
                      "'steps[0].n' must be a whole number from 1 to"},
        MalformedCase{"alertButtonWraps", "{\n \"steps\": [\n  {\"do\": \"alert\", \"button\": 65537}\n ]\n}\n", 3,
                      "an alert's buttons are 1 to 3"},
        MalformedCase{"planeIdBeyondInt32",
                      "{\n \"steps\": [\n  {\"do\": \"change\", \"element\": \"r\", \"removePlanes\": [[0, 0, 1e10]]}\n ]\n}\n", 3,
                      "must be a plane id [a, b, c] of three whole numbers"},
        MalformedCase{"fileExpectationOfTwoForms",
                      "{\n \"steps\": [\n  {\"expect\": {\"file\": \"a.txt\", \"text\": \"\", \"textLines\": []}}\n ]\n}\n", 3,
                      "a file expectation gives one of"},
        MalformedCase{"noTextForThisHost",
                      HOST_VERSION == 24 ? "{\n \"steps\": [\n  {\"expect\": {\"alerts\": [\n   {\"25\": \"x\"}]}}\n ]\n}\n"
                                         : "{\n \"steps\": [\n  {\"expect\": {\"alerts\": [\n   {\"24\": \"x\"}]}}\n ]\n}\n",
                      4, "gives no text for host"}),
    [](const ::testing::TestParamInfo<MalformedCase>& info) { return std::string(info.param.name); });

// An add-on that is missing, or built for the other host, is refused with
// the reason.
TEST(ScenarioRunnerTest, AnAddOnThatCannotBeLoadedIsRefusedClearly)
{
    const std::string path = WriteScenario("ok.json", "{ \"steps\": [] }");
    struct Case {
        const char* addOn;
        const char* said;
    };
    for (const Case& c : {Case{"/nonexistent/Armbrix.so", "add-on not found: /nonexistent/Armbrix.so"},
                          Case{OTHER_ADDON_PATH, "host version"}}) {
        const RunResult run = RunFile(path, c.addOn);
        EXPECT_EQ(run.exitCode, 3) << c.addOn;
        EXPECT_NE(run.errors.find(c.said), std::string::npos) << run.errors;
    }
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

// What the runner cannot read or write refuses the run, with the reason.
TEST(ScenarioRunnerTest, AFolderGivenAsTheScenarioIsNamedAsAFolder)
{
    RunResult run = RunFile(TestRunFolder());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.errors.find(TestRunFolder() + ":0: is a folder, not a scenario file"), std::string::npos) << run.errors;
}

TEST(ScenarioRunnerTest, OutFoldersAreMadeWithTheirParentsAndAFileInTheWayRefusesTheRun)
{
    const std::string path = WriteScenario("out.json", "{ \"steps\": [] }");
    std::ofstream(TestRunFolder() + "/a-file") << "x";
    struct Case {
        std::string out;
        int exitCode;
        std::string said;
    };
    for (const Case& c : {Case{TestRunFolder() + "/made/with/parents", 0, ""},
                          Case{TestRunFolder() + "/a-file", 2, "a-file is a file"},
                          Case{TestRunFolder() + "/a-file/under", 2, "a-file is a file"}}) {
        const RunResult run = RunInto(path, c.out);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.out << "\n" << run.errors;
        if (c.exitCode == 0) {
            EXPECT_NE(run.report.find("-- files written: 1\n  " + c.out + "/plan.svg\n"), std::string::npos)
                << run.report;
            EXPECT_TRUE(std::ifstream(c.out + "/plan.svg").good());
            EXPECT_NE(run.report.find("== passed (exit 0)\n"), std::string::npos) << run.report;
        } else {
            EXPECT_NE(run.errors.find("--out " + c.out + ": cannot make the folder"), std::string::npos) << run.errors;
            EXPECT_NE(run.errors.find(c.said), std::string::npos) << run.errors;
        }
    }
}

// The report ends with the verdict and the exit code.
TEST(ScenarioRunnerTest, TheReportEndsWithTheVerdictAndTheExitCode)
{
    struct Case {
        const char* name;
        const char* text;
        int exitCode;
        const char* verdict;
    };
    for (const Case& c : {Case{"passes", "{ \"steps\": [] }", 0, "== passed (exit 0)\n"},
                          Case{"differs", "{ \"steps\": [{\"expect\": {\"palette\": {\"exists\": true}}}] }", 4,
                               "== failed: 1 of 1 expectations did not hold (exit 4)\n"},
                          Case{"refusedWhileRunning", "{ \"steps\": [{\"do\": \"select\", \"names\": [\"nobody\"]}] }", 2,
                               "== refused: the scenario or the command line is wrong, or a file could not be written (exit 2)\n"}}) {
        RunResult run = RunFile(WriteScenario(std::string(c.name) + ".json", c.text));
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << "\n" << run.errors;
        const std::string verdict = c.verdict;
        ASSERT_GE(run.report.size(), verdict.size()) << c.name;
        EXPECT_EQ(run.report.substr(run.report.size() - verdict.size()), verdict) << c.name << "\n" << run.report;
    }
}

// The events keep the order things happened in: the click, then the file
// dialog it opened, whose line names the file the add-on got; the files
// written name it too.
TEST(ScenarioRunnerTest, AnExportsEventsAreInOrderAndItsFileIsNamed)
{
    const std::string out = TestRunFolder() + "/export-out";
    const std::string path = WriteScenario("export-order.json", R"({
  "steps": [
    {"do": "loadLibrary"},
    {"do": "menu"},
    {"do": "place", "part": "rf_list", "name": "list",
     "params": {"tableContentTexts": {"rows": 1, "cols": 2, "values": ["ID", "Count"]}}},
    {"do": "select", "names": ["list"]},
    {"do": "fileDialog", "file": "list"},
    {"do": "clickEntry", "entry": 7}
  ]
})");
    const RunResult run = RunInto(path, out);
    ASSERT_EQ(run.exitCode, 0) << run.errors << run.report;
    const std::string& text = run.report;
    const size_t click = text.find("click on entry 7");
    const size_t dialog = text.find("file dialog (save");
    ASSERT_NE(click, std::string::npos) << text;
    ASSERT_NE(dialog, std::string::npos) << text;
    EXPECT_LT(click, dialog) << text;
    EXPECT_NE(text.find("chose " + out + "/list (saved as " + out + "/list.txt)", dialog), std::string::npos) << text;
    EXPECT_NE(text.find("-- files written: 2\n  " + out + "/list.txt\n  " + out + "/plan.svg\n"), std::string::npos)
        << text;
}

TEST(ScenarioRunnerTest, PlacingAPartOfNoActiveLibraryIsRefused)
{
    std::string path = WriteScenario("nolib.json", "{\n \"steps\": [\n  {\"do\": \"place\", \"part\": \"rf_rebar\"}\n ]\n}\n");
    RunResult run = RunFile(path);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.errors.find(":3: part 'rf_rebar' is not in an active library"), std::string::npos) << run.errors;
}

}  // namespace
