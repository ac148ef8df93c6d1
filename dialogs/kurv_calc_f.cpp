// CKurvCalcF: the mode's captions and labels, the rule of Calculer and the result lines.
#include "dialogs/kurv_calc_f.h"

#include <string>

#include "common/text_conversion.h"
#include "dialogs/number_text.h"
#include "fitdata/fit_data.h"
#include "fitdata/number_format.h"
#include "numerics/calculations.h"
#include "resources/resource_ids.h"

namespace {

struct ModeTexts {
    int mode;
    const wchar_t* caption;
    const wchar_t* labels[3];  // nullptr: the input is hidden
};

const ModeTexts kModes[] = {
    {static_cast<int>(ID_CALC_FX), L"Calcul de F(X)", {L"Valeur de X:", nullptr, nullptr}},
    {static_cast<int>(ID_CALC_DERIVATIVE),
     L"Calcul de la dérivé de F en X",
     {L"Valeur de X:", nullptr, nullptr}},
    {static_cast<int>(ID_CALC_INTEGRAL),
     L"Calcul de l'intégrale de F entre 2 points (Simpson)",
     {L"Borne Inférieure:", L"Borne Supérieure:", nullptr}},
    {static_cast<int>(ID_SOLVE_BISECTION),
     L"Résolution de F(X)=Y par dichotomie",
     {L"Borne Inférieure:", L"Borne Supérieure:", L"Valeur de F(X):"}},
    {static_cast<int>(ID_SOLVE_NEWTON),
     L"Résolution de F(X)=Y par la méthode de Newton",
     {L"Valeur de départ:", L"Valeur de F(X):", nullptr}},
};

// The row of `mode`; any mode not in the table is the value of f.
const ModeTexts& TextsOf(int mode) {
    for (const ModeTexts& texts : kModes)
        if (texts.mode == mode) return texts;
    return kModes[0];
}

CString Number(double value) {
    return CString(FormatNumber(value).c_str());
}

// "F(x)=f(x)" with f evaluated at the solution, or the evaluator's text when that fails: the
// target y alone would claim a value that f may be far from (near a pole, for one).
CString SolutionLine(const FitData* data, double x) {
    std::string message;
    const double value = EvaluateFA(data, x, message);
    if (!message.empty()) return CString(NarrowToWide(message).c_str());
    CString line;
    line.Format(L"F(%s)=%s", Number(x).GetString(), Number(value).GetString());
    return line;
}

}  // namespace

BEGIN_MESSAGE_MAP(CKurvCalcF, CDialog)
ON_EN_UPDATE(IDC_CALC_INPUT1, &CKurvCalcF::OnChangeInput)
ON_EN_CHANGE(IDC_CALC_INPUT2, &CKurvCalcF::OnChangeInput)
ON_EN_UPDATE(IDC_CALC_INPUT2, &CKurvCalcF::OnChangeInput)
ON_EN_CHANGE(IDC_CALC_INPUT3, &CKurvCalcF::OnChangeInput)
ON_EN_UPDATE(IDC_CALC_INPUT3, &CKurvCalcF::OnChangeInput)
ON_BN_CLICKED(IDC_CALC_CALCULER, &CKurvCalcF::OnCalculer)
END_MESSAGE_MAP()

CKurvCalcF::CKurvCalcF(FitData* data, int mode0, CWnd*)
    : CDialog(IDD_CALC_F), fitData(data), mode(mode0) {}

void CKurvCalcF::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_CALC_INPUT3, input3Edit);
    DDX_Control(exchange, IDC_CALC_RESULT, resultStatic);
    DDX_Control(exchange, IDC_CALC_LABEL3, input3Label);
    DDX_Control(exchange, IDC_CALC_CALCULER, calculerButton);
    DDX_Control(exchange, IDC_CALC_INPUT2, input2Edit);
    DDX_Control(exchange, IDC_CALC_INPUT1, input1Edit);
    DDX_Control(exchange, IDC_CALC_LABEL2, input2Label);
    DDX_Control(exchange, IDC_CALC_LABEL1, input1Label);
    for (int i = 5; i >= 0; --i) DDX_Control(exchange, IDC_CALC_NAME_A + i, coefLabel[i]);
    for (int i = 5; i >= 0; --i) DDX_Control(exchange, IDC_CALC_VALUE_A + i, coefValue[i]);
    for (int i = 0; i < 6; ++i) DDX_Text(exchange, IDC_CALC_VALUE_A + i, coefText[i]);
    DDX_Text(exchange, IDC_CALC_FUNCTION, functionLabel);
    DDX_Text(exchange, IDC_CALC_INPUT1, input1Text);
    DDX_Text(exchange, IDC_CALC_INPUT2, input2Text);
    DDX_Text(exchange, IDC_CALC_INPUT3, input3Text);
    DDX_Text(exchange, IDC_CALC_RESULT, resultText);
    DDX_Text(exchange, IDC_CALC_LABEL1, label1Text);
    DDX_Text(exchange, IDC_CALC_LABEL2, label2Text);
    DDX_Text(exchange, IDC_CALC_LABEL3, label3Text);
}

