#include "bench/BenchBars.hpp"
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>
#include "tests/support/GdlParams.hpp"

namespace Bench {
namespace {

using TestParams::Numbers;

}  // namespace

std::unique_ptr<SimHost::Host> HostWithBars(int count)
{
    auto host = std::make_unique<SimHost::Host>();
    std::string error;
    if (!host->libraries.Activate(IO::Location(std::string(LIBRARY_DIR) + "/Zolva_Reinforcement.lcf"), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(2);
    }
    std::mt19937 random(12345);
    for (int n = 0; n < count; ++n) {
        const int kind = std::uniform_int_distribution<int>(0, Kinds - 1)(random);
        host->PlaceObject("rf_rebar", {Numbers("ironType", 1, 4, {0, 1, 2, 0}),
                                       Numbers("ironData", 1, 2, {1.0 + kind % 10, 0.5 + kind / 10}),
                                       Numbers("ironExtraData", 1, 3, {0, 8.0 + 2 * (kind % 5), 1})});
    }
    return host;
}

}  // namespace Bench
