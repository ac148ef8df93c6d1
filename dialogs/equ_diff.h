// CEquDiff: the form of a differential equation of order 1 to 6 and of its integration into the
// point table.
#pragma once

#include "framework/dialog.h"

struct FitData;

class CEquDiff : public CDialog {
  public:
    // `mode` is the opening command: 220 (first order), 221 (second order) or 222 (order n); any
    // other value behaves as 220. The parent argument is not used: the framework's main window
    // owns the form.
    CEquDiff(FitData* data, int mode, CWnd* parent = nullptr);

    CButton explainButton;
    CEdit shownOrderEdit;
    CStatic orderLabel;
    CEdit orderEdit;
    CEdit pointsEdit;
    CEdit finesseEdit;
    CEdit xEndEdit;
    CEdit equationEdit;
    CEdit xStartEdit;
    CButton okButton;
    CEdit initialEdit[6];  // y .. y(5)
    CStatic rowLabel[5];   // rows y' .. y(5); the row of y is always shown

    CString hintText;
    CString xStartText;
    CString equationText;
    CString xEndText;
    CString finesseText;
    CString equationLabel;
    CString initialText[6];  // y .. y(5)
    CString pointsText;
    CString orderText;
    CString shownOrderText;

    FitData* fitData;
    int mode;

    // Runs the checks in their order; at the first failure OK stays disabled and "?" enabled,
    // and with `showMessages` the failure's text is shown. When all pass, OK is enabled and "?"
    // disabled. Answers whether all passed.
    bool Validate(bool showMessages);

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    // Asks before replacing existing points, integrates, and on success stores the new point
    // table and the equation and ends with IDOK. A failed evaluation is told and the form stays
    // open with nothing stored.
    void OnOK() override;

  private:
    struct Fields;
    // The text of the first failing check, "" when every field is valid; fills `fields` as far
    // as it reads.
    CString FirstFault(Fields& fields) const;
    // The re-reading of OK: each number taken from the start of its text, the rest ignored;
    // false at the first field that does not read or is out of range.
    bool ReadForIntegration(Fields& fields) const;
    // NbPoints, Finesse, XFin, the equation, XDébut, OK, the initial values and Ordre Visualisé
    // enabled or disabled together; "?" the other way.
    void EnableFields(BOOL enable);

    // The rows, labels and enabled fields that follow the order, then the silent validation.
    afx_msg void OnChangeOrdre();
    afx_msg void OnUpdateOrdre();
    afx_msg void OnChangeField();
    // "?": the first fault in a message box.
    afx_msg void OnExplain();

    DECLARE_MESSAGE_MAP()
};
