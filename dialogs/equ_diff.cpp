// CEquDiff: restoring the stored equation, the rows and fields that follow the order, the checks
// with their messages, and the integration on OK.
#include "dialogs/equ_diff.h"

#include <cmath>
#include <cwchar>
#include <cwctype>

#include "common/text_conversion.h"
#include "dialogs/number_text.h"
#include "fitdata/fit_data.h"
#include "formula/compiled_formula.h"
#include "formula/compiler.h"
#include "formula/evaluator.h"
#include "numerics/differential_equation.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kMaxEquationLength = 254;
constexpr long long kMinPoints = 2;
constexpr long long kMaxPoints = 98;
constexpr long long kMinFinesse = 1;
constexpr long long kMaxFinesse = 499;
// The evaluator's code of "Depassement Capacite Calcul".
constexpr int kOverflowCode = 21;

bool InRange(long long value, long long low, long long high) {
    return value >= low && value <= high;
}

bool AllFinite(const double* values, int count) {
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(values[i])) return false;
    return true;
}

// An integer read into a wide type, so that a long text saturates out of every range instead of
// wrapping round into it ("4294967297" is no 1). `whole`: nothing but white space may follow the
// number; otherwise the rest is ignored.
bool ReadInteger(const CString& text, bool whole, long long& value) {
    long long read = 0;
    wchar_t rest[11];
    const int conversions = whole ? std::swscanf(text.GetString(), L"%lld%10ls", &read, rest)
                                  : std::swscanf(text.GetString(), L"%lld", &read);
    if (conversions != 1) return false;
    value = read;
    return true;
}

// A finite number, a decimal comma read as the point; `whole` as for ReadInteger.
bool ReadReal(const CString& text, bool whole, double& value) {
    double read = 0.0;
    std::size_t used = 0;
    if (!ReadNumber(text, read, &used)) return false;
    if (whole) {
        for (const wchar_t* rest = text.GetString() + used; *rest != L'\0'; ++rest)
            if (!std::iswspace(*rest)) return false;
    }
    value = read;
    return true;
}

// The labels and hints of the orders 1 to 3; 4 to 6 share "Y%d=" and the last hint.
const wchar_t* const kEquationLabels[] = {L"Y'=", L"Y\"=", L"Y3="};
const wchar_t* const kHints[] = {L"(avec Y=A)", L"(avec Y=A,Y'=B)", L"(avec Y=A,Y'=B,Y\"=C)",
                                 L"(avec Y=A,Y'=B,Y\"=C, ...)"};

// Messages of the initial values, from y(5) down to y.
const wchar_t* const kInitialFaults[] = {L"Y(XDébut) Incorrect",   L"Y'(XDébut) Incorrect",
                                         L"Y\"(XDébut) Incorrect", L"Y3(XDébut) Incorrect",
                                         L"Y4(XDébut) Incorrect",  L"Y5(XDébut) Incorrect"};

}  // namespace

// What the form's fields give once read.
struct CEquDiff::Fields {
    long long order = 0;
    CompiledFormula program;
    double xStart = 0.0;
    double xEnd = 0.0;
    long long points = 0;
    long long finesse = 0;
    long long shownOrder = 0;
    double initial[6] = {};
};

