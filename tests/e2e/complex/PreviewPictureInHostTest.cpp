// The preview picture of a complex object against the stand-in host: the
// picture file in the host's temporary folder showing the object's section,
// the warnings, and "bShowSection" back as it was on every path.
#include "addon/complex/PreviewPicture.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/gs/Guid.hpp"
#include "platform/gx/GXImage.hpp"
#include "../schedule/InHostFixture.hpp"
#include "tests/e2e/ModelText.hpp"
#include <cstring>
#include <filesystem>

namespace {

class PreviewPictureTest : public InHostTest {
protected:
    void SetUp() override
    {
        InHostTest::SetUp();
        ResetPictureWarning();
    }

    API_Guid Beam(double showSection, bool withBounding = true)
    {
        SimHost::GdlParams params{Text("strIronID", "B1"), Number("bShowSection", showSection)};
        SimHost::GdlParam bounding;
        bounding.name = withBounding ? "ironBounding" : "unrelated";
        bounding.kind = SimHost::GdlParam::Kind::Numbers;
        bounding.dim1 = 1;
        bounding.dim2 = 4;
        bounding.numbers = {4.0, 4.0, 4.3, 4.5};
        params.push_back(bounding);
        SimHost::Element& beam = Place("rf_beam", params);
        if (!withBounding)
            SimHost::FindParam(beam.Object().params, "ironBounding")->name = "noBounding";
        return beam.guid;
    }

    // Read afresh: the host's taking back of a command replaces its elements.
    double ShowSection(const API_Guid& guid) const
    {
        return SimHost::FindParam(host->model.Find(guid)->Object().params, "bShowSection")->number;
    }

    static std::string GuidText(const API_Guid& guid)
    {
        GS::Guid g;
        g.SetBytes(reinterpret_cast<const unsigned char*>(&guid));
        return g.ToUniString().ToUtf8();
    }

    std::string Alert(RSStringId id) const { return GS::UniString(GetResString(id), CC_Default).ToUtf8(); }

