#include "addon/schedule/ElementCollector.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostQueries.hpp"
#include "addon/host/MemoMasks.hpp"
#include <cstring>

ElementItemRecord::ElementItemRecord() : guid(APINULLGuid)
{
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
}

ElementItemRecord::~ElementItemRecord() { HostDisposeMemo(&memo); }

ElementCollector::ElementCollector(const GS::VAArray<API_ElemTypeID>& types, Int32 sourceMode, Int32 itemFlags)
    : sourceMode(sourceMode), itemFlags(itemFlags)
{
    for (API_ElemTypeID type : types)
        this->types.Push(type);
}

bool ElementCollector::TypeAccepted(API_ElemTypeID type) const
{
    if (types.IsEmpty())
        return true;
    for (API_ElemTypeID t : types)
        if (t == type)
            return true;
    return false;
}

bool ElementCollector::Keeps(const API_Guid& guid, const API_Element& element) const
{
    if (visibleLayerOnly && !HostElementFilter(guid, APIFilt_OnVisLayer, 0, APINULLGuid))
        return false;
    return story == AnyStory || element.header.floorInd == story;
}

bool ElementCollector::CollectSelection()
{
    GS::Array<API_Neig> items;
    Int32 kind = 0;
    // Every selected item, editable or not: objects on locked layers belong
    // to the selection, and the commands apply their locked-layer rules to
    // them. Read as editable only, a selection made of such objects alone
    // would count as no selection and widen the run to every object.
    GSErrCode err = ReadSelection(items, kind, false);
    if (err == APIERR_NOSEL)
        return false;
    // Any other failure gives no elements, and no fallback to all of them.
    if (err != NoError)
        return true;
    for (const API_Neig& item : items) {
        API_ElemTypeID type = API_ZombieElemID;
        if (ElementTypeOf(item, type) != NoError) {
            ++unreadable;
            continue;
        }
        if (!TypeAccepted(type))
            continue;
        if (visibleLayerOnly && !HostElementFilter(item.guid, APIFilt_OnVisLayer, 0, APINULLGuid))
            continue;
        // An element the host cannot read could not be handed out either.
        API_Element element;
        if (ReadElement(item.guid, element) != NoError) {
            ++unreadable;
            continue;
        }
        if (story != AnyStory && element.header.floorInd != story)
            continue;
        guids.Push(item.guid);
    }
    return true;
}

void ElementCollector::CollectAllOfTypes()
{
    for (API_ElemTypeID type : types) {
        GS::Array<API_Guid> listed;
        if (HostListElementsByType(type, &listed, 0, 0, APINULLGuid) != NoError)
            return;
        for (const API_Guid& guid : listed) {
            API_Element element;
            if (ReadElement(guid, element) != NoError) {
                ++unreadable;
                continue;
            }
            if (Keeps(guid, element))
                guids.Push(guid);
        }
    }
}

void ElementCollector::CollectElements()
{
    bool selectionEmpty = true;
    if (sourceMode == Selection || sourceMode == SelectionOrAll)
        selectionEmpty = !CollectSelection();
    if (sourceMode == AllOfTypes || (sourceMode == SelectionOrAll && selectionEmpty))
        CollectAllOfTypes();
}

std::unique_ptr<ElementItemRecord> ElementCollector::GetElementItem(Int32 i) const
{
    auto record = std::make_unique<ElementItemRecord>();
    FillElementItem(*record, guids[i + 1], itemFlags);
    return record;
}

void FillElementItem(ElementItemRecord& record, const API_Guid& guid, Int32 flags)
{
    record.guid = guid;
    record.readError = NoError;
    if ((flags & ElementCollector::WithElement) != 0)
        record.readError = ReadElement(guid, record.element);
    if ((flags & ElementCollector::WithMemo) != 0) {
        HostDisposeMemo(&record.memo);
        std::memset(static_cast<void*>(&record.memo), 0, sizeof record.memo);
        const GSErrCode err = HostGetMemo(guid, &record.memo, MemoAllButBit30);
        if (record.readError == NoError)
            record.readError = err;
    }
}

// ---------------------------------------------------------------- layers

namespace {
bool ReadLayer(Int32 layer, API_Attribute& attribute)
{
    std::memset(static_cast<void*>(&attribute), 0, sizeof attribute);
    attribute.header.typeID = API_LayerID;
    attribute.header.index = layer;
    return HostGetAttribute(&attribute) == NoError;
}

void SetLock(Int32 layer, bool locked)
{
    API_Attribute attribute;
    if (!ReadLayer(layer, attribute))
        return;
    if (locked)
        attribute.header.flags |= APILay_Locked;
    else
        attribute.header.flags &= ~APILay_Locked;
    HostModifyAttribute(&attribute);
}
}  // namespace

bool IsLayerLocked(Int32 layer)
{
    API_Attribute attribute;
    return ReadLayer(layer, attribute) && (attribute.header.flags & APILay_Locked) != 0;
}

bool IsLayerUsable(Int32 layer)
{
    API_Attribute attribute;
    return ReadLayer(layer, attribute) && (attribute.header.flags & APILay_Hidden) == 0;
}

void LockLayer(Int32 layer) { SetLock(layer, true); }
void UnlockLayer(Int32 layer) { SetLock(layer, false); }
