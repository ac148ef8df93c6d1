// The scale dialog: opening on the scale, typed limits, the rubber band, Appliquer and Sortie.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "fitdata/number_format.h"
#include "plot/results_page.h"
#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"
#include "support/recording_cdc.h"

namespace {

// The dialog is 662 x 537 pixels with a 3-pixel frame and a 21-pixel caption; its frame moves to
// (16, 108) of the client area, 622 x 385, so the preview's plot area is this, in client
// coordinates.
const CRect kPlot(72, 148, 532, 472);

const int kLimitEdits[] = {IDC_SCALE_X_MIN, IDC_SCALE_X_MAX, IDC_SCALE_Y_MIN, IDC_SCALE_Y_MAX};
const int kLimitLabels[] = {IDC_SCALE_X_MIN_LABEL, IDC_SCALE_X_MAX_LABEL, IDC_SCALE_Y_MIN_LABEL,
                            IDC_SCALE_Y_MAX_LABEL};

class KurvEchelleTest : public KurvomatSession {
  protected:
    void SetUp() override {
        KurvomatSession::SetUp();
        ASSERT_TRUE(Start(NarrowToWide(std::string(KURVOMAT_SOURCE_DIR) + "/examples/decay.gen")));
        ASSERT_EQ(Data().scale.autoScale, 1);
    }

    // Opens the scale dialog from the menu with the steps `script` gives; they must close it.
    void RunScale(const std::function<void(headless::DialogScript&)>& script) {
        script(Driver().NextDialog(IDD_SCALE));
        ASSERT_TRUE(Driver().ChooseMenu(ID_DEFINE_SCALE));
        EXPECT_EQ(Driver().ActiveDialogId(), 0);
    }

    // The four fields, X Min, X Max, Y Min, Y Max.
    static std::vector<std::wstring> Limits(headless::Driver& in) {
        std::vector<std::wstring> texts;
        for (int id : kLimitEdits) texts.push_back(in.Text(id));
        return texts;
    }
    static std::vector<std::wstring> Shown(double xMin, double xMax, double yMin, double yMax) {
        return {FormatNumber(xMin), FormatNumber(xMax), FormatNumber(yMin), FormatNumber(yMax)};
    }

    // The value the preview gives to a column or a row of the plot area.
    double XAt(int x) const {
        const ScaleDef& s = scale_;
        return s.xMin + static_cast<double>(x - kPlot.left) * (s.xMax - s.xMin) / kPlot.Width();
    }
    double YAt(int y) const {
        const ScaleDef& s = scale_;
        return s.yMin + static_cast<double>(kPlot.bottom - y) * (s.yMax - s.yMin) / kPlot.Height();
    }

    // The rectangles inverted by the dialog's last paint.
    static std::vector<CRect> Inverted(headless::Driver& in) {
        std::vector<CRect> bands;
        const headless::PaintLog* paint = in.LastPaint(IDD_SCALE);
        if (paint == nullptr) return bands;
        for (const headless::DrawOp& op : paint->ops)
            if (op.kind == headless::DrawOp::kInvert) bands.push_back(op.rect);
        return bands;
    }

