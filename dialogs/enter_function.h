// CEnterFunction: the dialog in which the formula y = f(X) is typed.
#pragma once

#include "framework/dialog.h"

struct FitData;

class CEnterFunction : public CDialog {
  public:
    // Starts with the stored formula ("" when none is compiled). The parent argument is not
    // used: the framework's main window owns the dialog.
    explicit CEnterFunction(FitData* data, CWnd* parent = nullptr);

    CButton okButton;
    CString formulaText;
    CString messageText;
    FitData* fitData;

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    // Refuses a text longer than 254 characters, else upper-cases and compiles it: closes with
    // IDOK when it compiled (a new text clears the fit flag), otherwise shows the error and
    // stays open with the document's function as it was.
    void OnOK() override;
    // Cancel, Escape and the close box end with 0, not IDCANCEL.
    void OnCancel() override;

  private:
    // Keeps formulaText equal to the edit at every keystroke.
    afx_msg void OnChangeFormula();

    DECLARE_MESSAGE_MAP()
};
