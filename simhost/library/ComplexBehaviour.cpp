#include "simhost/library/ComplexBehaviour.hpp"
#include <algorithm>
#include <cmath>

namespace SimHost {

namespace {

constexpr double Cover = 0.05;

}  // namespace

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
