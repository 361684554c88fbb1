// Texts from the add-on's string lists.
//
// The code names a text as ResStr::<List>::<Name>. Those constants are
// written by the resource compiler from addon/resources/<lang>/*.txt into
// the build folder (ResStringIds.hpp), so a name that no resource file
// declares does not compile.
#pragma once
#include "addon/services/ResStringIds.hpp"
#include "platform/gs/UniString.hpp"

// The text as an 8-bit C string in the host's default code page. It lives
// in one of ten rotating buffers: valid through the next nine calls, never
// to be freed. A missing entry yields an error text naming the list, entry
// and buffer instead.
const char* GetResString(RSStringId id);

// The same text straight into a string (no rotating buffer); empty when the
// entry is missing.
GS::UniString GetResUniString(RSStringId id);

// By list id and 1-based entry number, for texts that have no name (and
// for the code that walks a list).
const char* GetResString(Int16 listId, Int16 index);
GS::UniString GetResUniString(Int16 listId, Int16 index);

namespace ResStringRing {
constexpr int SlotCount = 10;
constexpr int SlotSize = 255;
// For tests: the slot the last call used.
Int16 CurrentSlot();
}
