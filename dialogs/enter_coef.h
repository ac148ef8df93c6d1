// CEnterCoef: the dialog in which the values of A..F are set and each is marked fixed or not.
#pragma once

#include "framework/dialog.h"

struct FitData;

class CEnterCoef : public CDialog {
  public:
    // The parent argument is not used: the framework's main window owns the dialog.
    explicit CEnterCoef(FitData* data, CWnd* parent = nullptr);

    CStatic nameLabel[6];  // A= .. F=
    CButton fixedBox[6];   // Fixe, A .. F
    CEdit valueEdit[6];    // A .. F
    CString valueText[6];
    int fixed[6];  // 0 clear, 1 ticked
    CString functionLabel;
    FitData* fitData;

    // Shows the rows of the coefficients the formula uses, filled from the record, and hides
    // the others.
    void ShowCoefficients();

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    // Stores the used rows when every one of them reads as a number (a row left as shown keeps
    // the stored value exactly); a change clears the fit flag. Otherwise stays open silently.
    void OnOK() override;
    // Cancel, Escape and the close box end with 0, not IDCANCEL.
    void OnCancel() override;

  private:
    // Every used row back to 0 and not fixed, on screen only.
    afx_msg void OnRaz();

    // Rows shown: nCoef bounded to the six rows.
    int RowsInUse() const;

    // What ShowCoefficients put on screen, to tell the rows the user left alone.
    CString shownText_[6];
    int shownFixed_[6] = {};

    DECLARE_MESSAGE_MAP()
};
