// Modal dialogs run from their resource: the messages the procedure gets
// for the user's input, the item calls it makes, and refused input.
#include "platform/dg/DGModal.hpp"
#include <algorithm>
#include <cstdint>
#include <memory>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using DG::ItemType;
using DG::UserInput::ActionOutcome;
using DG::UserInput::DialogAction;
using Kind = DG::UserInput::DialogAction::Kind;

// Writes a 'DLGT' record as the resource compiler does.
class RecordWriter {
public:
    void U16(int v)
    {
        bytes.push_back(static_cast<unsigned char>(v & 0xff));
        bytes.push_back(static_cast<unsigned char>((v >> 8) & 0xff));
    }
    void Text(const std::string& t)
    {
        U16(static_cast<int>(t.size()));
        bytes.insert(bytes.end(), t.begin(), t.end());
    }
    void Rect(int x, int y, int w, int h)
    {
        U16(x), U16(y), U16(w), U16(h);
    }
    void Item(ItemType type, std::vector<std::string> texts)
    {
        bytes.push_back(static_cast<unsigned char>(type));
        Rect(10, 10, 100, 20);
        U16(static_cast<int>(texts.size()));
        for (const std::string& t : texts)
            Text(t);
    }
    std::vector<unsigned char> bytes;
};

enum : Int16 { Ok = 1, Cancel = 2, Label = 3, Name = 4, Warning = 5, Kinds = 6, WithList = 7, Chooser = 8 };

std::vector<unsigned char> NameDialogRecord()
{
    RecordWriter w;
    w.Rect(40, 40, 340, 150);
    w.Text("Name it");
    w.U16(8);
    w.Item(ItemType::Button, {"OK"});
    w.Item(ItemType::Button, {"Cancel"});
    w.Item(ItemType::StaticText, {"Name:"});
    w.Item(ItemType::EditText, {});
    w.Item(ItemType::StaticText, {"Already in use!"});
    w.Item(ItemType::PopUp, {"Bar", "Stirrup", "Mesh"});
    w.Item(ItemType::CheckBox, {"With list"});
    w.Item(ItemType::UserControl, {});
    return w.bytes;
}

constexpr Int16 DialogId = 100;

// What the procedure heard and read.
struct Heard {
    std::vector<std::pair<Int16, Int16>> messages;  // message, item
    std::string nameOnOk;
    Int32 kindOnClose = -1, withListOnClose = -1, chooserOnClose = -1;
    std::string kindTextOnClose;
};

// A procedure such as the add-on's: hides the warning and sets the check
// box at the start; refuses OK while the name is empty or "used", showing
// the warning; Cancel closes.
Int16 NameDialogProc(Int16 message, Int16 dialogId, Int16 item, void* data)
{
    Heard& heard = *static_cast<Heard*>(data);
    heard.messages.emplace_back(message, item);
    if (message == DG_MSG_INIT) {
        DGHideItem(dialogId, Warning);
        DGSetItemValLong(dialogId, WithList, 1);
        DGSetItemValLong(dialogId, Chooser, 4);
        DGDisableItem(dialogId, Chooser);
    }
    if (message == DG_MSG_CHANGE && item == WithList) {
        DGSetItemVisible(dialogId, Chooser, DGGetItemValLong(dialogId, WithList) != 0);
        DGEnableItem(dialogId, Chooser);
    }
    if (message == DG_MSG_CLICK && item == Cancel)
        return Cancel;
    if (message == DG_MSG_CLICK && item == Ok) {
        heard.nameOnOk = DGGetItemText(dialogId, Name).ToUtf8();
        heard.kindOnClose = DGPopUpGetSelected(dialogId, Kinds);
        heard.kindTextOnClose = DGGetItemText(dialogId, Kinds).ToUtf8();
        heard.withListOnClose = DGGetItemValLong(dialogId, WithList);
        heard.chooserOnClose = DGGetItemValLong(dialogId, Chooser);
        if (heard.nameOnOk.empty() || heard.nameOnOk == "used") {
            DGShowItem(dialogId, Warning);
            return 0;
        }
        return Ok;
    }
    return 0;
}

// A dialog with a list view: OK and the list.
constexpr Int16 ListDialogId = 200;
enum : Int16 { ListOk = 1, List = 2 };

std::vector<unsigned char> ListDialogRecord()
{
    RecordWriter w;
    w.Rect(40, 40, 500, 300);
    w.Text("Pick one");
    w.U16(2);
    w.Item(ItemType::Button, {"OK"});
    w.Item(ItemType::ListView, {});
    return w.bytes;
}