BEGIN_MESSAGE_MAP(CEquDiff, CDialog)
ON_EN_CHANGE(IDC_EQU_ORDER, &CEquDiff::OnChangeOrdre)
ON_EN_UPDATE(IDC_EQU_ORDER, &CEquDiff::OnUpdateOrdre)
ON_EN_CHANGE(IDC_EQU_EQUATION, &CEquDiff::OnChangeField)
ON_EN_UPDATE(IDC_EQU_EQUATION, &CEquDiff::OnChangeField)
ON_EN_CHANGE(IDC_EQU_X_START, &CEquDiff::OnChangeField)
ON_EN_UPDATE(IDC_EQU_X_START, &CEquDiff::OnChangeField)
ON_EN_CHANGE(IDC_EQU_X_END, &CEquDiff::OnChangeField)
ON_EN_UPDATE(IDC_EQU_X_END, &CEquDiff::OnChangeField)
ON_EN_CHANGE(IDC_EQU_FINESSE, &CEquDiff::OnChangeField)
ON_EN_UPDATE(IDC_EQU_FINESSE, &CEquDiff::OnChangeField)
ON_EN_CHANGE(IDC_EQU_POINTS, &CEquDiff::OnChangeField)
ON_EN_UPDATE(IDC_EQU_POINTS, &CEquDiff::OnChangeField)
ON_EN_CHANGE(IDC_EQU_Y0, &CEquDiff::OnChangeField)
ON_EN_UPDATE(IDC_EQU_Y0, &CEquDiff::OnChangeField)
ON_EN_CHANGE(IDC_EQU_Y0 + 1, &CEquDiff::OnChangeField)
ON_EN_UPDATE(IDC_EQU_Y0 + 1, &CEquDiff::OnChangeField)
ON_EN_CHANGE(IDC_EQU_Y0 + 2, &CEquDiff::OnChangeField)
ON_EN_UPDATE(IDC_EQU_Y0 + 2, &CEquDiff::OnChangeField)
ON_EN_CHANGE(IDC_EQU_Y0 + 3, &CEquDiff::OnChangeField)
ON_EN_UPDATE(IDC_EQU_Y0 + 3, &CEquDiff::OnChangeField)
ON_EN_CHANGE(IDC_EQU_Y0 + 4, &CEquDiff::OnChangeField)
ON_EN_UPDATE(IDC_EQU_Y0 + 4, &CEquDiff::OnChangeField)
ON_EN_CHANGE(IDC_EQU_Y0 + 5, &CEquDiff::OnChangeField)
ON_EN_UPDATE(IDC_EQU_Y0 + 5, &CEquDiff::OnChangeField)
ON_EN_CHANGE(IDC_EQU_SHOWN, &CEquDiff::OnChangeField)
ON_EN_UPDATE(IDC_EQU_SHOWN, &CEquDiff::OnChangeField)
ON_BN_CLICKED(IDC_EQU_EXPLAIN, &CEquDiff::OnExplain)
END_MESSAGE_MAP()

CEquDiff::CEquDiff(FitData* data, int mode0, CWnd*)
    : CDialog(IDD_EQU_DIFF), equationLabel(L"Y'="), fitData(data), mode(mode0) {}

void CEquDiff::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_EQU_EXPLAIN, explainButton);
    DDX_Control(exchange, IDC_EQU_SHOWN, shownOrderEdit);
    DDX_Control(exchange, IDC_EQU_ORDER_LABEL, orderLabel);
    DDX_Control(exchange, IDC_EQU_ORDER, orderEdit);
    DDX_Control(exchange, IDC_EQU_POINTS, pointsEdit);
    DDX_Control(exchange, IDC_EQU_FINESSE, finesseEdit);
    DDX_Control(exchange, IDC_EQU_X_END, xEndEdit);
    DDX_Control(exchange, IDC_EQU_EQUATION, equationEdit);
    DDX_Control(exchange, IDC_EQU_X_START, xStartEdit);
    DDX_Control(exchange, IDOK, okButton);
    for (int k = 5; k >= 0; --k) DDX_Control(exchange, IDC_EQU_Y0 + k, initialEdit[k]);
    for (int k = 5; k >= 2; --k) DDX_Control(exchange, IDC_EQU_Y2_LABEL + k - 2, rowLabel[k - 1]);
    DDX_Control(exchange, IDC_EQU_Y1_LABEL, rowLabel[0]);
    DDX_Text(exchange, IDC_EQU_HINT, hintText);
    DDX_Text(exchange, IDC_EQU_X_START, xStartText);
    DDX_Text(exchange, IDC_EQU_EQUATION, equationText);
    DDX_Text(exchange, IDC_EQU_X_END, xEndText);
    DDX_Text(exchange, IDC_EQU_FINESSE, finesseText);
    DDX_Text(exchange, IDC_EQU_EQUATION_LABEL, equationLabel);
    for (int k = 0; k < 6; ++k) DDX_Text(exchange, IDC_EQU_Y0 + k, initialText[k]);
    DDX_Text(exchange, IDC_EQU_POINTS, pointsText);
    DDX_Text(exchange, IDC_EQU_ORDER, orderText);
    DDX_Text(exchange, IDC_EQU_SHOWN, shownOrderText);
}

