// The calculation dialog: each mode's texts and inputs, the rule of Calculer, the result lines
// and the coefficients shown.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "dialogs/kurv_calc_f.h"
#include "fitdata/number_format.h"
#include "numerics/calculations.h"
#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"

namespace {

const int kInputs[] = {IDC_CALC_INPUT1, IDC_CALC_INPUT2, IDC_CALC_INPUT3};
const int kLabels[] = {IDC_CALC_LABEL1, IDC_CALC_LABEL2, IDC_CALC_LABEL3};

class KurvCalcFTest : public DialogSession {
  protected:
    // Runs the dialog in `mode` with `script` between its opening and "Sortie".
    void Run(int mode, const std::function<void(headless::DialogScript&)>& script) {
        CKurvCalcF dialog(data_.get(), mode);
        headless::DialogScript& steps = Driver().NextDialog(IDD_CALC_F);
        script(steps);
        steps.Click(IDCANCEL);
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(ScriptErrors(), "");
        EXPECT_EQ(Driver().PendingAnswers(), 0u);
    }
};

struct ModeCase {
    int mode;
    const wchar_t* caption;
    std::vector<std::wstring> labels;  // of the shown inputs
};

TEST_F(KurvCalcFTest, EachModeOpensWithItsTextsAndEmptyInputs) {
    SetFunction(*data_, "A*X", {3.0});
    const ModeCase cases[] = {
        {230, L"Calcul de F(X)", {L"Valeur de X:"}},
        {232, L"Calcul de la dérivé de F en X", {L"Valeur de X:"}},
        {233,
         L"Calcul de l'intégrale de F entre 2 points (Simpson)",
         {L"Borne Inférieure:", L"Borne Supérieure:"}},
        {1024,
         L"Résolution de F(X)=Y par dichotomie",
         {L"Borne Inférieure:", L"Borne Supérieure:", L"Valeur de F(X):"}},
        {1025,
         L"Résolution de F(X)=Y par la méthode de Newton",
         {L"Valeur de départ:", L"Valeur de F(X):"}},
        {7, L"Calcul de F(X)", {L"Valeur de X:"}},  // any other mode is the value of f
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.mode);
        Run(c.mode, [&](headless::DialogScript& s) {
            s.Check([&](headless::Driver& in) {
                EXPECT_EQ(in.Caption(), c.caption);
                EXPECT_EQ(in.Text(IDC_CALC_FUNCTION), L"F(X)=A*X");
                for (size_t i = 0; i < 3; ++i) {
                    const bool shown = i < c.labels.size();
                    EXPECT_EQ(in.IsVisible(kInputs[i]), shown) << "input " << i + 1;
                    EXPECT_EQ(in.IsVisible(kLabels[i]), shown) << "label " << i + 1;
                    if (shown) {
                        EXPECT_EQ(in.Text(kLabels[i]), c.labels[i]);
                        EXPECT_EQ(in.Text(kInputs[i]), L"");
                    }
                }
                EXPECT_EQ(in.Text(IDC_CALC_RESULT), L"");
                EXPECT_FALSE(in.IsEnabled(IDC_CALC_CALCULER));
            });
        });
    }
}

// Calculer needs every shown input to read as a finite number; any edit clears the result.
TEST_F(KurvCalcFTest, CalculerFollowsTheNeededInputs) {
    SetFunction(*data_, "A*X", {3.0});
    auto calculer = [](bool enabled) {
        return [enabled](headless::Driver& in) {
            EXPECT_EQ(in.IsEnabled(IDC_CALC_CALCULER), enabled);
        };
    };
    Run(ID_SOLVE_BISECTION, [&](headless::DialogScript& s) {
        s.Type(IDC_CALC_INPUT1, L"0")
            .Check(calculer(false))
            .Type(IDC_CALC_INPUT2, L"4")
            .Check(calculer(false))
            .Type(IDC_CALC_INPUT3, L"6abc")  // reads as 6
            .Check(calculer(true))
            .Type(IDC_CALC_INPUT2, L"   ")
            .Check(calculer(false))
            .Type(IDC_CALC_INPUT2, L"inf")
            .Check(calculer(false))
            .Type(IDC_CALC_INPUT2, L"4")
            .Check(calculer(true))
            .PressEnter()  // Calculer is the default button
            .Check([](headless::Driver& in) {
                EXPECT_EQ(in.Text(IDC_CALC_RESULT), L"F(000002.000000)=000006.000000");
            })
            .Append(IDC_CALC_INPUT1, L"0")
            .Check([](headless::Driver& in) { EXPECT_EQ(in.Text(IDC_CALC_RESULT), L""); });
    });
    // The inputs a mode hides play no part.
    Run(ID_CALC_FX,
        [&](headless::DialogScript& s) { s.Type(IDC_CALC_INPUT1, L"2").Check(calculer(true)); });
}

struct LineCase {
    const char* formula;
    double a;
    int mode;
    std::vector<std::wstring> inputs;
    std::wstring line;
};

