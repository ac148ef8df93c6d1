// CEnterCoef: the used rows, RAZ, and the reading and storing of the values and Fixe boxes.
#include "dialogs/enter_coef.h"

#include <algorithm>

#include "dialogs/centre_on_parent.h"
#include "dialogs/number_text.h"
#include "fitdata/fit_data.h"
#include "fitdata/number_format.h"
#include "resources/resource_ids.h"

BEGIN_MESSAGE_MAP(CEnterCoef, CDialog)
ON_BN_CLICKED(IDC_COEF_RAZ, &CEnterCoef::OnRaz)
END_MESSAGE_MAP()

CEnterCoef::CEnterCoef(FitData* data, CWnd*) : CDialog(IDD_ENTER_COEF), fixed{}, fitData(data) {
    for (CString& text : valueText) text = L"0";
}

void CEnterCoef::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    for (int i = 0; i < 6; ++i) DDX_Control(exchange, IDC_COEF_NAME_A + i, nameLabel[i]);
    for (int i = 0; i < 6; ++i) DDX_Control(exchange, IDC_COEF_FIXED_A + i, fixedBox[i]);
    for (int i = 0; i < 6; ++i) DDX_Control(exchange, IDC_COEF_VALUE_A + i, valueEdit[i]);
    for (int i = 0; i < 6; ++i) DDX_Text(exchange, IDC_COEF_VALUE_A + i, valueText[i]);
    DDX_Text(exchange, IDC_COEF_FUNCTION, functionLabel);
    for (int i = 0; i < 6; ++i) DDX_Check(exchange, IDC_COEF_FIXED_A + i, fixed[i]);
}

BOOL CEnterCoef::OnInitDialog() {
    CentreOnParent(*this);
    CDialog::OnInitDialog();
    functionLabel = CString(L"F(X)=") + CString(fitData->function.GetText());
    ShowCoefficients();
    return TRUE;
}

int CEnterCoef::RowsInUse() const {
    return std::clamp(static_cast<int>(fitData->function.nCoef), 0, 6);
}

void CEnterCoef::ShowCoefficients() {
    const int n = RowsInUse();
    for (int i = 0; i < 6; ++i) {
        const int show = i < n ? SW_SHOW : SW_HIDE;
        nameLabel[i].ShowWindow(show);
        valueEdit[i].ShowWindow(show);
        fixedBox[i].ShowWindow(show);
    }
    for (int i = 0; i < n; ++i) {
        valueText[i] = FormatNumber(fitData->function.coef[i]);
        // A flag a file left at another nonzero value is a fixed coefficient all the same.
        fixed[i] = fitData->function.coefFixed[i] != 0 ? 1 : 0;
        shownText_[i] = valueText[i];
        shownFixed_[i] = fixed[i];
    }
    UpdateData(FALSE);
}

void CEnterCoef::OnRaz() {
    for (int i = 0; i < RowsInUse(); ++i) {
        valueText[i] = FormatNumber(0.0);
        fixed[i] = 0;
    }
    UpdateData(FALSE);
}

void CEnterCoef::OnOK() {
    UpdateData(TRUE);
    FunctionDef& function = fitData->function;
    double values[6];
    int flags[6];
    std::copy(function.coef, function.coef + 6, values);
    std::copy(function.coefFixed, function.coefFixed + 6, flags);
    for (int i = 0; i < RowsInUse(); ++i) {
        // A row still showing the stored value's text keeps that value to the last bit: only
        // the digits shown would be read back, which would undo a fit merely looked at.
        if (valueText[i] != shownText_[i] && !ReadNumber(valueText[i], values[i])) return;
        if (fixed[i] != shownFixed_[i]) flags[i] = fixed[i];
    }
    if (function.SetCoefficients(values, flags) == 1) fitData->fitDone = 0;
    EndDialog(IDOK);
}

void CEnterCoef::OnCancel() {
    EndDialog(0);
}
