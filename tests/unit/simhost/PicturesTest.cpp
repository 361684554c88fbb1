// The view and its pictures in the stand-in host: the temporary folder
// ('GSPF') and its states, the zoom, and the view saved as a JPEG picture
// that shows the plan, a complex object in its section.
#include "simhost/api/Requests.hpp"
#include "simhost/scenario/Steps.hpp"
#include "platform/api/HostRequests.hpp"
#include "platform/gs/Memory.hpp"
#include "platform/gx/GXImage.hpp"
#include <filesystem>
#include <gtest/gtest.h>
#include <list>
#include "tests/support/GdlParams.hpp"

namespace {

using TestParams::Number;
using TestParams::Numbers;

namespace fs = std::filesystem;
using SimHost::GdlParam;

template <HostSlot S> HostSlotFn<S> Slot(const SimHost::Host& host)
{
    return reinterpret_cast<HostSlotFn<S>>(host.Table()[static_cast<UInt32>(S)]);
}

class PicturesTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        host.reset();
        EXPECT_EQ(GS::LiveMemoryHandleCount(), handlesBefore);
    }

    GSErrCode Request(HostSlot slot, const char (&code)[5], void* p1, void* p2 = nullptr)
    {
        switch (slot) {
        case HostSlot::Environment: return Slot<HostSlot::Environment>(*host)(nullptr, RequestCode(code), p1, p2, nullptr);
        case HostSlot::Automate: return Slot<HostSlot::Automate>(*host)(nullptr, RequestCode(code), p1, p2, nullptr);
        default: return Slot<HostSlot::Database>(*host)(nullptr, RequestCode(code), p1, p2, nullptr);
        }
    }

    std::string TempFolder()
    {
        API_SpecFolderID kind = API_TempFolderID;
        IO::Location folder;
        EXPECT_EQ(Request(HostSlot::Environment, "GSPF", &kind, &folder), NoError);
        return folder.ToPath();
    }

    GSErrCode Zoom(API_Box box) { return Request(HostSlot::Automate, "ZOOM", &box); }

    GSErrCode Save(const std::string& path, Int32 fileType = APIFType_JpegFile)
    {
        IO::Location file(path);
        API_FileSavePars pars{};
        pars.fileTypeID = fileType;
        pars.file = &file;
        API_SavePars_Picture options{};
        options.colorDepth = APIColorDepth_TC24;
        options.zoomedArea = true;
        options.smoothLines = true;
        return Request(HostSlot::Automate, "SAVE", &pars, &options);
    }

    SimHost::Element& Object(double x, double y, std::vector<GdlParam> params)
    {
        SimHost::Element& e = host->model.Add(API_ObjectID);
        e.Object().pos = {x, y};
        e.Object().params = std::move(params);
        return e;
    }

    // Pixels whose colour is mostly red (a section's outline and hatch).
    static size_t Reddish(const DG::Image& image)
    {
        size_t n = 0;
        const std::vector<std::uint8_t>& rgb = *image.GetPixels();
        for (size_t i = 0; i + 2 < rgb.size(); i += 3)
            n += rgb[i] > 150 && rgb[i + 1] < 120 && rgb[i + 2] < 120;
        return n;
    }
    static size_t Bluish(const DG::Image& image)
    {
        size_t n = 0;
        const std::vector<std::uint8_t>& rgb = *image.GetPixels();
        for (size_t i = 0; i + 2 < rgb.size(); i += 3)
            n += rgb[i + 2] > 150 && rgb[i] < 120;
        return n;
    }

    Int64 handlesBefore = GS::LiveMemoryHandleCount();
    std::unique_ptr<SimHost::Host> host = std::make_unique<SimHost::Host>();
};

TEST_F(PicturesTest, TheTemporaryFolderIsTheRunsOwnAndGoesWithTheHost)
{
    const std::string folder = TempFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(TempFolder(), folder);

    API_SpecFolderID other = 3;
    IO::Location location;
    EXPECT_EQ(Request(HostSlot::Environment, "GSPF", &other, &location), APIERR_BADPARS);
    EXPECT_EQ(Request(HostSlot::Environment, "GSPF", nullptr, &location), APIERR_BADPARS);

    host->view.temporaryFolder.SetState(SimHost::TemporaryFolder::State::Missing);
    EXPECT_FALSE(fs::exists(folder));
    API_SpecFolderID kind = API_TempFolderID;
    EXPECT_EQ(Request(HostSlot::Environment, "GSPF", &kind, &location), APIERR_GENERAL);
    host->view.temporaryFolder.SetState(SimHost::TemporaryFolder::State::Present);
    EXPECT_TRUE(fs::is_directory(TempFolder()));

    const std::string last = TempFolder();
    host.reset();
    EXPECT_FALSE(fs::exists(last));
}

TEST_F(PicturesTest, SavesThePlanWithinTheZoomAsAJpegPicture)
{
    Object(10.0, 10.0, {Number("A", 1.0), Number("B", 0.5)});
    const std::string path = TempFolder() + "/plan.jpg";
    ASSERT_EQ(Zoom({9.0, 9.0, 12.0, 12.0}), NoError);
    ASSERT_EQ(Save(path), NoError);

    const GX::Image picture{IO::Location(path)};
    ASSERT_FALSE(picture.IsEmpty()) << picture.GetError();
    EXPECT_EQ(picture.GetWidth(), SimHost::View::PixelWidth);
    EXPECT_EQ(picture.GetHeight(), SimHost::View::PixelHeight);
    EXPECT_GT(Bluish(picture.ToDGPicture()), 100u);
    EXPECT_EQ(Reddish(picture.ToDGPicture()), 0u);

    // Zoomed away from the object, the picture is empty paper.
    ASSERT_EQ(Zoom({100.0, 100.0, 101.0, 101.0}), NoError);
    ASSERT_EQ(Save(path), NoError);
    EXPECT_EQ(Bluish(GX::Image(IO::Location(path)).ToDGPicture()), 0u);

    // Reset, the view shows the whole drawing again.
    Int32 one = 1;
    EXPECT_EQ(Request(HostSlot::Database, "RZOM", &one), NoError);
    EXPECT_FALSE(host->view.zoom.has_value());
    ASSERT_EQ(Save(path), NoError);
    EXPECT_GT(Bluish(GX::Image(IO::Location(path)).ToDGPicture()), 100u);
    EXPECT_EQ(Request(HostSlot::Automate, "RBLD", nullptr), NoError);
    EXPECT_EQ(host->view.rebuildCount, 1);
    EXPECT_EQ(host->view.pictures.size(), 3u);
}

