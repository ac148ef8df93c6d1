// The graph window: its layout on the screen, the page drawn over its frame, the read-outs.
#include <gtest/gtest.h>

#include <vector>

#include "fitdata/number_format.h"
#include "plot/results_page.h"
#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"
#include "support/recording_cdc.h"

namespace {

// The dialog takes the desktop's corner; its client area starts after a 3-pixel frame and a
// 21-pixel caption.
CPoint ClientOrigin(const CRect& desktop) {
    return CPoint(desktop.left + 3, desktop.top + 24);
}

class KurvGraphTest : public KurvomatSession {
  protected:
    void StartOn(const CRect& desktop) {
        Stop();
        NewApp();
        Driver().SetScreenRect(desktop);
        Driver().NextDialog(IDD_WAIT).AdvanceClock(3000);
        ASSERT_TRUE(
            Driver().Start(NarrowToWide(std::string(KURVOMAT_SOURCE_DIR) + "/examples/decay.gen")));
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
    CRect desktop;
    CRect frame;  // client coordinates
    int buttonsTop;
    int readOutsTop;
};

// The layout is measured from the window's corner, so a panel above the work area (the second
// case) moves the window, not its contents.
TEST_F(KurvGraphTest, FillsTheDesktopAndDrawsThePageOverItsFrame) {
    const ScreenCase cases[] = {
        {CRect(0, 0, 1920, 1080), CRect(16, 8, 1896, 992), 1000, 994},
        {CRect(0, 32, 1920, 1080), CRect(16, 8, 1896, 960), 968, 962},
        {CRect(0, 0, 1366, 768), CRect(16, 8, 1342, 680), 688, 682},
        {CRect(0, 0, 1280, 1024), CRect(16, 8, 1256, 936), 944, 938},
    };
    for (const ScreenCase& c : cases) {
        const CRect& d = c.desktop;
        SCOPED_TRACE(testing::Message()
                     << d.left << "," << d.top << "-" << d.right << "," << d.bottom);
        StartOn(d);
        RunGraph([&](headless::DialogScript& steps) {
            steps.Check([&](headless::Driver& in) {
                const CPoint origin = ClientOrigin(d);
                EXPECT_EQ(in.Caption(), L"Résultats Graphiques");
                const CRect window = in.ActiveWindowRect();
                EXPECT_EQ(window, CRect(d.left, d.top, d.right, d.bottom - 24));
                CRect frame = c.frame;
                frame.OffsetRect(origin.x, origin.y);
                EXPECT_EQ(in.WindowRect(IDC_GRAPH_FRAME), frame);

                const CRect ok = in.WindowRect(IDOK);
                EXPECT_EQ(ok.TopLeft(),
                          CPoint(origin.x + (d.Width() - ok.Width()) / 2, origin.y + c.buttonsTop));
                const CRect readX = in.WindowRect(IDC_READ_X);
                const CRect readY = in.WindowRect(IDC_READ_Y);
                EXPECT_EQ(readX.TopLeft(), CPoint(origin.x + 20, origin.y + c.readOutsTop));
                // The right edge of the X read-out, taken from the window's corner, is used as a
                // client coordinate.
                EXPECT_EQ(readY.TopLeft(),
                          CPoint(origin.x + readX.right - d.left + 4, origin.y + c.readOutsTop));
                // Everything lies inside the client area (3-pixel frame at the bottom).
                for (const CRect& r : {ok, readX, readY, frame})
                    EXPECT_LE(r.bottom, window.bottom - 3);
                EXPECT_EQ(in.Text(IDC_READ_X), L"");
                EXPECT_EQ(in.Text(IDC_READ_Y), L"");

                const headless::PaintLog* paint = in.LastPaint(IDD_GRAPH);
                ASSERT_NE(paint, nullptr);
                CRect page = frame;
                page.OffsetRect(-d.left, -d.top);
                const std::vector<CRect> expected =
                    ExpectedLines(page.left - 2, page.right - 4, page.top - 14, page.bottom - 30);
                ASSERT_FALSE(expected.empty());
                EXPECT_EQ(paint->Lines(), expected);
            });
        });
    }
}

struct ReadOutCase {
    CRect desktop;
    CRect area;  // the read-out area in client coordinates, edges included
};

// On 1920 x 1080 the frame spans 19..1899 by 32..1016 from the window's corner, so the read-out
// area is 207..1517 by 294..844 in the dialog's client area; a 32-pixel panel takes 32 pixels
// off the frame's height, and 28 off the area's (integer divisions).
TEST_F(KurvGraphTest, ReadOutsGiveTheLimitsAtTheEdgesAndNothingOutside) {
    const ReadOutCase cases[] = {
        {CRect(0, 0, 1920, 1080), CRect(207, 294, 1517, 844)},
        {CRect(0, 32, 1920, 1080), CRect(207, 286, 1517, 816)},
    };
    for (const ReadOutCase& c : cases) {
        SCOPED_TRACE(c.desktop.top);
        StartOn(c.desktop);
        const CRect& a = c.area;
        const CPoint middle((a.left + a.right) / 2, (a.top + a.bottom) / 2);
        struct Point {
            const char* name;
            CPoint at;
            int x;  // 0: empty, 1: xMin, 2: xMax, 3: middle
            int y;
        };
        const Point points[] = {
            {"bottom left", CPoint(a.left, a.bottom), 1, 1},
            {"top right", CPoint(a.right, a.top), 2, 2},
            {"middle", middle, 3, 3},
            {"left of the area", CPoint(a.left - 1, middle.y), 0, 0},
            {"right of the area", CPoint(a.right + 1, middle.y), 0, 0},
            {"above the area", CPoint(middle.x, a.top - 1), 0, 0},
            {"below the area", CPoint(middle.x, a.bottom + 1), 0, 0},
        };
        RunGraph([&](headless::DialogScript& steps) {
            for (const Point& p : points) {
                // A value first, so that emptying shows.
                steps.MouseMove(middle).MouseMove(p.at).Check([&](headless::Driver& in) {
                    SCOPED_TRACE(p.name);
                    const ScaleDef& scale = Data().scale;
                    const double xs[] = {0, scale.xMin, scale.xMax, (scale.xMin + scale.xMax) / 2};
                    const double ys[] = {0, scale.yMin, scale.yMax, (scale.yMin + scale.yMax) / 2};
                    EXPECT_EQ(in.Text(IDC_READ_X), p.x == 0 ? L"" : FormatNumber(xs[p.x]));
                    EXPECT_EQ(in.Text(IDC_READ_Y), p.y == 0 ? L"" : FormatNumber(ys[p.y]));
                });
            }
        });
        EXPECT_NE(Data().scale.xMin, Data().scale.xMax);
    }
}

}  // namespace
