#include "addon/frame/Handlers.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/CommandSteps.hpp"
#include "addon/frame/UsersManual.hpp"
#include "platform/dg/DG.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/palette/paletta.hpp"

// The menus reach no command of their own: they load the object library
// and open the palette, or open the user's manual.
GSErrCode MenuCommandHandler(const API_MenuParams* menuParams)
{
    return CallGuarded("MenuCommandHandler", APIERR_GENERAL, [&] {
        WithSuspendedGroups([&] {
            DGResetDialogRectangles();
            if (menuParams == nullptr)
                return;
            bool startPalette = menuParams->menuResID == HostMenuItemId ||
                                (menuParams->menuResID == AddOnMenuId && menuParams->itemIndex == 1);
            if (startPalette) {
                // A library that fails to load is reported; the palette opens all the same.
                LoadLibraryOrAlert();
                ShowPalette();
            } else if (menuParams->menuResID == AddOnMenuId && menuParams->itemIndex == 2) {
                OpenUsersManual();
            }
        });
        return NoError;
    });
}

// The reinforcement updates on element events come with their own module;
// until then the handler accepts every event and does nothing.
GSErrCode ElementEventHandler(const API_NotifyElementType*)
{
    return CallGuarded("ElementEventHandler", APIERR_GENERAL, [] { return NoError; });
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
        HostUtility(RequestCode("NTOE"), const_cast<API_Neig*>(selElemNeig), &type, nullptr);
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
