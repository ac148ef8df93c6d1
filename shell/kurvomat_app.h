// CKurvomatApp: the application object; start-up, printer set-up, about box and help.
#pragma once

#include "framework/app.h"

class CKurvomatApp : public CWinApp {
  public:
    CKurvomatApp();

    // Help path, profile key, recent files, document template, command line, main window, then
    // the splash. A file on the command line that fails to open leaves a new document; FALSE
    // only when not even that could be made.
    BOOL InitInstance() override;
    BOOL OnIdle(LONG count) override;

  private:
    // Printer set-up that always leaves the application's printer in landscape.
    afx_msg void OnFilePrintSetup();
    afx_msg void OnAppAbout();
    // Opens the ".chm" beside the executable with the desktop's "open" verb.
    afx_msg void OnHelpManual();

    DECLARE_MESSAGE_MAP()
};
