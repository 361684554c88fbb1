#include "addon/geometry/SegmentedPolygon.hpp"
#include "addon/geometry/GeometryHelpers.hpp"
#include "platform/gs/MathConstants.hpp"
#include "platform/gs/Memory.hpp"
#include <algorithm>
#include <cmath>

namespace {

using GS::Pi;

template <typename T> UInt32 EntryCount(const T* const* handle)
{
    if (handle == nullptr)
        return 0;
    const Int64 n = BMhGetSize(reinterpret_cast<GSConstHandle>(handle)) / static_cast<Int64>(sizeof(T));
    return static_cast<UInt32>(std::min<Int64>(n, 0xFFFFFFFF));
}

// An index from a contour-end entry, kept within [0, limit].
UInt32 ClampIndex(Int64 value, UInt32 limit) { return static_cast<UInt32>(std::clamp<Int64>(value, 0, limit)); }

// Reverses the ring's direction while its vertex 0 stays first.
void ReverseKeepingFirst(GS::Array<API_Coord>& ring)
{
    const UInt32 n = ring.GetSize();
    for (UInt32 i = 1; i < (n + 1) / 2; ++i)
        std::swap(ring[i], ring[n - i]);
}

// Turns a clockwise ring counter-clockwise, its status values with it. A
// ring whose area is not a number has no direction and stays as it is.
void OrientCounterClockwise(GS::Array<API_Coord>& ring, GS::Array<double>& status)
{
    if (!(SegmentedPolygon::SignedContourArea(ring) < 0))
        return;
    ReverseKeepingFirst(ring);
    SegmentedPolygon::ReverseFlagArray(status);
    SegmentedPolygon::FixArcStartFlags(status);
}

template <typename F> void ForEachVertex(SegmentedPolygon& polygon, F&& f)
{
    for (API_Coord& c : polygon.contour)
        f(c);
    for (GS::Array<API_Coord>& hole : polygon.holes)
        for (API_Coord& c : hole)
            f(c);
}

}  // namespace

SegmentedPolygon::SegmentedPolygon() : ArcResolution(64) {}

void SegmentedPolygon::AppendArcRange(const API_Coord* const* coords, UInt32 first, UInt32 end, const PolyArcRec* const* parcs,
                                      GS::Array<API_Coord>& ring, GS::Array<double>& status) const
{
    const UInt32 coordCount = EntryCount(coords);
    const UInt32 arcCount = EntryCount(parcs);
    end = std::min(end, coordCount);
    for (UInt32 i = std::max<UInt32>(first, 1); i < end; ++i) {
        const API_Coord& begin = (*coords)[i];
        ring.Push(begin);
        status.Push(0.0);
        const UInt32 vertexStatus = status.GetSize() - 1;

        const PolyArcRec* arc = nullptr;
        for (UInt32 k = 0; k < arcCount && arc == nullptr; ++k)
            if ((*parcs)[k].begIndex >= 0 && static_cast<UInt32>((*parcs)[k].begIndex) == i)
                arc = &(*parcs)[k];
        if (arc == nullptr || arc->endIndex < 1 || static_cast<UInt32>(arc->endIndex) >= coordCount ||
            !std::isfinite(arc->arcAngle))
            continue;
        API_Coord centre;
        if (!ArcCenter(begin, (*coords)[arc->endIndex], arc->arcAngle, centre))
            continue;
        const double parts = std::ceil(std::fabs(arc->arcAngle / (2 * Pi)) * ArcResolution);
        if (parts > 65535.0)
            continue;
        const UInt16 count = static_cast<UInt16>(parts);
        for (UInt16 k = 1; k < count; ++k) {
            ring.Push(RotateAround(begin, centre, k * arc->arcAngle / count));
            status.Push(2.0);
            if (k == 1)
                status[vertexStatus] = 1.0;
        }
    }
}

