#include "addon/complex/EditComplex.hpp"
#include "addon/complex/BuildComplex.hpp"
#include "addon/complex/ComplexChecks.hpp"
#include "addon/complex/EditListDialog.hpp"
#include "addon/complex/IronIdDialog.hpp"
#include "addon/complex/UpdateComplex.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/services/AddOnGlobals.hpp"
#include "addon/host/HostQueries.hpp"
#include "addon/schedule/ElementCollector.hpp"
#include "addon/schedule/ReadReinforcement.hpp"
#include "addon/schedule/WriteResults.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/CommandTrace.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/dg/DGModal.hpp"

namespace {
constexpr Int16 ListOkButton = 1;

void Alert(RSStringId message)
{
    HostReport(GetResString(message), false);
}

RSStringId NothingPlacedMessage(ComplexElementKind kind)
{
    switch (kind) {
    case CrowningKind:
        return ResStr::Messages::NoCrowningOnVisibleLayers;
    case BeamKind:
        return ResStr::Messages::NoBeamOnVisibleLayers;
    case ColumnKind:
        break;
    }
    return ResStr::Messages::NoColumnOnVisibleLayers;
}

// The totals once more, over what the read took into the groups: it may
// take fewer bars or stirrups than were selected. Each member counts by its
// own part: a stirrup whose values equal a bar's shares the bar's group, and
// still is a stirrup.
bool GroupTotalsPass(ComplexElementKind kind, const IronGroups& groups)
{
    Int32 rebars = 0;
    Int32 stirrups = 0;
    for (const IronArrayByProperty* group : groups)
        for (Int32 m = 1; m <= group->members.GetItemCount(); ++m) {
            if (group->members[m]->isBar)
                ++rebars;
            else if (group->members[m]->isStirrup)
                ++stirrups;
        }
    if (kind != CrowningKind && (rebars < 4 || stirrups < 1)) {
        Alert(ResStr::Messages::SelectRebarsAndStirrup);
        return false;
    }
    if (kind == CrowningKind && rebars + stirrups < 1) {
        Alert(ResStr::Messages::SelectRebarOrStirrup);
        return false;
    }
    return true;
}

// Whether the user selected a complex object of the kind that lies on a
// locked layer. The host leaves such an object out of the editable
// selection the read works on, so without this the run would take the
// second road and offer every placed element of the kind instead of leaving
// the locked one alone.
bool SelectedKindOnLockedLayer(ComplexElementKind kind)
{
    GS::Array<API_Neig> items;
    Int32 selectionKind = 0;
    if (ReadSelection(items, selectionKind, false) != NoError)
        return false;
    for (const API_Neig& item : items) {
        API_ElemTypeID type = API_ZombieElemID;
        if (ElementTypeOf(item, type) != NoError || type != API_ObjectID)
            continue;
        API_Element element;
        if (ReadElement(item.guid, element) != NoError)
            continue;
        LibraryPart part = LibraryPart::Mesh;
        if (IdentifyLibraryPart(element.object.libInd, &part) && part == KindPart(kind) &&
            IsLayerLocked(static_cast<Int16>(element.header.layer)))
            return true;
    }
    return false;
}

// The edit as one step: a part that fails takes the whole edit back, and
// the user is told once. The parts the edit needs are looked for first, so
// that a missing one shows its own message and nothing is changed.
GSErrCode RunEdit(PlacementManager& manager, ComplexElementKind kind, bool withList,
                  const std::function<GSErrCode()>& command)
{
    Int32 libInd = 0;
    if (FindLibraryPart(KindPart(kind), &libInd) != NoError) {
        Alert(MissingComplexPartMessage(kind));
        return APIERR_GENERAL;
    }
    if (withList && FindLibraryPart(LibraryPart::List, &libInd) != NoError) {
        Alert(ResStr::Messages::MissingList);
        return APIERR_GENERAL;
    }
    const GSErrCode result = RunUndoableStep(manager.outcome, command);
    manager.outcome.Tell();
    return result;
}

bool EditSelected(const ObjectModifier& modifier, PlacementManager& manager, IronGroups& groups,
                  const GS::VAArray<API_Guid>& selected, const API_Guid& listGuid)
{
    IronIdDialogData data;
    const ObjectCreator collector(modifier.kind);
    if (!CollectExistingIronIds(collector, data))
        return false;
    data.kind = modifier.kind;
    if (DGModalDialog(OwnResourceModule(), ComplexIdDialogId, OwnResourceModule(), ComplexIdDialogProc,
                      &data) != IdOkButton)
        return true;
    const std::string id = data.LastId();
    const bool withList = modifier.kind != CrowningKind && data.withList;
    const UpdateSelectedComplexCommand command(manager, groups, id, modifier, data, listGuid, withList, selected);
    RunEdit(manager, modifier.kind, withList, command);
    return true;
}

bool EditListed(const ObjectModifier& modifier, PlacementManager& manager, IronGroups& groups,
                const API_Guid& listGuid)
{
    ComplexListDialogData data;
    data.kind = modifier.kind;
    // A cancelled collection leaves the entries gathered so far to choose
    // from.
    CollectComplexObjectsById(modifier, data);
    if (data.entries.GetItemCount() == 0) {
        Alert(NothingPlacedMessage(modifier.kind));
        return false;
    }
    if (DGModalDialog(OwnResourceModule(), EditListDialogId, OwnResourceModule(), EditObjectListDialogProc,
                      &data) != ListOkButton)
        return true;
    const std::string id = data.entries[1]->id;
    const bool withList = modifier.kind != CrowningKind && data.withList;
    const UpdateListedComplexCommand command(manager, groups, id, modifier, data, listGuid, withList);
    RunEdit(manager, modifier.kind, withList, command);
    return true;
}
}  // namespace

