// Modal dialogs run by a dialog procedure (the add-on's side), and the
// window system's side: who plays the user at a modal dialog.
//
// DGModalDialog reads the dialog's 'DLGT' record from the module (a dialog
// the module lacks is not shown: the result is 0 and the procedure hears
// nothing), makes its items, sends the procedure DG_MSG_INIT, and then plays
// the user's actions one by one, each as the message the procedure gets:
//   - a click on a visible, enabled button: DG_MSG_CLICK with the item;
//   - a click on a check box: its value toggles, DG_MSG_CHANGE;
//   - a text typed into an edit text, a value set on a check box or a user
//     control, an entry chosen in a pop-up, an item of a list view selected:
//     DG_MSG_CHANGE.
// An answer other than 0 to a click closes the dialog with that item as its
// result; 0 keeps it open (a refused OK), and the user goes on. When the
// user closes the dialog otherwise (the close box, or no one there to
// answer) the procedure gets DG_MSG_CLOSE and the result is 0. Input on an
// item that is hidden, disabled, missing or of the wrong kind is not
// delivered.
//
// While the procedure runs, the item calls below work on the dialog's
// items by the dialog id the procedure was given.
#pragma once
#include "platform/dg/DGImage.hpp"
#include "platform/rs/RS.hpp"
#include <functional>
#include <vector>

constexpr Int16 DG_MSG_INIT = 1;
constexpr Int16 DG_MSG_CLOSE = 2;
constexpr Int16 DG_MSG_CLICK = 4;
constexpr Int16 DG_MSG_CHANGE = 6;

using DGDialCallBack = Int16 (*)(Int16 message, Int16 dialogId, Int16 item, void* userData);

PLATFORM_API Int16 DGModalDialog(GSResModule module, Int16 resourceId, GSResModule iconModule, DGDialCallBack callback,
                                 void* userData);

// The item calls. An unknown dialog or item is ignored (getters answer an
// empty text, 0 or false). Values: a check box 0 or 1, a pop-up its chosen
// entry (1-based, 0 none), a user control any number.
PLATFORM_API GS::UniString DGGetItemText(Int16 dialogId, Int16 item);
PLATFORM_API void DGSetItemText(Int16 dialogId, Int16 item, const GS::UniString& text);
PLATFORM_API Int32 DGGetItemValLong(Int16 dialogId, Int16 item);
PLATFORM_API void DGSetItemValLong(Int16 dialogId, Int16 item, Int32 value);
PLATFORM_API void DGEnableItem(Int16 dialogId, Int16 item);
PLATFORM_API void DGDisableItem(Int16 dialogId, Int16 item);
PLATFORM_API bool DGIsItemEnabled(Int16 dialogId, Int16 item);
PLATFORM_API void DGShowItem(Int16 dialogId, Int16 item);
PLATFORM_API void DGHideItem(Int16 dialogId, Int16 item);
PLATFORM_API void DGSetItemVisible(Int16 dialogId, Int16 item, bool visible);
PLATFORM_API bool DGIsItemVisible(Int16 dialogId, Int16 item);
PLATFORM_API Int16 DGPopUpGetItemCount(Int16 dialogId, Int16 item);
PLATFORM_API GS::UniString DGPopUpGetItemText(Int16 dialogId, Int16 item, Int16 entry);
PLATFORM_API Int16 DGPopUpGetSelected(Int16 dialogId, Int16 item);
PLATFORM_API void DGPopUpSelectItem(Int16 dialogId, Int16 item, Int16 entry);

// List views. Their items are numbered from 1; DG_LIST_BOTTOM names the
// place after the last item (inserting) and the last item (the other
// calls), DG_LIST_ALL every item (deleting). Calls on an item that is no
// list view, or on a list item it lacks, do nothing (false, 0).
constexpr Int16 DG_LIST_BOTTOM = -1;
constexpr Int16 DG_LIST_ALL = 0;
// The kind of image DGListViewSetItemImage sets: the item's picture.
constexpr Int16 DG_LIST_VIEW_PICTURE = 1;

PLATFORM_API void DGListViewDisableDraw(Int16 dialogId, Int16 item);
PLATFORM_API void DGListViewEnableDraw(Int16 dialogId, Int16 item);
PLATFORM_API bool DGListViewDeleteItem(Int16 dialogId, Int16 item, Int16 listItem);
// The size of an item's cell, and of its picture within it, in pixels.
PLATFORM_API void DGListViewSetItemSize(Int16 dialogId, Int16 item, Int16 width, Int16 height);
PLATFORM_API void DGListViewSetImageSize(Int16 dialogId, Int16 item, Int16 width, Int16 height);
// Inserts an empty, unselected item before `listItem` (DG_LIST_BOTTOM: at
// the end).
PLATFORM_API bool DGListViewInsertItem(Int16 dialogId, Int16 item, Int16 listItem);
PLATFORM_API void DGListViewSetItemText(Int16 dialogId, Int16 item, Int16 listItem, const GS::UniString& text);
PLATFORM_API void DGListViewSetItemImage(Int16 dialogId, Int16 item, Int16 listItem, Int16 imageType,
                                         const DG::Image& image);
