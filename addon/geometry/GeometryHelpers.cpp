#include "addon/geometry/GeometryHelpers.hpp"
#include "platform/gs/MathConstants.hpp"
#include <cmath>

namespace {
using GS::Pi;
}

bool ArcCenter(const API_Coord& p1, const API_Coord& p2, double a, API_Coord& centre)
{
    if (std::fabs(a) < 1e-5) {
        centre = {0.0, 0.0};
        return false;
    }
    const API_Coord m = {(p1.x + p2.x) * 0.5, (p1.y + p2.y) * 0.5};
    // tan(a / 2) vanishes near a half turn; the centre is then the midpoint.
    if (std::fabs(std::fabs(a) - Pi) < 1e-4) {
        centre = m;
        return true;
    }
    const double t = std::tan(a * 0.5);
    centre = {m.x - (m.y - p1.y) / t, m.y + (m.x - p1.x) / t};
    return true;
}

double Orientation(const API_Coord& p0, const API_Coord& p1, const API_Coord& p2)
{
    return (p1.x - p0.x) * (p2.y - p0.y) - (p1.y - p0.y) * (p2.x - p0.x);
}

namespace {
double LineDistanceNumerator(double x1, double y1, double x2, double y2, double px, double py)
{
    return (y2 - y1) * px - (x2 - x1) * py + x2 * y1 - x1 * y2;
}
double LineLength(double x1, double y1, double x2, double y2)
{
    return std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
}
}  // namespace

double SignedLineDistance(double x1, double y1, double x2, double y2, double px, double py)
{
    return LineDistanceNumerator(x1, y1, x2, y2, px, py) / LineLength(x1, y1, x2, y2);
}

double LineDistance(double x1, double y1, double x2, double y2, double px, double py)
{
    return std::fabs(LineDistanceNumerator(x1, y1, x2, y2, px, py)) / LineLength(x1, y1, x2, y2);
}

double PointDistance(const API_Coord& p, const API_Coord& q)
{
    return std::sqrt((q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y));
}

API_Coord PerpendicularFoot(const API_Coord& p, const API_Sector& line)
{
    const double x1 = line.c1.x, y1 = line.c1.y, x2 = line.c2.x, y2 = line.c2.y;
    if (std::fabs(x2 - x1) < 1e-4)
        return {x1, p.y};
    if (std::fabs(y2 - y1) < 1e-4)
        return {p.x, y2};
    const double m = (y2 - y1) / (x2 - x1);
    const double b = y1 - m * x1;
    const double d = m * m + 1.0;
    return {(m * p.y + p.x - m * b) / d, (m * m * p.y + m * p.x + b) / d};
}

API_Coord RotateAround(const API_Coord& p, const API_Coord& c, double a)
{
    const double cs = std::cos(a), sn = std::sin(a);
    const double dx = p.x - c.x, dy = p.y - c.y;
    return {c.x + dx * cs - dy * sn, c.y + dx * sn + dy * cs};
}

API_Coord RotateAboutOrigin(const API_Coord& p, double a) { return RotateAround(p, {0.0, 0.0}, a); }

API_Coord VectorBetween(const API_Coord& p, const API_Coord& q) { return {q.x - p.x, q.y - p.y}; }

API_Sector SwappedSegment(const API_Sector& s) { return {s.c2, s.c1}; }

double AngleBetween2D(const API_Coord& u, const API_Coord& v)
{
    const double lu = std::sqrt(u.x * u.x + u.y * u.y);
    const double lv = std::sqrt(v.x * v.x + v.y * v.y);
    if (lu < 1e-5 || lv < 1e-5)
        return 0.0;
    const double c = (u.x * v.x + u.y * v.y) / (lv * lu);
    // Six decimals toward zero through a 32-bit integer. A cosine that does
    // not fit (only from infinite or NaN input) would make the conversion
    // undefined; it is out of [-1, 1] anyway and gives 0.
    const double scaled = c * 1000000.0;
    if (!(std::fabs(scaled) < 2147483647.0))
        return 0.0;
    const double cut = static_cast<Int32>(scaled) / 1000000.0;
    if (cut < -1.0 || cut > 1.0)
        return 0.0;
    return std::acos(cut);
}
