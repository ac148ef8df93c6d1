// CAboutDlg: template 100 and the framework's own OK.
#include "shell/about_dlg.h"

#include "resources/resource_ids.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
