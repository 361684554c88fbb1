// A zeroed element memo whose polygon handles a test fills from rings.
#pragma once
#include "tests/unit/platform/GeometryTestSupport.hpp"
#include "platform/api/APIdefs.hpp"
#include "platform/gs/Memory.hpp"
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using Ring = std::vector<API_Coord>;

class TestMemo {
public:
    TestMemo() { std::memset(&memo, 0, sizeof memo); }
    ~TestMemo() { Clear(); }
    TestMemo(const TestMemo&) = delete;
    TestMemo& operator=(const TestMemo&) = delete;

    // Rings as the host lays them out: 1-based coordinates, each ring closed
    // by a repeat of its first vertex, and the contour ends. The arc handle
    // is left null when `arcs` is empty and withArcHandle is false.
    void SetPolygon(const std::vector<Ring>& rings, const std::vector<PolyArcRec>& arcs = {}, bool withArcHandle = false)
    {
        std::vector<API_Coord> coords = {{0, 0}};
        std::vector<Int32> ends = {0};
        for (const Ring& r : rings) {
            coords.insert(coords.end(), r.begin(), r.end());
            coords.push_back(r.front());
            ends.push_back(static_cast<Int32>(coords.size()) - 1);
        }
        SetCoords(coords);
        SetEnds(ends);
        if (!arcs.empty() || withArcHandle)
            SetArcs(arcs);
        else
            Kill(memo.parcs);
    }
    void SetCoords(const std::vector<API_Coord>& coords, Int64 extraBytes = 0)
    {
        Replace(memo.coords, coords.data(), coords.size() * sizeof(API_Coord), extraBytes);
    }
    void SetEnds(const std::vector<Int32>& ends, Int64 extraBytes = 0)
    {
        Replace(memo.pends, ends.data(), ends.size() * sizeof(Int32), extraBytes);
    }
    void SetArcs(const std::vector<PolyArcRec>& arcs, Int64 extraBytes = 0)
    {
        Replace(memo.parcs, arcs.data(), arcs.size() * sizeof(PolyArcRec), extraBytes);
    }
    void Clear()
    {
        Kill(memo.coords);
        Kill(memo.pends);
        Kill(memo.parcs);
    }

    std::vector<API_Coord> Coords() const { return Read(memo.coords); }
    std::vector<Int32> Ends() const { return Read(memo.pends); }
    std::vector<PolyArcRec> Arcs() const { return Read(memo.parcs); }

    API_ElementMemo memo;

private:
    template <typename T> static void Kill(T**& h)
    {
        GSHandle g = reinterpret_cast<GSHandle>(h);
        BMhKill(&g);
        h = nullptr;
    }
    template <typename T> static void Replace(T**& h, const T* data, USize bytes, Int64 extraBytes)
    {
        Kill(h);
        GSHandle g = BMhAllClear(static_cast<Int64>(bytes) + extraBytes);
        if (bytes > 0)
            std::memcpy(*g, data, bytes);
        h = reinterpret_cast<T**>(g);
    }
    template <typename T> static std::vector<T> Read(T** h)
    {
        if (h == nullptr)
            return {};
        const USize n = static_cast<USize>(BMhGetSize(reinterpret_cast<GSConstHandle>(h))) / sizeof(T);
        return std::vector<T>(*h, *h + n);
    }
};

// Status values written as digits: "0012" is {0, 0, 1, 2}.
inline std::vector<double> Flags(const std::string& digits)
{
    std::vector<double> v;
    for (char c : digits)
        v.push_back(c - '0');
    return v;
}

inline bool operator==(const API_Coord& a, const API_Coord& b) { return a.x == b.x && a.y == b.y; }

inline bool operator==(const PolyArcRec& a, const PolyArcRec& b)
{
    return a.begIndex == b.begIndex && a.endIndex == b.endIndex && a.arcAngle == b.arcAngle;
}
