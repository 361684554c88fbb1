#include "simhost/scenario/PlanSvg.hpp"
#include "simhost/model/BarSections.hpp"
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

double NumberOf(const ObjectPart& object, const char* name, double missing)
{
    const GdlParam* p = FindParam(object.params, name);
    return p != nullptr && p->kind == GdlParam::Kind::Number && std::isfinite(p->number) ? p->number : missing;
}

double Cell(const GdlParam* p, Int32 row, Int32 column)
{
    if (p == nullptr || p->kind != GdlParam::Kind::Numbers || row >= p->dim1 || column >= p->dim2)
        return 0.0;
    const size_t i = static_cast<size_t>(row) * static_cast<size_t>(p->dim2) + static_cast<size_t>(column);
    return i < p->numbers.size() && std::isfinite(p->numbers[i]) ? p->numbers[i] : 0.0;
}

// A bar's shape in its own frame: its ironData segments one after the
// other from its origin, the first along x, each turned a right angle
// counter-clockwise from the one before (a stirrup of four closes).
Ring BarLine(const ObjectPart& object)
{
    const GdlParam* type = FindParam(object.params, "ironType");
    const GdlParam* data = FindParam(object.params, "ironData");
    const Int32 n = std::max<Int32>(1, static_cast<Int32>(Cell(type, 0, 2)));
    Ring line{{0, 0}};
    const API_Coord turns[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    for (Int32 k = 0; k < n && k < 64; ++k) {
        const double length = Cell(data, 0, k);
        const API_Coord& at = line.back();
        line.push_back({at.x + turns[k % 4].x * length, at.y + turns[k % 4].y * length});
    }
    return line;
}

// The plan box of a complex object in its own frame: the box its sub-bars'
// symbols span ("ironMinMax", x and y) when it has an extent, else the box
// of its bars' sections with their cover.
Ring ComplexBox(const ObjectPart& object)
{
    const GdlParam* minMax = FindParam(object.params, "ironMinMax");
    double x0 = Cell(minMax, 0, 0), y0 = Cell(minMax, 0, 1), x1 = Cell(minMax, 0, 3), y1 = Cell(minMax, 0, 4);
    if (!(x1 > x0 && y1 > y0)) {
        ObjectPart own = object;
        own.pos = {0, 0};
        own.angle = 0;
        own.mirrored = false;
        x0 = -0.05, y0 = -0.05, x1 = 0.05, y1 = 0.05;
        for (const BarSection& b : ComplexBarSections(own)) {
            const double reach = b.diameter / 2 + 0.05;
            x0 = std::min(x0, b.centre.x - reach);
            y0 = std::min(y0, b.centre.y - reach);
            x1 = std::max(x1, b.centre.x + reach);
            y1 = std::max(y1, b.centre.y + reach);
        }
    }
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

// What a placed reinforcement object of the library is, told by the
// parameters its part declares.
enum class ObjectKind { List, Complex, Bar, Outline };

ObjectKind KindOf(const ObjectPart& object)
{
    if (FindParam(object.params, "tableContentTexts") != nullptr)
        return ObjectKind::List;
    if (FindParam(object.params, "ironBounding") != nullptr)
        return ObjectKind::Complex;
    // The Wall, Slab and Roof command place their layers (of any part) with
    // an outline and "bIronPlacedManual" 0; a bar the user placed is drawn
    // as a bar.
    if (FindParam(object.params, "et_coords") != nullptr && NumberOf(object, "bIronPlacedManual", 1.0) < 0.5)
        return ObjectKind::Outline;
    if (FindParam(object.params, "bOnlyOneBar") != nullptr)
        return ObjectKind::Bar;
    return ObjectKind::Outline;
}

// A list's table as placed: a cell of ListCellWidth x ListRowHeight per
// text, the first row at the object's position, rows downward.
constexpr double ListCellWidth = 1.2;
constexpr double ListRowHeight = 0.3;

}  // namespace

namespace {

// One outline to draw: closed rings, or an open line along a wall's side.
struct Shape {
    Shape(std::vector<Ring> rings, const char* style, std::string title, bool line = false)
        : rings(std::move(rings)), style(style), title(std::move(title)), line(line)
    {
    }
    std::vector<Ring> rings;
    const char* style;
    std::string title;
    bool line = false;  // one open line through the first ring's points
    // Texts written at points (a list's cells).
    std::vector<std::pair<API_Coord, std::string>> texts;
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
        const std::string title = GuidText(e.guid);
        switch (KindOf(*object)) {
        case ObjectKind::List: {
            const GdlParam* table = FindParam(object->params, "tableContentTexts");
            const Int32 rows = std::max<Int32>(1, table->kind == GdlParam::Kind::Texts ? table->dim1 : 1);
            const Int32 columns = std::max<Int32>(1, table->kind == GdlParam::Kind::Texts ? table->dim2 : 1);
            Shape list({}, "fill:#ffffff;stroke:#6a2b8a;stroke-width:0.02", "list " + title);
            for (Int32 r = 0; r < rows; ++r)
                for (Int32 c = 0; c < columns; ++c) {
                    const double x = c * ListCellWidth, y = -(r + 1) * ListRowHeight;
                    list.rings.push_back({Place(*object, {x, y}), Place(*object, {x + ListCellWidth, y}),
                                          Place(*object, {x + ListCellWidth, y + ListRowHeight}),
                                          Place(*object, {x, y + ListRowHeight})});
                    const size_t i = static_cast<size_t>(r) * static_cast<size_t>(columns) + static_cast<size_t>(c);
                    if (table->kind == GdlParam::Kind::Texts && i < table->texts.size() && !table->texts[i].empty())
                        list.texts.push_back({Place(*object, {x + 0.05, y + 0.08}),
                                              GS::UniString(table->texts[i]).ToUtf8()});
                }
            shapes.push_back(std::move(list));
            continue;
        }
        case ObjectKind::Complex: {
            Ring box = ComplexBox(*object);
            for (API_Coord& p : box)
                p = Place(*object, p);
            shapes.push_back({{box}, "fill:#c8a000;fill-opacity:0.3;stroke:#8a6a00;stroke-width:0.03",
                              "complex element " + title});
            continue;
        }
        case ObjectKind::Bar: {
            Ring line = BarLine(*object);
            for (API_Coord& p : line)
                p = Place(*object, p);
            shapes.push_back({{line}, "stroke:#b00020;stroke-width:0.03;fill:none", "bar " + title, true});
            continue;
        }
        case ObjectKind::Outline:
            break;
        }
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
                              "stroke:#0050c8;stroke-width:0.08;fill:none", "reinforcement " + title, true});
            continue;
        }
        // An object in a sloped roof plane lies in that plane: its outline
        // is given along the slope and drawn as the plan sees it, its
        // extent up the slope shortened by the cosine of the slope.
        const double slope = NumberOf(*object, "ironAngleY", 0.0);
        const double along = std::isfinite(std::cos(slope)) ? std::fabs(std::cos(slope)) : 1.0;
        for (Ring& r : rings)
            for (API_Coord& p : r)
                p = Place(*object, {p.x, p.y * along});
        shapes.push_back({rings, "fill:#0050c8;fill-opacity:0.25;stroke:#0050c8;stroke-width:0.04",
                          "reinforcement " + title});
    }
    return shapes;
}

