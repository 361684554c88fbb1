// The edit commands of the complex elements, started from the palette's
// push menus: each re-assembles existing crownings, beams or columns from a
// new selection of bars, stirrups and concrete blocks.
#pragma once
#include "addon/complex/ComplexKind.hpp"
#include "addon/schedule/PlacementManager.hpp"
#include <string>

bool EditCrowningCommand();
bool EditBeamCommand();
bool EditColumnCommand();

struct IronIdDialogData;
struct ComplexListDialogData;

// One edit run: the checks, the read of the selection into numbered groups,
// then one of two roads. With complex objects of the kind in the selection
// the user names them anew in dialog 32511 and exactly those are rewritten;
// without, the user picks a placed element from dialog 32512 and every
// object with its ID is rewritten. True when the run reached its dialog,
// whatever the user chose there; false when it stopped before.
//
// Cancelling the collection of the IDs in use ("Preprocessing") on the first
// road ends the run as it ends a create run: the dialog would otherwise
// accept an ID already in use.
bool EditComplexElement(const ObjectModifier& modifier);

// The undoable body of the first road: the bars' new IDs under the accepted
// ID, then the selected complex objects rewritten. Returns 0.
class UpdateSelectedComplexCommand {
public:
    UpdateSelectedComplexCommand(PlacementManager& manager, IronGroups& groups, const std::string& id,
                                 const ObjectModifier& modifier, const IronIdDialogData& data,
                                 const API_Guid& listGuid, const bool& withList,
                                 const GS::VAArray<API_Guid>& selected)
        : manager(manager), groups(groups), id(id), modifier(modifier), data(data), listGuid(listGuid),
          withList(withList), selected(selected)
    {
    }
    GSErrCode operator()() const;

private:
    PlacementManager& manager;
    IronGroups& groups;
    const std::string& id;
    const ObjectModifier& modifier;
    const IronIdDialogData& data;
    const API_Guid& listGuid;
    const bool& withList;
    const GS::VAArray<API_Guid>& selected;
};

// The undoable body of the second road: the bars' new IDs under the chosen
// ID, then every object of the chosen entry rewritten. Returns 0.
class UpdateListedComplexCommand {
public:
    UpdateListedComplexCommand(PlacementManager& manager, IronGroups& groups, const std::string& id,
                               const ObjectModifier& modifier, const ComplexListDialogData& data,
                               const API_Guid& listGuid, const bool& withList)
        : manager(manager), groups(groups), id(id), modifier(modifier), data(data), listGuid(listGuid),
          withList(withList)
    {
    }
    GSErrCode operator()() const;

private:
    PlacementManager& manager;
    IronGroups& groups;
    const std::string& id;
    const ObjectModifier& modifier;
    const ComplexListDialogData& data;
    const API_Guid& listGuid;
    const bool& withList;
};
