// GS::HashTable: a map from keys to values without order, as the host's
// requests take it (the elements to highlight and their colours). A key
// type needs GS::HashValue(const K&) and operator==.
#pragma once
#include "platform/gs/GSTypes.hpp"
#include <cstring>
#include <unordered_map>
#include <utility>

namespace GS {

template <typename K, typename V>
class HashTable {
    struct Hasher {
        std::size_t operator()(const K& key) const { return static_cast<std::size_t>(HashValue(key)); }
    };
    using Map = std::unordered_map<K, V, Hasher>;

public:
    USize GetSize() const { return static_cast<USize>(items.size()); }
    bool IsEmpty() const { return items.empty(); }
    void Clear() { items.clear(); }

    // False, leaving the table as it was, when the key is there already.
    bool Add(const K& key, const V& value) { return items.emplace(key, value).second; }
    // Adds the key or replaces its value.
    void Put(const K& key, const V& value) { items[key] = value; }
    bool Delete(const K& key) { return items.erase(key) > 0; }
    bool ContainsKey(const K& key) const { return items.find(key) != items.end(); }
    // False when the key is not there; `value` is then left as it was.
    bool Get(const K& key, V* value) const
    {
        auto it = items.find(key);
        if (it == items.end())
            return false;
        *value = it->second;
        return true;
    }

    typename Map::const_iterator begin() const { return items.begin(); }
    typename Map::const_iterator end() const { return items.end(); }

private:
    Map items;
};

}  // namespace GS
