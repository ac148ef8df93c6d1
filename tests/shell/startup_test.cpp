// Start-up: the new document, the status bar, the splash and its timer, about box, help, printer
// set-up.
#include <gtest/gtest.h>

#include "framework/user_input.h"
#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"

namespace {

using StartupTest = KurvomatSession;

TEST_F(StartupTest, NewDocumentWithDarkStatePanes) {
    ASSERT_TRUE(Start());
    headless::Driver& d = Driver();
    EXPECT_EQ(d.MainWindowTitle(), L"sans nom - Kurvomat");
    EXPECT_TRUE(d.MainWindowVisible());
    EXPECT_TRUE(d.MainWindowEnabled());
    EXPECT_EQ(d.StatusPane(0), L"Prêt");
    ASSERT_EQ(d.StatusPaneCount(), 9);
    const wchar_t* const names[] = {L"PTS", L"FCT", L"COEF", L"DIST", L"ECH"};
    for (int pane = 1; pane <= 5; ++pane) {
        SCOPED_TRACE(pane);
        EXPECT_EQ(d.StatusPaneText(pane), names[pane - 1]);
        EXPECT_EQ(d.StatusPane(pane), L"") << "dark";
        EXPECT_EQ(d.StatusPaneStyle(pane) & SBPS_DISABLED, SBPS_DISABLED);
    }
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(Data().hasPoints, 0);
    EXPECT_EQ(Data().function.isCompiled, 0);
    EXPECT_EQ(Data().fitDistance, -1.0);
    EXPECT_TRUE(d.RecentFiles().empty()) << "a new document enters no recent-file entry";
    EXPECT_EQ(ScriptErrors(), "");
}

TEST_F(StartupTest, KeyboardIndicatorsFollowTheKeys) {
    Driver().SetKeyLocked(VK_CAPITAL, true);
    Driver().SetKeyLocked(VK_NUMLOCK, false);
    Driver().SetKeyLocked(VK_SCROLL, true);
    ASSERT_TRUE(Start());
    EXPECT_EQ(Driver().StatusPane(6), L"MAJ");
    EXPECT_EQ(Driver().StatusPane(7), L"");
    EXPECT_EQ(Driver().StatusPane(8), L"DEF");
}

TEST_F(StartupTest, SplashRunsThreeSecondsOverTheDisabledMainWindow) {
    NewApp();
    headless::Driver& d = Driver();
    d.NextDialog(IDD_WAIT)
        .Check([](headless::Driver& in) {
            EXPECT_EQ(in.ActiveDialogId(), IDD_WAIT);
            EXPECT_TRUE(in.MainWindowVisible()) << "shown before the splash";
            EXPECT_FALSE(in.MainWindowEnabled()) << "disabled behind the splash";
            EXPECT_EQ(in.MainWindowTitle(), L"sans nom - Kurvomat");
        })
        .AdvanceClock(2999)
        .Check([](headless::Driver& in) {
            EXPECT_EQ(in.ActiveDialogId(), IDD_WAIT) << "still open at 2999 ms";
        })
        .AdvanceClock(1);
    ASSERT_TRUE(d.Start());
    EXPECT_EQ(d.ActiveDialogId(), 0) << "closed at 3000 ms";
    EXPECT_EQ(d.Now(), 3000u);
    EXPECT_TRUE(d.MainWindowEnabled());
    ASSERT_FALSE(d.DialogsOpened().empty());
    EXPECT_EQ(d.DialogsOpened().front(), static_cast<int>(IDD_WAIT));
    EXPECT_EQ(ScriptErrors(), "");
}

TEST_F(StartupTest, OtherTimerIdentifiersLeaveTheSplashOpen) {
    NewApp();
    headless::Driver& d = Driver();
    d.NextDialog(IDD_WAIT)
        .Check([](headless::Driver&) {
            CWnd* splash = CWnd::FromHandle(framework::ActiveWindow());
            ASSERT_NE(splash, nullptr);
            for (WPARAM id : {WPARAM(0), WPARAM(1), WPARAM(999), WPARAM(1001), WPARAM(3000)}) {
                splash->SendMessage(WM_TIMER, id, 0);
            }
        })
        .Check([](headless::Driver& in) { EXPECT_EQ(in.ActiveDialogId(), IDD_WAIT); })
        .Check([](headless::Driver&) {
            CWnd::FromHandle(framework::ActiveWindow())->SendMessage(WM_TIMER, WAIT_TIMER_ID, 0);
        });
    ASSERT_TRUE(d.Start());
    EXPECT_EQ(d.ActiveDialogId(), 0) << "timer 1000 ends it";
    EXPECT_EQ(d.Now(), 0u) << "ended by the message, not by the clock";
    EXPECT_EQ(ScriptErrors(), "");
}

// Enter, Escape and the close box end the splash before its time.
TEST_F(StartupTest, SplashEndsEarlyByTheKeyboardOrTheCloseBox) {
    const std::function<void(headless::DialogScript&)> endings[] = {
        [](headless::DialogScript& s) { s.PressEnter(); },
        [](headless::DialogScript& s) { s.PressEscape(); },
        [](headless::DialogScript& s) { s.CloseBox(); },
    };
    int ending = 0;
    for (const auto& end : endings) {
        SCOPED_TRACE(ending++);
        Stop();
        NewApp();
        headless::DialogScript& script = Driver().NextDialog(IDD_WAIT).AdvanceClock(100);
        end(script);
        ASSERT_TRUE(Driver().Start());
        EXPECT_EQ(Driver().ActiveDialogId(), 0);
        EXPECT_EQ(Driver().Now(), 100u);
        EXPECT_EQ(ScriptErrors(), "");
        // The splash's timer ended with it: time passing shows nothing more.
        Driver().AdvanceClock(5000);
        EXPECT_EQ(Driver().DialogsOpened().size(), 1u);
        EXPECT_EQ(ScriptErrors(), "");
    }
}

TEST_F(StartupTest, AboutBoxClosesWithItsButton) {
    ASSERT_TRUE(Start());
    headless::Driver& d = Driver();
    d.NextDialog(IDD_ABOUTBOX)
        .Check([](headless::Driver& in) {
            EXPECT_EQ(in.Caption(), L"A propos de Kurvomat");
            EXPECT_TRUE(in.IsVisible(IDOK));
            EXPECT_FALSE(in.MainWindowEnabled());
        })
        .Click(IDOK);
    ASSERT_TRUE(d.ChooseMenu(ID_APP_ABOUT));
    EXPECT_EQ(d.ActiveDialogId(), 0);
    // It opens as often as asked.
    d.NextDialog(IDD_ABOUTBOX).PressEscape();
    ASSERT_TRUE(d.ChooseMenu(ID_APP_ABOUT));
    EXPECT_EQ(d.DialogsOpened().back(), static_cast<int>(IDD_ABOUTBOX));
    EXPECT_EQ(ScriptErrors(), "");
}

// The splash and the about box share the icon and the three lines, at the same places.
TEST_F(StartupTest, SplashAndAboutBoxShowTheSameLines) {
    CKurvomatApp app;
    const DialogTemplate* about = FindDialogResource(IDD_ABOUTBOX);
    const DialogTemplate* splash = FindDialogResource(IDD_WAIT);
    ASSERT_NE(about, nullptr);
    ASSERT_NE(splash, nullptr);
    ASSERT_EQ(about->controls.size(), splash->controls.size() + 1);
    for (size_t i = 0; i < splash->controls.size(); ++i) {
        const DialogControlTemplate& a = about->controls[i];
        const DialogControlTemplate& s = splash->controls[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(a.text, s.text);
        EXPECT_EQ(a.style, s.style);
        EXPECT_EQ(CRect(a.x, a.y, a.cx, a.cy), CRect(s.x, s.y, s.cx, s.cy));
    }
    EXPECT_EQ(about->controls[1].text, L"KURVOMAT pour Linux Version 2.1");
    EXPECT_EQ(about->controls.back().id, IDOK);
    EXPECT_NE(about->style & WS_CAPTION, 0u);
    EXPECT_EQ(splash->style & (WS_CAPTION | WS_SYSMENU), 0u);
    EXPECT_NE(FindIconResource(IDI_KURVOMAT), nullptr);
}

struct HelpCase {
    const wchar_t* executable;
    const char* request;
};

TEST_F(StartupTest, HelpOpensTheCompiledHelpBesideTheExecutable) {
    const HelpCase cases[] = {
        {L"/opt/kurvomat/bin/Kurvomat", "open \"/opt/kurvomat/bin/Kurvomat.chm\""},
        {L"/opt/kurvomat/bin/Kurvomat.exe", "open \"/opt/kurvomat/bin/Kurvomat.chm\""},
        // Every ".HLP" of the path is replaced, a folder's included.
        {L"/home/u/doc.HLP/Kurvomat", "open \"/home/u/doc.chm/Kurvomat.chm\""},
        {L"/home/u/Étude/Kurvomat", "open \"/home/u/Étude/Kurvomat.chm\""},
    };
    for (const HelpCase& c : cases) {
        SCOPED_TRACE(WideToNarrow(c.executable));
        Stop();
        NewApp();
        Driver().NextDialog(IDD_WAIT).AdvanceClock(3000);
        headless::StartOptions options;
        options.executablePath = c.executable;
        ASSERT_TRUE(Driver().Start(L"", options));
        ASSERT_TRUE(Driver().ChooseMenu(ID_HELP_MANUAL));
        ASSERT_EQ(Driver().ShellRequests().size(), 1u);
        EXPECT_EQ(Driver().ShellRequests()[0], c.request);
        EXPECT_TRUE(Driver().MessageBoxes().empty()) << "the help command shows nothing";
    }
}

// With the file missing or no program to open it, an information box names the file.
TEST_F(StartupTest, HelpThatCannotOpenSaysSo) {
    NewApp();
    Driver().NextDialog(IDD_WAIT).AdvanceClock(3000);
    headless::StartOptions options;
    options.executablePath = L"/opt/kurvomat/bin/kurvomat";
    ASSERT_TRUE(Driver().Start(L"", options));
    Driver().SetShellFails(true);
    Driver().AnswerMessageBox(IDOK);
    ASSERT_TRUE(Driver().ChooseMenu(ID_HELP_MANUAL));
    ASSERT_EQ(Driver().MessageBoxes().size(), 1u);
    const headless::MessageBoxRecord& box = Driver().MessageBoxes()[0];
    EXPECT_EQ(box.caption, L"Kurvomat");
    EXPECT_EQ(box.text, L"Impossible d'ouvrir le fichier d'aide /opt/kurvomat/bin/kurvomat.chm");
    EXPECT_EQ(box.type & (MB_ICONMASK | MB_TYPEMASK), UINT(MB_OK | MB_ICONINFORMATION));
}

TEST_F(StartupTest, PrinterSetUpAlwaysLeavesLandscape) {
    ASSERT_TRUE(Start());
    headless::Driver& d = Driver();
    d.AnswerPrintDialog(DMORIENT_PORTRAIT);
    ASSERT_TRUE(d.ChooseMenu(ID_FILE_PRINT_SETUP));
    d.AnswerPrintDialog();
    ASSERT_TRUE(d.ChooseMenu(ID_FILE_PRINT_SETUP));
    d.CancelPrintDialog();
    ASSERT_TRUE(d.ChooseMenu(ID_FILE_PRINT_SETUP));
    ASSERT_EQ(d.PrintDialogs().size(), 3u);
    for (const headless::PrintDialogRecord& shown : d.PrintDialogs()) {
        EXPECT_TRUE(shown.setupOnly);
        EXPECT_EQ(shown.orientationShown, DMORIENT_LANDSCAPE);
        EXPECT_EQ(shown.flags & (PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE),
                  PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE);
    }
    // The application's settings after the user chose portrait and then cancelled.
    auto* mode = static_cast<DEVMODE*>(GlobalLock(d.App()->m_hDevMode));
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_NE(mode->dmFields & DM_ORIENTATION, 0u);
    GlobalUnlock(d.App()->m_hDevMode);
    EXPECT_EQ(ScriptErrors(), "");
}

TEST_F(StartupTest, NewDocumentFromMenuAndAccelerator) {
    const std::wstring path = WriteDocument("line.gen", [](FitData& data) {
        SetFunction(data, "A*X+B", {2.0, 1.0});
        SetPoints(data, {1, 2, 3}, {3, 5, 7});
    });
    for (bool fromKeys : {false, true}) {
        SCOPED_TRACE(fromKeys ? "Ctrl+N" : "menu");
        ASSERT_TRUE(Restart(path));
        headless::Driver& d = Driver();
        ASSERT_EQ(Data().hasPoints, 1);
        EXPECT_EQ(d.StatusPane(1), L"PTS");
        if (fromKeys) {
            ASSERT_TRUE(d.PressKey('N', true));
        } else {
            ASSERT_TRUE(d.ChooseMenu(ID_FILE_NEW));
        }
        EXPECT_EQ(d.MainWindowTitle(), L"sans nom - Kurvomat");
        EXPECT_EQ(Data().hasPoints, 0);
        EXPECT_EQ(Data().function.isCompiled, 0);
        for (int pane = 1; pane <= 5; ++pane) EXPECT_EQ(d.StatusPane(pane), L"") << pane;
        EXPECT_EQ(d.RecentFiles().size(), 1u) << "the new document adds nothing";
        EXPECT_EQ(ScriptErrors(), "");
    }
}

}  // namespace
