// What the benchmarks share: wall time, and the memory the process holds
// through operator new (counted by BenchSupport.cpp, which replaces it).
#pragma once
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <vector>

namespace Bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Bytes held now through operator new.
size_t CurrentBytes();
// The most held since the last StartPeak, which starts at what is held now.
size_t PeakBytes();
void StartPeak();

// The sizes given on the command line, or the defaults when none are.
inline std::vector<int> Sizes(int argc, char** argv, std::vector<int> defaults)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    return sizes.empty() ? defaults : sizes;
}

}  // namespace Bench
