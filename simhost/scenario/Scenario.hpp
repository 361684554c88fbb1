// Scenario files: a model, the add-on to load, faults to inject and the
// steps to play, as JSON. See docs/SCENARIOS.md for the format.
#pragma once
#include "simhost/core/SimHost.hpp"
#include "simhost/scenario/Json.hpp"
#include <iosfwd>
#include <string>

namespace SimHost {

struct RunOptions {
    std::string addOnPath;  // empty: beside the executable
    std::string outDir;     // where exported files go; empty: the current folder
    // The file that keeps the add-on's preferences between runs (one per
    // installation); empty: they live for the run only.
    std::string preferencesFile;
};

// Runs a scenario and writes the report. Returns the process exit code:
// 0 success, 1 the run showed add-on faults or leaks, 2 a malformed
// scenario, 3 the add-on was missing or refused, 4 an expectation did not
// hold (each named on `errors` and in the report).
int RunScenario(const std::string& scenarioPath, const RunOptions& options, std::ostream& report, std::ostream& errors);

// The readable report of what the host saw.
void WriteReport(const Host& host, std::ostream& out);

}  // namespace SimHost
