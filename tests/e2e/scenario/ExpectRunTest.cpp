// Scenarios as acceptance tests: expectations checked against the real
// add-on, the exit code of a run whose expectation failed, and the step
// that makes a host call fail, swept over every scenario of the project.
#include "tests/e2e/scenario/ScenarioRun.hpp"
#include <dirent.h>
#include <picojson.h>
#include <algorithm>
#include <cctype>
#include <fstream>

namespace {

// A palette opened from the menu and a wall selected, checked at each point.
const char* const ExpectationsThatHold = R"({
  "steps": [
    {"expect": {"palette": {"exists": false}}},
    {"do": "menu"},
    {"expect": {"requests": {"ALIB": 1}}},
    {"expect": {"palette": {"visible": true}}},
    {"expect": {"entry": {"24": "Wall", "25": "Stena"}, "enabled": false}},
    {"do": "loadLibrary"},
    {"do": "place", "part": "rf_rebar", "name": "bar", "params": {"strIronID": "A1", "ironData": {"rows": 1, "cols": 2, "values": [1.5, 2]}}},
    {"do": "addElement", "type": "wall", "name": "w"},
    {"do": "select", "names": ["w"]},
    {"expect": {"entry": 4, "enabled": true}},
    {"expect": {"element": "bar", "param": "strIronID", "value": "A1"}},
    {"expect": {"element": {"part": "rf_rebar"}, "param": "ironData", "value": {"rows": 1, "cols": 2, "values": [1.5, 2.0000000001]}}},
    {"expect": {"element": "w", "field": "type", "value": "wall"}},
    {"expect": {"alerts": []}},
    {"expect": {"commands": []}}
  ]
})";

TEST(ExpectRunTest, ExpectationsThatHoldLeaveTheRunGreen)
{
    RunResult run = RunFile(WriteScenario("holds.json", ExpectationsThatHold));
    EXPECT_EQ(run.exitCode, 0) << run.errors << run.report;
    EXPECT_NE(run.report.find("-- expectations: 10 checked, 0 did not hold"), std::string::npos) << run.report;
    EXPECT_TRUE(run.errors.empty()) << run.errors;
}

// The run goes on after a failed expectation, so that one run names every
// difference; the exit code is the expectations' own.
TEST(ExpectRunTest, AFailedExpectationExitsWithItsOwnCodeAndNamesWhatDiffered)
{
    std::string path = WriteScenario("differs.json", R"({
  "steps": [
    {"do": "loadLibrary"},
    {"do": "place", "part": "rf_rebar", "name": "bar", "params": {"strIronID": "A1"}},
    {"expect": {"element": "bar",
                "param": "strIronID", "value": "B7"}},
    {"do": "menu"},
    {"expect": {"palette": {"visible": true}}},
    {"expect": {"command": "ReinforceSelectedElements", "argument": 8}}
  ]
})");
    RunResult run = RunFile(path);
    EXPECT_EQ(run.exitCode, 4) << run.errors << run.report;
    EXPECT_NE(run.errors.find(path + ":5: step 3: expectation did not hold: element 'bar' parameter strIronID: expected "
                                     "\"B7\", found \"A1\""),
              std::string::npos)
        << run.errors;
    EXPECT_NE(run.errors.find(path + ":9: step 6: expectation did not hold: commands: expected "
                                     "[ReinforceSelectedElements 8], ran none"),
              std::string::npos)
        << run.errors;
    EXPECT_NE(run.report.find("-- expectations: 3 checked, 2 did not hold"), std::string::npos) << run.report;
    EXPECT_NE(run.report.find("  step 3 (line 5): element 'bar' parameter strIronID"), std::string::npos) << run.report;
    EXPECT_NE(run.report.find("memory handles left: 0"), std::string::npos) << run.report;
}