BOOL CEquDiff::OnInitDialog() {
    CDialog::OnInitDialog();
    shownOrderText = L"0";
    for (CString& text : initialText) text = L"";
    pointsText = L"";
    xStartText = L"";
    xEndText = L"";
    finesseText = L"";

    std::wstring stored;
    const int storedOrder = fitData->equation.Get(stored);
    const wchar_t* caption = nullptr;
    if (mode == static_cast<int>(ID_ODE_N)) {
        orderText.Format(L"%d", storedOrder);
        orderEdit.ShowWindow(SW_SHOW);
        orderLabel.ShowWindow(SW_SHOW);
        equationText = stored;
        caption = L"Equation Différentielle du Nième Ordre";
    } else {
        const int order = mode == static_cast<int>(ID_ODE_2) ? 2 : 1;
        orderText.Format(L"%d", order);
        orderEdit.ShowWindow(SW_HIDE);
        orderLabel.ShowWindow(SW_HIDE);
        equationText = storedOrder == order ? CString(stored) : CString(L"");
        caption = order == 2 ? L"Equation Différentielle du Second Ordre"
                             : L"Equation Différentielle du Premier Ordre";
    }
    SetWindowText(caption);
    UpdateData(FALSE);
    OnChangeOrdre();
    return TRUE;
}

void CEquDiff::EnableFields(BOOL enable) {
    pointsEdit.EnableWindow(enable);
    finesseEdit.EnableWindow(enable);
    xEndEdit.EnableWindow(enable);
    equationEdit.EnableWindow(enable);
    xStartEdit.EnableWindow(enable);
    okButton.EnableWindow(enable);
    explainButton.EnableWindow(!enable);
    for (CEdit& edit : initialEdit) edit.EnableWindow(enable);
    shownOrderEdit.EnableWindow(enable);
}

void CEquDiff::OnChangeOrdre() {
    UpdateData(TRUE);
    long long order = 0;
    if (!ReadInteger(orderText, true, order)) order = 0;
    for (int k = 1; k < 6; ++k) {
        initialEdit[k].ShowWindow(SW_SHOW);
        rowLabel[k - 1].ShowWindow(SW_SHOW);
    }
    EnableFields(TRUE);
    if (InRange(order, 1, 6)) {
        const int n = static_cast<int>(order);
        if (n <= 3)
            equationLabel = kEquationLabels[n - 1];
        else
            equationLabel.Format(L"Y%d=", n);
        hintText = kHints[n <= 3 ? n - 1 : 3];
        // The rows of the derivatives the order does not need.
        for (int k = n; k < 6; ++k) {
            initialEdit[k].ShowWindow(SW_HIDE);
            rowLabel[k - 1].ShowWindow(SW_HIDE);
        }
        if (n == 1) {
            shownOrderEdit.EnableWindow(FALSE);
            shownOrderText = L"0";
        }
    } else {
        // Only the order, "?" and Cancel stay usable.
        EnableFields(FALSE);
    }
    UpdateData(FALSE);
    Validate(false);
}

void CEquDiff::OnUpdateOrdre() {
    OnChangeOrdre();
}

void CEquDiff::OnChangeField() {
    Validate(false);
}

void CEquDiff::OnExplain() {
    Validate(true);
}

CString CEquDiff::FirstFault(Fields& fields) const {
    if (!ReadInteger(orderText, true, fields.order)) return L"Ordre Incorrect";
    if (!InRange(fields.order, 1, 6)) return L"Ordre trop petit ou trop grand";
    if (equationText.IsEmpty()) return L"Equation Vide";
    if (equationText.GetLength() > kMaxEquationLength) return L"Equation trop grande";
    int error = 0;
    fields.program.CompileExpression(equationText.str(), error);
    if (error != 0) return CString(L"Erreur Equation : ") + CString(SyntaxErrorMessage(error));
    if (!ReadReal(xStartText, true, fields.xStart)) return L"XDébut Incorrect";
    if (!ReadReal(xEndText, true, fields.xEnd)) return L"XFin Incorrect";
    if (!(fields.xStart < fields.xEnd)) return L"XFin <= XDébut";
    if (!ReadInteger(pointsText, true, fields.points)) return L"Nombre de Points Incorrect";
    if (!InRange(fields.points, kMinPoints, kMaxPoints))
        return L"Nombre de Points trop petit ou trop grand";
    if (!ReadInteger(finesseText, true, fields.finesse)) return L"Finesse Incorrect";
    if (!InRange(fields.finesse, kMinFinesse, kMaxFinesse))
        return L"Finesse trop petite ou trop grande";
    if (!ReadInteger(shownOrderText, true, fields.shownOrder)) return L"Ordre Visualisé Incorrect";
    if (!InRange(fields.shownOrder, 0, fields.order - 1))
        return L"Ordre Visualisé trop petit ou trop grand";
    for (int k = static_cast<int>(fields.order) - 1; k >= 0; --k)
        if (!ReadReal(initialText[k], true, fields.initial[k])) return kInitialFaults[k];
    return L"";
}

