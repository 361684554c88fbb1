// (paletta.cpp: the palette's file, named in the add-on's earlier versions.)
// DirizizPaletta: the palette object, its entries, its lifetime and the
// host's palette messages.
#include "addon/palette/paletta.hpp"
#include <memory>
#include "addon/services/AddOnGlobals.hpp"
#include "addon/services/Boundary.hpp"
#include "addon/services/ResStrings.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostQueries.hpp"
#include "platform/gs/Memory.hpp"

namespace {

constexpr Int16 PaletteWidth = 111;
constexpr Int16 PaletteHeight = 350;
constexpr Int16 MinClientSize = 40;
constexpr Int16 EntryPitch = 49;
constexpr Int16 ControlSize = 30;
constexpr Int16 LabelWidth = 52;
constexpr Int16 LabelHeight = 16;
constexpr GSResID CreateIconBase = 32620;
constexpr GSResID EditIconBase = 32630;
constexpr GSResID ButtonIconBase = 32611;
constexpr RSStringId Labels[PaletteEntryCount] = {
    ResStr::PaletteLabels::Crowning, ResStr::PaletteLabels::Beam,        ResStr::PaletteLabels::Column,
    ResStr::PaletteLabels::Slab,     ResStr::PaletteLabels::Wall,        ResStr::PaletteLabels::Roof,
    ResStr::PaletteLabels::CuttingList, ResStr::PaletteLabels::Export,
};

}  // namespace

DG::Item& PaletteEntry::Control() const
{
    if (iconButton != nullptr)
        return *iconButton;
    return *pushMenu;
}

DirizizPaletta::DirizizPaletta()
    : DG::Palette(DG::Point(0, 0), PaletteWidth, PaletteHeight, PaletteGuid(), DG::HVGrow, DG::Close, DG::TopCaption,
                  DG::NoFrame, DG::NoSpecialFeatures)
{
    SetTitle(GetResUniString(ResStr::AddOnName::Name));
    Attach(static_cast<DG::PanelObserver&>(*this));
    for (Int32 index = CrowningEntry; index <= ColumnEntry; ++index)
        CreatePushMenuEntry(0, static_cast<Int16>(index * EntryPitch), static_cast<GSResID>(CreateIconBase + index),
                            static_cast<GSResID>(EditIconBase + index),
                            GetResUniString(Labels[index]));
    for (Int32 index = SlabEntry; index <= ExportEntry; ++index)
        CreateButtonEntry(0, static_cast<Int16>(index * EntryPitch), static_cast<GSResID>(ButtonIconBase + index),
                          GetResUniString(Labels[index]));
}

DirizizPaletta::~DirizizPaletta()
{
    Detach(static_cast<DG::PanelObserver&>(*this));
    entries.clear();
    disabledEntries.clear();
}

void DirizizPaletta::CreatePushMenuEntry(Int16 x, Int16 y, GSResID createIcon, GSResID editIcon, const GS::UniString& label)
{
    PaletteEntry entry;
    entry.pushMenu =
        std::make_shared<DG::PushMenuCheck>(*this, DG::Rect(DG::Point(static_cast<Int16>(x + 11), y), ControlSize, ControlSize),
                                            DG::BevelEdge);
    entry.pushMenu->AppendItem();
    entry.pushMenu->AppendItem();
    entry.pushMenu->SetItemIcon(1, DG::Icon(OwnResourceModule(), createIcon));
    entry.pushMenu->SetItemIcon(2, DG::Icon(OwnResourceModule(), editIcon));
    entry.pushMenu->Check();
    entry.pushMenu->Enable();
    entry.pushMenu->SelectItem(1);
    entry.pushMenu->Attach(static_cast<DG::PushMenuObserver&>(*this));
    AddEntry(std::move(entry), x, y, label);
}

void DirizizPaletta::CreateButtonEntry(Int16 x, Int16 y, GSResID icon, const GS::UniString& label)
{
    PaletteEntry entry;
    entry.iconButton = std::make_shared<DG::IconButton>(
        *this, DG::Rect(DG::Point(static_cast<Int16>(x + 11), y), ControlSize, ControlSize), DG::BevelEdge, DG::NoFrame);
    entry.iconButton->SetIcon(DG::Icon(OwnResourceModule(), icon));
    entry.iconButton->Enable();
    entry.iconButton->Attach(static_cast<DG::ButtonItemObserver&>(*this));
    AddEntry(std::move(entry), x, y, label);
}

// The two labels of an entry, then the entry itself.
void DirizizPaletta::AddEntry(PaletteEntry entry, Int16 x, Int16 y, const GS::UniString& label)
{
    entry.labelBeside = std::make_shared<DG::LeftText>(
        *this, DG::Rect(DG::Point(static_cast<Int16>(x + 44), static_cast<Int16>(y + 8)), LabelWidth, LabelHeight),
        DG::NoFrame, DG::VTop, DG::EndTruncate);
    entry.labelBelow = std::make_shared<DG::CenterText>(
        *this, DG::Rect(DG::Point(x, static_cast<Int16>(y + 31)), LabelWidth, LabelHeight), DG::NoFrame, DG::VTop,
        DG::EndTruncate);
    for (DG::StaticText* text : {static_cast<DG::StaticText*>(entry.labelBeside.get()),
                                 static_cast<DG::StaticText*>(entry.labelBelow.get())}) {
        text->SetText(label);
        text->SetFontSize(DG::LargeFont);
    }
    entries.push_back(std::move(entry));
}

