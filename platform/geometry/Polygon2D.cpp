#include "platform/geometry/Polygon2D.hpp"
#include "platform/gs/MathConstants.hpp"
// GCC 12 reports a false "may be used uninitialized" inside Boost.Geometry's
// rescaling policy once it is inlined here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <boost/geometry.hpp>
#pragma GCC diagnostic pop
#include <cmath>
#include <deque>
#include <map>
#include <vector>

namespace bg = boost::geometry;

namespace Geometry {

namespace {

using GS::Pi;
// Largest turn between two neighbouring points of an arc's chain: the chain
// then stays within 4e-5 of the radius from the arc.
constexpr double ChainStep = Pi / 180.0;
// No arc of a real polygon turns more than once; this only bounds the work
// for a malformed angle.
constexpr double MaxChainParts = 4096.0;

using BPoint = bg::model::d2::point_xy<double>;
using BPolygon = bg::model::polygon<BPoint, false, true>;  // counter-clockwise outline, closed rings
using BRing = BPolygon::ring_type;
using BMultiPolygon = bg::model::multi_polygon<BPolygon>;

Coord Rotate(const Coord& p, const Coord& c, double a)
{
    const double cs = std::cos(a), sn = std::sin(a);
    const double dx = p.x - c.x, dy = p.y - c.y;
    return {c.x + dx * cs - dy * sn, c.y + dx * sn + dy * cs};
}

// Signed area between the chord p -> q and the arc over it turning by a:
// positive for a counter-clockwise arc, which bulges to the chord's right.
double ArcSegmentArea(const Coord& p, const Coord& q, double a)
{
    const double s = std::sin(a * 0.5);
    if (s == 0.0)
        return 0.0;
    const double dx = q.x - p.x, dy = q.y - p.y;
    return (dx * dx + dy * dy) / 8.0 * (a - std::sin(a)) / (s * s);
}

// The shoelace sum is taken about the ring's first vertex: far from the
// origin the products of absolute coordinates would lose the area to
// rounding (at 1e9 they are 1e18, whose rounding step is 128).
double SignedRingArea(const PolyContour& ring)
{
    const UInt32 n = ring.GetSize();
    if (n == 0)
        return 0.0;
    const Coord origin = ring[0].pos;
    double twice = 0.0, arcs = 0.0;
    for (UInt32 i = 0; i < n; ++i) {
        const PolyVertex& v = ring[i];
        const Coord& next = ring[(i + 1) % n].pos;
        twice += (v.pos.x - origin.x) * (next.y - origin.y) - (next.x - origin.x) * (v.pos.y - origin.y);
        if (IsArcAngle(v.arcAngle))
            arcs += ArcSegmentArea(v.pos, next, v.arcAngle);
    }
    return twice * 0.5 + arcs;
}

// The points of one arc, from its begin vertex to its end vertex.
struct ArcChain {
    std::vector<Coord> points;
    double angle;
};

// Chains by their first point, in both directions: a result ring may run
// along an arc either way.
struct ChainEnd {
    const ArcChain* chain;
    bool reversed;
};
using ChainIndex = std::multimap<std::pair<double, double>, ChainEnd>;

std::pair<double, double> Key(const Coord& c) { return {c.x, c.y}; }

// The ring as straight edges, every arc cut into its chain; the chains are
// kept in `chains` (a deque, so that the index may point into it).
BRing ChainedRing(const PolyContour& contour, std::deque<ArcChain>& chains)
{
    BRing ring;
    const UInt32 n = contour.GetSize();
    for (UInt32 i = 0; i < n; ++i) {
        const PolyVertex& v = contour[i];
        const Coord& next = contour[(i + 1) % n].pos;
        ring.push_back(BPoint(v.pos.x, v.pos.y));
        Coord centre;
        if (!IsArcAngle(v.arcAngle) || !ArcGetOrigo(&v.pos, &next, v.arcAngle, &centre))
            continue;
        // At least two parts, so that a chain never looks like a straight edge.
        const double parts = std::min(std::max(2.0, std::ceil(std::fabs(v.arcAngle) / ChainStep)), MaxChainParts);
        const int count = static_cast<int>(parts);
        ArcChain chain{{v.pos}, v.arcAngle};
        for (int k = 1; k < count; ++k) {
            const Coord p = Rotate(v.pos, centre, k * v.arcAngle / count);
            // Finite ends can still put a chain point out of range.
            if (!std::isfinite(p.x) || !std::isfinite(p.y))
                throw GeometryException("polygon subtraction failed: an arc leaves the range of coordinates");
            chain.points.push_back(p);
            ring.push_back(BPoint(p.x, p.y));
        }
        chain.points.push_back(next);
        chains.push_back(std::move(chain));
    }
    if (!ring.empty())
        ring.push_back(ring.front());
    return ring;
}

BPolygon ChainedPolygon(const CorePolygon2D& polygon, std::deque<ArcChain>& chains)
{
    BPolygon result;
    result.outer() = ChainedRing(polygon.GetContour(0), chains);
    for (UInt32 i = 1; i < polygon.GetContourCount(); ++i)
        result.inners().push_back(ChainedRing(polygon.GetContour(i), chains));
    bg::correct(result);
    return result;
}

ChainIndex IndexChains(const std::deque<ArcChain>& chains)
{
    ChainIndex index;
    for (const ArcChain& c : chains) {
        index.insert({Key(c.points.front()), {&c, false}});
        index.insert({Key(c.points.back()), {&c, true}});
    }
    return index;
}

// A result ring back as a contour: each run of points that is a whole chain
// becomes the arc again (with its angle negated when run backwards).
PolyContour RestoreArcs(const BRing& ring, const ChainIndex& chains)
{
    std::vector<Coord> pts;
    for (USize i = 0; i + 1 < ring.size(); ++i)
        pts.push_back({bg::get<0>(ring[i]), bg::get<1>(ring[i])});
    const USize n = pts.size();

    struct Run {
        USize length = 0;  // edges the arc spans
        double angle = 0.0;
    };
    std::vector<Run> runs(n);
    for (USize i = 0; i < n; ++i) {
        auto range = chains.equal_range(Key(pts[i]));
        for (auto it = range.first; it != range.second && runs[i].length == 0; ++it) {
            const std::vector<Coord>& cp = it->second.chain->points;
            const USize m = cp.size() - 1;
            if (m >= n)
                continue;
            bool whole = true;
            for (USize k = 1; k <= m && whole; ++k)
                whole = pts[(i + k) % n] == cp[it->second.reversed ? m - k : k];
            if (whole)
                runs[i] = {m, it->second.reversed ? -it->second.chain->angle : it->second.chain->angle};
        }
    }

    // Start at an arc, if there is one, so that no arc wraps past the start.
    USize start = 0;
    while (start < n && runs[start].length == 0)
        ++start;
    if (start == n)
        start = 0;
    PolyContour contour;
    for (USize walked = 0; walked < n;) {
        const USize i = (start + walked) % n;
        if (runs[i].length > 0 && walked + runs[i].length <= n) {
            contour.Push({pts[i], runs[i].angle});
            walked += runs[i].length;
        } else {
            contour.Push({pts[i], 0.0});
            ++walked;
        }
    }
    return contour;
}

}  // namespace

bool ArcGetOrigo(const Coord* begC, const Coord* endC, double angle, Coord* origo)
{
    if (!IsArcAngle(angle) || !std::isfinite(angle) || *begC == *endC)
        return false;
    const Coord m = {(begC->x + endC->x) * 0.5, (begC->y + endC->y) * 0.5};
    const double t = std::tan(angle * 0.5);
    *origo = {m.x - (m.y - begC->y) / t, m.y + (m.x - begC->x) / t};
    return true;
}

void CorePolygon2D::AddContour(const PolyContour& contour)
{
    if (!contour.IsEmpty())
        contours.Push(contour);
}

double CorePolygon2D::CalcArea() const
{
    double area = 0.0;
    for (UInt32 i = 0; i < contours.GetSize(); ++i) {
        const double ring = std::fabs(SignedRingArea(contours[i]));
        area += i == 0 ? ring : -ring;
    }
    return area;
}

bool CorePolygon2D::IsValid() const
{
    for (const PolyContour& contour : contours)
        for (const PolyVertex& v : contour) {
            if (!std::isfinite(v.pos.x) || !std::isfinite(v.pos.y))
                return false;
            // An arc between two points turns less than a full circle; an
            // infinite angle is no arc either.
            if (IsArcAngle(v.arcAngle) && !(std::fabs(v.arcAngle) < 2.0 * Pi))
                return false;
        }
    return true;
}

CustomMultiPolygon2D CorePolygon2D::Substract(const CorePolygon2D& other) const
{
    // Boost.Geometry's behaviour is undefined on such points, so they never
    // reach it.
    if (!IsValid() || !other.IsValid())
        throw GeometryException("polygon subtraction refused: a coordinate is not finite or an arc turns a full circle or more");
    CustomMultiPolygon2D result;
    if (IsEmpty())
        return result;
    if (other.IsEmpty()) {
        result.Push(*this);
        return result;
    }
    try {
        std::deque<ArcChain> chains;
        const BPolygon minuend = ChainedPolygon(*this, chains);
        const BPolygon subtrahend = ChainedPolygon(other, chains);
        if (bg::disjoint(minuend, subtrahend)) {
            result.Push(*this);
            return result;
        }
        BMultiPolygon pieces;
        bg::difference(minuend, subtrahend, pieces);
        const ChainIndex index = IndexChains(chains);
        for (const BPolygon& piece : pieces) {
            CorePolygon2D polygon;
            polygon.AddContour(RestoreArcs(piece.outer(), index));
            if (polygon.IsEmpty())
                continue;
            for (const BRing& inner : piece.inners())
                polygon.AddContour(RestoreArcs(inner, index));
            result.Push(std::move(polygon));
        }
    } catch (const GeometryException&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        // Boost.Geometry's own exceptions, and the numeric overflow of its
        // rescaling (boost::numeric::bad_numeric_cast) on a tiny polygon.
        throw GeometryException(std::string("polygon subtraction failed: ") + e.what());
    } catch (...) {
        throw GeometryException("polygon subtraction failed");
    }
    return result;
}

}  // namespace Geometry
