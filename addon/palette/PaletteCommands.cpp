// The palette's commands and tooltips.
#include "addon/palette/paletta.hpp"
#include "addon/complex/CreateComplex.hpp"
#include "addon/complex/EditComplex.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/CommandSteps.hpp"
#include "addon/services/ResStrings.hpp"
#include "addon/schedule/CuttingListCommand.hpp"
#include "addon/schedule/ListExport.hpp"
#include "addon/walls/ReinforceCommand.hpp"

namespace {

constexpr GSResID ToolTipList = 202;
constexpr Int16 EditToolTipOffset = 11;  // the edit texts follow the create texts at 11
constexpr Int32 CuttingListMode = 3;     // the selection, or everything when nothing is selected

// What each entry starts: a push menu its create command with item 1 and
// its edit command with the other; a button its one command.
struct EntryCommands {
    bool (*create)();
    bool (*edit)();
    void (*button)();
};

const EntryCommands Commands[PaletteEntryCount] = {
    {CreateCrowningCommand, EditCrowningCommand, nullptr},
    {CreateBeamCommand, EditBeamCommand, nullptr},
    {CreateColumnCommand, EditColumnCommand, nullptr},
    {nullptr, nullptr, [] { ReinforceSelectedElements(API_SlabID); }},
    {nullptr, nullptr, [] { ReinforceSelectedElements(API_WallID); }},
    {nullptr, nullptr, [] { ReinforceSelectedElements(API_RoofID); }},
    {nullptr, nullptr, [] { RunCuttingListOptimization(CuttingListMode); }},
    {nullptr, nullptr, ExportListToText},
};

}  // namespace

void DirizizPaletta::PaletteButtonClicked(const DG::ButtonClickEvent& ev)
{
    CallGuarded("PaletteButtonClicked", [&] {
        Int32 index = ev.GetSource() != nullptr ? FindEntry(ev.GetSource()->GetId()) : -1;
        if (index < 0)
            return;
        RunCheckedCommand([&] {
            if (Commands[index].button != nullptr)
                Commands[index].button();
        });
    });
}

void DirizizPaletta::PalettePushMenuCheckChanged(const DG::PushMenuCheckChangeEvent& ev)
{
    CallGuarded("PalettePushMenuCheckChanged", [&] {
        Int32 index = ev.GetSource() != nullptr ? FindEntry(ev.GetSource()->GetId()) : -1;
        if (index < 0 || entries[static_cast<size_t>(index)].pushMenu == nullptr)
            return;
        DG::PushMenuCheck& menu = *entries[static_cast<size_t>(index)].pushMenu;
        // A click toggles the check mark; the push menus keep theirs.
        if (ev.WasStateChange())
            menu.Check();
        RunCheckedCommand([&] {
            bool (*command)() = menu.GetSelectedItem() == 1 ? Commands[index].create : Commands[index].edit;
            if (command != nullptr)
                command();
        });
    });
}

void DirizizPaletta::PanelToolTipRequested(const DG::PanelHelpEvent& ev, GS::UniString* toolTipText)
{
    CallGuarded("PanelToolTipRequested", [&] {
        if (ev.GetItem() == nullptr || toolTipText == nullptr)
            return;
        Int16 id = ev.GetItem()->GetId();
        for (size_t i = 0; i < entries.size(); ++i) {
            const PaletteEntry& entry = entries[i];
            if (entry.labelBeside->GetId() != id && entry.labelBelow->GetId() != id && entry.Control().GetId() != id)
                continue;
            Int16 text = static_cast<Int16>(i + 1);
            if (entry.pushMenu != nullptr && entry.pushMenu->GetSelectedItem() != 1)
                text = static_cast<Int16>(i + EditToolTipOffset);
            *toolTipText = GetResUniString(ToolTipList, text);
            return;
        }
    });
}
