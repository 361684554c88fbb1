// Dialog 32511 "Define object ID": the new element's ID, the layer of its
// objects and, for beams and columns, whether a cutting list comes with it.
// The ID must be new: no placed object may carry it, and no detail drawing
// may have the name or the reference the element's own would get.
#pragma once
#include "addon/complex/ComplexKind.hpp"
#include "platform/gs/Array.hpp"
#include <functional>
#include <string>

constexpr Int16 ComplexIdDialogId = 32511;

// Items of dialog 32511.
enum ComplexIdDialogItem : Int16 {
    IdOkButton = 1,
    IdCancelButton = 2,
    IdPromptText = 3,
    IdEdit = 4,
    IdInUseWarning = 5,
    IdLayerChooser = 6,
    IdWithListCheck = 7,
};

// The longest ID, in characters: an ID is stored whole as an object's
// inline text, which holds 255 characters. (One character is one byte in
// the host's 8-bit code pages.)
constexpr UInt32 MaxComplexIdLength = 255;

// The dialog's data: its ID texts, each 8-bit text of at most 1023 bytes.
struct IronIdDialogData {
    IronIdDialogData() = default;
    IronIdDialogData(const IronIdDialogData&) = delete;
    IronIdDialogData& operator=(const IronIdDialogData&) = delete;

    // Appends a copy of the text, cut to 1023 bytes.
    void AppendId(const std::string& id);
    bool HasId(const std::string& id) const;
    // The last entry: the accepted ID once the dialog said OK.
    std::string LastId() const;

    GS::VAArray<std::string> ids{50};
    Int16 layer = 1;
    bool withList = true;
    ComplexElementKind kind = BeamKind;
};

// Reads every object on a visible layer of the current story, under the
// "Preprocessing" progress window, and hands each one the host could read to
// `visit`. False when the user cancelled or the objects could not be listed;
// the objects visited until then stay visited. The window is closed on every
// path.
bool VisitPlacedObjects(const std::function<void(const API_Element&)>& visit);

// Fills the data's IDs with the ID of every placed object that has one,
// under a progress window. False when the user cancelled or the objects
// could not be listed. The creator is not read.
bool CollectExistingIronIds(const ObjectCreator& creator, IronIdDialogData& data);

// The dialog procedure (userData: the IronIdDialogData). The dialog ends
// with 1 when the ID was accepted and 2 on Cancel.
Int16 ComplexIdDialogProc(Int16 message, Int16 dialogId, Int16 item, void* userData);

// "%s %s" of the ID and the kind name: the name of the element's detail
// drawing.
std::string DetailDrawingName(const std::string& id, ComplexElementKind kind);

// Whether a detail drawing has that name or that reference ID.
bool DetailDrawingClashes(const std::string& detailName, const std::string& id);
