// Writing a scenario file and running it with the real add-on.
#pragma once
#include "simhost/scenario/Scenario.hpp"
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

// The file name carries the host version: both hosts' tests run at once
// and must not write each other's files.
inline std::string WriteScenario(const std::string& name, const std::string& text)
{
    std::string path = ::testing::TempDir() + "host" + std::to_string(HOST_VERSION) + "_" + name;
    std::ofstream(path) << text;
    return path;
}

struct RunResult {
    int exitCode;
    std::string report, errors;
};

inline RunResult RunFile(const std::string& path, const std::string& addOn = ADDON_PATH)
{
    SimHost::RunOptions options;
    options.addOnPath = addOn;
    std::ostringstream report, errors;
    int code = SimHost::RunScenario(path, options, report, errors);
    return {code, report.str(), errors.str()};
}
