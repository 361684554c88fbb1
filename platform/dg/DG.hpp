// DG, the host's dialog library: modeless palettes, their items and the
// observers that DG notifies.
//
// Items belong to a panel and get their ids from it in creation order
// (1, 2, ...). Every item remembers what is set on it (position, size,
// status, visibility, text, icons) so that the window system and a test can
// read it back. Observers are attached to a panel or an item and are called
// by DG when the window system delivers an event (DGUserInput.hpp).
// Sizes and positions are client units; x grows to the right and y
// downwards from the client area's top left corner.
#pragma once
#include "platform/gs/Guid.hpp"
#include "platform/gs/UniString.hpp"
#include "platform/rs/RS.hpp"
#include <vector>

namespace DG {

struct PLATFORM_API Point {
    Int16 x = 0;
    Int16 y = 0;
    Point() = default;
    Point(Int16 x, Int16 y) : x(x), y(y) {}
    bool operator==(const Point& o) const { return x == o.x && y == o.y; }
    bool operator!=(const Point& o) const { return !(*this == o); }
};

struct PLATFORM_API Rect {
    Point position;
    Int16 width = 0;
    Int16 height = 0;
    Rect() = default;
    Rect(const Point& position, Int16 width, Int16 height) : position(position), width(width), height(height) {}
};

// How a window may be resized: the bits allow width and height.
enum GrowType : Int16 { NoGrow = 0, HGrow = 1, VGrow = 2, HVGrow = 3 };
// What closes a window: nothing, or its close box.
enum CloseType : Int16 { NoClose = 0, Close = 4 };
enum CaptionType : Int16 { TopCaption = 0, LeftCaption = 1, NoCaption = 2 };
enum FrameType : Int16 { NoFrame = 0, StaticFrame = 1, ClientFrame = 2, ModalFrame = 3 };
enum SpecialFeatures : Int16 { NoSpecialFeatures = 0 };
enum ButtonForm : Int16 { NormalForm = 0, BevelEdge = 1 };
enum VAlignType : Int16 { VTop = 0, VCenter = 1, VBottom = 2 };
// How a text too long for its item is cut.
enum Truncation : Int32 { NoTruncate = 0, EndTruncate = 0x1000, MiddleTruncate = 0x2000 };
enum FontSize : Int16 { LargeFont = 0, SmallFont = 1, ExtraSmallFont = 2 };

// Show's reference window: above every other window.
constexpr Int16 TopMost = -32768;

// An icon from a module's resources (type 'ICON'). The record holds its
// width and height in the first two bytes and then one bit per pixel, row
// after row; a missing or malformed record gives an empty icon.
class PLATFORM_API Icon {
public:
    Icon() = default;
    Icon(GSResModule module, GSResID resId);
    bool IsEmpty() const { return width == 0; }
    GSResID GetResourceId() const { return resId; }
    Int16 GetWidth() const { return width; }
    Int16 GetHeight() const { return height; }

private:
    GSResID resId = 0;
    Int16 width = 0;
    Int16 height = 0;
};

class Panel;
class ButtonItem;
class PushMenuCheck;
class Item;

// ---------------------------------------------------------------- events
class PLATFORM_API PanelEvent {
public:
    explicit PanelEvent(Panel* source) : source(source) {}
    Panel* GetSource() const { return source; }

private:
    Panel* source;
};

using PanelOpenEvent = PanelEvent;
using PanelCloseRequestEvent = PanelEvent;

class PLATFORM_API PanelResizeEvent : public PanelEvent {
public:
    PanelResizeEvent(Panel* source, Int16 dx, Int16 dy) : PanelEvent(source), dx(dx), dy(dy) {}
    Int16 GetHorizontalChange() const { return dx; }
    Int16 GetVerticalChange() const { return dy; }

private:
    Int16 dx, dy;
};

// The user rests the pointer on an item (or on the panel itself: no item).
class PLATFORM_API PanelHelpEvent : public PanelEvent {
public:
    PanelHelpEvent(Panel* source, Item* item) : PanelEvent(source), item(item) {}
    Item* GetItem() const { return item; }

private:
    Item* item;
};

class PLATFORM_API ButtonClickEvent {
public:
    explicit ButtonClickEvent(ButtonItem* source) : source(source) {}
    ButtonItem* GetSource() const { return source; }

private:
    ButtonItem* source;
};

class PLATFORM_API PushMenuCheckChangeEvent {
public:
    PushMenuCheckChangeEvent(PushMenuCheck* source, bool stateChange) : source(source), stateChange(stateChange) {}
    PushMenuCheck* GetSource() const { return source; }
    // True when the click changed the check state (not only the chosen item).
    bool WasStateChange() const { return stateChange; }

private:
    PushMenuCheck* source;
    bool stateChange;
};

// ---------------------------------------------------------------- observers
// Every notification does nothing unless overridden.
class PLATFORM_API PanelObserver {
public:
    virtual ~PanelObserver();
    // The user asks to close the window; set *accepted to let DG hide it.
    virtual void PanelCloseRequested(const PanelCloseRequestEvent& ev, bool* accepted);
    // The window has opened: sent once, when it is first shown.
    virtual void PaletteOpened(const PanelOpenEvent& ev);
    // A resize by the user: entered, resizing, resized, exited.
    virtual void PanelResizeEntered(const PanelResizeEvent& ev);
    virtual void PanelResizing(const PanelResizeEvent& ev);
    virtual void PanelResized(const PanelResizeEvent& ev);
    virtual void PanelResizeExited(const PanelResizeEvent& ev);
    // The text DG shows as the item's tooltip; left unchanged, none shows.
    virtual void PanelToolTipRequested(const PanelHelpEvent& ev, GS::UniString* toolTipText);
};

class PLATFORM_API PushMenuObserver {
public:
    virtual ~PushMenuObserver();
    virtual void PalettePushMenuCheckChanged(const PushMenuCheckChangeEvent& ev);
};

class PLATFORM_API ButtonItemObserver {
public:
    virtual ~ButtonItemObserver();
    virtual void PaletteButtonClicked(const ButtonClickEvent& ev);
};

// ---------------------------------------------------------------- items
class PLATFORM_API ItemBase {
public:
    virtual ~ItemBase();
    ItemBase(const ItemBase&) = delete;
    ItemBase& operator=(const ItemBase&) = delete;
    Int16 GetId() const { return id; }
    // Null once the panel is gone.
    Panel* GetPanel() const { return panel; }

protected:
    explicit ItemBase(const Panel& panel);

private:
    friend class Panel;
    Panel* panel;
    Int16 id;
};

class PLATFORM_API Item : public ItemBase {
public:
    ~Item() override;

