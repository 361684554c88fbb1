// The add-on's ten library parts, the object library and parameter access.
#pragma once
#include "api/APIdefs.hpp"

// In the order of the table below; the numbers index LibraryPartIds.
enum class LibraryPart : Int32 {
    Mesh = 0,
    Rebar = 1,
    FourthComplexObject = 2,
    SingleRebar = 3,
    Stirrup = 4,
    List = 5,
    Crowning = 6,
    Column = 7,
    Beam = 8,
    Concrete = 9,
};
constexpr Int32 LibraryPartCount = 10;

// Makes sure the add-on's library container is among the host's active
// libraries; 0 when it is afterwards, else the host's code.
GSErrCode EnsureLibraryLoaded();
// EnsureLibraryLoaded, with the "Library loading failed!" alert on failure.
void LoadLibraryOrAlert();
