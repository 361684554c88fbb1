// The layers the user accepts in the Slab, Wall and Roof command, the
// position check of a layer, and the undoable step that places them.
#pragma once
#include "addon/host/Owners.hpp"
#include "platform/api/APIdefs.hpp"
#include <array>

// The position type a layer's `iPosition` must match: 1 slab, 2 wall, 0 roof
// (and any other element type).
Int32 PositionTypeOf(API_ElemTypeID elemType);

// The accepted library parts, in the order they are looked up.
enum class LayerPart { Rebar, Mesh, Complex, Other };
using LayerPartIndices = std::array<Int32, 3>;  // rf_rebar, rf_mesh, FourthComplexObject
LayerPart LayerPartOf(Int32 libInd, const LayerPartIndices& indices);

// Whether a layer of the part with these parameters fits the position
// type, by its first `iPosition` rounded half away from zero: a slab needs
// 1, a wall 2 or 3, a roof mesh 0; a roof's bars and complex objects are
// always accepted and their `iPosition` becomes 4. Without an `iPosition`
// a layer is accepted; a value that is not a number matches nothing.
bool AcceptLayerPosition(Int32 positionType, LayerPart part, API_AddParType** params);

// The accepted layers: per layer the object template, its parameter
// handle and one sector per selected element. The handles are the
// layers' until they are placed; whatever is left is disposed through the
// host when the layers go, so a cancelled command frees every handle.
class ReinforcementLayers {
public:
    ReinforcementLayers() = default;
    ~ReinforcementLayers();
    ReinforcementLayers(const ReinforcementLayers&) = delete;
    ReinforcementLayers& operator=(const ReinforcementLayers&) = delete;

    // Takes over the owner's handle once the layer is held; when holding it
    // fails the handle stays with the owner, which disposes of it.
    void Add(const API_Element& objectTemplate, ParamHandleOwner& params, GS::Array<API_Sector> sectors);
    UInt32 Count() const { return params.GetSize(); }

    // Places every layer on every element, layer by layer and within a
    // layer in the elements' order, disposing of each layer's handle after
    // its last element. An element without a sector of its own gets a zero
    // sector. The undoable step's answer: 0, or an error as soon as one
    // object cannot be made whole, so that the host takes the step back.
    GSErrCode Place(const GS::Array<API_Guid>& elements);

    // The elements that got no object of some layer for want of a usable
    // outline, each once, from the last Place.
    UInt32 ElementsWithoutOutline() const { return withoutOutline.GetSize(); }

private:
    void DisposeFrom(UInt32 first);

    GS::Array<API_AddParType**> params;
    GS::Array<API_Element> templates;
    GS::Array<GS::Array<API_Sector>> sectors;
    GS::Array<API_Guid> withoutOutline;
};
