// CEnterPoint: starting texts, caption, the OK button's rule and the reading of the two numbers.
#include "dialogs/enter_point.h"

#include <cwchar>

#include "dialogs/number_text.h"
#include "fitdata/number_format.h"
#include "resources/resource_ids.h"

BEGIN_MESSAGE_MAP(CEnterPoint, CDialog)
ON_EN_CHANGE(IDC_POINT_X, &CEnterPoint::OnChangeX)
ON_EN_UPDATE(IDC_POINT_X, &CEnterPoint::OnChangeX)
ON_EN_CHANGE(IDC_POINT_Y, &CEnterPoint::OnChangeY)
ON_EN_UPDATE(IDC_POINT_Y, &CEnterPoint::OnChangeY)
END_MESSAGE_MAP()

CEnterPoint::CEnterPoint(double x0, double y0, int number0, int modify0, CWnd*)
    : CDialog(IDD_ENTER_POINT), x(x0), y(y0), number(number0), modify(modify0) {}

void CEnterPoint::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDOK, okButton);
    DDX_Text(exchange, IDC_POINT_X, xText);
    DDX_Text(exchange, IDC_POINT_Y, yText);
}

BOOL CEnterPoint::OnInitDialog() {
    CDialog::OnInitDialog();
    xText = FormatNumber(x);
    yText = FormatNumber(y);
    shownX_ = xText;
    shownY_ = yText;
    CString caption;
    caption.Format(L"%s %s %d", modify ? L"Modification" : L"Entrée", L"du point", number);
    SetWindowText(caption);
    UpdateData(FALSE);
    return TRUE;
}

void CEnterPoint::OnChangeX() {
    UpdateData(TRUE);
    double value = 0.0;
    okButton.EnableWindow(ReadNumber(xText, value));
}

void CEnterPoint::OnChangeY() {
    UpdateData(TRUE);
    double value = 0.0;
    okButton.EnableWindow(ReadNumber(yText, value));
}

void CEnterPoint::OnOK() {
    UpdateData(TRUE);
    // A field still showing its starting text keeps the starting value: reading back the
    // digits shown would round the point (12345678.9 shows as 1.234568e+07).
    double readX = x;
    double readY = y;
    if (xText != shownX_ && !ReadNumber(xText, readX)) return;
    if (yText != shownY_ && !ReadNumber(yText, readY)) return;
    x = readX;
    y = readY;
    EndDialog(IDOK);
}

void CEnterPoint::OnCancel() {
    EndDialog(0);
}
