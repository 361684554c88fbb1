// A table from keys to values in one array, for lookups on hot paths: open
// addressing with linear probing, a removed entry's place filled again by
// shifting the rest of its run back (no tombstones). A lookup is a hash and,
// mostly, one probe into memory that holds the key and the value side by
// side, where a node-based map reads a bucket and then a node elsewhere.
// `Hash` gives a well-mixed 64-bit value of a key (MixBits helps): the slot
// is taken from its low bits.
#pragma once
#include "platform/gs/GSTypes.hpp"
#include <cstddef>
#include <vector>

namespace GS {

// Spreads every input bit over the whole value (the finaliser of SplitMix64),
// so that keys differing in a few bits, or aligned addresses whose low bits
// are all zero, still reach every slot.
inline UInt64 MixBits(UInt64 h)
{
    h ^= h >> 30;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 27;
    h *= 0x94D049BB133111EBull;
    h ^= h >> 31;
    return h;
}

template <typename Key, typename Value, typename Hash> class FlatTable {
public:
    Value* Find(const Key& key)
    {
        const size_t at = Locate(key);
        return at != NotFound ? &slots[at].value : nullptr;
    }
    const Value* Find(const Key& key) const
    {
        const size_t at = Locate(key);
        return at != NotFound ? &slots[at].value : nullptr;
    }
    bool Contains(const Key& key) const { return Locate(key) != NotFound; }
    // Adds the entry; false, and the table unchanged, when the key is in it.
    bool Insert(const Key& key, const Value& value)
    {
        if ((count + 1) * 2 > slots.size())
            Grow();
        size_t i = Home(key);
        for (; slots[i].used; i = Next(i))
            if (slots[i].key == key)
                return false;
        slots[i].key = key;
        slots[i].value = value;
        slots[i].used = true;
        ++count;
        return true;
    }
    bool Erase(const Key& key)
    {
        size_t i = Locate(key);
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
        Key key{};
        Value value{};
        bool used = false;
    };
    static constexpr size_t NotFound = static_cast<size_t>(-1);

    size_t Home(const Key& key) const { return static_cast<size_t>(Hash{}(key)) & (slots.size() - 1); }
    size_t Next(size_t i) const { return (i + 1) & (slots.size() - 1); }
    size_t Locate(const Key& key) const
    {
        if (slots.empty())
            return NotFound;
        for (size_t i = Home(key); slots[i].used; i = Next(i))
            if (slots[i].key == key)
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

}  // namespace GS
