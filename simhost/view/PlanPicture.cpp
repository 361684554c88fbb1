#include "simhost/view/PlanPicture.hpp"
#include "simhost/model/BarSections.hpp"
#include "simhost/model/WallPart.hpp"
#include <algorithm>
#include <cmath>
#include <limits>

namespace SimHost {

namespace {

double NumberParam(const ObjectPart& object, const char* name, double missing)
{
    const GdlParam* p = FindParam(object.params, name);
    if (p == nullptr)
        return missing;
    if (p->kind == GdlParam::Kind::Number)
        return p->number;
    if (p->kind == GdlParam::Kind::Numbers && !p->numbers.empty())
        return p->numbers[0];
    return missing;
}

bool Finite(const API_Coord& c) { return std::isfinite(c.x) && std::isfinite(c.y); }

PlanShape ObjectShape(const Element& e)
{
    const ObjectPart& object = e.Object();
    PlanShape shape;
    shape.element = &e;
    const GdlParam* bounding = FindParam(object.params, "ironBounding");
    if (NumberParam(object, "bShowSection", 0.0) > 0.1 && bounding != nullptr &&
        bounding->kind == GdlParam::Kind::Numbers && bounding->numbers.size() >= 4) {
        const std::vector<double>& b = bounding->numbers;
        shape.kind = PlanShape::Kind::Section;
        shape.rings.push_back({{b[0], b[1]}, {b[2], b[1]}, {b[2], b[3]}, {b[0], b[3]}});
        for (const BarSection& bar : ComplexBarSections(object)) {
            shape.points.push_back(bar.centre);
            shape.diameters.push_back(bar.diameter);
        }
        return shape;
    }
    const double a = NumberParam(object, "A", 0.0), b = NumberParam(object, "B", 0.0);
    const double c = std::cos(object.angle), s = std::sin(object.angle);
    const API_Coord o = object.pos;
    if (a > 0.0 && b > 0.0 && std::isfinite(a) && std::isfinite(b)) {
        shape.rings.push_back({o, {o.x + a * c, o.y + a * s}, {o.x + a * c - b * s, o.y + a * s + b * c},
                               {o.x - b * s, o.y + b * c}});
    } else {
        shape.points.push_back(o);
    }
    return shape;
}

// Pixels of one picture, with the box's mapping.
class Canvas {
public:
    Canvas(UInt32 width, UInt32 height, const API_Box& box) : width(width), height(height)
    {
        pixels.width = width;
        pixels.height = height;
        pixels.rgb.assign(USize(width) * height * 3, 255);
        double w = box.xMax - box.xMin, h = box.yMax - box.yMin;
        // A box of no extent still shows its place.
        const double least = 1e-3;
        cx = (box.xMin + box.xMax) / 2;
        cy = (box.yMin + box.yMax) / 2;
        w = std::max(w, least);
        h = std::max(h, least);
        // A small margin, so that outlines on the box's edge show.
        scale = 0.92 * std::min(width / w, height / h);
    }

    void Point(double px, double py, double& x, double& y) const
    {
        x = width / 2.0 + (px - cx) * scale;
        y = height / 2.0 - (py - cy) * scale;
    }

    void Set(long x, long y, const std::uint8_t colour[3])
    {
        if (x < 0 || y < 0 || x >= long(width) || y >= long(height))
            return;
        std::uint8_t* p = &pixels.rgb[(USize(y) * width + USize(x)) * 3];
        p[0] = colour[0];
        p[1] = colour[1];
        p[2] = colour[2];
    }

    void Line(const API_Coord& a, const API_Coord& b, const std::uint8_t colour[3])
    {
        double x0, y0, x1, y1;
        Point(a.x, a.y, x0, y0);
        Point(b.x, b.y, x1, y1);
        // Far outside the picture a segment is clipped to a generous frame,
        // so that the number of steps stays bounded.
        const double limit = 4.0 * std::max(width, height);
        if (!Clip(x0, y0, x1, y1, -limit, limit))
            return;
        const long steps = long(std::ceil(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0)))) + 1;
        // Two pixels wide, so that a line keeps its colour in a JPEG picture.
        for (long i = 0; i <= steps; ++i) {
            const double t = double(i) / steps;
            const long x = std::lround(x0 + (x1 - x0) * t), y = std::lround(y0 + (y1 - y0) * t);
            Set(x, y, colour);
            Set(x + 1, y, colour);
            Set(x, y + 1, colour);
        }
    }

