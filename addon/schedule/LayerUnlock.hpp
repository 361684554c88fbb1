// A locked layer unlocked for as long as this lives, so that a change on it
// goes through; it is locked again on every way out, exceptions included.
// The layer's record read at the unlock is the one written back, so that
// locking again needs no further read; a lock the host refuses is asked
// once more, since a layer left unlocked would stay open to every edit.
#pragma once
#include "addon/host/HostCalls.hpp"
#include <cstring>

class LayerUnlock {
public:
    explicit LayerUnlock(Int32 layer)
    {
        std::memset(static_cast<void*>(&attribute), 0, sizeof attribute);
        attribute.header.typeID = API_LayerID;
        attribute.header.index = layer;
        if (HostGetAttribute(&attribute) != NoError || (attribute.header.flags & APILay_Locked) == 0)
            return;
        API_Attribute unlocked = attribute;
        unlocked.header.flags &= ~APILay_Locked;
        unlockedHere = HostModifyAttribute(&unlocked) == NoError;
    }
    ~LayerUnlock()
    {
        if (unlockedHere && HostModifyAttribute(&attribute) != NoError)
            HostModifyAttribute(&attribute);
    }
    LayerUnlock(const LayerUnlock&) = delete;
    LayerUnlock& operator=(const LayerUnlock&) = delete;

private:
    API_Attribute attribute;
    bool unlockedHere = false;
};