PLATFORM_API Int16 DGListViewGetItemCount(Int16 dialogId, Int16 item);
PLATFORM_API Int16 DGListViewGetSelCount(Int16 dialogId, Int16 item);
// The first selected item from `from` on (1: the first of all); 0 when none.
PLATFORM_API Int16 DGListViewGetSelected(Int16 dialogId, Int16 item, Int16 from);
// Draws the item again (a list view: with what was set while it did not draw).
PLATFORM_API void DGRedrawItem(Int16 dialogId, Int16 item);

namespace DG {

// Item types of a dialog record, as the resource compiler writes them.
enum class ItemType : UInt8 {
    Button = 1,
    EditText = 2,
    StaticText = 3,
    CheckBox = 4,
    PopUp = 5,
    UserControl = 6,
    ListView = 7,
};

PLATFORM_API const char* ItemTypeName(ItemType type);

struct DialogRect {
    Int16 x = 0, y = 0, width = 0, height = 0;
};

struct DialogItemResource {
    ItemType type = ItemType::StaticText;
    DialogRect rect;
    std::vector<GS::UniString> texts;  // a pop-up's entries; else at most one
};

struct DialogResource {
    Int16 id = 0;
    GS::UniString title;
    DialogRect rect;
    std::vector<DialogItemResource> items;  // item n at n - 1
};

// Reads dialog `id` of the module; false when it is missing or malformed.
PLATFORM_API bool ReadDialogResource(GSResModule module, Int16 id, DialogResource* out);
// Decodes a 'DLGT' record (every length checked against the record's size).
PLATFORM_API bool DecodeDialogResource(const unsigned char* data, UInt32 size, DialogResource* out);

// An item of a list view.
struct ListViewItem {
    GS::UniString text;
    Image image;
    bool selected = false;
};

// An item of a running dialog as the user sees it.
struct DialogItemState {
    ItemType type = ItemType::StaticText;
    DialogRect rect;
    GS::UniString text;
    std::vector<GS::UniString> entries;  // pop-up
    std::vector<ListViewItem> listItems;  // list view
    Int16 listItemWidth = 0, listItemHeight = 0, listImageWidth = 0, listImageHeight = 0;
    bool drawing = true;  // a list view draws its changes as they come
    Int32 redraws = 0;
    Int32 value = 0;
    bool enabled = true;
    bool visible = true;
};

// A running modal dialog.
struct ModalDialogState {
    Int16 dialogId = 0;    // the id the procedure gets
    Int16 resourceId = 0;  // the dialog record's id
    GS::UniString title;
    std::vector<DialogItemState> items;  // item n at n - 1

    DialogItemState* Item(Int16 item);
};

namespace UserInput {

// One action of the user at a modal dialog.
struct DialogAction {
    enum class Kind { Close, Click, SetText, SetValue, Select };
    Kind kind = Kind::Close;
    Int16 item = 0;
    GS::UniString text;  // SetText
    // SetValue: a check box's state, a pop-up's entry, a user control's
    // value; Select: the list view's item that becomes the one selected
    // (from 1; 0 selects none).
    Int32 value = 0;
};

// What became of an action.
enum class ActionOutcome { Delivered, NotDelivered, Closed };

// Who plays the user: `next` answers the n-th (from 0) action at the dialog
// shown; `played` hears each action's outcome, with the procedure's answer
// to it; `closed` the dialog's result with its items as they were last.
struct ModalDialogPlayer {
    std::function<DialogAction(const ModalDialogState& dialog, Int32 n)> next;
    std::function<void(const ModalDialogState& dialog, const DialogAction& action, ActionOutcome outcome,
                       Int16 answer)>
        played;
    std::function<void(const ModalDialogState& dialog)> shown;
    std::function<void(const ModalDialogState& dialog, Int16 result)> closed;
};

// Sets the player (an empty one: no user, every dialog closes at once).
PLATFORM_API void SetModalDialogPlayer(ModalDialogPlayer player);
// The dialogs running now, innermost last.
PLATFORM_API Int32 OpenModalDialogCount();

}  // namespace UserInput
}  // namespace DG
