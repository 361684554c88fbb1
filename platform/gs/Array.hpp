// GS::Array (0-based) and GS::VAArray (1-based) containers.
#pragma once
#include "platform/gs/GSTypes.hpp"
#include <algorithm>
#include <cassert>
#include <initializer_list>
#include <stdexcept>
#include <vector>

namespace GS {

using UIndex = UInt32;
constexpr UIndex MaxUIndex = 0xFFFFFFFFu;

// Out-of-range access throws, as the host's containers report a broken
// precondition; the add-on's boundaries catch it.
class PLATFORM_API OutOfRangeException : public std::out_of_range {
public:
    OutOfRangeException() : std::out_of_range("GS container index out of range") {}
};

template <typename T>
class Array {
public:
    Array() = default;
    Array(std::initializer_list<T> items) : items(items) {}

    UIndex GetSize() const { return static_cast<UIndex>(items.size()); }
    bool IsEmpty() const { return items.empty(); }
    void Clear() { items.clear(); }
    void SetSize(UIndex n) { items.resize(n); }
    void SetCapacity(UIndex n) { items.reserve(n); }

    void Push(const T& item) { items.push_back(item); }
    void Push(T&& item) { items.push_back(std::move(item)); }
    T Pop()
    {
        Check(0, items.size());
        T last = std::move(items.back());
        items.pop_back();
        return last;
    }
    void Insert(UIndex at, const T& item)
    {
        if (at > items.size())
            throw OutOfRangeException();
        items.insert(items.begin() + at, item);
    }
    void Delete(UIndex at)
    {
        Check(at, items.size());
        items.erase(items.begin() + at);
    }
    void Append(const Array& other) { items.insert(items.end(), other.items.begin(), other.items.end()); }

    T& operator[](UIndex i) { Check(i, items.size()); return items[i]; }
    const T& operator[](UIndex i) const { Check(i, items.size()); return items[i]; }
    T& Get(UIndex i) { return (*this)[i]; }
    const T& Get(UIndex i) const { return (*this)[i]; }
    T& GetLast() { Check(0, items.size()); return items.back(); }
    const T& GetLast() const { Check(0, items.size()); return items.back(); }

    UIndex FindFirst(const T& item) const
    {
        auto it = std::find(items.begin(), items.end(), item);
        return it == items.end() ? MaxUIndex : static_cast<UIndex>(it - items.begin());
    }
    bool Contains(const T& item) const { return FindFirst(item) != MaxUIndex; }

    bool operator==(const Array& other) const { return items == other.items; }
    bool operator!=(const Array& other) const { return items != other.items; }

    typename std::vector<T>::iterator begin() { return items.begin(); }
    typename std::vector<T>::iterator end() { return items.end(); }
    typename std::vector<T>::const_iterator begin() const { return items.begin(); }
    typename std::vector<T>::const_iterator end() const { return items.end(); }

private:
    static void Check(USize i, USize n)
    {
        if (i >= n)
            throw OutOfRangeException();
    }
    std::vector<T> items;
};

// A 1-based array: items 1 .. GetItemCount().
template <typename T>
class VAArray {
public:
    explicit VAArray(UInt32 initialCapacity = 50) { items.reserve(initialCapacity); }

    Int32 GetItemCount() const { return static_cast<Int32>(items.size()); }
    bool IsEmpty() const { return items.empty(); }
    UInt32 GetCapacity() const { return static_cast<UInt32>(items.capacity()); }
    void Clear() { items.clear(); }

    // Appends an item and returns its 1-based index.
    Int32 Push(const T& item)
    {
        items.push_back(item);
        return static_cast<Int32>(items.size());
    }
    void Insert(Int32 at, const T& item)
    {
        if (at < 1 || static_cast<USize>(at) > items.size() + 1)
            throw OutOfRangeException();
        items.insert(items.begin() + (at - 1), item);
    }
    void Delete(Int32 at)
    {
        Check(at);
        items.erase(items.begin() + (at - 1));
    }

    T& operator[](Int32 i) { Check(i); return items[static_cast<USize>(i - 1)]; }
    const T& operator[](Int32 i) const { Check(i); return items[static_cast<USize>(i - 1)]; }

    typename std::vector<T>::iterator begin() { return items.begin(); }
    typename std::vector<T>::iterator end() { return items.end(); }
    typename std::vector<T>::const_iterator begin() const { return items.begin(); }
    typename std::vector<T>::const_iterator end() const { return items.end(); }

private:
    void Check(Int32 i) const
    {
        if (i < 1 || static_cast<USize>(i) > items.size())
            throw OutOfRangeException();
    }
    std::vector<T> items;
};

}  // namespace GS