    void SetStatus(bool enabled) { this->enabled = enabled; }
    void Enable() { enabled = true; }
    void Disable() { enabled = false; }
    bool IsEnabled() const { return enabled; }

    void SetVisibility(bool visible) { this->visible = visible; }
    void Show() { visible = true; }
    void Hide() { visible = false; }
    bool IsVisible() const { return visible; }

    void SetPosition(const Point& position) { rect.position = position; }
    Point GetPosition() const { return rect.position; }
    void SetWidth(Int16 width) { rect.width = width; }
    void SetHeight(Int16 height) { rect.height = height; }
    void SetSize(Int16 width, Int16 height) { rect.width = width; rect.height = height; }
    Int16 GetWidth() const { return rect.width; }
    Int16 GetHeight() const { return rect.height; }
    Rect GetRect() const { return rect; }

protected:
    Item(const Panel& panel, const Rect& rect) : ItemBase(panel), rect(rect) {}

private:
    Rect rect;
    bool enabled = true;
    bool visible = true;
};

class PLATFORM_API StaticText : public Item {
public:
    ~StaticText() override;
    void SetText(const GS::UniString& text) { this->text = text; }
    const GS::UniString& GetText() const { return text; }
    void SetFontSize(FontSize size) { fontSize = size; }
    FontSize GetFontSize() const { return fontSize; }
    FrameType GetFrameType() const { return frame; }
    VAlignType GetVAlign() const { return vAlign; }
    Truncation GetTruncation() const { return truncation; }

protected:
    StaticText(const Panel& panel, const Rect& rect, FrameType frame, VAlignType vAlign, Truncation truncation)
        : Item(panel, rect), frame(frame), vAlign(vAlign), truncation(truncation)
    {
    }

private:
    GS::UniString text;
    FontSize fontSize = LargeFont;
    FrameType frame;
    VAlignType vAlign;
    Truncation truncation;
};

class PLATFORM_API LeftText : public StaticText {
public:
    LeftText(const Panel& panel, const Rect& rect, FrameType frame = NoFrame, VAlignType vAlign = VTop,
             Truncation truncation = NoTruncate);
    ~LeftText() override;
};

class PLATFORM_API CenterText : public StaticText {
public:
    CenterText(const Panel& panel, const Rect& rect, FrameType frame = NoFrame, VAlignType vAlign = VTop,
               Truncation truncation = NoTruncate);
    ~CenterText() override;
};

class PLATFORM_API ButtonItem : public Item {
public:
    ~ButtonItem() override;
    void Attach(ButtonItemObserver& observer);
    void Detach(ButtonItemObserver& observer);
    const std::vector<ButtonItemObserver*>& GetObservers() const { return observers; }
    ButtonForm GetButtonForm() const { return form; }

protected:
    ButtonItem(const Panel& panel, const Rect& rect, ButtonForm form) : Item(panel, rect), form(form) {}

private:
    std::vector<ButtonItemObserver*> observers;
    ButtonForm form;
};

class PLATFORM_API IconButton : public ButtonItem {
public:
    IconButton(const Panel& panel, const Rect& rect, ButtonForm form = NormalForm, FrameType frame = NoFrame);
    ~IconButton() override;
    void SetIcon(const Icon& icon) { this->icon = icon; }
    const Icon& GetIcon() const { return icon; }
    FrameType GetFrameType() const { return frame; }

private:
    Icon icon;
    FrameType frame;
};

// A button with a menu of items (numbered from 1), showing the icon of the
// selected one.
class PLATFORM_API PushMenu : public Item {
public:
    ~PushMenu() override;
    void AppendItem();
    Int16 GetItemCount() const { return static_cast<Int16>(icons.size()); }
    // Out-of-range indices are ignored (and give an empty icon).
    void SetItemIcon(Int16 index, const Icon& icon);
    Icon GetItemIcon(Int16 index) const;
    void SelectItem(Int16 index);
    // 0 while the menu has no items.
    Int16 GetSelectedItem() const { return selected; }
    void Attach(PushMenuObserver& observer);
    void Detach(PushMenuObserver& observer);
    const std::vector<PushMenuObserver*>& GetObservers() const { return observers; }
    ButtonForm GetButtonForm() const { return form; }

protected:
    PushMenu(const Panel& panel, const Rect& rect, ButtonForm form) : Item(panel, rect), form(form) {}

private:
    std::vector<Icon> icons;
    Int16 selected = 0;
    std::vector<PushMenuObserver*> observers;
    ButtonForm form;
};

// A push menu that is also a check button: a click toggles its check mark.
class PLATFORM_API PushMenuCheck : public PushMenu {
public:
    PushMenuCheck(const Panel& panel, const Rect& rect, ButtonForm form = NormalForm);
    ~PushMenuCheck() override;
    void Check() { checked = true; }
    void Uncheck() { checked = false; }
    bool IsChecked() const { return checked; }

private:
    bool checked = false;
};

// ---------------------------------------------------------------- panels
class PLATFORM_API Panel {
public:
    Panel();
    virtual ~Panel();
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    void Attach(PanelObserver& observer);
    void Detach(PanelObserver& observer);
    const std::vector<PanelObserver*>& GetObservers() const { return observers; }

