// Painting the results page in the view and printing it on one landscape page.
#include <gtest/gtest.h>

#include "plot/results_page.h"
#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"
#include "support/recording_cdc.h"

namespace {

class PaintingTest : public KurvomatSession {
  protected:
    void StartWithSample() {
        ASSERT_TRUE(Start(NarrowToWide(std::string(KURVOMAT_SOURCE_DIR) + "/examples/decay.gen")));
    }

    // The lines the page drawing gives for this rectangle and factor.
    std::vector<CRect> ExpectedLines(int left, int right, int top, int bottom, int factor) {
        RecordingCDC recorder;
        DrawResultsPage(left, right, top, bottom, &Data(), &recorder, factor);
        std::vector<CRect> lines;
        for (const RecordedStroke& s : recorder.strokes) lines.emplace_back(s.x0, s.y0, s.x1, s.y1);
        return lines;
    }

    CRect ViewRect() {
        CRect rect;
        Driver().MainFrame()->GetActiveView()->GetWindowRect(&rect);
        return rect;
    }
};

// The page covers the whole view window and 31/32 of its height, with factor 1.
TEST_F(PaintingTest, ViewOf800By600) {
    StartWithSample();
    headless::Driver& d = Driver();
    CRect frame;
    d.MainFrame()->GetWindowRect(&frame);
    const CRect view = ViewRect();
    frame.right += 800 - view.Width();
    frame.bottom += 600 - view.Height();
    d.MoveMainWindow(frame);
    ASSERT_EQ(ViewRect().Width(), 800);
    ASSERT_EQ(ViewRect().Height(), 600);
    d.MainFrame()->GetActiveView()->Invalidate();
    d.MainFrame()->GetActiveView()->UpdateWindow();
    const headless::PaintLog* paint = d.LastViewPaint();
    ASSERT_NE(paint, nullptr);
    const std::vector<CRect> expected = ExpectedLines(0, 800, 0, 581, 1);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(paint->Lines(), expected);
}

// The view is invalidated before the result dialog opens: behind it, the page already shows the
// fitted curve.
TEST_F(PaintingTest, FitRepaintsTheView) {
    ASSERT_TRUE(Start(WriteDocument("line.gen", [](FitData& data) {
        SetFunction(data, "A*X+B", {0.0, 0.0});
        SetPoints(data, {1, 2, 3, 4}, {3.1, 4.9, 7.2, 8.8});
    })));
    headless::Driver& d = Driver();
    const size_t paints = d.Paints().size();
    const std::vector<CRect> before = d.LastViewPaint()->Lines();
    d.NextDialog(IDD_RESULT)
        .Check([&](headless::Driver& in) {
            ASSERT_GT(in.Paints().size(), paints);
            const CRect view = ViewRect();
            const std::vector<CRect> fitted =
                ExpectedLines(0, view.Width(), 0, view.Height() * 31 / 32, 1);
            EXPECT_NE(fitted, before);
            EXPECT_EQ(in.LastViewPaint()->Lines(), fitted);
        })
        .Click(IDOK);
    ASSERT_TRUE(d.ChooseMenu(ID_LEAST_SQUARES));
    EXPECT_EQ(ScriptErrors(), "");
}

struct PrintCase {
    const char* name;
    int portraitWidth;
    int portraitHeight;
    CRect inner;
    int factor;
};

// One landscape page inside margins of 1/20 and 1/30, whatever orientation the dialog showed.
TEST_F(PaintingTest, PrintedPageInsideItsMargins) {
    const PrintCase cases[] = {
        {"3300 x 2550", 2550, 3300, CRect(165, 85, 3135, 2465), 2},
        {"narrow", 1000, 1100, CRect(55, 33, 1045, 967), 0},
    };
    for (const PrintCase& c : cases) {
        SCOPED_TRACE(c.name);
        Stop();
        StartWithSample();
        headless::Driver& d = Driver();
        d.SetPrinterPage(c.portraitWidth, c.portraitHeight);
        d.AnswerPrintDialog(DMORIENT_PORTRAIT);
        ASSERT_TRUE(d.ChooseMenu(ID_FILE_PRINT));
        ASSERT_EQ(d.PrintDialogs().size(), 1u);
        const headless::PrintDialogRecord& shown = d.PrintDialogs()[0];
        EXPECT_FALSE(shown.setupOnly);
        EXPECT_EQ(shown.flags & (PD_NOSELECTION | PD_NOPAGENUMS), PD_NOSELECTION | PD_NOPAGENUMS);
        ASSERT_EQ(d.PrintJobs().size(), 1u);
        const headless::PrintJobRecord& job = d.PrintJobs()[0];
        EXPECT_FALSE(job.preview);
        ASSERT_EQ(job.pages.size(), 1u);
        EXPECT_EQ(job.pages[0].size, CSize(c.portraitHeight, c.portraitWidth)) << "landscape";
        EXPECT_EQ(job.pages[0].Lines(), ExpectedLines(c.inner.left, c.inner.right, c.inner.top,
                                                      c.inner.bottom, c.factor));
        EXPECT_EQ(ScriptErrors(), "");
    }
}

TEST_F(PaintingTest, PreviewIsLandscapeWithoutAPrintDialog) {
    StartWithSample();
    headless::Driver& d = Driver();
    d.SetPrinterPage(2550, 3300);
    ASSERT_TRUE(d.ChooseMenu(ID_FILE_PRINT_PREVIEW));
    EXPECT_TRUE(d.PrintDialogs().empty());
    ASSERT_EQ(d.PrintJobs().size(), 1u);
    EXPECT_TRUE(d.PrintJobs()[0].preview);
    ASSERT_FALSE(d.PrintJobs()[0].pages.empty());
    EXPECT_EQ(d.PrintJobs()[0].pages[0].size, CSize(3300, 2550));
    EXPECT_EQ(d.PrintJobs()[0].pages[0].Lines(), ExpectedLines(165, 3135, 85, 2465, 2));
}

TEST_F(PaintingTest, CancelledPrintDialogPrintsNothing) {
    StartWithSample();
    Driver().CancelPrintDialog();
    ASSERT_TRUE(Driver().ChooseMenu(ID_FILE_PRINT));
    EXPECT_TRUE(Driver().PrintJobs().empty());
    EXPECT_EQ(ScriptErrors(), "");
}

}  // namespace
