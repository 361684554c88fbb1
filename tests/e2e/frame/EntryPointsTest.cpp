#include "tests/e2e/AddOnFixture.hpp"
#include "platform/api/HostTable.hpp"
#include <algorithm>
#include <dlfcn.h>

namespace {

bool Called(const SimHost::Host& host, const char* slot)
{
    return std::find(host.recorder.callLog.begin(), host.recorder.callLog.end(), slot) != host.recorder.callLog.end();
}

using EntryPointsTest = AddOnTest;

TEST_F(EntryPointsTest, StartUpRegistersMenusHandlersAndPalette)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(host->session.environmentResult, 2);
#if HOST_VERSION == 24
    EXPECT_EQ(host->session.addOnName, "[zolva] Reinforcement");
    EXPECT_EQ(host->session.addOnDescription, "[zolva] Reinforcement for ArchiCAD v350");
#else
    EXPECT_EQ(host->session.addOnName, host->session.AddOnString(32501, 1));
    EXPECT_EQ(host->session.addOnDescription, host->session.AddOnString(32501, 2) + " v350");
    EXPECT_NE(host->session.addOnDescription, "[zolva] Reinforcement for ArchiCAD v350");
#endif
    ASSERT_EQ(host->session.menus.size(), 2u);
    EXPECT_EQ(host->session.menus[0].menuStrResID, 32510);
    EXPECT_EQ(host->session.menus[0].promptStrResID, 32510);
    EXPECT_EQ(host->session.menus[0].position, 0);
    EXPECT_EQ(host->session.menus[0].flags, 1);
    EXPECT_EQ(host->session.menus[1].menuStrResID, 32515);
    EXPECT_EQ(host->session.menus[1].promptStrResID, 32515);
    EXPECT_EQ(host->session.menus[1].position, 12);
    EXPECT_EQ(host->session.menus[1].flags, 0);
    EXPECT_EQ(host->session.menuHandlers.count(32510), 1u);
    EXPECT_EQ(host->session.menuHandlers.count(32515), 1u);
    EXPECT_NE(host->session.elementEventHandler, nullptr);
    EXPECT_NE(host->session.selectionChangeHandler, nullptr);
    ASSERT_EQ(host->session.palettes.size(), 1u);
    EXPECT_EQ(host->session.palettes[0].referenceID, 0x33743D54);
    EXPECT_EQ(host->session.palettes[0].flags, 0x97);
    EXPECT_EQ(host->session.palettes[0].guid, "47F84345-4D48-41A5-9EDE-821629CE5393");
    EXPECT_EQ(host->session.keepInMemoryCalls, 3);
    EXPECT_EQ(host->session.initializeResult, NoError);
}

TEST_F(EntryPointsTest, EntryPointsBeforeTheTableDoNothing)
{
    Load(/*handOverTable=*/false);
    const API_EntryRecord& entry = host->session.Entry();
    API_EnvirParams envir{};
    envir.serverInfo.serverApplication = 1;
    EXPECT_EQ(entry.checkEnvironment(&envir), 0);
    EXPECT_EQ(entry.registerInterface(), static_cast<GSErrCode>(0x81060001));
    EXPECT_EQ(entry.initialize(host->session.Token()), static_cast<GSErrCode>(0x81060001));
    EXPECT_EQ(entry.freeData(), static_cast<GSErrCode>(0x81060001));
    EXPECT_TRUE(envir.addOnInfo.name.IsEmpty());
    EXPECT_TRUE(host->recorder.callLog.empty());
    EXPECT_TRUE(host->session.menus.empty());
    EXPECT_TRUE(host->session.palettes.empty());
    EXPECT_TRUE(host->recorder.sleeps.empty());
    host->session.UnloadAddOn(false);
}

TEST_F(EntryPointsTest, EntryRecordLayout)
{
    Load();
    const API_EntryRecord& entry = host->session.Entry();
    EXPECT_EQ(entry.stamp, HOST_VERSION == 24 ? 0x00180002u : 0x00190001u);
    EXPECT_EQ(entry.hostVersion, HOST_VERSION == 24 ? 24000u : 25000u);
    EXPECT_EQ(entry.filler, 0u);
    const char* raw = reinterpret_cast<const char*>(&entry);
    for (USize i = 44; i < sizeof entry; ++i)
        EXPECT_EQ(raw[i], 0) << "byte " << i;
}

