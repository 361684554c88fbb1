#include "simhost/library/ComplexBehaviour.hpp"
#include <algorithm>
#include <cmath>

namespace SimHost {

namespace {

constexpr double DefaultDiameterMm = 12.0;
constexpr double Cover = 0.05;

double At(const GdlParam* p, Int32 row, Int32 column, double fallback)
{
    if (p == nullptr || p->kind != GdlParam::Kind::Numbers || row >= p->dim1 || column >= p->dim2)
        return fallback;
    const size_t i = static_cast<size_t>(row) * static_cast<size_t>(p->dim2) + static_cast<size_t>(column);
    return i < p->numbers.size() ? p->numbers[i] : fallback;
}

}  // namespace

std::vector<BarSection> ComplexBarSections(const ObjectPart& object)
{
    std::vector<BarSection> sections;
    const GdlParam* pos = FindParam(object.params, "ironPos");
    if (pos == nullptr || pos->kind != GdlParam::Kind::Numbers || pos->dim2 < 2)
        return sections;
    const GdlParam* extra = FindParam(object.params, "ironExtraData");
    const double c = std::cos(object.angle), s = std::sin(object.angle);
    for (Int32 r = 0; r < pos->dim1 && USize(r + 1) * USize(pos->dim2) <= pos->numbers.size(); ++r) {
        double x = At(pos, r, 0, 0.0);
        const double y = At(pos, r, 1, 0.0);
        if (!std::isfinite(x) || !std::isfinite(y))
            continue;
        if (object.mirrored)
            x = -x;
        double d = At(extra, r, 1, 0.0);
        if (!(d > 0) || !std::isfinite(d))
            d = DefaultDiameterMm;
        sections.push_back({{object.pos.x + x * c - y * s, object.pos.y + x * s + y * c}, d / 1000.0});
    }
    return sections;
}

void ComputeComplexBounding(ObjectPart& object)
{
    const std::vector<BarSection> sections = ComplexBarSections(object);
    double box[4] = {object.pos.x - Cover, object.pos.y - Cover, object.pos.x + Cover, object.pos.y + Cover};
    if (!sections.empty()) {
        box[0] = box[1] = HUGE_VAL;
        box[2] = box[3] = -HUGE_VAL;
        for (const BarSection& b : sections) {
            const double reach = b.diameter / 2 + Cover;
            box[0] = std::min(box[0], b.centre.x - reach);
            box[1] = std::min(box[1], b.centre.y - reach);
            box[2] = std::max(box[2], b.centre.x + reach);
            box[3] = std::max(box[3], b.centre.y + reach);
        }
    }
    // A script writes only the parameters its part declares.
    GdlParam* bounding = FindParam(object.params, "ironBounding");
    if (bounding == nullptr)
        return;
    // A wider array keeps its further values.
    if (bounding->kind != GdlParam::Kind::Numbers || bounding->dim1 < 1 || bounding->dim2 < 4 ||
        bounding->numbers.size() < USize(bounding->dim1) * USize(bounding->dim2)) {
        bounding->kind = GdlParam::Kind::Numbers;
        bounding->dim1 = 1;
        bounding->dim2 = 4;
        bounding->numbers.assign(4, 0.0);
    }
    std::copy(box, box + 4, bounding->numbers.begin());
}

}  // namespace SimHost
