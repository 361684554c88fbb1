// The selection checks of the create commands, the collection of the IDs in
// use and dialog 32511's procedure with the stored preferences, against the
// stand-in hos
#include "addon/complex/AddOnPreferences.hpp"
#include "addon/complex/ComplexChecks.hpp"
#include "addon/complex/DialogItems.hpp"
#include "addon/complex/IronIdDialog.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/services/AddOnGlobals.hpp"
#include "platform/dg/DGModal.hpp"
#include "tests/e2e/schedule/InHostFixture.hpp"
#include <cstring>
#include <map>
#include <vector>

namespace {

std::string MessageText(RSStringId id)
{
    char buffer[256] = {};
    HostGetResourceString(buffer, id.listId, id.index, OwnResourceModule());
    return GS::UniString(buffer, CC_Default).ToUtf8();
}

class ComplexInHostTest : public InHostTest {
protected:
    API_Guid Rebar(double position, double singular = 1)
    {
        return Place("rf_rebar", {Number("iPosition", position), Number("bOnlyOneBar", singular)}).guid;
    }
    API_Guid Stirrup(double position)
    {
        return Place("rf_stirrup", {Number("iPosition", position), Number("bOnlyOneBar", 0)}).guid;
    }
    void Select(const std::vector<API_Guid>& guids) { host->model.Select(guids); }

    std::vector<std::string> Alerts() const { return host->recorder.alerts; }
};

TEST_F(ComplexInHostTest, SelectionChecksAgainstTheHost)
{
    struct Case {
        const char* what;
        ComplexElementKind kind;
        std::function<std::vector<API_Guid>()> select;
        SelectionCheck expected;
        std::vector<RSStringId> alerts;
    };
    using namespace ResStr::Messages;
    auto beam = [this]() {
        return std::vector<API_Guid>{Rebar(1), Rebar(1), Rebar(1), Rebar(1), Stirrup(2)};
    };
    const std::vector<Case> cases = {
        {"nothing selected, beam", BeamKind, []() { return std::vector<API_Guid>{}; },
         SelectionCheck::Refused, {SelectRebarsAndStirrup}},
        {"nothing selected, crowning", CrowningKind, []() { return std::vector<API_Guid>{}; },
         SelectionCheck::Refused, {SelectRebarOrStirrup}},
        {"four horizontal singular rebars and a vertical stirrup", BeamKind, beam, SelectionCheck::Passed, {}},
        {"walls and hidden objects are ignored", BeamKind,
         [&]() {
             std::vector<API_Guid> s = beam();
             s.push_back(host->model.Add(API_WallID).guid);
             Layer(5, true, false);
             s.push_back(Place("rf_single_rebar", {}, 5).guid);
             return s;
         },
         SelectionCheck::Passed, {}},
        {"a single rebar refuses", BeamKind,
         [&]() {
             std::vector<API_Guid> s = beam();
             s.push_back(Place("rf_single_rebar").guid);
             return s;
         },
         SelectionCheck::Refused, {OnlyBarsStirrupsConcrete}},
        {"a complex object refuses", ColumnKind,
         [this]() { return std::vector<API_Guid>{Place("rf_beam").guid}; },
         SelectionCheck::Refused, {OnlyBarsStirrupsConcrete}},
        {"three rebars", BeamKind,
         [this]() { return std::vector<API_Guid>{Rebar(1), Rebar(1), Rebar(1), Stirrup(2)}; },
         SelectionCheck::Refused, {SelectRebarsAndStirrup}},
        {"a fifth rebar that is not singular", BeamKind,
         [&]() {
             std::vector<API_Guid> s = beam();
             s.push_back(Rebar(1, 0));
             return s;
         },
         SelectionCheck::Refused, {OnlySingularRebars}},
        {"a rebar at 2.15 refuses a column", ColumnKind,
         [this]() {
             return std::vector<API_Guid>{Rebar(2.05), Rebar(2.15), Rebar(2), Rebar(2), Stirrup(1)};
         },
         SelectionCheck::Refused, {OnlyVerticalRebars}},
        {"a concrete block at 1 refuses a crowning", CrowningKind,
         [this]() {
             return std::vector<API_Guid>{Stirrup(1), Place("rf_concrete", {Number("iPosition", 1), Number("bOnlyOneBar", 0)}).guid};
         },
         SelectionCheck::Refused, {OnlyVerticalConcrete}},
        {"a concrete block at 1 passes in a beam", BeamKind,
         [&]() {
             std::vector<API_Guid> s = beam();
             s.push_back(Place("rf_concrete", {Number("iPosition", 1), Number("bOnlyOneBar", 0)}).guid);
             return s;
         },
         SelectionCheck::Passed, {}},
        {"a polygonal crowning rebar after the position tests", CrowningKind,
         [this]() {
             SimHost::GdlParam form;
             form.name = "ironType";
             form.kind = SimHost::GdlParam::Kind::Numbers;
             form.dim1 = 1;
             form.dim2 = 4;
             form.numbers = {0, 2, 3, 0};
             const API_Guid polygonal = Place("rf_rebar", {Number("iPosition", 2), form}).guid;
             return std::vector<API_Guid>{polygonal, Stirrup(1)};
         },
         SelectionCheck::Refused, {NoPolygonalCrownRebars}},
        {"a wrong position further down is reported first", CrowningKind,
         [this]() {
             SimHost::GdlParam form;
             form.name = "ironType";
             form.kind = SimHost::GdlParam::Kind::Numbers;
             form.dim1 = 1;
             form.dim2 = 4;
             form.numbers = {0, 2, 3, 0};
             const API_Guid polygonal = Place("rf_rebar", {Number("iPosition", 2), form}).guid;
             return std::vector<API_Guid>{polygonal, Stirrup(2)};
         },
         SelectionCheck::Refused, {StirrupHorizontal}},
        {"a crowning of one stirrup", CrowningKind,
         [this]() { return std::vector<API_Guid>{Stirrup(1)}; }, SelectionCheck::Passed, {}},
    };
    for (const Case& c : cases) {
        host->recorder.alerts.clear();
        Select(c.select());
        EXPECT_EQ(CheckSelectionForKind(c.kind), c.expected) << c.what;
        std::vector<std::string> expected;
        for (const RSStringId& id : c.alerts)
            expected.push_back(MessageText(id));
        EXPECT_EQ(Alerts(), expected) << c.what;
    }
}

TEST_F(ComplexInHostTest, FailedSelectionEndsWithoutAMessage)
{
    host->faultPlan.FailSlot(HostSlot::GetSelection, APIERR_GENERAL);
    EXPECT_EQ(CheckSelectionForKind(BeamKind), SelectionCheck::Failed);
    EXPECT_TRUE(Alerts().empty());
}

// ------------------------------------------------------------ the dialog

// The user at dialog 32511: the items as the procedure set them, and what
// the user typed and chose.
struct PlayedDialog {
    std::map<Int16, bool> visible;
    std::map<Int16, Int32> values;
    std::string text;

