// What the benchmarks over the stand-in host share: a model of placed bars.
#pragma once
#include "simhost/core/SimHost.hpp"
#include <memory>

namespace Bench {

// How many kinds of bar the placed bars come in.
constexpr int Kinds = 200;

// A host with the object library active and `count` placed bars of `Kinds`
// kinds in a random (but repeatable) order, none with an ID.
std::unique_ptr<SimHost::Host> HostWithBars(int count);

}  // namespace Bench
