#include "addon/geometry/MemoPolygon.hpp"
#include <algorithm>
#include <cstring>

using namespace Geometry;

namespace {

template <typename T> Int64 EntryCount(const T* const* handle)
{
    return handle != nullptr ? BMhGetSize(reinterpret_cast<GSConstHandle>(handle)) / static_cast<Int64>(sizeof(T)) : 0;
}
template <typename T> const T* const* Typed(GSConstHandle handle) { return reinterpret_cast<const T* const*>(handle); }

Int32 CountFromEntries(Int64 entries) { return static_cast<Int32>(std::clamp<Int64>(entries - 1, 0, 0x7FFFFFFE)); }

// Copies entries from .. from + count - 1 of `source` to entry `to` on of
// `target`, clipped to the entries both handles hold.
template <typename T> void CopyEntries(GSHandle target, Int64 to, const T* const* source, Int64 from, Int64 count)
{
    if (target == nullptr || source == nullptr)
        return;
    const Int64 targetEntries = BMhGetSize(target) / static_cast<Int64>(sizeof(T));
    count = std::min({count, EntryCount(source) - from, targetEntries - to});
    if (count > 0)
        std::memcpy(*target + to * static_cast<Int64>(sizeof(T)), *source + from, static_cast<USize>(count) * sizeof(T));
}

GSHandle AllocateEntries(Int64 count, USize entrySize) { return BMhAllClear(count * static_cast<Int64>(entrySize)); }

template <typename T> void ReplaceHandle(T**& slot, GSHandle handle)
{
    GSHandle old = reinterpret_cast<GSHandle>(slot);
    BMhKill(&old);
    slot = reinterpret_cast<T**>(handle);
}

// The first polygon of largest area; an empty polygon when there is none.
CorePolygon2D LargestPolygon(const CustomMultiPolygon2D& polygons)
{
    const CorePolygon2D* largest = nullptr;
    double largestArea = 0.0;
    for (const CorePolygon2D& p : polygons) {
        const double area = p.CalcArea();
        if (largest == nullptr || area > largestArea) {
            largest = &p;
            largestArea = area;
        }
    }
    return largest != nullptr ? *largest : CorePolygon2D();
}

}  // namespace

GSErrCode MemoToPolygonData(const API_ElementMemo& memo, Polygon2DData& pd)
{
    InitPolygon2DData(&pd);
    auto fail = [&pd] {
        FreePolygon2DData(&pd);
        return APIERR_MEMFULL;
    };
    const Int64 coordEntries = EntryCount(memo.coords);
    pd.nVertices = CountFromEntries(coordEntries);
    pd.vertices = AllocateEntries(pd.nVertices + 1, sizeof(API_Coord));
    if (pd.vertices == nullptr)
        return fail();
    CopyEntries(pd.vertices, 0, memo.coords, 0, pd.nVertices + 1);

    if (memo.parcs != nullptr) {
        pd.nArcs = static_cast<Int32>(std::min<Int64>(EntryCount(memo.parcs), 0x7FFFFFFE));
        if (pd.nArcs >= 1) {
            pd.arcs = AllocateEntries(pd.nArcs + 1, sizeof(PolyArcRec));
            if (pd.arcs == nullptr)
                return fail();
            CopyEntries(pd.arcs, 1, memo.parcs, 0, pd.nArcs);
        }
    }

    pd.nContours = CountFromEntries(EntryCount(memo.pends));
    pd.contourEnds = AllocateEntries(pd.nContours + 1, sizeof(Int32));
    if (pd.contourEnds == nullptr)
        return fail();
    CopyEntries(pd.contourEnds, 0, memo.pends, 0, pd.nContours + 1);

    GetPolygon2DDataBoundBox(pd, &pd.boundBox);
    pd.status |= Polygon2DData_BoundBoxValid;
    return NoError;
}

GSErrCode PolygonDataToMemo(const Polygon2DData& pd, API_Polygon& counts, API_ElementMemo& memo)
{
    const Int32 nV = std::max(pd.nVertices, 0);
    const Int32 nC = std::max(pd.nContours, 0);
    const bool hasArcs = pd.arcs != nullptr;
    const Int32 nA = hasArcs ? std::max(pd.nArcs, 0) : 0;

    // Everything is allocated before the memo is touched, so that a failure
    // leaves it whole.
    GSHandle coords = AllocateEntries(static_cast<Int64>(nV) + 1, sizeof(API_Coord));
    GSHandle ends = AllocateEntries(static_cast<Int64>(nC) + 1, sizeof(Int32));
    GSHandle arcs = hasArcs ? AllocateEntries(nA, sizeof(PolyArcRec)) : nullptr;
    if (coords == nullptr || ends == nullptr || (hasArcs && arcs == nullptr)) {
        BMhKill(&coords);
        BMhKill(&ends);
        BMhKill(&arcs);
        return APIERR_MEMFULL;
    }
    CopyEntries(coords, 0, Typed<API_Coord>(pd.vertices), 0, static_cast<Int64>(nV) + 1);
    CopyEntries(ends, 0, Typed<Int32>(pd.contourEnds), 0, static_cast<Int64>(nC) + 1);
    CopyEntries(arcs, 0, Typed<PolyArcRec>(pd.arcs), 1, nA);

    ReplaceHandle(memo.coords, coords);
    ReplaceHandle(memo.pends, ends);
    ReplaceHandle(memo.parcs, arcs);
    counts = {nV, nC, nA};
    return NoError;
}

void CutShapesFromPolygon(Polygon2DData& pd, const GS::Array<API_Guid>& openings, const OpeningShapeSource& shapeOf)
{
    // The result is built beside pd and only replaces it once complete.
    CustomMultiPolygon2D polygons;
    ConvertPolygon2DDataToPolygon2D(polygons, pd);
    CorePolygon2D current = LargestPolygon(polygons);
    if (!current.IsValid())
        throw GeometryException("the outline has a coordinate that is not finite or an arc of a full turn or more");
    for (const API_Guid& opening : openings) {
        const CorePolygon2DPtr shape = shapeOf(opening);
        if (shape == nullptr)
            continue;
        CustomMultiPolygon2D pieces;
        try {
            pieces = current.Substract(*shape);
        } catch (const GeometryException&) {
            // A shape the library refuses or fails on is one we do not have:
            // only this opening stays uncut.
            continue;
        }
        if (!pieces.IsEmpty())
            current = LargestPolygon(pieces);
    }
    Polygon2DData result;
    InitPolygon2DData(&result);
    ConvertPolygon2DToPolygon2DData(result, current);
    FreePolygon2DData(&pd);
    pd = result;
}
