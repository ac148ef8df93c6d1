// CKurvomatView: the one view; the menu's commands, their enabling rules and the state panes.
#pragma once

#include <string>

#include "framework/doc_view.h"

class CDialog;
class CKurvomatDoc;
struct FitData;

class CKurvomatView : public CView {
    DECLARE_DYNCREATE(CKurvomatView)

  public:
    CKurvomatDoc* GetDocument() const;

    // Panes FCT and COEF from the function, DIST from the fit; then the whole view repaints.
    void RefreshFunctionPanes();
    // Pane PTS from the points, ECH from the scale, DIST from the fit; then the whole view
    // repaints.
    void RefreshPointPanes();

  protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnInitialUpdate() override;
    // The page is painted by OnPaint; the framework's drawing entry stays empty.
    void OnDraw(CDC* dc) override;

    // Printing: no page range and no selection; landscape forced on every job and preview; the
    // page inside margins of 1/20 of the width and 1/30 of the height.
    BOOL OnPreparePrinting(CPrintInfo* info) override;
    void OnBeginPrinting(CDC* dc, CPrintInfo* info) override;
    void OnPrint(CDC* dc, CPrintInfo* info) override;
    void OnEndPrinting(CDC* dc, CPrintInfo* info) override;

  private:
    FitData& Data() const;
    // Lights pane `index` of the frame's status bar, or darkens it.
    void SetPaneLit(int index, bool lit);
    void InvalidateAll();

    // Both fits: wait cursor, DIST, repaint, modified flag, then the result dialog or the error
    // box.
    void RunFit(std::wstring (*fit)(FitData*));

    // What one file command's dialog is built with.
    struct FileDialogSettings {
        BOOL open;
        LPCTSTR defaultExtension;
        LPCTSTR initialName;
        DWORD flags;
        LPCTSTR filter;
        LPCTSTR title;
    };
    // Runs the file dialog; true with the chosen path when the user chose a file.
    bool AskForFile(const FileDialogSettings& settings, CString& path);

    afx_msg void OnPaint();
    afx_msg void OnFilePrint();
    afx_msg void OnFilePrintPreview();

    afx_msg void OnLoadPoints();
    afx_msg void OnSavePoints();
    afx_msg void OnLoadCoef();
    afx_msg void OnSaveCoef();
    afx_msg void OnLoadFunctionCoef();
    afx_msg void OnSaveFunctionCoef();
    afx_msg void OnLoadApplication();
    afx_msg void OnSaveApplicationAs();
    afx_msg void OnExportBitmap();

    afx_msg void OnLeastSquares();
    afx_msg void OnLevenbergMarquardt();

    // The graph window; nothing is refreshed or marked afterwards.
    afx_msg void OnGraphResults();
    // The scale dialog; the panes are refreshed afterwards, the document is not marked (the
    // scale is not stored in the application file).
    afx_msg void OnDefineScale();

    // The calculation dialog on the record, in the command's mode.
    void RunCalculation(int mode);
    // The differential-equation form in the command's mode; the document is marked modified
    // after OK, the point panes refreshed in every case.
    void RunEquation(int mode);
    afx_msg void OnCalcFx();
    afx_msg void OnCalcDerivative();
    afx_msg void OnCalcIntegral();
    afx_msg void OnSolveBisection();
    afx_msg void OnSolveNewton();
    afx_msg void OnOde1();
    afx_msg void OnOde2();
    afx_msg void OnOdeN();

    // Entry dialogs: the document is marked modified only when the dialog answers IDOK; the
    // panes are refreshed whatever it answers.
    afx_msg void OnEnterFunction();
    afx_msg void OnEnterCoef();
    afx_msg void OnEnterTable();
    void RunEntryDialog(CDialog& dialog, void (CKurvomatView::*refresh)());

    afx_msg void OnUpdateFit(CCmdUI* cmdUI);
    afx_msg void OnUpdateEnterCoef(CCmdUI* cmdUI);
    afx_msg void OnUpdateNeedPoints(CCmdUI* cmdUI);
    afx_msg void OnUpdateNeedFunction(CCmdUI* cmdUI);
    afx_msg void OnUpdateSavePoints(CCmdUI* cmdUI);
    afx_msg void OnUpdateLoadPoints(CCmdUI* cmdUI);
    afx_msg void OnUpdateSaveApplication(CCmdUI* cmdUI);
    afx_msg void OnUpdateSaveFunction(CCmdUI* cmdUI);

    DECLARE_MESSAGE_MAP()
};
