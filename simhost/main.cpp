// simhost24 / simhost25: runs a scenario against the add-on and prints the
// report. Usage: simhostNN [--addon PATH] [--out DIR] scenario.json
#include "simhost/scenario/Scenario.hpp"
#include <iostream>

int main(int argc, char** argv)
{
    SimHost::RunOptions options;
    std::string scenario;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--addon" && i + 1 < argc)
            options.addOnPath = argv[++i];
        else if (a == "--out" && i + 1 < argc)
            options.outDir = argv[++i];
        else if (!a.empty() && a[0] == '-') {
            std::cerr << "unknown option " << a << "\n";
            return 2;
        } else
            scenario = a;
    }
    if (scenario.empty()) {
        std::cerr << "usage: " << argv[0] << " [--addon PATH] [--out DIR] scenario.json\n";
        return 2;
    }
    return SimHost::RunScenario(scenario, options, std::cout, std::cerr);
}
