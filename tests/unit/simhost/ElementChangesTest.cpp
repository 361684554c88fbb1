// The user's changes and deletions of elements: the element events sent to
// the add-on's handler for observed elements only, the element before the
// change while a notification runs, one undo step holding the user's and
// the handler's changes; change masks honoured field by field; and what the
// edits do to each type of element.
#include "tests/unit/simhost/HostTestSupport.hpp"
#include "simhost/model/ElementEdit.hpp"
#include "simhost/scenario/HostQueries.hpp"
#include <cmath>
#include <functional>

namespace {

using namespace HostTest;
using SimHost::Element;
using SimHost::ElementEdit;

const double Pi = std::acos(-1.0);

// The handler a test installs stands in for the add-on's: it forwards to
// whatever the running case wants to do with each event.
std::function<GSErrCode(const API_NotifyElementType*)> g_onEvent;
GSErrCode TestHandler(const API_NotifyElementType* event) { return g_onEvent ? g_onEvent(event) : NoError; }

SimHost::PolygonRings Square(double x, double y, double side)
{
    SimHost::PolygonRings r;
    r.contour = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
    return r;
}

class ElementChangesTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        host->session.elementEventHandler = TestHandler;
        Element& w = host->model.Add(API_WallID);
        wall = w.guid;
        bar = host->PlaceObject("rf_rebar").guid;
        host->model.links.Link(wall, bar);
        ++host->model.links.observers[wall];
        Element& other = host->model.Add(API_WallID);
        unobserved = other.guid;
    }
    void TearDown() override
    {
        g_onEvent = nullptr;
        HostFixture::TearDown();
    }

    bool Change(std::vector<API_Guid> guids, const ElementEdit& edit, const std::string& action = "Move",
                API_NotifyElementID kind = APINotifyElement_Edit)
    {
        std::string why;
        const bool done = host->user.ChangeElements(
            action, kind, guids,
            [&](Element& e, std::string& reason) { return SimHost::ApplyEdit(edit, host->model, e, reason); }, why);
        lastWhy = why;
        return done;
    }
    GSErrCode BeforeChange(API_Element& record, API_ElementMemo* memo = nullptr, UInt64 mask = 0)
    {
        return Slot<HostSlot::GetElementBeforeChange>(*host)(nullptr, &record, memo, mask, 0);
    }
    // Moves the bar by (dx, 0) through the table, marking the position only.
    GSErrCode MoveBar(double dx)
    {
        API_Element record = Zeroed<API_Element>();
        record.header.guid = bar;
        Slot<HostSlot::GetElement>(*host)(nullptr, &record);
        record.object.pos.x += dx;
        API_Element mask;
        ACAPI_ELEMENT_MASK_CLEAR(mask);
        ACAPI_ELEMENT_MASK_SET(mask, object, pos);
        return Slot<HostSlot::ChangeElement>(*host)(nullptr, &record, &mask, nullptr, 0, true);
    }
    const SimHost::WallPart& Wall(const API_Guid& g) const { return *host->model.Find(g)->As<SimHost::WallPart>(); }

    API_Guid wall{}, bar{}, unobserved{};
    std::string lastWhy;
};

TEST_F(ElementChangesTest, ObservedElementsAloneGetTheirEventWithTheStateBeforeAtHand)
{
    std::vector<double> beginsBefore, beginsNow;
    g_onEvent = [&](const API_NotifyElementType* event) {
        API_Element before = Zeroed<API_Element>();
        EXPECT_EQ(BeforeChange(before), NoError);
        beginsBefore.push_back(before.wall.begC.x);
        API_Element now = Zeroed<API_Element>();
        now.header.guid = event->elemHead.guid;
        EXPECT_EQ(Slot<HostSlot::GetElement>(*host)(nullptr, &now), NoError);
        beginsNow.push_back(now.wall.begC.x);
        EXPECT_EQ(event->elemHead.typeID, API_WallID);
        return NoError;
    };
    ElementEdit move;
    move.move = API_Coord{2, 1};
    ASSERT_TRUE(Change({wall, unobserved}, move)) << lastWhy;

    ASSERT_EQ(host->recorder.elementEvents.size(), 1u) << "only the observed wall is announced";
    const SimHost::ElementEventSent& sent = host->recorder.elementEvents[0];
    EXPECT_EQ(sent.guid, wall);
    EXPECT_EQ(sent.kind, APINotifyElement_Edit);
    EXPECT_TRUE(sent.delivered);
    EXPECT_EQ(beginsBefore, std::vector<double>{0.0});
    EXPECT_EQ(beginsNow, std::vector<double>{2.0});
    EXPECT_DOUBLE_EQ(Wall(unobserved).record.endC.y, 1.0);

    // After the notification the state before is gone again.
    API_Element after = Zeroed<API_Element>();
    EXPECT_EQ(BeforeChange(after), APIERR_REFUSEDCMD);
}

