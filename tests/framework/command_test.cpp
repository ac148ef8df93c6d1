// Commands: routing through view, document, frame and application; enabling rules from the
// menu and the accelerators; menu prompts and the status bar; the main window's title.
#include <gtest/gtest.h>

#include "test_app.h"

namespace fwtest {
namespace {

class CommandTest : public FrameworkTest {
  protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        ASSERT_TRUE(StartApp());
        TheLog().Clear();
    }
};

TEST_F(CommandTest, EachCommandReachesTheFirstObjectOnTheRouteThatHandlesIt) {
    struct Case {
        UINT id;
        const char* handledBy;
    };
    // The view comes before the frame, which also maps kViewCommand.
    for (const Case& c : {Case{kViewCommand, "view command"}, Case{kDocCommand, "doc command"},
                          Case{kFrameCommand, "frame command"}, Case{kAppCommand, "app command"},
                          Case{kSubmenuCommand, "submenu command"}}) {
        TheLog().Clear();
        EXPECT_TRUE(driver->IsMenuItemEnabled(c.id)) << c.id;
        EXPECT_TRUE(driver->ChooseMenu(c.id)) << c.id;
        EXPECT_EQ(TheLog().events, std::vector<std::string>{c.handledBy}) << c.id;
    }
}

TEST_F(CommandTest, DisabledCommandRunsNeitherFromTheMenuNorFromItsKeys) {
    EXPECT_FALSE(driver->IsMenuItemEnabled(kRuledCommand));
    EXPECT_FALSE(driver->ChooseMenu(kRuledCommand));
    EXPECT_FALSE(driver->PressKey('R', true));
    EXPECT_TRUE(TheLog().events.empty());
    TheSettings().ruledEnabled = true;
    EXPECT_TRUE(driver->IsMenuItemEnabled(kRuledCommand));
    EXPECT_TRUE(driver->ChooseMenu(kRuledCommand));
    EXPECT_TRUE(driver->PressKey('R', true));
    EXPECT_EQ(TheLog().events, (std::vector<std::string>{"ruled command", "ruled command"}));
}

TEST_F(CommandTest, CommandNobodyHandlesIsDisabled) {
    EXPECT_FALSE(driver->IsMenuItemEnabled(kUnhandledCommand));
    EXPECT_FALSE(driver->ChooseMenu(kUnhandledCommand));
    EXPECT_FALSE(driver->ChooseMenu(4242));  // not in the menu at all
}

TEST_F(CommandTest, AcceleratorsMatchTheirModifiers) {
    EXPECT_TRUE(driver->PressKey('V', true));
    EXPECT_TRUE(driver->PressKey('V', true, true));
    EXPECT_FALSE(driver->PressKey('V'));  // no accelerator without Ctrl
    EXPECT_FALSE(driver->PressKey('V', true, false, true));
    EXPECT_EQ(TheLog().events, (std::vector<std::string>{"view command", "doc command"}));
}

TEST_F(CommandTest, NextPaneIsDisabledWithoutASplitter) {
    EXPECT_FALSE(driver->PressKey(VK_F6));
    EXPECT_FALSE(driver->PressKey(VK_F6, false, true));
}

TEST_F(CommandTest, MenuPromptInTheMessagePaneWhileHighlighted) {
    EXPECT_EQ(driver->StatusPane(0), L"Prêt");
    driver->HighlightMenuItem(300 + 10);
    EXPECT_EQ(driver->StatusPane(0), L"Commande de la vue");
    driver->HighlightMenuItem(ID_FILE_NEW);
    EXPECT_EQ(driver->StatusPane(0), L"Crée un document");
    // An item without a string shows nothing.
    driver->HighlightMenuItem(kDocCommand);
    EXPECT_EQ(driver->StatusPane(0), L"");
    driver->CloseMenu();
    EXPECT_EQ(driver->StatusPane(0), L"Prêt");
    // Choosing a command closes the menu first: its handler runs with "Prêt" shown.
    EXPECT_TRUE(driver->ChooseMenu(kViewCommand));
    EXPECT_EQ(driver->StatusPane(0), L"Prêt");
}

TEST_F(CommandTest, MessageOfTheProgramStaysUntilAMenuCloses) {
    driver->MainFrame()->SetMessageText(L"Calcul en cours");
    driver->AdvanceClock(5);
    EXPECT_EQ(driver->StatusPane(0), L"Calcul en cours");
    driver->HighlightMenuItem(ID_FILE_NEW);
    driver->CloseMenu();
    EXPECT_EQ(driver->StatusPane(0), L"Prêt");
}

TEST_F(CommandTest, StatusPanesKeepTheProgramsStyleAndFollowTheKeyboard) {
    ASSERT_EQ(driver->StatusPaneCount(), 3);
    // Pane 1 was darkened by the frame; no update handler touches it at idle time.
    EXPECT_EQ(driver->StatusPaneStyle(1), SBPS_DISABLED);
    EXPECT_EQ(driver->StatusPane(1), L"");
    EXPECT_EQ(driver->StatusPaneText(1), L"PTS");
    driver->AdvanceClock(10);
    EXPECT_EQ(driver->StatusPaneStyle(1), SBPS_DISABLED);
    EXPECT_TRUE(driver->ChooseMenu(kPaneCommand));
    EXPECT_EQ(driver->StatusPaneStyle(1), 0u);
    EXPECT_EQ(driver->StatusPane(1), L"PTS");
    // The Caps Lock pane follows the key.
    EXPECT_EQ(driver->StatusPane(2), L"");
    driver->SetKeyLocked(VK_CAPITAL, true);
    driver->AdvanceClock(1);
    EXPECT_EQ(driver->StatusPane(2), L"MAJ");
}

TEST_F(CommandTest, WaitCursorIsShownOnceForNestedWaits) {
    EXPECT_TRUE(driver->ChooseMenu(kWaitCommand));
    EXPECT_EQ(driver->WaitCursorShows(), 1);
    EXPECT_FALSE(driver->WaitCursorShown());
}

TEST_F(CommandTest, TitleAndWindows) {
    EXPECT_EQ(driver->MainWindowTitle(), L"sans titre - Testeur");
    EXPECT_TRUE(driver->MainWindowVisible());
    EXPECT_TRUE(driver->MainWindowEnabled());
    CFrameWnd* frame = driver->MainFrame();
    ASSERT_NE(frame, nullptr);
    CView* view = frame->GetActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetParentFrame(), frame);
    EXPECT_EQ(view->GetDocument(), Doc());
    // The view fills the client area above the status bar.
    CRect frameRect, viewRect, client;
    frame->GetWindowRect(&frameRect);
    frame->GetClientRect(&client);
    view->GetWindowRect(&viewRect);
    EXPECT_EQ(frameRect, CRect(0, 0, 1440, 810));
    EXPECT_EQ(client, CRect(0, 0, 1440 - 8, 810 - 8 - 21 - 20));
    EXPECT_EQ(viewRect, CRect(4, 45, 4 + 1432, 45 + 761 - 20));
    driver->MoveMainWindow(CRect(10, 10, 810, 610));
    view->GetWindowRect(&viewRect);
    EXPECT_EQ(viewRect, CRect(14, 55, 14 + 792, 55 + 600 - 49 - 20));
}

}  // namespace
}  // namespace fwtest
