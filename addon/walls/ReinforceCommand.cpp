#include "addon/walls/ReinforceCommand.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostQueries.hpp"
#include "addon/host/HostRequests.hpp"
#include "addon/host/Owners.hpp"
#include "addon/services/CommandOutcome.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/CommandTrace.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/services/LibraryParts.hpp"
#include "addon/services/ResStrings.hpp"
#include "addon/walls/SidePicking.hpp"
#include "addon/walls/LayerAlert.hpp"
#include "platform/gs/MathConstants.hpp"
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr double HalfPi = GS::Pi / 2;

void Report(RSStringId text) { HostReport(GetResString(text), true); }

RSStringId SelectMessageOf(API_ElemTypeID type)
{
    switch (type) {
        case API_SlabID: return ResStr::Messages::SelectSlabs;
        case API_WallID: return ResStr::Messages::SelectWalls;
        default: return ResStr::Messages::SelectRoofs;
    }
}

void ZeroElement(API_Element& element) { std::memset(static_cast<void*>(&element), 0, sizeof element); }

// The element types of the layers' picks.
enum class PickKind { WallSide, SlabEdge, None };

PickKind PickKindOf(API_ElemTypeID type, LayerPart part)
{
    if (type == API_WallID)
        return PickKind::WallSide;
    if (type == API_SlabID && part != LayerPart::Complex)
        return PickKind::SlabEdge;
    return PickKind::None;
}

enum class Picks { Done, Cancelled, Failed };

// One sector per element. Cancelled when the user cancelled a point input;
// Failed when an element or what a pick reads of it could not be read: a
// side or edge taken from a fallback is not the one the user clicked.
Picks CollectSectors(const GS::Array<API_Guid>& elements, LayerPart part, GS::Array<API_Sector>& sectors)
{
    for (UInt32 j = 0; j < elements.GetSize(); ++j) {
        const HostFailureWatch watch;
        API_Element element;
        ZeroElement(element);
        if (ReadElement(elements[j], element) != NoError)
            return Picks::Failed;
        const API_ElemTypeID type = element.header.typeID;
        API_Sector sector{};
        GSErrCode err = NoError;
        switch (PickKindOf(type, part)) {
            case PickKind::WallSide: err = PickWallSide(elements[j], sector); break;
            case PickKind::SlabEdge: err = PickSlabEdge(elements[j], sector); break;
            case PickKind::None: break;
        }
        if (err != NoError)
            return Picks::Cancelled;
        if (watch.Seen())
            return Picks::Failed;
        sectors.Push(sector);
    }
    return Picks::Done;
}

// Ends the command before anything is placed, telling the user once.
void TellNotCompleted(GSErrCode err)
{
    CommandOutcome outcome;
    outcome.Fail(err);
    outcome.Tell();
}

// Places the layers in one undoable step, all or nothing, and tells the
// user once: that nothing was placed when any object could not be made
// whole (the host took the step back), or else how many elements got no
// object for want of a usable outline.
void PlaceLayers(ReinforcementLayers& layers, const GS::Array<API_Guid>& elements)
{
    CommandOutcome outcome;
    RunUndoableStep(outcome, [&]() { return layers.Place(elements); });
    if (outcome.Failed() || layers.ElementsWithoutOutline() == 0) {
        outcome.Tell();
        return;
    }
    char text[512];
    std::snprintf(text, sizeof text, GetResString(ResStr::Messages::ElementsWithoutOutline),
                  static_cast<int>(layers.ElementsWithoutOutline()));
    HostReport(text, true);
}

}  // namespace

bool WallPlaneIsVertical(const API_WallType& wall)
{
    if (wall.structureKind == 2 || wall.slantCode == 1 || wall.slantCode == 2)
        return false;
    return !(wall.angle > 0 && std::fabs(wall.slantAlpha - HalfPi) > 1e-4);
}

