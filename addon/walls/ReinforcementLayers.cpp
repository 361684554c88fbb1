#include "addon/walls/ReinforcementLayers.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/walls/HostReinforcement.hpp"
#include <cmath>

Int32 PositionTypeOf(API_ElemTypeID elemType)
{
    switch (elemType) {
        case API_SlabID: return 1;
        case API_WallID: return 2;
        default: return 0;
    }
}

LayerPart LayerPartOf(Int32 libInd, const LayerPartIndices& indices)
{
    if (libInd == indices[0])
        return LayerPart::Rebar;
    if (libInd == indices[1])
        return LayerPart::Mesh;
    if (libInd == indices[2])
        return LayerPart::Complex;
    return LayerPart::Other;
}

bool AcceptLayerPosition(Int32 positionType, LayerPart part, API_AddParType** params)
{
    API_AddParType* first = nullptr;
    GdlParams::ForEachNamed(params, "iPosition", [&](API_AddParType& r) {
        if (first == nullptr)
            first = &r;
    });
    if (first == nullptr)
        return true;
    if (positionType == 0 && part != LayerPart::Mesh) {
        if (GdlParams::HoldsNumbers(*first) && !GdlParams::IsArray(*first))
            first->value.real = 4.0;
        return true;
    }
    const double position = std::round(GdlParams::Number(*first, std::nan("")));
    switch (positionType) {
        case 1: return position == 1.0;
        case 2: return position == 2.0 || position == 3.0;
        default: return position == 0.0;
    }
}

ReinforcementLayers::~ReinforcementLayers() { DisposeFrom(0); }

void ReinforcementLayers::Add(const API_Element& objectTemplate, ParamHandleOwner& handle,
                              GS::Array<API_Sector> layerSectors)
{
    templates.Push(objectTemplate);
    try {
        sectors.Push(std::move(layerSectors));
        try {
            params.Push(handle.Get());
        } catch (...) {
            sectors.Pop();
            throw;
        }
    } catch (...) {
        templates.Pop();
        throw;
    }
    handle.Release();
}

GSErrCode ReinforcementLayers::Place(const GS::Array<API_Guid>& elements)
{
    withoutOutline.Clear();
    for (UInt32 i = 0; i < params.GetSize(); ++i) {
        for (UInt32 j = 0; j < elements.GetSize(); ++j) {
            API_Sector sector{};
            if (j < sectors[i].GetSize())
                sector = sectors[i][j];
            const PlacingResult result = CallGuarded("GenerateHostReinforcement", PlacingResult::Failed, [&] {
                return GenerateHostReinforcement(elements[j], templates[i], params[i], sector);
            });
            // One object that cannot be made whole takes the whole step
            // back: a layer left out, an object unlinked or one with
            // another element's outline would be worse than none.
            if (result == PlacingResult::Failed)
                return APIERR_GENERAL;
            if (result == PlacingResult::NoOutline && !withoutOutline.Contains(elements[j]))
                withoutOutline.Push(elements[j]);
        }
        if (params[i] != nullptr)
            HostDisposeParamHandle(&params[i]);
        params[i] = nullptr;
    }
    return NoError;
}

void ReinforcementLayers::DisposeFrom(UInt32 first)
{
    for (UInt32 i = first; i < params.GetSize(); ++i)
        if (params[i] != nullptr) {
            HostDisposeParamHandle(&params[i]);
            params[i] = nullptr;
        }
}