    void Dot(const API_Coord& c, const std::uint8_t colour[3])
    {
        double x, y;
        Point(c.x, c.y, x, y);
        if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > 1e6 || std::fabs(y) > 1e6)
            return;
        for (long dy = -1; dy <= 1; ++dy)
            for (long dx = -1; dx <= 1; ++dx)
                Set(std::lround(x) + dx, std::lround(y) + dy, colour);
    }

    // A bar's cut: a filled disc of the diameter (in model units), at least
    // the size of a dot.
    void Disc(const API_Coord& c, double diameter, const std::uint8_t colour[3])
    {
        double x, y;
        Point(c.x, c.y, x, y);
        const double r = std::max(1.5, diameter / 2 * scale);
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(r) || std::fabs(x) > 1e6 || std::fabs(y) > 1e6 ||
            r > 4.0 * std::max(width, height))
            return;
        for (long dy = long(std::floor(-r)); dy <= long(std::ceil(r)); ++dy)
            for (long dx = long(std::floor(-r)); dx <= long(std::ceil(r)); ++dx)
                if (dx * dx + dy * dy <= r * r)
                    Set(std::lround(x) + dx, std::lround(y) + dy, colour);
    }

    // Hatches the ring's box in the picture (a section's cut face).
    void Hatch(const std::vector<API_Coord>& ring, const std::uint8_t colour[3])
    {
        double xMin = std::numeric_limits<double>::max(), yMin = xMin, xMax = -xMin, yMax = -xMin;
        for (const API_Coord& c : ring) {
            double x, y;
            Point(c.x, c.y, x, y);
            xMin = std::min(xMin, x);
            xMax = std::max(xMax, x);
            yMin = std::min(yMin, y);
            yMax = std::max(yMax, y);
        }
        // Beyond the picture only what lies inside it is hatched.
        if (!std::isfinite(xMin) || !std::isfinite(xMax) || !std::isfinite(yMin) || !std::isfinite(yMax))
            return;
        xMin = std::max(xMin, -1.0);
        yMin = std::max(yMin, -1.0);
        xMax = std::min(xMax, double(width));
        yMax = std::min(yMax, double(height));
        const long x0 = std::max(0L, long(std::ceil(xMin))), x1 = std::min(long(width) - 1, long(std::floor(xMax)));
        const long y0 = std::max(0L, long(std::ceil(yMin))), y1 = std::min(long(height) - 1, long(std::floor(yMax)));
        for (long y = y0; y <= y1; ++y)
            for (long x = x0; x <= x1; ++x)
                if ((x + y) % 6 < 2)
                    Set(x, y, colour);
    }

    GX::Jpeg::Pixels pixels;

private:
    // Liang-Barsky against the square [lo, hi]²; false when nothing is left
    // or a value is not finite.
    static bool Clip(double& x0, double& y0, double& x1, double& y1, double lo, double hi)
    {
        if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
            return false;
        double t0 = 0.0, t1 = 1.0;
        const double dx = x1 - x0, dy = y1 - y0;
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {x0 - lo, hi - x0, y0 - lo, hi - y0};
        for (int i = 0; i < 4; ++i) {
            if (p[i] == 0.0) {
                if (q[i] < 0.0)
                    return false;
                continue;
            }
            const double r = q[i] / p[i];
            if (p[i] < 0.0)
                t0 = std::max(t0, r);
            else
                t1 = std::min(t1, r);
            if (t0 > t1)
                return false;
        }
        const double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy;
        x1 = x0 + t1 * dx;
        y1 = y0 + t1 * dy;
        x0 = nx0;
        y0 = ny0;
        return true;
    }

    UInt32 width, height;
    double cx = 0.0, cy = 0.0, scale = 1.0;
};

}  // namespace