    void Install()
    {
        DialogItems& items = CurrentDialogItems();
        items.setVisible = [this](Int16, Int16 item, bool v) { visible[item] = v; };
        items.setValLong = [this](Int16, Int16 item, Int32 v) { values[item] = v; };
        items.getValLong = [this](Int16, Int16 item) { return values[item]; };
        items.getText = [this](Int16, Int16) { return GS::UniString(text.c_str(), CC_UTF8); };
    }
    ~PlayedDialog() { CurrentDialogItems() = DialogItems(); }
};

class ComplexDialogTest : public ComplexInHostTest {
protected:
    void SetUp() override
    {
        ComplexInHostTest::SetUp();
        dialog.Install();
    }
    Int16 Send(Int16 message, Int16 item = 0)
    {
        return ComplexIdDialogProc(message, ComplexIdDialogId, item, &data);
    }
    Int16 Ok(const std::string& id)
    {
        dialog.text = id;
        return Send(DG_MSG_CLICK, IdOkButton);
    }
    void Release() override
    {
        data.ids.Clear();
    }
    void StoreRecord(Int32 version, std::vector<unsigned char> bytes, UInt16 sign = 0x5757)
    {
        SimHost::PreferencesRecord r;
        r.version = version;
        r.platformSign = sign;
        r.bytes = std::move(bytes);
        host->preferences.Store(r);
    }