TEST_F(ElementChangesTest, BeforeChangeAnswersOnlyForTheNotifiedElementAndHandsOutItsMemo)
{
    Element& slab = host->model.Add(API_SlabID);
    slab.part = SimHost::SlabPart{0.2, 1.0, 0.0, Square(0, 0, 4)};
    const API_Guid slabGuid = slab.guid;
    ++host->model.links.observers[slabGuid];
    GSErrCode wrongGuid = NoError, withMemo = NoError;
    double levelBefore = 0, firstXBefore = 0;
    g_onEvent = [&](const API_NotifyElementType*) {
        API_Element other = Zeroed<API_Element>();
        other.header.guid = bar;
        wrongGuid = BeforeChange(other);
        API_Element before = Zeroed<API_Element>();
        before.header.guid = slabGuid;
        API_ElementMemo memo = Zeroed<API_ElementMemo>();
        withMemo = BeforeChange(before, &memo, APIMemoMask_Polygon);
        levelBefore = before.slab.level;
        if (memo.coords != nullptr)
            firstXBefore = (*memo.coords)[1].x;
        Slot<HostSlot::DisposeMemo>(*host)(&memo);
        return NoError;
    };
    ElementEdit raise;
    raise.level = 1.3;
    raise.move = API_Coord{5, 0};
    ASSERT_TRUE(Change({slabGuid}, raise, "Element Settings", APINotifyElement_Change)) << lastWhy;
    EXPECT_EQ(wrongGuid, APIERR_BADID);
    EXPECT_EQ(withMemo, NoError);
    EXPECT_DOUBLE_EQ(levelBefore, 1.0);
    EXPECT_DOUBLE_EQ(firstXBefore, 0.0);
    EXPECT_DOUBLE_EQ(host->model.Find(slabGuid)->As<SimHost::SlabPart>()->outline.contour[0].x, 5.0);
}

TEST_F(ElementChangesTest, UsersChangeAndTheHandlersChangesAreOneUndoStep)
{
    g_onEvent = [&](const API_NotifyElementType*) {
        EXPECT_EQ(MoveBar(3.0), NoError);
        // A command the handler runs joins the user's step too.
        GS::UniString name("[zolva] Reinforcement");
        const UndoableBody body = [&] { return MoveBar(1.0); };
        EXPECT_EQ(Slot<HostSlot::RunUndoableCommand>(*host)(nullptr, &name, &body), NoError);
        return NoError;
    };
    ElementEdit thicker;
    thicker.thickness = 0.4;
    ASSERT_TRUE(Change({wall}, thicker, "Element Settings", APINotifyElement_Change)) << lastWhy;
    EXPECT_DOUBLE_EQ(host->model.Find(bar)->Object().pos.x, 4.0);
    EXPECT_EQ(SimHost::Queries::UndoStepNames(*host), std::vector<std::string>{"Element Settings"});

    ASSERT_TRUE(host->UndoLastStep());
    EXPECT_DOUBLE_EQ(Wall(wall).record.thickness, 0.3);
    EXPECT_DOUBLE_EQ(host->model.Find(bar)->Object().pos.x, 0.0);
}

TEST_F(ElementChangesTest, WithoutAHandlerTheEventIsRecordedAsNotDelivered)
{
    host->session.elementEventHandler = nullptr;
    ElementEdit turn;
    turn.rotate = Pi / 2;
    ASSERT_TRUE(Change({wall}, turn, "Rotate")) << lastWhy;
    ASSERT_EQ(host->recorder.elementEvents.size(), 1u);
    EXPECT_FALSE(host->recorder.elementEvents[0].delivered);
    EXPECT_NEAR(Wall(wall).record.endC.y, 1.0, 1e-12);
    EXPECT_EQ(SimHost::Queries::UndoStepNames(*host), std::vector<std::string>{"Rotate"});
}