    // Every item of the panel at once.
    void EnableItems();
    void DisableItems();
    void ShowItems();
    void HideItems();
    void RedrawItems() { ++redraws; }
    Int32 GetRedrawCount() const { return redraws; }

    // Ids run from 1 to GetItemCount(); null for an id whose item is gone.
    Int16 GetItemCount() const { return static_cast<Int16>(items.size()); }
    Item* GetItem(Int16 id) const;

private:
    friend class ItemBase;
    Int16 Register(ItemBase* item);
    void Unregister(ItemBase* item);
    template <typename F> void ForEachItem(F&& apply);

    std::vector<ItemBase*> items;  // index id - 1
    std::vector<PanelObserver*> observers;
    Int32 redraws = 0;
};

// A window that stays open while the user works elsewhere. It is hidden
// when created; Show puts it on screen and the first Show sends the opened
// notification. The window system delivers the user's input only after
// BeginEventProcessing.
class PLATFORM_API ModelessBase : public Panel {
public:
    ~ModelessBase() override;

    void BeginEventProcessing() { processing = true; }
    void EndEventProcessing() { processing = false; }
    bool IsEventProcessing() const { return processing; }

    void Show(Int16 refWindow = TopMost);
    void Hide() { visible = false; }
    bool IsVisible() const { return visible; }

    void SetTitle(const GS::UniString& title) { this->title = title; }
    const GS::UniString& GetTitle() const { return title; }
    Point GetPosition() const { return position; }

    // The client area; a size below the minimum is raised to it.
    void SetClientSize(Int16 width, Int16 height);
    Int16 GetClientWidth() const { return clientWidth; }
    Int16 GetClientHeight() const { return clientHeight; }
    void SetMinClientSize(Int16 width, Int16 height);
    Int16 GetMinClientWidth() const { return minWidth; }
    Int16 GetMinClientHeight() const { return minHeight; }

    GrowType GetGrowType() const { return grow; }
    CloseType GetCloseType() const { return close; }
    CaptionType GetCaptionType() const { return caption; }
    FrameType GetFrameType() const { return frame; }

protected:
    ModelessBase(const Point& position, Int16 width, Int16 height, GrowType grow, CloseType close, CaptionType caption,
                 FrameType frame);

private:
    Point position;
    Int16 clientWidth, clientHeight;
    Int16 minWidth = 0, minHeight = 0;
    GrowType grow;
    CloseType close;
    CaptionType caption;
    FrameType frame;
    GS::UniString title;
    bool processing = false;
    bool visible = false;
    bool opened = false;
};

// A palette: a modeless window known to DG by its GUID.
class PLATFORM_API Palette : public ModelessBase {
public:
    Palette(const Point& position, Int16 width, Int16 height, const GS::Guid& guid, GrowType grow = NoGrow,
            CloseType close = NoClose, CaptionType caption = TopCaption, FrameType frame = NoFrame,
            SpecialFeatures features = NoSpecialFeatures);
    ~Palette() override;
    const GS::Guid& GetGuid() const { return guid; }
    SpecialFeatures GetSpecialFeatures() const { return features; }

private:
    GS::Guid guid;
    SpecialFeatures features;
};

}  // namespace DG

// Forgets the saved positions and sizes of dialogs and palettes. DG saves
// none here; the calls are counted (DG::UserInput::DialogRectangleResets).
PLATFORM_API void DGResetDialogRectangles();
