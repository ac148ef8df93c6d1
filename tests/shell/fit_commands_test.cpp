// Both fit commands from the menu: wait cursor, verdict, result rows, DIST pane, modified flag,
// errors.
#include <gtest/gtest.h>

#include <memory>

#include "fitdata/number_format.h"
#include "numerics/gauss_newton.h"
#include "numerics/levenberg_marquardt.h"
#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"

namespace {

struct FitCommand {
    const char* name;
    UINT id;
    std::wstring (*fit)(FitData*);
};

const FitCommand kFits[] = {
    {"least squares", ID_LEAST_SQUARES, &LeastSquaresFit},
    {"Levenberg-Marquardt", ID_LEVENBERG_MARQUARDT, &LevenbergMarquardtFit},
};

class FitCommandsTest : public KurvomatSession {
  protected:
    // Opens a document holding `fill`, and answers what the fit `fit` makes of a copy of it.
    std::unique_ptr<FitData> OpenAndForesee(const std::function<void(FitData&)>& fill,
                                            std::wstring (*fit)(FitData*), std::wstring& message) {
        const std::wstring path = WriteDocument("fit.gen", fill);
        EXPECT_TRUE(Restart(path));
        auto copy = std::make_unique<FitData>();
        EXPECT_EQ(copy->ReadGen(WideToNarrow(path)), 0);
        message = fit(copy.get());
        return copy;
    }
};

void Line(FitData& data) {
    SetFunction(data, "A*X+B", {0.0, 0.0});
    SetPoints(data, {1, 2, 3, 4, 5}, {3.1, 4.9, 7.2, 8.8, 11.1});
}

TEST_F(FitCommandsTest, ConvergedFitShowsItsResult) {
    for (const FitCommand& command : kFits) {
        SCOPED_TRACE(command.name);
        std::wstring message;
        std::unique_ptr<FitData> expected = OpenAndForesee(&Line, command.fit, message);
        ASSERT_EQ(message, L"");
        headless::Driver& d = Driver();
        ASSERT_FALSE(Document().IsModified());
        ASSERT_EQ(d.StatusPane(4), L"");
        const std::wstring distance =
            L"La distance euclidienne est " + NarrowToWide(FormatNumberA(1, expected->fitDistance));
        d.NextDialog(IDD_RESULT)
            .Check([&](headless::Driver& in) {
                EXPECT_EQ(in.Caption(), L"Résultats de l'ajustement");
                EXPECT_EQ(in.Text(IDC_RESULT_TITLE), L"Ajustement Réalisé correctement");
                EXPECT_EQ(in.Text(IDC_RESULT_FORMULA), L"F(X)=A*X+B");
                EXPECT_EQ(in.Text(IDC_RESULT_VALUE_A), FormatNumber(expected->function.coef[0]));
                EXPECT_EQ(in.Text(IDC_RESULT_VALUE_A + 1),
                          FormatNumber(expected->function.coef[1]));
                EXPECT_EQ(in.Text(IDC_RESULT_STATE_A), L"Ajuste");
                EXPECT_EQ(in.Text(IDC_RESULT_STATE_A + 1), L"Ajuste");
                EXPECT_EQ(in.Text(IDC_RESULT_DISTANCE), distance);
                EXPECT_TRUE(in.IsVisible(IDC_RESULT_NAME_A + 1));
                EXPECT_FALSE(in.IsVisible(IDC_RESULT_NAME_A + 2));
                EXPECT_FALSE(in.IsVisible(IDC_RESULT_VALUE_A + 2));
                EXPECT_FALSE(in.IsVisible(IDC_RESULT_STATE_A + 2));
                // The panes, the modified flag and the wait cursor as they stand while the
                // result is shown.
                EXPECT_EQ(in.StatusPane(4), L"DIST");
                EXPECT_TRUE(Document().IsModified()) << "marked before the result shows";
                EXPECT_FALSE(in.WaitCursorShown());
            })
            .Click(IDOK);
        ASSERT_TRUE(d.ChooseMenu(command.id));
        EXPECT_EQ(d.WaitCursorShows(), 1);
        EXPECT_FALSE(d.WaitCursorShown());
        EXPECT_TRUE(Document().IsModified());
        EXPECT_EQ(Data().fitDone, 1);
        EXPECT_EQ(Data().function.coef[0], expected->function.coef[0]);
        EXPECT_EQ(Data().function.coef[1], expected->function.coef[1]);
        EXPECT_TRUE(d.MessageBoxes().empty());
        // The fitted document is offered for saving when the program closes.
        d.AnswerMessageBox(IDNO);
        d.CloseMainWindow();
        EXPECT_EQ(d.MessageBoxes().size(), 1u);
        EXPECT_FALSE(d.IsRunning());
        EXPECT_EQ(ScriptErrors(), "");
    }
}

TEST_F(FitCommandsTest, FixedCoefficientShowsFixe) {
    std::wstring message;
    auto fill = [](FitData& data) {
        SetFunction(data, "A*X+B+C*X*X", {0.0, 1.0, 0.0}, {0, 1, 0});
        SetPoints(data, {1, 2, 3, 4}, {3, 5, 7, 9});
    };
    std::unique_ptr<FitData> expected = OpenAndForesee(fill, &LeastSquaresFit, message);
    ASSERT_EQ(message, L"");
    Driver()
        .NextDialog(IDD_RESULT)
        .Check([&](headless::Driver& in) {
            EXPECT_EQ(in.Text(IDC_RESULT_STATE_A), L"Ajuste");
            EXPECT_EQ(in.Text(IDC_RESULT_STATE_A + 1), L"Fixe");
            EXPECT_EQ(in.Text(IDC_RESULT_STATE_A + 2), L"Ajuste");
            EXPECT_EQ(in.Text(IDC_RESULT_VALUE_A + 1), L"000001.000000");
            EXPECT_TRUE(in.IsVisible(IDC_RESULT_STATE_A + 2));
            EXPECT_FALSE(in.IsVisible(IDC_RESULT_STATE_A + 3));
        })
        .PressEnter();
    ASSERT_TRUE(Driver().ChooseMenu(ID_LEAST_SQUARES));
    EXPECT_EQ(ScriptErrors(), "");
}

struct DoubtfulCase {
    const char* name;
    UINT id;
    std::wstring (*fit)(FitData*);
    std::function<void(FitData&)> fill;
};

// A fit that stops at its iteration limit shows the result under the doubtful verdict.
TEST_F(FitCommandsTest, IterationLimitGivesTheDoubtfulVerdict) {
    const DoubtfulCase cases[] = {
        {"least squares", ID_LEAST_SQUARES, &LeastSquaresFit,
         [](FitData& data) {
             SetFunction(data, "1+SIGN(A)*ABS(A)^(1/3)+0*X", {1.0});
             SetPoints(data, {1, 2, 3}, {1, 1, 1});
         }},
        {"Levenberg-Marquardt", ID_LEVENBERG_MARQUARDT, &LevenbergMarquardtFit,
         [](FitData& data) {
             SetFunction(data, "A*X+B*0", {0.0, 0.0});
             SetPoints(data, {0.001, 0.002, 0.003, 0.004}, {0.003, 0.006, 0.009, 0.012});
         }},
    };
    for (const DoubtfulCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring message;
        OpenAndForesee(c.fill, c.fit, message);
        ASSERT_EQ(message, L"?");
        Driver()
            .NextDialog(IDD_RESULT)
            .Check([](headless::Driver& in) {
                EXPECT_EQ(in.Text(IDC_RESULT_TITLE), L"Ajustement Douteux");
            })
            .Click(IDOK);
        ASSERT_TRUE(Driver().ChooseMenu(c.id));
        EXPECT_EQ(Driver().StatusPane(4), L"DIST");
        EXPECT_TRUE(Document().IsModified());
        EXPECT_EQ(ScriptErrors(), "");
    }
}

struct FailingCase {
    const char* name;
    UINT id;
    std::wstring (*fit)(FitData*);
    std::function<void(FitData&)> fill;
};

// A failing fit shows its own text in an error box, darkens DIST and still marks the document.
TEST_F(FitCommandsTest, FailingFitShowsItsErrorText) {
    const FailingCase cases[] = {
        {"zero pivot", ID_LEAST_SQUARES, &LeastSquaresFit,
         [](FitData& data) {
             SetFunction(data, "A*X+B*0", {1.0, 5.0});
             SetPoints(data, {1, 2, 3, 4}, {2, 4, 6, 8});
             data.fitDone = 1;
             data.fitDistance = 0.5;
         }},
        {"every coefficient fixed", ID_LEAST_SQUARES, &LeastSquaresFit,
         [](FitData& data) {
             SetFunction(data, "A*X", {2.0}, {1});
             SetPoints(data, {1, 2}, {2, 4});
             data.fitDone = 1;
             data.fitDistance = 0.5;
         }},
        {"division by zero", ID_LEVENBERG_MARQUARDT, &LevenbergMarquardtFit,
         [](FitData& data) {
             SetFunction(data, "A/X", {1.0});
             SetPoints(data, {0, 1}, {1, 1});
         }},
    };
    for (const FailingCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring message;
        OpenAndForesee(c.fill, c.fit, message);
        ASSERT_FALSE(message.empty());
        ASSERT_NE(message, L"?");
        headless::Driver& d = Driver();
        d.AnswerMessageBox(IDOK);
        ASSERT_TRUE(d.ChooseMenu(c.id));
        ASSERT_EQ(d.MessageBoxes().size(), 1u);
        const headless::MessageBoxRecord& box = d.MessageBoxes()[0];
        EXPECT_EQ(box.text, message);
        EXPECT_EQ(box.caption, L"Résultats de l'ajustement");
        EXPECT_EQ(box.type, MB_ICONERROR | MB_OK);
        EXPECT_EQ(d.StatusPane(4), L"");
        EXPECT_EQ(Data().fitDone, 0);
        EXPECT_TRUE(Document().IsModified()) << "marked whatever the outcome";
        EXPECT_EQ(d.DialogsOpened().back(), static_cast<int>(IDD_WAIT)) << "no result dialog";
        EXPECT_EQ(d.WaitCursorShows(), 1);
        EXPECT_EQ(ScriptErrors(), "");
    }
}

// The result dialog keeps the rows the function uses and shrinks by 22 pixels per missing row.
TEST_F(FitCommandsTest, ResultDialogShrinksToTheCoefficients) {
    const char* const formulas[] = {"A+0*X",
                                    "A+B*X",
                                    "A+B*X+C*X*X",
                                    "A+B*X+C*X^2+D*X^3",
                                    "A+B*X+C*X^2+D*X^3+E*X^4",
                                    "A+B*X+C*X^2+D*X^3+E*X^4+F*X^5"};
    const int fullHeight = DialogUnitsToPixelsY(189) + 21 + 2 * 3;
    const int okTop = DialogUnitsToPixelsY(168);
    const int distanceTop = DialogUnitsToPixelsY(146);
    const int okLeft = DialogUnitsToPixelsX(84);
    const int distanceLeft = DialogUnitsToPixelsX(10);
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        const std::wstring path = WriteDocument("poly.gen", [&](FitData& data) {
            ASSERT_EQ(data.function.SetTextA(formulas[n - 1]), "Ok");
            SetPoints(data, {0, 1, 2, 3, 4, 5, 6, 7}, {1, 2, 5, 10, 17, 26, 37, 50});
        });
        ASSERT_TRUE(Restart(path));
        const int shift = (n - 6) * 22;
        CRect main;
        Driver().MainFrame()->GetWindowRect(&main);
        Driver()
            .NextDialog(IDD_RESULT)
            .Check([&](headless::Driver& in) {
                const CRect dialog = in.ActiveWindowRect();
                EXPECT_EQ(dialog.Height(), fullHeight + shift);
                EXPECT_EQ(dialog.left, (main.left + main.right - dialog.Width()) / 2);
                EXPECT_EQ(dialog.top, (main.top + main.bottom - dialog.Height()) / 2);
                // Inside the dialog: frame 3 and caption 21 above the client area. The move
                // takes its left from the window's edge, not the client area's: 3 pixels more.
                EXPECT_EQ(in.WindowRect(IDOK).top - dialog.top, 24 + okTop + shift);
                EXPECT_EQ(in.WindowRect(IDOK).left - dialog.left, 3 + 3 + okLeft);
                EXPECT_EQ(in.WindowRect(IDC_RESULT_DISTANCE).left - dialog.left,
                          3 + 3 + distanceLeft);
                EXPECT_EQ(in.WindowRect(IDC_RESULT_DISTANCE).top - dialog.top,
                          24 + distanceTop + shift);
                for (int row = 0; row < 6; ++row) {
                    EXPECT_EQ(in.IsVisible(IDC_RESULT_NAME_A + row), row < n) << row;
                    EXPECT_EQ(in.IsVisible(IDC_RESULT_VALUE_A + row), row < n) << row;
                    EXPECT_EQ(in.IsVisible(IDC_RESULT_STATE_A + row), row < n) << row;
                    if (row >= n) {
                        EXPECT_EQ(in.Text(IDC_RESULT_VALUE_A + row), L"") << row;
                    }
                }
            })
            .Click(IDOK);
        ASSERT_TRUE(Driver().ChooseMenu(ID_LEAST_SQUARES));
        EXPECT_EQ(ScriptErrors(), "");
    }
}

}  // namespace
