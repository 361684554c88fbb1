// The face a reinforcement layer sees is the section of the wall's body by
// the surface at the layer's depth: a vertical plane parallel to the
// reference line for a straight wall, a vertical cylinder about the arc's
// centre for a curved one. The body is a closed polyhedral surface, so its
// section is a set of closed loops; loops inside an odd number of others
// are holes (openings through the layer), the rest are outlines.
//
// A vertex counts as lying on the far side of the surface when it is on it,
// and an edge crosses the surface only when its vertices lie on different
// sides. Every face is a closed ring of edges, so it is crossed an even
// number of times and the loops always close, whatever the depth.
#include "platform/gs/MathConstants.hpp"
#include "platform/vomdix/WallFace.hpp"
#include <picojson.h>
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/ring.hpp>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <stdexcept>
#include <vector>

namespace VOMDIX {
namespace {

using GS::Pi;
// Arcs flatter than this are treated as their chord.
constexpr double MinCurveAngle = 1e-5;
// How far inside the body a depth on or beyond a face is taken.
constexpr double FaceInset = 1e-6;
// Nesting refused before parsing: the description nests three levels.
constexpr int MaxNesting = 32;

struct Vec3 {
    double x, y, z;
};

struct Description {
    std::vector<Vec3> vertices;
    std::vector<std::pair<int, int>> edges;  // 0-based vertex indices
    std::vector<std::vector<int>> polygons;  // signed 1-based edge indices, 0 between rings
    Vec3 begin{}, end{};
    double angle = 0;
    bool flipped = false;
    double depth = 0;
    std::optional<Vec3> origo;
};

bool TooDeep(const std::string& text)
{
    int depth = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            if (++depth > MaxNesting)
                return true;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return false;
}

const picojson::value* Member(const picojson::value& v, const char* key)
{
    if (!v.is<picojson::object>())
        return nullptr;
    const picojson::object& o = v.get<picojson::object>();
    auto it = o.find(key);
    return it == o.end() ? nullptr : &it->second;
}

bool Number(const picojson::value& v, const char* key, double& out)
{
    const picojson::value* m = Member(v, key);
    if (m == nullptr || !m->is<double>())
        return false;
    out = m->get<double>();
    return std::isfinite(out);
}

// A whole number in [lo, hi].
bool Index(const picojson::value& v, double lo, double hi, int& out)
{
    if (!v.is<double>())
        return false;
    const double d = v.get<double>();
    if (!(d >= lo && d <= hi) || std::trunc(d) != d)
        return false;
    out = static_cast<int>(d);
    return true;
}

std::optional<Description> ReadDescription(const std::string& text)
{
    if (TooDeep(text))
        return std::nullopt;
    picojson::value root;
    try {
        std::string err;
        auto last = picojson::parse(root, text.begin(), text.end(), &err);
        if (!err.empty() || std::any_of(last, text.end(), [](char c) { return !std::isspace(static_cast<unsigned char>(c)); }))
            return std::nullopt;
    } catch (const std::overflow_error&) {
        return std::nullopt;  // a number beyond the double range
    }

    Description d;
    const picojson::value* vertices = Member(root, "vertices");
    const picojson::value* edges = Member(root, "edges");
    const picojson::value* polygons = Member(root, "polygons");
    const picojson::value* refline = Member(root, "refline");
    const picojson::value* flipped = Member(root, "flipped");
    if (vertices == nullptr || !vertices->is<picojson::array>() || edges == nullptr || !edges->is<picojson::array>() ||
        polygons == nullptr || !polygons->is<picojson::array>() || refline == nullptr || flipped == nullptr ||
        !flipped->is<bool>())
        return std::nullopt;
    d.flipped = flipped->get<bool>();
    double enddepth = 0;  // read for its type only: the face is the section at startdepth
    if (!Number(root, "angle", d.angle) || !Number(root, "startdepth", d.depth) || !Number(root, "enddepth", enddepth))
        return std::nullopt;
    const picojson::value* b = Member(*refline, "start");
    const picojson::value* e = Member(*refline, "end");
    if (b == nullptr || e == nullptr || !Number(*b, "x", d.begin.x) || !Number(*b, "y", d.begin.y) ||
        !Number(*e, "x", d.end.x) || !Number(*e, "y", d.end.y))
        return std::nullopt;
    if (const picojson::value* o = Member(root, "origo")) {
        Vec3 c{};
        if (!Number(*o, "x", c.x) || !Number(*o, "y", c.y))
            return std::nullopt;
        d.origo = c;
    }
    for (const picojson::value& v : vertices->get<picojson::array>()) {
        Vec3 p{};
        if (!Number(v, "x", p.x) || !Number(v, "y", p.y) || !Number(v, "z", p.z))
            return std::nullopt;
        d.vertices.push_back(p);
    }
    const double nVert = static_cast<double>(d.vertices.size());
    for (const picojson::value& v : edges->get<picojson::array>()) {
        const picojson::value* a = Member(v, "vert1");
        const picojson::value* c = Member(v, "vert2");
        int i = 0, j = 0;
        if (a == nullptr || c == nullptr || !Index(*a, 1, nVert, i) || !Index(*c, 1, nVert, j))
            return std::nullopt;
        d.edges.emplace_back(i - 1, j - 1);
    }
    const double nEdge = static_cast<double>(d.edges.size());
    for (const picojson::value& p : polygons->get<picojson::array>()) {
        if (!p.is<picojson::array>())
            return std::nullopt;
        std::vector<int> entries;
        for (const picojson::value& x : p.get<picojson::array>()) {
            int k = 0;
            if (!Index(x, -nEdge, nEdge, k))
                return std::nullopt;
            entries.push_back(k);
        }
        d.polygons.push_back(std::move(entries));
    }
    return d;
}

// The wall's own frame: t along the wall (a length for a straight wall, an
// angle for a curved one), a across it (positive to the left of the
// reference line's direction), z up.
class WallFrame {
public:
    explicit WallFrame(const Description& d)
    {
        const double dx = d.end.x - d.begin.x, dy = d.end.y - d.begin.y;
        const double len = std::hypot(dx, dy);
        curved = d.origo.has_value() && std::fabs(d.angle) >= MinCurveAngle;
        usable = std::isfinite(len) && len > 1e-9;
        if (!usable)
            return;
        ux = dx / len;
        uy = dy / len;
        begin = d.begin;
        if (curved) {
            centre = *d.origo;
            sense = d.angle > 0 ? 1.0 : -1.0;
            refRadius = std::hypot(begin.x - centre.x, begin.y - centre.y);
            startAngle = std::atan2(begin.y - centre.y, begin.x - centre.x);
            sweep = std::min(std::fabs(d.angle), 2 * Pi);
            usable = refRadius > 1e-9;
        }
    }