TEST_F(KurvCalcFTest, ResultLinesOfEachMode) {
    const std::wstring badBounds = L"Erreur de definition des bornes";
    const LineCase cases[] = {
        {"A*X", 3.0, 230, {L"2"}, L"F(000002.000000)=000006.000000"},
        {"A/X", 3.0, 230, {L"0"}, L"division par zero"},
        {"A*X^2", 1.0, 232, {L"3"}, L"La dérivée de F en 000003.000000 est 000006.000000"},
        {"A*X^2",
         1.0,
         233,
         {L"0", L"1"},
         L"L'intégrale de F de 000000.000000 à 000001.000000 est 000000.333333"},
        {"A*X^2",
         1.0,
         233,
         {L"0", L"1,5"},
         L"L'intégrale de F de 000000.000000 à 000001.500000 est 000001.125000"},
        {"A*X^2", 1.0, 233, {L"1", L"1"}, badBounds},
        {"A*X", 3.0, 1024, {L"0", L"4", L"6"}, L"F(000002.000000)=000006.000000"},
        // A root exactly on a bound is that bound, not the midpoint 5.
        {"A*X", 3.0, 1024, {L"0", L"10", L"0"}, L"F(000000.000000)=000000.000000"},
        {"A*X", 3.0, 1024, {L"1", L"4", L"0"}, badBounds},
        {"A*X^2", 1.0, 1025, {L"1", L"4"}, L"F(000002.000000)=000004.000000"},
        {"A*X^2+1", 1.0, 1025, {L"1", L"0"}, badBounds},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(std::string(c.formula) + " mode " + std::to_string(c.mode));
        data_->Reset();
        SetFunction(*data_, c.formula, {c.a});
        Run(c.mode, [&](headless::DialogScript& s) {
            for (size_t i = 0; i < c.inputs.size(); ++i) s.Type(kInputs[i], c.inputs[i]);
            s.Click(IDC_CALC_CALCULER).Check([&](headless::Driver& in) {
                EXPECT_EQ(in.Text(IDC_CALC_RESULT), c.line);
            });
        });
    }
}

// Near a pole bisection converges to the pole: the line shows f there, not the target 0.
TEST_F(KurvCalcFTest, SolutionLineShowsFAtTheSolution) {
    SetFunction(*data_, "A/X", {1.0});
    std::string message;
    const double x = SolveBisection(data_.get(), -1.0, 2.0, 0.0, message);
    ASSERT_EQ(message, "");
    ASSERT_LT(std::fabs(x), 1e-6);
    const std::wstring line = L"F(" + FormatNumber(x) + L")=" + FormatNumber(1.0 / x);
    Run(ID_SOLVE_BISECTION, [&](headless::DialogScript& s) {
        s.Type(IDC_CALC_INPUT1, L"-1")
            .Type(IDC_CALC_INPUT2, L"2")
            .Type(IDC_CALC_INPUT3, L"0")
            .Click(IDC_CALC_CALCULER)
            .Check([&](headless::Driver& in) { EXPECT_EQ(in.Text(IDC_CALC_RESULT), line); });
    });
}

// A failed Newton run leaves no message behind for the next one to report.
TEST_F(KurvCalcFTest, NewtonStartsEachRunWithAnEmptyMessage) {
    SetFunction(*data_, "A*X^2", {1.0});
    Run(ID_SOLVE_NEWTON, [&](headless::DialogScript& s) {
        s.Type(IDC_CALC_INPUT1, L"1")
            .Type(IDC_CALC_INPUT2, L"-1")
            .Click(IDC_CALC_CALCULER)
            .Check([](headless::Driver& in) {
                EXPECT_EQ(in.Text(IDC_CALC_RESULT), L"Erreur de definition des bornes");
            })
            .Type(IDC_CALC_INPUT2, L"4")
            .Click(IDC_CALC_CALCULER)
            .Check([](headless::Driver& in) {
                EXPECT_EQ(in.Text(IDC_CALC_RESULT), L"F(000002.000000)=000004.000000");
            });
    });
}

// Two rows of three places: A left, C middle, B right; D, F, E below.
TEST_F(KurvCalcFTest, CoefficientsShownForOneToSixCoefficients) {
    const char* formulas[] = {"A*X",       "A*X+B",       "A*X+B+C",
                              "A*X+B+C+D", "A*X+B+C+D+E", "A*X+B+C+D+E+F"};
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        data_->Reset();
        SetFunction(*data_, formulas[n - 1], {1.5, -2.25, 3.0, 4.0, 0.00005, 1234567.0});
        Run(ID_CALC_FX, [&](headless::DialogScript& s) {
            s.Check([&](headless::Driver& in) {
                const wchar_t* values[] = {L"000001.500000", L"-00002.250000", L"000003.000000",
                                           L"000004.000000", L"05.000000e-05", L"01.234567e+06"};
                for (int i = 0; i < 6; ++i) {
                    EXPECT_EQ(in.IsVisible(IDC_CALC_NAME_A + i), i < n) << "name " << i;
                    EXPECT_EQ(in.IsVisible(IDC_CALC_VALUE_A + i), i < n) << "value " << i;
                    if (i < n) {
                        EXPECT_EQ(in.Text(IDC_CALC_VALUE_A + i), values[i]);
                    }
                }
                auto left = [&](int i) { return in.WindowRect(IDC_CALC_NAME_A + i).left; };
                auto top = [&](int i) { return in.WindowRect(IDC_CALC_NAME_A + i).top; };
                EXPECT_LT(left(0), left(2));
                EXPECT_LT(left(2), left(1));
                EXPECT_EQ(left(3), left(0));
                EXPECT_EQ(left(5), left(2));
                EXPECT_EQ(left(4), left(1));
                EXPECT_EQ(top(1), top(0));
                EXPECT_EQ(top(2), top(0));
                EXPECT_GT(top(3), top(0));
            });
        });
    }
}

}  // namespace
