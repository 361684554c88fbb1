// simhost24 / simhost25: runs a scenario against the add-on and prints the
// report. See Usage() below and docs/SCENARIOS.md.
#include "simhost/scenario/Scenario.hpp"
#include <iostream>

namespace {

void Usage(std::ostream& out, const char* program)
{
    out << "usage: " << program << " [--addon PATH] [--out DIR] [--prefs FILE] scenario.json\n"
        << "Plays the scenario against the add-on, prints the report and exits with\n"
        << "0 passed, 1 add-on faults or leaks, 2 scenario or command line refused or a\n"
        << "file not written, 3 add-on missing or refused, 4 an expectation did not hold.\n"
        << "  --addon PATH  the add-on to load (default: the scenario's \"addOn\", else\n"
        << "                Armbrix" << HOST_VERSION << ".so beside this program)\n"
        << "  --out DIR     the folder for the run's files (plan.svg, the files chosen in\n"
        << "                file dialogs, temp/ with the saved pictures); made with its\n"
        << "                parents (default: the current folder; no plan.svg)\n"
        << "  --prefs FILE  keep the add-on's preferences in FILE between runs (default:\n"
        << "                none kept, every run starts without stored preferences)\n"
        << "  --help        this text\n";
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string program = "simhost" + std::to_string(HOST_VERSION);
    SimHost::RunOptions options;
    std::string scenario;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            Usage(std::cout, argv[0]);
            return 0;
        }
        if (a == "--addon" || a == "--out" || a == "--prefs") {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                std::cerr << program << ": " << a << " needs a value (see --help)\n";
                return 2;
            }
            std::string& value = a == "--addon" ? options.addOnPath : a == "--out" ? options.outDir : options.preferencesFile;
            value = argv[++i];
        } else if (!a.empty() && a[0] == '-') {
            std::cerr << program << ": unknown option " << a << " (see --help)\n";
            return 2;
        } else if (!scenario.empty()) {
            std::cerr << program << ": one scenario per run: " << scenario << " and " << a << " given\n";
            return 2;
        } else {
            scenario = a;
        }
    }
    if (scenario.empty()) {
        Usage(std::cerr, argv[0]);
        return 2;
    }
    return SimHost::RunScenario(scenario, options, std::cout, std::cerr);
}
