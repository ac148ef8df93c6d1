// The fit-result dialog on its own: texts from the record and the shrinking to the used rows.
#include <gtest/gtest.h>

#include <memory>

#include "dialogs/kurv_result.h"
#include "fitdata/number_format.h"
#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"

namespace {

using KurvResultTest = DialogSession;

TEST_F(KurvResultTest, DistanceTextAndVerdict) {
    SetFunction(*data_, "A*EXP(B*X)", {1.5, -0.00005}, {1, 0});
    struct Case {
        int fitDone;
        double distance;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {1, 0.0123, L"La distance euclidienne est 000000.012300"},
        {1, 0.00005, L"La distance euclidienne est 05.000000e-05"},
        {0, 0.0123, L"La distance euclidienne est -00001.000000"},
    };
    for (const Case& c : cases) {
        data_->fitDone = c.fitDone;
        data_->fitDistance = c.distance;
        CKurvResult dialog(data_.get(), L"Ajustement Douteux");
        Driver()
            .NextDialog(IDD_RESULT)
            .Check([&](headless::Driver& in) {
                EXPECT_EQ(in.Text(IDC_RESULT_TITLE), L"Ajustement Douteux");
                EXPECT_EQ(in.Text(IDC_RESULT_DISTANCE), c.shown);
                EXPECT_EQ(in.Text(IDC_RESULT_FORMULA), L"F(X)=A*EXP(B*X)");
                EXPECT_EQ(in.Text(IDC_RESULT_VALUE_A), L"000001.500000");
                EXPECT_EQ(in.Text(IDC_RESULT_VALUE_A + 1), L"-5.00000e-05");
                EXPECT_EQ(in.Text(IDC_RESULT_STATE_A), L"Fixe");
                EXPECT_EQ(in.Text(IDC_RESULT_STATE_A + 1), L"Ajuste");
                EXPECT_EQ(in.Text(IDC_RESULT_NAME_A + 1), L"B=");
            })
            .PressEscape();
        dialog.DoModal();
        EXPECT_EQ(ScriptErrors(), "");
    }
}

TEST_F(KurvResultTest, FunctionNotCompiledShowsTheBareFormulaLine) {
    SetFunction(*data_, "A*X", {4.0});
    data_->function.isCompiled = 0;
    CKurvResult dialog(data_.get(), L"Ajustement Réalisé correctement");
    Driver()
        .NextDialog(IDD_RESULT)
        .Check([](headless::Driver& in) { EXPECT_EQ(in.Text(IDC_RESULT_FORMULA), L"F(X)="); })
        .Click(IDOK);
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

// The record is only read.
TEST_F(KurvResultTest, LeavesTheRecordUnchanged) {
    SetFunction(*data_, "A*X+B", {4.0, 5.0});
    data_->fitDone = 1;
    data_->fitDistance = 0.5;
    const FunctionDef before = data_->function;
    CKurvResult dialog(data_.get(), L"x");
    Driver().NextDialog(IDD_RESULT).Click(IDOK);
    dialog.DoModal();
    EXPECT_EQ(data_->function.coef[0], before.coef[0]);
    EXPECT_EQ(data_->function.coef[1], before.coef[1]);
    EXPECT_EQ(data_->function.coefFixed[0], before.coefFixed[0]);
    EXPECT_EQ(data_->fitDistance, 0.5);
    EXPECT_EQ(data_->fitDone, 1);
}

TEST_F(KurvResultTest, MakeDistanceText) {
    EXPECT_EQ(MakeDistanceText(L"000001.000000"),
              CString(L"La distance euclidienne est 000001.000000"));
    EXPECT_EQ(MakeDistanceText(L""), CString(L"La distance euclidienne est "));
}

}  // namespace
