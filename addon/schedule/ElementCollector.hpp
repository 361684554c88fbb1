// Lists the host elements a command works on (the selection, or all
// elements of some types), kept only when of an accepted type, on a visible
// layer and on the wanted story, and hands them out one at a time with their
// element record and memo. Beside it, the small functions on layers.
#pragma once
#include "platform/api/APIdefs.hpp"
#include "platform/gs/Array.hpp"
#include <memory>

// One handed-out element. The memo's handles are disposed through the host
// when the record goes.
struct ElementItemRecord {
    ElementItemRecord();
    ~ElementItemRecord();
    ElementItemRecord(const ElementItemRecord&) = delete;
    ElementItemRecord& operator=(const ElementItemRecord&) = delete;

    API_Guid guid;
    API_Element element;
    API_ElementMemo memo;
    // The first failed read of the element or the memo; NoError when both
    // asked for were read. A record that was not read holds nothing of the
    // element and is never written back.
    GSErrCode readError = NoError;
};

class ElementCollector {
public:
    enum SourceMode : Int32 { AllOfTypes = 0, Selection = 1, SelectionOrAll = 2 };
    enum ItemFlags : Int32 { WithElement = 1, WithMemo = 2 };
    static constexpr Int32 AnyStory = -9999;

    ElementCollector(const GS::VAArray<API_ElemTypeID>& types, Int32 sourceMode, Int32 itemFlags);

    void CollectElements();
    Int32 GetItemCount() const { return guids.GetItemCount(); }
    // The i-th collected element (from 0), read as the item flags say.
    std::unique_ptr<ElementItemRecord> GetElementItem(Int32 i) const;

    GS::VAArray<API_Guid> guids{50};
    GS::VAArray<API_ElemTypeID> types{50};
    Int32 sourceMode;
    Int32 itemFlags;
    Int32 story = AnyStory;
    bool visibleLayerOnly = true;
    // Elements left out because the host could not give them, for the
    // command to tell the user once.
    Int32 unreadable = 0;

private:
    bool TypeAccepted(API_ElemTypeID type) const;
    // The visible-layer and story tests; reads the element for the latter.
    bool Keeps(const API_Guid& guid, const API_Element& element) const;
    // Appends every element of the selection that passes; false when the
    // selection was empty.
    bool CollectSelection();
    void CollectAllOfTypes();
};

// Fills the record for `guid`: the element record (flag 1) and the memo with
// all its parts (flag 2), each zeroed before the host fills it.
void FillElementItem(ElementItemRecord& record, const API_Guid& guid, Int32 flags);

// Layers by attribute index. A layer the host cannot give counts as
// unlocked and as unusable; locking or unlocking it changes nothing.
bool IsLayerLocked(Int32 layer);
bool IsLayerUsable(Int32 layer);
void LockLayer(Int32 layer);
void UnlockLayer(Int32 layer);
