// CWnd: a window of the framework's window tree, its messages and its services.
#pragma once

#include "framework/cmd_target.h"
#include "framework/cstring.h"
#include "framework/types.h"

class CDataExchange;
class CFrameWnd;
struct CCreateContext;

// Regions are only ever passed as "no region" (the whole window).
class CRgn {};

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
  public:
    HWND m_hWnd = nullptr;

    CWnd();
    ~CWnd() override;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object attached to the window, or a framework-owned stand-in for a window no object
    // is attached to (a dialog's control that no DDX_Control bound); nullptr for no window.
    static CWnd* FromHandle(HWND hwnd);
    // The desktop: its window rectangle is the screen.
    static CWnd* GetDesktopWindow();

    BOOL Attach(HWND hwnd);
    HWND Detach();
    BOOL SubclassDlgItem(UINT id, CWnd* parent);

    // Creates a child or top-level window of the framework's tree; sends WM_CREATE.
    virtual BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, CCreateContext* context = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id, CCreateContext* context = nullptr);
    virtual BOOL DestroyWindow();

    void SetWindowText(LPCTSTR text);
    void GetWindowText(CString& text) const;
    int GetWindowText(LPTSTR buffer, int maxCount) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int id, LPCTSTR text);
    int GetDlgItemText(int id, CString& text) const;
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;

    // Answers whether the window was disabled before.
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    // Answers whether the window was visible before.
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;

    // Position in the parent's client coordinates (screen coordinates for a top-level window).
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    // Screen coordinates, frame and border included.
    void GetWindowRect(LPRECT rect) const;
    void GetClientRect(LPRECT rect) const;
    void ScreenToClient(POINT* point) const;
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(POINT* point) const;
    void ClientToScreen(LPRECT rect) const;

    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CFrameWnd* GetParentFrame() const;
    CWnd* GetTopLevelParent() const;

    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void InvalidateRgn(CRgn* region, BOOL erase = TRUE);
    void ValidateRect(LPCRECT rect);
    // Paints now when part of the window is invalid.
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT rect = nullptr, CRgn* region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);

    // Modal message box; a null caption shows the application's title. Answers IDOK, IDYES ...
    int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT type = MB_OK);

    // Window timers on the framework's clock, delivered as WM_TIMER through the running loop.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC callback);
    BOOL KillTimer(UINT_PTR id);

    // Gives this window the keyboard focus in its top-level window (a hidden or disabled
    // control passes it on to the next tab stop); answers the window that had it.
    CWnd* SetFocus();
    // The window with the keyboard focus: the active window's focused control, else the active
    // window itself.
    static CWnd* GetFocus();

    // The mouse goes to this window wherever the pointer is, until ReleaseCapture or until the
    // window is destroyed; answers the window that held it before (nullptr when none).
    CWnd* SetCapture();
    // The window holding the mouse, nullptr when none.
    static CWnd* GetCapture();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // The platform's own processing of the message being handled.
    LRESULT Default();

    // TRUE: controls to members; FALSE: members to controls. No control notification reaches
    // this window while it runs.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Runs the message through the message maps, then the platform's processing.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after the window is gone; frames and views delete themselves here.
    virtual void PostNcDestroy();

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg void OnClose();
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);

    friend class CDataExchange;
    friend struct FrameworkAccess;
};

// Gives the mouse back to the window under the pointer; answers TRUE.
BOOL ReleaseCapture();

// Access to the framework for the framework's own modules (not for the application).
struct FrameworkAccess {
    static LRESULT Dispatch(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return wnd->WindowProc(message, wParam, lParam);
    }
    static void PostNcDestroy(CWnd* wnd) { wnd->PostNcDestroy(); }
};
