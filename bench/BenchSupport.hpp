// What the benchmarks share: wall time, and the memory the process holds
// through operator new (counted by BenchSupport.cpp, which replaces it).
#pragma once
#include <chrono>
#include <cstddef>

namespace Bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Bytes held now through operator new.
size_t CurrentBytes();
// The most held since the last StartPeak, which starts at what is held now.
size_t PeakBytes();
void StartPeak();

}  // namespace Bench
