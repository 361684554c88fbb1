// The palette's commands: the steps around them, clicks and menu choices,
// and the tooltips.
#include "tests/e2e/palette/PaletteFixture.hpp"
#include "tests/support/GdlParams.hpp"

namespace {

using TestParams::Number;

USize IndexOf(const std::vector<std::string>& log, const std::string& what, USize from = 0)
{
    for (USize i = from; i < log.size(); ++i)
        if (log[i] == what)
            return i;
    return log.size();
}

class PaletteCommandsTest : public PaletteTest {
protected:
    // The palette open with one rebar selected: the push menus, Cutting
    // List and Export take clicks.
    void OpenWithRebarSelected(const SimHost::GdlParams& params = {})
    {
        ASSERT_TRUE(Start());
        OpenFromMenu();
        API_Guid rebar = host->PlaceObject("rf_rebar", params).guid;
        host->user.ChangeSelection({rebar});
        ASSERT_EQ(Enabled(), "11100011");
        host->recorder.requestLog.clear();
        host->recorder.suspendGroupToggles = 0;
    }

};

// The library first, then the mode on, then the check, and the mode off
// again at the end.
TEST_F(PaletteCommandsTest, CommandRunsBetweenTheSuspendGroupSteps)
{
    OpenWithRebarSelected();
    ASSERT_TRUE(host->user.ClickPaletteEntry(CuttingList));
    const auto& log = host->recorder.requestLog;
    USize glib = IndexOf(log, "GLIB"), issg = IndexOf(log, "ISSG"), on = IndexOf(log, "SUSP"), ntoe = IndexOf(log, "NTOE");
    ASSERT_LT(glib, issg);
    ASSERT_EQ(on, issg + 1);
    ASSERT_LT(on, ntoe) << "the check reads the selection with the mode on";
    EXPECT_EQ(log.back(), "SUSP");
    EXPECT_EQ(host->recorder.suspendGroupToggles, 2);
    EXPECT_FALSE(host->model.suspendGroups);
    EXPECT_TRUE(host->recorder.alerts.empty());
}

TEST_F(PaletteCommandsTest, ModeAlreadyOnIsNeitherSwitchedOnNorOff)
{
    OpenWithRebarSelected();
    host->model.suspendGroups = true;
    ASSERT_TRUE(host->user.ClickPaletteEntry(Export));
    EXPECT_EQ(Count(host->recorder.requestLog, "ISSG"), 1u);
    EXPECT_EQ(host->recorder.suspendGroupToggles, 0);
    EXPECT_TRUE(host->model.suspendGroups);
}

// A refused check shows its message and the mode is switched off again.
TEST_F(PaletteCommandsTest, RefusedCheckRestoresTheMode)
{
    OpenWithRebarSelected({Number("minApiVersion", 351), Number("maxApiVersion", 400)});
    ASSERT_TRUE(host->user.ChoosePaletteItem(Beam, 2));
    ASSERT_EQ(host->recorder.alerts.size(), 1u);
    EXPECT_EQ(host->recorder.alerts[0], host->session.AddOnString(130, 49));
    EXPECT_EQ(host->recorder.suspendGroupToggles, 2);
    EXPECT_FALSE(host->model.suspendGroups);
    EXPECT_EQ(host->recorder.requestLog.back(), "SUSP");
}

// A command that fails with an exception from the host's libraries ends
// there: the mode is switched off again and nothing reaches the host.
TEST_F(PaletteCommandsTest, FailingCommandStillRestoresTheMode)
{
    OpenWithRebarSelected();
    host->libraries.behaviours["rf_rebar"] = [](SimHost::Host&, SimHost::Element&) { throw GS::OutOfRangeException(); };
    ASSERT_TRUE(host->user.ClickPaletteEntry(CuttingList));
    EXPECT_EQ(host->recorder.suspendGroupToggles, 2);
    EXPECT_FALSE(host->model.suspendGroups);
    ASSERT_FALSE(host->recorder.progressWindows.empty());
    EXPECT_FALSE(host->recorder.progressWindows.back().open);
    ASSERT_EQ(host->recorder.debugLines.size(), 1u);
    EXPECT_NE(host->recorder.debugLines[0].find("PaletteButtonClicked failed"), std::string::npos) << host->recorder.debugLines[0];
}

// A click on a push menu toggles its check mark; the palette puts it back
// and runs the command of the item it shows.
TEST_F(PaletteCommandsTest, PushMenusKeepTheirCheckMark)
{
    OpenWithRebarSelected();
    DG::PushMenuCheck& beam = *Entries()[Beam].pushMenu;
    ASSERT_TRUE(host->user.ClickPaletteEntry(Beam));
    EXPECT_TRUE(beam.IsChecked());
    EXPECT_EQ(beam.GetSelectedItem(), 1);
    EXPECT_EQ(host->recorder.suspendGroupToggles, 2);

    ASSERT_TRUE(host->user.ChoosePaletteItem(Beam, 2));
    EXPECT_TRUE(beam.IsChecked());
    EXPECT_EQ(beam.GetSelectedItem(), 2);
    EXPECT_EQ(host->recorder.suspendGroupToggles, 4);
}

TEST_F(PaletteCommandsTest, DisabledEntriesTakeNoClicks)
{
    OpenWithRebarSelected();
    EXPECT_FALSE(host->user.ClickPaletteEntry(Wall));
    EXPECT_TRUE(host->recorder.requestLog.empty());
    host->user.ChangeSelection({});
    EXPECT_FALSE(host->user.ChoosePaletteItem(Crowning, 2));
    EXPECT_EQ(Entries()[Crowning].pushMenu->GetSelectedItem(), 1);
    EXPECT_EQ(host->recorder.suspendGroupToggles, 0);
}

// The command lines the add-on wrote since the last clear.
std::vector<std::string> CommandTrace(const SimHost::Host& host)
{
    std::vector<std::string> lines;
    for (const std::string& line : host.recorder.debugLines)
        if (line.rfind("[zolva] command ", 0) == 0)
            lines.push_back(line);
    return lines;
}

struct DispatchCase {
    const char* name;
    USize entry;
    Int16 shown;   // the push-menu item chosen beforehand (0: none)
    Int16 item;    // the push-menu item the user chooses; 0: a click on the entry
    API_ElemTypeID selected;  // what the user has selected first
    const char* command;      // the trace the command writes
};

class PaletteDispatchTest : public PaletteCommandsTest, public ::testing::WithParamInterface<DispatchCase> {
protected:
    // The palette open with an element of the case's type selected.
    void Select()
    {
        ASSERT_TRUE(Start());
        OpenFromMenu();
        const DispatchCase& c = GetParam();
        // Export takes a list (its file dialog, unanswered, is cancelled);
        // the other entries take any object.
        const char* part = c.entry == Export ? "rf_list" : "rf_rebar";
        API_Guid first = c.selected == API_ObjectID ? host->PlaceObject(part).guid : Add(c.selected);
        host->user.ChangeSelection({first});
        // The create commands check the selection against their kind: they
        // get one they accept, whose user then closes the ID dialog.
        if (std::string(c.command).find("command Create") != std::string::npos)
            host->user.ChangeSelection(AcceptedSelection(c.entry));
        // The edit commands too, with an element of the kind selected, so
        // that they take the road of the ID dialog.
        if (std::string(c.command).find("command Edit") != std::string::npos) {
            std::vector<API_Guid> selection = AcceptedSelection(c.entry);
            const char* kindPart = c.entry == Crowning ? "rf_crowning" : c.entry == Beam ? "rf_beam" : "rf_column";
            selection.push_back(host->PlaceObject(kindPart).guid);
            host->user.ChangeSelection(selection);
        }
        if (c.shown != 0) {
            ASSERT_TRUE(host->user.ChoosePaletteItem(c.entry, c.shown));
        }
        host->recorder.debugLines.clear();
        host->recorder.alerts.clear();
    }

