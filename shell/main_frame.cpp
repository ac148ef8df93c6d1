// CMainFrame: creation of the status bar and its indicators.
#include "shell/main_frame.h"

#include "resources/resource_ids.h"

namespace {

// Message pane, the five state panes, then the keyboard indicators kept by the framework.
const UINT kIndicators[] = {
    ID_SEPARATOR,     ID_INDICATOR_PTS,  ID_INDICATOR_FCT, ID_INDICATOR_COEF, ID_INDICATOR_DIST,
    ID_INDICATOR_ECH, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL,
};

}  // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    return CFrameWnd::PreCreateWindow(cs) ? TRUE : FALSE;
}

int CMainFrame::OnCreate(CREATESTRUCT* cs) {
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    if (!statusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR)) return -1;
    if (!statusBar.SetIndicators(kIndicators, sizeof(kIndicators) / sizeof(kIndicators[0])))
        return -1;
    for (int pane : {2, 3, 1, 4, 5}) statusBar.SetPaneStyle(pane, SBPS_DISABLED);
    return 0;
}
