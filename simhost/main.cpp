// simhost24 / simhost25: runs a scenario against the add-on and prints the
// report. Usage: simhostNN [--addon PATH] [--out DIR] [--prefs FILE] scenario.json
// The add-on's preferences are kept between runs in FILE, by default
// simhostNN.prefs beside the executable (the stand-in installation's own).
#include "simhost/scenario/Scenario.hpp"
#include <iostream>

int main(int argc, char** argv)
{
    SimHost::RunOptions options;
    std::string scenario;
    const std::string exe = argv[0];
    const size_t slash = exe.find_last_of('/');
    options.preferencesFile = (slash == std::string::npos ? std::string(".") : exe.substr(0, slash)) + "/simhost" +
                              std::to_string(HOST_VERSION) + ".prefs";
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--addon" && i + 1 < argc)
            options.addOnPath = argv[++i];
        else if (a == "--out" && i + 1 < argc)
            options.outDir = argv[++i];
        else if (a == "--prefs" && i + 1 < argc)
            options.preferencesFile = argv[++i];
        else if (!a.empty() && a[0] == '-') {
            std::cerr << "unknown option " << a << "\n";
            return 2;
        } else
            scenario = a;
    }
    if (scenario.empty()) {
        std::cerr << "usage: " << argv[0] << " [--addon PATH] [--out DIR] [--prefs FILE] scenario.json\n";
        return 2;
    }
    return SimHost::RunScenario(scenario, options, std::cout, std::cerr);
}
