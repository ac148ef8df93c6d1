// CKurvGraph: the results page as large as the screen, with the X and Y values under the pointer.
#pragma once

#include "framework/dialog.h"

struct FitData;

class CKurvGraph : public CDialog {
  public:
    // The record is only read (the automatic scale may be recomputed by the drawing).
    explicit CKurvGraph(FitData* data, CWnd* parent = nullptr);

    CStatic yReadOut;  // 1103
    CStatic xReadOut;  // 1102
    CButton okButton;
    CButton frame;  // 1061: the page is drawn over it

    CString textX;
    CString textY;

    FitData* data;

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

    // Fits the dialog and its controls to the desktop, then draws the page over the frame.
    afx_msg void OnPaint();
    // The read-outs show the values under the pointer inside the plot area, nothing elsewhere.
    afx_msg void OnMouseMove(UINT flags, CPoint point);

  private:
    DECLARE_MESSAGE_MAP()
};
