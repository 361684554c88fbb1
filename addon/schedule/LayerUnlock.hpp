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
        error = HostModifyAttribute(&unlocked);
        unlockedHere = error == NoError;
    }
    ~LayerUnlock() { Relock(); }

    // The host's code when the layer was locked and could not be opened: a
    // change on it would be refused.
    GSErrCode Error() const { return error; }

    // Locks the layer again now, when it was opened here; the host's code,
    // so that a command can fail its step when the layer would stay open.
    GSErrCode Relock()
    {
        if (!unlockedHere)
            return NoError;
        unlockedHere = false;
        GSErrCode err = HostModifyAttribute(&attribute);
        if (err != NoError)
            err = HostModifyAttribute(&attribute);
        return err;
    }
    LayerUnlock(const LayerUnlock&) = delete;
    LayerUnlock& operator=(const LayerUnlock&) = delete;

private:
    API_Attribute attribute;
    bool unlockedHere = false;
    GSErrCode error = NoError;
};
