#include "addon/walls/WallLayers.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/walls/WallDescription.hpp"
#include "addon/walls/WallGeometryJob.hpp"
#include "addon/walls/WallJson.hpp"
#include "platform/gs/MathConstants.hpp"
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace {

using GS::Pi;
const double NaN = std::numeric_limits<double>::quiet_NaN();

using WallJson::WallDescriptionValues;
using WallJson::WallSkin;

// The skins before the core (S) and the core's thickness (C) in a walk.
struct CoreWalk {
    double before = 0;
    double core = 0;
};

std::optional<CoreWalk> WalkToCore(const std::vector<WallSkin>& skins, bool forward)
{
    CoreWalk walk;
    const size_t n = skins.size();
    for (size_t k = 0; k < n; ++k) {
        const WallSkin& skin = skins[forward ? k : n - 1 - k];
        if (skin.core == 1) {
            walk.core = skin.thickness;
            return walk;
        }
        walk.before += skin.thickness;
    }
    return std::nullopt;
}

// Begin a job, describe the wall, end the job; no polygon is asked for.
std::optional<WallDescriptionValues> DescribeInJob(API_Guid wall)
{
    WallGeometryJobScope job;
    const std::string text = BuildWallDescriptionJson(-1, -1, wall);
    job.End();
    return WallJson::ReadWallDescriptionValues(text);
}

}  // namespace

double LocateCoreOffset(bool sameDir, API_Element wall, double layerPos)
{
    const std::optional<WallDescriptionValues> values = DescribeInJob(wall.header.guid);
    if (!values)
        return -1;
    const bool flipped = wall.wall.flipped;
    const bool curved = wall.wall.angle != 0;
    const std::optional<CoreWalk> walk = WalkToCore(values->composites, curved ? flipped : true);
    if (!walk)
        return -1;
    const bool far = curved ? sameDir : sameDir == flipped;
    return far ? walk->before + walk->core - layerPos : walk->before + layerPos;
}

API_Coord LocateLayerStartPoint(bool sameDir, API_Element wall, double layerPos, double& coreThickness)
{
    const API_Coord failed{NaN, NaN};
    const std::optional<WallDescriptionValues> values = DescribeInJob(wall.header.guid);
    if (!values)
        return failed;
    API_Element current;
    std::memset(static_cast<void*>(&current), 0, sizeof current);
    current.header.guid = wall.header.guid;
    if (HostGetElement(&current) != NoError)
        return failed;
    const API_WallType& w = current.wall;
    const bool flipped = w.flipped;
    double l = layerPos;

    if (w.angle != 0) {
        const std::vector<double>& p = values->polygon2d;
        if (p.size() < 20)
            return failed;
        const API_Coord from = sameDir ? API_Coord{p[18], p[19]} : API_Coord{p[8], p[9]};
        const API_Coord to = sameDir ? API_Coord{p[1], p[2]} : API_Coord{p[11], p[12]};
        const bool forward = sameDir ? !flipped : flipped;
        const std::optional<CoreWalk> walk = WalkToCore(values->composites, forward);
        if (!walk)
            return from;
        coreThickness = walk->core;
        const double dx = to.x - from.x, dy = to.y - from.y;
        const double len = std::hypot(dx, dy);
        if (!(len > 0))
            return failed;
        const double along = walk->before + l;
        return {from.x + along * dx / len, from.y + along * dy / len};
    }

    const Int32 location = w.referenceLineLocation;
    if (location < 0 || location > 5)
        return failed;
    const API_Coord b = sameDir ? w.begC : w.endC;
    const API_Coord other = sameDir ? w.endC : w.begC;
    const double len = std::hypot(other.x - b.x, other.y - b.y);
    if (!(len > 0))
        return failed;
    const API_Coord u{(other.x - b.x) / len, (other.y - b.y) / len};
    const API_Coord n{-u.y, u.x};
    const std::optional<CoreWalk> walk = WalkToCore(values->composites, location <= 1);
    if (!walk)
        return wall.wall.begC;
    coreThickness = walk->core;
    double s = walk->before, c = walk->core;
    if (std::fabs(w.slantAlpha - Pi / 2) >= 1e-5) {
        const double sine = std::sin(w.slantAlpha);
        s /= sine;
        c /= sine;
        l /= sine;
    }
    const double off = w.offsetFromOutside;
    const bool agree = sameDir == flipped;
    double d = 0;
    switch (location) {
        case 0: d = agree ? s + c - l : -(s + l); break;
        case 1: d = agree ? s + c - l - off : -(s + l - off); break;
        case 2: d = agree ? -(s + l) : s + c - l; break;
        case 3: d = agree ? c - l : -l; break;
        case 4: d = c / 2 - l; break;
        default: d = agree ? -l : c - l; break;
    }
    return {b.x + d * n.x, b.y + d * n.y};
}

double ReadWallCurveAngle(API_Guid wall)
{
    const std::string text = BuildWallDescriptionJson(-1, -1, wall);
    if (text.size() < 4)
        return -1.0;
    const std::optional<WallDescriptionValues> values = WallJson::ReadWallDescriptionValues(text);
    return values ? values->angle : -1.0;
}

double ReadWallCurveRadius(API_Guid wall, bool sameDir, double layerPos, bool flipped)
{
    double r = std::numeric_limits<double>::lowest();
    double s = 0;
    bool clockwise = false;
    const std::optional<WallDescriptionValues> values =
        WallJson::ReadWallDescriptionValues(BuildWallDescriptionJson(-1, -1, wall));
    if (values) {
        r = WallJson::LargestArcRadius(values->polygon2d, r);
        const std::optional<CoreWalk> walk = WalkToCore(values->composites, flipped);
        if (walk) {
            s = walk->before + (sameDir ? walk->core : 0);
        } else {
            for (const WallSkin& skin : values->composites)
                s += skin.thickness;
        }
        clockwise = values->angle < 0;
    }
    // The walk runs from the wall's right-hand face (looking from the
    // reference line's begin to its end), and the layer lies `depth` inside
    // it. That face is the outer one, of the largest radius, on a
    // counter-clockwise arc; on a clockwise arc it is the inner one, and the
    // layer lies that far outside the smallest radius.
    const double depth = sameDir ? s - layerPos : s + layerPos;
    if (clockwise) {
        const double inner = WallJson::SmallestArcRadius(values->polygon2d, std::numeric_limits<double>::max());
        return inner + depth;
    }
    return r - depth;
}
