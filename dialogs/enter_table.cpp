// CEnterTable: the copy of the table, its rows, the buttons' states and the operations on points.
#include "dialogs/enter_table.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "dialogs/enter_point.h"
#include "fitdata/number_format.h"
#include "framework/dc.h"
#include "resources/resource_ids.h"

namespace {

// Above this the exponential is refused: far below a double's overflow, as the table expects.
constexpr double kMaxExpArgument = 227.0;

// Space between the list's columns, in dialog units.
constexpr int kColumnGap = 6;

// Values that take every form of the number format, each in its longest text.
constexpr double kLongestForms[] = {888888.888888,
                                    -88888.888888,
                                    8.888888e+288,
                                    8.888888e-288,
                                    -8.88888e+288,
                                    -8.88888e-288,
                                    -std::numeric_limits<double>::infinity(),
                                    std::numeric_limits<double>::quiet_NaN()};

// `text` with every digit replaced by `digit`.
std::wstring WithDigit(std::wstring text, wchar_t digit) {
    for (wchar_t& c : text)
        if (c >= L'0' && c <= L'9') c = digit;
    return text;
}

bool NotPositive(double v) {
    return v <= 0.0;
}
bool TooLargeForExp(double v) {
    return v > kMaxExpArgument;
}
double NaturalLog(double v) {
    return std::log(v);
}
double Exponential(double v) {
    return std::exp(v);
}

}  // namespace

BEGIN_MESSAGE_MAP(CEnterTable, CDialog)
ON_BN_CLICKED(IDC_TABLE_INSERT, &CEnterTable::OnInserer)
ON_BN_CLICKED(IDC_TABLE_MODIFY, &CEnterTable::OnModifier)
ON_BN_CLICKED(IDC_TABLE_DELETE, &CEnterTable::OnSupprimer)
ON_BN_CLICKED(IDC_TABLE_CLEAR, &CEnterTable::OnEffacer)
ON_BN_CLICKED(IDC_TABLE_LOG_X, &CEnterTable::OnLogX)
ON_BN_CLICKED(IDC_TABLE_LOG_Y, &CEnterTable::OnLogY)
ON_BN_CLICKED(IDC_TABLE_EXP_X, &CEnterTable::OnExpX)
ON_BN_CLICKED(IDC_TABLE_EXP_Y, &CEnterTable::OnExpY)
ON_BN_CLICKED(IDC_TABLE_SWAP_POINT, &CEnterTable::OnSwapPoint)
ON_BN_CLICKED(IDC_TABLE_SWAP_ALL, &CEnterTable::OnSwapAll)
ON_LBN_SELCHANGE(IDC_TABLE_LIST, &CEnterTable::OnSelChangeList)
ON_LBN_SELCANCEL(IDC_TABLE_LIST, &CEnterTable::OnSelCancelList)
ON_LBN_DBLCLK(IDC_TABLE_LIST, &CEnterTable::OnDblClkList)
END_MESSAGE_MAP()

CEnterTable::CEnterTable(FitData* data, CWnd*) : CDialog(IDD_ENTER_TABLE), fitData(data) {}

void CEnterTable::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_TABLE_MODIFY, modifyButton);
    DDX_Control(exchange, IDOK, okButton);
    DDX_Control(exchange, IDC_TABLE_LIST, list);
    DDX_Control(exchange, IDC_TABLE_DELETE, deleteButton);
    DDX_Control(exchange, IDC_TABLE_LOG_Y, logYButton);
    DDX_Control(exchange, IDC_TABLE_LOG_X, logXButton);
    DDX_Control(exchange, IDC_TABLE_SWAP_ALL, swapAllButton);
    DDX_Control(exchange, IDC_TABLE_SWAP_POINT, swapPointButton);
    DDX_Control(exchange, IDC_TABLE_INSERT, insertButton);
    DDX_Control(exchange, IDC_TABLE_EXP_Y, expYButton);
    DDX_Control(exchange, IDC_TABLE_EXP_X, expXButton);
    DDX_Control(exchange, IDC_TABLE_CLEAR, clearButton);
    DDX_Text(exchange, IDC_TABLE_COUNT, countText);
}

BOOL CEnterTable::OnInitDialog() {
    CDialog::OnInitDialog();
    // A stale count behind a cleared flag is ignored; the copy never takes more than it holds.
    nPoints =
        fitData->hasPoints ? std::clamp(static_cast<int>(fitData->nPoints), 0, MAX_POINTS) : 0;
    std::copy(fitData->pointX, fitData->pointX + nPoints, pointX);
    std::copy(fitData->pointY, fitData->pointY + nPoints, pointY);
    SetColumnStops();
    list.ResetContent();
    for (int k = 0; k < nPoints; ++k) list.AddString(RowText(k));
    UpdateData(FALSE);
    UpdateButtons();
    return TRUE;
}

CString CEnterTable::RowText(int k) const {
    CString row;
    row.Format(L"%3d\t%s\t%s", k + 1, FormatNumber(pointX[k]).c_str(),
               FormatNumber(pointY[k]).c_str());
    return row;
}

void CEnterTable::ReplaceRow(int k) {
    list.DeleteString(static_cast<UINT>(k));
    list.InsertString(k, RowText(k));
}

