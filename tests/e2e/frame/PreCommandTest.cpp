// The steps before every palette command: the object library, the
// suspend-groups bracket and the check of library parts and selection,
// driven through the palette's Cutting List button.
#include "tests/e2e/AddOnFixture.hpp"
#include "simhost/core/AddOnFolder.hpp"
#include <algorithm>
#include <fstream>
#include <sstream>
#include "tests/support/GdlParams.hpp"

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace PreCommandTests {

using TestParams::Number;
using TestParams::Text;

constexpr USize CuttingListEntry = 6;
constexpr USize BeamEntryIndex = 1;

template <typename Text> size_t CountOf(const std::vector<Text>& log, const char* name)
{
    return static_cast<size_t>(std::count(log.begin(), log.end(), name));
}

class PreCommandTest : public AddOnTest {
protected:
    // Starts the add-on and opens its palette from the menu, which also
    // adds the object library.
    void Open(const std::string& addOn = ADDON_PATH)
    {
        std::string error;
        ASSERT_TRUE(host->session.LoadAddOn(addOn, error)) << error;
        ASSERT_TRUE(host->session.StartAddOn());
        ASSERT_EQ(host->user.RunMenuCommand(32510, 1), NoError);
        ASSERT_NE(host->user.AddOnPalette(), nullptr);
        ASSERT_GT(host->libraries.IndexOfPart("rf_rebar"), 0);
    }

    // The user selects and clicks Cutting List; the host's log of this
    // command alone is kept.
    void RunCommand(const std::vector<API_Guid>& selection)
    {
        host->user.ChangeSelection(selection);
        host->recorder.callLog.clear();
        host->recorder.requestLog.clear();
        host->recorder.alerts.clear();
        ASSERT_TRUE(host->user.ClickPaletteEntry(CuttingListEntry));
    }

    API_Guid Rebar(std::initializer_list<SimHost::GdlParam> params = {}, const char* part = "rf_rebar")
    {
        return host->PlaceObject(part, params).guid;
    }
};

TEST_F(PreCommandTest, NothingSelectedSearchesThePartsOnly)
{
    Open();
    RunCommand({});
    EXPECT_EQ(CountOf(host->recorder.callLog, "SearchLibraryPart"), 10u);
    // With nothing selected the check opens no window of its own: the only
    // one is the command's, after the check.
    ASSERT_EQ(CountOf(host->recorder.requestLog, "IPWD"), 1u);
    ASSERT_EQ(host->recorder.progressWindows.size(), 1u);
    EXPECT_NE(host->recorder.progressWindows[0].title, host->session.AddOnString(131, 11));
    EXPECT_FALSE(host->recorder.progressWindows[0].open);
}

TEST_F(PreCommandTest, WallsAndSlabsOpenAndCloseTheWindowOnly)
{
    Open();
    API_Guid wall = host->model.Add(API_WallID).guid;
    API_Guid slab = host->model.Add(API_SlabID).guid;
    RunCommand({wall, slab});
    // The check's window first, then the command's own.
    ASSERT_EQ(host->recorder.progressWindows.size(), 2u);
    EXPECT_NE(host->recorder.progressWindows[1].title, host->session.AddOnString(131, 11));
    EXPECT_FALSE(host->recorder.progressWindows[1].open);
    const SimHost::ProgressWindow& w = host->recorder.progressWindows[0];
    EXPECT_FALSE(w.open);
    EXPECT_EQ(w.title, host->session.AddOnString(131, 11));
    ASSERT_EQ(w.phases.size(), 1u);
    EXPECT_EQ(w.phases[0].maximum, 2);
    EXPECT_EQ(w.phases[0].value, 2);
    EXPECT_FALSE(w.phases[0].warning);
    EXPECT_EQ(CountOf(host->recorder.callLog, "GetElement"), 0u);
    EXPECT_TRUE(host->recorder.alerts.empty());
}

struct VersionCase {
    const char* name;
    const char* part;
    double minimum, maximum;  // NaN: the parameter is missing
    bool refused;
};

class VersionRangeTest : public PreCommandTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionRangeTest, SelectedObjectsMustAcceptThisVersion)
{
    const VersionCase& c = GetParam();
    Open();
    SimHost::Element& e = host->PlaceObject(c.part);
    auto set = [&](const char* name, double value) {
        auto& params = e.Object().params;
        params.erase(std::remove_if(params.begin(), params.end(), [&](const SimHost::GdlParam& p) { return p.name == name; }),
                     params.end());
        if (value == value)
            params.push_back(Number(name, value));
    };
    set("minApiVersion", c.minimum);
    set("maxApiVersion", c.maximum);
    RunCommand({e.guid});
    if (c.refused) {
        ASSERT_EQ(host->recorder.alerts.size(), 1u);
        EXPECT_EQ(host->recorder.alerts[0], host->session.AddOnString(130, 49));
    } else {
        EXPECT_TRUE(host->recorder.alerts.empty()) << host->recorder.alerts[0];
    }
    // The check's window; an accepted selection goes on to the command,
    // which opens its own.
    ASSERT_EQ(host->recorder.progressWindows.size(), c.refused ? 1u : 2u);
    EXPECT_EQ(host->recorder.progressWindows[0].title, host->session.AddOnString(131, 11));
    EXPECT_FALSE(host->recorder.progressWindows[0].open);
    EXPECT_FALSE(host->recorder.progressWindows.back().open);
}

