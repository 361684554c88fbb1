#include "addon/walls/WallFacePolygon.hpp"
#include "addon/geometry/GeometryHelpers.hpp"
#include "addon/walls/WallDescription.hpp"
#include "addon/walls/WallGeometryJob.hpp"
#include <algorithm>
#include <cmath>

namespace {

using WallJson::ReplyLoop;

// Points n - 1 down to 1, or 0 up to n - 2, of a closed loop of n points.
template <typename F> void Visit(const ReplyLoop& loop, bool downward, F&& f)
{
    const size_t n = loop.size();
    if (downward)
        for (size_t k = n - 1; k >= 1; --k)
            f(loop[k]);
    else
        for (size_t k = 0; k + 2 <= n; ++k)
            f(loop[k]);
}

}  // namespace

void AppendWallFace(const std::vector<WallJson::ReplyPolygon>& reply, const WallFaceFrame& wall, SegmentedPolygon& out)
{
    const bool straight = wall.arcAngle == 0;
    const bool same = wall.sameDirection;
    const double d = PointDistance(wall.begin, wall.end);
    auto s = [&](double x) { return wall.flipped ? x : -x; };

    SegmentedPolygon t;
    GS::Array<API_Coord> hole;
    double minX = 0, minZ = 0, maxX = 0, maxZ = 0;
    for (const WallJson::ReplyPolygon& polygon : reply) {
        const double m = polygon.outerIndex;
        for (size_t i = 0; i < polygon.loops.size(); ++i) {
            const ReplyLoop& loop = polygon.loops[i];
            if (static_cast<double>(i) != m || loop.size() < 2)
                continue;
            maxX = loop[0].x;
            maxZ = loop[0].z;
            Visit(loop, false, [&](const WallJson::ReplyPoint& p) {
                maxX = std::max(maxX, p.x);
                maxZ = std::max(maxZ, p.z);
            });
        }
        for (size_t i = 0; i < polygon.loops.size(); ++i) {
            const ReplyLoop& loop = polygon.loops[i];
            if (loop.size() < 2)
                continue;
            if (static_cast<double>(i) == m) {
                minX = loop[0].x;
                minZ = loop[0].z;
                Visit(loop, false, [&](const WallJson::ReplyPoint& p) {
                    minX = std::min(minX, p.x);
                    minZ = std::min(minZ, p.z);
                });
                // Same direction keeps the loop's sense and walks it backward;
                // the other side walks it forward, mirrored.
                Visit(loop, same, [&](const WallJson::ReplyPoint& p) {
                    if (straight)
                        t.contour.Push(same ? API_Coord{s(p.x), p.z} : API_Coord{d - s(p.x), p.z});
                    else
                        t.contour.Push(same ? API_Coord{p.x - minX, p.z - minZ} : API_Coord{maxX - p.x, p.z - minZ});
                });
            } else {
                // Holes run the other way round; a curved wall's are placed
                // once all outer loops are read.
                Visit(loop, !same, [&](const WallJson::ReplyPoint& p) {
                    if (!straight)
                        hole.Push(API_Coord{p.x, p.z});
                    else
                        hole.Push(same ? API_Coord{s(p.x), p.z} : API_Coord{d - s(p.x), p.z});
                });
                t.PushHoleFromContour(hole);
            }
        }
    }

    if (straight) {
        for (UInt32 i = 0; i < t.contour.GetSize(); ++i)
            out.contour.Push(t.contour[i]);
    } else {
        for (UInt32 r = 0; r < t.holes.GetSize(); ++r)
            for (UInt32 c = 0; c < t.GetHoleVertexCount(r); ++c) {
                t.OffsetHoleVertex(r, c, API_Coord{minX, minZ});
                if (!same)
                    t.MirrorHoleVertexX(r, c, API_Coord{maxX, 0}, API_Coord{minX, 0});
            }
        // Points in a line with their neighbours are dropped; the contour is
        // a cycle, and the survivors come in the order 1, ..., N - 1, 0.
        const UInt32 n = t.contour.GetSize();
        for (UInt32 i = 1; i <= n; ++i) {
            const API_Coord& p = t.contour[i % n];
            const API_Coord& next = t.contour[(i + 1) % n];
            const API_Coord& prev = t.contour[i - 1];
            if (std::fabs(Orientation(p, next, prev)) > 1e-4)
                out.contour.Push(p);
        }
    }
    for (UInt32 r = 0; r < t.holes.GetSize(); ++r) {
        GS::Array<API_Coord> copy = t.holes[r];
        out.PushHoleFromContour(copy);
    }
}

void GetWallFacePolygon(const std::string& request, bool sameDirection, SegmentedPolygon& out, int job, double arcAngle,
                        const API_Coord& begin, const API_Coord& end, bool flipped)
{
    const std::optional<std::string> text = FetchWallPolygonReply(job, request);
    if (!text || text->empty())
        return;
    const std::optional<std::vector<WallJson::ReplyPolygon>> reply = WallJson::ReadWallFaceReply(*text);
    if (!reply)
        return;
    // Built aside first: `out` changes only when the whole face is read.
    SegmentedPolygon face;
    AppendWallFace(*reply, WallFaceFrame{sameDirection, arcAngle, begin, end, flipped}, face);
    for (UInt32 i = 0; i < face.contour.GetSize(); ++i)
        out.contour.Push(face.contour[i]);
    for (UInt32 r = 0; r < face.holes.GetSize(); ++r)
        out.PushHoleFromContour(face.holes[r]);
}

bool RequestWallFacePolygon(API_Guid wall, double startdepth, double enddepth, const WallFaceFrame& frame,
                            SegmentedPolygon& out)
{
    return RequestWallFacePolygon(wall, startdepth, enddepth, frame, out, [](const std::string&) { return true; }) !=
           WallFaceRequest::NotSent;
}

WallFaceRequest RequestWallFacePolygon(API_Guid wall, double startdepth, double enddepth, const WallFaceFrame& frame,
                                       SegmentedPolygon& out,
                                       const std::function<bool(const std::string& request)>& beforeFetch)
{
    const int job = BeginWallGeometryJob();
    std::optional<std::string> request;
    bool fetch = false;
    try {
        request = WallJson::MarkRequestInternal(BuildWallDescriptionJson(startdepth, enddepth, wall));
        fetch = request && beforeFetch(*request);
    } catch (...) {
        EndWallGeometryJob(job);
        throw;
    }
    if (!fetch) {
        EndWallGeometryJob(job);
        return request ? WallFaceRequest::Stopped : WallFaceRequest::NotSent;
    }
    GetWallFacePolygon(*request, frame.sameDirection, out, job, frame.arcAngle, frame.begin, frame.end, frame.flipped);
    return WallFaceRequest::Fetched;
}
