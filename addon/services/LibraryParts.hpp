// The add-on's ten library parts and its object library.
#pragma once
#include "platform/api/APIdefs.hpp"

// In the order of LibraryPartIds.
enum class LibraryPart : Int32 {
    Mesh = 0,
    Rebar = 1,
    FourthComplexObject = 2,  // historical name: a complex-element part, also taken as a wall layer
    SingleRebar = 3,
    Stirrup = 4,
    List = 5,
    Crowning = 6,
    Column = 7,
    Beam = 8,
    Concrete = 9,
};
constexpr Int32 LibraryPartCount = 10;

struct LibraryPartId {
    const char* uniqueId;  // "{main GUID}-{null GUID}", 77 characters
    const char* mainGuid;  // "{main GUID}", 38 characters
};
extern const LibraryPartId LibraryPartIds[LibraryPartCount];

// Finds a part in the host's libraries by its full unique ID; 0 and its
// library index, or the host's code when it is not available.
GSErrCode FindLibraryPart(LibraryPart part, Int32* libInd);

// Tells which of the add-on's parts a library index belongs to (the first
// 38 characters of the part's unique ID decide); false for foreign parts.
// `readError`, when given, receives the host's code when the part could
// not be read (then false tells nothing about the part).
bool IdentifyLibraryPart(Int32 libInd, LibraryPart* part, GSErrCode* readError = nullptr);

// Makes sure the add-on's library container is among the host's active
// libraries; 0 when it is afterwards, else the host's code.
GSErrCode EnsureLibraryLoaded();
// EnsureLibraryLoaded, with the "Library loading failed!" alert on failure.
void LoadLibraryOrAlert();
