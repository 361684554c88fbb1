#include "simhost/scenario/PlanSvg.hpp"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>

namespace SimHost {

namespace {

using Ring = std::vector<API_Coord>;

struct Bounds {
    double xMin = std::numeric_limits<double>::infinity(), yMin = xMin;
    double xMax = -xMin, yMax = -xMin;
    void Add(const API_Coord& p)
    {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || std::fabs(p.x) > 1e6 || std::fabs(p.y) > 1e6)
            return;
        xMin = std::min(xMin, p.x);
        yMin = std::min(yMin, p.y);
        xMax = std::max(xMax, p.x);
        yMax = std::max(yMax, p.y);
    }
    bool Empty() const { return !(xMin <= xMax); }
};

std::string Num(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", std::isfinite(v) ? v : 0.0);
    return text;
}

// A path of closed rings; the y axis points up (the picture flips it).
std::string PathOf(const std::vector<Ring>& rings)
{
    std::string d;
    for (const Ring& ring : rings) {
        if (ring.size() < 2)
            continue;
        for (size_t i = 0; i < ring.size(); ++i)
            d += (i == 0 ? "M" : "L") + Num(ring[i].x) + "," + Num(-ring[i].y) + " ";
        d += "Z ";
    }
    return d;
}

std::vector<Ring> RingsOf(const PolygonRings& p)
{
    std::vector<Ring> rings{p.contour};
    rings.insert(rings.end(), p.holes.begin(), p.holes.end());
    return rings;
}

// The rings of `et_coords` (status, x, y rows; a row of status -1 closes a
// ring) in the object's own frame.
std::vector<Ring> CoordRings(const ObjectPart& object)
{
    std::vector<Ring> rings;
    const GdlParam* coords = FindParam(object.params, "et_coords");
    if (coords == nullptr || coords->kind != GdlParam::Kind::Numbers || coords->dim2 != 3)
        return rings;
    Ring ring;
    for (Int32 r = 0; r < coords->dim1 && static_cast<size_t>(3 * r + 2) < coords->numbers.size(); ++r) {
        const double status = coords->numbers[static_cast<size_t>(3 * r)];
        if (status == -1) {
            if (!ring.empty())
                rings.push_back(ring);
            ring.clear();
            continue;
        }
        ring.push_back({coords->numbers[static_cast<size_t>(3 * r + 1)], coords->numbers[static_cast<size_t>(3 * r + 2)]});
    }
    if (!ring.empty())
        rings.push_back(ring);
    return rings;
}

API_Coord Place(const ObjectPart& object, const API_Coord& p)
{
    const double c = std::cos(object.angle), s = std::sin(object.angle);
    return {object.pos.x + c * p.x - s * p.y, object.pos.y + s * p.x + c * p.y};
}

bool IsWallObject(const ObjectPart& object)
{
    const GdlParam* p = FindParam(object.params, "wall_reinforcement");
    return p != nullptr && p->kind == GdlParam::Kind::Number && p->number == 1;
}

}  // namespace

