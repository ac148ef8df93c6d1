// Painting (invalidation, idle and immediate paints, what a paint drew), the print and preview
// protocol, the printer settings and their dialogs, the help path and the shell's verb.
#include <gtest/gtest.h>

#include "framework/backend.h"

#include "test_app.h"

namespace fwtest {
namespace {

using Events = std::vector<std::string>;

Events Without(const std::string& skipped) {
    Events out;
    for (const std::string& e : TheLog().events)
        if (e != skipped) out.push_back(e);
    return out;
}

int Count(const std::string& event) {
    int n = 0;
    for (const std::string& e : TheLog().events) n += e == event;
    return n;
}

class PrintTest : public FrameworkTest {
  protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        driver->SetPrinterPage(2550, 3300);
        ASSERT_TRUE(StartApp());
        TheLog().Clear();
    }
    CView* View() const { return driver->MainFrame()->GetActiveView(); }
};

TEST_F(PrintTest, ViewIsPaintedOnceAtStartWithItsClientArea) {
    const headless::PaintLog* paint = driver->LastViewPaint();
    ASSERT_NE(paint, nullptr);
    // The view: 1432 x 741 pixels with a client edge of 2 on each side.
    EXPECT_EQ(paint->size, CSize(1428, 737));
    EXPECT_EQ(paint->Lines(), std::vector<CRect>{CRect(0, 0, 1428, 737)});
    int viewPaints = 0;
    for (const auto& p : driver->Paints())
        viewPaints += p.dialogId == 0 && p.controlId == static_cast<int>(AFX_IDW_PANE_FIRST);
    EXPECT_EQ(viewPaints, 1);
}

TEST_F(PrintTest, InvalidationPaintsAtIdleTimeOrAtOnceWithUpdateWindow) {
    View()->Invalidate();
    EXPECT_EQ(Count("draw"), 0);
    View()->UpdateWindow();
    EXPECT_EQ(Count("draw"), 1);
    View()->UpdateWindow();  // nothing invalid any more
    EXPECT_EQ(Count("draw"), 1);
    View()->InvalidateRgn(nullptr, TRUE);
    driver->AdvanceClock(1);  // the next idle time
    EXPECT_EQ(Count("draw"), 2);
    View()->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(Count("draw"), 3);
    // A hidden view is not painted.
    View()->ShowWindow(SW_HIDE);
    View()->Invalidate();
    driver->AdvanceClock(1);
    EXPECT_EQ(Count("draw"), 3);
}

TEST_F(PrintTest, UpdateWindowPaintsTheChildrenToo) {
    View()->Invalidate();
    driver->MainFrame()->UpdateWindow();
    EXPECT_EQ(Count("draw"), 1);
}

TEST_F(PrintTest, ScreenSizeSetByTheTest) {
    driver->SetScreenSize(1024, 768);
    ASSERT_TRUE(StartApp());
    CRect desktop, frame;
    CWnd::GetDesktopWindow()->GetWindowRect(&desktop);
    driver->MainFrame()->GetWindowRect(&frame);
    EXPECT_EQ(desktop, CRect(0, 0, 1024, 768));
    EXPECT_EQ(frame, CRect(0, 0, 768, 576));
}

TEST_F(PrintTest, PrintJobRunsTheProtocolOnOneLandscapePage) {
    driver->AnswerPrintDialog(DMORIENT_PORTRAIT);
    EXPECT_TRUE(driver->ChooseMenu(ID_FILE_PRINT));
    EXPECT_EQ(Without("draw"), (Events{"prepare print", "begin", "print page 1", "end"}));
    // CView::OnPrint drew through OnDraw as well.
    EXPECT_EQ(Count("draw"), 1);
    ASSERT_EQ(driver->PrintDialogs().size(), 1u);
    const auto& dialog = driver->PrintDialogs()[0];
    EXPECT_FALSE(dialog.setupOnly);
    EXPECT_EQ(dialog.flags & (PD_NOSELECTION | PD_NOPAGENUMS), PD_NOSELECTION | PD_NOPAGENUMS);
    EXPECT_EQ(dialog.orientationShown, DMORIENT_PORTRAIT);
    ASSERT_EQ(driver->PrintJobs().size(), 1u);
    const auto& job = driver->PrintJobs()[0];
    EXPECT_FALSE(job.preview);
    EXPECT_EQ(job.documentName, L"sans titre");
    ASSERT_EQ(job.pages.size(), 1u);
    // Portrait chosen, landscape forced by OnBeginPrinting: the page is 3300 x 2550.
    EXPECT_EQ(job.pages[0].size, CSize(3300, 2550));
    ASSERT_FALSE(job.pages[0].Lines().empty());
    EXPECT_EQ(job.pages[0].Lines()[0], CRect(0, 0, 3300, 2550));
}

TEST_F(PrintTest, CancelledPrintDialogPrintsNothing) {
    driver->CancelPrintDialog();
    EXPECT_TRUE(driver->ChooseMenu(ID_FILE_PRINT));
    EXPECT_EQ(Without("draw"), Events{"prepare print"});
    EXPECT_TRUE(driver->PrintJobs().empty());
}

TEST_F(PrintTest, PrinterThatCannotStartIsReported) {
    driver->SetPrinterFails(true);
    driver->AnswerPrintDialog();
    driver->AnswerMessageBox(IDOK);
    EXPECT_TRUE(driver->ChooseMenu(ID_FILE_PRINT));
    ASSERT_EQ(driver->MessageBoxes().size(), 1u);
    EXPECT_EQ(driver->MessageBoxes()[0].text, L"Impossible de lancer l'impression.");
    EXPECT_TRUE(driver->PrintJobs().empty());
}

TEST_F(PrintTest, PreviewUsesTheApplicationsPrinterWithoutADialog) {
    EXPECT_TRUE(driver->ChooseMenu(ID_FILE_PRINT_PREVIEW));
    EXPECT_EQ(Without("draw"), (Events{"prepare preview", "begin", "print page 1", "end"}));
    EXPECT_TRUE(driver->PrintDialogs().empty());
    ASSERT_EQ(driver->PrintJobs().size(), 1u);
    EXPECT_TRUE(driver->PrintJobs()[0].preview);
    EXPECT_EQ(driver->PrintJobs()[0].pages.size(), 1u);
    EXPECT_EQ(driver->PrintJobs()[0].pages[0].size, CSize(3300, 2550));
}

TEST_F(PrintTest, PrintSetUpKeepsWhatTheProgramForces) {
    CWinApp* app = driver->App();
    auto orientation = [app] {
        auto* devMode = static_cast<DEVMODE*>(GlobalLock(app->m_hDevMode));
        const short o = devMode->dmOrientation;
        GlobalUnlock(app->m_hDevMode);
        return o;
    };
    driver->AnswerPrintDialog(DMORIENT_PORTRAIT);
    EXPECT_TRUE(driver->ChooseMenu(kPrintSetupCommand));
    EXPECT_EQ(orientation(), DMORIENT_LANDSCAPE);
    driver->CancelPrintDialog();
    EXPECT_TRUE(driver->ChooseMenu(kPrintSetupCommand));
    EXPECT_EQ(orientation(), DMORIENT_LANDSCAPE);
    ASSERT_EQ(driver->PrintDialogs().size(), 2u);
    EXPECT_TRUE(driver->PrintDialogs()[0].setupOnly);
    EXPECT_EQ(driver->PrintDialogs()[0].orientationShown, DMORIENT_PORTRAIT);
    // The second time the dialog shows what the application keeps: landscape.
    EXPECT_EQ(driver->PrintDialogs()[1].orientationShown, DMORIENT_LANDSCAPE);
    // A print job afterwards starts from the application's settings.
    driver->AnswerPrintDialog();
    EXPECT_TRUE(driver->ChooseMenu(ID_FILE_PRINT));
    EXPECT_EQ(driver->PrintDialogs()[2].orientationShown, DMORIENT_LANDSCAPE);
}

TEST_F(PrintTest, HelpPathAndTheShellsOpenVerb) {
    EXPECT_STREQ(driver->App()->m_pszHelpFilePath, L"/opt/test.d/bin/Testeur.HLP");
    EXPECT_TRUE(driver->ChooseMenu(kHelpCommand));
    EXPECT_EQ(driver->ShellRequests(),
              std::vector<std::string>{"open \"/opt/test.d/bin/Testeur.chm\""});
}

TEST_F(PrintTest, HelpPathReplacesTheExecutablesExtension) {
    struct Case {
        const wchar_t* executable;
        const wchar_t* help;
    };
    for (const Case& c : {Case{L"/prog/Kurvomat.exe", L"/prog/Kurvomat.HLP"},
                          Case{L"/prog/kurvomat", L"/prog/kurvomat.HLP"},
                          Case{L"/a.HLP/b.c/prog", L"/a.HLP/b.c/prog.HLP"}}) {
        headless::StartOptions options;
        options.executablePath = c.executable;
        ASSERT_TRUE(driver->Start(L"", options));
        EXPECT_STREQ(driver->App()->m_pszHelpFilePath, c.help);
    }
}

TEST(DeviceContextTest, CurrentPointLinesAndCapabilities) {
    struct Device : framework::PaintDevice {
        std::vector<CRect> lines;
        int orientation = 0;
        void Line(int x0, int y0, int x1, int y1) override { lines.emplace_back(x0, y0, x1, y1); }
        void InvertRect(const RECT&) override {}
        CSize Size() const override { return CSize(800, 600); }
        CSize DotsPerInch() const override { return CSize(100, 200); }
        void SetOrientation(int o) override { orientation = o; }
    } device;
    CDC dc(&device, true);
    EXPECT_EQ(dc.MoveTo(10, 20), CPoint(0, 0));
    EXPECT_TRUE(dc.LineTo(30, 40));
    EXPECT_TRUE(dc.LineTo(CPoint(50, 60)));
    EXPECT_EQ(dc.MoveTo(1, 1), CPoint(50, 60));
    EXPECT_EQ(device.lines, (std::vector<CRect>{CRect(10, 20, 30, 40), CRect(30, 40, 50, 60)}));
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 800);
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 600);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 200);
    EXPECT_EQ(dc.GetDeviceCaps(HORZSIZE), 203);  // 8 inches in millimetres
    DEVMODE devMode;
    devMode.dmOrientation = DMORIENT_LANDSCAPE;
    devMode.dmFields = 0;
    dc.ResetDC(&devMode);
    EXPECT_EQ(device.orientation, 0);  // the orientation field is not marked as set
    devMode.dmFields = DM_ORIENTATION;
    dc.ResetDC(&devMode);
    EXPECT_EQ(device.orientation, DMORIENT_LANDSCAPE);
    // A context with no device draws nothing and keeps its current point.
    CDC empty;
    empty.MoveTo(3, 4);
    EXPECT_TRUE(empty.LineTo(5, 6));
    EXPECT_EQ(empty.GetCurrentPosition(), CPoint(5, 6));
}

}  // namespace
}  // namespace fwtest