void SetDefaultPositionType(Int32 libInd, Int32 value)
{
    API_Element element;
    ZeroElement(element);
    element.header.typeID = API_ObjectID;
    element.header.variationID = APIVarId_Symbol;
    if (HostGetToolDefaults(&element, nullptr) != NoError)
        return;
    double a = 0.0, b = 0.0;
    Int32 count = 0;
    ParamHandleOwner params;
    // Parameters that were never read are not written back: the tool would
    // lose every parameter but the position.
    if (HostGetLibraryPartParams(libInd, &a, &b, &count, params.Out()) != NoError || params.Get() == nullptr)
        return;
    API_Element mask;
    ZeroElement(mask);
    element.object.libInd = libInd;
    element.object.xRatio = a;
    element.object.yRatio = b;
    std::memset(&mask.object.libInd, 0xFF, sizeof mask.object.libInd);
    std::memset(&mask.object.xRatio, 0xFF, sizeof mask.object.xRatio);
    std::memset(&mask.object.yRatio, 0xFF, sizeof mask.object.yRatio);
    bool first = true;
    GdlParams::ForEachNamed(params.Get(), "iPosition", [&](API_AddParType& r) {
        if (first && GdlParams::HoldsNumbers(r) && !GdlParams::IsArray(r))
            r.value.real = static_cast<double>(value);
        first = false;
    });
    // The memo lends the handle; the owner disposes of it.
    API_ElementMemo memo;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    memo.params = params.Get();
    HostChangeToolDefaults(&element, &mask, &memo);
}

void DefineReinforcementLayers(const GS::Array<API_Guid>& elements, Int32 positionType)
{
    LayerPartIndices indices{};
    const LibraryPart parts[] = {LibraryPart::Rebar, LibraryPart::Mesh, LibraryPart::FourthComplexObject};
    for (UInt32 k = 0; k < 3; ++k)
        if (FindLibraryPart(parts[k], &indices[k]) != NoError) {
            Report(ResStr::Messages::MissingRebar);
            return;
        }
    SetDefaultPositionType(indices[1], positionType);

    ReinforcementLayers layers;
    for (;;) {
        const API_ToolBoxItem tool = {API_ObjectID, APIVarId_Symbol};
        if (HostRequest::SETD(&tool) != NoError)
            return;
        API_Element defaults;
        ZeroElement(defaults);
        defaults.header.typeID = API_ObjectID;
        defaults.header.variationID = APIVarId_Symbol;
        MemoOwner memo;
        // Without the settings the dialog left, the layer would be made of
        // whatever the record held.
        const GSErrCode defaultsErr = HostGetToolDefaults(&defaults, &memo.Get());
        if (defaultsErr != NoError) {
            TellNotCompleted(defaultsErr);
            return;
        }
        // The handle becomes the layer's (or is disposed here); the memo
        // gives it up.
        ParamHandleOwner params;
        *params.Out() = memo->params;
        memo->params = nullptr;

        const LayerPart part = LayerPartOf(defaults.object.libInd, indices);
        if (part == LayerPart::Other) {
            Report(ResStr::Messages::NotRebarOrMesh);
            continue;
        }
        if (!AcceptLayerPosition(positionType, part, params.Get())) {
            Report(ResStr::Messages::PositionMismatch);
            continue;
        }
        GS::Array<API_Sector> sectors;
        switch (CollectSectors(elements, part, sectors)) {
            case Picks::Done: break;
            case Picks::Cancelled: return;
            case Picks::Failed: TellNotCompleted(APIERR_GENERAL); return;
        }
        layers.Add(defaults, params, sectors);

        if (!FinishAfterThisLayer())
            continue;
        PlaceLayers(layers, elements);
        return;
    }
}

void ReinforceSelectedElements(API_ElemTypeID elemType, const std::function<void()>& disableEntries)
{
    TraceCommand("ReinforceSelectedElements", elemType);
    GS::Array<API_Neig> items;
    Int32 kind = 0;
    const GSErrCode err = ReadSelection(items, kind, true);
    if (err != NoError && err != APIERR_NOSEL)
        return;
    if (kind == 0 || items.IsEmpty()) {
        Report(SelectMessageOf(elemType));
        return;
    }
    GS::Array<API_Guid> elements;
    for (UInt32 i = 0; i < items.GetSize(); ++i) {
        // An item whose type the host cannot tell is not of the command's
        // type.
        API_ElemTypeID type = API_ZombieElemID;
        ElementTypeOf(items[i], type);
        if (type != elemType) {
            Report(SelectMessageOf(elemType));
            return;
        }
        API_Element element;
        if (ReadElement(items[i].guid, element) != NoError) {
            Report(ResStr::Messages::ElementNotEditable);
            return;
        }
        if (elemType == API_WallID && !WallPlaneIsVertical(element.wall)) {
            Report(ResStr::Messages::WallNotVertical);
            return;
        }
        elements.Push(items[i].guid);
    }
    HostPostSelectionCall();
    if (disableEntries)
        disableEntries();
    DefineReinforcementLayers(elements, PositionTypeOf(elemType));
    ClearHighlight();
}
