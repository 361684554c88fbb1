// Reading the placed reinforcement into groups: the view it reads, the IDs
// and sums of the groups, the cutting-list object, locked layers and the
// user's cancel, against the stand-in host.
#include "addon/schedule/ReadReinforcement.hpp"
#include "platform/dg/DGModal.hpp"
#include "tests/e2e/schedule/InHostFixture.hpp"
#include <algorithm>
#include <vector>

namespace {

struct Group {
    std::string id;
    std::vector<API_Guid> members;
    bool operator==(const Group& o) const { return id == o.id && members == o.members; }
};

void PrintTo(const Group& g, std::ostream* os) { *os << g.id << " x" << g.members.size(); }

class ReadReinforcementTest : public InHostTest {
protected:
    void Release() override
    {
        run.reset();
        window.reset();
    }

    // As the Cutting List reads: every object, the complex ones too.
    bool Read(ReadMode mode = ReadSelectedOrAll, bool silent = false, bool withList = true)
    {
        run = std::make_unique<RunGroups>();
        ReadOptions options;
        options.mode = mode;
        options.readComplex = true;
        options.silent = silent;
        return ReadReinforcementObjects(manager, *run, options, nullptr, withList ? &list : nullptr);
    }

    // As an edit of `kind` reads: the selection, silently, picking the
    // complex objects of the kind.
    bool ReadForEdit(ComplexElementKind kind, GS::VAArray<API_Guid>& picked)
    {
        run = std::make_unique<RunGroups>();
        ReadOptions options;
        options.mode = ReadSelected;
        options.editedKind = kind;
        options.silent = true;
        return ReadReinforcementObjects(manager, *run, options, &picked, &list);
    }

    std::vector<Group> Groups() const
    {
        std::vector<Group> v;
        for (Int32 i = 1; i <= run->groups.GetItemCount(); ++i) {
            Group g{run->groups[i]->id, {}};
            for (const IronProperties* m : run->groups[i]->members)
                g.members.push_back(m->guid);
            v.push_back(g);
        }
        return v;
    }

    API_Guid Bar(const char* id, Int32 layer = 1, Int16 story = 0, double listing = 1)
    {
        return Place("rf_rebar", {Text("strIronID", id), Number("bIsListing", listing)}, layer, story).guid;
    }

    size_t Events(const std::string& prefix) const
    {
        const auto& e = host->recorder.events;
        return static_cast<size_t>(
            std::count_if(e.begin(), e.end(), [&](const std::string& s) { return s.rfind(prefix, 0) == 0; }));
    }

