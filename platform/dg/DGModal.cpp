#include "platform/dg/DGModal.hpp"
#include "platform/dg/DGInternal.hpp"
#include <string>

namespace {

DG::UserInput::ModalDialogPlayer& Player()
{
    static DG::UserInput::ModalDialogPlayer player;
    return player;
}

// The dialogs running now; a procedure may open another dialog, so the
// innermost is last.
std::vector<DG::ModalDialogState*>& OpenDialogs()
{
    static std::vector<DG::ModalDialogState*> open;
    return open;
}

// A user who plays input the procedure does not take, again and again,
// would keep the dialog open for ever; the window system gives up then.
constexpr Int32 MaxActions = 1000;

constexpr UInt32 DialogRecordType = 0x444c4754;  // 'DLGT'

DG::DialogItemState* FindItem(Int16 dialogId, Int16 item)
{
    for (DG::ModalDialogState* dialog : OpenDialogs())
        if (dialog->dialogId == dialogId)
            return dialog->Item(item);
    return nullptr;
}

Int16 NewDialogId()
{
    // Ids are handed out afresh for every dialog shown, so a procedure's id
    // never reaches a dialog that has closed.
    static Int16 next = 0;
    next = static_cast<Int16>(next >= 32000 ? 1 : next + 1);
    return next;
}

using Reader = DG::Internal::ResourceReader;

bool Takes(const DG::DialogItemState& item, DG::UserInput::DialogAction::Kind kind)
{
    using Kind = DG::UserInput::DialogAction::Kind;
    if (!item.visible || !item.enabled)
        return false;
    switch (kind) {
    case Kind::Click:
        return item.type == DG::ItemType::Button || item.type == DG::ItemType::CheckBox;
    case Kind::SetText:
        return item.type == DG::ItemType::EditText;
    case Kind::SetValue:
        return item.type == DG::ItemType::CheckBox || item.type == DG::ItemType::PopUp ||
               item.type == DG::ItemType::UserControl;
    case Kind::Select:
        return false;  // decided with the action's value (see TakesSelection)
    case Kind::Close:
        return false;
    }
    return false;
}

bool TakesSelection(const DG::DialogItemState& item, Int32 listItem)
{
    return item.visible && item.enabled && item.type == DG::ItemType::ListView && listItem >= 0 &&
           static_cast<USize>(listItem) <= item.listItems.size();
}

DG::DialogItemState* FindListView(Int16 dialogId, Int16 item)
{
    DG::DialogItemState* i = FindItem(dialogId, item);
    return i != nullptr && i->type == DG::ItemType::ListView ? i : nullptr;
}

// The list item addressed (DG_LIST_BOTTOM: the last); null when missing.
DG::ListViewItem* FindListItem(Int16 dialogId, Int16 item, Int16 listItem)
{
    DG::DialogItemState* view = FindListView(dialogId, item);
    if (view == nullptr || view->listItems.empty())
        return nullptr;
    if (listItem == DG_LIST_BOTTOM)
        return &view->listItems.back();
    if (listItem < 1 || static_cast<USize>(listItem) > view->listItems.size())
        return nullptr;
    return &view->listItems[static_cast<USize>(listItem) - 1];
}

// Keeps the dialog in the list of open ones for as long as it runs, also
// when the procedure throws.
struct OpenDialog {
    explicit OpenDialog(DG::ModalDialogState* dialog) { OpenDialogs().push_back(dialog); }
    ~OpenDialog() { OpenDialogs().pop_back(); }
    OpenDialog(const OpenDialog&) = delete;
    OpenDialog& operator=(const OpenDialog&) = delete;
};

}  // namespace