TEST_F(EntryPointsTest, OtherHostKindIsNotServed)
{
    host->session.environmentKind = 2;
    EXPECT_FALSE(Start());
    EXPECT_EQ(host->session.environmentResult, 0);
    EXPECT_TRUE(host->session.addOnName.empty());
    EXPECT_TRUE(host->session.addOnDescription.empty());
    EXPECT_EQ(host->session.keepInMemoryCalls, 0);
    EXPECT_TRUE(host->session.menus.empty());
}

// Initialisation stops at the first failing step; the steps before it
// stay in effect and the host is still asked to keep the add-on loaded.
struct InitFailureCase {
    HostSlot failing;
    bool elementEventsInstalled;
    bool selectionInstalled;
    USize menuHandlers;
};

class InitialisationFailureTest : public AddOnTest, public ::testing::WithParamInterface<InitFailureCase> {};

TEST_P(InitialisationFailureTest, StopsAtTheFirstFailure)
{
    const InitFailureCase& c = GetParam();
    const GSErrCode code = static_cast<GSErrCode>(0x81060310);
    Load();
    host->faultPlan.FailSlot(c.failing, code, 1);
    EXPECT_FALSE(host->session.StartAddOn());
    EXPECT_EQ(host->session.initializeResult, code);
    EXPECT_EQ(host->session.elementEventHandler != nullptr, c.elementEventsInstalled);
    EXPECT_EQ(host->session.selectionChangeHandler != nullptr, c.selectionInstalled);
    EXPECT_EQ(host->session.menuHandlers.size(), c.menuHandlers);
    EXPECT_TRUE(host->session.palettes.empty());
    EXPECT_EQ(host->session.keepInMemoryCalls, 3);
}

std::string CaseName(const ::testing::TestParamInfo<InitFailureCase>& info)
{
    return HostSlotName(static_cast<UInt32>(info.param.failing));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, InitialisationFailureTest,
    ::testing::Values(InitFailureCase{HostSlot::InstallMenuHandler, false, false, 0},
                      InitFailureCase{HostSlot::CatchElementEvents, false, false, 2},
                      InitFailureCase{HostSlot::CatchSelectionChange, true, false, 2},
                      InitFailureCase{HostSlot::RegisterPalette, true, true, 2}),
    CaseName);

TEST_F(EntryPointsTest, SecondMenuHandlerFailureStopsBeforeElementEvents)
{
    Load();
    // InstallMenuHandler is the 4th error-returning call: two menus, then
    // the first handler, then the second.
    host->faultPlan.FailNthCall(4, static_cast<GSErrCode>(0x81060310));
    EXPECT_FALSE(host->session.StartAddOn());
    EXPECT_EQ(host->session.initializeResult, static_cast<GSErrCode>(0x81060310));
    EXPECT_EQ(host->session.menuHandlers.size(), 1u);
    EXPECT_EQ(host->session.elementEventHandler, nullptr);
    EXPECT_FALSE(Called(*host, "CatchElementEvents"));
}

TEST_F(EntryPointsTest, FailedMenuRegistrationIsIgnored)
{
    Load();
    host->faultPlan.FailSlot(HostSlot::RegisterMenu, static_cast<GSErrCode>(0x81060310));
    host->session.StartAddOn();
    EXPECT_EQ(host->session.registerResult, NoError);
    EXPECT_EQ(host->session.keepInMemoryCalls, 3);
    // Without its menus the host refuses their handlers, which ends the
    // initialisation there.
    EXPECT_EQ(host->session.initializeResult, APIERR_BADPARS);
    EXPECT_TRUE(host->session.palettes.empty());
}

TEST_F(EntryPointsTest, EmptySlotsAnswerMissingFunction)
{
    // The add-on copies the table when it is handed over, so slots are
    // emptied before loading.
    host->faultPlan.EmptySlot(HostSlot::RegisterPalette);
    host->faultPlan.EmptySlot(HostSlot::KeepInMemory);
    EXPECT_FALSE(Start());
    EXPECT_EQ(host->session.environmentResult, 2);
    EXPECT_EQ(host->session.initializeResult, static_cast<GSErrCode>(0x81060387));
    EXPECT_EQ(host->session.keepInMemoryCalls, 0);
    EXPECT_TRUE(host->session.palettes.empty());
    EXPECT_NE(host->session.selectionChangeHandler, nullptr);
}