TEST_F(ElementChangesTest, DeletedElementIsAnnouncedWhileItsLinksCanStillBeRead)
{
    const API_Guid second = host->PlaceObject("rf_rebar").guid;
    host->model.links.Link(wall, second);
    g_onEvent = [&](const API_NotifyElementType* event) {
        EXPECT_EQ(event->notifID, APINotifyElement_Delete);
        GS::Array<API_Guid> linked;
        EXPECT_EQ(Slot<HostSlot::GetLinkedElements>(*host)(nullptr, event->elemHead.guid, &linked), NoError);
        EXPECT_EQ(linked.GetSize(), 2u);
        return Slot<HostSlot::DeleteElements>(*host)(nullptr, &linked);
    };
    std::string why;
    ASSERT_TRUE(host->user.DeleteElements("Delete", {wall, unobserved, wall}, why)) << why;
    EXPECT_EQ(host->recorder.elementEvents.size(), 1u);
    EXPECT_EQ(host->model.Elements().size(), 0u) << "the walls by the user, the bars by the handler";
    EXPECT_EQ(SimHost::Queries::UndoStepNames(*host), std::vector<std::string>{"Delete"});
    ASSERT_TRUE(host->UndoLastStep());
    EXPECT_EQ(host->model.Elements().size(), 4u);
}

TEST_F(ElementChangesTest, RefusedChangeLeavesTheModelAndSendsNothing)
{
    ElementEdit edit;
    edit.move = API_Coord{1, 0};
    edit.slope = 0.5;  // a wall has no slope: the whole action is refused
    EXPECT_FALSE(Change({unobserved, wall}, edit));
    EXPECT_NE(lastWhy.find("slope"), std::string::npos) << lastWhy;
    EXPECT_DOUBLE_EQ(Wall(unobserved).record.begC.x, 0.0) << "the first wall was changed back";
    EXPECT_TRUE(host->recorder.elementEvents.empty());
    EXPECT_TRUE(host->undo.steps.empty());

    std::string why;
    EXPECT_FALSE(host->user.DeleteElements("Delete", {wall, API_Guid{7, 0, 0, 0, 0, {0}}}, why));
    EXPECT_NE(host->model.Find(wall), nullptr);
}

// ---------------------------------------------------------------- change masks