Int16 DGModalDialog(GSResModule module, Int16 resourceId, GSResModule, DGDialCallBack callback, void* userData)
{
    DG::DialogResource resource;
    if (callback == nullptr || !DG::ReadDialogResource(module, resourceId, &resource))
        return 0;
    DG::ModalDialogState dialog;
    dialog.dialogId = NewDialogId();
    dialog.resourceId = resourceId;
    dialog.title = resource.title;
    for (const DG::DialogItemResource& r : resource.items) {
        DG::DialogItemState item;
        item.type = r.type;
        item.rect = r.rect;
        if (r.type == DG::ItemType::PopUp) {
            item.entries = r.texts;
            item.value = r.texts.empty() ? 0 : 1;
        } else if (!r.texts.empty()) {
            item.text = r.texts.front();
        }
        dialog.items.push_back(item);
    }
    OpenDialog open(&dialog);
    const DG::UserInput::ModalDialogPlayer& player = Player();
    callback(DG_MSG_INIT, dialog.dialogId, 0, userData);
    if (player.shown)
        player.shown(dialog);
    using Kind = DG::UserInput::DialogAction::Kind;
    using Outcome = DG::UserInput::ActionOutcome;
    for (Int32 n = 0; n < MaxActions && player.next; ++n) {
        const DG::UserInput::DialogAction action = player.next(dialog, n);
        if (action.kind == Kind::Close)
            break;
        DG::DialogItemState* item = dialog.Item(action.item);
        const bool takes = item != nullptr && (action.kind == Kind::Select ? TakesSelection(*item, action.value)
                                                                            : Takes(*item, action.kind));
        if (!takes) {
            if (player.played)
                player.played(dialog, action, Outcome::NotDelivered, 0);
            continue;
        }
        Int16 answer = 0;
        if (action.kind == Kind::Click && item->type == DG::ItemType::Button) {
            answer = callback(DG_MSG_CLICK, dialog.dialogId, action.item, userData);
        } else {
            if (action.kind == Kind::Select) {
                for (USize k = 0; k < item->listItems.size(); ++k)
                    item->listItems[k].selected = static_cast<Int32>(k) + 1 == action.value;
            } else if (action.kind == Kind::Click)
                item->value = item->value != 0 ? 0 : 1;
            else if (action.kind == Kind::SetText)
                item->text = action.text;
            else if (item->type == DG::ItemType::CheckBox)
                item->value = action.value != 0 ? 1 : 0;
            else if (item->type == DG::ItemType::PopUp)
                item->value = action.value;
            else
                item->value = action.value;
            callback(DG_MSG_CHANGE, dialog.dialogId, action.item, userData);
        }
        if (player.played)
            player.played(dialog, action, answer != 0 ? Outcome::Closed : Outcome::Delivered, answer);
        if (answer != 0) {
            if (player.closed)
                player.closed(dialog, answer);
            return answer;
        }
    }
    callback(DG_MSG_CLOSE, dialog.dialogId, 0, userData);
    if (player.closed)
        player.closed(dialog, 0);
    return 0;
}

GS::UniString DGGetItemText(Int16 dialogId, Int16 item)
{
    const DG::DialogItemState* i = FindItem(dialogId, item);
    if (i == nullptr)
        return GS::UniString();
    if (i->type == DG::ItemType::PopUp)
        return i->value >= 1 && static_cast<USize>(i->value) <= i->entries.size() ? i->entries[i->value - 1]
                                                                                   : GS::UniString();
    return i->text;
}

void DGSetItemText(Int16 dialogId, Int16 item, const GS::UniString& text)
{
    if (DG::DialogItemState* i = FindItem(dialogId, item))
        i->text = text;
}

Int32 DGGetItemValLong(Int16 dialogId, Int16 item)
{
    const DG::DialogItemState* i = FindItem(dialogId, item);
    return i == nullptr ? 0 : i->value;
}

void DGSetItemValLong(Int16 dialogId, Int16 item, Int32 value)
{
    DG::DialogItemState* i = FindItem(dialogId, item);
    if (i == nullptr)
        return;
    if (i->type == DG::ItemType::CheckBox)
        value = value != 0 ? 1 : 0;
    else if (i->type == DG::ItemType::PopUp && (value < 1 || static_cast<USize>(value) > i->entries.size()))
        return;
    i->value = value;
}

void DGEnableItem(Int16 dialogId, Int16 item)
{
    if (DG::DialogItemState* i = FindItem(dialogId, item))
        i->enabled = true;
}

