// Dialog 32512 "Edit object": the IDs placed for a kind of complex element,
// each with the count of its objects and a preview picture, from which the
// user chooses the element an edit run re-assembles.
#pragma once
#include "addon/complex/ComplexKind.hpp"
#include "platform/gs/Array.hpp"

constexpr Int16 EditListDialogId = 32512;

// One entry of the list: an ID and every placed object that carries it.
struct CompDialInfo {
    CompDialInfo();
    ~CompDialInfo();
    CompDialInfo(const CompDialInfo&) = delete;
    CompDialInfo& operator=(const CompDialInfo&) = delete;

    char* id;            // 1000 bytes, NUL-terminated 8-bit text
    char* picturePath;   // 1000 bytes, empty when no picture was saved
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
// by their ID, one preview picture per ID. False when the user cancelled or
// the objects could not be listed; the entries gathered so far stay.
bool CollectComplexObjectsById(const ObjectModifier& modifier, ComplexListDialogData& data);

// The dialog procedure (userData: the ComplexListDialogData). The dialog
// ends with 1 (OK, the chosen entry moved first) or 2 (Cancel).
Int16 EditObjectListDialogProc(Int16 message, Int16 dialogId, Int16 item, void* userData);