std::vector<PlanShape> PlanOutlines(const Model& model)
{
    std::vector<PlanShape> shapes;
    for (const Element& e : model.Elements()) {
        const auto layer = model.layers.find(e.layer);
        // The window shows its own database: the detail drawing's copies are
        // not in the floor plan, nor the floor plan's elements in a drawing.
        if ((layer != model.layers.end() && layer->second.hidden) || e.story != model.currentStory ||
            e.database != model.currentDatabase)
            continue;
        if (e.As<ObjectPart>() != nullptr) {
            shapes.push_back(ObjectShape(e));
        } else if (const WallPart* wall = e.As<WallPart>()) {
            const WallPlanPolygon plan = BuildWallPlanPolygon(*wall);
            PlanShape shape;
            shape.kind = PlanShape::Kind::Wall;
            shape.element = &e;
            for (USize k = 1; k < plan.ends.size(); ++k) {
                const Int32 first = plan.ends[k - 1] + 1, last = plan.ends[k];
                if (first < 1 || last >= Int32(plan.coords.size()) || last - first < 2)
                    continue;
                shape.rings.emplace_back(plan.coords.begin() + first, plan.coords.begin() + last + 1);
            }
            if (!shape.rings.empty())
                shapes.push_back(std::move(shape));
        } else if (const OpeningPart* opening = e.As<OpeningPart>()) {
            if (opening->shape.size() >= 2) {
                PlanShape shape;
                shape.kind = PlanShape::Kind::Opening;
                shape.element = &e;
                shape.rings.push_back(opening->shape);
                shapes.push_back(std::move(shape));
            }
        }
    }
    return shapes;
}

API_Box DrawingExtent(const std::vector<PlanShape>& shapes)
{
    const double inf = std::numeric_limits<double>::infinity();
    API_Box box{inf, inf, -inf, -inf};
    auto add = [&](const API_Coord& c) {
        if (!Finite(c))
            return;
        box.xMin = std::min(box.xMin, c.x);
        box.yMin = std::min(box.yMin, c.y);
        box.xMax = std::max(box.xMax, c.x);
        box.yMax = std::max(box.yMax, c.y);
    };
    for (const PlanShape& s : shapes) {
        for (const auto& ring : s.rings)
            for (const API_Coord& c : ring)
                add(c);
        for (const API_Coord& c : s.points)
            add(c);
    }
    if (!(box.xMin <= box.xMax))
        return API_Box{-1.0, -1.0, 1.0, 1.0};
    return box;
}

GX::Jpeg::Pixels DrawPlan(const std::vector<PlanShape>& shapes, const API_Box& box, UInt32 width, UInt32 height,
                          bool blackAndWhite)
{
    static const std::uint8_t black[3] = {0, 0, 0};
    static const std::uint8_t objectColour[3] = {20, 60, 200};
    static const std::uint8_t sectionColour[3] = {200, 30, 30};
    static const std::uint8_t hatchColour[3] = {240, 150, 150};
    static const std::uint8_t openingColour[3] = {30, 150, 60};
    static const std::uint8_t wallColour[3] = {70, 70, 70};
    static const std::uint8_t barColour[3] = {20, 20, 20};
    Canvas canvas(width, height, box);
    for (const PlanShape& s : shapes) {
        const std::uint8_t* colour = blackAndWhite                          ? black
                                     : s.kind == PlanShape::Kind::Section ? sectionColour
                                     : s.kind == PlanShape::Kind::Opening ? openingColour
                                     : s.kind == PlanShape::Kind::Wall    ? wallColour
                                                                          : objectColour;
        for (const auto& ring : s.rings) {
            if (s.kind == PlanShape::Kind::Section)
                canvas.Hatch(ring, blackAndWhite ? black : hatchColour);
            for (USize i = 0; i < ring.size(); ++i)
                canvas.Line(ring[i], ring[(i + 1) % ring.size()], colour);
        }
        for (USize i = 0; i < s.points.size(); ++i)
            if (i < s.diameters.size())
                canvas.Disc(s.points[i], s.diameters[i], blackAndWhite ? black : barColour);
            else
                canvas.Dot(s.points[i], colour);
    }
    return std::move(canvas.pixels);
}

}  // namespace SimHost
