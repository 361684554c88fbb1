// The edit list against the stand-in host: the placed elements of a kind
// collected by their ID with one preview picture each, and dialog 32512 run
// as the edit command runs it, with the user at its list view.
#include "addon/complex/AddOnPreferences.hpp"
#include "addon/complex/EditListDialog.hpp"
#include "addon/complex/PreviewPicture.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/services/AddOnGlobals.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/dg/DGModal.hpp"
#include "platform/gs/Guid.hpp"
#include "platform/gx/GXImage.hpp"
#include "tests/e2e/schedule/InHostFixture.hpp"
#include "tests/e2e/ModelText.hpp"
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <vector>
#include "tests/support/GdlParams.hpp"

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace EditListInHostTests {

using Action = DG::UserInput::DialogAction;
using Kind = DG::UserInput::DialogAction::Kind;

Action Click(Int16 item) { return {Kind::Click, item, {}, 0}; }
Action Select(Int32 listItem) { return {Kind::Select, EditListView, {}, listItem}; }

std::string Utf8(RSStringId id)
{
    char buffer[256] = {};
    HostGetResourceString(buffer, id.listId, id.index, OwnResourceModule());
    return GS::UniString(buffer, CC_Default).ToUtf8();
}

std::string GuidText(const API_Guid& guid)
{
    GS::Guid g;
    g.SetBytes(reinterpret_cast<const unsigned char*>(&guid));
    return g.ToUniString().ToUtf8();
}

class EditListTest : public InHostTest {
protected:
    void SetUp() override
    {
        InHostTest::SetUp();
        ResetPictureWarning();
    }

    // A placed complex object of the part with its ID, its section flag and
    // the box its picture shows.
    API_Guid Complex(const std::string& part, const std::string& id, double showSection = 0.0)
    {
        SimHost::GdlParams params{Text("strIronID", id), Number("bShowSection", showSection)};
        SimHost::GdlParam bounding;
        bounding.name = "ironBounding";
        bounding.kind = SimHost::GdlParam::Kind::Numbers;
        bounding.dim1 = 1;
        bounding.dim2 = 4;
        bounding.numbers = {4.0, 4.0, 4.3, 4.5};
        params.push_back(bounding);
        return Place(part, params).guid;
    }
    API_Guid Column(const std::string& id, double showSection = 0.0) { return Complex("rf_column", id, showSection); }

    double ShowSection(const API_Guid& guid) const
    {
        return SimHost::FindParam(host->model.Find(guid)->Object().params, "bShowSection")->number;
    }

    bool Collect(ComplexElementKind kind = ColumnKind)
    {
        data.kind = kind;
        return CollectComplexObjectsById(ObjectModifier(kind), data);
    }

    // Dialog 32512 run as the edit command runs it, the user playing
    // `actions` and then closing it.
    Int16 RunDialog(const std::vector<Action>& actions)
    {
        SimHost::DialogAnswer answer;
        answer.dialog = EditListDialogId;
        answer.actions = actions;
        host->user.dialogAnswers.push_back(answer);
        return DGModalDialog(OwnResourceModule(), EditListDialogId, OwnResourceModule(),
                             EditObjectListDialogProc, &data);
    }
    const SimHost::ShownModalDialog& Shown() const { return host->user.modalDialogs.back(); }

    std::vector<std::string> EntryIds() const
    {
        std::vector<std::string> ids;
        for (Int32 i = 1; i <= data.entries.GetItemCount(); ++i)
            ids.push_back(data.entries[i]->id);
        return ids;
    }

    std::string Pieces(const std::string& id, int count) const
    {
        return id + " [" + std::to_string(count) + " " + Utf8(ResStr::Messages::Pieces) + "]";
    }

    void StoreRecord(Int32 version, std::vector<unsigned char> bytes)
    {
        SimHost::PreferencesRecord r;
        r.version = version;
        r.platformSign = 0x5757;
        r.bytes = std::move(bytes);
        host->preferences.Store(r);
    }

    // Adds an entry by hand, with the picture file given.
    void AddEntry(const std::string& id, const std::string& picturePath)
    {
        auto* entry = new CompDialInfo;
        std::strcpy(entry->id, id.c_str());
        std::strcpy(entry->picturePath, picturePath.c_str());
        entry->objects.Push(APINULLGuid);
        data.entries.Push(entry);
    }

    void Release() override
    {
        for (Int32 i = 1; i <= data.entries.GetItemCount(); ++i)
            delete data.entries[i];
        data.entries.Clear();
    }

    ComplexListDialogData data;
};

const DG::DialogItemState& ItemOf(const SimHost::ShownModalDialog& dialog, Int16 item)
{
    return dialog.items.at(static_cast<size_t>(item) - 1);
}

// Two columns C1 and one C2 among objects of other kinds, one without an
// ID and one c1: an entry per exact ID in the order first met, one picture
// per ID, a valid JPEG file named after the first object of the ID.
TEST_F(EditListTest, CollectsTheKindsObjectsByExactIdWithOnePicturePerId)
{
    const API_Guid c1 = Column("C1");
    Complex("rf_beam", "C1");
    const API_Guid c2 = Column("C2");
    const API_Guid c1Again = Column("C1");
    const API_Guid noId = Column("X");
    SimHost::FindParam(host->model.Find(noId)->Object().params, "strIronID")->name = "strOther";
    Place("rf_rebar", {Text("strIronID", "C1")});
    const API_Guid lower = Column("c1");

    EXPECT_TRUE(Collect());
    ASSERT_EQ(EntryIds(), (std::vector<std::string>{"C1", "C2", "c1"}));
    ASSERT_EQ(data.entries[1]->objects.GetItemCount(), 2);
    EXPECT_EQ(data.entries[1]->objects[1], c1);
    EXPECT_EQ(data.entries[1]->objects[2], c1Again);
    EXPECT_EQ(data.entries[2]->objects.GetItemCount(), 1);
    EXPECT_EQ(data.entries[2]->objects[1], c2);
    EXPECT_EQ(data.entries[3]->objects[1], lower);

    const API_Guid firsts[] = {c1, c2, lower};
    for (Int32 i = 1; i <= 3; ++i) {
        const std::string path = data.entries[i]->picturePath;
        EXPECT_EQ(path, host->view.temporaryFolder.Get() + "/" + GuidText(firsts[i - 1]) + ".jpg");
        const GX::Image picture{IO::Location(path)};
        EXPECT_FALSE(picture.IsEmpty()) << path << ": " << picture.GetError();
    }
    EXPECT_EQ(host->view.pictures.size(), 3u) << "one picture per ID, not per object";
    EXPECT_TRUE(host->recorder.alerts.empty());
    ASSERT_EQ(host->recorder.progressWindows.size(), 1u);
    EXPECT_EQ(host->recorder.progressWindows[0].title, Utf8(ResStr::Texts::Preprocessing));
    EXPECT_FALSE(host->recorder.progressWindows[0].open);
}

// The picture is taken in the object's section; afterwards the object shows
// its section exactly when it did before.
TEST_F(EditListTest, SectionFlagIsBackAfterThePicture)
{
    const API_Guid below = Column("A", 0.05);
    const API_Guid above = Column("B", 3.0);
    EXPECT_TRUE(Collect());
    ASSERT_EQ(host->view.pictures.size(), 2u);
    EXPECT_TRUE(host->view.pictures[0].section);
    EXPECT_TRUE(host->view.pictures[1].section);
    EXPECT_LE(ShowSection(below), 0.1);
    EXPECT_GT(ShowSection(above), 0.1);
    EXPECT_TRUE(host->undo.steps.empty());
}

// Without a writable temporary folder the first failed save warns and its
// entry has no picture; the second is silent and names the file not
// written. The dialog shows both without a picture.
TEST_F(EditListTest, SecondFailedSaveIsSilentAndTheListShowsNoPictures)
{
    host->view.temporaryFolder.SetState(SimHost::TemporaryFolder::State::ReadOnly);
    Column("C1");
    const API_Guid c2 = Column("C2");
    EXPECT_TRUE(Collect());
    EXPECT_EQ(host->recorder.alerts, std::vector<std::string>{Utf8(ResStr::Messages::NoTempLibrary)});
    EXPECT_STREQ(data.entries[1]->picturePath, "");
    EXPECT_NE(std::string(data.entries[2]->picturePath).find(GuidText(c2) + ".jpg"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(data.entries[2]->picturePath));

    EXPECT_EQ(RunDialog({Select(2), Click(EditListOk)}), EditListOk);
    const DG::DialogItemState& list = ItemOf(Shown(), EditListView);
    ASSERT_EQ(list.listItems.size(), 2u);
    EXPECT_EQ(list.listItems[0].text.ToUtf8(), Pieces("C1", 1));
    EXPECT_EQ(list.listItems[1].text.ToUtf8(), Pieces("C2", 1));
    EXPECT_TRUE(list.listItems[0].image.IsEmpty());
    EXPECT_TRUE(list.listItems[1].image.IsEmpty());
    EXPECT_EQ(EntryIds(), (std::vector<std::string>{"C2", "C1"}));
}

// The list as the user sees it: "%s [%d %s]" and the pictures; OK disabled
// until an item is selected; the chosen entry first on OK and the check
// box stored.
TEST_F(EditListTest, TheUserChoosesAnEntryFromTheList)
{
    Column("C1");
    Column("C2");
    Column("C1");
    Collect();
    const std::string c2Picture = data.entries[2]->picturePath;

    EXPECT_EQ(RunDialog({Click(EditListOk), Select(2), Select(0), Click(EditListOk), Select(2), Click(EditListOk)}),
              EditListOk);
    const SimHost::ShownModalDialog& dialog = Shown();
    EXPECT_EQ(dialog.resourceId, EditListDialogId);
    EXPECT_EQ(dialog.actions.size(), 6u);
    EXPECT_NE(dialog.actions[0].find("not delivered"), std::string::npos) << "OK is disabled at first";
    EXPECT_EQ(dialog.actions[2].find("not delivered"), std::string::npos);
    EXPECT_NE(dialog.actions[3].find("not delivered"), std::string::npos) << "disabled again without a selection";
    EXPECT_EQ(dialog.result, EditListOk);

    const DG::DialogItemState& list = ItemOf(dialog, EditListView);
    ASSERT_EQ(list.listItems.size(), 2u);
    EXPECT_EQ(list.listItems[0].text.ToUtf8(), Pieces("C1", 2));
    EXPECT_EQ(list.listItems[1].text.ToUtf8(), Pieces("C2", 1));
    for (const DG::ListViewItem& item : list.listItems) {
        EXPECT_EQ(item.image.GetWidth(), 256u);
        EXPECT_EQ(item.image.GetHeight(), 256u);
    }
    EXPECT_EQ(list.listItems[1].image.GetSource(), c2Picture);
    EXPECT_EQ(list.listItemWidth, 235);
    EXPECT_EQ(list.listItemHeight, 255);
    EXPECT_EQ(list.listImageWidth, 225);
    EXPECT_EQ(list.listImageHeight, 225);
    EXPECT_TRUE(list.drawing);
    EXPECT_EQ(list.redraws, 1);
    EXPECT_TRUE(list.listItems[1].selected);

    // The report's line of the list: texts, picture sizes, paths in <temp>.
    const std::string shown = dialog.itemsShown.at(EditListView - 1);
    EXPECT_NE(shown.find("1 \"" + Pieces("C1", 2) + "\" picture 256 x 256 <temp>/"), std::string::npos) << shown;
    EXPECT_NE(dialog.itemsShown.at(EditListOk - 1).find("disabled"), std::string::npos);

    EXPECT_EQ(EntryIds(), (std::vector<std::string>{"C2", "C1"}));
    EXPECT_EQ(data.entries[1]->picturePath, c2Picture);
    EXPECT_TRUE(data.withList);
    ASSERT_TRUE(host->preferences.Stored().has_value());
    EXPECT_EQ(host->preferences.Stored()->version, AddOnPreferencesVersion);
    EXPECT_EQ(host->preferences.Stored()->bytes, (std::vector<unsigned char>{1, 0, 0, 0, 1, 0, 0, 0}));

    ASSERT_EQ(host->recorder.progressWindows.size(), 2u);
    EXPECT_EQ(host->recorder.progressWindows[1].title, Utf8(ResStr::Texts::FillingListView));
    EXPECT_FALSE(host->recorder.progressWindows[1].open);
}

// The check box: its start from the stored record (ticked without one),
// hidden for a crowning, and what OK stores; Cancel stores nothing.
TEST_F(EditListTest, CheckBoxStartsFromThePreferencesAndOkStoresIt)
{
    struct Case {
        const char* what;
        ComplexElementKind kind;
        std::vector<unsigned char> stored;  // empty: no record
        Int32 storedVersion;
        bool shownTicked;
        std::vector<Action> actions;
        Int16 result;
        std::vector<unsigned char> afterwards;  // empty: nothing stored
        bool withList;
    };
    const std::vector<Case> cases = {
        {"no record, unticked", BeamKind, {}, 0, true, {Click(EditListWithList), Select(1), Click(EditListOk)},
         EditListOk, {0, 0, 0, 0, 1, 0, 0, 0}, false},
        {"stored off, layer 4 kept", BeamKind, {0, 0, 0, 0, 4, 0, 0, 0}, 256, false, {Select(1), Click(EditListOk)},
         EditListOk, {0, 0, 0, 0, 4, 0, 0, 0}, false},
        {"stored on, layer 0 becomes 1", ColumnKind, {1, 0, 0, 0, 0, 0, 0, 0}, 256, true,
         {Select(1), Click(EditListOk)}, EditListOk, {1, 0, 0, 0, 1, 0, 0, 0}, true},
        {"record of another version", BeamKind, {0, 0, 0, 0, 4, 0, 0, 0}, 255, true, {Select(1), Click(EditListOk)},
         EditListOk, {1, 0, 0, 0, 1, 0, 0, 0}, true},
        {"cancel", BeamKind, {}, 0, true, {Click(EditListWithList), Select(1), Click(EditListCancel)},
         EditListCancel, {}, true},
        {"crowning: hidden, its value stored", CrowningKind, {}, 0, true, {Click(EditListWithList), Select(1),
         Click(EditListOk)}, EditListOk, {1, 0, 0, 0, 1, 0, 0, 0}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host->preferences.Clear();
        if (!c.stored.empty())
            StoreRecord(c.storedVersion, c.stored);
        Release();
        AddEntry("A", "");
        data.kind = c.kind;
        EXPECT_EQ(RunDialog(c.actions), c.result);
        const DG::DialogItemState& box = ItemOf(Shown(), EditListWithList);
        EXPECT_EQ(box.visible, c.kind != CrowningKind);
        const std::string shownBox = Shown().itemsShown.at(EditListWithList - 1);
        EXPECT_NE(shownBox.find(c.shownTicked ? " on" : " off"), std::string::npos) << shownBox;
        if (c.afterwards.empty()) {
            EXPECT_EQ(host->preferences.Stored().has_value(), !c.stored.empty());
        } else {
            ASSERT_TRUE(host->preferences.Stored().has_value());
            EXPECT_EQ(host->preferences.Stored()->version, 256);
            EXPECT_EQ(host->preferences.Stored()->bytes, c.afterwards);
            EXPECT_EQ(data.withList, c.withList);
        }
    }
}

// A picture file that is no picture, empty, cut short or missing: the
// entry shows its text without a picture, and the user can still choose it.
TEST_F(EditListTest, BadPictureFilesShowTheEntryWithoutAPicture)
{
    Column("good");
    Collect();
    const std::string good = data.entries[1]->picturePath;
    std::ifstream in(good, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 100u);
    const std::string folder = host->view.temporaryFolder.Get();
    const auto write = [&](const std::string& name, const std::string& content) {
        std::ofstream(folder + "/" + name, std::ios::binary) << content;
        return folder + "/" + name;
    };
    AddEntry("text", write("text.jpg", "this is no JPEG file"));
    AddEntry("empty", write("empty.jpg", ""));
    AddEntry("cut", write("cut.jpg", bytes.substr(0, bytes.size() / 2)));
    AddEntry("header", write("header.jpg", bytes.substr(0, 20)));
    AddEntry("missing", folder + "/missing.jpg");
    AddEntry("folder", folder);
    AddEntry("none", "");

    EXPECT_EQ(RunDialog({Select(6), Click(EditListOk)}), EditListOk);
    const DG::DialogItemState& list = ItemOf(Shown(), EditListView);
    ASSERT_EQ(list.listItems.size(), 8u);
    EXPECT_FALSE(list.listItems[0].image.IsEmpty());
    for (size_t i = 1; i < list.listItems.size(); ++i) {
        SCOPED_TRACE(data.entries[static_cast<Int32>(i) + 1]->id);
        EXPECT_TRUE(list.listItems[i].image.IsEmpty());
        EXPECT_FALSE(list.listItems[i].text.IsEmpty());
    }
    EXPECT_STREQ(data.entries[1]->id, "missing");
    EXPECT_NE(Shown().itemsShown.at(EditListView - 1).find("\"" + Pieces("none", 1) + "\" no picture"),
              std::string::npos);
}

// The user cancels the collection at its second object, or the objects
// cannot be listed: false, the window closed, what was gathered kept.
TEST_F(EditListTest, CollectionEndsOnCancelAndOnAFailedListing)
{
    Column("C1");
    Column("C2");
    host->user.cancelAtCheck = 2;
    EXPECT_FALSE(Collect());
    EXPECT_EQ(EntryIds(), std::vector<std::string>{"C1"});
    ASSERT_EQ(host->recorder.progressWindows.size(), 1u);
    EXPECT_FALSE(host->recorder.progressWindows[0].open);

    host->user.cancelAtCheck = 0;
    host->recorder.progressWindows.clear();
    Release();
    host->faultPlan.FailSlot(HostSlot::ListElementsByType, APIERR_GENERAL, 1);
    EXPECT_FALSE(Collect());
    EXPECT_TRUE(EntryIds().empty());
    ASSERT_EQ(host->recorder.progressWindows.size(), 1u);
    EXPECT_FALSE(host->recorder.progressWindows[0].open);
}

// The user cancels while the list is filled: the items so far stay, and
// OK takes only an entry the list shows.
TEST_F(EditListTest, CancelledFillingKeepsTheItemsSoFar)
{
    AddEntry("A", "");
    AddEntry("B", "");
    AddEntry("C", "");
    host->user.cancelAtCheck = 1;
    EXPECT_EQ(RunDialog({Select(2), Click(EditListOk)}), 0);
    ASSERT_EQ(ItemOf(Shown(), EditListView).listItems.size(), 1u);
    EXPECT_NE(Shown().actions.at(0).find("not delivered"), std::string::npos);
    EXPECT_FALSE(host->recorder.progressWindows.back().open);
    EXPECT_EQ(EntryIds(), (std::vector<std::string>{"A", "B", "C"}));
}

// Every host call of the collection and the dialog fails in turn: no
// crash, no fault, no leak (checked at the end), the model exactly as it
// was (the section flags back), every progress window closed and no undo
// step left.
TEST_F(EditListTest, EachFailingHostCallEndsCleanly)
{
    const auto run = [&] {
        Collect();
        return RunDialog({Select(1), Click(EditListOk)});
    };
    Column("C1", 3.0);
    Column("C2", 0.05);
    const Int64 start = host->faultPlan.FailableCallCount();
    ASSERT_EQ(run(), EditListOk);
    const Int64 calls = host->faultPlan.FailableCallCount() - start;
    ASSERT_GT(calls, 20);
    for (Int64 n = 1; n <= calls; ++n) {
        SCOPED_TRACE(n);
        ResetPictureWarning();
        Release();
        const std::string model = SweepInvariant::ModelText(*host, nullptr);
        host->faultPlan.FailNthCall(n);
        run();
        EXPECT_TRUE(host->faultPlan.NthCallFailed());
        const std::string after = SweepInvariant::ModelText(*host, nullptr);
        EXPECT_EQ(after, model) << SweepInvariant::FirstDifference(model, after);
        for (const SimHost::Element& e : host->model.Elements()) {
            const SimHost::GdlParam* flag =
                e.As<SimHost::ObjectPart>() ? SimHost::FindParam(e.Object().params, "bShowSection") : nullptr;
            if (flag != nullptr) {
                EXPECT_TRUE(flag->number == 3.0 || flag->number == 0.05) << flag->number;
            }
        }
        for (const SimHost::ProgressWindow& w : host->recorder.progressWindows)
            EXPECT_FALSE(w.open);
        EXPECT_TRUE(host->recorder.faults.empty());
        EXPECT_TRUE(host->undo.steps.empty());
    }
}

// The memory running out at any one allocation of the collection and the
// dialog: nothing escapes the dialog procedure, and the section flags are
// back (the test's end checks faults and leaks).
TEST_F(EditListTest, EveryAllocationMayFail)
{
    Column("C1", 3.0);
    Column("C2", 0.05);
    for (Int64 n = 1;; ++n) {
        ASSERT_LT(n, 2000) << "the run makes too many allocations";
        SCOPED_TRACE(n);
        ResetPictureWarning();
        Release();
        GS::FailNthAllocation(n);
        Collect();
        RunDialog({Select(1), Click(EditListOk)});
        const bool failed = !GS::AllocationFailurePending();
        GS::FailNthAllocation(0);
        for (const SimHost::Element& e : host->model.Elements()) {
            const SimHost::GdlParam* flag =
                e.As<SimHost::ObjectPart>() ? SimHost::FindParam(e.Object().params, "bShowSection") : nullptr;
            if (flag != nullptr) {
                EXPECT_TRUE(flag->number == 3.0 || flag->number == 0.05) << flag->number;
            }
        }
        EXPECT_TRUE(host->recorder.faults.empty());
        if (!failed) {
            EXPECT_EQ(Shown().result, EditListOk);
            break;
        }
    }
}

}  // namespace EditListInHostTests

namespace EditListInHostTests {

std::vector<char> Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The picture decoded by a JPEG decoder of its own (libjpeg-turbo's djpeg),
// not by the platform's codec that wrote it: its width and height from the
// PPM header, or 0 x 0 when it does not decode.
std::pair<int, int> DecodedSize(const std::string& jpeg)
{
    const std::string ppm = jpeg + ".ppm";
    const std::string command = "djpeg -pnm -outfile '" + ppm + "' '" + jpeg + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0)
        return {0, 0};
    std::ifstream in(ppm, std::ios::binary);
    std::string magic;
    int width = 0, height = 0;
    in >> magic >> width >> height;
    std::filesystem::remove(ppm);
    return magic == "P6" ? std::make_pair(width, height) : std::make_pair(0, 0);
}


// Two columns of other bars in other places: the edit list shows two
// pictures that differ, each zoomed to its column's section (the box its
// script computed from its bars), each a JPEG an independent decoder reads;
// the copies of a detail drawing lying over a column are not in its picture.
TEST_F(EditListTest, EachEntrysPictureShowsItsOwnElementsSection)
{
    if (std::system("command -v djpeg >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "djpeg (libjpeg-turbo-progs) is not installed; scripts/install-deps.sh installs it";
    const auto column = [&](const char* id, API_Coord at, std::vector<double> pos, std::vector<double> extra) {
        const Int32 bars = static_cast<Int32>(pos.size() / 3);
        SimHost::Element& e =
            Place("rf_column", {Text("strIronID", id), TestParams::Numbers("ironPos", bars, 3, std::move(pos)),
                                TestParams::Numbers("ironExtraData", bars, 10, std::move(extra))});
        e.Object().pos = at;
        return e.guid;
    };
    std::vector<double> twelve(40, 0.0), twenty(20, 0.0);
    for (int r = 0; r < 4; ++r)
        twelve[size_t(r) * 10 + 1] = 12;
    twenty[1] = twenty[11] = 20;
    const API_Guid c1 = column("C1", {2, 3}, {0, 0, 0, 0.3, 0, 0, 0.3, 0.3, 0, 0, 0.3, 0}, twelve);
    const API_Guid c2 = column("C2", {10, 1}, {0, 0, 0, 0.5, 0, 0}, twenty);
    // A bar of a detail drawing over C1, where the floor plan has none.
    SimHost::Element& copy = Place("rf_rebar", {Number("A", 0.3), Number("B", 0.3)});
    copy.Object().pos = {2, 3};
    copy.database = host->model.NewGuid();
    // Kept by value: the edit list's run may put the model back, which ends
    // references into it.
    const API_Guid copyGuid = copy.guid;

    ASSERT_TRUE(Collect());
    EXPECT_EQ(RunDialog({Select(2), Click(EditListOk)}), EditListOk);
    ASSERT_EQ(EntryIds(), (std::vector<std::string>{"C2", "C1"}));  // the chosen entry stands first
    ASSERT_EQ(host->view.zooms.size(), 2u);
    // C1: bars of 12 mm from (2, 3) to (2.3, 3.3), with 0.05 of cover.
    const double r1 = 0.006 + 0.05, r2 = 0.01 + 0.05;
    const API_Box boxes[2] = {{2 - r1, 3 - r1, 2.3 + r1, 3.3 + r1}, {10 - r2, 1 - r2, 10.5 + r2, 1 + r2}};
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(host->view.zooms[size_t(i)].xMin, boxes[i].xMin, 1e-9);
        EXPECT_NEAR(host->view.zooms[size_t(i)].yMin, boxes[i].yMin, 1e-9);
        EXPECT_NEAR(host->view.zooms[size_t(i)].xMax, boxes[i].xMax, 1e-9);
        EXPECT_NEAR(host->view.zooms[size_t(i)].yMax, boxes[i].yMax, 1e-9);
    }
    const std::string first = host->view.temporaryFolder.Get() + "/" + GuidText(c1) + ".jpg";
    const std::string second = host->view.temporaryFolder.Get() + "/" + GuidText(c2) + ".jpg";
    EXPECT_NE(Bytes(first), Bytes(second));
    for (const std::string& path : {first, second}) {
        const std::pair<int, int> size = DecodedSize(path);
        EXPECT_EQ(size, std::make_pair(int(host->view.pictures[0].width), int(host->view.pictures[0].height))) << path;
    }

    // Without the drawing's bar, C1's picture is the same.
    const std::vector<char> withCopy = Bytes(first);
    host->model.Remove(copyGuid);
    Release();
    ASSERT_TRUE(Collect());
    EXPECT_EQ(Bytes(first), withCopy);
    EXPECT_TRUE(host->recorder.alerts.empty());
}

}  // namespace EditListInHostTests