void DGDisableItem(Int16 dialogId, Int16 item)
{
    if (DG::DialogItemState* i = FindItem(dialogId, item))
        i->enabled = false;
}

bool DGIsItemEnabled(Int16 dialogId, Int16 item)
{
    const DG::DialogItemState* i = FindItem(dialogId, item);
    return i != nullptr && i->enabled;
}

void DGSetItemVisible(Int16 dialogId, Int16 item, bool visible)
{
    if (DG::DialogItemState* i = FindItem(dialogId, item))
        i->visible = visible;
}

void DGShowItem(Int16 dialogId, Int16 item) { DGSetItemVisible(dialogId, item, true); }
void DGHideItem(Int16 dialogId, Int16 item) { DGSetItemVisible(dialogId, item, false); }

bool DGIsItemVisible(Int16 dialogId, Int16 item)
{
    const DG::DialogItemState* i = FindItem(dialogId, item);
    return i != nullptr && i->visible;
}

Int16 DGPopUpGetItemCount(Int16 dialogId, Int16 item)
{
    const DG::DialogItemState* i = FindItem(dialogId, item);
    return i == nullptr ? 0 : static_cast<Int16>(i->entries.size());
}

GS::UniString DGPopUpGetItemText(Int16 dialogId, Int16 item, Int16 entry)
{
    const DG::DialogItemState* i = FindItem(dialogId, item);
    if (i == nullptr || entry < 1 || static_cast<USize>(entry) > i->entries.size())
        return GS::UniString();
    return i->entries[entry - 1];
}

Int16 DGPopUpGetSelected(Int16 dialogId, Int16 item)
{
    const DG::DialogItemState* i = FindItem(dialogId, item);
    return i == nullptr || i->type != DG::ItemType::PopUp ? 0 : static_cast<Int16>(i->value);
}

void DGPopUpSelectItem(Int16 dialogId, Int16 item, Int16 entry)
{
    DG::DialogItemState* i = FindItem(dialogId, item);
    if (i != nullptr && i->type == DG::ItemType::PopUp)
        DGSetItemValLong(dialogId, item, entry);
}

void DGListViewDisableDraw(Int16 dialogId, Int16 item)
{
    if (DG::DialogItemState* view = FindListView(dialogId, item))
        view->drawing = false;
}

void DGListViewEnableDraw(Int16 dialogId, Int16 item)
{
    if (DG::DialogItemState* view = FindListView(dialogId, item))
        view->drawing = true;
}

bool DGListViewDeleteItem(Int16 dialogId, Int16 item, Int16 listItem)
{
    DG::DialogItemState* view = FindListView(dialogId, item);
    if (view == nullptr)
        return false;
    if (listItem == DG_LIST_ALL) {
        view->listItems.clear();
        return true;
    }
    const DG::ListViewItem* target = FindListItem(dialogId, item, listItem);
    if (target == nullptr)
        return false;
    view->listItems.erase(view->listItems.begin() + (target - view->listItems.data()));
    return true;
}

void DGListViewSetItemSize(Int16 dialogId, Int16 item, Int16 width, Int16 height)
{
    if (DG::DialogItemState* view = FindListView(dialogId, item)) {
        view->listItemWidth = width;
        view->listItemHeight = height;
    }
}

void DGListViewSetImageSize(Int16 dialogId, Int16 item, Int16 width, Int16 height)
{
    if (DG::DialogItemState* view = FindListView(dialogId, item)) {
        view->listImageWidth = width;
        view->listImageHeight = height;
    }
}

bool DGListViewInsertItem(Int16 dialogId, Int16 item, Int16 listItem)
{
    DG::DialogItemState* view = FindListView(dialogId, item);
    if (view == nullptr)
        return false;
    if (listItem == DG_LIST_BOTTOM) {
        view->listItems.emplace_back();
        return true;
    }
    if (listItem < 1 || static_cast<USize>(listItem) > view->listItems.size() + 1)
        return false;
    view->listItems.insert(view->listItems.begin() + (listItem - 1), DG::ListViewItem());
    return true;
}