    ScaleDef scale_;  // the scale when the dialog opened
};

TEST_F(KurvEchelleTest, OpensOnTheAutomaticScaleWithThePreview) {
    CRect mainWindow;
    Driver().MainFrame()->GetWindowRect(&mainWindow);
    RunScale([&](headless::DialogScript& steps) {
        steps
            .Check([&](headless::Driver& in) {
                const ScaleDef& scale = Data().scale;
                EXPECT_EQ(in.Caption(), L"Définition de l'échelle du graphique");
                EXPECT_EQ(in.CheckState(IDC_SCALE_AUTO), 1);
                EXPECT_EQ(Limits(in), Shown(scale.xMin, scale.xMax, scale.yMin, scale.yMax));
                for (int id : kLimitEdits) EXPECT_FALSE(in.IsEnabled(id)) << id;
                for (int id : kLimitLabels) EXPECT_FALSE(in.IsEnabled(id)) << id;
                EXPECT_FALSE(in.IsEnabled(IDC_SCALE_APPLY));
                EXPECT_TRUE(in.IsEnabled(IDC_SCALE_EXIT));
                EXPECT_EQ(in.Text(IDC_SCALE_APPLY), L"Appliquer");
                EXPECT_EQ(in.Text(IDC_SCALE_EXIT), L"Sortie");

                const CRect dialog = in.ActiveWindowRect();
                EXPECT_EQ(dialog.Size(), CSize(662, 537));
                EXPECT_EQ(dialog.left, (mainWindow.left + mainWindow.right - 662) / 2);
                EXPECT_EQ(dialog.top, (mainWindow.top + mainWindow.bottom - 537) / 2);

                RecordingCDC recorder;
                DrawGraph(kPlot.left, kPlot.right, kPlot.top, kPlot.bottom, &Data(), &recorder, 1);
                std::vector<CRect> expected;
                for (const RecordedStroke& s : recorder.strokes)
                    expected.emplace_back(s.x0, s.y0, s.x1, s.y1);
                ASSERT_NE(in.LastPaint(IDD_SCALE), nullptr);
                EXPECT_FALSE(expected.empty());
                EXPECT_EQ(in.LastPaint(IDD_SCALE)->Lines(), expected);
                EXPECT_TRUE(Inverted(in).empty());
            })
            .Click(IDC_SCALE_AUTO)
            .Check([](headless::Driver& in) {
                for (int id : kLimitEdits) EXPECT_TRUE(in.IsEnabled(id)) << id;
                for (int id : kLimitLabels) EXPECT_TRUE(in.IsEnabled(id)) << id;
                EXPECT_TRUE(in.IsEnabled(IDC_SCALE_APPLY));
            })
            .Click(IDC_SCALE_EXIT);
    });
    EXPECT_EQ(Data().scale.autoScale, 1) << "Sortie applies nothing";
}

struct TypedCase {
    const wchar_t* typed[4];  // X Min, X Max, Y Min, Y Max
    double shown[4];          // after Appliquer
};

TEST_F(KurvEchelleTest, TypedLimitsAreOrderedAndGraduated) {
    const TypedCase cases[] = {
        {{L"0", L"7", L"0", L"4"}, {0, 7, 0, 4}},
        {{L"10", L"0", L"4", L"0"}, {0, 14, 0, 4}},
        {{L"0.3", L"1", L"-0.3", L"1,9"}, {0.3, 1, -1, 3}},
        {{L"0.3", L"1", L"-0.3", L"1.2,9"}, {0.3, 1, -0.5, 1.5}},
    };
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(WideToNarrow(c.typed[0]) + " " + WideToNarrow(c.typed[1]));
        Data().scale.autoScale = 1;
        RunScale([&](headless::DialogScript& steps) {
            steps.Click(IDC_SCALE_AUTO);
            for (int i = 0; i < 4; ++i) steps.Type(kLimitEdits[i], c.typed[i]);
            steps.Click(IDC_SCALE_APPLY)
                .Check([&](headless::Driver& in) {
                    EXPECT_EQ(Limits(in), Shown(c.shown[0], c.shown[1], c.shown[2], c.shown[3]));
                    EXPECT_EQ(in.CheckState(IDC_SCALE_AUTO), 0);
                    EXPECT_FALSE(in.IsEnabled(IDC_SCALE_APPLY));
                })
                .Click(IDC_SCALE_EXIT);
        });
        const ScaleDef& scale = Data().scale;
        EXPECT_EQ(scale.autoScale, 0);
        EXPECT_EQ(Shown(scale.xMin, scale.xMax, scale.yMin, scale.yMax),
                  Shown(c.shown[0], c.shown[1], c.shown[2], c.shown[3]));
    }
}