struct ListHeard {
    std::vector<std::pair<Int16, Int16>> messages;
    Int16 selectedOnOk = -1, nextSelectedOnOk = -1, countOnOk = -1;
    bool wrongCallsAnswered = false;
};

// Fills the list without drawing, keeps OK disabled while nothing is
// selected, and reads the selection on OK.
Int16 ListDialogProc(Int16 message, Int16 dialogId, Int16 item, void* data)
{
    ListHeard& heard = *static_cast<ListHeard*>(data);
    heard.messages.emplace_back(message, item);
    if (message == DG_MSG_INIT) {
        DGListViewDisableDraw(dialogId, List);
        DGListViewDeleteItem(dialogId, List, DG_LIST_ALL);
        DGListViewSetItemSize(dialogId, List, 235, 255);
        DGListViewSetImageSize(dialogId, List, 225, 225);
        for (const char* text : {"B", "C", "gone"}) {
            DGListViewInsertItem(dialogId, List, DG_LIST_BOTTOM);
            DGListViewSetItemText(dialogId, List, DG_LIST_BOTTOM, GS::UniString(text));
        }
        auto pixels = std::make_shared<const std::vector<std::uint8_t>>(2 * 3 * 3, 0x80);
        DGListViewSetItemImage(dialogId, List, 2, DG_LIST_VIEW_PICTURE, DG::Image(2, 3, pixels, "/tmp/c.jpg"));
        DGListViewInsertItem(dialogId, List, 1);
        DGListViewSetItemText(dialogId, List, 1, GS::UniString("A"));
        DGListViewDeleteItem(dialogId, List, DG_LIST_BOTTOM);
        // Calls on items that are no list view, or on list items it lacks.
        heard.wrongCallsAnswered = DGListViewInsertItem(dialogId, ListOk, DG_LIST_BOTTOM) ||
                                   DGListViewDeleteItem(dialogId, List, 9) ||
                                   DGListViewInsertItem(dialogId, List, 9) || DGListViewGetItemCount(dialogId, ListOk) != 0;
        DGListViewSetItemText(dialogId, List, 9, GS::UniString("nowhere"));
        DGListViewEnableDraw(dialogId, List);
        DGRedrawItem(dialogId, List);
        DGDisableItem(dialogId, ListOk);
    }
    if (message == DG_MSG_CHANGE && item == List) {
        if (DGListViewGetSelCount(dialogId, List) > 0)
            DGEnableItem(dialogId, ListOk);
        else
            DGDisableItem(dialogId, ListOk);
    }
    if (message == DG_MSG_CLICK && item == ListOk) {
        heard.selectedOnOk = DGListViewGetSelected(dialogId, List, 1);
        heard.nextSelectedOnOk = DGListViewGetSelected(dialogId, List, static_cast<Int16>(heard.selectedOnOk + 1));
        heard.countOnOk = DGListViewGetItemCount(dialogId, List);
        return ListOk;
    }
    return 0;
}

DialogAction Select(Int16 item, Int32 listItem) { return {Kind::Select, item, {}, listItem}; }

DialogAction Click(Int16 item) { return {Kind::Click, item, {}, 0}; }
DialogAction Type(Int16 item, const char* text) { return {Kind::SetText, item, GS::UniString(text), 0}; }
DialogAction Set(Int16 item, Int32 value) { return {Kind::SetValue, item, {}, value}; }

class DGModalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        record = NameDialogRecord();
        blobs[0] = {0x444c4754u, DialogId, record.data(), static_cast<UInt32>(record.size())};
        listRecord = ListDialogRecord();
        blobs[1] = {0x444c4754u, ListDialogId, listRecord.data(), static_cast<UInt32>(listRecord.size())};
        blobs[2] = {0, 0, nullptr, 0};
        image = {RSImageMagic, strings, 0, blobs, 2};
        module = RSOpenModule(&image);
        DG::UserInput::ModalDialogPlayer player;
        player.next = [this](const DG::ModalDialogState&, Int32 n) {
            return static_cast<size_t>(n) < actions.size() ? actions[static_cast<size_t>(n)] : DialogAction{};
        };
        player.played = [this](const DG::ModalDialogState& dialog, const DialogAction&, ActionOutcome outcome, Int16) {
            outcomes.push_back(outcome);
            if (dialog.resourceId == DialogId)
                warningVisible.push_back(dialog.items[Warning - 1].visible);
        };
        player.shown = [this](const DG::ModalDialogState& dialog) { shown = dialog; };
        player.closed = [this](const DG::ModalDialogState& dialog, Int16) { closed = dialog; };
        DG::UserInput::SetModalDialogPlayer(player);
    }
    void TearDown() override
    {
        DG::UserInput::SetModalDialogPlayer({});
        RSCloseModule(module);
        EXPECT_EQ(DG::UserInput::OpenModalDialogCount(), 0);
    }
    Int16 Run() { return DGModalDialog(module, DialogId, module, NameDialogProc, &heard); }

    std::vector<unsigned char> record, listRecord;
    RSStringEntry strings[1] = {{0, 0, nullptr}};
    RSBlobEntry blobs[3];
    RSImage image{};
    GSResModule module = InvalidResModule;
    std::vector<DialogAction> actions;
    std::vector<ActionOutcome> outcomes;
    std::vector<bool> warningVisible;
    DG::ModalDialogState shown, closed;
    Heard heard;
};

