#include "simhost/library/LibraryContainer.hpp"
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>
#include <vector>

namespace {

std::string WriteTemp(const std::string& name, const std::string& text)
{
    // Named by the process: both hosts' tests, and a second build tree's,
    // run at the same time.
    std::string path = ::testing::TempDir() + std::to_string(getpid()) + "_" + name;
    std::ofstream(path) << text;
    static std::vector<std::string> written;
    if (written.empty())
        std::atexit([] {
            for (const std::string& p : written)
                std::remove(p.c_str());
        });
    written.push_back(path);
    return path;
}

struct BrokenCase {
    const char* name;
    const char* text;
    const char* reason;
    int line;
};

class BrokenContainerTest : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenContainerTest, IsRefusedNamingFileLineAndEntry)
{
    const BrokenCase& c = GetParam();
    std::string path = WriteTemp(std::string(c.name) + ".lcf", c.text);
    SimHost::LibraryContainer lib;
    std::string error;
    EXPECT_FALSE(SimHost::ReadLibraryContainer(path, lib, error));
    EXPECT_NE(error.find(path + ":" + std::to_string(c.line) + ":"), std::string::npos) << error;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenContainerTest,
    ::testing::Values(
        BrokenCase{"noid", "container \"x\"\npart rf_rebar 4\nend\n", "part 'rf_rebar' has no unique ID", 2},
        BrokenCase{"shape", "part rf_rebar \"{A}-{B}\" 4\n  matrix ironType 1 1 : 0\nend\n", "unknown shape 'matrix'", 2},
        BrokenCase{"values", "part p \"{A}-{B}\" 4\n  numbers a 1 2 : 1 2 3\nend\n", "more values than 2", 2},
        BrokenCase{"open", "part p \"{A}-{B}\" 4\n  number a 1\n", "not closed", 2},
        BrokenCase{"outside", "number a 1\n", "outside a part", 1}),
    [](const ::testing::TestParamInfo<BrokenCase>& info) { return std::string(info.param.name); });

TEST(LibraryContainerTest, UnreadableFile)
{
    SimHost::LibraryContainer lib;
    std::string error;
    EXPECT_FALSE(SimHost::ReadLibraryContainer("/nonexistent/x.lcf", lib, error));
    EXPECT_NE(error.find("/nonexistent/x.lcf"), std::string::npos);
}

// The shipped containers hold the ten parts, each with its full unique ID,
// and the version range on the nine named ones.
TEST(LibraryContainerTest, ShippedContainersHoldTheTenParts)
{
    for (const char* file : {"Zolva_Reinforcement.lcf", "Zolva_Reinforcement_SLO.lcf"}) {
        SimHost::LibraryContainer lib;
        std::string error;
        ASSERT_TRUE(SimHost::ReadLibraryContainer(std::string(LIBRARY_DIR) + "/" + file, lib, error)) << error;
        ASSERT_EQ(lib.parts.size(), 10u) << file;
        std::set<std::string> withVersion;
        for (const auto& part : lib.parts) {
            EXPECT_EQ(part.uniqueId.size(), 77u) << part.name;
            EXPECT_EQ(part.partType, 4);
            const SimHost::GdlParam* minV = SimHost::FindParam(part.defaults, "minApiVersion");
            const SimHost::GdlParam* maxV = SimHost::FindParam(part.defaults, "maxApiVersion");
            if (minV != nullptr && maxV != nullptr && minV->number == 350 && maxV->number == 350)
                withVersion.insert(part.name);
        }
        EXPECT_EQ(withVersion.size(), 9u);
        EXPECT_EQ(withVersion.count("rf_complex"), 0u);
    }
}

}  // namespace