const double Missing = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Cases, VersionRangeTest,
    ::testing::Values(VersionCase{"exact", "rf_rebar", 350, 350, false}, VersionCase{"newer", "rf_rebar", 351, 400, true},
                      VersionCase{"truncated", "rf_stirrup", 349.9, 350, false},
                      VersionCase{"older", "rf_list", 300, 349.99, true},
                      VersionCase{"noMinimum", "rf_concrete", Missing, 400, true},
                      VersionCase{"noMaximum", "rf_beam", 300, Missing, true},
                      VersionCase{"unversionedPartSkipped", "rf_complex", 100, 100, false},
                      // Values beyond 32-bit integers compare as the numbers they are.
                      VersionCase{"minimumBeyond32Bits", "rf_rebar", 1e12, 400, true},
                      VersionCase{"minimumJustBeyond32Bits", "rf_rebar", 2147483648.0, 400, true},
                      VersionCase{"minimumFarBelow", "rf_rebar", -1e12, 400, false},
                      VersionCase{"maximumBeyond32Bits", "rf_rebar", 300, 1e12, false},
                      VersionCase{"maximumJustBeyond32Bits", "rf_rebar", 300, 2147483648.0, false},
                      VersionCase{"infiniteMinimum", "rf_rebar", std::numeric_limits<double>::infinity(), 400, true},
                      VersionCase{"infiniteMaximum", "rf_rebar", 300, std::numeric_limits<double>::infinity(), false}),
    [](const ::testing::TestParamInfo<VersionCase>& info) { return std::string(info.param.name); });

SimHost::GdlParam Numbers(const char* name, std::vector<double> values)
{
    SimHost::GdlParam p;
    p.name = name;
    p.kind = SimHost::GdlParam::Kind::Numbers;
    p.dim1 = 1;
    p.dim2 = static_cast<Int32>(values.size());
    p.numbers = std::move(values);
    return p;
}

struct RecordCase {
    const char* name;
    std::vector<SimHost::GdlParam> records;  // the version records, in handle order
    bool refused;
};

class VersionRecordTest : public PreCommandTest, public ::testing::WithParamInterface<RecordCase> {};

