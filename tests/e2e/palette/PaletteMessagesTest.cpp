// The host's palette messages 1 to 7 and the palette's lifetime.
#include "tests/e2e/palette/PaletteFixture.hpp"

namespace {

using PaletteMessagesTest = PaletteTest;

TEST_F(PaletteMessagesTest, BeforeAnyPaletteOnlyTheVisibilityQueryAnswers)
{
    ASSERT_TRUE(Start());
    for (Int32 message = 2; message <= 5; ++message)
        EXPECT_EQ(host->user.SendPaletteMessage(message), NoError) << message;
    EXPECT_FALSE(host->user.AskPaletteVisible());
    EXPECT_TRUE(DG::UserInput::Palettes().empty());

    // Messages for another palette's reference id are not the add-on's.
    const SimHost::PaletteRegistration& own = host->session.palettes.at(0);
    EXPECT_EQ(own.callback(own.referenceID + 1, APIPalMsg_OpenPalette, 0), NoError);
    EXPECT_TRUE(DG::UserInput::Palettes().empty());
    // A visibility query without a place for the answer is ignored.
    EXPECT_EQ(own.callback(own.referenceID, APIPalMsg_IsPaletteVisible, 0), NoError);
}

TEST_F(PaletteMessagesTest, HidingAndShowingForTheHost)
{
    ASSERT_TRUE(Start());
    OpenFromMenu();
    EXPECT_TRUE(host->user.AskPaletteVisible());
    host->user.SendPaletteMessage(APIPalMsg_HidePalette_Begin);
    EXPECT_FALSE(Palette().IsVisible());
    EXPECT_FALSE(host->user.AskPaletteVisible());
    // Hidden, the palette ignores the disabling messages.
    host->user.SendPaletteMessage(APIPalMsg_DisableItems_Begin);
    EXPECT_EQ(Enabled(), "00000010");
    host->user.SendPaletteMessage(APIPalMsg_HidePalette_End);
    EXPECT_TRUE(Palette().IsVisible());
    EXPECT_TRUE(host->user.AskPaletteVisible());
}

// The host disables its palettes for a while (4) and enables them again (5):
// the entries disabled before stay disabled, every time.
TEST_F(PaletteMessagesTest, EnablingAfterTheHostKeepsEntriesDisabledBefore)
{
    ASSERT_TRUE(Start());
    OpenFromMenu();
    SetEnabled("11111110");  // Export disabled

    host->user.SendPaletteMessage(APIPalMsg_DisableItems_Begin);
    EXPECT_EQ(Enabled(), "00000000");
    for (const auto& e : Entries())
        EXPECT_FALSE(e.labelBeside->IsEnabled() || e.labelBelow->IsEnabled()) << "every item is disabled";

    host->user.SendPaletteMessage(APIPalMsg_DisableItems_End);
    EXPECT_EQ(Enabled(), "11111110");
    EXPECT_TRUE(Entries()[Export].labelBeside->IsEnabled());
    SetEnabled("11111111");
    host->user.SendPaletteMessage(APIPalMsg_DisableItems_End);
    EXPECT_EQ(Enabled(), "11111110") << "the entries remembered at the last message 4";
}

TEST_F(PaletteMessagesTest, EnablingWithoutDisablingFirstEnablesEverything)
{
    ASSERT_TRUE(Start());
    OpenFromMenu();
    ASSERT_EQ(Enabled(), "00000010");  // nothing selected when it opened
    host->user.SendPaletteMessage(APIPalMsg_DisableItems_End);
    EXPECT_EQ(Enabled(), "11111111");
}

TEST_F(PaletteMessagesTest, CloseMessageDeletesAndOpenMessageMakesANewPalette)
{
    ASSERT_TRUE(Start());
    OpenFromMenu();
    ASSERT_TRUE(host->user.ResizePalette(350, 111));
    host->user.SendPaletteMessage(APIPalMsg_ClosePalette);
    EXPECT_EQ(host->user.AddOnPalette(), nullptr);
    EXPECT_TRUE(DG::UserInput::Palettes().empty());
    EXPECT_FALSE(host->user.AskPaletteVisible());

    host->user.SendPaletteMessage(APIPalMsg_OpenPalette);
    ASSERT_NE(host->user.AddOnPalette(), nullptr);
    EXPECT_TRUE(Palette().IsVisible());
    EXPECT_EQ(Palette().GetClientWidth(), 111) << "a new palette, at its first size";
    EXPECT_EQ(Palette().GetMinClientWidth(), 40);
    EXPECT_TRUE(Palette().IsEventProcessing());
    EXPECT_EQ(Enabled(), "00000010") << "set when it opened";
    EXPECT_EQ(DG::UserInput::Palettes().size(), 1u);
}

// Closing only hides: the menu shows the same palette again, and never a
// second one.
TEST_F(PaletteMessagesTest, UserCloseKeepsThePaletteForTheMenu)
{
    ASSERT_TRUE(Start());
    OpenFromMenu();
    DG::Palette* first = host->user.AddOnPalette();
    ASSERT_TRUE(host->user.ResizePalette(350, 111));
    ASSERT_TRUE(host->user.ClosePalette());
    EXPECT_FALSE(first->IsVisible());
    EXPECT_EQ(host->user.AddOnPalette(), first);

    OpenFromMenu();
    EXPECT_EQ(host->user.AddOnPalette(), first);
    EXPECT_TRUE(first->IsVisible());
    EXPECT_EQ(first->GetClientWidth(), 350);
    OpenFromMenu();
    EXPECT_EQ(DG::UserInput::Palettes().size(), 1u);
}

TEST_F(PaletteMessagesTest, PaletteAsCreated)
{
    ASSERT_TRUE(Start());
    OpenFromMenu();
    DG::Palette& p = Palette();
    EXPECT_EQ(p.GetTitle().ToUtf8(), host->session.AddOnString(32501, 1));
    EXPECT_EQ(p.GetGuid(), GS::Guid("{47f84345-4d48-41a5-9ede-821629ce5393}"));
    EXPECT_EQ(p.GetGrowType(), 3);
    EXPECT_EQ(p.GetCloseType(), 4);
    EXPECT_EQ(p.GetCaptionType(), 0);
    EXPECT_EQ(p.GetFrameType(), 0);
    auto entries = Entries();
    ASSERT_EQ(entries.size(), 8u);
    for (USize i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        const auto& e = entries[i];
        EXPECT_EQ(e.Label(), host->session.AddOnString(201, static_cast<Int16>(i + 1)));
        EXPECT_EQ(e.labelBeside->GetText(), e.labelBelow->GetText());
        EXPECT_EQ(e.labelBeside->GetTruncation(), 0x1000);
        EXPECT_EQ(e.control->GetWidth(), 30);
        if (i < Slab) {
            ASSERT_NE(e.pushMenu, nullptr);
            EXPECT_EQ(e.pushMenu->GetItemCount(), 2);
            EXPECT_EQ(e.pushMenu->GetSelectedItem(), 1);
            EXPECT_TRUE(e.pushMenu->IsChecked());
            EXPECT_EQ(e.pushMenu->GetItemIcon(1).GetResourceId(), 32620 + static_cast<Int16>(i));
            EXPECT_EQ(e.pushMenu->GetItemIcon(2).GetResourceId(), 32630 + static_cast<Int16>(i));
            EXPECT_FALSE(e.pushMenu->GetItemIcon(2).IsEmpty());
        } else {
            ASSERT_NE(e.button, nullptr);
            EXPECT_EQ(e.button->GetIcon().GetResourceId(), 32611 + static_cast<Int16>(i));
            EXPECT_FALSE(e.button->GetIcon().IsEmpty());
        }
    }
}

// The free-data entry leaves the palette alone; the palette goes with the
// library when it is unloaded rather than staying in DG without its code.
TEST_F(PaletteMessagesTest, PaletteOutlivesFreeDataButNotTheLibrary)
{
    ASSERT_TRUE(Start());
    OpenFromMenu();
    EXPECT_EQ(host->session.Entry().freeData(), NoError);
    EXPECT_TRUE(host->session.palettes.empty()) << "unregistered";
    ASSERT_EQ(DG::UserInput::Palettes().size(), 1u);
    EXPECT_TRUE(DG::UserInput::Palettes()[0]->IsVisible());
    host->session.UnloadAddOn(false);
    EXPECT_TRUE(DG::UserInput::Palettes().empty());
    EXPECT_TRUE(host->recorder.debugLines.empty()) << "the free-data entry did run";
}

TEST_F(PaletteMessagesTest, ReportShowsThePaletteAsTheAddOnLeftIt)
{
    ASSERT_TRUE(Start());
    OpenFromMenu();
    std::string label = host->session.AddOnString(201, 7);
    host->session.UnloadAddOn(true);
    EXPECT_NE(host->session.paletteAtUnload.find("6 \"" + label + "\" button (icon 32617): enabled, shown at (0, 264)"),
              std::string::npos)
        << host->session.paletteAtUnload;
}

}  // namespace
