// The body of a wall built from its own geometry. The wall is cut into
// columns along the reference line (at its ends, at every opening's sides
// and, on a curved wall, at facet boundaries); each column is solid over
// the heights no opening takes, so an opening is a tunnel through the wall
// with its own reveal faces, as a section of the body at any depth shows.
#include "simhost/model/WallPart.hpp"
#include "platform/gs/MathConstants.hpp"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>

namespace SimHost {

namespace {

using GS::Pi;
using Interval = std::pair<double, double>;

// The wall's frame: t along the reference line, a across it (positive to
// the left of the direction of travel), z above the wall's base.
class Frame {
public:
    explicit Frame(const API_WallType& w) : w(w)
    {
        const double dx = w.endC.x - w.begC.x, dy = w.endC.y - w.begC.y;
        const double chord = std::hypot(dx, dy);
        ux = chord > 0 ? dx / chord : 1;
        uy = chord > 0 ? dy / chord : 0;
        curved = std::fabs(w.angle) >= 1e-5 && chord > 0;
        length = chord;
        if (curved) {
            const double half = w.angle / 2;
            // The centre lies to the left of the chord for a counter-clockwise arc.
            const double d = chord / 2 / std::tan(half);
            centre = {(w.begC.x + w.endC.x) / 2 - uy * d, (w.begC.y + w.endC.y) / 2 + ux * d};
            radius = std::hypot(w.begC.x - centre.x, w.begC.y - centre.y);
            start = std::atan2(w.begC.y - centre.y, w.begC.x - centre.x);
            sense = w.angle > 0 ? 1 : -1;
            length = radius * std::fabs(w.angle);
        }
        // The outside face is the left one unless the wall is flipped; the
        // reference line lies offsetFromOutside inside it.
        const double off = w.offsetFromOutside;
        left = w.flipped ? w.thickness - off : off;
        right = left - w.thickness;
        const bool slanted = w.slantCode != 0;
        leftLean = slanted ? Lean(w.slantAlpha) : 0;
        rightLean = slanted ? Lean(w.slantCode == 2 ? w.slantBeta : w.slantAlpha) : 0;
    }

    // Across position of a side's face at height z: a slant angle below a
    // right angle leans the face to the left as it rises.
    double Across(int side, double z) const { return (side == 0 ? left : right) + z * (side == 0 ? leftLean : rightLean); }

    API_VertType Point(double t, double a, double z) const
    {
        if (!curved)
            return {w.begC.x + t * ux - a * uy, w.begC.y + t * uy + a * ux, w.bottomOffset + z};
        const double theta = start + sense * t / radius;
        const double r = radius - sense * a;
        return {centre.x + r * std::cos(theta), centre.y + r * std::sin(theta), w.bottomOffset + z};
    }

    const API_WallType& w;
    double ux = 1, uy = 0, length = 0, radius = 0, start = 0, sense = 1;
    bool curved = false;
    API_Coord centre{0, 0};
    double left = 0, right = 0, leftLean = 0, rightLean = 0;

private:
    static double Lean(double angle)
    {
        const double s = std::sin(angle);
        return std::fabs(s) < 1e-9 ? 0 : std::cos(angle) / s;
    }
};

class MeshBuilder {
public:
    explicit MeshBuilder(const Frame& frame) : frame(frame) {}

    // A face over the corners (t index, side, z), wound so that its normal
    // points along `outward`.
    void Face(std::vector<std::tuple<size_t, int, double>> corners, const API_VectType& outward,
              const std::vector<double>& ts)
    {
        std::vector<Int32> ids;
        for (const auto& c : corners)
            ids.push_back(Vertex(ts, std::get<0>(c), std::get<1>(c), std::get<2>(c)));
        API_VectType n = Normal(ids);
        if (n.x * outward.x + n.y * outward.y + n.z * outward.z < 0) {
            std::reverse(ids.begin(), ids.end());
            n = {-n.x, -n.y, -n.z};
        }
        const double len = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        if (!(len > 1e-12))
            return;
        mesh.vectors.push_back({n.x / len, n.y / len, n.z / len});
        WallMesh::Polygon p;
        p.vector = static_cast<Int32>(mesh.vectors.size());
        for (size_t i = 0; i < ids.size(); ++i)
            p.edges.push_back(Edge(ids[i], ids[(i + 1) % ids.size()]));
        mesh.polygons.push_back(std::move(p));
    }