Int32 DirizizPaletta::FindEntry(Int16 controlId) const
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].Control().GetId() == controlId)
            return static_cast<Int32>(i);
    return -1;
}

void DirizizPaletta::DisableForHost()
{
    disabledEntries.clear();
    for (size_t i = 0; i < entries.size(); ++i)
        if (!entries[i].Control().IsEnabled())
            disabledEntries.push_back(static_cast<Int32>(i));
    DisableItems();
}

void DirizizPaletta::EnableAfterHost()
{
    EnableItems();
    for (Int32 index : disabledEntries)
        SetEntryStatus(index, false);
}

void DirizizPaletta::PanelCloseRequested(const DG::PanelCloseRequestEvent&, bool*)
{
    // Closing only hides the palette; the host's close message deletes it.
    CallGuarded("PanelCloseRequested", [&] { Hide(); });
}

void DirizizPaletta::PanelResized(const DG::PanelResizeEvent&)
{
    CallGuarded("PanelResized", [&] { LayoutPalette(); });
}

void DirizizPaletta::PaletteOpened(const DG::PanelOpenEvent&)
{
    CallGuarded("PaletteOpened", [&] { HandlePaletteOpened(); });
}

// On opening, the entries are set from the whole selection and only ever
// disabled; SelectionChangeHandler sets them from the first selected item
// on every later change, enabling as well.
void DirizizPaletta::HandlePaletteOpened()
{
    LayoutPalette();

    GS::Array<API_Neig> items;
    Int32 selectionKind = 0;
    GSErrCode err = ReadSelection(items, selectionKind);
    auto disableAllButCuttingList = [&] {
        for (Int32 index = CrowningEntry; index < PaletteEntryCount; ++index)
            if (index != CuttingListEntry)
                SetEntryStatus(index, false);
    };
    if (err != NoError)
        disableAllButCuttingList();
    if (selectionKind == 0)
        return;
    if (items.IsEmpty()) {
        disableAllButCuttingList();
        return;
    }
    if (err != NoError)
        return;

    bool slab = true, wall = true, roof = true, cuttingList = true;
    for (const API_Neig& item : items) {
        // An item whose type the host cannot tell counts as a foreign one.
        API_ElemTypeID type = API_ZombieElemID;
        ElementTypeOf(item, type);
        slab = slab && type == API_SlabID;
        wall = wall && type == API_WallID;
        roof = roof && type == API_RoofID;
        cuttingList = cuttingList && type == API_ObjectID;
    }
    if (!slab)
        SetSlabEntryStatus(false);
    if (!wall)
        SetWallEntryStatus(false);
    if (!roof)
        SetRoofEntryStatus(false);
    if (!cuttingList)
        SetCuttingListEntryStatus(false);
}

void OpenPalette()
{
    if (PaletteOwner::Get() != nullptr)
        return;
    auto palette = std::make_unique<DirizizPaletta>();
    palette->BeginEventProcessing();
    palette->SetMinClientSize(MinClientSize, MinClientSize);
    PaletteOwner::Adopt(std::move(palette));
}

// The owner only ever holds what OpenPalette gave it.
DirizizPaletta* GetPalette() { return static_cast<DirizizPaletta*>(PaletteOwner::Get()); }

void ShowPalette()
{
    OpenPalette();
    if (DirizizPaletta* palette = GetPalette())
        palette->Show(DG::TopMost);
}

GSErrCode PaletteControlCallback(Int32 referenceID, Int32 messageID, GS::IntPtr param)
{
    return CallGuarded("PaletteControlCallback", APIERR_GENERAL, [&] {
        if (referenceID != PaletteRefId)
            return NoError;
        DirizizPaletta* palette = GetPalette();
        bool visible = palette != nullptr && palette->IsVisible();
        switch (messageID) {
        case APIPalMsg_ClosePalette:
            if (palette != nullptr) {
                palette->Hide();
                PaletteOwner::Delete();
            }
            break;
        case APIPalMsg_HidePalette_Begin:
            if (visible)
                palette->Hide();
            break;
        case APIPalMsg_HidePalette_End:
            if (palette != nullptr && !visible)
                palette->Show(DG::TopMost);
            break;
        case APIPalMsg_DisableItems_Begin:
            if (visible)
                palette->DisableForHost();
            break;
        case APIPalMsg_DisableItems_End:
            if (visible)
                palette->EnableAfterHost();
            break;
        case APIPalMsg_OpenPalette:
            ShowPalette();
            break;
        case APIPalMsg_IsPaletteVisible:
            // The host hands a bool to fill; without one there is nothing to answer.
            if (param != 0)
                *reinterpret_cast<bool*>(param) = visible;
            break;
        default:
            break;
        }
        return NoError;
    });
}
