#include "addon/services/ResStrings.hpp"
#include "addon/services/AddOnGlobals.hpp"
#include "addon/host/HostCalls.hpp"
#include <cstdio>
#include <cstring>

namespace {
char g_slots[ResStringRing::SlotCount][ResStringRing::SlotSize];
Int16 g_slotIndex = 0;
}  // namespace

const char* GetResString(Int16 listId, Int16 index)
{
    ++g_slotIndex;
    if (g_slotIndex == ResStringRing::SlotCount)
        g_slotIndex = 0;
    char* slot = g_slots[g_slotIndex];
    if (!HostGetResourceString(slot, listId, index, OwnResourceModule())) {
        char text[ResStringRing::SlotSize];
        std::snprintf(text, sizeof text, "Error getting resource string: resInd:%i, strInd:%i (retI:%i)!",
                      static_cast<int>(listId), static_cast<int>(index), static_cast<int>(g_slotIndex));
        std::memcpy(slot, text, sizeof text);
    }
    return slot;
}

GS::UniString GetResUniString(Int16 listId, Int16 index)
{
    GS::UniString text;
    if (!HostGetResourceUniString(&text, listId, index, OwnResourceModule()))
        return GS::UniString();
    return text;
}

const char* GetResString(RSStringId id) { return GetResString(id.listId, id.index); }

GS::UniString GetResUniString(RSStringId id) { return GetResUniString(id.listId, id.index); }

namespace ResStringRing {
Int16 CurrentSlot() { return g_slotIndex; }
}