void DGListViewSetItemText(Int16 dialogId, Int16 item, Int16 listItem, const GS::UniString& text)
{
    if (DG::ListViewItem* target = FindListItem(dialogId, item, listItem))
        target->text = text;
}

void DGListViewSetItemImage(Int16 dialogId, Int16 item, Int16 listItem, Int16 imageType, const DG::Image& image)
{
    DG::ListViewItem* target = FindListItem(dialogId, item, listItem);
    if (target != nullptr && imageType == DG_LIST_VIEW_PICTURE)
        target->image = image;
}

Int16 DGListViewGetItemCount(Int16 dialogId, Int16 item)
{
    const DG::DialogItemState* view = FindListView(dialogId, item);
    return view == nullptr ? 0 : static_cast<Int16>(view->listItems.size());
}

Int16 DGListViewGetSelCount(Int16 dialogId, Int16 item)
{
    const DG::DialogItemState* view = FindListView(dialogId, item);
    if (view == nullptr)
        return 0;
    Int16 count = 0;
    for (const DG::ListViewItem& i : view->listItems)
        count = static_cast<Int16>(count + (i.selected ? 1 : 0));
    return count;
}

Int16 DGListViewGetSelected(Int16 dialogId, Int16 item, Int16 from)
{
    const DG::DialogItemState* view = FindListView(dialogId, item);
    if (view == nullptr)
        return 0;
    for (USize k = from < 1 ? 0 : static_cast<USize>(from) - 1; k < view->listItems.size(); ++k)
        if (view->listItems[k].selected)
            return static_cast<Int16>(k + 1);
    return 0;
}

void DGRedrawItem(Int16 dialogId, Int16 item)
{
    if (DG::DialogItemState* i = FindItem(dialogId, item))
        ++i->redraws;
}

namespace DG {

const char* ItemTypeName(ItemType type)
{
    switch (type) {
    case ItemType::Button: return "button";
    case ItemType::EditText: return "edit text";
    case ItemType::StaticText: return "static text";
    case ItemType::CheckBox: return "check box";
    case ItemType::PopUp: return "pop-up";
    case ItemType::UserControl: return "user control";
    case ItemType::ListView: return "list view";
    }
    return "item";
}

DialogItemState* ModalDialogState::Item(Int16 item)
{
    if (item < 1 || static_cast<USize>(item) > items.size())
        return nullptr;
    return &items[static_cast<USize>(item) - 1];
}

bool DecodeDialogResource(const unsigned char* data, UInt32 size, DialogResource* out)
{
    if (data == nullptr || out == nullptr)
        return false;
    Reader r(data, size);
    DialogResource d;
    UInt16 count = 0;
    if (!r.Rect(&d.rect) || !r.Text(&d.title) || !r.U16(&count))
        return false;
    for (UInt16 k = 0; k < count; ++k) {
        DialogItemResource item;
        UInt8 type = 0;
        UInt16 texts = 0;
        if (!r.U8(&type) || type < 1 || type > 7 || !r.Rect(&item.rect) || !r.U16(&texts))
            return false;
        item.type = static_cast<ItemType>(type);
        for (UInt16 t = 0; t < texts; ++t) {
            GS::UniString text;
            if (!r.Text(&text))
                return false;
            item.texts.push_back(text);
        }
        d.items.push_back(std::move(item));
    }
    if (!r.AtEnd())
        return false;
    *out = std::move(d);
    return true;
}

bool ReadDialogResource(GSResModule module, Int16 id, DialogResource* out)
{
    UInt32 size = 0;
    const unsigned char* data = RSLoadResource(DialogRecordType, id, module, &size);
    if (!DecodeDialogResource(data, size, out))
        return false;
    out->id = id;
    return true;
}

namespace UserInput {
void SetModalDialogPlayer(ModalDialogPlayer player) { Player() = std::move(player); }
Int32 OpenModalDialogCount() { return static_cast<Int32>(OpenDialogs().size()); }
}  // namespace UserInput
}  // namespace DG