// A field that reads no finite number makes Appliquer do nothing: the scale, the fields and the
// enabled button stay.
TEST_F(KurvEchelleTest, LimitThatDoesNotReadAppliesNothing) {
    const ScaleDef before = Data().scale;
    for (const wchar_t* typed : {L"", L"abc", L"1e999"}) {
        SCOPED_TRACE(WideToNarrow(typed));
        RunScale([&](headless::DialogScript& steps) {
            steps.Click(IDC_SCALE_AUTO)
                .Type(IDC_SCALE_X_MIN, typed)
                .Click(IDC_SCALE_APPLY)
                .Check([&](headless::Driver& in) {
                    EXPECT_EQ(in.Text(IDC_SCALE_X_MIN), typed);
                    EXPECT_EQ(in.CheckState(IDC_SCALE_AUTO), 0);
                    EXPECT_TRUE(in.IsEnabled(IDC_SCALE_APPLY));
                })
                .Click(IDC_SCALE_EXIT);
        });
        EXPECT_EQ(Data().scale.autoScale, 1);
        EXPECT_EQ(Data().scale.xMin, before.xMin);
        EXPECT_EQ(Data().scale.xMax, before.xMax);
    }
}

// Back to the automatic scale: Appliquer computes it from the points and the fields show it.
TEST_F(KurvEchelleTest, AutomaticScaleReturns) {
    ScaleDef automatic = Data().scale;
    Data().scale.autoScale = 0;
    Data().scale.xMin = 0;
    Data().scale.xMax = 7;
    Data().scale.yMin = 0;
    Data().scale.yMax = 4;
    RunScale([&](headless::DialogScript& steps) {
        steps
            .Check([](headless::Driver& in) {
                EXPECT_EQ(in.CheckState(IDC_SCALE_AUTO), 0);
                EXPECT_EQ(Limits(in), Shown(0, 7, 0, 4));
                for (int id : kLimitEdits) EXPECT_TRUE(in.IsEnabled(id)) << id;
            })
            .Click(IDC_SCALE_AUTO)
            .Check([](headless::Driver& in) {
                for (int id : kLimitEdits) EXPECT_FALSE(in.IsEnabled(id)) << id;
            })
            .Click(IDC_SCALE_APPLY)
            .Check([&](headless::Driver& in) {
                EXPECT_EQ(Limits(in),
                          Shown(automatic.xMin, automatic.xMax, automatic.yMin, automatic.yMax));
            })
            .Click(IDC_SCALE_EXIT);
    });
    EXPECT_EQ(Data().scale.autoScale, 1);
    EXPECT_EQ(Data().scale.xMax, automatic.xMax);
}

// A drag from inside the preview to outside it ends on the edges of the plot area; the release
// fills the four fields and changes nothing in the scale.
TEST_F(KurvEchelleTest, DragIsClampedToThePlotAreaAndGivesTheLimits) {
    scale_ = Data().scale;
    RunScale([&](headless::DialogScript& steps) {
        steps.MouseDown(CPoint(100, 200))
            .MouseMove(CPoint(600, 100))
            .Check([](headless::Driver& in) {
                EXPECT_EQ(Inverted(in), (std::vector<CRect>{CRect(100, 148, 532, 200)}));
                EXPECT_EQ(in.Text(IDC_READ_X), L"") << "outside the plot area";
            })
            .MouseUp(CPoint(600, 100))
            .Check([&](headless::Driver& in) {
                EXPECT_EQ(Limits(in), Shown(XAt(100), scale_.xMax, YAt(200), scale_.yMax));
                EXPECT_EQ(in.CheckState(IDC_SCALE_AUTO), 0);
                for (int id : kLimitEdits) EXPECT_TRUE(in.IsEnabled(id)) << id;
                EXPECT_TRUE(in.IsEnabled(IDC_SCALE_APPLY));
                EXPECT_EQ(Inverted(in), (std::vector<CRect>{CRect(100, 148, 532, 200)}))
                    << "the band stays shown until Appliquer";
            })
            .MouseMove(CPoint(300, 300))
            .Check([&](headless::Driver& in) {
                EXPECT_EQ(in.Text(IDC_READ_X), FormatNumber(XAt(300)));
                EXPECT_EQ(in.Text(IDC_READ_Y), FormatNumber(YAt(300)));
                EXPECT_EQ(Inverted(in), (std::vector<CRect>{CRect(100, 148, 532, 200)}))
                    << "the drag has ended";
            })
            .Click(IDC_SCALE_APPLY)
            .Check([](headless::Driver& in) { EXPECT_TRUE(Inverted(in).empty()); })
            .Click(IDC_SCALE_EXIT);
    });
    EXPECT_EQ(Data().scale.autoScale, 0);
}