    // Four singular rebars and a stirrup in the kind's positions; a stirrup
    // alone for a crowning.
    std::vector<API_Guid> AcceptedSelection(USize entry)
    {
        const bool vertical = entry != Beam;
        const API_Guid stirrup =
            host->PlaceObject("rf_stirrup", {Number("iPosition", vertical ? 1 : 2), Number("bOnlyOneBar", 0)}).guid;
        if (entry == Crowning)
            return {stirrup};
        std::vector<API_Guid> selection;
        for (int i = 0; i < 4; ++i)
            selection.push_back(host->PlaceObject("rf_rebar", {Number("iPosition", vertical ? 2 : 1)}).guid);
        selection.push_back(stirrup);
        return selection;
    }

    void Act()
    {
        const DispatchCase& c = GetParam();
        if (c.item == 0) {
            ASSERT_TRUE(host->user.ClickPaletteEntry(c.entry));
        } else {
            ASSERT_TRUE(host->user.ChoosePaletteItem(c.entry, c.item));
        }
    }
};

// Every row of the dispatch table: the entry, and for a push menu the
// item, start their own command, once.
TEST_P(PaletteDispatchTest, EntryRunsItsCommand)
{
    Select();
    Act();
    EXPECT_TRUE(host->recorder.alerts.empty());
    EXPECT_EQ(CommandTrace(*host), std::vector<std::string>{GetParam().command});
}

// A refused check runs no command, whichever entry asked.
TEST_P(PaletteDispatchTest, RefusedCheckRunsNoCommand)
{
    ASSERT_NO_FATAL_FAILURE(Select());
    // An object this version does not fit, selected after the first item:
    // the entries stay as they are, the check refuses.
    API_Guid tooNew = host->PlaceObject("rf_rebar", {Number("minApiVersion", 351), Number("maxApiVersion", 400)}).guid;
    std::vector<API_Guid> selection = host->model.selection;
    selection.push_back(tooNew);
    host->user.ChangeSelection(selection);
    host->recorder.debugLines.clear();
    Act();
    ASSERT_EQ(host->recorder.alerts.size(), 1u);
    EXPECT_EQ(host->recorder.alerts[0], host->session.AddOnString(130, 49));
    EXPECT_TRUE(CommandTrace(*host).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PaletteDispatchTest,
    ::testing::Values(
        DispatchCase{"CrowningCreate", Crowning, 0, 1, API_ObjectID, "[zolva] command CreateCrowningCommand 0"},
        DispatchCase{"CrowningEdit", Crowning, 0, 2, API_ObjectID, "[zolva] command EditCrowningCommand 0"},
        DispatchCase{"BeamCreate", Beam, 0, 1, API_ObjectID, "[zolva] command CreateBeamCommand 0"},
        DispatchCase{"BeamEdit", Beam, 0, 2, API_ObjectID, "[zolva] command EditBeamCommand 0"},
        DispatchCase{"ColumnCreate", Column, 0, 1, API_ObjectID, "[zolva] command CreateColumnCommand 0"},
        DispatchCase{"ColumnEdit", Column, 0, 2, API_ObjectID, "[zolva] command EditColumnCommand 0"},
        DispatchCase{"CrowningClickShowsCreate", Crowning, 0, 0, API_ObjectID, "[zolva] command CreateCrowningCommand 0"},
        DispatchCase{"ColumnClickAfterEdit", Column, 2, 0, API_ObjectID, "[zolva] command EditColumnCommand 0"},
        DispatchCase{"BeamCreateAfterEdit", Beam, 2, 1, API_ObjectID, "[zolva] command CreateBeamCommand 0"},
        DispatchCase{"Slab", Slab, 0, 0, API_SlabID, "[zolva] command ReinforceSelectedElements 8"},
        DispatchCase{"Wall", Wall, 0, 0, API_WallID, "[zolva] command ReinforceSelectedElements 1"},
        DispatchCase{"Roof", Roof, 0, 0, API_RoofID, "[zolva] command ReinforceSelectedElements 9"},
        DispatchCase{"CuttingList", CuttingList, 0, 0, API_ObjectID, "[zolva] command RunCuttingListOptimization 3"},
        DispatchCase{"Export", Export, 0, 0, API_ObjectID, "[zolva] command ExportListToText 0"}),
    [](const ::testing::TestParamInfo<DispatchCase>& info) { return std::string(info.param.name); });

// A query of the progress window that fails is no cancel: the command runs.
TEST_F(PaletteCommandsTest, FailedCancelQueryStillRunsTheCommand)
{
    OpenWithRebarSelected();
    host->recorder.debugLines.clear();
    host->faultPlan.FailRequest("CANC", static_cast<GSErrCode>(0x81060310), 1);
    ASSERT_TRUE(host->user.ClickPaletteEntry(CuttingList));
    EXPECT_TRUE(host->recorder.alerts.empty());
    EXPECT_EQ(CommandTrace(*host), std::vector<std::string>{"[zolva] command RunCuttingListOptimization 3"});
}

struct ToolTipCase {
    const char* name;
    USize entry;
    SimHost::EntryPart on;
    Int16 chosenItem;  // 0: the push menu keeps item 1
    Int16 text;        // entry of string list 202
};

class ToolTipTest : public PaletteCommandsTest, public ::testing::WithParamInterface<ToolTipCase> {};

// Icon and labels give the same text; a push menu's text follows its item.
TEST_P(ToolTipTest, TextOfTheEntry)
{
    const ToolTipCase& c = GetParam();
    OpenWithRebarSelected();
    if (c.chosenItem != 0) {
        ASSERT_TRUE(host->user.ChoosePaletteItem(c.entry, c.chosenItem));
    }
    if (c.on == SimHost::EntryPart::LabelBelow) {
        ASSERT_TRUE(host->user.ResizePalette(111, 200));  // the look with labels below
    }
    std::string text;
    ASSERT_TRUE(host->user.HoverPaletteEntry(c.entry, c.on, &text));
    EXPECT_EQ(text, host->session.AddOnString(202, c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ToolTipTest,
    ::testing::Values(ToolTipCase{"BeamCreate", Beam, SimHost::EntryPart::Control, 0, 2},
                      ToolTipCase{"BeamEdit", Beam, SimHost::EntryPart::Control, 2, 12},
                      ToolTipCase{"CrowningEditLabel", Crowning, SimHost::EntryPart::LabelBeside, 2, 11},
                      ToolTipCase{"ColumnCreateChosen", Column, SimHost::EntryPart::Control, 1, 3},
                      ToolTipCase{"RoofIcon", Roof, SimHost::EntryPart::Control, 0, 6},
                      ToolTipCase{"RoofLabelBeside", Roof, SimHost::EntryPart::LabelBeside, 0, 6},
                      ToolTipCase{"RoofLabelBelow", Roof, SimHost::EntryPart::LabelBelow, 0, 6},
                      ToolTipCase{"Export", Export, SimHost::EntryPart::Control, 0, 8}),
    [](const ::testing::TestParamInfo<ToolTipCase>& info) { return std::string(info.param.name); });

#if HOST_VERSION == 24
TEST_F(PaletteCommandsTest, BeamEditToolTipInEnglish)
{
    OpenWithRebarSelected();
    ASSERT_TRUE(host->user.ChoosePaletteItem(Beam, 2));
    std::string text;
    ASSERT_TRUE(host->user.HoverPaletteEntry(Beam, SimHost::EntryPart::Control, &text));
    EXPECT_EQ(text, "Edit Beam,\nplease select a minimum of\n4 horizontal rebars and one vertical stirrup!");
}
#endif

TEST_F(PaletteCommandsTest, NoToolTipOffTheEntries)
{
    OpenWithRebarSelected();
    GS::UniString text("unchanged");
    ASSERT_TRUE(DG::UserInput::RequestToolTip(Palette(), nullptr, &text));
    EXPECT_TRUE(text.IsEmpty());
}

}  // namespace
