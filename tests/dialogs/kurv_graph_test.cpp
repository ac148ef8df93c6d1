// The graph window: its layout on the screen, the page drawn over its frame, the read-outs.
#include <gtest/gtest.h>

#include <vector>

#include "fitdata/number_format.h"
#include "plot/results_page.h"
#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"
#include "support/recording_cdc.h"

namespace {

// The dialog sits at the screen's origin: its client area starts after a 3-pixel frame and a
// 21-pixel caption.
const CPoint kClientOrigin(3, 24);

class KurvGraphTest : public KurvomatSession {
  protected:
    void StartWithSample() {
        ASSERT_TRUE(Start(NarrowToWide(std::string(KURVOMAT_SOURCE_DIR) + "/examples/decay.gen")));
    }

    // Opens the graph window from the menu with `script` inside it, then closes it with OK.
    void RunGraph(const std::function<void(headless::DialogScript&)>& script) {
        headless::DialogScript& steps = Driver().NextDialog(IDD_GRAPH);
        script(steps);
        steps.Click(IDOK);
        ASSERT_TRUE(Driver().ChooseMenu(ID_GRAPH_RESULTS));
        EXPECT_EQ(ScriptErrors(), "");
        EXPECT_EQ(Driver().PendingAnswers(), 0u);
    }

    std::vector<CRect> ExpectedLines(int left, int right, int top, int bottom) {
        RecordingCDC recorder;
        DrawResultsPage(left, right, top, bottom, &Data(), &recorder, 1);
        std::vector<CRect> lines;
        for (const RecordedStroke& s : recorder.strokes) lines.emplace_back(s.x0, s.y0, s.x1, s.y1);
        return lines;
    }
};

struct ScreenCase {
    int width;
    int height;
    CRect frame;  // client coordinates
    int buttonsTop;
    int readOutsTop;
};

TEST_F(KurvGraphTest, FillsTheScreenAndDrawsThePageOverItsFrame) {
    const ScreenCase cases[] = {
        {1920, 1080, CRect(16, 8, 1896, 992), 1000, 994},
        {1280, 1024, CRect(16, 8, 1256, 936), 944, 938},
    };
    for (const ScreenCase& c : cases) {
        SCOPED_TRACE(c.width);
        Stop();
        NewApp();
        Driver().SetScreenSize(c.width, c.height);
        Driver().NextDialog(IDD_WAIT).AdvanceClock(3000);
        ASSERT_TRUE(
            Driver().Start(NarrowToWide(std::string(KURVOMAT_SOURCE_DIR) + "/examples/decay.gen")));
        RunGraph([&](headless::DialogScript& steps) {
            steps.Check([&](headless::Driver& in) {
                EXPECT_EQ(in.Caption(), L"Résultats Graphiques");
                EXPECT_EQ(in.ActiveWindowRect(), CRect(0, 0, c.width, c.height - 24));
                CRect frame = c.frame;
                frame.OffsetRect(kClientOrigin.x, kClientOrigin.y);
                EXPECT_EQ(in.WindowRect(IDC_GRAPH_FRAME), frame);

                const CRect ok = in.WindowRect(IDOK);
                EXPECT_EQ(ok.TopLeft(), CPoint(kClientOrigin.x + (c.width - ok.Width()) / 2,
                                               kClientOrigin.y + c.buttonsTop));
                const CRect readX = in.WindowRect(IDC_READ_X);
                const CRect readY = in.WindowRect(IDC_READ_Y);
                EXPECT_EQ(readX.TopLeft(),
                          CPoint(kClientOrigin.x + 20, kClientOrigin.y + c.readOutsTop));
                // The right edge of the X read-out is taken on the screen and used as a client
                // coordinate.
                EXPECT_EQ(readY.TopLeft(), CPoint(kClientOrigin.x + readX.right + 4,
                                                  kClientOrigin.y + c.readOutsTop));
                EXPECT_EQ(in.Text(IDC_READ_X), L"");
                EXPECT_EQ(in.Text(IDC_READ_Y), L"");

                const headless::PaintLog* paint = in.LastPaint(IDD_GRAPH);
                ASSERT_NE(paint, nullptr);
                const std::vector<CRect> expected = ExpectedLines(
                    frame.left - 2, frame.right - 4, frame.top - 14, frame.bottom - 30);
                ASSERT_FALSE(expected.empty());
                EXPECT_EQ(paint->Lines(), expected);
            });
        });
    }
}

struct ReadOutCase {
    const char* name;
    CPoint at;
    int x;  // 0: empty, 1: xMin, 2: xMax, 3: middle
    int y;
};

// On 1920 x 1080 the frame spans 19..1899 by 32..1016 on the screen, so the read-out area is
// 207..1517 by 294..844 in the dialog's client area.
TEST_F(KurvGraphTest, ReadOutsGiveTheLimitsAtTheEdgesAndNothingOutside) {
    StartWithSample();
    const ReadOutCase cases[] = {
        {"bottom left", CPoint(207, 844), 1, 1},
        {"top right", CPoint(1517, 294), 2, 2},
        {"middle", CPoint(862, 569), 3, 3},
        {"left of the area", CPoint(206, 500), 0, 0},
        {"right of the area", CPoint(1518, 500), 0, 0},
        {"above the area", CPoint(500, 293), 0, 0},
        {"below the area", CPoint(500, 845), 0, 0},
    };
    RunGraph([&](headless::DialogScript& steps) {
        for (const ReadOutCase& c : cases) {
            // A value first, so that emptying shows.
            steps.MouseMove(CPoint(700, 500)).MouseMove(c.at).Check([&](headless::Driver& in) {
                SCOPED_TRACE(c.name);
                const ScaleDef& scale = Data().scale;
                const double xs[] = {0, scale.xMin, scale.xMax, (scale.xMin + scale.xMax) / 2};
                const double ys[] = {0, scale.yMin, scale.yMax, (scale.yMin + scale.yMax) / 2};
                EXPECT_EQ(in.Text(IDC_READ_X), c.x == 0 ? L"" : FormatNumber(xs[c.x]));
                EXPECT_EQ(in.Text(IDC_READ_Y), c.y == 0 ? L"" : FormatNumber(ys[c.y]));
            });
        }
    });
    EXPECT_NE(Data().scale.xMin, Data().scale.xMax);
}

}  // namespace
