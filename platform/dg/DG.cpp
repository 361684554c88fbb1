#include "platform/dg/DG.hpp"
#include "platform/dg/DGInternal.hpp"
#include <algorithm>

namespace DG {

namespace {
constexpr UInt32 IconType = 0x49434F4E;  // 'ICON'

template <typename T> void AttachTo(std::vector<T*>& list, T& observer)
{
    if (std::find(list.begin(), list.end(), &observer) == list.end())
        list.push_back(&observer);
}

template <typename T> void DetachFrom(std::vector<T*>& list, T& observer)
{
    list.erase(std::remove(list.begin(), list.end(), &observer), list.end());
}
}  // namespace

Icon::Icon(GSResModule module, GSResID resId) : resId(resId)
{
    UInt32 size = 0;
    const unsigned char* data = RSLoadResource(IconType, resId, module, &size);
    if (data == nullptr || size < 2)
        return;
    Int16 w = data[0], h = data[1];
    if (w == 0 || h == 0 || size != 2u + (static_cast<UInt32>(w) * static_cast<UInt32>(h) + 7u) / 8u)
        return;
    width = w;
    height = h;
}

// ---------------------------------------------------------------- observers
PanelObserver::~PanelObserver() = default;
void PanelObserver::PanelCloseRequested(const PanelCloseRequestEvent&, bool*) {}
void PanelObserver::PaletteOpened(const PanelOpenEvent&) {}
void PanelObserver::PanelResizeEntered(const PanelResizeEvent&) {}
void PanelObserver::PanelResizing(const PanelResizeEvent&) {}
void PanelObserver::PanelResized(const PanelResizeEvent&) {}
void PanelObserver::PanelResizeExited(const PanelResizeEvent&) {}
void PanelObserver::PanelToolTipRequested(const PanelHelpEvent&, GS::UniString*) {}

PushMenuObserver::~PushMenuObserver() = default;
void PushMenuObserver::PalettePushMenuCheckChanged(const PushMenuCheckChangeEvent&) {}

ButtonItemObserver::~ButtonItemObserver() = default;
void ButtonItemObserver::PaletteButtonClicked(const ButtonClickEvent&) {}

// ---------------------------------------------------------------- items
ItemBase::ItemBase(const Panel& owner) : panel(const_cast<Panel*>(&owner)), id(panel->Register(this)) {}

ItemBase::~ItemBase()
{
    if (panel != nullptr)
        panel->Unregister(this);
}

Item::~Item() = default;
StaticText::~StaticText() = default;

LeftText::LeftText(const Panel& panel, const Rect& rect, FrameType frame, VAlignType vAlign, Truncation truncation)
    : StaticText(panel, rect, frame, vAlign, truncation)
{
}
LeftText::~LeftText() = default;

CenterText::CenterText(const Panel& panel, const Rect& rect, FrameType frame, VAlignType vAlign, Truncation truncation)
    : StaticText(panel, rect, frame, vAlign, truncation)
{
}
CenterText::~CenterText() = default;

ButtonItem::~ButtonItem() = default;
void ButtonItem::Attach(ButtonItemObserver& observer) { AttachTo(observers, observer); }
void ButtonItem::Detach(ButtonItemObserver& observer) { DetachFrom(observers, observer); }

IconButton::IconButton(const Panel& panel, const Rect& rect, ButtonForm form, FrameType frame)
    : ButtonItem(panel, rect, form), frame(frame)
{
}
IconButton::~IconButton() = default;

PushMenu::~PushMenu() = default;

void PushMenu::AppendItem()
{
    icons.emplace_back();
    if (selected == 0)
        selected = 1;
}

void PushMenu::SetItemIcon(Int16 index, const Icon& icon)
{
    if (index >= 1 && index <= GetItemCount())
        icons[static_cast<size_t>(index - 1)] = icon;
}

Icon PushMenu::GetItemIcon(Int16 index) const
{
    return index >= 1 && index <= GetItemCount() ? icons[static_cast<size_t>(index - 1)] : Icon();
}

void PushMenu::SelectItem(Int16 index)
{
    if (index >= 1 && index <= GetItemCount())
        selected = index;
}

void PushMenu::Attach(PushMenuObserver& observer) { AttachTo(observers, observer); }
void PushMenu::Detach(PushMenuObserver& observer) { DetachFrom(observers, observer); }

PushMenuCheck::PushMenuCheck(const Panel& panel, const Rect& rect, ButtonForm form) : PushMenu(panel, rect, form) {}
PushMenuCheck::~PushMenuCheck() = default;

// ---------------------------------------------------------------- panels
Panel::Panel() = default;

Panel::~Panel()
{
    // Items that outlive their panel are orphaned rather than left pointing
    // at it.
    for (ItemBase* item : items)
        if (item != nullptr)
            item->panel = nullptr;
}

void Panel::Attach(PanelObserver& observer) { AttachTo(observers, observer); }
void Panel::Detach(PanelObserver& observer) { DetachFrom(observers, observer); }

Int16 Panel::Register(ItemBase* item)
{
    items.push_back(item);
    return static_cast<Int16>(items.size());
}

void Panel::Unregister(ItemBase* item)
{
    for (ItemBase*& slot : items)
        if (slot == item)
            slot = nullptr;
}

Item* Panel::GetItem(Int16 id) const
{
    if (id < 1 || id > GetItemCount())
        return nullptr;
    return static_cast<Item*>(items[static_cast<size_t>(id - 1)]);
}

template <typename F> void Panel::ForEachItem(F&& apply)
{
    for (Int16 id = 1; id <= GetItemCount(); ++id)
        if (Item* item = GetItem(id))
            apply(*item);
}

void Panel::EnableItems() { ForEachItem([](Item& item) { item.Enable(); }); }
void Panel::DisableItems() { ForEachItem([](Item& item) { item.Disable(); }); }
void Panel::ShowItems() { ForEachItem([](Item& item) { item.Show(); }); }
void Panel::HideItems() { ForEachItem([](Item& item) { item.Hide(); }); }

ModelessBase::ModelessBase(const Point& position, Int16 width, Int16 height, GrowType grow, CloseType close,
                           CaptionType caption, FrameType frame)
    : position(position), clientWidth(width), clientHeight(height), grow(grow), close(close), caption(caption), frame(frame)
{
}

ModelessBase::~ModelessBase() = default;

void ModelessBase::Show(Int16)
{
    visible = true;
    if (opened)
        return;
    opened = true;
    PanelOpenEvent ev(this);
    std::vector<PanelObserver*> notify = GetObservers();
    for (PanelObserver* o : notify)
        o->PaletteOpened(ev);
}

void ModelessBase::SetClientSize(Int16 width, Int16 height)
{
    clientWidth = std::max(width, minWidth);
    clientHeight = std::max(height, minHeight);
}

void ModelessBase::SetMinClientSize(Int16 width, Int16 height)
{
    minWidth = width;
    minHeight = height;
}

Palette::Palette(const Point& position, Int16 width, Int16 height, const GS::Guid& guid, GrowType grow, CloseType close,
                 CaptionType caption, FrameType frame, SpecialFeatures features)
    : ModelessBase(position, width, height, grow, close, caption, frame), guid(guid), features(features)
{
    Internal::AddPalette(this);
}

Palette::~Palette()
{
    Hide();
    Internal::RemovePalette(this);
}

}  // namespace DG

void DGResetDialogRectangles() { DG::Internal::CountRectangleReset(); }