// A version record that holds no single number counts as missing; the
// first one that does decides.
TEST_P(VersionRecordTest, OnlyNumbersGiveTheRange)
{
    const RecordCase& c = GetParam();
    Open();
    SimHost::Element& e = host->PlaceObject("rf_rebar");
    SimHost::GdlParams& params = e.Object().params;
    params.erase(std::remove_if(params.begin(), params.end(),
                                [](const SimHost::GdlParam& p) {
                                    return p.name == "minApiVersion" || p.name == "maxApiVersion";
                                }),
                 params.end());
    params.insert(params.end(), c.records.begin(), c.records.end());
    RunCommand({e.guid});
    if (c.refused) {
        ASSERT_EQ(host->recorder.alerts.size(), 1u);
        EXPECT_EQ(host->recorder.alerts[0], host->session.AddOnString(130, 49));
    } else {
        EXPECT_TRUE(host->recorder.alerts.empty()) << host->recorder.alerts[0];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VersionRecordTest,
    ::testing::Values(
        RecordCase{"textMinimum", {Text("minApiVersion", u"300"), Number("maxApiVersion", 400)}, true},
        RecordCase{"textMaximum", {Number("minApiVersion", 300), Text("maxApiVersion", u"400")}, true},
        RecordCase{"arrayMinimum", {Numbers("minApiVersion", {300}), Number("maxApiVersion", 400)}, true},
        RecordCase{"arrayMaximum", {Number("minApiVersion", 300), Numbers("maxApiVersion", {400, 500})}, true},
        RecordCase{"numberAfterAText",
                   {Text("minApiVersion", u"999"), Number("minApiVersion", 300), Number("maxApiVersion", 400)},
                   false}),
    [](const ::testing::TestParamInfo<RecordCase>& info) { return std::string(info.param.name); });

TEST_F(PreCommandTest, FirstRecordOfANameDecides)
{
    Open();
    SimHost::Element& e = host->PlaceObject("rf_rebar");
    e.Object().params.push_back(Number("minApiVersion", 400));  // a later record of the same name
    RunCommand({e.guid});
    EXPECT_TRUE(host->recorder.alerts.empty());
}

TEST_F(PreCommandTest, FailedRecomputeInRangeShowsTheCode)
{
    Open();
    API_Guid bar = Rebar();
    host->faultPlan.FailRequest("RPAS", static_cast<GSErrCode>(0x81060310), 1);
    RunCommand({bar});
    ASSERT_EQ(host->recorder.alerts.size(), 1u);
    EXPECT_EQ(host->recorder.alerts[0], "Error: " + std::to_string(static_cast<GSErrCode>(0x81060310)));
    EXPECT_FALSE(host->recorder.progressWindows.back().open);
}

TEST_F(PreCommandTest, CancelEndsQuietlyAndClosesTheWindow)
{
    Open();
    API_Guid a = Rebar(), b = Rebar();
    host->user.cancelAtCheck = host->recorder.cancelChecks + 1;
    RunCommand({a, b});
    EXPECT_TRUE(host->recorder.alerts.empty());
    ASSERT_EQ(host->recorder.progressWindows.size(), 1u);
    EXPECT_TRUE(host->recorder.progressWindows[0].cancelled);
    EXPECT_FALSE(host->recorder.progressWindows[0].open);
    EXPECT_EQ(CountOf(host->recorder.callLog, "GetElement"), 0u);
}

// A query of the window that fails is no cancel of the user's: the check
// goes on and reaches the object.
TEST_F(PreCommandTest, FailedCancelQueryIsNoCancel)
{
    Open();
    API_Guid bar = Rebar({Number("minApiVersion", 351), Number("maxApiVersion", 400)});
    host->faultPlan.FailRequest("CANC", static_cast<GSErrCode>(0x81060310), 1);
    RunCommand({bar});
    ASSERT_EQ(host->recorder.alerts.size(), 1u) << "the object was examined";
    EXPECT_EQ(host->recorder.alerts[0], host->session.AddOnString(130, 49));
    ASSERT_EQ(host->recorder.progressWindows.size(), 1u);
    EXPECT_FALSE(host->recorder.progressWindows[0].cancelled);
    EXPECT_FALSE(host->recorder.progressWindows[0].open);
}

struct ProgressCase {
    int items;
    Int16 text;  // entry of string list 131
    bool warning;
};

class ProgressPhaseTest : public PreCommandTest, public ::testing::WithParamInterface<ProgressCase> {};

// Above 200 items the phase warns that it takes a while.
TEST_P(ProgressPhaseTest, WarningOnlyAboveTwoHundredItems)
{
    const ProgressCase& c = GetParam();
    Open();
    std::vector<API_Guid> many;
    for (int i = 0; i < c.items; ++i)
        many.push_back(host->model.Add(API_WallID).guid);
    RunCommand(many);
    // The check's window first; the command's own follows it.
    ASSERT_EQ(host->recorder.progressWindows.size(), 2u);
    ASSERT_EQ(host->recorder.progressWindows[0].phases.size(), 1u);
    const SimHost::ProgressPhase& phase = host->recorder.progressWindows[0].phases[0];
    EXPECT_EQ(phase.text, host->session.AddOnString(131, c.text));
    EXPECT_EQ(phase.warning, c.warning);
    EXPECT_EQ(phase.maximum, c.items);
}

INSTANTIATE_TEST_SUITE_P(Boundary, ProgressPhaseTest,
                         ::testing::Values(ProgressCase{200, 11, false}, ProgressCase{201, 13, true}),
                         [](const ::testing::TestParamInfo<ProgressCase>& info) {
                             return std::to_string(info.param.items) + "Items";
                         });

TEST_F(PreCommandTest, ItemsTheHostCannotTypeAreSkipped)
{
    Open();
    API_Guid bar = Rebar({Number("minApiVersion", 400)});
    API_Guid wall = host->model.Add(API_WallID).guid;
    host->faultPlan.FailRequest("NTOE", APIERR_BADID, 1);  // the first item's type is unknown
    RunCommand({wall, bar});
    ASSERT_EQ(host->recorder.alerts.size(), 1u) << "the item after it is still examined";
    EXPECT_EQ(host->recorder.alerts[0], host->session.AddOnString(130, 49));
}

TEST_F(PreCommandTest, UnreadableSelectionEndsWithoutMessage)
{
    Open();
    host->faultPlan.FailSlot(HostSlot::GetSelection, static_cast<GSErrCode>(0x81060310), 1);
    RunCommand({Rebar()});
    EXPECT_TRUE(host->recorder.alerts.empty());
    EXPECT_EQ(CountOf(host->recorder.requestLog, "IPWD"), 0u);
}

// A container without rf_single_rebar: its message, and no later part is
// searched.
TEST_F(PreCommandTest, MissingPartIsNamedAndEndsTheSearch)
{
    SimHost::AddOnFolder folder(ADDON_PATH, false);
    std::ifstream in(SimHost::ActiveLibraries::ContainerBeside(ADDON_PATH));
    std::stringstream text;
    text << in.rdbuf();
    std::string lcf = text.str();
    size_t at = lcf.find("part rf_single_rebar");
    size_t end = lcf.find("end\n", at);
    lcf.erase(at, end + 4 - at);
    folder.AddFile(SimHost::ActiveLibraries::ContainerBeside(folder.AddOnPath()).substr(folder.Folder().size() + 1), lcf);
    std::string error;
    ASSERT_TRUE(host->session.LoadAddOn(folder.AddOnPath(), error)) << error;
    ASSERT_TRUE(host->session.StartAddOn());
    host->user.RunMenuCommand(32510, 1);
    RunCommand({});
    ASSERT_EQ(host->recorder.alerts.size(), 1u);
    EXPECT_EQ(host->recorder.alerts[0], host->session.AddOnString(130, 69));
    EXPECT_EQ(CountOf(host->recorder.callLog, "SearchLibraryPart"), 2u);
    EXPECT_EQ(CountOf(host->recorder.callLog, "GetSelection"), 0u);
    host->session.UnloadAddOn(true);
}

TEST_F(PreCommandTest, ContainerActiveElsewhereIsAddedAgain)
{
    SimHost::AddOnFolder copy(ADDON_PATH, true);
    Open();
    size_t before = host->libraries.active.size();
    std::string error;
    ASSERT_TRUE(host->libraries.Activate(IO::Location(SimHost::ActiveLibraries::ContainerBeside(copy.AddOnPath())), error)) << error;
    // A fresh host whose only active container is the copy elsewhere.
    host->libraries.active.erase(host->libraries.active.begin(), host->libraries.active.begin() + static_cast<long>(before));
    ASSERT_EQ(host->libraries.active.size(), 1u);
    RunCommand({});
    ASSERT_EQ(host->libraries.active.size(), 2u);
    EXPECT_EQ(host->libraries.active[1].location, IO::Location(SimHost::ActiveLibraries::ContainerBeside(ADDON_PATH)));
}

TEST_F(PreCommandTest, SuspendGroupsBracketsTheCommand)
{
    Open();
    host->model.suspendGroups = true;
    Int32 before = host->recorder.suspendGroupToggles;
    RunCommand({});
    EXPECT_EQ(host->recorder.suspendGroupToggles, before) << "a mode already on is left alone";
    host->model.suspendGroups = false;
    RunCommand({});
    EXPECT_EQ(host->recorder.suspendGroupToggles, before + 2);
    EXPECT_FALSE(host->model.suspendGroups);
}

// A toggle that did not happen is not undone: the user's mode stays off.
TEST_F(PreCommandTest, FailedToggleOnIsNotToggledBack)
{
    Open();
    host->model.suspendGroups = false;
    Int32 before = host->recorder.suspendGroupToggles;
    host->faultPlan.FailRequest("SUSP", static_cast<GSErrCode>(0x81060310), 1);
    RunCommand({});
    EXPECT_FALSE(host->model.suspendGroups);
    EXPECT_EQ(host->recorder.suspendGroupToggles, before);
    RunCommand({});
    EXPECT_FALSE(host->model.suspendGroups) << "the next command brackets as usual";
    EXPECT_EQ(host->recorder.suspendGroupToggles, before + 2);
}

// Any one failing host call during the command ends it cleanly.
TEST(PreCommandSweepTest, EveryCallOfTheCheckMayFail)
{
    SweepEachHostCall(
        [](SimHost::Host& host) {
            host.session.StartAddOn();
            host.user.RunMenuCommand(32510, 1);
            API_Guid bar = host.PlaceObject("rf_rebar").guid;
            API_Guid wall = host.model.Add(API_WallID).guid;
            host.user.ChangeSelection({bar, wall});
        },
        [](SimHost::Host& host) { host.user.ClickPaletteEntry(CuttingListEntry); });
}

}  // namespace PreCommandTests

