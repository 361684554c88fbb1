// The palette's commands and tooltips.
#include "addon/palette/paletta.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/ResStrings.hpp"
#include <iterator>

namespace {

// Given by the composition root when the add-on starts; until then the
// entries start nothing.
const PaletteCommandTable* g_commands = nullptr;

// A button's text, or a push menu's text for its create item.
constexpr RSStringId ToolTips[PaletteEntryCount] = {
    ResStr::PaletteToolTips::CreateCrowning, ResStr::PaletteToolTips::CreateBeam,
    ResStr::PaletteToolTips::CreateColumn,   ResStr::PaletteToolTips::Slab,
    ResStr::PaletteToolTips::Wall,           ResStr::PaletteToolTips::Roof,
    ResStr::PaletteToolTips::CuttingList,    ResStr::PaletteToolTips::Export,
};
// A push menu's text for its edit item, by entry (Crowning, Beam, Column).
constexpr RSStringId EditToolTips[] = {
    ResStr::PaletteToolTips::EditCrowning,
    ResStr::PaletteToolTips::EditBeam,
    ResStr::PaletteToolTips::EditColumn,
};

}  // namespace

void SetPaletteCommands(const PaletteCommandTable* commands) { g_commands = commands; }

void DirizizPaletta::PaletteButtonClicked(const DG::ButtonClickEvent& ev)
{
    CallGuarded("PaletteButtonClicked", [&] {
        Int32 index = ev.GetSource() != nullptr ? FindEntry(ev.GetSource()->GetId()) : -1;
        if (index < 0 || g_commands == nullptr)
            return;
        AddOnCommand command = (*g_commands)[static_cast<size_t>(index)].button;
        // The results are the commands' own business: they have told the user.
        RunCheckedCommand([&] { return command != nullptr ? command() : NoError; });
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
        if (g_commands == nullptr)
            return;
        const PaletteEntryCommands& commands = (*g_commands)[static_cast<size_t>(index)];
        RunCheckedCommand([&] {
            AddOnCommand command = menu.GetSelectedItem() == 1 ? commands.create : commands.edit;
            return command != nullptr ? command() : NoError;
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
            RSStringId text = ToolTips[i];
            if (entry.pushMenu != nullptr && entry.pushMenu->GetSelectedItem() != 1 && i < std::size(EditToolTips))
                text = EditToolTips[i];
            *toolTipText = GetResUniString(text);
            return;
        }
    });
}