TEST_F(DGModalTest, RefusedOkKeepsTheDialogOpenUntilASecondTry)
{
    actions = {Click(Ok), Type(Name, "used"), Click(Ok), Type(Name, "A1"), Click(Ok), Click(Cancel)};
    EXPECT_EQ(Run(), Ok);
    const std::vector<std::pair<Int16, Int16>> expected = {{DG_MSG_INIT, 0},   {DG_MSG_CLICK, Ok},
                                                           {DG_MSG_CHANGE, Name}, {DG_MSG_CLICK, Ok},
                                                           {DG_MSG_CHANGE, Name}, {DG_MSG_CLICK, Ok}};
    EXPECT_EQ(heard.messages, expected) << "no close message after an accepted click, nothing after it";
    EXPECT_EQ(heard.nameOnOk, "A1");
    EXPECT_EQ(outcomes, (std::vector<ActionOutcome>{ActionOutcome::Delivered, ActionOutcome::Delivered,
                                                    ActionOutcome::Delivered, ActionOutcome::Delivered,
                                                    ActionOutcome::Closed}));
    EXPECT_EQ(warningVisible, (std::vector<bool>{true, true, true, true, true}));
    // The user saw the items as the procedure set them up.
    EXPECT_EQ(shown.title.ToUtf8(), "Name it");
    ASSERT_EQ(shown.items.size(), 8u);
    EXPECT_FALSE(shown.items[Warning - 1].visible);
    EXPECT_EQ(shown.items[WithList - 1].value, 1);
    EXPECT_EQ(shown.items[Label - 1].text.ToUtf8(), "Name:");
    EXPECT_EQ(closed.items[Name - 1].text.ToUtf8(), "A1");
}

TEST_F(DGModalTest, ChoicesReachTheProcedureAsChanges)
{
    actions = {Set(Kinds, 3), Click(WithList), Click(WithList), Set(Chooser, 7), Type(Name, "B"), Click(Ok)};
    EXPECT_EQ(Run(), Ok);
    EXPECT_EQ(heard.kindOnClose, 3);
    EXPECT_EQ(heard.kindTextOnClose, "Mesh");
    EXPECT_EQ(heard.withListOnClose, 1) << "two clicks on the check box toggle it off and on";
    EXPECT_EQ(heard.chooserOnClose, 7);
    EXPECT_EQ(std::count(heard.messages.begin(), heard.messages.end(), std::make_pair(DG_MSG_CHANGE, Int16(WithList))),
              2);
}

// Input DG does not deliver: the procedure hears nothing of it.
TEST_F(DGModalTest, InputOnItemsThatDoNotTakeItIsNotDelivered)
{
    struct Case {
        const char* name;
        DialogAction action;
    };
    const std::vector<Case> cases = {
        {"a click on the hidden warning", Click(Warning)},
        {"a click on a static text", Click(Label)},
        {"a value on the disabled user control", Set(Chooser, 2)},
        {"a text typed into a button", Type(Ok, "x")},
        {"a value on an edit text", Set(Name, 1)},
        {"an item the dialog lacks", Click(99)},
        {"item 0", Click(0)},
    };
    for (const Case& c : cases) {
        heard = Heard();
        outcomes.clear();
        actions = {c.action};
        EXPECT_EQ(Run(), 0) << c.name;
        EXPECT_EQ(outcomes, std::vector<ActionOutcome>{ActionOutcome::NotDelivered}) << c.name;
        const std::vector<std::pair<Int16, Int16>> expected = {{DG_MSG_INIT, 0}, {DG_MSG_CLOSE, 0}};
        EXPECT_EQ(heard.messages, expected) << c.name << ": then the user closes it";
    }
}

