// CKurvomatView: the calculation dialog's five commands and the differential-equation form's three.
#include "dialogs/equ_diff.h"
#include "dialogs/kurv_calc_f.h"
#include "fitdata/fit_data.h"
#include "resources/resource_ids.h"
#include "shell/kurvomat_view.h"

void CKurvomatView::RunCalculation(int mode) {
    // The dialog only reads the record: nothing to mark and no pane to refresh.
    CKurvCalcF dialog(&Data(), mode);
    dialog.DoModal();
}

void CKurvomatView::OnCalcFx() {
    RunCalculation(ID_CALC_FX);
}

void CKurvomatView::OnCalcDerivative() {
    RunCalculation(ID_CALC_DERIVATIVE);
}

void CKurvomatView::OnCalcIntegral() {
    RunCalculation(ID_CALC_INTEGRAL);
}

void CKurvomatView::OnSolveBisection() {
    RunCalculation(ID_SOLVE_BISECTION);
}

void CKurvomatView::OnSolveNewton() {
    RunCalculation(ID_SOLVE_NEWTON);
}

void CKurvomatView::RunEquation(int mode) {
    CEquDiff dialog(&Data(), mode);
    RunEntryDialog(dialog, &CKurvomatView::RefreshPointPanes);
}

void CKurvomatView::OnOde1() {
    RunEquation(ID_ODE_1);
}

void CKurvomatView::OnOde2() {
    RunEquation(ID_ODE_2);
}

void CKurvomatView::OnOdeN() {
    RunEquation(ID_ODE_N);
}
