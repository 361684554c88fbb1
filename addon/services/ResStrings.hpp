// Texts from the add-on's string lists.
#pragma once
#include "platform/gs/UniString.hpp"

// The text of entry `index` (1-based) of string list `listId`, as an 8-bit
// C string in the host's default code page. It lives in one of ten rotating
// buffers: valid through the next nine calls, never to be freed. A missing
// entry yields an error text naming the list, entry and buffer instead.
const char* GetResString(Int16 listId, Int16 index);

// The same text straight into a string (no rotating buffer); empty when the
// entry is missing.
GS::UniString GetResUniString(Int16 listId, Int16 index);

namespace ResStringRing {
constexpr int SlotCount = 10;
constexpr int SlotSize = 255;
// For tests: the slot the last call used.
Int16 CurrentSlot();
}
