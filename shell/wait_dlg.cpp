// CWaitDlg: the splash's timer and its end.
#include "shell/wait_dlg.h"

#include "resources/resource_ids.h"

BEGIN_MESSAGE_MAP(CWaitDlg, CDialog)
ON_WM_TIMER()
ON_WM_CLOSE()
END_MESSAGE_MAP()

CWaitDlg::CWaitDlg() : CDialog(IDD_WAIT) {}

BOOL CWaitDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetTimer(WAIT_TIMER_ID, WAIT_TIMER_MS, nullptr);
    return TRUE;
}

void CWaitDlg::OnTimer(UINT_PTR id) {
    if (id == WAIT_TIMER_ID) EndDialog(IDOK);
    Default();
}

void CWaitDlg::OnClose() {
    KillTimer(WAIT_TIMER_ID);
    Default();
}
