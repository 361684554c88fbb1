// The export scenario as a user runs it: the saved file read back as a
// spreadsheet reads tab-separated text.
#include "tests/e2e/scenario/ScenarioRun.hpp"
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <stdlib.h>

namespace {

using Table = std::vector<std::vector<std::string>>;

// Tab-separated text: records end with CR LF, fields are split at TABs.
// False when a record ends otherwise (a bare LF, or text after the last CR LF).
bool ReadTabSeparated(const std::string& path, Table* table)
{
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find("\r\n", at);
        if (end == std::string::npos)
            return false;
        std::string line = text.substr(at, end - at);
        if (line.find('\n') != std::string::npos || line.find('\r') != std::string::npos)
            return false;
        std::vector<std::string> fields;
        size_t from = 0;
        for (size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', from)) {
            fields.push_back(line.substr(from, tab - from));
            from = tab + 1;
        }
        fields.push_back(line.substr(from));
        table->push_back(fields);
        at = end + 2;
    }
    return true;
}

// The repository's scenarios folder, from this file's place in it.
std::string RepositoryScenario(const std::string& name)
{
    std::string self = __FILE__;
    return self.substr(0, self.rfind("/tests/e2e/")) + "/scenarios/" + name;
}

TEST(ExportScenarioTest, SavedListOpensAsTheTable)
{
    char pattern[] = "/tmp/armbrix-scenario-XXXXXX";
    std::string out = mkdtemp(pattern);
    const RunResult run = RunInto(RepositoryScenario("export.json"), out);
    EXPECT_EQ(run.exitCode, 0) << run.errors << run.report;

    Table table;
    EXPECT_TRUE(ReadTabSeparated(out + "/cutting-list.txt", &table));
    const Table expected = {{"ID", "\xC3\x98 [mm]", "Length [m]", "Count"}, {"A1", "12", "3.45", "8"}, {"B2", "8", "1.20", "24"}};
    EXPECT_EQ(table, expected);
    // One refusal for the wall beside the list, then the cancelled dialog
    // and the saved file.
    const std::string& text = run.report;
    size_t alertsAt = text.find("-- alerts\n");
    ASSERT_NE(alertsAt, std::string::npos) << text;
    std::string alerts = text.substr(alertsAt, text.find("\n--", alertsAt + 1) - alertsAt);
    EXPECT_NE(alerts.find("1. " + std::string(HOST_VERSION == 24 ? "Select only one list" : "Izberite samo en seznam")),
              std::string::npos)
        << text;
    EXPECT_EQ(alerts.find("2. "), std::string::npos) << "one alert only\n" << text;
    EXPECT_NE(text.find("filter \"*.txt\" (txt, extension added)): cancelled"), std::string::npos) << text;
    EXPECT_NE(text.find("chose " + out + "/cutting-list"), std::string::npos) << text;
    std::system(("rm -rf '" + out + "'").c_str());
}

}  // namespace
