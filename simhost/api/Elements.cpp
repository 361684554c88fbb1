// Elements, memos and the selection.
#include "simhost/model/ElementRecords.hpp"
#include "simhost/api/HostApi.hpp"
#include "simhost/api/Requests.hpp"
#include "platform/gs/Memory.hpp"
#include "simhost/model/ParamHandles.hpp"
#include "simhost/api/Walls.hpp"
#include <algorithm>
#include <cmath>
#include <cstring>

namespace SimHost {

namespace {

// Takes the memo parts the mask names into the element.
GSErrCode ApplyMemo(Host& host, Element& e, const API_ElementMemo* memo, UInt64 memoMask)
{
    if (memo == nullptr)
        return NoError;
    if ((memoMask & APIMemoMask_AddPars) != 0 && memo->params != nullptr) {
        ObjectPart* object = e.As<ObjectPart>();
        if (object == nullptr)
            return APIERR_BADPARS;
        // Read in place of the copy's parameters, which hold storage only
        // (see ChangeOne); a copy that is refused is dropped whole.
        std::string fault;
        if (!ReadParamHandle(memo->params, object->params, fault)) {
            host.recorder.AddFault("change of " + GuidText(e.guid) + ": " + fault);
            return APIERR_BADPARS;
        }
        host.libraries.ParamsChanged(host, e);
    }
    if ((memoMask & APIMemoMask_ElemInfoString) != 0 && memo->elemInfoString != nullptr)
        e.infoString = memo->elemInfoString->Units();
    return NoError;
}

// A real host refuses to change an element on a locked layer, and to move
// one onto a locked layer, as it refuses to create one there.
bool OnLockedLayer(const Host& host, Int32 layerIndex)
{
    auto layer = host.model.layers.find(layerIndex);
    return layer != host.model.layers.end() && layer->second.locked;
}

// Changes one element as a whole: nothing changes when the memo is refused.
GSErrCode ChangeOne(Host& host, Element& e, const API_Element* record, const API_Element* mask, const API_ElementMemo* memo,
                    UInt64 memoMask)
{
    // Parameters the memo replaces are not copied with the element only to
    // be dropped: the copy is made without them, and reads the memo into the
    // storage of the parameters an earlier change replaced (the host's
    // spares). Whatever becomes of the change, the parameters it leaves
    // unused go back to the spares.
    ObjectPart* object = e.As<ObjectPart>();
    const bool newParams =
        object != nullptr && memo != nullptr && (memoMask & APIMemoMask_AddPars) != 0 && memo->params != nullptr;
    GdlParams kept;
    if (newParams)
        kept.swap(object->params);
    Element changed = e;
    if (newParams) {
        kept.swap(object->params);
        changed.Object().params.swap(host.spareParams);
    }
    auto refuse = [&](GSErrCode err) {
        if (ObjectPart* copy = newParams ? changed.As<ObjectPart>() : nullptr)
            host.spareParams.swap(copy->params);
        return err;
    };
    if (record != nullptr)
        ApplyRecord(changed, *record, mask);
    if (changed.story != e.story && (changed.story < host.model.firstStory || changed.story > host.model.lastStory))
        return refuse(APIERR_BADINDEX);
    if (OnLockedLayer(host, e.layer) || OnLockedLayer(host, changed.layer))
        return refuse(APIERR_NOTEDITABLE);
    GSErrCode err = ApplyMemo(host, changed, memo, memoMask);
    if (err != NoError)
        return refuse(err);
    err = host.RequireUndoScopeFor([&] { return "change of " + GuidText(e.guid); });
    if (err != NoError)
        return refuse(err);
    if (newParams)
        host.spareParams.swap(object->params);
    e = std::move(changed);
    host.recorder.changedElements.push_back(e.guid);
    return NoError;
}

GSErrCode HandOutMemo(Host& host, const Element& element, API_ElementMemo* memo, UInt64 mask);

}  // namespace

// ---------------------------------------------------------------- requests

GSErrCode RequestHandlers::NTOE(const API_Neig* item, API_ElemTypeID* type)
{
    if (item == nullptr || type == nullptr)
        return APIERR_BADPARS;
    const Element* e = host.model.Find(item->guid);
    if (e == nullptr)
        return APIERR_BADID;
    *type = e->type;
    return NoError;
}

// The location offset of the database, set by a scenario (none by default).
GSErrCode RequestHandlers::GOFS(API_Coord* offset)
{
    if (offset == nullptr)
        return APIERR_BADPARS;
    *offset = host.model.locationOffset;
    return NoError;
}

GSErrCode RequestHandlers::RPAS(const API_Element* element, const UInt32*)
{
    if (element == nullptr)
        return APIERR_BADPARS;
    Element* e = host.model.Find(element->header.guid);
    if (e == nullptr || e->As<ObjectPart>() == nullptr)
        return APIERR_BADID;
    const LibraryPartDef* part = host.libraries.PartOfIndex(e->Object().libInd);
    if (part == nullptr)
        return APIERR_BADINDEX;
    auto it = host.libraries.behaviours.find(part->name);
    if (it != host.libraries.behaviours.end())
        it->second(host, *e);
    return NoError;
}

// ---------------------------------------------------------------- slots

GSErrCode HostApi::GetElement(API_Element* element)
{
    if (element == nullptr)
        return APIERR_BADPARS;
    const Element* e = host.model.Find(element->header.guid);
    if (e == nullptr)
        return APIERR_BADID;
    FillRecord(*e, *element);
    return NoError;
}

GSErrCode HostApi::GetMemo(API_Guid guid, API_ElementMemo* memo, UInt64 mask)
{
    if (memo == nullptr)
        return APIERR_BADPARS;
    const Element* e = host.model.Find(guid);
    if (e == nullptr)
        return APIERR_BADID;
    return HandOutMemo(host, *e, memo, mask);
}

// The element of the notification running now, as it was before the
// user's change: only while the add-on handles an element event.
GSErrCode HostApi::GetElementBeforeChange(API_Element* element, API_ElementMemo* memo, UInt64 memoMask, UInt32)
{
    if (element == nullptr)
        return APIERR_BADPARS;
    const Element* before = host.user.ElementBeforeChange();
    if (before == nullptr)
        return APIERR_REFUSEDCMD;
    if (element->header.guid != APINULLGuid && element->header.guid != before->guid)
        return APIERR_BADID;
    FillRecord(*before, *element);
    if (memo != nullptr && memoMask != 0)
        return HandOutMemo(host, *before, memo, memoMask);
    return NoError;
}

namespace {

// Hands out the memo parts the mask names, in fresh handles the caller
// disposes of with DisposeMemo.
GSErrCode HandOutMemo(Host& host, const Element& element, API_ElementMemo* memo, UInt64 mask)
{
    const Element* e = &element;
    if ((mask & APIMemoMask_AddPars) != 0)
        if (const ObjectPart* object = e->As<ObjectPart>()) {
            memo->params = BuildParamHandle(object->params);
            if (memo->params == nullptr)
                return APIERR_MEMFULL;
        }
    if ((mask & APIMemoMask_Polygon) != 0) {
        if (const WallPart* wall = e->As<WallPart>())
            if (!HandOutWallPlanPolygon(*wall, *memo))
                return APIERR_MEMFULL;
        const PolygonRings* outline = nullptr;
        if (const SlabPart* slab = e->As<SlabPart>())
            outline = &slab->outline;
        if (const RoofPart* roof = e->As<RoofPart>())
            outline = &roof->outline;
        if (outline != nullptr && !FillPolygonMemo(*outline, *memo))
            return APIERR_MEMFULL;
    }
    if ((mask & APIMemoMask_ElemInfoString) != 0) {
        memo->elemInfoString = new GS::UniString(e->infoString);
        host.session.memoStrings.insert(memo->elemInfoString);
    }
    return NoError;
}

}  // namespace

GSErrCode HostApi::DisposeMemo(API_ElementMemo* memo)
{
    if (memo == nullptr)
        return APIERR_BADPARS;
    KillParamHandle(&memo->params);
    GSHandle h = reinterpret_cast<GSHandle>(memo->coords);
    BMhKill(&h);
    h = reinterpret_cast<GSHandle>(memo->pends);
    BMhKill(&h);
    h = reinterpret_cast<GSHandle>(memo->parcs);
    BMhKill(&h);
    h = reinterpret_cast<GSHandle>(memo->vertexIDs);
    BMhKill(&h);
    memo->coords = nullptr;
    memo->pends = nullptr;
    memo->parcs = nullptr;
    memo->vertexIDs = nullptr;
    if (memo->elemInfoString != nullptr) {
        if (host.session.memoStrings.erase(memo->elemInfoString) != 0)
            delete memo->elemInfoString;
        else
            host.recorder.AddFault("DisposeMemo: an element information string the host did not hand out (disposed twice?)");
        memo->elemInfoString = nullptr;
    }
    return NoError;
}

GSErrCode HostApi::ChangeElement(API_Element* element, const API_Element* mask, const API_ElementMemo* memo, UInt64 memoMask,
                                 bool)
{
    if (element == nullptr)
        return APIERR_BADPARS;
    Element* e = host.model.Find(element->header.guid);
    if (e == nullptr)
        return APIERR_BADID;
    if (memo != nullptr && memoMask == 0)
        return APIERR_NOMEMOMASK;
    return ChangeOne(host, *e, element, mask, memo, memoMask);
}

GSErrCode HostApi::ChangeElementsByGuid(const GS::Array<API_Guid>* guids, const API_Element* element,
                                        const API_ElementMemo* memo, UInt64 memoMask)
{
    if (guids == nullptr)
        return APIERR_BADPARS;
    if (memo != nullptr && memoMask == 0)
        return APIERR_NOMEMOMASK;
    for (const API_Guid& guid : *guids) {
        const Element* e = host.model.Find(guid);
        if (e == nullptr)
            return APIERR_BADID;
        if (OnLockedLayer(host, e->layer))
            return APIERR_NOTEDITABLE;
    }
    for (const API_Guid& guid : *guids) {
        Element* e = host.model.Find(guid);
        if (e == nullptr)
            return APIERR_BADID;
        GSErrCode err = ChangeOne(host, *e, element, nullptr, memo, memoMask);
        if (err != NoError)
            return err;
    }
    return NoError;
}

GSErrCode HostApi::GetSelection(API_SelectionInfo* info, GS::Array<API_Neig>* selNeigs, bool onlyEditable, bool, Int32)
{
    if (info == nullptr)
        return APIERR_BADPARS;
    std::memset(static_cast<void*>(info), 0, sizeof *info);
    if (selNeigs != nullptr)
        selNeigs->Clear();
    std::vector<API_Guid> items;
    for (const API_Guid& g : host.model.selection) {
        const Element* e = host.model.Find(g);
        if (e == nullptr)
            continue;
        auto layer = host.model.layers.find(e->layer);
        if (onlyEditable && layer != host.model.layers.end() && layer->second.locked)
            continue;
        items.push_back(g);
    }
    if (items.empty())
        return APIERR_NOSEL;
    info->typeID = 1;  // selected elements
    info->sel_nElem = static_cast<Int32>(items.size());
    info->sel_nElemEdit = static_cast<Int32>(items.size());
    // The marquee outline the caller must free, even when there is none.
    info->marqueeCoords = BMhAllClear(0);
    if (selNeigs != nullptr)
        for (const API_Guid& g : items) {
            API_Neig n{};
            n.neigID = 1;
            n.guid = g;
            selNeigs->Push(n);
        }
    return NoError;
}

// 'CABO': an object's 3D box. Without GDL scripts the stand-in host takes
// the part's nominal size: the footprint A × B from the object's origin
// turned by its angle, and the height ZZYZX above its level (each 0 when
// the object has no such parameter).
GSErrCode RequestHandlers::CABO(const API_Elem_Head* element, API_Box3D* box)
{
    if (element == nullptr || box == nullptr)
        return APIERR_BADPARS;
    const Element* e = host.model.Find(element->guid);
    if (e == nullptr || e->As<ObjectPart>() == nullptr)
        return APIERR_BADID;
    const ObjectPart& object = e->Object();
    auto size = [&](const char* name) {
        const GdlParam* p = FindParam(object.params, name);
        return p != nullptr && p->kind == GdlParam::Kind::Number && std::isfinite(p->number) ? p->number : 0.0;
    };
    const double a = size("A"), b = size("B"), height = size("ZZYZX");
    const double c = std::cos(object.angle), s = std::sin(object.angle);
    const double xs[] = {0.0, a * c, a * c - b * s, -b * s};
    const double ys[] = {0.0, a * s, a * s + b * c, b * c};
    *box = {object.pos.x + *std::min_element(xs, xs + 4), object.pos.y + *std::min_element(ys, ys + 4),
            object.level + std::min(0.0, height), object.pos.x + *std::max_element(xs, xs + 4),
            object.pos.y + *std::max_element(ys, ys + 4), object.level + std::max(0.0, height)};
    return NoError;
}

}  // namespace SimHost
