// CEnterFunction: the length check, upper-casing and compilation of the typed formula.
#include "dialogs/enter_function.h"

#include "dialogs/centre_on_parent.h"
#include "fitdata/fit_data.h"
#include "resources/resource_ids.h"

namespace {

// The capacity of the formula's field in the application and function files.
constexpr int kMaxFormulaLength = 254;

}  // namespace

BEGIN_MESSAGE_MAP(CEnterFunction, CDialog)
ON_EN_CHANGE(IDC_FUNCTION_TEXT, &CEnterFunction::OnChangeFormula)
ON_EN_UPDATE(IDC_FUNCTION_TEXT, &CEnterFunction::OnChangeFormula)
END_MESSAGE_MAP()

CEnterFunction::CEnterFunction(FitData* data, CWnd*)
    : CDialog(IDD_ENTER_FUNCTION), formulaText(data->function.GetText()), fitData(data) {}

void CEnterFunction::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDOK, okButton);
    DDX_Text(exchange, IDC_FUNCTION_TEXT, formulaText);
    DDX_Text(exchange, IDC_FUNCTION_MESSAGE, messageText);
}

BOOL CEnterFunction::OnInitDialog() {
    CentreOnParent(*this);
    CDialog::OnInitDialog();
    UpdateData(FALSE);
    return TRUE;
}

void CEnterFunction::OnChangeFormula() {
    UpdateData(TRUE);
    UpdateData(FALSE);
}

void CEnterFunction::OnOK() {
    if (formulaText.GetLength() > kMaxFormulaLength) {
        messageText = L"Fonction trop longue";
        UpdateData(FALSE);
        return;
    }
    formulaText.MakeUpper();
    const CString answer(fitData->function.SetText(formulaText.str()));
    messageText = answer;
    if (answer == L"") {
        EndDialog(IDOK);
        return;
    }
    if (answer == L"Ok") {
        fitData->fitDone = 0;
        EndDialog(IDOK);
        return;
    }
    messageText = CString(L"Erreur : ") + answer;
    UpdateData(FALSE);
}

void CEnterFunction::OnCancel() {
    EndDialog(0);
}
