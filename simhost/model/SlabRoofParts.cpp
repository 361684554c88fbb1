#include "simhost/model/SlabRoofParts.hpp"
#include "platform/gs/Memory.hpp"

namespace SimHost {

API_Polygon PolygonCounts(const PolygonRings& rings)
{
    API_Polygon counts{};
    auto add = [&](const std::vector<API_Coord>& ring) {
        if (ring.empty())
            return;
        counts.nCoords += static_cast<Int32>(ring.size() + 1);
        counts.nSubPolys += 1;
    };
    add(rings.contour);
    for (const auto& hole : rings.holes)
        add(hole);
    return counts;
}

bool FillPolygonMemo(const PolygonRings& rings, API_ElementMemo& memo)
{
    const API_Polygon counts = PolygonCounts(rings);
    GSHandle coords = BMhAllClear((counts.nCoords + 1) * static_cast<Int64>(sizeof(API_Coord)));
    GSHandle ends = BMhAllClear((counts.nSubPolys + 1) * static_cast<Int64>(sizeof(Int32)));
    if (coords == nullptr || ends == nullptr) {
        BMhKill(&coords);
        BMhKill(&ends);
        memo.coords = nullptr;
        memo.pends = nullptr;
        return false;
    }
    auto* c = reinterpret_cast<API_Coord*>(*coords);
    auto* e = reinterpret_cast<Int32*>(*ends);
    Int32 at = 0, ring = 0;
    auto write = [&](const std::vector<API_Coord>& r) {
        if (r.empty())
            return;
        for (const API_Coord& p : r)
            c[++at] = p;
        c[++at] = r.front();
        e[++ring] = at;
    };
    write(rings.contour);
    for (const auto& hole : rings.holes)
        write(hole);
    memo.coords = reinterpret_cast<API_Coord**>(coords);
    memo.pends = reinterpret_cast<Int32**>(ends);
    memo.parcs = nullptr;
    return true;
}

}  // namespace SimHost
