// The user changes and deletes an element the add-on reinforced: the host
// sends the add-on's own element-event handler the event for the observed
// element, within the user's undo step, and none for elements without an
// observer.
#include "tests/e2e/palette/PaletteFixture.hpp"
#include "simhost/model/ElementEdit.hpp"
#include "tests/support/Shapes.hpp"

namespace {

using TestShapes::Rectangle;

class ElementEventsTest : public PaletteTest {
protected:
    void SetUp() override
    {
        PaletteTest::SetUp();
        ASSERT_TRUE(Start());
        OpenFromMenu();
        SimHost::Element& e = host->model.Add(API_RoofID);
        SimHost::RoofPart part;
        part.level = 2.0;
        part.angle = 0.5;
        part.outline = Rectangle(0, 0, 10, 5);
        part.pivotBegin = {0, 0};
        part.pivotEnd = {10, 0};
        e.part = part;
        roof = e.guid;
        bare = host->model.Add(API_WallID).guid;
        // The user reinforces the roof through the palette.
        host->user.ChangeSelection({roof});
        SimHost::SettingsDialogAnswer answer;
        answer.part = "rf_mesh";
        SimHost::GdlParam position;
        position.name = "iPosition";
        position.number = 0;
        answer.params.push_back(position);
        host->user.settingsDialogs.push_back(answer);
        ASSERT_TRUE(host->user.ClickPaletteEntry(Roof));
        ASSERT_EQ(host->model.links.ObserverCount(roof), 1) << host->recorder.CallLogText();
        ASSERT_EQ(host->undo.steps.size(), 1u);
    }

    bool Change(const std::vector<API_Guid>& guids, const SimHost::ElementEdit& edit, API_NotifyElementID kind)
    {
        std::string why;
        const bool done = host->user.ChangeElements(
            edit.ActionName(), kind, guids,
            [&](SimHost::Element& e, std::string& reason) { return SimHost::ApplyEdit(edit, host->model, e, reason); },
            why);
        EXPECT_TRUE(done) << why;
        return done;
    }

    API_Guid roof{}, bare{};
};

TEST_F(ElementEventsTest, ChangesOfTheReinforcedRoofReachTheAddOnsHandler)
{
    SimHost::ElementEdit move;
    move.move = API_Coord{3, 0};
    ASSERT_TRUE(Change({roof, bare}, move, APINotifyElement_Edit));
    SimHost::ElementEdit steeper;
    steeper.slope = 0.6;
    ASSERT_TRUE(Change({roof}, steeper, APINotifyElement_Change));

    const auto& sent = host->recorder.elementEvents;
    ASSERT_EQ(sent.size(), 2u) << "the wall without an observer is not announced";
    for (const SimHost::ElementEventSent& event : sent) {
        EXPECT_EQ(event.guid, roof);
        EXPECT_TRUE(event.delivered);
        EXPECT_EQ(event.result, NoError);
    }
    EXPECT_EQ(sent[0].kind, APINotifyElement_Edit);
    EXPECT_EQ(sent[1].kind, APINotifyElement_Change);
    // Whatever the add-on did inside the notifications belongs to the
    // user's steps: the placing and the two changes.
    ASSERT_EQ(host->undo.steps.size(), 3u);
    EXPECT_EQ(host->undo.steps[1].name, "Move");
    EXPECT_EQ(host->undo.steps[2].name, "Element Settings");

    ASSERT_TRUE(host->UndoLastStep());
    ASSERT_TRUE(host->UndoLastStep());
    EXPECT_DOUBLE_EQ(host->model.Find(roof)->As<SimHost::RoofPart>()->outline.contour[0].x, 0.0);
    EXPECT_EQ(host->model.links.LinkedTo(roof)->size(), 1u);
}

TEST_F(ElementEventsTest, DeletingTheReinforcedRoofIsAnnouncedOnce)
{
    std::string why;
    ASSERT_TRUE(host->user.DeleteElements("Delete", {roof, bare}, why)) << why;
    ASSERT_EQ(host->recorder.elementEvents.size(), 1u);
    EXPECT_EQ(host->recorder.elementEvents[0].kind, APINotifyElement_Delete);
    EXPECT_EQ(host->recorder.elementEvents[0].result, NoError);
    EXPECT_EQ(host->model.Find(roof), nullptr);
    EXPECT_EQ(host->model.Find(bare), nullptr);
    ASSERT_EQ(host->undo.steps.size(), 2u);
    ASSERT_TRUE(host->UndoLastStep());
    EXPECT_NE(host->model.Find(roof), nullptr);
}

}  // namespace