// A layer's state, and elements counted by layer and by database: what
// holds, and what differs named with the layer and the database.
TEST(ExpectRunTest, LayersAndElementsByLayerOrDatabase)
{
    std::string path = WriteScenario("layers.json", R"({
  "steps": [
    {"do": "loadLibrary"},
    {"do": "layer", "index": 2, "name": "Locked", "locked": true},
    {"do": "place", "part": "rf_rebar", "layer": 2},
    {"expect": {"layer": 2, "locked": true, "hidden": false}},
    {"expect": {"elements": {"part": "rf_rebar", "layer": 2, "database": ""}, "count": 1}},
    {"expect": {"layer": 2, "locked": false}},
    {"expect": {"layer": 9, "locked": true}},
    {"expect": {"elements": {"part": "rf_rebar", "layer": 1}, "count": 1}},
    {"expect": {"elements": {"part": "rf_rebar", "database": "B1 beam"}, "count": 1}}
  ]
})");
    RunResult run = RunFile(path);
    EXPECT_EQ(run.exitCode, 4) << run.errors << run.report;
    const char* const differences[] = {
        ":8: step 6: expectation did not hold: layer 2: expected unlocked, it is locked",
        ":9: step 7: expectation did not hold: layer 9: the model has no such layer",
        ":10: step 8: expectation did not hold: objects of part 'rf_rebar' on layer 1: expected 1, the model holds 0",
        ":11: step 9: expectation did not hold: objects of part 'rf_rebar' in \"B1 beam\": expected 1, the model "
        "holds 0",
    };
    for (const char* d : differences)
        EXPECT_NE(run.errors.find(path + d), std::string::npos) << d << "\n" << run.errors;
    EXPECT_NE(run.report.find("-- expectations: 6 checked, 4 did not hold"), std::string::npos) << run.report;
}

// The n-th call that can fail, counted from the step, fails; the report
// says whether it happened and how many such calls came after the step.
TEST(ExpectRunTest, FailNthCallFailsTheCallCountedFromItsStep)
{
    const char* const text = R"({
  "steps": [
    {"do": "menu"},
    {"do": "failNthCall", "n": %N%, "code": "0x81060310"},
    {"do": "paletteMessage", "message": 2},
    {"do": "menu"}
  ]
})";
    auto runWith = [&](Int64 n) {
        std::string scenario = text;
        scenario.replace(scenario.find("%N%"), 3, std::to_string(n));
        return RunFile(WriteScenario("nth" + std::to_string(n) + ".json", scenario));
    };

    RunResult first = runWith(1);
    EXPECT_EQ(first.exitCode, 0) << first.errors << first.report;
    size_t step = first.report.find("-- step 2: failNthCall");
    size_t injected = first.report.find("injected failure of ");
    ASSERT_NE(injected, std::string::npos) << first.report;
    EXPECT_LT(step, injected) << "the failure comes after the step that planned it";
    EXPECT_NE(first.report.find(": 0x81060310", injected), std::string::npos) << first.report;
    size_t planned = first.report.find("  planned failure of call 1 from step 2: happened (");
    ASSERT_NE(planned, std::string::npos) << first.report;
    Int64 after = std::stoll(first.report.substr(first.report.find('(', planned) + 1));
    EXPECT_GT(after, 0);

    RunResult beyond = runWith(after + 1);
    EXPECT_EQ(beyond.exitCode, 0) << beyond.errors << beyond.report;
    EXPECT_EQ(beyond.report.find("injected failure of "), std::string::npos) << beyond.report;
    EXPECT_NE(beyond.report.find("planned failure of call " + std::to_string(after + 1) + " from step 2: did not happen (" +
                                 std::to_string(after) + " calls"),
              std::string::npos)
        << beyond.report;
}

// A file's expectation: its exact bytes, its lines whatever ends them, or
// that it is not there; a difference names the line or the bytes.
TEST(ExpectRunTest, AFileExpectationComparesBytesOrLines)
{
    const std::string file = TestRunFolder() + "/written.txt";
    std::ofstream(file, std::ios::binary) << "a\tb\r\nc\n";
    struct Case {
        const char* check;  // what follows "file": ...
        const char* differs;  // empty when the expectation holds
    };
    for (const Case& c : {
             Case{R"("text": "a\tb\r\nc\n")", ""},
             Case{R"("text": "a\tb\nc\n")", "expected 6 bytes \"a\\tb\\nc\\n\", found 7 bytes \"a\\tb\\r\\nc\\n\""},
             Case{R"("textLines": ["a\tb", "c"])", ""},
             Case{R"("textLines": ["a\tb", "d"])", "line 2: expected \"d\", found \"c\""},
             Case{R"("textLines": ["a\tb"])", "line 2: expected no line, found \"c\""},
             Case{R"("exists": false)", "expected no such file, it was written"},
         }) {
        const std::string text = std::string("{\"steps\": [{\"expect\": {\"file\": \"") + file + "\", " + c.check + "}}]}";
        RunResult run = RunFile(WriteScenario("file.json", text));
        const std::string differs = c.differs;
        EXPECT_EQ(run.exitCode, differs.empty() ? 0 : 4) << c.check << "\n" << run.errors;
        if (!differs.empty()) {
            EXPECT_NE(run.errors.find("file " + file + (differs.rfind("line", 0) == 0 ? " " : ": ") + differs),
                      std::string::npos)
                << c.check << "\n" << run.errors;
        }
    }
    RunResult missing = RunFile(WriteScenario("missing.json", "{\"steps\": [{\"expect\": {\"file\": \"none.txt\", \"text\": \"\"}}]}"));
    EXPECT_EQ(missing.exitCode, 4);
    EXPECT_NE(missing.errors.find("file none.txt: expected it written, there is no such file"), std::string::npos)
        << missing.errors;
}

