// CKurvResult: texts of the fit result and the shrinking of the dialog to the used rows.
#include "dialogs/kurv_result.h"

#include "common/text_conversion.h"
#include "fitdata/fit_data.h"
#include "fitdata/number_format.h"
#include "resources/resource_ids.h"

namespace {

// Height of one coefficient row of the template, in pixels.
constexpr int kRowPixels = 22;
// Subtracted from the vertical position only: the owner's caption bar as the layout assumes it.
constexpr int kCaptionAllowance = 24;

// Moves `control` vertically by `shift`, keeping its size, in the coordinates of `dialog`.
void MoveBy(CWnd& control, const CRect& dialogRect, int shift) {
    CRect rect;
    control.GetWindowRect(&rect);
    control.MoveWindow(rect.left - dialogRect.left,
                       rect.top + shift - dialogRect.top - kCaptionAllowance, rect.Width(),
                       rect.Height(), TRUE);
}

}  // namespace

CString MakeDistanceText(const CString& number) {
    return CString(L"La distance euclidienne est ") + number;
}

BEGIN_MESSAGE_MAP(CKurvResult, CDialog)
END_MESSAGE_MAP()

CKurvResult::CKurvResult(FitData* data, const CString& title, CWnd* parent)
    : CDialog(IDD_RESULT, parent), titleText(title), fitData(data) {}

void CKurvResult::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_RESULT_DISTANCE, distanceLine);
    DDX_Control(exchange, IDC_RESULT_FORMULA, formulaLine);
    DDX_Control(exchange, IDOK, okButton);
    for (int i = 5; i >= 0; --i) DDX_Control(exchange, IDC_RESULT_NAME_A + i, nameLabel[i]);
    for (int i = 5; i >= 0; --i) DDX_Control(exchange, IDC_RESULT_STATE_A + i, stateLabel[i]);
    for (int i = 5; i >= 0; --i) DDX_Control(exchange, IDC_RESULT_VALUE_A + i, valueLabel[i]);
    for (int i = 0; i < 6; ++i) DDX_Text(exchange, IDC_RESULT_VALUE_A + i, valueText[i]);
    for (int i = 0; i < 6; ++i) DDX_Text(exchange, IDC_RESULT_STATE_A + i, stateText[i]);
    DDX_Text(exchange, IDC_RESULT_FORMULA, formulaText);
    DDX_Text(exchange, IDC_RESULT_DISTANCE, distanceText);
    DDX_Text(exchange, IDC_RESULT_TITLE, titleText);
}

BOOL CKurvResult::OnInitDialog() {
    CDialog::OnInitDialog();
    formulaText = CString(L"F(X)=") + CString(fitData->function.GetText());
    const double distance = fitData->fitDone ? fitData->fitDistance : -1.0;
    distanceText = MakeDistanceText(CString(NarrowToWide(FormatNumberA(1, distance))));
    ShowCoefficients();
    return TRUE;
}

void CKurvResult::ShowCoefficients() {
    const FunctionDef& function = fitData->function;
    // nCoef is 1..6 for a compiled function; the bounds keep any other count inside the rows.
    const int n = function.nCoef < 0 ? 0 : (function.nCoef > 6 ? 6 : function.nCoef);
    double values[6] = {};
    int fixed[6] = {};
    for (int i = 0; i < n; ++i) {
        values[i] = function.coef[i];
        fixed[i] = function.coefFixed[i];
    }

    CWnd* owner = GetParent();
    if (owner == nullptr) owner = GetOwner();
    if (owner == nullptr) owner = GetDesktopWindow();
    CRect ownerRect;
    owner->GetWindowRect(&ownerRect);
    CRect dialogRect;
    GetWindowRect(&dialogRect);
    const int shift = (n - 6) * kRowPixels;

    MoveBy(okButton, dialogRect, shift);
    MoveBy(distanceLine, dialogRect, shift);

    const int width = dialogRect.Width();
    const int height = dialogRect.Height() + shift;
    MoveWindow((ownerRect.left + ownerRect.right - width) / 2,
               (ownerRect.top + ownerRect.bottom - height) / 2, width, height, TRUE);

    for (int i = 0; i < 6; ++i) {
        const int show = i < n ? SW_SHOW : SW_HIDE;
        nameLabel[i].ShowWindow(show);
        valueLabel[i].ShowWindow(show);
        stateLabel[i].ShowWindow(show);
    }
    for (int i = 0; i < n; ++i) {
        valueText[i] = FormatNumber(values[i]);
        stateText[i] = fixed[i] ? L"Fixe" : L"Ajuste";
    }
    UpdateData(FALSE);
}
