// The add-on's modeless palette: eight entries that start its commands.
#pragma once
#include "addon/services/CommandSteps.hpp"
#include "platform/api/APIdefs.hpp"
#include "platform/dg/DG.hpp"
#include <array>
#include <memory>
#include <vector>

// The entries in palette order (string list 201 gives their labels in the
// same order).
enum PaletteEntryIndex : Int32 {
    CrowningEntry = 0,
    BeamEntry = 1,
    ColumnEntry = 2,
    SlabEntry = 3,
    WallEntry = 4,
    RoofEntry = 5,
    CuttingListEntry = 6,
    ExportEntry = 7,
    PaletteEntryCount = 8,
};

// What an entry starts: a button entry its `button` command; a push-menu
// entry its `create` command with item 1 and its `edit` command with the
// other. The palette knows no command itself: the add-on's composition
// root hands it the table (SetPaletteCommands).
struct PaletteEntryCommands {
    AddOnCommand create;
    AddOnCommand edit;
    AddOnCommand button;
};
using PaletteCommandTable = std::array<PaletteEntryCommands, PaletteEntryCount>;

// The table the entries dispatch through, for as long as the add-on is
// loaded; null (the start) lets the entries start nothing.
void SetPaletteCommands(const PaletteCommandTable* commands);

// One entry: an icon button (Slab to Export) or a push menu with a create
// and an edit item (Crowning, Beam, Column), and its label beside and below
// the icon.
struct PaletteEntry {
    std::shared_ptr<DG::IconButton> iconButton;
    std::shared_ptr<DG::PushMenuCheck> pushMenu;
    std::shared_ptr<DG::LeftText> labelBeside;
    std::shared_ptr<DG::CenterText> labelBelow;

    // The icon button, or the push menu when there is none.
    DG::Item& Control() const;
};

// The add-on's palette; the name is kept from the add-on's earlier versions.
class DirizizPaletta : public DG::Palette,
                       public DG::PanelObserver,
                       public DG::PushMenuObserver,
                       public DG::ButtonItemObserver {
public:
    DirizizPaletta();
    ~DirizizPaletta() override;

    const std::vector<PaletteEntry>& Entries() const { return entries; }

    // Each enables or disables that entry's control.
    void SetCrowningEntryStatus(bool enabled) { SetEntryStatus(CrowningEntry, enabled); }
    void SetBeamEntryStatus(bool enabled) { SetEntryStatus(BeamEntry, enabled); }
    void SetColumnEntryStatus(bool enabled) { SetEntryStatus(ColumnEntry, enabled); }
    void SetSlabEntryStatus(bool enabled) { SetEntryStatus(SlabEntry, enabled); }
    void SetWallEntryStatus(bool enabled) { SetEntryStatus(WallEntry, enabled); }
    void SetRoofEntryStatus(bool enabled) { SetEntryStatus(RoofEntry, enabled); }
    void SetCuttingListEntryStatus(bool enabled) { SetEntryStatus(CuttingListEntry, enabled); }
    void SetExportEntryStatus(bool enabled) { SetEntryStatus(ExportEntry, enabled); }

    // While the host works with its palettes disabled (messages 4 and 5):
    // remembers the entries disabled now and disables everything, then
    // enables everything but the remembered entries again.
    void DisableForHost();
    void EnableAfterHost();

    // The arrangement of the entries in the client area (PaletteLayout.cpp).
    void LayoutPalette();
    bool FitPaletteGrid(Int16 minCellWidth, Int16 minCellHeight, Int16* columns, Int16* rows, Int16* cellWidth,
                        Int16* cellHeight) const;
    void ArrangePaletteEntries(Int16 columns, Int16 rows, Int16 cellWidth, Int16 cellHeight, bool labelsBelow,
                               bool labelsBeside, Int16 marginX, Int16 marginY);
    void PlacePaletteEntry(Int16 x, Int16 y, Int32 index, bool labelsBelow, bool labelsBeside, Int16 cellWidth);
    void ShowLabelsBeside();
    void HideLabelsBeside();
    void HideLabelsBelow();

private:
    // DG::PanelObserver
    void PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted) override;
    void PaletteOpened(const DG::PanelOpenEvent& ev) override;
    void PanelResizeEntered(const DG::PanelResizeEvent&) override {}
    void PanelResizing(const DG::PanelResizeEvent&) override {}
    void PanelResized(const DG::PanelResizeEvent& ev) override;
    void PanelResizeExited(const DG::PanelResizeEvent&) override {}
    void PanelToolTipRequested(const DG::PanelHelpEvent& ev, GS::UniString* toolTipText) override;
    // DG::PushMenuObserver
    void PalettePushMenuCheckChanged(const DG::PushMenuCheckChangeEvent& ev) override;
    // DG::ButtonItemObserver
    void PaletteButtonClicked(const DG::ButtonClickEvent& ev) override;

    void CreatePushMenuEntry(Int16 x, Int16 y, GSResID createIcon, GSResID editIcon, const GS::UniString& label);
    void CreateButtonEntry(Int16 x, Int16 y, GSResID icon, const GS::UniString& label);
    void AddEntry(PaletteEntry entry, Int16 x, Int16 y, const GS::UniString& label);
    void SetEntryStatus(Int32 index, bool enabled) { entries[static_cast<size_t>(index)].Control().SetStatus(enabled); }
    void ShowLabelsBelow();
    // Shows or hides one kind of label of every entry.
    template <typename Label> void SetLabelsVisible(std::shared_ptr<Label> PaletteEntry::*label, bool visible);
    // The entry whose control has this item id, or -1.
    Int32 FindEntry(Int16 controlId) const;
    void HandlePaletteOpened();
    void RunEntryCommand(Int32 index);

    std::vector<PaletteEntry> entries;
    std::vector<Int32> disabledEntries;
};

// Creates the palette if there is none yet and starts its event
// processing; it is not shown here.
void OpenPalette();
// The palette, or null when it does not exist.
DirizizPaletta* GetPalette();
// Opens the palette if needed and shows it on top.
void ShowPalette();

// The host's messages for the registered palette.
GSErrCode PaletteControlCallback(Int32 referenceID, Int32 messageID, GS::IntPtr param);
