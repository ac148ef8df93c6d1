// The coefficient dialog: rows per coefficient count, values kept or read, Fixe, RAZ, refusals,
// and the placement it shares with the function dialog.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "dialogs/enter_coef.h"
#include "dialogs/enter_function.h"
#include "fitdata/number_format.h"
#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"

namespace {

class EnterCoefTest : public DialogSession {
  protected:
    void SetUp() override {
        DialogSession::SetUp();
        // Values whose texts on screen are rounded.
        SetFunction(*data_, "A*X^2+B*X+C", {1.23456789, -0.0000123456789, 1e10 / 3.0}, {1, 0, 0});
        data_->fitDone = 1;
        before_ = data_->function;
    }

    // The three values and flags as they were, to the bit.
    void ExpectCoefficientsKept() {
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(std::memcmp(&data_->function.coef[i], &before_.coef[i], sizeof(double)), 0)
                << "coefficient " << i;
            EXPECT_EQ(data_->function.coefFixed[i], before_.coefFixed[i]) << "coefficient " << i;
        }
    }

    FunctionDef before_;
};

TEST_F(EnterCoefTest, RowsOfTheUsedCoefficientsOnly) {
    const char* const formulas[] = {"A*X",
                                    "A*X+B",
                                    "A*X^2+B*X+C",
                                    "A+B*X+C*X^2+D*X^3",
                                    "A+B*X+C*X^2+D*X^3+E*X^4",
                                    "A+B*X+C*X^2+D*X^3+E*X^4+F*X^5"};
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        SetFunction(*data_, formulas[n - 1], {1.5, 2.5, 3.5, 4.5, 5.5, 6.5}, {0, 1, 0, 1, 0, 1});
        CEnterCoef dialog(data_.get());
        Driver()
            .NextDialog(IDD_ENTER_COEF)
            .Check([&](headless::Driver& in) {
                EXPECT_EQ(in.Caption(), L"MODIFICATION DES COEFFICIENTS DE LA FONCTION");
                EXPECT_EQ(in.Text(IDC_COEF_FUNCTION), L"F(X)=" + NarrowToWide(formulas[n - 1]));
                for (int i = 0; i < 6; ++i) {
                    SCOPED_TRACE(i);
                    EXPECT_EQ(in.IsVisible(IDC_COEF_NAME_A + i), i < n);
                    EXPECT_EQ(in.IsVisible(IDC_COEF_VALUE_A + i), i < n);
                    EXPECT_EQ(in.IsVisible(IDC_COEF_FIXED_A + i), i < n);
                    EXPECT_EQ(in.Text(IDC_COEF_VALUE_A + i), i < n ? FormatNumber(1.5 + i) : L"0");
                    EXPECT_EQ(in.CheckState(IDC_COEF_FIXED_A + i), i < n ? i % 2 : 0);
                }
            })
            .Click(IDCANCEL);
        EXPECT_EQ(dialog.DoModal(), 0);
        EXPECT_EQ(ScriptErrors(), "");
    }
}

// OK without a change keeps the fitted values to the bit, a flag of 5 included, and the fit.
TEST_F(EnterCoefTest, UntouchedOkKeepsEveryValueAndTheFit) {
    data_->function.coefFixed[0] = 5;
    before_.coefFixed[0] = 5;
    CEnterCoef dialog(data_.get());
    Driver()
        .NextDialog(IDD_ENTER_COEF)
        .Check([](headless::Driver& in) {
            EXPECT_EQ(in.Text(IDC_COEF_VALUE_A), L"000001.234568");
            EXPECT_EQ(in.CheckState(IDC_COEF_FIXED_A), 1) << "nonzero shows as ticked";
        })
        // Edited and put back as it was shown: still untouched.
        .Type(IDC_COEF_VALUE_A + 1, L"1")
        .Type(IDC_COEF_VALUE_A + 1, FormatNumber(before_.coef[1]))
        .Click(IDOK);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ExpectCoefficientsKept();
    EXPECT_EQ(data_->fitDone, 1);
    EXPECT_EQ(ScriptErrors(), "");
}

struct ChangeCase {
    const char* name;
    std::function<void(headless::DialogScript&)> edit;
    double values[3];
    int fixed[3];
    int nFree;
};

