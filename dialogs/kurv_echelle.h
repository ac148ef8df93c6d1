// CKurvEchelle: the graph's scale, automatic or by typed or dragged limits, over a preview.
#pragma once

#include "framework/dialog.h"

struct FitData;

class CKurvEchelle : public CDialog {
  public:
    // Only "Appliquer" writes into the record's scale.
    explicit CKurvEchelle(FitData* data, CWnd* parent = nullptr);

    CButton applyButton;  // 2, the cancel id: Escape and the close box apply
    CEdit yMinEdit;
    CEdit yMaxEdit;
    CEdit xMinEdit;
    CEdit xMaxEdit;
    CButton limitsGroup;
    CStatic yMinLabel;
    CStatic yMaxLabel;
    CStatic xMinLabel;
    CStatic xMaxLabel;
    CButton exitButton;  // 1, "Sortie": closes without applying
    CButton frame;       // 1061: the preview is drawn inside it

    int automatic = 0;
    CString xMaxText;
    CString xMinText;
    CString yMaxText;
    CString yMinText;
    CString readX;
    CString readY;

    FitData* data;

    // Where the left button went down, (0, 0) when no drag runs.
    CPoint anchor;
    // The rubber band, all 0 when there is none.
    CRect band;

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

    afx_msg void OnPaint();
    afx_msg void OnEchelleAuto();
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnAppliquer();
    afx_msg void OnChangeLimit();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);

  public:
    // The preview's plot area in client coordinates, from the frame's place in the dialog.
    CRect PlotRect() const;
    // The limit edits and their labels usable exactly while the scale is not automatic; then
    // EnableApply.
    void UpdateControls(BOOL resetBand);
    // "Appliquer" enabled; with resetBand the band goes and the preview is repainted at once.
    void EnableApply(BOOL resetBand);

  private:
    DECLARE_MESSAGE_MAP()
};