Bounds BoundsOf(const std::vector<Shape>& shapes)
{
    Bounds bounds;
    for (const Shape& s : shapes) {
        for (const Ring& r : s.rings)
            for (const API_Coord& p : r)
                bounds.Add(p);
        for (const auto& t : s.texts)
            bounds.Add(t.first);
    }
    return bounds;
}

void Move(std::vector<Shape>& shapes, double dx, double dy)
{
    for (Shape& s : shapes) {
        for (Ring& r : s.rings)
            for (API_Coord& p : r)
                p = {p.x + dx, p.y + dy};
        for (auto& t : s.texts)
            t.first = {t.first.x + dx, t.first.y + dy};
    }
}

std::string Escaped(const std::string& text);

void Write(std::ostream& body, const Shape& s)
{
    if (s.line && s.rings.size() == 1 && s.rings[0].size() >= 2) {
        const Ring& line = s.rings[0];
        body << "  <path d=\"";
        for (size_t i = 0; i < line.size(); ++i)
            body << (i == 0 ? "M" : " L") << Num(line[i].x) << "," << Num(-line[i].y);
        body << "\" style=\"" << s.style << "\"><title>" << s.title << "</title></path>\n";
        return;
    }
    body << "  <path d=\"" << PathOf(s.rings) << "\" fill-rule=\"evenodd\" style=\"" << s.style << "\"><title>"
         << s.title << "</title></path>\n";
    for (const auto& t : s.texts)
        body << "  <text x=\"" << Num(t.first.x) << "\" y=\"" << Num(-t.first.y) << "\" font-size=\"0.15\">"
             << Escaped(t.second) << "</text>\n";
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
    // The picture has the drawing's proportions: PixelsPerMetre, its longer
    // side at most MaxPixels (a large model is drawn smaller).
    const double w = bounds.xMax - bounds.xMin + 2 * margin, h = bounds.yMax - bounds.yMin + 2 * margin;
    constexpr double PixelsPerMetre = 50.0, MaxPixels = 4000.0;
    const double scale = std::min(PixelsPerMetre, MaxPixels / std::max(w, h));
    const long width = std::max(1L, std::lround(w * scale)), height = std::max(1L, std::lround(h * scale));
    std::ostringstream svg;
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" << Num(bounds.xMin - margin) << " "
        << Num(-bounds.yMax - margin) << " " << Num(w) << " " << Num(h) << "\" width=\"" << width << "\" height=\""
        << height << "\">\n"
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
