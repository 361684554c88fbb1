// GUIDs as keys: their hash, for the host's sets of GUIDs, and the model's
// tables by GUID (elements, wall numbers), the flat table of the class
// libraries keyed by GUIDs.
#pragma once
#include "platform/api/APIdefs.hpp"
#include "platform/gs/FlatTable.hpp"

namespace SimHost {

// The class libraries' GUID hash, its bits spread over the whole value:
// GUIDs made by a counter differ in a few bytes only, and every byte must
// reach the bits a table's slot is taken from.
struct GuidHash {
    size_t operator()(const API_Guid& guid) const { return static_cast<size_t>(GS::MixBits(HashValue(guid))); }
};

template <typename Value> using GuidTable = GS::FlatTable<API_Guid, Value, GuidHash>;

}  // namespace SimHost
