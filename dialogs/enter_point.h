// CEnterPoint: the dialog in which the X and Y of one point are typed.
#pragma once

#include "framework/dialog.h"

class CEnterPoint : public CDialog {
  public:
    // `number` is the 1-based number of the point shown in the caption; `modify` 0 for a new
    // point, nonzero for an existing one. The parent argument is not used: the framework's main
    // window owns the dialog.
    CEnterPoint(double x, double y, int number, int modify, CWnd* parent = nullptr);

    CButton okButton;
    CString xText;
    CString yText;
    double x;  // in: the starting abscissa; out, after IDOK: the abscissa read
    double y;  // in: the starting ordinate; out, after IDOK: the ordinate read
    int number;
    int modify;

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    // Closes with IDOK only when both fields read as numbers; otherwise stays open silently. A
    // field left as shown keeps its starting value to the last bit.
    void OnOK() override;
    // Cancel, Escape and the close box end with 0, not IDCANCEL.
    void OnCancel() override;

  private:
    // OK follows the field that changed: enabled when it reads as a number.
    afx_msg void OnChangeX();
    afx_msg void OnChangeY();

    // The texts the fields started with.
    CString shownX_;
    CString shownY_;

    DECLARE_MESSAGE_MAP()
};