namespace {

// One outline to draw: closed rings, or an open line along a wall's side.
struct Shape {
    std::vector<Ring> rings;
    const char* style;
    std::string title;
    bool line = false;
};

// The shapes of the elements that lie in `database` (the null GUID is the
// floor plan), in model coordinates.
std::vector<Shape> ShapesOf(const Model& model, const API_Guid& database)
{
    std::vector<Shape> shapes;
    for (const Element& e : model.Elements()) {
        if (e.database != database)
            continue;
        if (const SlabPart* slab = e.As<SlabPart>())
            shapes.push_back({RingsOf(slab->outline), "fill:#d9d9d9;stroke:#555;stroke-width:0.03", "slab " + GuidText(e.guid)});
        if (const RoofPart* roof = e.As<RoofPart>()) {
            if (roof->roofClass == 0)
                shapes.push_back({RingsOf(roof->outline), "fill:#f2d7b6;stroke:#8a5a2b;stroke-width:0.03", "roof " + GuidText(e.guid)});
            for (const RoofPlaneDef& plane : roof->planes)
                shapes.push_back({RingsOf(plane.outline), "fill:#f2d7b6;stroke:#8a5a2b;stroke-width:0.03",
                                  "roof plane " + std::to_string(plane.partId.floor) + " of " + GuidText(e.guid)});
        }
        if (const WallPart* wall = e.As<WallPart>()) {
            // The plan polygon's rings (entry 0 unused, each ring closed).
            const WallPlanPolygon plan = BuildWallPlanPolygon(*wall);
            std::vector<Ring> rings;
            for (size_t r = 1; r < plan.ends.size(); ++r) {
                Ring ring;
                for (Int32 i = plan.ends[r - 1] + 1; i < plan.ends[r] && static_cast<size_t>(i) < plan.coords.size(); ++i)
                    ring.push_back(plan.coords[static_cast<size_t>(i)]);
                rings.push_back(ring);
            }
            shapes.push_back({rings, "fill:#bfbfbf;stroke:#333;stroke-width:0.03", "wall " + GuidText(e.guid)});
        }
        if (const OpeningPart* opening = e.As<OpeningPart>())
            shapes.push_back({{opening->shape}, "fill:#ffffff;stroke:#c00;stroke-width:0.03;stroke-dasharray:0.1,0.05",
                              "opening " + GuidText(e.guid)});
    }
    for (const Element& e : model.Elements()) {
        const ObjectPart* object = e.As<ObjectPart>();
        if (object == nullptr || e.database != database)
            continue;
        std::vector<Ring> rings = CoordRings(*object);
        if (rings.empty())
            continue;
        if (IsWallObject(*object)) {
            // The face lies upright along the wall: its extent along the side.
            double from = std::numeric_limits<double>::infinity(), to = -from;
            for (const Ring& r : rings)
                for (const API_Coord& p : r) {
                    from = std::min(from, p.x);
                    to = std::max(to, p.x);
                }
            shapes.push_back({{{Place(*object, {from, 0}), Place(*object, {to, 0})}},
                              "stroke:#0050c8;stroke-width:0.08;fill:none", "reinforcement " + GuidText(e.guid), true});
            continue;
        }
        for (Ring& r : rings)
            for (API_Coord& p : r)
                p = Place(*object, p);
        shapes.push_back({rings, "fill:#0050c8;fill-opacity:0.25;stroke:#0050c8;stroke-width:0.04",
                          "reinforcement " + GuidText(e.guid)});
    }
    return shapes;
}

Bounds BoundsOf(const std::vector<Shape>& shapes)
{
    Bounds bounds;
    for (const Shape& s : shapes)
        for (const Ring& r : s.rings)
            for (const API_Coord& p : r)
                bounds.Add(p);
    return bounds;
}

void Move(std::vector<Shape>& shapes, double dx, double dy)
{
    for (Shape& s : shapes)
        for (Ring& r : s.rings)
            for (API_Coord& p : r)
                p = {p.x + dx, p.y + dy};
}

void Write(std::ostream& body, const Shape& s)
{
    if (s.line && s.rings.size() == 1 && s.rings[0].size() == 2) {
        const Ring& line = s.rings[0];
        body << "  <path d=\"M" << Num(line[0].x) << "," << Num(-line[0].y) << " L" << Num(line[1].x) << ","
             << Num(-line[1].y) << "\" style=\"" << s.style << "\"><title>" << s.title << "</title></path>\n";
        return;
    }
    body << "  <path d=\"" << PathOf(s.rings) << "\" fill-rule=\"evenodd\" style=\"" << s.style << "\"><title>"
         << s.title << "</title></path>\n";
}

// A text fit for the picture's markup.
std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace

std::string PlanSvg(const Model& model)
{
    std::ostringstream body;
    const std::vector<Shape> plan = ShapesOf(model, APINULLGuid);
    Bounds bounds = BoundsOf(plan);
    for (const Shape& s : plan)
        Write(body, s);
    // Each detail drawing is drawn beside the plan, in a frame of its own
    // with its name, from the plan's lowest y to the right of what is
    // drawn already; its elements keep their places relative to each other.
    const double top = bounds.Empty() ? 0.0 : bounds.yMin;
    for (const DetailDrawing& detail : model.databases.details) {
        std::vector<Shape> shapes = ShapesOf(model, detail.id);
        Bounds own = BoundsOf(shapes);
        if (own.Empty())
            own = Bounds{0, 0, 1, 1};
        const double left = bounds.Empty() ? 0.0 : bounds.xMax + 1.0;
        Move(shapes, left + 0.5 - own.xMin, top + 0.5 - own.yMin);
        const Bounds moved = {left, top, left + own.xMax - own.xMin + 1.0, top + own.yMax - own.yMin + 1.0};
        const std::string name = Escaped(GS::UniString(detail.name).ToUtf8());
        body << "  <g><title>detail " << detail.number << " " << name << "</title>\n"
             << "  <rect x=\"" << Num(moved.xMin) << "\" y=\"" << Num(-moved.yMax) << "\" width=\""
             << Num(moved.xMax - moved.xMin) << "\" height=\"" << Num(moved.yMax - moved.yMin)
             << "\" style=\"fill:#fffbe6;stroke:#8a7a2b;stroke-width:0.03\"/>\n"
             << "  <text x=\"" << Num(moved.xMin + 0.1) << "\" y=\"" << Num(-moved.yMax - 0.1)
             << "\" font-size=\"0.3\">" << name << "</text>\n";
        for (const Shape& s : shapes)
            Write(body, s);
        body << "  </g>\n";
        bounds.Add({moved.xMin, moved.yMin});
        bounds.Add({moved.xMax, moved.yMax + 0.5});
    }
    if (bounds.Empty())
        bounds = Bounds{0, 0, 1, 1};
    const double margin = 0.05 * std::max(bounds.xMax - bounds.xMin, bounds.yMax - bounds.yMin) + 0.5;
    std::ostringstream svg;
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" << Num(bounds.xMin - margin) << " "
        << Num(-bounds.yMax - margin) << " " << Num(bounds.xMax - bounds.xMin + 2 * margin) << " "
        << Num(bounds.yMax - bounds.yMin + 2 * margin) << "\" width=\"800\" height=\"600\">\n"
        << "  <rect x=\"" << Num(bounds.xMin - margin) << "\" y=\"" << Num(-bounds.yMax - margin) << "\" width=\""
        << Num(bounds.xMax - bounds.xMin + 2 * margin) << "\" height=\"" << Num(bounds.yMax - bounds.yMin + 2 * margin)
        << "\" fill=\"white\"/>\n"
        << body.str() << "</svg>\n";
    return svg.str();
}

bool WritePlanSvg(const Model& model, const std::string& path)
{
    std::ofstream out(path);
    out << PlanSvg(model);
    return static_cast<bool>(out);
}

}  // namespace SimHost
