// CKurvomatView: the commands that open the function, coefficient and point-table dialogs.
#include "dialogs/enter_coef.h"
#include "dialogs/enter_function.h"
#include "dialogs/enter_table.h"
#include "shell/kurvomat_doc.h"
#include "shell/kurvomat_view.h"

void CKurvomatView::RunEntryDialog(CDialog& dialog, void (CKurvomatView::*refresh)()) {
    if (dialog.DoModal() == IDOK) GetDocument()->SetModifiedFlag(TRUE);
    (this->*refresh)();
}

void CKurvomatView::OnEnterFunction() {
    CEnterFunction dialog(&Data());
    RunEntryDialog(dialog, &CKurvomatView::RefreshFunctionPanes);
}

void CKurvomatView::OnEnterCoef() {
    CEnterCoef dialog(&Data());
    RunEntryDialog(dialog, &CKurvomatView::RefreshFunctionPanes);
}

void CKurvomatView::OnEnterTable() {
    // About 80 KB with its copy of the table: well within the stack.
    CEnterTable dialog(&Data());
    RunEntryDialog(dialog, &CKurvomatView::RefreshPointPanes);
}
