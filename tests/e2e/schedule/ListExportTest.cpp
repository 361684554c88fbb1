// The palette's Export entry: the selected cutting list's table into the
// text file the user chooses, refusals, the dialog, and failing files.
#include "tests/e2e/palette/PaletteFixture.hpp"
#include "tests/e2e/SweepInvariant.hpp"
#include "platform/gs/Memory.hpp"
#include <fstream>
#include <iterator>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include "tests/support/GdlParams.hpp"

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace ListExportTests {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// The list's table of texts.
SimHost::GdlParam Texts(Int32 rows, Int32 columns, std::vector<std::u16string> values)
{
    return TestParams::Texts("tableContentTexts", rows, columns, std::move(values));
}

// The table of the tests: two rows, three columns, non-ASCII cells (UTF-8
// in both hosts, whatever their code page), a TAB and a line break kept.
const SimHost::GdlParam Table = Texts(2, 3, {u"Pos", u"\u00D8 mm", u"\u010Cas", u"1", u"12\t5", u"a\r\nb"});
const std::string TableBytes = "Pos\t\xC3\x98 mm\t\xC4\x8C" "as\r\n1\t12\t5\ta\r\nb\r\n";

class ListExportTest : public PaletteTest {
protected:
    void SetUp() override
    {
        PaletteTest::SetUp();
        char pattern[] = "/tmp/armbrix-export-XXXXXX";
        folder = mkdtemp(pattern);
        ASSERT_TRUE(Start());
        OpenFromMenu();
    }
    void TearDown() override
    {
        std::system(("rm -rf '" + folder + "'").c_str());
        PaletteTest::TearDown();
    }

    std::string File(const std::string& name) const { return folder + "/" + name; }

    API_Guid PlaceList(const SimHost::GdlParams& params = {Table}, Int32 layer = 1)
    {
        return host->PlaceObject("rf_list", params, layer).guid;
    }

    // The user selects the items (the palette follows) and clicks Export,
    // choosing `file` in the dialog (none: the user cancels it).
    void ExportSelecting(const std::vector<API_Guid>& selection, const std::string& file)
    {
        host->user.ChangeSelection(selection);
        if (file.empty())
            host->user.fileDialogs.Cancel();
        else
            host->user.fileDialogs.Choose(file);
        ASSERT_TRUE(host->user.ClickPaletteEntry(Export)) << "Export takes the click";
    }

    std::string folder;
};

TEST_F(ListExportTest, WritesTheTableByteForByte)
{
    API_Guid list = PlaceList();
    ExportSelecting({list}, File("list.txt"));
    EXPECT_TRUE(host->recorder.alerts.empty()) << host->recorder.alerts.front();
    EXPECT_EQ(ReadFile(File("list.txt")), TableBytes);
    ASSERT_EQ(host->user.fileDialogs.shown.size(), 1u);
    EXPECT_EQ(host->user.fileDialogs.shown[0].type, 4);
    ASSERT_EQ(host->user.fileDialogs.shown[0].filters.size(), 1u);
    EXPECT_EQ(host->user.fileDialogs.shown[0].filters[0], "\"*.txt\" (txt, extension added)");
    EXPECT_TRUE(host->recorder.changedElements.empty()) << "the export changes nothing in the model";
    EXPECT_EQ(std::count(host->recorder.requestLog.begin(), host->recorder.requestLog.end(), "RPAS"), 1)
        << "only the check asks the list to recompute; the export reads it as it is";
}

// A text file type the host knows already is the one the dialog offers;
// otherwise the add-on's own lives only as long as the command.
TEST_F(ListExportTest, DialogOffersTheHostsTextTypeWhenThereIsOne)
{
    API_Guid list = PlaceList();
    ExportSelecting({list}, File("own.txt"));
    ASSERT_EQ(host->user.fileDialogs.shown.size(), 1u);
    FTM::TypeID own = host->user.fileDialogs.shown[0].filterTypes.at(0);
    EXPECT_NE(own, FTM::UnknownType);
    EXPECT_FALSE(FTM::FileTypeManager::GetType(own, nullptr)) << "the add-on's type went with the command";

    FTM::FileTypeManager hostTypes("Host");
    FTM::TypeID text = hostTypes.AddType(FTM::FileType("Text document", "TXT", 0, 0, 0));
    ExportSelecting({list}, File("host.txt"));
    ASSERT_EQ(host->user.fileDialogs.shown.size(), 2u);
    EXPECT_EQ(host->user.fileDialogs.shown[1].filterTypes.at(0), text);
    EXPECT_EQ(host->user.fileDialogs.shown[1].filters.at(0), "\"*.txt\" (TXT, extension added)");
    EXPECT_EQ(ReadFile(File("host.txt")), TableBytes);
}

TEST_F(ListExportTest, NameWithoutExtensionGetsTxt)
{
    API_Guid list = PlaceList({Texts(1, 1, {u"x"})});
    ExportSelecting({list}, File("list"));
    EXPECT_EQ(ReadFile(File("list.txt")), "x\r\n");
    EXPECT_FALSE(Exists(File("list")));
}

// Every record of the name, one after the other; a table without rows
// writes nothing, rows without columns an empty line each.
TEST_F(ListExportTest, EveryTableRecordInTurn)
{
    struct Case {
        SimHost::GdlParams tables;
        std::string bytes;
    };
    const Case cases[] = {
        {{Texts(1, 2, {u"a", u"b"}), Texts(2, 1, {u"c", u"d"})}, "a\tb\r\nc\r\nd\r\n"},
        {{Texts(0, 3, {})}, ""},
        {{Texts(2, 0, {})}, "\r\n\r\n"},
    };
    int n = 0;
    for (const Case& c : cases) {
        API_Guid list = PlaceList();
        SimHost::Element* e = host->model.Find(list);
        SimHost::GdlParams params;
        for (const SimHost::GdlParam& p : e->Object().params)
            if (p.name != "tableContentTexts")
                params.push_back(p);
        params.insert(params.end(), c.tables.begin(), c.tables.end());
        e->Object().params = params;
        std::string file = File("list" + std::to_string(++n) + ".txt");
        ExportSelecting({list}, file);
        EXPECT_TRUE(Exists(file));
        EXPECT_EQ(ReadFile(file), c.bytes) << file;
    }
    EXPECT_TRUE(host->recorder.alerts.empty());
}

TEST_F(ListExportTest, ExistingLongerFileIsReplaced)
{
    std::ofstream(File("list.txt"), std::ios::binary) << std::string(4000, 'x');
    ExportSelecting({PlaceList()}, File("list.txt"));
    EXPECT_EQ(ReadFile(File("list.txt")), TableBytes);
}

TEST_F(ListExportTest, CancelledDialogWritesNothingAndSaysNothing)
{
    ExportSelecting({PlaceList()}, "");
    EXPECT_EQ(host->user.fileDialogs.shown.size(), 1u);
    EXPECT_TRUE(host->recorder.alerts.empty());
    EXPECT_EQ(std::system(("test -z \"$(ls -A '" + folder + "')\"").c_str()), 0) << "no file";
}

// Anything but one visible list: 130/53, no dialog, no file.
TEST_F(ListExportTest, RefusesAnythingButOneVisibleList)
{
    host->model.layers[2] = SimHost::Layer{"hidden", true, false};
    API_Guid list = PlaceList();
    API_Guid other = PlaceList();
    API_Guid hidden = PlaceList({Table}, 2);
    API_Guid wall = Add(API_WallID);
    API_Guid bar = host->PlaceObject("rf_rebar").guid;
    struct Case {
        const char* what;
        std::vector<API_Guid> selection;
    };
    const Case cases[] = {
        {"two lists", {list, other}},
        {"a list and a wall", {list, wall}},
        {"a bar", {bar}},
        {"a list on a hidden layer", {hidden}},
        {"nothing", {}},
    };
    for (const Case& c : cases) {
        host->recorder.alerts.clear();
        if (c.selection.empty()) {
            // The entry follows the selection; the selection empties after
            // the palette last heard of it.
            host->user.ChangeSelection({list});
            host->model.Select({});
            ASSERT_TRUE(host->user.ClickPaletteEntry(Export));
        } else {
            host->user.ChangeSelection(c.selection);
            ASSERT_TRUE(host->user.ClickPaletteEntry(Export)) << c.what;
        }
        ASSERT_EQ(host->recorder.alerts.size(), 1u) << c.what;
        EXPECT_EQ(host->recorder.alerts[0], host->session.AddOnString(130, 53)) << c.what;
    }
    EXPECT_TRUE(host->user.fileDialogs.shown.empty());
}

// The list's part gone from the library by the time the export looks for it.
TEST_F(ListExportTest, MissingListPartIsReported)
{
    API_Guid list = PlaceList();
    host->libraries.behaviours["rf_list"] = [](SimHost::Host& h, SimHost::Element&) { h.libraries.active.clear(); };
    ExportSelecting({list}, File("list.txt"));
    ASSERT_EQ(host->recorder.alerts.size(), 1u);
    EXPECT_EQ(host->recorder.alerts[0], host->session.AddOnString(130, 4));
    EXPECT_TRUE(host->user.fileDialogs.shown.empty());
    host->user.fileDialogs = SimHost::FileDialogScript();
}

// A file that cannot be made or written is no silent success.
TEST_F(ListExportTest, UnwritableFileIsReported)
{
    API_Guid list = PlaceList();
    // A folder, and a device with no room left.
    ASSERT_EQ(::mkdir(File("folder.txt").c_str(), 0777), 0);
    ASSERT_EQ(::symlink("/dev/full", File("full.txt").c_str()), 0);
    for (const std::string& file : {File("no-such-folder/list.txt"), File("folder.txt"), File("full.txt")}) {
        host->recorder.alerts.clear();
        ExportSelecting({list}, file);
        ASSERT_EQ(host->recorder.alerts.size(), 1u) << file;
        EXPECT_EQ(host->recorder.alerts[0], host->session.AddOnString(130, 73)) << file;
    }
    EXPECT_FALSE(Exists(File("no-such-folder")));
}

// Any one host call failing during an export: the model is left exactly
// as it was; once the user has chosen the file, it is either written whole
// without a word or not written at all and the user told once, so that a
// half-written file is never left as if it were done. A failure before the
// file dialog writes nothing (an unreadable selection ends the command
// without a word). No fault, no leak.
TEST(ListExportSweepTest, EveryCallOfAnExportMayFail)
{
    char pattern[] = "/tmp/armbrix-export-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    const std::string path = folder + "/list.txt";
    bool chosen = false, exists = false;
    std::string written;
    SweepInvariant::SweepSetup setup;
    setup.prepare = [&](SimHost::Host& host) {
        host.session.StartAddOn();
        host.user.RunMenuCommand(32510, 1);
        host.user.ChangeSelection({host.PlaceObject("rf_list", {Table}).guid});
        host.user.fileDialogs.Choose(path);
    };
    setup.command = [&](SimHost::Host& host) {
        host.user.ClickPaletteEntry(Export);
        chosen = !host.user.fileDialogs.shown.empty();
        exists = Exists(path);
        written = ReadFile(path);
        ::unlink(path.c_str());
    };
    Int64 runs = 0, whole = 0, told = 0, before = 0;
    for (Int64 n = 1;; ++n) {
        ASSERT_LT(n, 400) << "the export makes too many host calls";
        const std::string label = "call " + std::to_string(n) + " failing";
        const Int64 handles = GS::LiveMemoryHandleCount();
        SweepInvariant::Detail::Run run;
        ASSERT_TRUE(SweepInvariant::Detail::Play(setup, n, run, label));
        EXPECT_EQ(GS::LiveMemoryHandleCount(), handles) << label << ": leaked";
        if (!run.failed) {
            EXPECT_EQ(written, TableBytes) << "the fault-free export";
            break;
        }
        ++runs;
        EXPECT_EQ(run.after, run.before) << label << ": the export changed the model\n"
                                         << SweepInvariant::FirstDifference(run.before, run.after);
        if (!chosen) {
            ++before;
            EXPECT_FALSE(exists) << label << ": a file written without the user choosing it";
        } else if (exists && written == TableBytes) {
            ++whole;
            EXPECT_TRUE(run.alerts.empty()) << label << ": the whole file written, yet " << run.alerts.front();
        } else {
            ++told;
            EXPECT_FALSE(exists) << label << ": a half-written file left behind: \"" << written << "\"";
            EXPECT_EQ(run.alerts.size(), 1u) << label << ": a file not written is told once";
        }
    }
    EXPECT_GT(runs, 0);
    std::printf("[sweep] export: %lld runs: %lld ended before the file dialog, %lld written whole, %lld not "
                "written and told\n",
                static_cast<long long>(runs), static_cast<long long>(before), static_cast<long long>(whole),
                static_cast<long long>(told));
    std::system(("rm -rf '" + folder + "'").c_str());
}

// The host's memory running out at any one allocation of an export: the
// table is written whole or the user is told; no exception reaches the
// palette's boundary.
TEST_F(ListExportTest, EveryAllocationOfAnExportMayFail)
{
    API_Guid list = PlaceList();
    host->user.ChangeSelection({list});
    for (Int64 n = 1;; ++n) {
        ASSERT_LT(n, 200) << "the export makes too many allocations";
        host->recorder.alerts.clear();
        host->recorder.debugLines.clear();
        ::unlink(File("list.txt").c_str());
        host->user.fileDialogs.Choose(File("list.txt"));
        USize dialogs = host->user.fileDialogs.shown.size();
        GS::FailNthAllocation(n);
        host->user.ClickPaletteEntry(Export);
        bool failed = !GS::AllocationFailurePending();
        GS::FailNthAllocation(0);
        for (const std::string& line : host->recorder.debugLines)
            EXPECT_EQ(line.find("failed"), std::string::npos) << "allocation " << n << ": " << line;
        std::string written = ReadFile(File("list.txt"));
        if (!failed) {
            EXPECT_TRUE(host->recorder.alerts.empty());
            EXPECT_EQ(written, TableBytes);
            break;
        }
        if (host->recorder.alerts.empty() && host->user.fileDialogs.shown.size() > dialogs) {
            EXPECT_EQ(written, TableBytes) << "allocation " << n << ": no alert, so the whole table";
        } else if (host->user.fileDialogs.shown.size() > dialogs) {
            EXPECT_EQ(host->recorder.alerts.back(), host->session.AddOnString(130, 73)) << "allocation " << n;
            EXPECT_TRUE(written.empty() || written == TableBytes) << "allocation " << n << ": a partial file";
        } else {
            EXPECT_TRUE(written.empty()) << "allocation " << n;
            host->user.fileDialogs = SimHost::FileDialogScript();  // the answer not taken
        }
    }
}

}  // namespace ListExportTests