std::vector<std::string> ProjectScenarios()
{
    std::vector<std::string> files;
    if (DIR* dir = opendir(SCENARIO_DIR)) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name.size() > 5 && name.compare(name.size() - 5, 5, ".json") == 0)
                files.push_back(name);
        }
        closedir(dir);
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Every scenario of the project, played once for every host call it makes
// that can fail, with that call failing (from the start: the add-on's own
// start-up included). A failed call may change the outcome, so expectations
// may fail; an add-on fault, a leak or a refused run may not. One test per
// scenario file and shard (shard k of K fails the calls n = k, k + K, ...),
// named by them, so that ctest spreads the sweep over the cores and a new
// scenario is swept without a line here.
constexpr Int64 Shards = 4;

struct SweepPart {
    std::string scenario;
    Int64 shard;  // 1 to Shards
};

std::vector<SweepPart> SweepParts()
{
    std::vector<SweepPart> parts;
    for (const std::string& name : ProjectScenarios())
        for (Int64 shard = 1; shard <= Shards; ++shard)
            parts.push_back({name, shard});
    return parts;
}

class EveryScenarioTest : public ::testing::TestWithParam<SweepPart> {};

TEST_P(EveryScenarioTest, SurvivesAnyOneFailingHostCall)
{
    const std::string& name = GetParam().scenario;
    std::ifstream in(std::string(SCENARIO_DIR) + "/" + name);
    picojson::value doc;
    std::string error = picojson::parse(doc, in);
    ASSERT_TRUE(error.empty()) << name << ": " << error;
    // The host plans one failing call at a time: a scenario that plans its
    // own would take the place of the sweep's, which would then test nothing.
    if (doc.serialize().find("\"failNthCall\"") != std::string::npos)
        GTEST_SKIP() << name << " plans a failing call of its own";
    picojson::object& top = doc.get<picojson::object>();
    picojson::array setup = top.count("setup") != 0 ? top["setup"].get<picojson::array>() : picojson::array();
    const Int64 limit = 1000;
    Int64 n = GetParam().shard;
    for (; n <= limit; n += Shards) {
        picojson::object fault;
        fault["do"] = picojson::value("failNthCall");
        fault["n"] = picojson::value(static_cast<double>(n));
        fault["code"] = picojson::value("0x81060310");
        picojson::array swept = setup;
        swept.insert(swept.begin(), picojson::value(fault));
        top["setup"] = picojson::value(swept);
        RunResult run = RunFile(WriteScenario("sweep_" + name, doc.serialize(true)));
        EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 4)
            << name << ", call " << n << " failing: exit " << run.exitCode << "\n"
            << run.errors << run.report;
        if (run.report.find("from setup step 1: did not happen") != std::string::npos)
            break;
        ASSERT_NE(run.report.find("from setup step 1: happened"), std::string::npos) << name << "\n" << run.report;
    }
    EXPECT_LE(n, limit) << name << " makes more than " << limit << " host calls";
}

TEST(EveryScenarioTest, FindsTheProjectsScenarios)
{
    EXPECT_FALSE(ProjectScenarios().empty()) << "no scenarios in " << SCENARIO_DIR;
}

// "placing-demo.json", shard 2: "placing_demo_2of4" (test names take
// letters, digits and underscores).
std::string SweepPartName(const ::testing::TestParamInfo<SweepPart>& info)
{
    const std::string& file = info.param.scenario;
    std::string name = file.substr(0, file.size() - 5);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name + "_" + std::to_string(info.param.shard) + "of" + std::to_string(Shards);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, EveryScenarioTest, ::testing::ValuesIn(SweepParts()), SweepPartName);

}  // namespace