    char path[PicturePathSize] = "before";
};

// The picture shows the section; the object is left exactly as it was (0.05,
// below the threshold of 0.1, and 3 alike), and no undo step stays.
TEST_F(PreviewPictureTest, SavesTheSectionIntoTheTemporaryFolderAndLeavesTheObjectAsItWas)
{
    for (const double before : {0.05, 3.0}) {
        SCOPED_TRACE(before);
        const API_Guid beam = Beam(before);
        ASSERT_EQ(SaveComplexPreviewPicture(beam, path), NoError);
        EXPECT_EQ(ShowSection(beam), before);

        const std::string expected = host->view.temporaryFolder.Get() + "/" + GuidText(beam) + ".jpg";
        EXPECT_EQ(std::string(path), expected);
        const GX::Image picture{IO::Location(std::string(path))};
        EXPECT_FALSE(picture.IsEmpty()) << picture.GetError();
        ASSERT_FALSE(host->view.pictures.empty());
        EXPECT_TRUE(host->view.pictures.back().section);
        EXPECT_FALSE(host->view.zoom.has_value());  // zoom reset after the save
        EXPECT_TRUE(host->recorder.alerts.empty());
    }
    // The picture leaves no undo step: its changes were the host's to take back.
    EXPECT_TRUE(host->undo.steps.empty());
    EXPECT_EQ(host->view.zoomCount, 2);
    EXPECT_EQ(host->view.resetCount, 2);
    EXPECT_EQ(host->view.rebuildCount, 2);
}

// Each way the picture step ends early: its message, its answer, the path
// buffer untouched and the flag back.
TEST_F(PreviewPictureTest, EndsEarlyWithItsMessageAndTheFlagBack)
{
    struct Case {
        const char* what;
        std::function<void(SimHost::Host&)> arrange;
        bool withBounding;
        GSErrCode answer;
        std::vector<RSStringId> alerts;
    };
    const Case cases[] = {
        {"no temporary folder",
         [](SimHost::Host& h) { h.view.temporaryFolder.SetState(SimHost::TemporaryFolder::State::Missing); }, true,
         APIERR_GENERAL, {ResStr::Messages::NoTempFolder}},
        {"the object does not recompute", [](SimHost::Host& h) { h.faultPlan.FailRequest("RPAS", APIERR_GENERAL, 1); },
         true, APIERR_GENERAL, {}},
        {"the zoom fails", [](SimHost::Host& h) { h.faultPlan.FailRequest("ZOOM", APIERR_BADPARS, 1); }, true, NoError,
         {}},
        {"no bounding box", [](SimHost::Host&) {}, false, NoError, {}},
        {"no current database", [](SimHost::Host& h) { h.faultPlan.FailRequest("GDAT", APIERR_GENERAL, 1); }, true,
         APIERR_GENERAL, {ResStr::Messages::NoActualDatabase}},
        {"the folder is read-only",
         [](SimHost::Host& h) { h.view.temporaryFolder.SetState(SimHost::TemporaryFolder::State::ReadOnly); }, true,
         APIERR_GENERAL, {ResStr::Messages::NoTempLibrary}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetPictureWarning();
        host->recorder.alerts.clear();
        const API_Guid beam = Beam(0.0, c.withBounding);
        c.arrange(*host);
        std::strcpy(path, "before");
        EXPECT_EQ(SaveComplexPreviewPicture(beam, path), c.answer);
        EXPECT_STREQ(path, "before");
        EXPECT_EQ(ShowSection(beam), 0.0);
        std::vector<std::string> alerts;
        for (RSStringId id : c.alerts)
            alerts.push_back(Alert(id));
        EXPECT_EQ(host->recorder.alerts, alerts);
        host->view.temporaryFolder.SetState(SimHost::TemporaryFolder::State::Present);
    }
}

}  // namespace

namespace {

// Only the first failed save warns while the add-on stays loaded; a later
// one goes on as a saved one and the entry names the file not written.
TEST_F(PreviewPictureTest, OnlyTheFirstFailedSaveWarns)
{
    host->view.temporaryFolder.SetState(SimHost::TemporaryFolder::State::ReadOnly);
    const API_Guid first = Beam(0.0);
    EXPECT_EQ(SaveComplexPreviewPicture(first, path), APIERR_GENERAL);
    EXPECT_TRUE(PictureWarningShown());
    EXPECT_STREQ(path, "before");

    const API_Guid second = Beam(3.0);
    EXPECT_EQ(SaveComplexPreviewPicture(second, path), NoError);
    EXPECT_EQ(host->recorder.alerts, std::vector<std::string>{Alert(ResStr::Messages::NoTempLibrary)});
    EXPECT_NE(std::string(path).find(GuidText(second) + ".jpg"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(ShowSection(first), 0.0);
    EXPECT_EQ(ShowSection(second), 3.0);
}

// Every host call of the step fails in turn: no crash, no leak, no fault,
// the model exactly as it was (the flag back) and no undo step left.
TEST_F(PreviewPictureTest, EachFailingHostCallLeavesTheObjectAsItWas)
{
    const API_Guid beam = Beam(0.0);
    const Int64 start = host->faultPlan.FailableCallCount();
    ASSERT_EQ(SaveComplexPreviewPicture(beam, path), NoError);
    const Int64 calls = host->faultPlan.FailableCallCount() - start;
    ASSERT_GT(calls, 8);
    for (Int64 n = 1; n <= calls; ++n) {
        SCOPED_TRACE(n);
        ResetPictureWarning();
        const API_Guid object = Beam(0.0);
        const std::string model = SweepInvariant::ModelText(*host, nullptr);
        host->faultPlan.FailNthCall(n);
        std::strcpy(path, "before");
        SaveComplexPreviewPicture(object, path);
        EXPECT_TRUE(host->faultPlan.NthCallFailed());
        const std::string after = SweepInvariant::ModelText(*host, nullptr);
        EXPECT_EQ(after, model) << SweepInvariant::FirstDifference(model, after);
        EXPECT_EQ(ShowSection(object), 0.0);
        EXPECT_TRUE(host->recorder.faults.empty());
        EXPECT_TRUE(host->undo.steps.empty());
    }
}

}  // namespace
