// A locked layer unlocked for as long as this lives, so that a change on it
// goes through; it is locked again on every way out, exceptions included.
#pragma once
#include "addon/schedule/ElementCollector.hpp"

class LayerUnlock {
public:
    explicit LayerUnlock(Int16 layer) : layer(layer), wasLocked(IsLayerLocked(layer))
    {
        if (wasLocked)
            UnlockLayer(layer);
    }
    ~LayerUnlock()
    {
        if (wasLocked)
            LockLayer(layer);
    }
    LayerUnlock(const LayerUnlock&) = delete;
    LayerUnlock& operator=(const LayerUnlock&) = delete;

private:
    Int16 layer;
    bool wasLocked;
};
