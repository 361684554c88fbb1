// The kinds of complex element, here so that both the complex commands and
// the schedule's reading pass, which an edit run calls with its kind, name
// them.
#pragma once
#include "platform/api/APIdefs.hpp"

enum ComplexElementKind : Int32 {
    CrowningKind = 1,
    BeamKind = 2,
    ColumnKind = 3,
};

// The kind under which the fourth complex object is edited; no command runs
// an edit of it, but the reading pass recognises it.
constexpr ComplexElementKind FourthComplexObjectKind = static_cast<ComplexElementKind>(4);