// The list view as the procedure fills it, and the user's selection
// reaching it as a change of the list; OK stays disabled until then.
TEST_F(DGModalTest, ListViewIsFilledAndItsSelectionIsAChange)
{
    ListHeard listHeard;
    actions = {Click(ListOk), Select(List, 4), Select(List, 2), Select(List, 0), Click(ListOk), Select(List, 3),
               Click(ListOk)};
    EXPECT_EQ(DGModalDialog(module, ListDialogId, module, ListDialogProc, &listHeard), ListOk);
    EXPECT_FALSE(listHeard.wrongCallsAnswered);
    EXPECT_EQ(outcomes, (std::vector<ActionOutcome>{ActionOutcome::NotDelivered, ActionOutcome::NotDelivered,
                                                    ActionOutcome::Delivered, ActionOutcome::Delivered,
                                                    ActionOutcome::NotDelivered, ActionOutcome::Delivered,
                                                    ActionOutcome::Closed}));
    const std::vector<std::pair<Int16, Int16>> expected = {
        {DG_MSG_INIT, 0}, {DG_MSG_CHANGE, List}, {DG_MSG_CHANGE, List}, {DG_MSG_CHANGE, List}, {DG_MSG_CLICK, ListOk}};
    EXPECT_EQ(listHeard.messages, expected);
    EXPECT_EQ(listHeard.selectedOnOk, 3);
    EXPECT_EQ(listHeard.nextSelectedOnOk, 0) << "one item at a time";
    EXPECT_EQ(listHeard.countOnOk, 3);

    const DG::DialogItemState& list = shown.items[List - 1];
    ASSERT_EQ(list.type, ItemType::ListView);
    ASSERT_EQ(list.listItems.size(), 3u);
    EXPECT_EQ(list.listItems[0].text.ToUtf8(), "A");
    EXPECT_EQ(list.listItems[1].text.ToUtf8(), "B");
    EXPECT_EQ(list.listItems[2].text.ToUtf8(), "C");
    EXPECT_TRUE(list.listItems[1].image.IsEmpty());
    EXPECT_EQ(list.listItems[2].image.GetWidth(), 2u);
    EXPECT_EQ(list.listItems[2].image.GetSource(), "/tmp/c.jpg");
    EXPECT_EQ(list.listItemWidth, 235);
    EXPECT_EQ(list.listImageHeight, 225);
    EXPECT_TRUE(list.drawing);
    EXPECT_EQ(list.redraws, 1);
    EXPECT_FALSE(shown.items[ListOk - 1].enabled);
    EXPECT_TRUE(closed.items[List - 1].listItems[2].selected);
}

TEST_F(DGModalTest, ADialogTheModuleLacksIsNotShown)
{
    EXPECT_EQ(DGModalDialog(module, DialogId + 1, module, NameDialogProc, &heard), 0);
    EXPECT_EQ(DGModalDialog(InvalidResModule, DialogId, module, NameDialogProc, &heard), 0);
    EXPECT_TRUE(heard.messages.empty());
}

TEST_F(DGModalTest, NobodyThereClosesTheDialog)
{
    DG::UserInput::SetModalDialogPlayer({});
    EXPECT_EQ(Run(), 0);
    const std::vector<std::pair<Int16, Int16>> expected = {{DG_MSG_INIT, 0}, {DG_MSG_CLOSE, 0}};
    EXPECT_EQ(heard.messages, expected);
}

TEST_F(DGModalTest, ItemCallsOutsideARunningDialogDoNothing)
{
    DGSetItemText(1, 1, GS::UniString("x"));
    DGShowItem(1, 1);
    EXPECT_TRUE(DGGetItemText(1, 1).IsEmpty());
    EXPECT_EQ(DGGetItemValLong(1, 1), 0);
    EXPECT_FALSE(DGIsItemVisible(1, 1));
}

// Every cut of the record, and a record with bytes after its end, is
// refused rather than read past its size.
TEST(DialogRecord, TruncatedOrOverlongRecordsAreRefused)
{
    std::vector<unsigned char> record = NameDialogRecord();
    DG::DialogResource resource;
    ASSERT_TRUE(DG::DecodeDialogResource(record.data(), static_cast<UInt32>(record.size()), &resource));
    EXPECT_EQ(resource.items.size(), 8u);
    EXPECT_EQ(resource.items[Kinds - 1].texts.size(), 3u);
    for (size_t cut = 0; cut < record.size(); ++cut)
        EXPECT_FALSE(DG::DecodeDialogResource(record.data(), static_cast<UInt32>(cut), &resource)) << cut;
    record.push_back(0);
    EXPECT_FALSE(DG::DecodeDialogResource(record.data(), static_cast<UInt32>(record.size()), &resource));
    std::vector<unsigned char> badType = NameDialogRecord();
    badType[8 + 2 + 7 + 2] = 9;  // the first item's type
    EXPECT_FALSE(DG::DecodeDialogResource(badType.data(), static_cast<UInt32>(badType.size()), &resource));
}

}  // namespace