// Each case marks one field; a record with every field changed must change
// that field alone.
TEST_F(ElementChangesTest, ChangeElementTakesOnlyTheMarkedFields)
{
    host->model.lastStory = 2;
    Element& slab = host->model.Add(API_SlabID);
    slab.part = SimHost::SlabPart{0.2, 1.0, 0.5, Square(0, 0, 2)};
    Element& roof = host->model.Add(API_RoofID);
    SimHost::RoofPart roofPart;
    roofPart.outline = Square(0, 0, 2);
    roofPart.pivotEnd = {2, 0};
    roof.part = roofPart;
    struct Case {
        const char* field;
        API_Guid guid;
        std::function<void(API_Element&)> mark;
        std::function<void(API_Element&)> changeAll;
        std::function<std::vector<double>(const Element&)> values;  // every field the case watches
        std::vector<double> expected;
    };
    auto object = [&](const Element& e) {
        const SimHost::ObjectPart& o = e.Object();
        return std::vector<double>{o.pos.x, o.pos.y, o.level, o.angle, double(o.libInd), double(e.story), double(o.mirrored)};
    };
    auto changeObject = [&](API_Element& r) {
        r.object.pos = {5, 6};
        r.object.level = 1.5;
        r.object.angle = 0.25;
        r.object.libInd = host->libraries.IndexOfPart("rf_stirrup");
        r.header.floorInd = 2;
        r.object.reflected = true;
    };
    const double rebar = host->libraries.IndexOfPart("rf_rebar");
    const double stirrup = host->libraries.IndexOfPart("rf_stirrup");
    auto slabValues = [](const Element& e) {
        const SimHost::SlabPart& s = *e.As<SimHost::SlabPart>();
        return std::vector<double>{s.thickness, s.level, s.offset};
    };
    auto changeSlab = [](API_Element& r) { r.slab = API_SlabType{0.3, 2.0, 0.7, {}, 0}; };
    auto roofValues = [](const Element& e) {
        const SimHost::RoofPart& r = *e.As<SimHost::RoofPart>();
        return std::vector<double>{r.level, r.thickness, r.angle, r.pivotEnd.x};
    };
    auto changeRoof = [](API_Element& r) {
        r.roof.level = 3;
        r.roof.thickness = 0.4;
        r.roof.angle = 0.5;
        r.roof.pivotEnd = {9, 0};
    };
    const Case cases[] = {
        {"object pos", bar, [](API_Element& m) { ACAPI_ELEMENT_MASK_SET(m, object, pos); }, changeObject, object,
         {5, 6, 0, 0, rebar, 0, 0}},
        {"object level", bar, [](API_Element& m) { ACAPI_ELEMENT_MASK_SET(m, object, level); }, changeObject, object,
         {0, 0, 1.5, 0, rebar, 0, 0}},
        {"object angle", bar, [](API_Element& m) { ACAPI_ELEMENT_MASK_SET(m, object, angle); }, changeObject, object,
         {0, 0, 0, 0.25, rebar, 0, 0}},
        {"object part", bar, [](API_Element& m) { ACAPI_ELEMENT_MASK_SET(m, object, libInd); }, changeObject, object,
         {0, 0, 0, 0, stirrup, 0, 0}},
        {"home story", bar, [](API_Element& m) { ACAPI_ELEMENT_MASK_SET(m, header, floorInd); }, changeObject, object,
         {0, 0, 0, 0, rebar, 2, 0}},
        {"mirrored", bar, [](API_Element& m) { ACAPI_ELEMENT_MASK_SET(m, object, reflected); }, changeObject, object,
         {0, 0, 0, 0, rebar, 0, 1}},
        {"nothing marked", bar, [](API_Element&) {}, changeObject, object, {0, 0, 0, 0, rebar, 0, 0}},
        {"slab level", slab.guid, [](API_Element& m) { ACAPI_ELEMENT_MASK_SET(m, slab, level); }, changeSlab, slabValues,
         {0.2, 2.0, 0.5}},
        {"slab offset", slab.guid, [](API_Element& m) { ACAPI_ELEMENT_MASK_SET(m, slab, offset); }, changeSlab,
         slabValues, {0.2, 1.0, 0.7}},
        {"roof slope", roof.guid, [](API_Element& m) { ACAPI_ELEMENT_MASK_SET(m, roof, angle); }, changeRoof, roofValues,
         {0, 0.2, 0.5, 2}},
        {"roof pivot", roof.guid, [](API_Element& m) { ACAPI_ELEMENT_MASK_SET(m, roof, pivotEnd); }, changeRoof,
         roofValues, {0, 0.2, 0, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        const SimHost::ModelState start = host->model.Capture();
        API_Element record = Zeroed<API_Element>();
        record.header.guid = c.guid;
        ASSERT_EQ(Slot<HostSlot::GetElement>(*host)(nullptr, &record), NoError);
        c.changeAll(record);
        API_Element mask;
        ACAPI_ELEMENT_MASK_CLEAR(mask);
        c.mark(mask);
        ASSERT_EQ(RunUndoable("change", [&] {
                      return Slot<HostSlot::ChangeElement>(*host)(nullptr, &record, &mask, nullptr, 0, true);
                  }),
                  NoError);
        EXPECT_EQ(c.values(*host->model.Find(c.guid)), c.expected);
        host->model.Restore(start);
    }

    // A home story the model does not have is refused.
    API_Element record = Zeroed<API_Element>();
    record.header.guid = bar;
    ASSERT_EQ(Slot<HostSlot::GetElement>(*host)(nullptr, &record), NoError);
    record.header.floorInd = 7;
    API_Element mask;
    ACAPI_ELEMENT_MASK_CLEAR(mask);
    ACAPI_ELEMENT_MASK_SET(mask, header, floorInd);
    EXPECT_EQ(RunUndoable("change", [&] {
                  return Slot<HostSlot::ChangeElement>(*host)(nullptr, &record, &mask, nullptr, 0, true);
              }),
              APIERR_BADINDEX);
}

// ---------------------------------------------------------------- edits

TEST(ElementEditTest, EditsMoveTurnAndReshapeEachTypeOfElement)
{
    SimHost::Model model;
    Element& object = model.Add(API_ObjectID);
    object.Object().pos = {1, 0};
    ElementEdit turn;
    turn.rotate = Pi / 2;
    turn.about = API_Coord{0, 0};
    turn.move = API_Coord{0, 1};
    std::string why;
    ASSERT_TRUE(SimHost::ApplyEdit(turn, model, object, why)) << why;
    EXPECT_NEAR(object.Object().pos.x, 0.0, 1e-12);
    EXPECT_NEAR(object.Object().pos.y, 2.0, 1e-12) << "turned about the origin, then moved";
    EXPECT_NEAR(object.Object().angle, Pi / 2, 1e-12);

    // A plane roof becomes a roof of several planes; a plane is added and
    // one removed; every plane moves with the roof.
    Element& roof = model.Add(API_RoofID);
    SimHost::RoofPart plane;
    plane.outline = Square(0, 0, 4);
    roof.part = plane;
    SimHost::RoofPlaneDef a, b;
    a.partId = {0, 0, 1};
    a.outline = Square(0, 0, 4);
    b.partId = {0, 0, 2};
    b.outline = Square(4, 0, 4);
    ElementEdit planes;
    planes.planes = std::vector<SimHost::RoofPlaneDef>{a, b};
    ASSERT_TRUE(SimHost::ApplyEdit(planes, model, roof, why)) << why;
    EXPECT_EQ(roof.As<SimHost::RoofPart>()->roofClass, 1);
    ElementEdit swap;
    swap.removePlanes = {{0, 0, 1}};
    SimHost::RoofPlaneDef c = a;
    c.partId = {0, 0, 3};
    swap.addPlanes = {c};
    swap.move = API_Coord{10, 0};
    swap.slope = 0.3;
    ASSERT_TRUE(SimHost::ApplyEdit(swap, model, roof, why)) << why;
    const SimHost::RoofPart& changed = *roof.As<SimHost::RoofPart>();
    ASSERT_EQ(changed.planes.size(), 2u);
    EXPECT_EQ(changed.planes[0].partId.floor, 2);
    EXPECT_EQ(changed.planes[1].partId.floor, 3);
    EXPECT_DOUBLE_EQ(changed.planes[0].outline.contour[0].x, 14.0);
    EXPECT_DOUBLE_EQ(changed.planes[1].angle, 0.3);
}

TEST(ElementEditTest, EditsThatDoNotFitAreRefusedWithTheElementUntouched)
{
    SimHost::Model model;
    Element& wall = model.Add(API_WallID);
    Element& slab = model.Add(API_SlabID);
    slab.part = SimHost::SlabPart{0.2, 0, 0, Square(0, 0, 2)};
    Element& roof = model.Add(API_RoofID);
    SimHost::RoofPart several;
    several.roofClass = 1;
    SimHost::RoofPlaneDef p;
    p.partId = {0, 0, 1};
    p.outline = Square(0, 0, 2);
    several.planes = {p};
    roof.part = several;
    Element& object = model.Add(API_ObjectID);

    struct Case {
        const char* what;
        Element* element;
        std::function<void(ElementEdit&)> set;
        const char* reason;
    };
    const Case cases[] = {
        {"wall slope", &wall, [](ElementEdit& e) { e.slope = 0.1; }, "slope"},
        {"undefined composite", &wall, [](ElementEdit& e) { e.composite = 4; }, "composite 4 is not defined"},
        {"slab height", &slab, [](ElementEdit& e) { e.height = 1; }, "height"},
        {"object thickness", &object, [](ElementEdit& e) { e.thickness = 1; }, "thickness"},
        {"missing plane", &roof, [](ElementEdit& e) { e.removePlanes = {{0, 0, 9}}; }, "no plane [0, 0, 9]"},
        {"last plane removed", &roof, [](ElementEdit& e) { e.removePlanes = {{0, 0, 1}}; }, "needs its planes"},
        {"plane twice", &roof, [&](ElementEdit& e) { e.addPlanes = {p}; }, "two planes"},
        {"outline of planes", &roof, [](ElementEdit& e) { e.outline = Square(0, 0, 1); }, "in its planes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ElementEdit edit;
        edit.move = API_Coord{1, 1};
        c.set(edit);
        const Element before = *c.element;
        std::string why;
        EXPECT_FALSE(SimHost::ApplyEdit(edit, model, *c.element, why));
        EXPECT_NE(why.find(c.reason), std::string::npos) << why;
        EXPECT_EQ(c.element->part.index(), before.part.index());
        if (const auto* r = c.element->As<SimHost::RoofPart>()) {
            EXPECT_EQ(r->planes.size(), before.As<SimHost::RoofPart>()->planes.size());
        }
        if (const auto* w = c.element->As<SimHost::WallPart>()) {
            EXPECT_DOUBLE_EQ(w->record.begC.x, 0.0);
        }
    }
}

}  // namespace