    PlayedDialog dialog;
    IronIdDialogData data;
};

TEST_F(ComplexDialogTest, FirstRunDefaultsAndAcceptedIdStoresTheChoice)
{
    data.kind = BeamKind;
    EXPECT_EQ(Send(DG_MSG_INIT), 0);
    EXPECT_EQ(dialog.values[IdLayerChooser], 1);
    EXPECT_EQ(dialog.values[IdWithListCheck], 1);
    EXPECT_FALSE(dialog.visible[IdInUseWarning]);
    EXPECT_EQ(dialog.visible.count(IdWithListCheck), 0u) << "shown for a beam";

    dialog.values[IdLayerChooser] = 3;
    host->model.layers[3] = SimHost::Layer{"L3", false, false};
    Send(6, IdLayerChooser);
    dialog.values[IdWithListCheck] = 0;
    EXPECT_EQ(Ok("B1"), IdOkButton);
    EXPECT_EQ(data.LastId(), "B1");
    EXPECT_FALSE(data.withList);
    ASSERT_TRUE(host->preferences.Stored().has_value());
    EXPECT_EQ(host->preferences.Stored()->version, 256);
    EXPECT_EQ(host->preferences.Stored()->bytes, (std::vector<unsigned char>{0, 0, 0, 0, 3, 0, 0, 0}));
}

TEST_F(ComplexDialogTest, StoredRecordsAsTheyAreRead)
{
    host->model.layers[4] = SimHost::Layer{"L4", false, false};
    struct Case {
        const char* what;
        Int32 version;
        std::vector<unsigned char> bytes;
        UInt16 sign;
        Int32 layer;
        bool withList;
    };
    const Case cases[] = {
        {"own record", 256, {0, 9, 9, 9, 4, 0, 0, 0}, 0x5757, 4, false},
        {"layer 0", 256, {1, 0, 0, 0, 0, 0, 0, 0}, 0x5757, 1, true},
        {"unusable layer", 256, {0, 0, 0, 0, 77, 0, 0, 0}, 0x5757, 1, false},
        {"another byte order", 256, {1, 0, 0, 0, 0, 0, 0, 4}, 0x4D4D, 4, true},
        {"size 12 ignored", 256, {0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0}, 0x5757, 1, true},
        {"another version ignored", 255, {0, 0, 0, 0, 4, 0, 0, 0}, 0x5757, 1, true},
    };
    for (const Case& c : cases) {
        StoreRecord(c.version, c.bytes, c.sign);
        dialog.values.clear();
        Send(DG_MSG_INIT);
        EXPECT_EQ(data.layer, c.layer) << c.what;
        EXPECT_EQ(dialog.values[IdLayerChooser], c.layer) << c.what;
        EXPECT_EQ(data.withList, c.withList) << c.what;
        EXPECT_EQ(dialog.values[IdWithListCheck], c.withList ? 1 : 0) << c.what;
    }
}

TEST_F(ComplexDialogTest, IdsInUseAndClashingDetailDrawingsKeepTheDialogOpen)
{
    Place("rf_rebar", {Text("strIronID", "1")});
    Place("rf_stirrup", {Text("strIronID", "K1 - 2")});
    ASSERT_TRUE(CollectExistingIronIds(ObjectCreator(BeamKind), data));
    ASSERT_EQ(data.ids.GetItemCount(), 2) << "every object with an ID, whatever its part";

    SimHost::DetailDrawing detail;
    detail.id = host->model.NewGuid();
    detail.number = 1;
    detail.name = u"D7 " + GS::UniString(MessageText(ResStr::Messages::Beam).c_str(), CC_UTF8).Units();
    detail.ref = u"R7";
    host->model.databases.details.push_back(detail);

    data.kind = BeamKind;
    Send(DG_MSG_INIT);
    struct Case {
        const char* id;
        Int16 result;
    };
    const Case cases[] = {
        {"", 0}, {"1", 0}, {"D7", 0}, {"R7", 0}, {"b1", IdOkButton},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Ok(c.id), c.result) << c.id;
        EXPECT_EQ(dialog.visible[IdInUseWarning], c.result == 0 && c.id[0] != '\0') << c.id;
    }
    EXPECT_EQ(Alerts(), std::vector<std::string>{MessageText(ResStr::Messages::IdTooShort)});
    // "B1" differs from the accepted "b1"; "D7" is free for a column.
    EXPECT_EQ(Ok("B1"), IdOkButton);
    data.kind = ColumnKind;
    EXPECT_EQ(Ok("D7"), IdOkButton);
    EXPECT_EQ(data.LastId(), "D7");
}

TEST_F(ComplexDialogTest, CrowningHidesTheCheckBoxButStoresItsValue)
{
    StoreRecord(256, {0, 0, 0, 0, 1, 0, 0, 0});
    data.kind = CrowningKind;
    Send(DG_MSG_INIT);
    EXPECT_FALSE(dialog.visible[IdWithListCheck]);
    EXPECT_EQ(Ok("K1"), IdOkButton);
    EXPECT_EQ(host->preferences.Stored()->bytes[0], 0);
}

TEST_F(ComplexDialogTest, CancelStoresNothing)
{
    data.kind = BeamKind;
    Send(DG_MSG_INIT);
    EXPECT_EQ(Send(DG_MSG_CLICK, IdCancelButton), IdCancelButton);
    EXPECT_EQ(data.ids.GetItemCount(), 0);
    EXPECT_FALSE(host->preferences.Stored().has_value());
}

TEST_F(ComplexDialogTest, LongIdsAreCutToAnInlineText)
{
    data.kind = BeamKind;
    Send(DG_MSG_INIT);
    EXPECT_EQ(Ok(std::string(3000, 'x')), IdOkButton);
    EXPECT_EQ(data.LastId(), std::string(MaxComplexIdLength, 'x'));
}

TEST_F(ComplexInHostTest, CollectionEndsOnCancelAndOnAFailedListing)
{
    Place("rf_rebar", {Text("strIronID", "A")});
    IronIdDialogData data;
    host->faultPlan.FailSlot(HostSlot::ListElementsByType, APIERR_GENERAL, 1);
    EXPECT_FALSE(CollectExistingIronIds(ObjectCreator(BeamKind), data));
    ASSERT_EQ(host->recorder.progressWindows.size(), 1u);
    EXPECT_FALSE(host->recorder.progressWindows[0].open);

    host->recorder.progressWindows.clear();
    host->user.cancelAtCheck = 1;
    EXPECT_FALSE(CollectExistingIronIds(ObjectCreator(BeamKind), data));
    ASSERT_EQ(host->recorder.progressWindows.size(), 1u);
    EXPECT_FALSE(host->recorder.progressWindows[0].open);
}

}  // namespace