// A complex object whose bShowSection is set is drawn in its section: its
// ironBounding box hatched; without the flag, its plan footprint.
TEST_F(PicturesTest, AComplexObjectShowsItsSectionOnlyWhileItsFlagIsSet)
{
    SimHost::Element& beam = Object(0.0, 0.0,
                                    {Number("A", 3.0), Number("B", 0.3), Number("bShowSection", 0.0),
                                     Numbers("ironBounding", 1, 6, {20.0, 20.0, 20.4, 20.6, 0, 0}),
                                     Numbers("ironPos", 2, 3, {20.1, 20.1, 0, 20.3, 20.5, 0})});
    const std::string path = TempFolder() + "/beam.jpg";
    ASSERT_EQ(Zoom({19.9, 19.9, 20.7, 20.7}), NoError);
    ASSERT_EQ(Save(path), NoError);
    EXPECT_EQ(Reddish(GX::Image(IO::Location(path)).ToDGPicture()), 0u);
    EXPECT_FALSE(host->view.pictures.back().section);

    SimHost::FindParam(beam.Object().params, "bShowSection")->number = 1.0;
    ASSERT_EQ(Save(path), NoError);
    EXPECT_GT(Reddish(GX::Image(IO::Location(path)).ToDGPicture()), 500u);
    EXPECT_TRUE(host->view.pictures.back().section);
}

TEST_F(PicturesTest, AWallIsDrawnByItsPlanPolygon)
{
    host->model.Add(API_WallID);  // 1 m long, 0.3 m thick
    const std::string path = TempFolder() + "/wall.jpg";
    ASSERT_EQ(Save(path), NoError);
    const DG::Image picture = GX::Image(IO::Location(path)).ToDGPicture();
    ASSERT_FALSE(picture.IsEmpty());
    size_t grey = 0;
    const std::vector<std::uint8_t>& rgb = *picture.GetPixels();
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
        grey += rgb[i] < 120 && rgb[i + 1] < 120 && rgb[i + 2] < 120;
    EXPECT_GT(grey, 400u);
}

TEST_F(PicturesTest, RefusesWhatItCannotSaveAndLeavesNoFile)
{
    const std::string folder = TempFolder();
    struct Case {
        const char* what;
        std::function<GSErrCode()> call;
        GSErrCode expected;
    };
    const Case cases[] = {
        {"another file type", [&] { return Save(folder + "/a.jpg", 3); }, APIERR_BADPARS},
        {"no file", [&] { return Request(HostSlot::Automate, "SAVE", nullptr); }, APIERR_BADPARS},
        {"a folder that does not exist", [&] { return Save(folder + "/none/a.jpg"); }, APIERR_GENERAL},
        {"a box that is not a number", [&] { return Zoom({0.0, 0.0, std::nan(""), 1.0}); }, APIERR_BADPARS},
        {"a box upside down", [&] { return Zoom({0.0, 2.0, 1.0, 1.0}); }, APIERR_BADPARS},
        {"no box", [&] { return Request(HostSlot::Automate, "ZOOM", nullptr); }, APIERR_BADPARS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.call(), c.expected);
    }
    EXPECT_FALSE(host->view.zoom.has_value());

    host->view.temporaryFolder.SetState(SimHost::TemporaryFolder::State::ReadOnly);
    EXPECT_EQ(TempFolder(), folder);
    EXPECT_EQ(Save(folder + "/a.jpg"), APIERR_GENERAL);
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_TRUE(host->view.pictures.empty());
    host->view.temporaryFolder.SetState(SimHost::TemporaryFolder::State::Present);
    EXPECT_EQ(Save(folder + "/a.jpg"), NoError);
}

TEST_F(PicturesTest, TheScenarioStepSetsTheFoldersStateAndRefusesOthers)
{
    SimHost::StepTable table;
    SimHost::AddHostSteps(table);
    std::list<SimHost::JsonDocument> docs;
    auto parse = [&](const std::string& text) {
        docs.push_back(SimHost::JsonDocument::Parse("step.json", text));
        SimHost::JsonObject step(docs.back(), docs.back().Root(), "");
        return table.at("tempFolder")(step);
    };
    SimHost::RunContext ctx;
    parse(R"({"do": "tempFolder", "state": "missing"})")(*host, ctx);
    EXPECT_EQ(host->view.temporaryFolder.GetState(), SimHost::TemporaryFolder::State::Missing);
    parse(R"({"do": "tempFolder", "state": "readOnly"})")(*host, ctx);
    EXPECT_EQ(host->view.temporaryFolder.GetState(), SimHost::TemporaryFolder::State::ReadOnly);
    EXPECT_THROW(parse(R"({"do": "tempFolder", "state": "gone"})"), SimHost::ScenarioError);
    EXPECT_THROW(parse(R"({"do": "tempFolder", "state": "missing", "x": 1})"), SimHost::ScenarioError);
}

}  // namespace