    PlacementManager manager;
    std::unique_ptr<RunGroups> run;
    std::unique_ptr<ProgressWindowOwner> window;
    API_Guid list = APINULLGuid;
};

TEST_F(ReadReinforcementTest, EqualBarsGroupByTheirIds)
{
    const API_Guid a1 = Bar("A"), a2 = Bar("A"), none = Bar("");
    ASSERT_TRUE(Read());
    EXPECT_EQ(Groups(), (std::vector<Group>{{"A", {a1, a2}}, {"1", {none}}}));
    EXPECT_EQ(manager.layer, 1);
    EXPECT_EQ(list, APINULLGuid);
    EXPECT_TRUE(host->recorder.alerts.empty());
}

TEST_F(ReadReinforcementTest, ConcreteGroupsAreAlwaysZero)
{
    const API_Guid c1 = Place("rf_concrete", {Text("strIronID", "5")}).guid;
    const API_Guid c2 = Place("rf_concrete", {Text("strIronID", "5")}).guid;
    const API_Guid c3 = Place("rf_concrete", {Text("strIronID", "0")}).guid;
    ASSERT_TRUE(Read());
    EXPECT_EQ(Groups(), (std::vector<Group>{{"0", {c1, c3}}, {"0", {c2}}}));
}

TEST_F(ReadReinforcementTest, ListingSums)
{
    // A group's key sums columns 0, 3 and 4 over its listing members (over
    // every member when read silently); the second member keeps its values.
    struct Case {
        const char* id;
        double listing;
        bool silent;
        double factor;
    };
    const std::vector<Case> cases = {
        {"listing", 1, false, 2},
        {"non-listing", 0, false, 0},
        {"non-listing, silent", 0, true, 2},
    };
    for (const Case& c : cases) {
        Bar(c.id, 1, 0, c.listing);
        Bar(c.id, 1, 0, c.listing);
        manager = PlacementManager();
        ASSERT_TRUE(Read(ReadSelectedOrAll, c.silent)) << c.id;
        const IronArrayByProperty* group = nullptr;
        for (const IronArrayByProperty* g : run->groups)
            if (g->id == c.id)
                group = g;
        ASSERT_NE(group, nullptr) << c.id;
        ASSERT_EQ(group->members.GetItemCount(), 2) << c.id;
        const ListingColumns& sums = group->Key().listingColumns;
        const ListingColumns& one = group->members[2]->listingColumns;
        EXPECT_GT(one.Get(0, 4), 0) << c.id;
        for (Int32 column : {0, 3, 4})
            EXPECT_DOUBLE_EQ(sums.Get(0, column), c.factor * one.Get(0, column)) << c.id << " column " << column;
        EXPECT_DOUBLE_EQ(sums.Get(0, 1), one.Get(0, 1)) << c.id << ": the diameter is no sum";
    }
}

TEST_F(ReadReinforcementTest, TheViewDecidesWhatIsRead)
{
    Layer(2, true, false);
    const API_Guid here = Bar("");
    const API_Guid above = Bar("", 1, 1);
    Bar("", 2);  // hidden
    host->model.Add(API_WallID);

    struct Case {
        const char* name;
        Int32 window;
        bool result;
        std::vector<API_Guid> read;
        size_t alerts;
    };
    const std::vector<Case> cases = {
        {"floor plan: the current story", APIWind_FloorPlanID, true, {here}, 0},
        {"detail: every story", APIWind_DetailID, true, {here, above}, 0},
        {"section refused", APIWind_SectionID, false, {}, 1},
        {"3D refused", APIWind_3DModelID, false, {}, 1},
    };
    for (const Case& c : cases) {
        host->model.databaseType = c.window;
        host->recorder.alerts.clear();
        EXPECT_EQ(Read(), c.result) << c.name;
        std::vector<API_Guid> read;
        for (const Group& g : Groups())
            read.insert(read.end(), g.members.begin(), g.members.end());
        EXPECT_EQ(read, c.read) << c.name;
        ASSERT_EQ(host->recorder.alerts.size(), c.alerts) << c.name;
        if (c.alerts != 0 && HOST_VERSION == 24) {
            EXPECT_EQ(host->recorder.alerts[0], "This function is only available on floor plan or in detail window!")
                << c.name;
        }
    }

    // Only what is selected, when something is.
    host->model.databaseType = APIWind_DetailID;
    host->model.Select({above});
    ASSERT_TRUE(Read());
    EXPECT_EQ(Groups(), (std::vector<Group>{{"1", {above}}}));
    // Nothing to read is no success, and no message.
    host->model.Select({});
    host->model.databaseType = APIWind_FloorPlanID;
    host->model.currentStory = 5;
    host->recorder.alerts.clear();
    EXPECT_FALSE(Read());
    EXPECT_TRUE(host->recorder.alerts.empty());
}

TEST_F(ReadReinforcementTest, HostFailuresBeforeReading)
{
    Bar("");
    struct Case {
        const char* request;
        API_RequestCode code;
        std::string alert24;
    };
    for (const Case& c : std::vector<Case>{{"GSTO", RequestCode("GSTO"), "Error while collecting story information!"},
                                           {"GDAT", RequestCode("GDAT"), "Error while connecting to database!"}}) {
        host->recorder.alerts.clear();
        host->faultPlan.FailRequest(c.code, APIERR_GENERAL, 1);
        EXPECT_FALSE(Read()) << c.request;
        ASSERT_EQ(host->recorder.alerts.size(), 1u) << c.request;
        if (HOST_VERSION == 24) {
            EXPECT_EQ(host->recorder.alerts[0], c.alert24);
        }
    }
}

TEST_F(ReadReinforcementTest, OneCuttingListOnly)
{
    const API_Guid first = Place("rf_list").guid;
    const API_Guid second = Place("rf_list").guid;
    struct Case {
        const char* name;
        std::vector<API_Guid> selection;
        std::string alert24;
    };
    const std::vector<Case> cases = {
        {"two visible", {}, "Only one visible (or selected) cutting list can be placed, when starting optimalization!"},
        {"two selected", {first, second}, "Please, select only one list object (rf_list)!"},
    };
    for (const Case& c : cases) {
        host->model.Select(c.selection);
        host->recorder.alerts.clear();
        manager = PlacementManager();
        EXPECT_FALSE(Read()) << c.name;
        EXPECT_FALSE(manager.listAllowed) << c.name;
        ASSERT_EQ(host->recorder.alerts.size(), 1u) << c.name;
        if (HOST_VERSION == 24) {
            EXPECT_EQ(host->recorder.alerts[0], c.alert24) << c.name;
        }
    }

    // Without a list GUID asked for, several lists are no error; the
    // manager knows the last one.
    host->model.Select({});
    manager = PlacementManager();
    EXPECT_TRUE(Read(ReadSelectedOrAll, false, false));
    EXPECT_EQ(manager.listGuid, second);
    EXPECT_TRUE(manager.listAllowed);

    // One list: found.
    host->model.Select({second});
    manager = PlacementManager();
    EXPECT_TRUE(Read());
    EXPECT_EQ(list, second);
}

TEST_F(ReadReinforcementTest, LockedBarAsksTheUser)
{
    Layer(3, false, true);
    Bar("");
    Bar("", 3);
    struct Case {
        const char* name;
        std::vector<Int16> buttons;
        bool result;
    };
    const std::vector<Case> cases = {
        {"Yes", {1}, true},
        {"No", {2}, false},
        {"closed", {}, false},
        {"a click elsewhere, then No", {7, 2}, false},
    };
    for (const Case& c : cases) {
        manager = PlacementManager();
        host->user.dialogButtons.assign(c.buttons.begin(), c.buttons.end());
        const size_t before = Events("modal dialog 32510 shown");
        EXPECT_EQ(Read(), c.result) << c.name;
        EXPECT_EQ(Events("modal dialog 32510 shown"), before + 1) << c.name;
        EXPECT_EQ(manager.listAllowed, c.result) << c.name;
        EXPECT_TRUE(host->model.layers[3].locked) << "nothing is unlocked while reading";
    }
}

// The dialog as the user sees it, in the build's language, answered with
// a click that is not delivered first and then "Yes".
TEST_F(ReadReinforcementTest, LockedLayersDialogShowsItsItems)
{
    Layer(3, false, true);
    Bar("", 3);
    using Kind = DG::UserInput::DialogAction::Kind;
    host->user.dialogAnswers.push_back({LockedLayersDialogId, {{Kind::Click, 3, {}, 0}, {Kind::Click, 1, {}, 0}}});
    EXPECT_TRUE(Read());
    ASSERT_EQ(host->user.modalDialogs.size(), 1u);
    const SimHost::ShownModalDialog& shown = host->user.modalDialogs[0];
#if HOST_VERSION == 24
    const std::vector<std::string> items = {
        "1 button \"Yes\"", "2 button \"No\"",
        "3 static text \"There are locked layers in the actual view. Do you want to unlock these layers for the "
        "calculation process? If you keep them locked, the calculation will be canceled!\""};
    EXPECT_EQ(shown.title, "Warning");
    EXPECT_EQ(shown.actions, (std::vector<std::string>{"the user clicks item 3 \"There are locked layers in the actual "
                                                       "view. Do you want to unlock these layers for the calculation "
                                                       "process? If you keep them locked, the calculation will be "
                                                       "canceled!\": not delivered",
                                                       "the user clicks item 1 \"Yes\""}));
#else
    const std::vector<std::string> items = {
        "1 button \"Da\"", "2 button \"Ne\"",
        "3 static text \"V trenutnem pogledu so zaklenjeni sloji. Ali jih želite odkleniti za izračun? Če jih pustite "
        "zaklenjene, bo izračun preklican!\""};
    EXPECT_EQ(shown.title, "Opozorilo");
#endif
    EXPECT_EQ(shown.itemsShown, items);
    EXPECT_EQ(shown.itemsAtClose, items);
    EXPECT_EQ(shown.result, 1);
    EXPECT_TRUE(host->user.dialogAnswers.empty());
}

// An answer for another dialog waits for it; this dialog takes the
// buttons, and closes when none is left.
TEST_F(ReadReinforcementTest, AnswerForAnotherDialogIsKept)
{
    Layer(3, false, true);
    Bar("", 3);
    host->user.dialogAnswers.push_back({32511, {{DG::UserInput::DialogAction::Kind::Click, 1, {}, 0}}});
    EXPECT_FALSE(Read());
    ASSERT_EQ(host->user.modalDialogs.size(), 1u);
    EXPECT_TRUE(host->user.modalDialogs[0].closed);
    EXPECT_EQ(host->user.modalDialogs[0].result, 0);
    EXPECT_EQ(host->user.dialogAnswers.size(), 1u);
    EXPECT_EQ(Events("modal dialog 32510 closed: the user closes it"), 1u);
}

TEST_F(ReadReinforcementTest, FirstObjectOnLockedLayerAsksToo)
{
    Layer(3, false, true);
    Place("rf_list", {}, 3);
    Bar("");
    host->user.dialogButtons = {2};
    EXPECT_FALSE(Read());
    EXPECT_EQ(Events("modal dialog 32510 shown"), 1u);
}

TEST_F(ReadReinforcementTest, LockedComplexObjectEndsWithoutDialog)
{
    Layer(3, false, true);
    Bar("");
    Place("rf_crowning", {}, 3);
    host->user.dialogButtons = {1};
    EXPECT_FALSE(Read());
    EXPECT_EQ(Events("modal dialog"), 0u);
    EXPECT_TRUE(host->recorder.alerts.empty());
}

TEST_F(ReadReinforcementTest, EditPicksTheComplexObjectsOfItsKind)
{
    const API_Guid crowning = Place("rf_crowning").guid;
    const API_Guid beam = Place("rf_beam").guid;
    const API_Guid bar = Bar("");
    struct Case {
        ComplexElementKind kind;
        std::vector<API_Guid> picked;
    };
    host->model.Select({bar, beam, crowning});
    for (const Case& c : std::vector<Case>{{CrowningKind, {crowning}}, {BeamKind, {beam}}, {ColumnKind, {}}}) {
        GS::VAArray<API_Guid> picked;
        ASSERT_TRUE(ReadForEdit(c.kind, picked)) << c.kind;
        EXPECT_EQ(std::vector<API_Guid>(picked.begin(), picked.end()), c.picked) << c.kind;
        EXPECT_EQ(run->complexGroups.GetItemCount(), 0) << "complex objects are not read for an edit";
        EXPECT_EQ(run->groups.GetItemCount(), 1);
    }
    // Nothing selected: nothing to edit.
    host->model.Select({});
    GS::VAArray<API_Guid> picked;
    EXPECT_FALSE(ReadForEdit(CrowningKind, picked));
}

TEST_F(ReadReinforcementTest, CancelClosesTheProgressWindowOnce)
{
    Bar("A");
    Bar("B");
    Bar("C");
    window = std::make_unique<ProgressWindowOwner>("Optimization", 10);
    manager.progress = window.get();
    host->user.cancelAtCheck = 2;
    EXPECT_FALSE(Read());
    EXPECT_FALSE(window->IsOpen());
    EXPECT_EQ(Groups().size(), 1u) << "what was read before the cancel stays";
    window.reset();
    const auto& requests = host->recorder.requestLog;
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "CPWD"), 1);
    ASSERT_EQ(host->recorder.progressWindows.size(), 1u);
    ASSERT_EQ(host->recorder.progressWindows[0].phases.size(), 1u);
    EXPECT_EQ(host->recorder.progressWindows[0].phases[0].maximum, 3);
}