void CEnterTable::SetColumnStops() {
    CDC dc;
    // The widest text a column can hold: every digit in it the widest digit of the font.
    wchar_t widestDigit = L'0';
    for (wchar_t digit = L'1'; digit <= L'9'; ++digit)
        if (dc.GetTextExtent(CString(digit)).cx > dc.GetTextExtent(CString(widestDigit)).cx)
            widestDigit = digit;
    const auto width = [&dc, widestDigit](const std::wstring& text) {
        return dc.GetTextExtent(CString(WithDigit(text, widestDigit))).cx;
    };
    CString lastNumber;
    lastNumber.Format(L"%3d", MAX_POINTS);
    int numberWidth = 0;
    for (double value : kLongestForms)
        numberWidth = std::max(numberWidth, width(FormatNumber(value)));

    CRect fourUnits(0, 0, 4, 0);
    MapDialogRect(&fourUnits);
    const auto units = [&fourUnits](int pixels) {
        return (pixels * 4 + fourUnits.Width() - 1) / fourUnits.Width();
    };
    const int xStop = units(width(lastNumber.str())) + kColumnGap;
    int stops[] = {xStop, xStop + units(numberWidth) + kColumnGap};
    list.SetTabStops(2, stops);
}

int CEnterTable::SelectedPoint() const {
    const int k = list.GetCurSel();
    return k >= 0 && k < nPoints ? k : -1;
}

void CEnterTable::UpdateButtons() {
    UpdateData(TRUE);
    const BOOL rows = list.GetCount() > 0;
    CWnd* const followRows[] = {&okButton,   &list,       &logXButton,    &logYButton,
                                &expXButton, &expYButton, &swapAllButton, &clearButton};
    for (CWnd* control : followRows) control->EnableWindow(rows);
    // A full copy has no room for another point.
    insertButton.EnableWindow(nPoints < MAX_POINTS);
    // The row commands follow the selection the list shows (a row stays selected after Insérer).
    const BOOL selected = SelectedPoint() >= 0;
    modifyButton.EnableWindow(selected);
    deleteButton.EnableWindow(selected);
    swapPointButton.EnableWindow(selected);
    UpdateData(FALSE);
}

void CEnterTable::OnSelChangeList() {
    UpdateButtons();
    modifyButton.EnableWindow(TRUE);
    deleteButton.EnableWindow(TRUE);
    swapPointButton.EnableWindow(TRUE);
    insertButton.EnableWindow(nPoints < MAX_POINTS);
    UpdateData(FALSE);
}

void CEnterTable::OnSelCancelList() {
    UpdateButtons();
}

void CEnterTable::OnDblClkList() {
    OnModifier();
}

void CEnterTable::OnInserer() {
    if (nPoints >= MAX_POINTS) return;
    CEnterPoint point(0.0, 0.0, nPoints + 1, 0);
    if (point.DoModal() != IDOK) return;
    pointX[nPoints] = point.x;
    pointY[nPoints] = point.y;
    ++nPoints;
    list.AddString(RowText(nPoints - 1));
    UpdateButtons();
}

void CEnterTable::OnModifier() {
    const int k = SelectedPoint();
    if (k < 0) return;
    CEnterPoint point(pointX[k], pointY[k], k + 1, 1);
    if (point.DoModal() != IDOK) return;
    pointX[k] = point.x;
    pointY[k] = point.y;
    ReplaceRow(k);
    list.SetCurSel(k);
}

void CEnterTable::OnSupprimer() {
    const int k = SelectedPoint();
    if (k < 0) return;
    CString question;
    question.Format(L"%d (x=%s, y=%s)", k + 1, FormatNumber(pointX[k]).c_str(),
                    FormatNumber(pointY[k]).c_str());
    question = CString(L"Voulez vous réellement effacer le point ") + question + L" ?";
    if (MessageBox(question, nullptr, MB_YESNO) != IDYES) return;
    --nPoints;
    list.DeleteString(static_cast<UINT>(k));
    // Every later point moves up one place and takes its new number.
    for (int i = k; i < nPoints; ++i) {
        pointX[i] = pointX[i + 1];
        pointY[i] = pointY[i + 1];
        list.InsertString(i, RowText(i));
        list.DeleteString(static_cast<UINT>(i + 1));
    }
    list.SetCurSel(-1);
    UpdateButtons();
}

void CEnterTable::OnEffacer() {
    if (MessageBox(L"Voulez vous réellement effacer tous les points ?", nullptr, MB_YESNO) != IDYES)
        return;
    nPoints = 0;
    list.ResetContent();
    UpdateButtons();
}

void CEnterTable::Transform(double* values, bool (*refused)(double), double (*f)(double)) {
    if (std::any_of(values, values + nPoints, refused)) return;
    const int selected = list.GetCurSel();
    for (int i = 0; i < nPoints; ++i) {
        values[i] = f(values[i]);
        ReplaceRow(i);
    }
    list.SetCurSel(selected);
}

void CEnterTable::OnLogX() {
    Transform(pointX, &NotPositive, &NaturalLog);
}

void CEnterTable::OnLogY() {
    Transform(pointY, &NotPositive, &NaturalLog);
}

void CEnterTable::OnExpX() {
    Transform(pointX, &TooLargeForExp, &Exponential);
}

void CEnterTable::OnExpY() {
    Transform(pointY, &TooLargeForExp, &Exponential);
}

void CEnterTable::OnSwapAll() {
    const int selected = list.GetCurSel();
    for (int i = 0; i < nPoints; ++i) {
        std::swap(pointX[i], pointY[i]);
        ReplaceRow(i);
    }
    list.SetCurSel(selected);
}

void CEnterTable::OnSwapPoint() {
    const int k = SelectedPoint();
    if (k < 0) return;
    std::swap(pointX[k], pointY[k]);
    ReplaceRow(k);
    list.SetCurSel(k);
}

void CEnterTable::OnOK() {
    if (fitData->SetPoints(nPoints, pointX, pointY) > 0) fitData->fitDone = 0;
    EndDialog(IDOK);
}

void CEnterTable::OnCancel() {
    EndDialog(0);
}
