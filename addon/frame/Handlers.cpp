#include "addon/frame/Handlers.hpp"
#include "addon/frame/Commands.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/CommandSteps.hpp"
#include "platform/dg/DG.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostQueries.hpp"
#include "addon/palette/paletta.hpp"
#include "addon/walls/UpdateReinforcement.hpp"

// Every menu item runs with the suspend-groups mode on; an item without a
// command runs nothing in between. The command's result goes to the host.
GSErrCode MenuCommandHandler(const API_MenuParams* menuParams)
{
    return CallGuarded("MenuCommandHandler", APIERR_GENERAL, [&] {
        GSErrCode err = NoError;
        WithSuspendedGroups([&] {
            DGResetDialogRectangles();
            if (menuParams == nullptr)
                return;
            if (AddOnCommand command = MenuCommand(menuParams->menuResID, menuParams->itemIndex))
                err = command();
        });
        return err;
    });
}

// A changed wall, slab or roof brings its reinforcement along; a deleted one
// takes it with it. Other events are none of the add-on's business.
GSErrCode ElementEventHandler(const API_NotifyElementType* elemType)
{
    return CallGuarded("ElementEventHandler", APIERR_GENERAL, [&] {
        if (elemType == nullptr)
            return NoError;
        const API_Guid guid = elemType->elemHead.guid;
        switch (elemType->notifID) {
            case APINotifyElement_Change:
            case APINotifyElement_Edit:
                UpdateLinkedReinforcement(guid);
                break;
            case APINotifyElement_Delete:
                DeleteLinkedReinforcement(guid);
                break;
            default:
                break;
        }
        return NoError;
    });
}

// Every selection change sets all eight entries by the first selected item,
// enabling as well as disabling (unlike the palette's opening, which looks
// at every item and only disables).
GSErrCode SelectionChangeHandler(const API_Neig* selElemNeig)
{
    return CallGuarded("SelectionChangeHandler", APIERR_GENERAL, [&] {
        DirizizPaletta* palette = GetPalette();
        if (palette == nullptr)
            return NoError;
        palette->SetCuttingListEntryStatus(true);
        if (selElemNeig == nullptr || selElemNeig->neigID == 0) {
            palette->SetCrowningEntryStatus(false);
            palette->SetBeamEntryStatus(false);
            palette->SetColumnEntryStatus(false);
            palette->SetSlabEntryStatus(false);
            palette->SetWallEntryStatus(false);
            palette->SetRoofEntryStatus(false);
            palette->SetExportEntryStatus(false);
            return NoError;
        }
        // An item whose type the host cannot tell counts as a foreign one.
        API_ElemTypeID type = API_ZombieElemID;
        ElementTypeOf(*selElemNeig, type);
        palette->SetCrowningEntryStatus(true);
        palette->SetBeamEntryStatus(true);
        palette->SetColumnEntryStatus(true);
        palette->SetSlabEntryStatus(type == API_SlabID);
        palette->SetWallEntryStatus(type == API_WallID);
        palette->SetRoofEntryStatus(type == API_RoofID);
        palette->SetExportEntryStatus(type == API_ObjectID);
        return NoError;
    });
}
