// CAboutDlg: the about box (template 100), closed by its OK button.
#pragma once

#include "framework/dialog.h"

class CAboutDlg : public CDialog {
  public:
    CAboutDlg();

  private:
    DECLARE_MESSAGE_MAP()
};
