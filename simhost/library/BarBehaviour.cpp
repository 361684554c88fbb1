#include "simhost/library/BarBehaviour.hpp"
#include <algorithm>

namespace SimHost {

namespace {

constexpr double DefaultDiameterMm = 12.0;
constexpr double MassPerMetreFactor = 0.006165;  // kg per metre for d = 1 mm, times d^2
constexpr double NotListed = 90.0;

GdlParam& NumbersParam(ObjectPart& object, const char* name)
{
    if (GdlParam* p = FindParam(object.params, name))
        return *p;
    GdlParam p;
    p.name = name;
    object.params.push_back(p);
    return object.params.back();
}

}  // namespace

void ComputeBarListing(ObjectPart& object)
{
    const GdlParam* type = FindParam(object.params, "ironType");
    if (type == nullptr || type->kind != GdlParam::Kind::Numbers)
        return;
    const Int32 rows = type->dim1;
    const GdlParam* data = FindParam(object.params, "ironData");
    const GdlParam oldExtra = [&] {
        const GdlParam* e = FindParam(object.params, "ironExtraData");
        return e != nullptr ? *e : GdlParam{};
    }();

    const Int32 extraColumns = std::max<Int32>(3, oldExtra.kind == GdlParam::Kind::Numbers ? oldExtra.dim2 : 0);
    std::vector<double> extra(static_cast<size_t>(rows) * static_cast<size_t>(extraColumns), 0.0);
    std::vector<double> listing(static_cast<size_t>(rows) * 5, 0.0);
    for (Int32 r = 0; r < rows; ++r) {
        const Int32 n = static_cast<Int32>(NumberAt(type, r, 2, 0));
        double length = 0.0;
        for (Int32 c = 0; c < n; ++c)
            length += NumberAt(data, r, c, 0.0);
        double diameter = NumberAt(&oldExtra, r, 1, 0.0);
        if (!(diameter > 0))
            diameter = DefaultDiameterMm;
        double count = NumberAt(&oldExtra, r, 2, 0.0);
        if (!(count > 0))
            count = 1;
        double* e = &extra[static_cast<size_t>(r) * static_cast<size_t>(extraColumns)];
        for (Int32 c = 0; c < extraColumns; ++c)
            e[c] = NumberAt(&oldExtra, r, c, 0.0);
        e[0] = length;
        e[1] = diameter;
        e[2] = count;
        if (NumberAt(type, r, 0, 0) == NotListed)
            continue;
        double* l = &listing[static_cast<size_t>(r) * 5];
        l[0] = count;
        l[1] = diameter / 1000.0;
        l[2] = length;
        l[3] = count * length;
        l[4] = MassPerMetreFactor * diameter * diameter * count * length;
    }

    GdlParam& extraParam = NumbersParam(object, "ironExtraData");
    extraParam.kind = GdlParam::Kind::Numbers;
    extraParam.dim1 = rows;
    extraParam.dim2 = extraColumns;
    extraParam.numbers = std::move(extra);
    GdlParam& listingParam = NumbersParam(object, "ironListingData");
    listingParam.kind = GdlParam::Kind::Numbers;
    listingParam.dim1 = rows;
    listingParam.dim2 = 5;
    listingParam.numbers = std::move(listing);
}

}  // namespace SimHost