TEST_F(EntryPointsTest, FreeDataWaitsThenUnregistersThePalette)
{
    ASSERT_TRUE(Start());
    host->recorder.callLog.clear();
    host->session.UnloadAddOn(true);
    EXPECT_EQ(host->session.freeDataResult, NoError);
    ASSERT_EQ(host->recorder.sleeps.size(), 1u);
    EXPECT_EQ(host->recorder.sleeps[0], 3000u);
    ASSERT_EQ(host->recorder.callLog.size(), 2u);
    EXPECT_EQ(host->recorder.callLog[0], "Sleep");
    EXPECT_EQ(host->recorder.callLog[1], "UnregisterPalette");
    EXPECT_TRUE(host->session.palettes.empty());
    ASSERT_EQ(host->session.unregisteredPalettes.size(), 1u);
    EXPECT_EQ(host->session.unregisteredPalettes[0], 0x33743D54);
    EXPECT_TRUE(host->recorder.debugLines.empty());
}

TEST_F(EntryPointsTest, UnloadWithoutFreeDataReportsAbnormalTermination)
{
    ASSERT_TRUE(Start());
    host->session.UnloadAddOn(false);
    ASSERT_EQ(host->recorder.debugLines.size(), 1u);
    EXPECT_EQ(host->recorder.debugLines[0], std::string("Abnormal add-on termination (\"") + ADDON_PATH + "\")");
}

TEST_F(EntryPointsTest, UnloadAfterFreeDataIsQuiet)
{
    ASSERT_TRUE(Start());
    host->session.UnloadAddOn(true);
    EXPECT_TRUE(host->recorder.debugLines.empty());
}

TEST_F(EntryPointsTest, OtherHostVersionIsRefusedNamingBoth)
{
    std::string error;
    EXPECT_FALSE(host->session.LoadAddOn(OTHER_ADDON_PATH, error));
    EXPECT_FALSE(host->session.AddOnLoaded());
#if HOST_VERSION == 24
    EXPECT_NE(error.find("0x00190001"), std::string::npos) << error;
    EXPECT_NE(error.find("25000"), std::string::npos) << error;
    EXPECT_NE(error.find("0x00180002"), std::string::npos) << error;
    EXPECT_NE(error.find("24000"), std::string::npos) << error;
#else
    EXPECT_NE(error.find("0x00180002"), std::string::npos) << error;
    EXPECT_NE(error.find("0x00190001"), std::string::npos) << error;
#endif
    EXPECT_FALSE(host->session.LoadAddOn("/nonexistent/Armbrix.so", error));
    EXPECT_NE(error.find("not found"), std::string::npos) << error;
}

TEST_F(EntryPointsTest, UnloadReallyUnloadsTheLibrary)
{
    ASSERT_TRUE(Start());
    host->session.UnloadAddOn(true);
    void* still = dlopen(ADDON_PATH, RTLD_NOW | RTLD_NOLOAD);
    EXPECT_EQ(still, nullptr) << "the add-on stayed in memory after unloading";
    if (still != nullptr)
        dlclose(still);
    EXPECT_EQ(RSModuleOfFile(ADDON_PATH), InvalidResModule);
}

TEST_F(EntryPointsTest, TheLibraryExportsOnlyItsBinding)
{
    void* lib = dlopen(ADDON_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr);
    EXPECT_NE(dlsym(lib, "GetExportedFuncAddrs"), nullptr);
    EXPECT_NE(dlsym(lib, "SetImportedFuncAddrs"), nullptr);
    EXPECT_EQ(dlsym(lib, "GetResString"), nullptr);
    EXPECT_EQ(dlsym(lib, "_Z12GetResStringss"), nullptr);
    dlclose(lib);
}

}  // namespace

namespace {

// Any one failing host call during start-up and unload leaves a clean
// state: no crash, no add-on fault, no leaked handle.
TEST(EntryPointsSweepTest, EveryStartUpCallMayFail)
{
    SweepEachHostCall([](SimHost::Host&) {}, [](SimHost::Host& host) { host.session.StartAddOn(); }, 100);
}

}  // namespace
