// Writing a scenario file and running it with the real add-on.
#pragma once
#include "simhost/scenario/Scenario.hpp"
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

// The folder of this test process, made for it and removed when it ends:
// two runs of the tests (two build trees, both hosts, ctest's parallel
// jobs) never write each other's files.
inline const std::string& TestRunFolder()
{
    static const std::string folder = [] {
        std::string pattern = ::testing::TempDir() + "simhost" + std::to_string(HOST_VERSION) + "-test-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a folder for the test's files: " + pattern);
        static const std::string made = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(made, ignored);
        });
        return pattern;
    }();
    return folder;
}

inline std::string WriteScenario(const std::string& name, const std::string& text)
{
    std::string path = TestRunFolder() + "/" + name;
    std::ofstream(path) << text;
    return path;
}

struct RunResult {
    int exitCode;
    std::string report, errors;
};

// A run with an out folder: the plan, the pictures and the files chosen in
// file dialogs are written there.
inline RunResult RunInto(const std::string& path, const std::string& outDir)
{
    SimHost::RunOptions options;
    options.addOnPath = ADDON_PATH;
    options.outDir = outDir;
    std::ostringstream report, errors;
    const int code = SimHost::RunScenario(path, options, report, errors);
    return {code, report.str(), errors.str()};
}

// Each run writes its files (the ones chosen in file dialogs) into a
// folder of its own.
inline RunResult RunFile(const std::string& path, const std::string& addOn = ADDON_PATH)
{
    static int runs = 0;
    SimHost::RunOptions options;
    options.addOnPath = addOn;
    const std::string out = TestRunFolder() + "/run" + std::to_string(++runs);
    std::filesystem::create_directories(out);
    // The runner writes into the current folder without an out folder;
    // the run's own folder takes that place.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(out);
    std::ostringstream report, errors;
    int code = SimHost::RunScenario(path, options, report, errors);
    std::filesystem::current_path(before);
    return {code, report.str(), errors.str()};
}