    WallMesh mesh;

private:
    Int32 Vertex(const std::vector<double>& ts, size_t ti, int side, double z)
    {
        const auto key = std::make_tuple(ti, side, z);
        auto it = vertices.find(key);
        if (it != vertices.end())
            return it->second;
        mesh.vertices.push_back(frame.Point(ts[ti], frame.Across(side, z), z));
        return vertices[key] = static_cast<Int32>(mesh.vertices.size());
    }
    Int32 Edge(Int32 a, Int32 b)
    {
        auto it = edges.find({std::min(a, b), std::max(a, b)});
        Int32 index;
        if (it != edges.end()) {
            index = it->second;
        } else {
            mesh.edges.push_back({std::min(a, b), std::max(a, b)});
            index = edges[{std::min(a, b), std::max(a, b)}] = static_cast<Int32>(mesh.edges.size());
        }
        return a < b ? index : -index;
    }
    // Newell's normal of the polygon.
    API_VectType Normal(const std::vector<Int32>& ids) const
    {
        API_VectType n{0, 0, 0};
        for (size_t i = 0; i < ids.size(); ++i) {
            const API_VertType& p = mesh.vertices[static_cast<size_t>(ids[i] - 1)];
            const API_VertType& q = mesh.vertices[static_cast<size_t>(ids[(i + 1) % ids.size()] - 1)];
            n.x += (p.y - q.y) * (p.z + q.z);
            n.y += (p.z - q.z) * (p.x + q.x);
            n.z += (p.x - q.x) * (p.y + q.y);
        }
        return n;
    }