void SegmentedPolygon::BuildSegmentedPolygon(const API_Coord* const* coords, const Int32* const* pends,
                                             const PolyArcRec* const* parcs, GS::Array<double>& status)
{
    contour.Clear();
    holes.Clear();
    const UInt32 coordCount = EntryCount(coords);
    const UInt32 endCount = EntryCount(pends);
    if (endCount < 2)
        return;

    // The ring from the vertex after contour end k to the one before end k + 1.
    auto appendRing = [&](UInt32 k, GS::Array<API_Coord>& ring, GS::Array<double>& ringStatus) {
        AppendArcRange(coords, ClampIndex(static_cast<Int64>((*pends)[k]) + 1, coordCount),
                       ClampIndex((*pends)[k + 1], coordCount), parcs, ring, ringStatus);
    };

    // Each ring's status values are kept apart until it is oriented, so that
    // reversing them never touches what the caller's list held before.
    GS::Array<double> contourStatus;
    appendRing(0, contour, contourStatus);
    GS::Array<GS::Array<double>> holeStatus;
    for (UInt32 k = 1; k + 1 < endCount; ++k) {
        GS::Array<API_Coord> ring;
        GS::Array<double> ringStatus;
        appendRing(k, ring, ringStatus);
        if (ring.IsEmpty())
            continue;
        holes.Push(std::move(ring));
        holeStatus.Push(std::move(ringStatus));
    }

    if (coordCount >= 2)
        TranslateSegmentedPolygon(-(*coords)[1].x, -(*coords)[1].y);

    OrientCounterClockwise(contour, contourStatus);
    for (UInt32 r = 0; r < holes.GetSize(); ++r)
        OrientCounterClockwise(holes[r], holeStatus[r]);

    status.Append(contourStatus);
    for (const GS::Array<double>& s : holeStatus)
        status.Append(s);
}

double SegmentedPolygon::SignedContourArea(const GS::Array<API_Coord>& ring)
{
    const UInt32 n = ring.GetSize();
    if (n == 0)
        return 0.0;
    double sum = (ring[0].y - ring[n - 1].y) * (ring[n - 1].x + ring[0].x);
    for (UInt32 i = 1; i < n; ++i)
        sum += (ring[i].y - ring[i - 1].y) * (ring[i - 1].x + ring[i].x);
    return 0.5 * sum;
}

API_Box SegmentedPolygon::ContourBoundingBox() const
{
    if (contour.IsEmpty())
        return {0.0, 0.0, 0.0, 0.0};
    API_Box box = {contour[0].x, contour[0].y, contour[0].x, contour[0].y};
    for (UInt32 i = 1; i < contour.GetSize(); ++i) {
        const API_Coord& c = contour[i];
        if (c.x < box.xMin)
            box.xMin = c.x;
        else if (c.x > box.xMax)
            box.xMax = c.x;
        if (c.y < box.yMin)
            box.yMin = c.y;
        else if (c.y > box.yMax)
            box.yMax = c.y;
    }
    return box;
}

void SegmentedPolygon::TranslateSegmentedPolygon(double dx, double dy)
{
    ForEachVertex(*this, [=](API_Coord& c) {
        c.x += dx;
        c.y += dy;
    });
}

void SegmentedPolygon::RotateSegmentedPolygon(double angle)
{
    ForEachVertex(*this, [=](API_Coord& c) { c = RotateAboutOrigin(c, angle); });
}

void SegmentedPolygon::ScaleSegmentedPolygon(double a, double b)
{
    ForEachVertex(*this, [=](API_Coord& c) {
        c.x *= a;
        c.y *= b;
    });
}

API_Coord SegmentedPolygon::GetContourVertex(UInt32 index) const { return contour[index]; }

API_Coord SegmentedPolygon::GetHoleVertex(UInt32 r, UInt32 c) const { return holes[r][c]; }

UInt32 SegmentedPolygon::GetHoleVertexCount(UInt32 r) const { return holes[r].GetSize(); }

void SegmentedPolygon::PushHoleFromContour(GS::Array<API_Coord>& ring)
{
    holes.Push(ring);
    ring.Clear();
}

void SegmentedPolygon::OffsetHoleVertex(UInt32 r, UInt32 c, const API_Coord& p)
{
    API_Coord& v = holes[r][c];
    v = {v.x - p.x, v.y - p.y};
}

void SegmentedPolygon::MirrorHoleVertexX(UInt32 r, UInt32 c, const API_Coord& a, const API_Coord& b)
{
    API_Coord& v = holes[r][c];
    v.x = (a.x - b.x) - v.x;
}

void SegmentedPolygon::ReverseFlagArray(GS::Array<double>& list)
{
    const UInt32 n = list.GetSize();
    for (UInt32 j = 0; j < (n + 1) / 2; ++j)
        std::swap(list[j], list[n - 1 - j]);
}

void SegmentedPolygon::FixArcStartFlags(GS::Array<double>& list)
{
    // Each 1 and the first index of the run of 2 values just before it; a
    // 1 with no 2 before it (index 0 included) pairs with itself.
    GS::Array<UInt32> ones, runStarts;
    for (UInt32 i = 0; i < list.GetSize(); ++i) {
        if (list[i] != 1.0)
            continue;
        UInt32 j = i;
        while (j > 0 && list[j - 1] == 2.0)
            --j;
        ones.Push(i);
        runStarts.Push(j);
    }
    for (UInt32 k = 0; k < ones.GetSize(); ++k)
        std::swap(list[ones[k]], list[runStarts[k]]);
}
