// CMainFrame: the main window, with the status bar of the five state panes.
#pragma once

#include "framework/frame.h"

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)

  public:
    // Reached by the view, which lights and darkens the state panes 1 to 5.
    CStatusBar statusBar;

  protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  private:
    // Creates the status bar with its nine indicators, the five state panes dark; -1 on failure.
    afx_msg int OnCreate(CREATESTRUCT* cs);

    DECLARE_MESSAGE_MAP()
};
