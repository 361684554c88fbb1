// The one value of pi for every layer, each file taking it with `using GS::Pi`.
#pragma once

namespace GS {
constexpr double Pi = 3.14159265358979323846;
}
