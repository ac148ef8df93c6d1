// CKurvomatApp: start-up and the four commands the application object answers.
#include "shell/kurvomat_app.h"

#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "common/text_conversion.h"
#include "framework/app.h"
#include "framework/common_dialogs.h"
#include "framework/doc_view.h"
#include "resources/kurvomat_resources.h"
#include "resources/resource_ids.h"
#include "shell/about_dlg.h"
#include "shell/kurvomat_doc.h"
#include "shell/kurvomat_view.h"
#include "shell/main_frame.h"
#include "shell/wait_dlg.h"

namespace {

// Forces landscape on the dialog's device mode, when there is one (no printer: nothing to do).
void ForceLandscape(CPrintDialog& dialog) {
    DEVMODE* mode = dialog.GetDevMode();
    if (mode == nullptr) return;
    mode->dmFields |= DM_ORIENTATION;
    mode->dmOrientation = DMORIENT_LANDSCAPE;
    GlobalUnlock(dialog.m_pd.hDevMode);
}

}  // namespace

BEGIN_MESSAGE_MAP(CKurvomatApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, &CKurvomatApp::OnAppAbout)
ON_COMMAND(ID_FILE_PRINT_SETUP, &CKurvomatApp::OnFilePrintSetup)
ON_COMMAND(ID_HELP_MANUAL, &CKurvomatApp::OnHelpManual)
ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
END_MESSAGE_MAP()

CKurvomatApp::CKurvomatApp() {
    AfxSetResources(&KurvomatResources());
}

BOOL CKurvomatApp::InitInstance() {
    // The framework names the help file after the executable with ".HLP"; ours is compiled HTML.
    CString helpPath(m_pszHelpFilePath);
    helpPath.Replace(L".HLP", L".chm");
    free(const_cast<wchar_t*>(m_pszHelpFilePath));
    m_pszHelpFilePath = wcsdup(helpPath);

    SetRegistryKey(L"Z-W");
    LoadStdProfileSettings(4);

    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CKurvomatDoc),
                                          RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CKurvomatView)));

    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    if (!ProcessShellCommand(commandLine)) {
        // A file named on the command line that failed to open has said why; the program starts
        // with a new document instead, as without a file.
        if (commandLine.m_nShellCommand != CCommandLineInfo::FileOpen) return FALSE;
        commandLine.m_nShellCommand = CCommandLineInfo::FileNew;
        if (!ProcessShellCommand(commandLine)) return FALSE;
    }

    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();

    CWaitDlg splash;
    splash.DoModal();
    return TRUE;
}

BOOL CKurvomatApp::OnIdle(LONG count) {
    return CWinApp::OnIdle(count);
}

void CKurvomatApp::OnFilePrintSetup() {
    CPrintDialog dialog(
        TRUE,
        PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE | PD_NOSELECTION,
        nullptr);
    UpdatePrinterSelection(FALSE);
    dialog.m_pd.hDevMode = m_hDevMode;
    dialog.m_pd.hDevNames = m_hDevNames;
    ForceLandscape(dialog);
    DoPrintDialog(&dialog);
    ForceLandscape(dialog);
}

void CKurvomatApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}

void CKurvomatApp::OnHelpManual() {
    // Built piece by piece: GCC 12 warns falsely (-Wrestrict) on "\"" + std::string.
    std::string file(1, '"');
    file += WideToNarrow(m_pszHelpFilePath);
    file += '"';
    // Values above 32 tell that a program opened the file.
    const auto answer = reinterpret_cast<std::uintptr_t>(
        ShellExecuteA(nullptr, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (answer <= 32) {
        const std::wstring text =
            L"Impossible d'ouvrir le fichier d'aide " + std::wstring(m_pszHelpFilePath);
        AfxMessageBox(text.c_str(), MB_OK | MB_ICONINFORMATION);
    }
}