    const Frame& frame;
    std::map<std::tuple<size_t, int, double>, Int32> vertices;
    std::map<std::pair<Int32, Int32>, Int32> edges;
};

// The heights of [0, height] no opening spanning (t0, t1) takes.
std::vector<Interval> Solid(const WallPart& wall, double t0, double t1)
{
    std::vector<Interval> solid{{0.0, wall.record.height}};
    const double mid = (t0 + t1) / 2;
    for (const WallOpening& o : wall.openings) {
        if (!(mid > o.along && mid < o.along + o.width))
            continue;
        std::vector<Interval> next;
        for (const Interval& s : solid) {
            if (o.sill > s.first)
                next.push_back({s.first, std::min(s.second, o.sill)});
            if (o.sill + o.height < s.second)
                next.push_back({std::max(s.first, o.sill + o.height), s.second});
        }
        solid.clear();
        for (const Interval& s : next)
            if (s.second > s.first)
                solid.push_back(s);
    }
    return solid;
}

bool Inside(const std::vector<Interval>& set, double z)
{
    for (const Interval& s : set)
        if (z > s.first && z < s.second)
            return true;
    return false;
}

}  // namespace

WallMesh BuildWallBody(const WallPart& wall)
{
    const Frame frame(wall.record);
    if (!(frame.length > 0) || !(wall.record.height > 0) || !(wall.record.thickness > 0))
        return {};
    std::vector<double> ts{0.0, frame.length};
    if (frame.curved) {
        const int facets = std::max(1, static_cast<int>(std::ceil(std::fabs(wall.record.angle) / (Pi / 18))));
        for (int i = 1; i < facets; ++i)
            ts.push_back(frame.length * i / facets);
    }
    for (const WallOpening& o : wall.openings)
        for (double t : {o.along, o.along + o.width})
            if (t > 0 && t < frame.length)
                ts.push_back(t);
    std::sort(ts.begin(), ts.end());
    ts.erase(std::unique(ts.begin(), ts.end(), [](double a, double b) { return std::fabs(a - b) < 1e-9; }), ts.end());

    MeshBuilder b(frame);
    auto across = [&](size_t i, size_t j, double sign) {
        // The direction from the right face to the left at the column's middle.
        const API_VertType l = frame.Point((ts[i] + ts[j]) / 2, 1, 0), r = frame.Point((ts[i] + ts[j]) / 2, 0, 0);
        return API_VectType{sign * (l.x - r.x), sign * (l.y - r.y), 0};
    };
    auto along = [&](size_t k, double sign) {
        const API_VertType p = frame.Point(ts[k] + 1e-3, 0, 0), q = frame.Point(ts[k], 0, 0);
        return API_VectType{sign * (p.x - q.x), sign * (p.y - q.y), 0};
    };
    std::vector<std::vector<Interval>> columns;
    for (size_t i = 0; i + 1 < ts.size(); ++i)
        columns.push_back(Solid(wall, ts[i], ts[i + 1]));
    for (size_t i = 0; i + 1 < ts.size(); ++i) {
        for (const Interval& s : columns[i]) {
            const auto [z0, z1] = s;
            b.Face({{i, 0, z0}, {i + 1, 0, z0}, {i + 1, 0, z1}, {i, 0, z1}}, across(i, i + 1, 1), ts);
            b.Face({{i, 1, z0}, {i + 1, 1, z0}, {i + 1, 1, z1}, {i, 1, z1}}, across(i, i + 1, -1), ts);
            b.Face({{i, 0, z0}, {i + 1, 0, z0}, {i + 1, 1, z0}, {i, 1, z0}}, {0, 0, -1}, ts);
            b.Face({{i, 0, z1}, {i + 1, 0, z1}, {i + 1, 1, z1}, {i, 1, z1}}, {0, 0, 1}, ts);
        }
    }
    // Across the wall at each cut: faces where one column is solid and the
    // other is not, facing the empty one.
    for (size_t k = 0; k < ts.size(); ++k) {
        static const std::vector<Interval> none;
        const std::vector<Interval>& before = k > 0 ? columns[k - 1] : none;
        const std::vector<Interval>& after = k < columns.size() ? columns[k] : none;
        std::vector<double> zs;
        for (const auto* set : {&before, &after})
            for (const Interval& s : *set) {
                zs.push_back(s.first);
                zs.push_back(s.second);
            }
        std::sort(zs.begin(), zs.end());
        zs.erase(std::unique(zs.begin(), zs.end()), zs.end());
        for (size_t j = 0; j + 1 < zs.size(); ++j) {
            const double mid = (zs[j] + zs[j + 1]) / 2;
            const bool inBefore = Inside(before, mid), inAfter = Inside(after, mid);
            if (inBefore == inAfter)
                continue;
            b.Face({{k, 0, zs[j]}, {k, 1, zs[j]}, {k, 1, zs[j + 1]}, {k, 0, zs[j + 1]}}, along(k, inBefore ? 1 : -1), ts);
        }
    }
    return std::move(b.mesh);
}

bool WallBodyCache::BuiltFrom(const WallPart& wall) const
{
    // Byte-wise: a value that compares equal but differs in its bytes
    // (0 and -0) only costs a rebuild.
    return std::memcmp(&record, &wall.record, sizeof record) == 0 && openings.size() == wall.openings.size() &&
           (openings.empty() ||
            std::memcmp(openings.data(), wall.openings.data(), openings.size() * sizeof(WallOpening)) == 0);
}

const WallBodyCache& WallPart::Body() const
{
    if (body == nullptr || !body->BuiltFrom(*this)) {
        auto built = std::make_shared<WallBodyCache>();
        // Byte for byte, padding included, so that the comparison above
        // holds for as long as the record is not written.
        std::memcpy(static_cast<void*>(&built->record), &record, sizeof record);
        built->openings = openings;
        built->mesh = BuildWallBody(*this);
        Int32 next = 1;
        for (const WallMesh::Polygon& p : built->mesh.polygons) {
            built->firstEdgeEntry.push_back(next);
            next += static_cast<Int32>(p.edges.size());
            built->edgeEntries.insert(built->edgeEntries.end(), p.edges.begin(), p.edges.end());
        }
        body = std::move(built);
    }
    return *body;
}

WallPlanPolygon BuildWallPlanPolygon(const WallPart& wall)
{
    const Frame frame(wall.record);
    WallPlanPolygon p;
    p.coords.push_back({0, 0});
    auto add = [&](double t, int side) {
        const API_VertType v = frame.Point(t, frame.Across(side, 0), 0);
        p.coords.push_back({v.x, v.y});
    };
    // Counter-clockwise from the right face's begin: along the right face,
    // then back along the left one.
    add(0, 1);
    add(frame.length, 1);
    add(frame.length, 0);
    add(0, 0);
    add(0, 1);
    p.ends = {0, 5};
    if (frame.curved) {
        // The right face turns as the reference line does, the left one back.
        p.arcs.push_back({1, 2, wall.record.angle});
        p.arcs.push_back({3, 4, -wall.record.angle});
    }
    return p;
}

WallPlanPolygon BuildJoinedWallPlanPolygon(const WallPart& wall, const std::vector<const WallPart*>& joined)
{
    const Frame frame(wall.record);
    if (frame.curved || !(frame.length > 0))
        return BuildWallPlanPolygon(wall);
    const API_WallType& w = wall.record;
    // Along and across this wall's frame.
    auto along = [&](double x, double y) { return (x - w.begC.x) * frame.ux + (y - w.begC.y) * frame.uy; };
    auto across = [&](double x, double y) { return -(x - w.begC.x) * frame.uy + (y - w.begC.y) * frame.ux; };
    double begins[2] = {0, 0}, ends[2] = {frame.length, frame.length};
    std::vector<double> junctions[2];
    for (const WallPart* other : joined) {
        if (other == nullptr)
            continue;
        const Frame o(other->record);
        if (o.curved || !(o.length > 0))
            continue;
        const API_WallType& ow = other->record;
        // The other wall's direction in this frame; parallel walls make no corner.
        const double du = o.ux * frame.ux + o.uy * frame.uy, dv = -o.ux * frame.uy + o.uy * frame.ux;
        if (std::fabs(dv) < 1e-9)
            continue;
        const double b0 = along(ow.begC.x, ow.begC.y), b1 = across(ow.begC.x, ow.begC.y);
        // Where the other wall's face at `a` (its across value) meets this
        // wall's face line at across `mine`: along this wall.
        auto crossing = [&](double a, double mine) {
            const double px = b0 - a * dv, py = b1 + a * du;  // a point of the other's face line
            return px + (mine - py) * du / dv;
        };
        const double e0 = along(ow.endC.x, ow.endC.y), e1 = across(ow.endC.x, ow.endC.y);
        // The joined end: this wall's end nearer the other's reference line.
        auto lineDistance = [&](double t) {
            const double lx = e0 - b0, ly = e1 - b1, len2 = lx * lx + ly * ly;
            double k = ((t - b0) * lx + (0 - b1) * ly) / len2;
            k = std::max(0.0, std::min(1.0, k));
            return std::hypot(b0 + k * lx - t, b1 + k * ly);
        };
        const bool atEnd = lineDistance(frame.length) < lineDistance(0);
        // The other's body lies on the side of its end farther from the join.
        const double joinT = atEnd ? frame.length : 0;
        const bool beginIsFar = std::hypot(b0 - joinT, b1) > std::hypot(e0 - joinT, e1);
        const double farAcross = beginIsFar ? b1 : e1;
        const int inner = farAcross > 0 ? (frame.left > frame.right ? 0 : 1) : (frame.left > frame.right ? 1 : 0);
        for (int side = 0; side < 2; ++side) {
            const double mine = side == 0 ? frame.left : frame.right;
            const double c0 = crossing(o.left, mine), c1 = crossing(o.right, mine);
            if (!std::isfinite(c0) || !std::isfinite(c1))
                continue;
            const double nearT = atEnd ? std::min(c0, c1) : std::max(c0, c1);
            const double farT = atEnd ? std::max(c0, c1) : std::min(c0, c1);
            if (atEnd)
                ends[side] = farT;
            else
                begins[side] = farT;
            if (side == inner)
                junctions[side].push_back(nearT);
        }
    }
    WallPlanPolygon p;
    p.coords.push_back({0, 0});
    auto add = [&](double t, int side) {
        const API_VertType v = frame.Point(t, side == 0 ? frame.left : frame.right, 0);
        p.coords.push_back({v.x, v.y});
    };
    // Counter-clockwise from the right face's begin, as a free wall's.
    for (int side : {1, 0}) {
        std::vector<double> inside;
        for (double t : junctions[side])
            if (t > begins[side] + 1e-9 && t < ends[side] - 1e-9)
                inside.push_back(t);
        std::sort(inside.begin(), inside.end());
        if (side == 1) {
            add(begins[1], 1);
            for (double t : inside)
                add(t, 1);
            add(ends[1], 1);
        } else {
            add(ends[0], 0);
            for (auto t = inside.rbegin(); t != inside.rend(); ++t)
                add(*t, 0);
            add(begins[0], 0);
        }
    }
    p.coords.push_back(p.coords[1]);
    p.ends = {0, static_cast<Int32>(p.coords.size() - 1)};
    return p;
}

}  // namespace SimHost