TEST_F(EnterCoefTest, AChangeIsStoredAndClearsTheFit) {
    const double a = 1.23456789;
    const double b = -0.0000123456789;
    const double c = 1e10 / 3.0;
    const ChangeCase cases[] = {
        {"one value",
         [](headless::DialogScript& s) { s.Type(IDC_COEF_VALUE_A + 1, L"2.5"); },
         {a, 2.5, c},
         {1, 0, 0},
         2},
        {"a decimal comma",
         [](headless::DialogScript& s) { s.Type(IDC_COEF_VALUE_A + 1, L"-0,5e3"); },
         {a, -500.0, c},
         {1, 0, 0},
         2},
        {"a Fixe box",
         [](headless::DialogScript& s) { s.Tick(IDC_COEF_FIXED_A + 2); },
         {a, b, c},
         {1, 0, 1},
         1},
        {"RAZ",
         [](headless::DialogScript& s) { s.Click(IDC_COEF_RAZ); },
         {0.0, 0.0, 0.0},
         {0, 0, 0},
         3},
    };
    for (const ChangeCase& k : cases) {
        SCOPED_TRACE(k.name);
        data_->Reset();
        SetFunction(*data_, "A*X^2+B*X+C", {a, b, c}, {1, 0, 0});
        data_->fitDone = 1;
        CEnterCoef dialog(data_.get());
        headless::DialogScript& script = Driver().NextDialog(IDD_ENTER_COEF);
        k.edit(script);
        script.Click(IDOK);
        EXPECT_EQ(dialog.DoModal(), IDOK);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(data_->function.coef[i], k.values[i]) << i;
            EXPECT_EQ(data_->function.coefFixed[i], k.fixed[i]) << i;
        }
        EXPECT_EQ(data_->function.nFree, k.nFree);
        EXPECT_EQ(data_->fitDone, 0);
        EXPECT_EQ(ScriptErrors(), "");
    }
}

TEST_F(EnterCoefTest, RazThenCancelChangesNothing) {
    CEnterCoef dialog(data_.get());
    Driver()
        .NextDialog(IDD_ENTER_COEF)
        .Click(IDC_COEF_RAZ)
        .Check([](headless::Driver& in) {
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(in.Text(IDC_COEF_VALUE_A + i), L"000000.000000");
                EXPECT_EQ(in.CheckState(IDC_COEF_FIXED_A + i), 0);
            }
        })
        .Click(IDCANCEL);
    EXPECT_EQ(dialog.DoModal(), 0);
    ExpectCoefficientsKept();
    EXPECT_EQ(data_->fitDone, 1);
    EXPECT_EQ(ScriptErrors(), "");
}

// A field that gives no finite number keeps the dialog open and stores nothing, not even the
// rows before it.
TEST_F(EnterCoefTest, FieldWithoutANumberRefusesOk) {
    for (const wchar_t* text : {L"", L"   ", L"abc", L"nan", L"1e999", L"-inf"}) {
        SCOPED_TRACE(WideToNarrow(text));
        CEnterCoef dialog(data_.get());
        Driver()
            .NextDialog(IDD_ENTER_COEF)
            .Type(IDC_COEF_VALUE_A, L"7")
            .Type(IDC_COEF_VALUE_A + 2, text)
            .Click(IDOK)
            .Check([text](headless::Driver& in) {
                EXPECT_EQ(in.ActiveDialogId(), IDD_ENTER_COEF);
                EXPECT_EQ(in.Text(IDC_COEF_VALUE_A + 2), text);
            })
            .PressEscape();
        EXPECT_EQ(dialog.DoModal(), 0);
        ExpectCoefficientsKept();
        EXPECT_EQ(data_->fitDone, 1);
        EXPECT_TRUE(Driver().MessageBoxes().empty());
        EXPECT_EQ(ScriptErrors(), "");
    }
}

// Both dialogs centre on the main window; the halves truncate toward zero.
TEST_F(EnterCoefTest, FunctionAndCoefficientDialogsCentreOnTheMainWindow) {
    // Main windows that make odd sums below zero for each dialog's width, where truncating and
    // flooring differ by one.
    const std::pair<int, CRect> cases[] = {{IDD_ENTER_FUNCTION, CRect(-301, -100, 400, 300)},
                                           {IDD_ENTER_COEF, CRect(-301, -100, 401, 300)}};
    for (const auto& [id, main] : cases) {
        SCOPED_TRACE(id);
        Driver().MoveMainWindow(main);
        CRect shown;
        Driver()
            .NextDialog(id)
            .Check([&](headless::Driver& in) { shown = in.ActiveWindowRect(); })
            .PressEscape();
        if (id == IDD_ENTER_FUNCTION) {
            CEnterFunction dialog(data_.get());
            dialog.DoModal();
        } else {
            CEnterCoef dialog(data_.get());
            dialog.DoModal();
        }
        ASSERT_EQ(ScriptErrors(), "");
        const int sumX = main.left + main.right - shown.Width();
        const int sumY = main.top + main.bottom - shown.Height();
        ASSERT_LT(sumX, 0);
        ASSERT_NE(sumX % 2, 0);
        ASSERT_LT(sumY, 0);
        ASSERT_NE(sumY % 2, 0);
        EXPECT_EQ(shown.left, sumX / 2);
        EXPECT_EQ(shown.top, sumY / 2);
    }
}

}  // namespace
