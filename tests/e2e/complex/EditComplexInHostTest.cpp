// The edit commands against the stand-in host: the checks of an edit run
// (meshes refused, other objects passing, the totals counted over the
// selection and again over the groups), the first road through dialog 32511
// and the ends of both roads before anything changes.
#include "addon/complex/BuildComplex.hpp"
#include "addon/complex/ComplexSteps.hpp"
#include "addon/complex/EditComplex.hpp"
#include "addon/complex/IronIdDialog.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/services/AddOnGlobals.hpp"
#include "platform/dg/DGModal.hpp"
#include "tests/e2e/schedule/InHostFixture.hpp"
#include <functional>
#include <vector>

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace EditComplexInHostTests {

using Action = DG::UserInput::DialogAction;

std::string MessageText(RSStringId id)
{
    char buffer[256] = {};
    HostGetResourceString(buffer, id.listId, id.index, OwnResourceModule());
    return GS::UniString(buffer, CC_Default).ToUtf8();
}

class EditComplexInHostTest : public InHostTest {
protected:
    void SetUp() override
    {
        InHostTest::SetUp();
        CurrentComplexSteps().clickPoint = [this](const char*, PlacementOutline, API_Coord3D& point) {
            ++clicks;
            point = {20, 30, 0};
            return NoError;
        };
    }
    void Release() override { CurrentComplexSteps() = DefaultComplexSteps(); }

    API_Guid Rebar(double x, double position = 1, Int16 story = 0)
    {
        SimHost::Element& e = Place("rf_rebar", {Number("iPosition", position), Number("bOnlyOneBar", 1),
                                                 Number("A", 1), Number("B", 0.1)},
                                    1, story);
        e.Object().pos = {x, 0};
        return e.guid;
    }
    API_Guid Stirrup(double x, double position = 2)
    {
        SimHost::Element& e = Place("rf_stirrup", {Number("iPosition", position), Number("bOnlyOneBar", 0)});
        e.Object().pos = {x, 0};
        return e.guid;
    }
    std::vector<API_Guid> BeamBars()
    {
        return {Rebar(0), Rebar(1), Rebar(2), Rebar(3), Stirrup(4)};
    }
    std::string IdOf(const API_Guid& guid) const
    {
        const SimHost::GdlParam* p = SimHost::FindParam(host->model.Find(guid)->Object().params, "strIronID");
        return p != nullptr ? std::string(p->text.begin(), p->text.end()) : "";
    }
    Int32 Count(const std::string& part) const
    {
        Int32 n = 0;
        for (const SimHost::Element& e : host->model.Elements())
            if (e.type == API_ObjectID && e.Object().libInd == host->libraries.IndexOfPart(part))
                ++n;
        return n;
    }
    std::vector<std::string> Alerts() const { return host->recorder.alerts; }
    void TypeId(const char* id)
    {
        host->user.dialogAnswers.push_back(
            {ComplexIdDialogId, {{Action::Kind::SetText, IdEdit, GS::UniString(id), 0}, {Action::Kind::Click, IdOkButton, {}, 0}}});
    }

    Int32 clicks = 0;
};

TEST_F(EditComplexInHostTest, ChecksOfAnEditRun)
{
    struct Case {
        const char* what;
        ComplexElementKind kind;
        std::function<std::vector<API_Guid>()> select;
        bool result;
        std::vector<RSStringId> alerts;
        size_t dialogs;
    };
    using namespace ResStr::Messages;
    const std::vector<Case> cases = {
        {"nothing selected, beam", BeamKind, [] { return std::vector<API_Guid>{}; }, false, {SelectRebarsAndStirrup}, 0},
        {"nothing selected, crowning", CrowningKind, [] { return std::vector<API_Guid>{}; }, false,
         {SelectRebarOrStirrup}, 0},
        // Before any case places a column: the list road finds none.
        {"no column placed", ColumnKind,
         [&] { return std::vector<API_Guid>{Rebar(0, 2), Rebar(1, 2), Rebar(2, 2), Rebar(3, 2), Stirrup(4, 1)}; },
         false, {NoColumnOnVisibleLayers}, 0},
        {"a mesh among the bars", BeamKind,
         [&] {
             std::vector<API_Guid> s = BeamBars();
             s.push_back(Place("rf_mesh").guid);
             return s;
         },
         false, {NoMeshHighlighted}, 0},
        {"a column, a list and a single bar pass with the beam", BeamKind,
         [&] {
             std::vector<API_Guid> s = BeamBars();
             s.push_back(Place("rf_column").guid);
             s.push_back(Place("rf_list").guid);
             s.push_back(Place("rf_single_rebar").guid);
             s.push_back(Place("rf_beam", {Text("strIronID", "B1")}).guid);
             return s;
         },
         true, {}, 1},
        {"a bar on another story is not read: too few for the groups", BeamKind,
         [&] {
             return std::vector<API_Guid>{Rebar(0), Rebar(1), Rebar(2), Rebar(3, 1, 1), Stirrup(4),
                                          Place("rf_beam").guid};
         },
         false, {SelectRebarsAndStirrup}, 0},
        {"a selected beam on a locked layer", BeamKind,
         [&] {
             std::vector<API_Guid> s = BeamBars();
             Layer(7, false, true);
             s.push_back(Place("rf_beam", {Text("strIronID", "B1")}, 7).guid);
             return s;
         },
         false, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host->recorder.alerts.clear();
        host->user.modalDialogs.clear();
        host->model.Select(c.select());
        EXPECT_EQ(EditComplexElement(ObjectModifier(c.kind)), c.result);
        std::vector<std::string> expected;
        for (RSStringId id : c.alerts)
            expected.push_back(MessageText(id));
        EXPECT_EQ(Alerts(), expected);
        EXPECT_EQ(host->user.modalDialogs.size(), c.dialogs);
        EXPECT_TRUE(host->undo.steps.empty()) << "nothing changed";
    }
}

TEST_F(EditComplexInHostTest, SelectedBeamGetsTheNewIdAndItsList)
{
    std::vector<API_Guid> bars = BeamBars();
    host->model.Select(bars);
    ASSERT_TRUE(BuildComplexElement(ObjectCreator(BeamKind), "B1", 1, false, {10, 5, 0}));
    API_Guid beam = APINULLGuid;
    for (const SimHost::Element& e : host->model.Elements())
        if (e.type == API_ObjectID && e.Object().libInd == host->libraries.IndexOfPart("rf_beam"))
            beam = e.guid;
    const size_t stepsBefore = host->undo.steps.size();
    const size_t drawingsBefore = host->model.databases.details.size();

    // B1 is in use: the dialog refuses it, then takes B2.
    host->user.dialogAnswers.push_back({ComplexIdDialogId,
                                        {{Action::Kind::SetText, IdEdit, GS::UniString("B1"), 0},
                                         {Action::Kind::Click, IdOkButton, {}, 0},
                                         {Action::Kind::SetText, IdEdit, GS::UniString("B2"), 0},
                                         {Action::Kind::Click, IdOkButton, {}, 0}}});
    std::vector<API_Guid> selection = bars;
    selection.pop_back();  // the stirrup stays out ...
    selection.push_back(Rebar(5));
    selection.push_back(bars.back());  // ... and comes back after a new bar
    selection.push_back(beam);
    host->model.Select(selection);
    ASSERT_TRUE(EditComplexElement(ObjectModifier(BeamKind)));

    EXPECT_TRUE(Alerts().empty());
    EXPECT_EQ(IdOf(beam), "B2");
    for (const API_Guid& bar : selection)
        if (bar != beam) {
            EXPECT_EQ(IdOf(bar).substr(0, 5), "B2 - ");
        }
    // One step of the user's, the ID writing nested in it.
    ASSERT_EQ(host->undo.steps.size(), stepsBefore + 1);
    EXPECT_EQ(host->undo.steps.back().name, MessageText(ResStr::AddOnName::Name));
    ASSERT_EQ(host->model.databases.details.size(), drawingsBefore + 1) << "B2's own detail drawing";
    EXPECT_EQ(host->model.databases.details.back().ref, u"B2");
    // With no stored preferences the list comes along, where the user
    // clicks.
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Count("rf_list"), 1);

    // Undo takes the whole edit back.
    host->UndoLastStep();
    EXPECT_EQ(IdOf(beam), "B1");
    EXPECT_EQ(Count("rf_list"), 0);
}

TEST_F(EditComplexInHostTest, CrowningNeverGetsAList)
{
    std::vector<API_Guid> bars = {Rebar(0, 2), Rebar(1, 2), Stirrup(2, 1)};
    bars.push_back(Place("rf_crowning", {Text("strIronID", "K1")}).guid);
    host->model.Select(bars);
    TypeId("K2");
    ASSERT_TRUE(EditComplexElement(ObjectModifier(CrowningKind)));
    EXPECT_EQ(IdOf(bars.back()), "K2");
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(Count("rf_list"), 0);
}

TEST_F(EditComplexInHostTest, CancelsLeaveTheModelAsItWas)
{
    std::vector<API_Guid> bars = BeamBars();
    bars.push_back(Place("rf_beam", {Text("strIronID", "B1")}).guid);
    host->model.Select(bars);

    // Cancel in the dialog: the run reached it.
    host->user.dialogAnswers.push_back({ComplexIdDialogId, {{Action::Kind::Click, IdCancelButton, {}, 0}}});
    EXPECT_TRUE(EditComplexElement(ObjectModifier(BeamKind)));
    // Cancel while the IDs in use are collected: no dialog.
    host->user.modalDialogs.clear();
    host->user.cancelAtCheck = host->recorder.cancelChecks + 1;
    EXPECT_FALSE(EditComplexElement(ObjectModifier(BeamKind)));
    EXPECT_TRUE(host->user.modalDialogs.empty());
    EXPECT_TRUE(host->undo.steps.empty());
    EXPECT_EQ(IdOf(bars.back()), "B1");
    EXPECT_TRUE(Alerts().empty());
}

}  // namespace EditComplexInHostTests
