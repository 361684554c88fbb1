// The add-on's element-event handler in the loaded add-on: a changed roof
// brings its reinforcement along and a deleted one takes it away, inside
// the host's notification; other events change nothing, and a handler
// given no record stays quiet.
#include "tests/e2e/palette/PaletteFixture.hpp"
#include "simhost/core/UndoHistory.hpp"
#include "simhost/model/ElementEdit.hpp"
#include <cmath>
#include <cstring>

namespace {

using SimHost::GdlParam;

const double Slope = std::acos(-1.0) / 6;

class ElementEventHandlerTest : public PaletteTest {
protected:
    void SetUp() override
    {
        PaletteTest::SetUp();
        ASSERT_TRUE(Start());
        OpenFromMenu();
        ASSERT_NE(host->session.elementEventHandler, nullptr);
    }
    API_Guid ReinforcedRoof(double x0)
    {
        SimHost::Element& e = host->model.Add(API_RoofID);
        SimHost::RoofPart roof;
        roof.level = 2.0;
        roof.angle = Slope;
        roof.outline.contour = {{x0, 0}, {x0 + 10, 0}, {x0 + 10, 5}, {x0, 5}};
        roof.pivotBegin = roof.outline.contour[0];
        roof.pivotEnd = roof.outline.contour[1];
        e.part = roof;
        const API_Guid guid = e.guid;
        host->user.ChangeSelection({guid});
        SimHost::SettingsDialogAnswer layer;
        layer.part = "rf_mesh";
        GdlParam position;
        position.name = "iPosition";
        position.number = 0;
        layer.params = {position};
        host->user.settingsDialogs.push_back(layer);
        EXPECT_TRUE(host->user.ClickPaletteEntry(Roof));
        return guid;
    }
    std::vector<API_Guid> Linked(const API_Guid& element) const
    {
        const std::vector<API_Guid>* linked = host->model.links.LinkedTo(element);
        std::vector<API_Guid> present;
        if (linked != nullptr)
            for (const API_Guid& g : *linked)
                if (host->model.Find(g) != nullptr)
                    present.push_back(g);
        return present;
    }
    GSErrCode Send(API_NotifyElementID kind, const API_Guid& element)
    {
        API_NotifyElementType event;
        std::memset(static_cast<void*>(&event), 0, sizeof event);
        event.notifID = kind;
        event.elemHead.guid = element;
        event.elemHead.typeID = API_RoofID;
        SimHost::NotificationScope scope(host->undo);
        return host->session.elementEventHandler(&event);
    }
};

TEST_F(ElementEventHandlerTest, ChangeAndEditUpdateDeleteRemovesOtherKindsDoNothing)
{
    const API_Guid changed = ReinforcedRoof(0);
    const API_Guid edited = ReinforcedRoof(20);
    const API_Guid deleted = ReinforcedRoof(40);
    for (const API_Guid& roof : {changed, edited, deleted}) {
        ASSERT_EQ(Linked(roof).size(), 1u);
        host->model.Find(roof)->As<SimHost::RoofPart>()->level = 5.0;
    }
    const double raised = 5.0 + 0.2 / std::cos(Slope);
    host->recorder.changedElements.clear();
    for (API_NotifyElementID other : {APINotifyElement_New, APINotifyElement_Copy, APINotifyElement_Undo_Modified,
                                      APINotifyElement_Undo_Deleted})
        EXPECT_EQ(Send(other, changed), NoError);
    EXPECT_TRUE(host->recorder.changedElements.empty());
    EXPECT_TRUE(host->recorder.deletedElements.empty());

    EXPECT_EQ(Send(APINotifyElement_Change, changed), NoError);
    EXPECT_EQ(Send(APINotifyElement_Edit, edited), NoError);
    EXPECT_EQ(Send(APINotifyElement_Delete, deleted), NoError);
    for (const API_Guid& roof : {changed, edited})
        EXPECT_NEAR(host->model.Find(Linked(roof).at(0))->Object().level, raised, 1e-9);
    EXPECT_TRUE(Linked(deleted).empty());
    EXPECT_EQ(host->recorder.deletedElements.size(), 1u);

    // No record at all, and an element the host does not know.
    {
        SimHost::NotificationScope scope(host->undo);
        EXPECT_EQ(host->session.elementEventHandler(nullptr), NoError);
    }
    EXPECT_EQ(Send(APINotifyElement_Change, host->model.NewGuid()), NoError);
    EXPECT_TRUE(host->recorder.alerts.empty());
}

}  // namespace

namespace {

// The user's own change through the host: the add-on reads the slab as it
// was before it from inside the notification.
class SlabEventTest : public PaletteTest {
protected:
    void SetUp() override
    {
        PaletteTest::SetUp();
        ASSERT_TRUE(Start());
        OpenFromMenu();
    }
};

TEST_F(SlabEventTest, RaisedSlabLiftsItsObjectByTheChangeKeepingAHandMadeLift)
{
    SimHost::Element& e = host->model.Add(API_SlabID);
    SimHost::SlabPart slab;
    slab.level = 3.0;
    slab.thickness = 0.25;
    slab.outline.contour = {{0, 0}, {6, 0}, {6, 4}, {0, 4}};
    e.part = slab;
    const API_Guid guid = e.guid;
    host->user.ChangeSelection({guid});
    SimHost::SettingsDialogAnswer layer;
    layer.part = "rf_mesh";
    host->user.settingsDialogs.push_back(layer);
    SimHost::PointAnswer click;
    click.click = API_Coord3D{3, -0.1, 0};
    host->user.pointInputs.Give(click);
    ASSERT_TRUE(host->user.ClickPaletteEntry(Slab));
    const std::vector<API_Guid>* linked = host->model.links.LinkedTo(guid);
    ASSERT_TRUE(linked != nullptr && linked->size() == 1) << host->recorder.CallLogText();
    SimHost::Element& object = *host->model.Find(linked->at(0));
    ASSERT_NEAR(object.Object().level, 3.0, 1e-12);
    object.Object().level += 0.1;  // lifted by hand

    SimHost::ElementEdit raise;
    raise.level = 3.3;
    std::string why;
    ASSERT_TRUE(host->user.ChangeElements(
        raise.ActionName(), APINotifyElement_Change, {guid},
        [&](SimHost::Element& el, std::string& reason) { return SimHost::ApplyEdit(raise, host->model, el, reason); },
        why))
        << why;
    EXPECT_NEAR(host->model.Find(linked->at(0))->Object().level, 3.4, 1e-12);
    // The user's change and the add-on's are one step.
    EXPECT_TRUE(host->UndoLastStep());
    EXPECT_NEAR(host->model.Find(linked->at(0))->Object().level, 3.1, 1e-12);
}

}  // namespace