GSErrCode UpdateSelectedComplexCommand::operator()() const
{
    (void)data;
    if (!WriteResultsUndoable(manager, groups, nullptr, id.c_str()))
        return manager.outcome.Fail();
    const API_Guid list = listGuid;
    return manager.outcome.Check(UpdateComplexElement(modifier, groups, selected, id, list, withList))
               ? NoError
               : manager.outcome.BodyResult();
}

GSErrCode UpdateListedComplexCommand::operator()() const
{
    if (!WriteResultsUndoable(manager, groups, nullptr, id.c_str()))
        return manager.outcome.Fail();
    const API_Guid list = listGuid;
    return manager.outcome.Check(UpdateComplexElement(modifier, groups, data.entries[1]->objects, id, list, withList))
               ? NoError
               : manager.outcome.BodyResult();
}

bool EditComplexElement(const ObjectModifier& modifier)
{
    const ComplexElementKind kind = modifier.kind;
    if (CheckSelectionForKind(kind, ComplexRun::Edit) != SelectionCheck::Passed)
        return false;

    PlacementManager manager;
    RunGroups run;
    GS::VAArray<API_Guid> selected{50};
    API_Guid listGuid = APINULLGuid;
    if (!ReadNumberedSelection(kind, manager, run, &selected, &listGuid)) {
        manager.outcome.Tell();
        return false;
    }
    if (!GroupTotalsPass(kind, run.groups))
        return false;
    const ObjectCreator positions(kind);
    NormalizeBarPositions(positions, run.groups);

    if (selected.GetItemCount() > 0)
        return EditSelected(modifier, manager, run.groups, selected, listGuid);
    if (SelectedKindOnLockedLayer(kind))
        return false;
    return EditListed(modifier, manager, run.groups, listGuid);
}

bool EditCrowningCommand()
{
    TraceCommand("EditCrowningCommand");
    const ObjectModifier modifier(CrowningKind);
    return EditComplexElement(modifier);
}

bool EditBeamCommand()
{
    TraceCommand("EditBeamCommand");
    const ObjectModifier modifier(BeamKind);
    return EditComplexElement(modifier);
}

bool EditColumnCommand()
{
    TraceCommand("EditColumnCommand");
    const ObjectModifier modifier(ColumnKind);
    return EditComplexElement(modifier);
}