    // To the left of the direction of travel: away from the centre on a
    // clockwise arc, toward it on a counter-clockwise one.
    double Across(const Vec3& p) const
    {
        if (!curved)
            return (p.x - begin.x) * -uy + (p.y - begin.y) * ux;
        return sense * (refRadius - std::hypot(p.x - centre.x, p.y - centre.y));
    }

    // The turn from the begin point, within a full turn centred on the wall.
    double Turn(const Vec3& p) const
    {
        double t = sense * (std::atan2(p.y - centre.y, p.x - centre.x) - startAngle);
        const double mid = sweep / 2;
        t = std::fmod(t - mid + Pi, 2 * Pi);
        if (t < 0)
            t += 2 * Pi;
        return t - Pi + mid;
    }

    double Along(const Vec3& p) const { return (p.x - begin.x) * ux + (p.y - begin.y) * uy; }

    // The point of edge p -> q on the section surface at `across`; p and q
    // lie on different sides of it.
    Vec3 Crossing(const Vec3& p, const Vec3& q, double across) const
    {
        const double fp = Across(p) - across, fq = Across(q) - across;
        double t = fp / (fp - fq);
        if (curved) {
            // |p + t (q - p) - centre| = radius, the root between the ends.
            const double r = refRadius - sense * across;
            const double px = p.x - centre.x, py = p.y - centre.y;
            const double vx = q.x - p.x, vy = q.y - p.y;
            const double a = vx * vx + vy * vy, b = 2 * (px * vx + py * vy), c = px * px + py * py - r * r;
            const double disc = b * b - 4 * a * c;
            if (a > 0 && disc >= 0) {
                const double s = std::sqrt(disc);
                for (double root : {(-b - s) / (2 * a), (-b + s) / (2 * a)})
                    if (root >= -1e-12 && root <= 1 + 1e-12) {
                        t = root;
                        break;
                    }
            }
        }
        t = std::clamp(t, 0.0, 1.0);
        return {p.x + t * (q.x - p.x), p.y + t * (q.y - p.y), p.z + t * (q.z - p.z)};
    }

