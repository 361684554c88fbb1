// Dialog 32512 "Edit object": the IDs placed for a kind of complex element,
// each with the count of its objects and a preview picture, from which the
// user chooses the element an edit run re-assembles.
#pragma once
#include "addon/complex/ComplexKind.hpp"
#include "addon/complex/PreviewPicture.hpp"
#include "platform/gs/Array.hpp"

constexpr Int16 EditListDialogId = 32512;

// Items of dialog 32512.
enum EditListDialogItem : Int16 {
    EditListOk = 1,
    EditListCancel = 2,
    EditListPrompt = 3,
    EditListView = 4,
    EditListWithList = 5,
};

// The size of an entry's ID buffer.
constexpr Int32 EntryIdSize = 1000;

// One entry of the list: an ID and every placed object that carries it.
struct CompDialInfo {
    CompDialInfo();
    CompDialInfo(const CompDialInfo&) = delete;
    CompDialInfo& operator=(const CompDialInfo&) = delete;

    char id[EntryIdSize];               // NUL-terminated 8-bit text
    char picturePath[PicturePathSize];  // empty when no picture was saved
    GS::VAArray<API_Guid> objects{50};
};

// The dialog's data. It owns its entries.
struct ComplexListDialogData {
    ComplexListDialogData() = default;
    ~ComplexListDialogData();
    ComplexListDialogData(const ComplexListDialogData&) = delete;
    ComplexListDialogData& operator=(const ComplexListDialogData&) = delete;

    GS::VAArray<CompDialInfo*> entries{50};   // 1-based; on OK the chosen one is first
    bool withList = true;
    ComplexElementKind kind = BeamKind;
};

// Fills the entries with the placed objects of the modifier's kind, grouped
// by their ID (exact comparison), one preview picture per ID, under the
// progress window "Preprocessing". False when the user cancelled or the
// objects could not be listed; the entries gathered so far stay.
bool CollectComplexObjectsById(const ObjectModifier& modifier, ComplexListDialogData& data);

// The dialog procedure (userData: the ComplexListDialogData). The dialog
// ends with 1 (OK, the chosen entry moved first, the "With Cutting List"
// choice in the data and stored in the preferences) or 2 (Cancel). An
// entry whose picture cannot be read shows without one.
Int16 EditObjectListDialogProc(Int16 message, Int16 dialogId, Int16 item, void* userData);
