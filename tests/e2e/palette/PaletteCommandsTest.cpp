// The palette's commands: the steps around them, clicks and menu choices,
// and the tooltips.
#include "tests/e2e/palette/PaletteFixture.hpp"

namespace {

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
        host->ChangeSelection({rebar});
        ASSERT_EQ(Enabled(), "11100011");
        host->requestLog.clear();
        host->suspendGroupToggles = 0;
    }

    static SimHost::GdlParam Number(const char* name, double value)
    {
        SimHost::GdlParam p;
        p.name = name;
        p.number = value;
        return p;
    }
};

// The library first, then the mode on, then the check, and the mode off
// again at the end.
TEST_F(PaletteCommandsTest, CommandRunsBetweenTheSuspendGroupSteps)
{
    OpenWithRebarSelected();
    ASSERT_TRUE(host->ClickPaletteEntry(CuttingList));
    const auto& log = host->requestLog;
    USize glib = IndexOf(log, "GLIB"), issg = IndexOf(log, "ISSG"), on = IndexOf(log, "SUSP"), ntoe = IndexOf(log, "NTOE");
    ASSERT_LT(glib, issg);
    ASSERT_EQ(on, issg + 1);
    ASSERT_LT(on, ntoe) << "the check reads the selection with the mode on";
    EXPECT_EQ(log.back(), "SUSP");
    EXPECT_EQ(host->suspendGroupToggles, 2);
    EXPECT_FALSE(host->model.suspendGroups);
    EXPECT_TRUE(host->alerts.empty());
}

TEST_F(PaletteCommandsTest, ModeAlreadyOnIsNeitherSwitchedOnNorOff)
{
    OpenWithRebarSelected();
    host->model.suspendGroups = true;
    ASSERT_TRUE(host->ClickPaletteEntry(Export));
    EXPECT_EQ(Count(host->requestLog, "ISSG"), 1u);
    EXPECT_EQ(host->suspendGroupToggles, 0);
    EXPECT_TRUE(host->model.suspendGroups);
}

// A refused check shows its message and the mode is switched off again.
TEST_F(PaletteCommandsTest, RefusedCheckRestoresTheMode)
{
    OpenWithRebarSelected({Number("minApiVersion", 351), Number("maxApiVersion", 400)});
    ASSERT_TRUE(host->ChoosePaletteItem(Beam, 2));
    ASSERT_EQ(host->alerts.size(), 1u);
    EXPECT_EQ(host->alerts[0], host->AddOnString(130, 49));
    EXPECT_EQ(host->suspendGroupToggles, 2);
    EXPECT_FALSE(host->model.suspendGroups);
    EXPECT_EQ(host->requestLog.back(), "SUSP");
}

// A command that fails with an exception from the host's libraries ends
// there: the mode is switched off again and nothing reaches the host.
TEST_F(PaletteCommandsTest, FailingCommandStillRestoresTheMode)
{
    OpenWithRebarSelected();
    host->partBehaviours["rf_rebar"] = [](SimHost::Host&, SimHost::Element&) { throw GS::OutOfRangeException(); };
    ASSERT_TRUE(host->ClickPaletteEntry(CuttingList));
    EXPECT_EQ(host->suspendGroupToggles, 2);
    EXPECT_FALSE(host->model.suspendGroups);
    ASSERT_FALSE(host->progressWindows.empty());
    EXPECT_FALSE(host->progressWindows.back().open);
    ASSERT_EQ(host->debugLines.size(), 1u);
    EXPECT_NE(host->debugLines[0].find("PaletteButtonClicked failed"), std::string::npos) << host->debugLines[0];
}

// A click on a push menu toggles its check mark; the palette puts it back
// and runs the command of the item it shows.
TEST_F(PaletteCommandsTest, PushMenusKeepTheirCheckMark)
{
    OpenWithRebarSelected();
    DG::PushMenuCheck& beam = *Entries()[Beam].pushMenu;
    ASSERT_TRUE(host->ClickPaletteEntry(Beam));
    EXPECT_TRUE(beam.IsChecked());
    EXPECT_EQ(beam.GetSelectedItem(), 1);
    EXPECT_EQ(host->suspendGroupToggles, 2);

    ASSERT_TRUE(host->ChoosePaletteItem(Beam, 2));
    EXPECT_TRUE(beam.IsChecked());
    EXPECT_EQ(beam.GetSelectedItem(), 2);
    EXPECT_EQ(host->suspendGroupToggles, 4);
}

TEST_F(PaletteCommandsTest, DisabledEntriesTakeNoClicks)
{
    OpenWithRebarSelected();
    EXPECT_FALSE(host->ClickPaletteEntry(Wall));
    EXPECT_TRUE(host->requestLog.empty());
    host->ChangeSelection({});
    EXPECT_FALSE(host->ChoosePaletteItem(Crowning, 2));
    EXPECT_EQ(Entries()[Crowning].pushMenu->GetSelectedItem(), 1);
    EXPECT_EQ(host->suspendGroupToggles, 0);
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
        ASSERT_TRUE(host->ChoosePaletteItem(c.entry, c.chosenItem));
    }
    if (c.on == SimHost::EntryPart::LabelBelow) {
        ASSERT_TRUE(host->ResizePalette(111, 200));  // the look with labels below
    }
    std::string text;
    ASSERT_TRUE(host->HoverPaletteEntry(c.entry, c.on, &text));
    EXPECT_EQ(text, host->AddOnString(202, c.text));
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
    ASSERT_TRUE(host->ChoosePaletteItem(Beam, 2));
    std::string text;
    ASSERT_TRUE(host->HoverPaletteEntry(Beam, SimHost::EntryPart::Control, &text));
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