TEST_F(ReadReinforcementTest, SilentReadingShowsNoProgress)
{
    Bar("A");
    window = std::make_unique<ProgressWindowOwner>("Optimization", 10);
    manager.progress = window.get();
    host->user.cancelAtCheck = 1;
    EXPECT_TRUE(Read(ReadSelectedOrAll, true));
    EXPECT_TRUE(manager.silent);
    EXPECT_TRUE(window->IsOpen());
    window.reset();
    EXPECT_TRUE(host->recorder.progressWindows[0].phases.empty());
}

TEST(LockedLayersDialogCallback, TakesOnlyClicksOnYesAndNo)
{
    struct Case {
        Int16 message, item, result;
    };
    for (const Case& c : std::vector<Case>{{DG_MSG_CLICK, 1, 1}, {DG_MSG_CLICK, 2, 2}, {DG_MSG_CLICK, 3, 0},
                                           {DG_MSG_INIT, 1, 0}, {DG_MSG_CLOSE, 2, 0}})
        EXPECT_EQ(LockedLayersDialogCallback(c.message, LockedLayersDialogId, c.item, nullptr), c.result)
            << c.message << "/" << c.item;
}

// Every host call of a reading failing in turn: the reading ends either
// way, with nothing leaked and no fault.
TEST_F(ReadReinforcementTest, EachHostCallMayFail)
{
    Layer(3, false, true);
    Bar("A");
    Bar("", 3);
    Place("rf_concrete");
    Place("rf_crowning");
    Place("rf_list");
    for (Int64 n = 1; n < 400; ++n) {
        manager = PlacementManager();
        host->user.dialogButtons = {1};
        window = std::make_unique<ProgressWindowOwner>("Optimization", 10);
        manager.progress = window.get();
        host->faultPlan.FailNthCall(n, APIERR_GENERAL);
        Read();
        window.reset();
        run.reset();
        host->recorder.CheckBalanced();
        if (!host->faultPlan.NthCallFailed())
            return;
        host->faultPlan.FailNthCall(0);
    }
    ADD_FAILURE() << "the reading makes more than 400 host calls";
}

}  // namespace