bool CEquDiff::ReadForIntegration(Fields& fields) const {
    if (!ReadInteger(orderText, false, fields.order)) return false;
    if (!InRange(equationText.GetLength(), 1, kMaxEquationLength)) return false;
    int error = 0;
    fields.program.CompileExpression(equationText.str(), error);
    if (error != 0) return false;
    if (!ReadReal(xStartText, false, fields.xStart) || !ReadReal(xEndText, false, fields.xEnd) ||
        !(fields.xStart < fields.xEnd))
        return false;
    if (!ReadInteger(finesseText, false, fields.finesse) ||
        !InRange(fields.finesse, kMinFinesse, kMaxFinesse))
        return false;
    if (!ReadInteger(pointsText, false, fields.points) ||
        !InRange(fields.points, kMinPoints, kMaxPoints))
        return false;
    if (!ReadInteger(shownOrderText, false, fields.shownOrder) ||
        !InRange(fields.shownOrder, 0, fields.order - 1))
        return false;
    if (!InRange(fields.order, 1, 6)) return false;
    for (int k = static_cast<int>(fields.order) - 1; k >= 0; --k)
        if (!ReadReal(initialText[k], false, fields.initial[k])) return false;
    return true;
}

bool CEquDiff::Validate(bool showMessages) {
    UpdateData(TRUE);
    okButton.EnableWindow(FALSE);
    explainButton.EnableWindow(TRUE);
    UpdateData(FALSE);
    Fields fields;
    const CString fault = FirstFault(fields);
    if (!fault.IsEmpty()) {
        if (showMessages) MessageBox(fault, nullptr, MB_ICONINFORMATION);
        return false;
    }
    explainButton.EnableWindow(FALSE);
    okButton.EnableWindow(TRUE);
    UpdateData(FALSE);
    return true;
}

void CEquDiff::OnOK() {
    if (fitData->hasPoints &&
        MessageBox(L"Vous allez effacer les anciens points\net l'ancien calcul, confirmez vous ?",
                   nullptr, MB_ICONQUESTION | MB_YESNO) == IDNO)
        return;
    UpdateData(TRUE);
    Fields fields;
    if (!ReadForIntegration(fields)) return;
    okButton.EnableWindow(FALSE);
    explainButton.EnableWindow(TRUE);
    UpdateData(FALSE);

    const int order = static_cast<int>(fields.order);
    const int points = static_cast<int>(fields.points);
    double x[kMaxPoints + 1];
    double y[kMaxPoints + 1];
    int error = IntegrateEquation(fields.program, order, fields.xStart, fields.xEnd, points,
                                  static_cast<int>(fields.finesse),
                                  static_cast<int>(fields.shownOrder), fields.initial, x, y);
    // Bounds whose difference overflows give an infinite step, and a state may outgrow the
    // doubles without any evaluation failing: such points would poison the fits, the page and
    // the files.
    if (error == 0 && !(AllFinite(x, points + 1) && AllFinite(y, points + 1)))
        error = kOverflowCode;
    if (error != 0) {
        // Nothing is stored; the user learns why OK did not close the form.
        Validate(false);
        MessageBox(CString(L"Erreur de calcul : ") + CString(NarrowToWide(EvalErrorText(error))),
                   nullptr, MB_ICONINFORMATION);
        return;
    }
    // The old fit's distance belongs to the points that are gone.
    if (fitData->SetPoints(points + 1, x, y) > 0) fitData->fitDone = 0;
    UpdateData(FALSE);
    fitData->equation.Set(order, equationText.str());
    CDialog::OnOK();
}