    // Curved walls: the radius of the section surface at `across`.
    double RadiusAt(double across) const { return refRadius - sense * across; }

    bool usable = false;
    bool curved = false;

private:
    Vec3 begin{};
    double ux = 1, uy = 0;
    Vec3 centre{};
    double sense = 1, refRadius = 0, startAngle = 0, sweep = 0;
};

struct Pt {
    double x, z;
};
using Loop = std::vector<Pt>;  // not closed

double SignedArea(const Loop& l)
{
    double a = 0;
    for (size_t i = 0; i < l.size(); ++i) {
        const Pt& p = l[i];
        const Pt& q = l[(i + 1) % l.size()];
        a += p.x * q.z - q.x * p.z;
    }
    return a / 2;
}

using BgPoint = boost::geometry::model::d2::point_xy<double>;
using BgRing = boost::geometry::model::ring<BgPoint, false, false>;  // counter-clockwise, open

BgRing ToRing(const Loop& l)
{
    BgRing r;
    for (const Pt& p : l)
        r.push_back(BgPoint(p.x, p.z));
    return r;
}

// Rounded to a nanometre of the length unit, so that a face of whole
// numbers comes back as whole numbers; never -0.
double Clean(double v)
{
    const double r = std::round(v * 1e9) / 1e9;
    return r == 0 ? 0.0 : r;
}

picojson::value LoopValue(const Loop& l)
{
    picojson::array points;
    for (size_t i = 0; i <= l.size(); ++i) {
        const Pt& p = l[i % l.size()];
        picojson::object o;
        o["x"] = picojson::value(Clean(p.x));
        o["z"] = picojson::value(Clean(p.z));
        points.emplace_back(o);
    }
    return picojson::value(points);
}

// The reply's x: along the wall from its begin for a curved wall and a
// flipped straight one, against it for a straight wall that is not flipped.
bool AlongRunsForward(const Description& d, const WallFrame& frame) { return frame.curved || d.flipped; }

// Starts a loop at its lowest point, the one nearest the wall's begin among
// equals, so that the reply does not depend on the order of the body's edges.
void Rotate(Loop& l, bool forward)
{
    auto better = [forward](const Pt& a, const Pt& b) {
        if (std::fabs(a.z - b.z) > 1e-9)
            return a.z < b.z;
        return forward ? a.x < b.x : a.x > b.x;
    };
    std::rotate(l.begin(), std::min_element(l.begin(), l.end(), better), l.end());
}

// The section loops: crossing edges are the loops' points; each face
// crossed joins its crossing edges in pairs along the section line.
std::vector<Loop> SectionLoops(const Description& d, const WallFrame& frame, double across, double base)
{
    std::vector<bool> far(d.vertices.size());
    for (size_t i = 0; i < d.vertices.size(); ++i)
        far[i] = frame.Across(d.vertices[i]) >= across;
    auto crosses = [&](int edge) {
        const auto& e = d.edges[static_cast<size_t>(edge)];
        return far[static_cast<size_t>(e.first)] != far[static_cast<size_t>(e.second)];
    };

    std::map<int, Pt> points;
    auto pointOf = [&](int edge) {
        auto it = points.find(edge);
        if (it != points.end())
            return it->second;
        const auto& e = d.edges[static_cast<size_t>(edge)];
        const Vec3 c = frame.Crossing(d.vertices[static_cast<size_t>(e.first)], d.vertices[static_cast<size_t>(e.second)], across);
        // A curved face is unrolled at the radius of the section itself.
        const double along = frame.curved ? frame.Turn(c) * frame.RadiusAt(across) : frame.Along(c);
        const Pt p{AlongRunsForward(d, frame) ? along : -along, c.z - base};
        points.emplace(edge, p);
        return p;
    };

    std::map<int, std::vector<int>> links;
    for (const std::vector<int>& polygon : d.polygons) {
        std::vector<int> crossing;
        for (int entry : polygon)
            if (entry != 0 && crosses(std::abs(entry) - 1) &&
                std::find(crossing.begin(), crossing.end(), std::abs(entry) - 1) == crossing.end())
                crossing.push_back(std::abs(entry) - 1);
        if (crossing.size() < 2)
            continue;
        // Pairs along the face's section line: sorted along the direction
        // between its two farthest crossings.
        Pt a = pointOf(crossing[0]), b = a;
        double best = -1;
        for (size_t i = 0; i < crossing.size(); ++i)
            for (size_t j = i + 1; j < crossing.size(); ++j) {
                const Pt p = pointOf(crossing[i]), q = pointOf(crossing[j]);
                const double dd = (p.x - q.x) * (p.x - q.x) + (p.z - q.z) * (p.z - q.z);
                if (dd > best) {
                    best = dd;
                    a = p;
                    b = q;
                }
            }
        const double dx = b.x - a.x, dz = b.z - a.z;
        std::stable_sort(crossing.begin(), crossing.end(), [&](int u, int v) {
            const Pt p = pointOf(u), q = pointOf(v);
            return (p.x - a.x) * dx + (p.z - a.z) * dz < (q.x - a.x) * dx + (q.z - a.z) * dz;
        });
        for (size_t i = 0; i + 1 < crossing.size(); i += 2) {
            links[crossing[i]].push_back(crossing[i + 1]);
            links[crossing[i + 1]].push_back(crossing[i]);
        }
    }

    // Every crossing edge of a closed body joins exactly two faces; a
    // chain that does not close (a body with gaps) is left out.
    std::vector<Loop> loops;
    std::map<int, bool> used;
    for (const auto& start : links) {
        if (used[start.first] || start.second.size() != 2)
            continue;
        Loop loop;
        int prev = -1, cur = start.first;
        bool closed = false;
        while (true) {
            used[cur] = true;
            loop.push_back(pointOf(cur));
            const std::vector<int>& next = links[cur];
            if (next.size() != 2)
                break;
            const int step = next[0] != prev ? next[0] : next[1];
            prev = cur;
            cur = step;
            if (cur == start.first) {
                closed = true;
                break;
            }
            if (used[cur])
                break;
        }
        if (closed && loop.size() >= 3 && std::fabs(SignedArea(loop)) > 1e-12)
            loops.push_back(std::move(loop));
    }
    return loops;
}

std::string Compute(const Description& d)
{
    WallFrame frame(d);
    if (!frame.usable || d.vertices.empty())
        return std::string();

    // The faces' positions across the wall. A curved body is made of flat
    // facets whose inner ones sag toward the centre between their corners,
    // so a vertex within a facet (an opening's corner) may lie beyond the
    // face's circle: a curved wall's faces are taken where it begins, at
    // the corners of its end face.
    double lo = HUGE_VAL, hi = -HUGE_VAL, base = HUGE_VAL, firstTurn = HUGE_VAL;
    for (const Vec3& v : d.vertices) {
        base = std::min(base, v.z);
        if (frame.curved)
            firstTurn = std::min(firstTurn, frame.Turn(v));
    }
    for (const Vec3& v : d.vertices) {
        if (frame.curved && frame.Turn(v) > firstTurn + 1e-7)
            continue;
        lo = std::min(lo, frame.Across(v));
        hi = std::max(hi, frame.Across(v));
    }
    picojson::array polygonsOut;
    // Where the depth is measured from (the faces as seen looking from the
    // reference line's begin to its end). A straight wall's depth runs from
    // its outside face, the side of the first skin: the left-hand face
    // unless the wall is flipped. A curved wall's depth runs from its
    // right-hand face, flipped or not: the face its skins are walked from
    // (the last skin's of a wall that is not flipped, the first skin's of a
    // flipped one).
    const double thickness = hi - lo;
    const bool fromRight = frame.curved || d.flipped;
    const bool forward = AlongRunsForward(d, frame);
    if (thickness > 2 * FaceInset) {
        const double depth = std::clamp(d.depth, FaceInset, thickness - FaceInset);
        const double across = fromRight ? lo + depth : hi - depth;
        std::vector<Loop> loops = SectionLoops(d, frame, across, base);

        // Nesting: a loop inside an even number of others is an outline,
        // its holes are the loops directly inside it.
        std::vector<BgRing> rings;
        for (const Loop& l : loops)
            rings.push_back(ToRing(l));
        std::vector<int> depthOf(loops.size(), 0), parent(loops.size(), -1);
        for (size_t i = 0; i < loops.size(); ++i) {
            const BgPoint probe(loops[i][0].x, loops[i][0].z);
            double smallest = HUGE_VAL;
            for (size_t j = 0; j < loops.size(); ++j) {
                if (i == j || !boost::geometry::covered_by(probe, rings[j]) ||
                    std::fabs(SignedArea(loops[j])) <= std::fabs(SignedArea(loops[i])))
                    continue;
                ++depthOf[i];
                if (std::fabs(SignedArea(loops[j])) < smallest) {
                    smallest = std::fabs(SignedArea(loops[j]));
                    parent[i] = static_cast<int>(j);
                }
            }
        }
        std::vector<size_t> outlines;
        for (size_t i = 0; i < loops.size(); ++i) {
            const bool outline = depthOf[i] % 2 == 0;
            // Outlines counter-clockwise, holes clockwise.
            if ((SignedArea(loops[i]) > 0) != outline)
                std::reverse(loops[i].begin(), loops[i].end());
            Rotate(loops[i], forward);
            if (outline)
                outlines.push_back(i);
        }
        // Outlines in the order they come along the wall from its begin.
        auto startOf = [&](size_t i) {
            double best = HUGE_VAL;
            for (const Pt& p : loops[i])
                best = std::min(best, forward ? p.x : -p.x);
            return best;
        };
        std::stable_sort(outlines.begin(), outlines.end(), [&](size_t a, size_t b) { return startOf(a) < startOf(b); });
        for (size_t o : outlines) {
            picojson::array ringsOut;
            ringsOut.push_back(LoopValue(loops[o]));
            for (size_t i = 0; i < loops.size(); ++i)
                if (parent[i] == static_cast<int>(o) && depthOf[i] % 2 == 1)
                    ringsOut.push_back(LoopValue(loops[i]));
            picojson::object polygon;
            polygon["loops"] = picojson::value(ringsOut);
            polygon["outerIndex"] = picojson::value(0.0);
            polygonsOut.emplace_back(polygon);
        }
    }
    picojson::object root;
    root["polygons"] = picojson::value(polygonsOut);
    return picojson::value(root).serialize();
}

}  // namespace

std::string ComputeWallFaceReply(const std::string& request)
{
    std::optional<Description> d = ReadDescription(request);
    if (!d)
        return std::string();
    try {
        return Compute(*d);
    } catch (const std::overflow_error&) {
        // Coordinates so large that the section's points overflow.
        return std::string();
    }
}

}  // namespace VOMDIX
