// CDialog with its modal loop, the controls (CButton, CEdit, CStatic, CListBox) and data exchange.
#pragma once

#include "framework/wnd.h"

// A modal dialog built from a dialog template of the application's resources.
//
// DoModal creates the window and its controls from the template (dialog units: one horizontal
// unit 6/4 pixel, one vertical unit 13/8 pixel), disables the owner (the main window when no
// parent is given), sends WM_INITDIALOG (OnInitDialog), runs the modal loop until EndDialog and
// answers the value EndDialog got. The focus goes to the first tab stop when OnInitDialog
// answers TRUE, and stays where OnInitDialog put it when it answers FALSE. Enter or Space
// presses the focused push button; Enter elsewhere sends the default push button's command
// (IDOK when the template has none; nothing when that button is disabled); Tab and Shift+Tab
// move the focus over the tab stops; Escape and the close box send IDCANCEL. The base OnOK runs
// UpdateData(TRUE) and EndDialog(IDOK); the base OnCancel EndDialog(IDCANCEL).
class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
  public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    void EndDialog(int result);
    virtual BOOL OnInitDialog();
    // Focus to `control` as Tab gives it: an edit's whole text is selected.
    void GotoDlgCtrl(CWnd* control);
    // Dialog units to pixels.
    void MapDialogRect(LPRECT rect) const;

    UINT m_nIDHelp = 0;
    UINT m_nTemplateId = 0;
    CWnd* m_pParentWnd = nullptr;

    // Framework-only: true once EndDialog ran in the current modal loop.
    bool ModalEnded() const { return ended_; }

  protected:
    virtual void OnOK();
    virtual void OnCancel();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

  private:
    bool ended_ = false;
    int result_ = 0;
};

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
  public:
    int GetCheck() const;
    void SetCheck(int check);
    UINT GetButtonStyle() const;
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
  public:
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    // Replaces the selection by `text` as typing would (one change, with notifications).
    void ReplaceSel(LPCTSTR text, BOOL canUndo = FALSE);
};

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
};

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
  public:
    // Answers the index of the new row, or LB_ERR.
    int AddString(LPCTSTR text);
    // Inserts before row `index` (-1: at the end); answers the index, or LB_ERR.
    int InsertString(int index, LPCTSTR text);
    // Answers the count of rows left, or LB_ERR for a row that does not exist.
    int DeleteString(UINT index);
    void ResetContent();
    // The selected row, or LB_ERR (-1) when none.
    int GetCurSel() const;
    // -1 clears the selection; answers LB_ERR for -1 or a row that does not exist.
    int SetCurSel(int index);
    int GetCount() const;
    int GetText(int index, CString& text) const;
    int GetTextLen(int index) const;
    // Tab stops in dialog units of a list with LBS_USETABSTOPS (FALSE without the style): none
    // (every 32 units), one (every multiple of it), or several in turn.
    BOOL SetTabStops();
    BOOL SetTabStops(const int& eachStop);
    BOOL SetTabStops(int count, const int* stops);
};

// State of one UpdateData run.
class CDataExchange {
  public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    // The control `id` of the dialog; a missing control is a programming error.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id) { return PrepareCtrl(id); }
    void Fail();
    bool failed = false;
};

// Text of control `id` <-> value.
void DDX_Text(CDataExchange* pDX, int id, CString& value);
// Check state of check box `id` <-> value (0 clear, 1 ticked, 2 indeterminate).
void DDX_Check(CDataExchange* pDX, int id, int& value);
// Attaches `control` to control `id` the first time (the object then stands for the control).
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
