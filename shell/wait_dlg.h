// CWaitDlg: the start-up splash (template 130), which closes itself after three seconds.
#pragma once

#include "framework/dialog.h"

class CWaitDlg : public CDialog {
  public:
    CWaitDlg();

  protected:
    // Starts the splash's timer.
    BOOL OnInitDialog() override;

  private:
    // Only the splash's own timer ends the dialog.
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnClose();

    DECLARE_MESSAGE_MAP()
};
