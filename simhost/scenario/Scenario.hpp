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
    // The folder for the run's files (made with its parents): the files the
    // user chooses in file dialogs, plan.svg and temp/; empty: the current
    // folder, and no plan.svg.
    std::string outDir;
    // The file that keeps the add-on's preferences between runs; empty (the
    // default): they live for the run only, so that runs repeat.
    std::string preferencesFile;
};

// Runs a scenario and writes the report. Returns the process exit code:
// 0 success, 1 the run showed add-on faults or leaks, 2 refused: a
// malformed scenario (before anything runs), a step refused while it ran,
// an out folder that cannot be made or a file the run could not write,
// 3 the add-on was missing or refused, 4 an expectation did not hold (each
// named on `errors`, and in the report once the run began). A report ends
// with the verdict and the exit code.
int RunScenario(const std::string& scenarioPath, const RunOptions& options, std::ostream& report, std::ostream& errors);

// The readable report of what the host saw.
void WriteReport(const Host& host, std::ostream& out);

}  // namespace SimHost
