// When the add-on goes, the host accounts for the wall-geometry jobs of its
// run. The Wall command ends every job it begins, whatever the library
// beside the add-on answers (a face, an answer it cannot read) or with the
// build's own library: no fault at unload. A job the run left open is the
// add-on's fault.
#include "tests/e2e/palette/PaletteFixture.hpp"
#include "platform/vomdix/JobLedger.hpp"
#include "tests/e2e/walls/PlacingTestSupport.hpp"
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

class WallJobsAtUnloadTest : public PaletteTest {};

TEST_F(WallJobsAtUnloadTest, EveryJobOfTheWallCommandIsEndedAndOneLeftOpenIsAFault)
{
    // A face 2 long and 1 high, along the wall from its begin.
    const std::string face = "{\"polygons\":[{\"loops\":[[{\"x\":0,\"z\":0},{\"x\":-2,\"z\":0},{\"x\":-2,\"z\":1},"
                             "{\"x\":0,\"z\":1},{\"x\":0,\"z\":0}]],\"outerIndex\":0}]}";
    struct Case {
        const char* name;
        bool scriptedLibrary;
        std::string reply;
        bool leaveJobOpen;
        std::vector<std::string> faults;
    } cases[] = {
        {"the library answers a face", true, face, false, {}},
        {"the library's answer is unreadable", true, "{\"polygons\":[{", false, {}},
        {"the build's own library", false, "", false, {}},
        {"a job left open", false, "", true, {"wall-geometry jobs never ended: 1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.reset();  // one host at a time
        host = std::make_unique<SimHost::Host>();
        VOMDIX::ResetJobCounts();
        host->session.addOnFolder = std::make_unique<SimHost::AddOnFolder>(ADDON_PATH, true);
        const std::string folder = host->session.addOnFolder->Folder();
        if (c.scriptedLibrary) {
            std::filesystem::copy_file(VOMDIX_SCRIPTED_PATH, folder + "/libVOMDIX.so");
            std::ofstream(folder + "/reply.json") << c.reply;
            setenv("VOMDIX_REPLY_FILE", (folder + "/reply.json").c_str(), 1);
            unsetenv("VOMDIX_REPLY_LENGTH");
        }
        std::string error;
        ASSERT_TRUE(host->session.LoadAddOn(host->session.addOnFolder->AddOnPath(), error)) << error;
        ASSERT_TRUE(host->session.StartAddOn());
        OpenFromMenu();
        SimHost::Element& wall = host->model.Add(API_WallID);
        wall.As<SimHost::WallPart>()->record.begC = {0, 0};
        wall.As<SimHost::WallPart>()->record.endC = {6, 0};
        wall.As<SimHost::WallPart>()->record.thickness = 0.3;
        host->user.ChangeSelection({wall.guid});
        host->user.settingsDialogs.push_back(PlacingTest::Layer("rf_mesh", {PlacingTest::Number("iPosition", 2)}));
        SimHost::PointAnswer click;
        click.click = {3, 0.1, 0};
        host->user.pointInputs.Give(click);
        ASSERT_TRUE(host->user.ClickPaletteEntry(Wall));
        const VOMDIX::JobCounts counts = VOMDIX::GetJobCounts();
        EXPECT_GT(counts.begun, 0) << "the command ran no wall-geometry job";
        EXPECT_EQ(counts.ended, counts.begun);

        const Int32 job = c.leaveJobOpen ? VOMDIX::LedgerBeginJob() : 0;
        host->session.UnloadAddOn(true);
        unsetenv("VOMDIX_REPLY_FILE");
        std::vector<std::string> faults;
        for (const auto& f : host->recorder.faults)
            faults.push_back(f.what);
        EXPECT_EQ(faults, c.faults);
        host->recorder.faults.clear();
        if (c.leaveJobOpen)
            VOMDIX::LedgerEndJob(job);
    }
}

}  // namespace