// A release outside the dialog is seen (the dialog holds the mouse from the press) and ends the
// drag; a click without a move leaves no band behind, and a press outside the preview draws none.
TEST_F(KurvEchelleTest, EveryReleaseEndsTheDrag) {
    scale_ = Data().scale;
    RunScale([&](headless::DialogScript& steps) {
        steps.MouseDown(CPoint(200, 200))
            .MouseUp(CPoint(200, 200))
            .MouseMove(CPoint(300, 300))
            .Check([](headless::Driver& in) {
                EXPECT_TRUE(Inverted(in).empty());
                EXPECT_EQ(in.CheckState(IDC_SCALE_AUTO), 1);
            })
            .MouseDown(CPoint(20, 300))
            .MouseMove(CPoint(300, 300))
            .MouseUp(CPoint(300, 300))
            .Check([](headless::Driver& in) {
                EXPECT_TRUE(Inverted(in).empty());
                EXPECT_EQ(in.CheckState(IDC_SCALE_AUTO), 1);
            })
            .MouseDown(CPoint(100, 200))
            .MouseMove(CPoint(-50, 700))
            .MouseUp(CPoint(-50, 700))
            .MouseMove(CPoint(300, 300))
            .Check([&](headless::Driver& in) {
                EXPECT_EQ(Inverted(in), (std::vector<CRect>{CRect(72, 200, 100, 472)}));
                EXPECT_EQ(Limits(in), Shown(scale_.xMin, XAt(100), scale_.yMin, YAt(200)));
            })
            .Click(IDC_SCALE_EXIT);
    });
    EXPECT_EQ(Data().scale.autoScale, 1) << "the drag only fills the fields";
}

// Escape and the close box run Appliquer and leave the dialog open; Sortie closes without
// applying.
// Enter on Appliquer (reached by Tab round from the last field) applies too; Appliquer then
// passes the focus on to the next tab stop.
TEST_F(KurvEchelleTest, EscapeCloseBoxAndEnterOnAppliquerApplySortieCloses) {
    const std::pair<const char*, std::function<void(headless::DialogScript&)>> keys[] = {
        {"Escape", [](headless::DialogScript& s) { s.PressEscape(); }},
        {"close box", [](headless::DialogScript& s) { s.CloseBox(); }},
        {"Enter on Appliquer",
         [](headless::DialogScript& s) {
             s.PressTab().PressTab().PressEnter().Check(
                 [](headless::Driver& in) { EXPECT_EQ(in.FocusedControl(), IDC_SCALE_AUTO); });
         }},
    };
    for (const auto& [name, apply] : keys) {
        SCOPED_TRACE(name);
        Data().scale.autoScale = 1;
        RunScale([&](headless::DialogScript& steps) {
            steps.Click(IDC_SCALE_AUTO)
                .Type(IDC_SCALE_X_MIN, L"0")
                .Type(IDC_SCALE_X_MAX, L"7")
                .Type(IDC_SCALE_Y_MIN, L"0")
                .Type(IDC_SCALE_Y_MAX, L"4");
            apply(steps);
            steps
                .Check([](headless::Driver& in) {
                    EXPECT_EQ(in.ActiveDialogId(), static_cast<int>(IDD_SCALE));
                    EXPECT_FALSE(in.IsEnabled(IDC_SCALE_APPLY));
                })
                .Type(IDC_SCALE_X_MAX, L"14")
                .Click(IDC_SCALE_EXIT);
        });
        const ScaleDef& scale = Data().scale;
        EXPECT_EQ(scale.autoScale, 0);
        EXPECT_EQ(scale.xMax, 7.0);
        EXPECT_EQ(scale.yMax, 4.0);
    }
}

}  // namespace