namespace PreCommandTests {

std::string ShippedContainer()
{
    std::ifstream in(SimHost::ActiveLibraries::ContainerBeside(ADDON_PATH));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ContainerName() { return SimHost::ActiveLibraries::ContainerBeside(ADDON_PATH).substr(std::string(ADDON_PATH).rfind('/') + 1); }

// A container the host refuses: the alert, no crash, the palette opens.
TEST_F(PreCommandTest, BrokenContainerIsRefusedByTheHost)
{
    SimHost::AddOnFolder folder(ADDON_PATH, false);
    folder.AddFile(ContainerName(), "part rf_rebar 4\nend\n");
    std::string error;
    ASSERT_TRUE(host->session.LoadAddOn(folder.AddOnPath(), error)) << error;
    ASSERT_TRUE(host->session.StartAddOn());
    host->user.RunMenuCommand(32510, 1);
    ASSERT_EQ(host->recorder.alerts.size(), 1u);
    EXPECT_EQ(host->recorder.alerts[0], host->session.AddOnString(130, 45));
    EXPECT_TRUE(host->libraries.active.empty());
    bool named = false;
    for (const auto& e : host->recorder.events)
        named = named || (e.find("library refused") != std::string::npos && e.find(":1: part 'rf_rebar' has no unique ID") != std::string::npos);
    EXPECT_TRUE(named);
    EXPECT_NE(host->user.AddOnPalette(), nullptr);
    host->session.UnloadAddOn(true);
}

// Parts of another revision are the add-on's parts all the same.
TEST_F(PreCommandTest, OtherRevisionOfThePartsIsRecognised)
{
    std::string lcf = ShippedContainer();
    for (size_t at = lcf.find("-{00000000-0000-0000-0000-000000000000}"); at != std::string::npos;
         at = lcf.find("-{00000000-0000-0000-0000-000000000000}", at))
        lcf.replace(at, 39, "-{11111111-2222-3333-4444-555555555555}");
    SimHost::AddOnFolder folder(ADDON_PATH, false);
    folder.AddFile(ContainerName(), lcf);
    Open(folder.AddOnPath());
    API_Guid bar = Rebar({Number("minApiVersion", 351), Number("maxApiVersion", 400)});
    RunCommand({bar});
    ASSERT_EQ(host->recorder.alerts.size(), 1u) << "the object was examined as one of the add-on's";
    EXPECT_EQ(host->recorder.alerts[0], host->session.AddOnString(130, 49));
    host->session.UnloadAddOn(true);
}

}  // namespace PreCommandTests

namespace PreCommandTests {

// Any one failing host call while the palette opens from the menu, follows
// a selection and runs a command leaves no fault and no leak.
TEST(PaletteSweepTest, EveryCallOfOpeningAndCommandsMayFail)
{
    API_Guid wall{}, bar{};
    SweepEachHostCall(
        [&](SimHost::Host& host) {
            host.session.StartAddOn();
            std::string error;
            host.libraries.Activate(IO::Location(host.session.DefaultLibraryPath()), error);
            wall = host.model.Add(API_WallID).guid;
            bar = host.PlaceObject("rf_rebar").guid;
            host.model.Select({bar, wall});
        },
        [&](SimHost::Host& host) {
            host.user.RunMenuCommand(32510, 1);
            host.user.ChangeSelection({wall, bar});
            host.user.ClickPaletteEntry(CuttingListEntry);
            host.user.ChoosePaletteItem(BeamEntryIndex, 2);
            host.user.SendPaletteMessage(APIPalMsg_DisableItems_Begin);
            host.user.SendPaletteMessage(APIPalMsg_DisableItems_End);
        });
}

}  // namespace PreCommandTests
