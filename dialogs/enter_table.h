// CEnterTable: the dialog in which the point table is entered and edited, on a private copy.
#pragma once

#include "fitdata/fit_data.h"
#include "framework/dialog.h"

class CEnterTable : public CDialog {
  public:
    // The copy is filled when the dialog opens. The parent argument is not used: the
    // framework's main window owns the dialog.
    explicit CEnterTable(FitData* data, CWnd* parent = nullptr);

    CButton modifyButton;
    CButton okButton;
    CListBox list;
    CButton deleteButton;
    CButton logYButton;
    CButton logXButton;
    CButton swapAllButton;
    CButton swapPointButton;
    CButton insertButton;
    CButton expYButton;
    CButton expXButton;
    CButton clearButton;
    CString countText;  // label 1033: blank, never set after construction
    FitData* fitData;
    int nPoints = 0;
    double pointX[MAX_POINTS] = {};
    double pointY[MAX_POINTS] = {};

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    // Commits the copy; a table that differs from the document's clears the fit flag.
    void OnOK() override;
    // Cancel, Escape and the close box end with 0, not IDCANCEL; the copy is dropped.
    void OnCancel() override;

  private:
    // The enabling: everything but Insérer and Cancel follows whether there are rows; Insérer
    // while the copy has room; the selection buttons whether a row is selected.
    void UpdateButtons();
    // Tab stops that put the row number, X and Y in three columns with a gap, wide enough for
    // the widest text each can hold in the dialog's font.
    void SetColumnStops();
    // "%3d\t<X>\t<Y>" of point k.
    CString RowText(int k) const;
    // Row k rewritten in place.
    void ReplaceRow(int k);
    // The selected row when it stands for a point, else -1.
    int SelectedPoint() const;
    // A transformation of every value of `values`, refused as a whole when one of them meets
    // `refused`; the selection is kept.
    void Transform(double* values, bool (*refused)(double), double (*f)(double));

    afx_msg void OnInserer();
    afx_msg void OnModifier();
    afx_msg void OnSupprimer();
    afx_msg void OnEffacer();
    afx_msg void OnLogX();
    afx_msg void OnLogY();
    afx_msg void OnExpX();
    afx_msg void OnExpY();
    afx_msg void OnSwapPoint();
    afx_msg void OnSwapAll();
    afx_msg void OnSelChangeList();
    afx_msg void OnSelCancelList();
    afx_msg void OnDblClkList();

    DECLARE_MESSAGE_MAP()
};
