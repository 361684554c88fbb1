// A table from GUIDs to values, for the model's lookups by GUID: open
// addressing with linear probing in one array, a removed entry's place
// filled again by shifting the rest of its run back (no tombstones). A
// lookup is a hash and, mostly, one probe into memory that holds the key
// and the value side by side, where a node-based map reads a bucket and then
// a node elsewhere; over a model of many elements that is one cache miss
// in place of two.
#pragma once
#include "platform/api/APIdefs.hpp"
#include <cstring>
#include <vector>

namespace SimHost {

template <typename Value> class GuidTable {
public:
    Value* Find(const API_Guid& guid)
    {
        const size_t at = Locate(guid);
        return at != NotFound ? &slots[at].value : nullptr;
    }
    const Value* Find(const API_Guid& guid) const
    {
        const size_t at = Locate(guid);
        return at != NotFound ? &slots[at].value : nullptr;
    }
    bool Contains(const API_Guid& guid) const { return Locate(guid) != NotFound; }
    // Adds the entry; false, and the table unchanged, when the GUID is in it.
    bool Insert(const API_Guid& guid, const Value& value)
    {
        if ((count + 1) * 2 > slots.size())
            Grow();
        size_t i = Home(guid);
        for (; slots[i].used; i = Next(i))
            if (slots[i].key == guid)
                return false;
        slots[i].key = guid;
        slots[i].value = value;
        slots[i].used = true;
        ++count;
        return true;
    }
    bool Erase(const API_Guid& guid)
    {
        size_t i = Locate(guid);
        if (i == NotFound)
            return false;
        // Moves back every later entry of the run that may stand in the
        // freed slot, so that no lookup stops early at the gap.
        for (size_t j = Next(i); slots[j].used; j = Next(j)) {
            const size_t home = Home(slots[j].key);
            const bool between = i <= j ? (i < home && home <= j) : (i < home || home <= j);
            if (!between) {
                slots[i] = slots[j];
                i = j;
            }
        }
        slots[i] = Slot{};
        --count;
        return true;
    }
    void Clear()
    {
        slots.assign(slots.size(), Slot{});
        count = 0;
    }
    size_t Size() const { return count; }

private:
    struct Slot {
        API_Guid key{};
        Value value{};
        bool used = false;
    };
    static constexpr size_t NotFound = static_cast<size_t>(-1);

    // The GUID's two halves mixed: GUIDs made by a counter differ in a few
    // bytes only, and every byte must reach the bits the slot is taken from.
    size_t Home(const API_Guid& guid) const
    {
        UInt64 halves[2];
        std::memcpy(halves, &guid, sizeof halves);
        UInt64 h = halves[0] * 0x9E3779B97F4A7C15ull ^ (halves[1] + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full;
        h ^= h >> 31;
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 29;
        return static_cast<size_t>(h) & (slots.size() - 1);
    }
    size_t Next(size_t i) const { return (i + 1) & (slots.size() - 1); }
    size_t Locate(const API_Guid& guid) const
    {
        if (slots.empty())
            return NotFound;
        for (size_t i = Home(guid); slots[i].used; i = Next(i))
            if (slots[i].key == guid)
                return i;
        return NotFound;
    }
    void Grow()
    {
        std::vector<Slot> old(slots.size() < 16 ? 16 : slots.size() * 2);
        old.swap(slots);
        count = 0;
        for (const Slot& s : old)
            if (s.used)
                Insert(s.key, s.value);
    }

    std::vector<Slot> slots;  // a power of two in size, at most half full
    size_t count = 0;
};

}  // namespace SimHost
