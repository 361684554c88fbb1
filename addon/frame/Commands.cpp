#include "addon/frame/Commands.hpp"
#include "addon/complex/CreateComplex.hpp"
#include "addon/complex/EditComplex.hpp"
#include "addon/frame/Handlers.hpp"
#include "addon/frame/UsersManual.hpp"
#include "addon/palette/paletta.hpp"
#include "addon/schedule/CuttingListCommand.hpp"
#include "addon/schedule/ListExport.hpp"
#include "addon/walls/ReinforceCommand.hpp"

namespace {

constexpr Int32 CuttingListMode = 3;  // the selection, or everything when nothing is selected
constexpr Int32 AnyItem = 0;

// The command functions report their own failures; a false from them is
// passed on as a failure all the same.
template <bool (*Command)()> GSErrCode Run() { return Command() ? NoError : APIERR_GENERAL; }

// While the user defines layers every entry but Cutting List is off; the
// next selection change sets them again.
void DisableEntriesWhileDefiningLayers()
{
    DirizizPaletta* palette = GetPalette();
    if (palette == nullptr)
        return;
    palette->SetCrowningEntryStatus(false);
    palette->SetBeamEntryStatus(false);
    palette->SetColumnEntryStatus(false);
    palette->SetSlabEntryStatus(false);
    palette->SetWallEntryStatus(false);
    palette->SetRoofEntryStatus(false);
    palette->SetExportEntryStatus(false);
}

GSErrCode ReinforceSlabs()
{
    ReinforceSelectedElements(API_SlabID, DisableEntriesWhileDefiningLayers);
    return NoError;
}

GSErrCode ReinforceWalls()
{
    ReinforceSelectedElements(API_WallID, DisableEntriesWhileDefiningLayers);
    return NoError;
}

GSErrCode ReinforceRoofs()
{
    ReinforceSelectedElements(API_RoofID, DisableEntriesWhileDefiningLayers);
    return NoError;
}

// The command reports its own outcome; the host is given no failure for it.
GSErrCode OptimizeCuttingList()
{
    RunCuttingListOptimization(CuttingListMode);
    return NoError;
}

GSErrCode ExportList()
{
    ExportListToText();
    return NoError;
}

const PaletteCommandTable Palette = {{
    /* Crowning */ {Run<CreateCrowningCommand>, Run<EditCrowningCommand>, nullptr},
    /* Beam */ {Run<CreateBeamCommand>, Run<EditBeamCommand>, nullptr},
    /* Column */ {Run<CreateColumnCommand>, Run<EditColumnCommand>, nullptr},
    /* Slab */ {nullptr, nullptr, ReinforceSlabs},
    /* Wall */ {nullptr, nullptr, ReinforceWalls},
    /* Roof */ {nullptr, nullptr, ReinforceRoofs},
    /* Cutting List */ {nullptr, nullptr, OptimizeCuttingList},
    /* Export */ {nullptr, nullptr, ExportList},
}};

// The menus load the object library and open the palette, or open the
// user's manual; no command of the palette is reached from them. A library
// that fails to load is reported, and the palette opens all the same.
GSErrCode StartPalette()
{
    LoadLibraryOrAlert();
    ShowPalette();
    return NoError;
}

GSErrCode ShowUsersManual()
{
    OpenUsersManual();
    return NoError;
}

struct MenuRow {
    Int16 menu;
    Int32 item;  // AnyItem: every item of the menu
    AddOnCommand command;
};

const MenuRow Menus[] = {
    {AddOnMenuId, 1, StartPalette},
    {AddOnMenuId, 2, ShowUsersManual},
    {HostMenuItemId, AnyItem, StartPalette},
};

}  // namespace

const PaletteCommandTable& PaletteCommands() { return Palette; }

AddOnCommand MenuCommand(Int16 menuResID, Int32 itemIndex)
{
    for (const MenuRow& row : Menus)
        if (row.menu == menuResID && (row.item == AnyItem || row.item == itemIndex))
            return row.command;
    return nullptr;
}
