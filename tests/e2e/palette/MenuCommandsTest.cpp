// The menu commands: loading the library and opening the palette, and the
// user's manual.
#include "tests/e2e/palette/PaletteFixture.hpp"

namespace {

using MenuCommandsTest = PaletteTest;

struct StartCase {
    const char* name;
    Int16 menu;
    Int32 item;
    bool libraryBeside;
};

class MenuStartTest : public PaletteTest, public ::testing::WithParamInterface<StartCase> {};

// Both menus load the library and open the palette; a library that cannot
// be loaded is reported and the palette opens all the same.
TEST_P(MenuStartTest, LoadsTheLibraryAndShowsThePalette)
{
    const StartCase& c = GetParam();
    StartInFolder(c.libraryBeside);
    EXPECT_EQ(host->user.RunMenuCommand(c.menu, c.item), NoError);
    if (c.libraryBeside) {
        ASSERT_EQ(host->libraries.active.size(), 1u);
        EXPECT_EQ(host->libraries.active[0].location, IO::Location(SimHost::ActiveLibraries::ContainerBeside(host->session.AddOnPath())));
        EXPECT_TRUE(host->recorder.alerts.empty());
    } else {
        EXPECT_TRUE(host->libraries.active.empty());
        ASSERT_EQ(host->recorder.alerts.size(), 1u);
        EXPECT_EQ(host->recorder.alerts[0], host->session.AddOnString(130, 45));
    }
    ASSERT_NE(host->user.AddOnPalette(), nullptr);
    EXPECT_TRUE(Palette().IsVisible());
    EXPECT_EQ(host->recorder.suspendGroupToggles, 2);
    EXPECT_FALSE(host->model.suspendGroups);
}

INSTANTIATE_TEST_SUITE_P(Menus, MenuStartTest,
                         ::testing::Values(StartCase{"OwnMenu", 32510, 1, true}, StartCase{"OwnMenuNoLibrary", 32510, 1, false},
                                           StartCase{"HostMenuItem", 32515, 1, true},
                                           StartCase{"HostMenuItemNoLibrary", 32515, 1, false}),
                         [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

// The mode is on while any item runs, unless it was on already; the
// dialogs' rectangles are reset for every item.
TEST_F(MenuCommandsTest, EveryItemRunsWithSuspendedGroups)
{
    ASSERT_TRUE(Start());
    Int32 resets = DG::UserInput::DialogRectangleResets();
    host->recorder.requestLog.clear();
    EXPECT_EQ(host->user.RunMenuCommand(32510, 1), NoError);
    ASSERT_GE(host->recorder.requestLog.size(), 3u);
    EXPECT_EQ(host->recorder.requestLog[0], "ISSG");
    EXPECT_EQ(host->recorder.requestLog[1], "SUSP");
    EXPECT_EQ(host->recorder.requestLog.back(), "SUSP");
    EXPECT_EQ(Count(host->recorder.requestLog, "SUSP"), 2u);

    EXPECT_EQ(host->user.RunMenuCommand(32510, 7), NoError);  // no such item: only the steps around it
    EXPECT_EQ(host->recorder.suspendGroupToggles, 4);
    EXPECT_EQ(DG::UserInput::DialogRectangleResets(), resets + 2);

    host->model.suspendGroups = true;
    EXPECT_EQ(host->user.RunMenuCommand(32510, 2), NoError);
    EXPECT_EQ(host->recorder.suspendGroupToggles, 4);
    EXPECT_TRUE(host->model.suspendGroups);
    EXPECT_TRUE(host->recorder.shellCalls.empty()) << "no manual beside the add-on's build";
}

struct ManualCase {
    const char* name;
    std::vector<std::string> files;
    std::vector<std::string> folders;
    const char* opened;  // empty: nothing is opened
};

class UsersManualTest : public PaletteTest, public ::testing::WithParamInterface<ManualCase> {};

TEST_P(UsersManualTest, OpensTheFirstPdfEntry)
{
    const ManualCase& c = GetParam();
    StartInFolder(true);
    for (const auto& f : c.files)
        host->session.addOnFolder->AddFile(f, "%PDF-1.4\n");
    for (const auto& f : c.folders)
        host->session.addOnFolder->AddFolder(f);
    EXPECT_EQ(host->user.RunMenuCommand(32510, 2), NoError);
    EXPECT_TRUE(host->recorder.alerts.empty());
    EXPECT_EQ(host->user.AddOnPalette(), nullptr);
    if (std::string(c.opened).empty()) {
        EXPECT_TRUE(host->recorder.shellCalls.empty());
        return;
    }
    ASSERT_EQ(host->recorder.shellCalls.size(), 1u);
    const Win::ShellExecuteCall& call = host->recorder.shellCalls[0];
    EXPECT_EQ(call.file, IO::Location(host->session.addOnFolder->Folder() + "/" + c.opened).ToPath());
    EXPECT_EQ(call.operation, "open");
    EXPECT_EQ(call.parameters, "");
    EXPECT_EQ(call.directory, "");
    EXPECT_EQ(call.showCommand, 10);
    EXPECT_EQ(call.window, host->Api().MainWindow());
}

INSTANTIATE_TEST_SUITE_P(
    Folders, UsersManualTest,
    ::testing::Values(ManualCase{"NoManual", {"readme.txt"}, {"docs"}, ""},
                      // Entries come in name order; the first PDF wins.
                      ManualCase{"TwoPdfs", {"zz-manual.pdf", "b-manual.pdf"}, {}, "b-manual.pdf"},
                      // The extension is compared exactly.
                      ManualCase{"UpperCasePdf", {"Manual.PDF", "Manual.Pdf"}, {}, ""},
                      // The folder flag is not looked at.
                      ManualCase{"FolderNamedPdf", {"x-manual.pdf"}, {"a-docs.pdf"}, "a-docs.pdf"}),
    [](const ::testing::TestParamInfo<ManualCase>& info) { return std::string(info.param.name); });

// The path goes to the shell whole, however long the folder names are.
TEST_F(MenuCommandsTest, ManualPathIsHandedOverWhole)
{
    std::string longName(200, 'n');
    StartInFolder(true, longName + "1/" + longName + "2/" + longName + "3");
    host->session.addOnFolder->AddFile("manual.pdf");
    host->user.RunMenuCommand(32510, 2);
    ASSERT_EQ(host->recorder.shellCalls.size(), 1u);
    std::string expected = host->session.addOnFolder->Folder() + "/manual.pdf";
    EXPECT_GT(expected.size(), 600u);
    EXPECT_EQ(host->recorder.shellCalls[0].file, IO::Location(expected).ToPath());
}

}  // namespace