BOOL CKurvCalcF::OnInitDialog() {
    CDialog::OnInitDialog();
    functionLabel = CString(L"F(X)=") + CString(fitData->function.GetText().c_str());
    ShowCoefficients();

    const ModeTexts& texts = TextsOf(mode);
    CString* labelTexts[] = {&label1Text, &label2Text, &label3Text};
    CString* inputTexts[] = {&input1Text, &input2Text, &input3Text};
    CWnd* labels[] = {&input1Label, &input2Label, &input3Label};
    CWnd* edits[] = {&input1Edit, &input2Edit, &input3Edit};
    for (int i = 0; i < 3; ++i) {
        if (texts.labels[i] != nullptr) {
            *labelTexts[i] = texts.labels[i];
            *inputTexts[i] = L"";
        } else {
            labels[i]->ShowWindow(SW_HIDE);
            edits[i]->ShowWindow(SW_HIDE);
        }
    }
    resultText = L"";
    SetWindowText(texts.caption);
    UpdateData(FALSE);
    CheckInputs();
    return TRUE;
}

void CKurvCalcF::ShowCoefficients() {
    const FunctionDef& function = fitData->function;
    const int n = function.nCoef < 0 ? 0 : (function.nCoef > 6 ? 6 : function.nCoef);
    for (int i = 0; i < 6; ++i) {
        const int show = i < n ? SW_SHOW : SW_HIDE;
        coefLabel[i].ShowWindow(show);
        coefValue[i].ShowWindow(show);
        if (i < n) coefText[i] = Number(function.coef[i]);
    }
    UpdateData(FALSE);
}

int CKurvCalcF::InputsNeeded() const {
    const ModeTexts& texts = TextsOf(mode);
    int count = 0;
    while (count < 3 && texts.labels[count] != nullptr) ++count;
    return count;
}

bool CKurvCalcF::ReadInputs(double* values) const {
    const CString* inputTexts[] = {&input1Text, &input2Text, &input3Text};
    for (int i = 0; i < InputsNeeded(); ++i)
        if (!ReadNumber(*inputTexts[i], values[i])) return false;
    return true;
}

void CKurvCalcF::CheckInputs() {
    UpdateData(TRUE);
    double values[3] = {};
    calculerButton.EnableWindow(ReadInputs(values));
    resultText = L"";
    UpdateData(FALSE);
}

void CKurvCalcF::OnChangeInput() {
    CheckInputs();
}

void CKurvCalcF::OnCalculer() {
    UpdateData(TRUE);
    double in[3] = {};
    if (!ReadInputs(in)) return;
    // Every routine gets an empty message: Newton leaves it untouched on success.
    std::string message;
    CString line;
    switch (TextsOf(mode).mode) {
        case ID_CALC_DERIVATIVE: {
            const double value = DerivativeF(fitData, in[0], message);
            line.Format(L"La dérivée de F en %s est %s", Number(in[0]).GetString(),
                        Number(value).GetString());
            break;
        }
        case ID_CALC_INTEGRAL: {
            const double value = IntegrateSimpson(fitData, in[0], in[1], message);
            line.Format(L"L'intégrale de F de %s à %s est %s", Number(in[0]).GetString(),
                        Number(in[1]).GetString(), Number(value).GetString());
            break;
        }
        case ID_SOLVE_BISECTION: {
            const double x = SolveBisection(fitData, in[0], in[1], in[2], message);
            if (message.empty()) line = SolutionLine(fitData, x);
            break;
        }
        case ID_SOLVE_NEWTON: {
            const double x = SolveNewton(fitData, in[0], in[1], message);
            if (message.empty()) line = SolutionLine(fitData, x);
            break;
        }
        default: {
            const double value = EvaluateFA(fitData, in[0], message);
            line.Format(L"F(%s)=%s", Number(in[0]).GetString(), Number(value).GetString());
            break;
        }
    }
    resultText = message.empty() ? line : CString(NarrowToWide(message).c_str());
    UpdateData(FALSE);
}
