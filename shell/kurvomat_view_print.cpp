// CKurvomatView: painting the results page in the window and printing it on one landscape page.
#include "drawing/my_draw_cdc.h"
#include "fitdata/fit_data.h"
#include "framework/common_dialogs.h"
#include "plot/results_page.h"
#include "shell/kurvomat_doc.h"
#include "shell/kurvomat_view.h"

void CKurvomatView::OnPaint() {
    CPaintDC dc(this);
    CMyDrawCDC draw(&dc);
    // The whole window rectangle, border included, over 31/32 of its height.
    CRect window;
    GetWindowRect(&window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    DrawResultsPage(0, width, 0, height * 31 / 32, &Data(), &draw, 1);
}

void CKurvomatView::OnFilePrint() {
    CView::OnFilePrint();
}

void CKurvomatView::OnFilePrintPreview() {
    CView::OnFilePrintPreview();
}

BOOL CKurvomatView::OnPreparePrinting(CPrintInfo* info) {
    info->m_pPD->m_pd.Flags |= PD_NOSELECTION | PD_NOPAGENUMS;
    return DoPreparePrinting(info);
}

void CKurvomatView::OnBeginPrinting(CDC* dc, CPrintInfo* info) {
    DEVMODE* mode = info->m_pPD->GetDevMode();
    if (mode == nullptr) return;
    mode->dmFields |= DM_ORIENTATION;
    mode->dmOrientation = DMORIENT_LANDSCAPE;
    dc->ResetDC(mode);
    GlobalUnlock(info->m_pPD->m_pd.hDevMode);
}

void CKurvomatView::OnPrint(CDC* dc, CPrintInfo* info) {
    const CRect& page = info->m_rectDraw;
    const int marginX = (page.right - page.left) / 20;
    const int marginY = (page.bottom - page.top) / 30;
    const int left = page.left + marginX;
    const int right = page.right - marginX;
    const int top = page.top + marginY;
    const int bottom = page.bottom - marginY;
    CMyDrawCDC draw(dc);
    DrawResultsPage(left, right, top, bottom, &Data(), &draw, (right - left) / 1000);
    CView::OnPrint(dc, info);
}

void CKurvomatView::OnEndPrinting(CDC*, CPrintInfo*) {}
