// Elements, memos and the selection.
#include "simhost/api/HostApi.hpp"
#include "simhost/api/Requests.hpp"
#include "platform/gs/Memory.hpp"
#include "simhost/model/ParamHandles.hpp"
#include <cstring>

namespace SimHost {

namespace {

void FillRecord(const Element& e, API_Element* rec)
{
    rec->header.typeID = e.type;
    rec->header.guid = e.guid;
    rec->header.layer = e.layer;
    rec->header.floorInd = e.story;
    rec->header.groupGuid = e.groupGuid;
    rec->header.hasMemo = true;
    if (e.type == API_ObjectID) {
        rec->object.libInd = e.libInd;
        rec->object.pos = e.pos;
        rec->object.level = e.level;
        rec->object.angle = e.angle;
        rec->object.reflected = e.mirrored;
    }
}

template <typename T> bool MaskSet(const T& field)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(&field);
    for (size_t i = 0; i < sizeof(T); ++i)
        if (p[i] != 0)
            return true;
    return false;
}

// Applies the record's fields that the mask selects; a null mask selects all.
void ApplyRecord(Element& e, const API_Element* rec, const API_Element* mask)
{
    auto take = [&](const auto& maskField) { return mask == nullptr || MaskSet(maskField); };
    if (take(mask != nullptr ? mask->header.layer : rec->header.layer))
        e.layer = rec->header.layer;
    if (e.type != API_ObjectID)
        return;
    if (take(mask != nullptr ? mask->object.libInd : rec->object.libInd))
        e.libInd = rec->object.libInd;
    if (take(mask != nullptr ? mask->object.pos : rec->object.pos))
        e.pos = rec->object.pos;
    if (take(mask != nullptr ? mask->object.level : rec->object.level))
        e.level = rec->object.level;
    if (take(mask != nullptr ? mask->object.angle : rec->object.angle))
        e.angle = rec->object.angle;
    if (take(mask != nullptr ? mask->object.reflected : rec->object.reflected))
        e.mirrored = rec->object.reflected;
}

// Takes the memo parts the mask names into the element.
GSErrCode ApplyMemo(Host& host, Element& e, const API_ElementMemo* memo, UInt64 memoMask)
{
    if (memo == nullptr)
        return NoError;
    if ((memoMask & APIMemoMask_AddPars) != 0 && memo->params != nullptr) {
        GdlParams params;
        std::string fault;
        if (!ReadParamHandle(memo->params, params, fault)) {
            host.AddFault("change of " + GuidText(e.guid) + ": " + fault);
            return APIERR_BADPARS;
        }
        e.params = std::move(params);
    }
    if ((memoMask & APIMemoMask_ElemInfoString) != 0 && memo->elemInfoString != nullptr)
        e.infoString = memo->elemInfoString->Units();
    return NoError;
}

// Changes one element as a whole: nothing changes when the memo is refused.
GSErrCode ChangeOne(Host& host, Element& e, const API_Element* record, const API_Element* mask, const API_ElementMemo* memo,
                    UInt64 memoMask)
{
    Element changed = e;
    if (record != nullptr)
        ApplyRecord(changed, record, mask);
    GSErrCode err = ApplyMemo(host, changed, memo, memoMask);
    if (err != NoError)
        return err;
    e = std::move(changed);
    host.changedElements.push_back(e.guid);
    return NoError;
}

GSErrCode ElementTypeOf(Host& host, void* par1, void* par2, void*)
{
    auto* neig = static_cast<const API_Neig*>(par1);
    auto* type = static_cast<API_ElemTypeID*>(par2);
    if (neig == nullptr || type == nullptr)
        return APIERR_BADPARS;
    const Element* e = host.model.Find(neig->guid);
    if (e == nullptr)
        return APIERR_BADID;
    *type = e->type;
    return NoError;
}

GSErrCode RecomputeParameters(Host& host, void* par1, void*, void*)
{
    auto* rec = static_cast<const API_Element*>(par1);
    if (rec == nullptr)
        return APIERR_BADPARS;
    Element* e = host.model.Find(rec->header.guid);
    if (e == nullptr || e->type != API_ObjectID)
        return APIERR_BADID;
    const LibraryPartDef* part = host.PartOfIndex(e->libInd);
    if (part == nullptr)
        return APIERR_BADINDEX;
    auto it = host.partBehaviours.find(part->name);
    if (it != host.partBehaviours.end())
        it->second(host, *e);
    return NoError;
}

const RequestRegistration ntoe{RequestKind::Utility, "NTOE", &ElementTypeOf};
const RequestRegistration rpas{RequestKind::Utility, "RPAS", &RecomputeParameters};

}  // namespace

GSErrCode HostApi::GetElement(API_Element* element)
{
    if (element == nullptr)
        return APIERR_BADPARS;
    const Element* e = host.model.Find(element->header.guid);
    if (e == nullptr)
        return APIERR_BADID;
    FillRecord(*e, element);
    return NoError;
}

GSErrCode HostApi::GetMemo(API_Guid guid, API_ElementMemo* memo, UInt64 mask)
{
    if (memo == nullptr)
        return APIERR_BADPARS;
    const Element* e = host.model.Find(guid);
    if (e == nullptr)
        return APIERR_BADID;
    if ((mask & APIMemoMask_AddPars) != 0 && e->type == API_ObjectID) {
        memo->params = BuildParamHandle(e->params);
        if (memo->params == nullptr)
            return APIERR_MEMFULL;
    }
    if ((mask & APIMemoMask_ElemInfoString) != 0) {
        memo->elemInfoString = new GS::UniString(e->infoString);
        host.memoStrings.insert(memo->elemInfoString);
    }
    return NoError;
}

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
        if (host.memoStrings.erase(memo->elemInfoString) != 0)
            delete memo->elemInfoString;
        else
            host.AddFault("DisposeMemo: an element information string the host did not hand out (disposed twice?)");
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
    std::memset(info, 0, sizeof *info);
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

Element& Host::AddElement(API_ElemTypeID type, Int32 layer)
{
    Element e;
    e.type = type;
    e.layer = layer;
    return model.Add(e);
}

}  // namespace SimHost
