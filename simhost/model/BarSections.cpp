#include "simhost/model/BarSections.hpp"
#include <cmath>

namespace SimHost {

namespace {

constexpr double DefaultDiameterMm = 12.0;

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
        double x = NumberAt(pos, r, 0, 0.0);
        const double y = NumberAt(pos, r, 1, 0.0);
        if (!std::isfinite(x) || !std::isfinite(y))
            continue;
        if (object.mirrored)
            x = -x;
        double d = NumberAt(extra, r, 1, 0.0);
        if (!(d > 0) || !std::isfinite(d))
            d = DefaultDiameterMm;
        sections.push_back({{object.pos.x + x * c - y * s, object.pos.y + x * s + y * c}, d / 1000.0});
    }
    return sections;
}

}  // namespace SimHost
