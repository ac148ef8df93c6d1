// CFrameWnd (the main window: menu, accelerators, title, status bar, command routing) and
// CStatusBar.
#pragma once

#include <string>
#include <vector>

#include "framework/wnd.h"

class CView;
class CDocument;
class CDocTemplate;

struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

namespace framework {

// The live state of one menu item of the main window (the resource plus what the update
// handlers and the recent-file list made of it).
struct MenuItemState {
    std::wstring text;
    UINT id = 0;
    UINT flags = 0;  // MF_POPUP, MF_SEPARATOR, MF_GRAYED, MF_CHECKED
    std::vector<MenuItemState> items;
};

// The state of one menu item asked from its update handler (the item at m_nIndex of popup).
class MenuCmdUI : public CCmdUI {
  public:
    std::vector<MenuItemState>* popup = nullptr;
    std::wstring recentPlaceholder;  // the recent-file item's resource text
    void Enable(BOOL on) override;
    void SetCheck(int value) override;
    void SetText(LPCTSTR value) override;
};

}  // namespace framework

// The status bar: panes with an id, a text, a style and a width; pane 0 is the message pane.
class CStatusBar : public CWnd {
    DECLARE_DYNAMIC(CStatusBar)
  public:
    using CWnd::Create;
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT id = AFX_IDW_STATUS_BAR);
    // Each id but ID_SEPARATOR takes its text from the string table; FALSE when one is missing.
    BOOL SetIndicators(const UINT* ids, int count);
    int GetCount() const { return static_cast<int>(panes_.size()); }
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;
    void SetPaneStyle(int index, UINT style);
    UINT GetPaneStyle(int index) const;
    BOOL SetPaneText(int index, LPCTSTR text, BOOL update = TRUE);
    CString GetPaneText(int index) const;
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    // What the pane shows: its text, or nothing while it has SBPS_DISABLED.
    CString GetShownText(int index) const;
    // Asks the update handlers of the indicator panes (idle time).
    void UpdatePanes(CFrameWnd* target);

  private:
    struct Pane {
        UINT id;
        UINT style;
        int width;
        CString text;
    };
    std::vector<Pane> panes_;
};

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
  public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the frame with the menu, accelerators, icon and title string of `resourceId`;
    // the context names the view to create in it.
    virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, CCreateContext* context = nullptr);
    CView* GetActiveView() const { return activeView_; }
    void SetActiveView(CView* view) { activeView_ = view; }
    virtual CDocument* GetActiveDocument();
    // The window title: "document title - application title" with FWS_ADDTOTITLE.
    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);
    virtual void RecalcLayout(BOOL notify = TRUE);

    // Message pane (pane 0): a text, or a string-table prompt (the part before "\n").
    void SetMessageText(LPCTSTR text);
    void SetMessageText(UINT id);
    CStatusBar* GetStatusBar() const;
    // The prompt of a command (string `id` up to its "\n"), "" when none.
    static CString CommandPrompt(UINT id);

    // Routing: active view (and its document), the frame, the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    // Menu state, for the backends and the framework's person actions.
    std::vector<framework::MenuItemState>& MenuState() { return menu_; }
    // Runs the update handlers over the items of the popup that holds `id` (or of every popup
    // with id 0), as opening a popup does.
    void UpdateMenuPopups(UINT id = 0);
    // A menu is open (its highlighted item's prompt is in the message pane).
    bool MenuTracking() const { return menuTracking_; }
    void SetMenuTracking(bool tracking) { menuTracking_ = tracking; }
    // The accelerator command for a key, 0 when none.
    UINT TranslateAccelerator(UINT key, BOOL ctrl, BOOL shift, BOOL alt) const;
    CString m_strTitle;
    UINT m_nIDHelp = 0;

  protected:
    virtual BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context);
    // A frame made by LoadFrame deletes itself with its window.
    void PostNcDestroy() override;
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnClose();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnUpdateKeyIndicator(CCmdUI* cmdUI);

    DECLARE_MESSAGE_MAP()

  private:
    CView* activeView_ = nullptr;
    UINT resourceId_ = 0;
    std::vector<framework::MenuItemState> menu_;
    bool menuTracking_ = false;
    bool autoDelete_ = false;
};
