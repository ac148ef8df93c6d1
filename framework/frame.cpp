// CFrameWnd (creation with its view, menu, accelerators, title, layout, routing, closing) and
// CStatusBar.
#include "framework/frame.h"

#include "common/assert.h"
#include "framework/app.h"
#include "framework/core.h"
#include "framework/doc_view.h"
#include "framework/resources.h"

IMPLEMENT_DYNAMIC(CStatusBar, CWnd)
IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

// Status bar

namespace {

// A pane's state set by its update handler.
class PaneCmdUI : public CCmdUI {
  public:
    void Enable(BOOL on) override {
        CCmdUI::Enable(on);
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        const UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex));
        bar->SetPaneStyle(static_cast<int>(m_nIndex),
                          on ? (style & ~SBPS_DISABLED) : (style | SBPS_DISABLED));
    }
    void SetText(LPCTSTR text) override {
        CCmdUI::SetText(text);
        static_cast<CStatusBar*>(m_pOther)->SetPaneText(static_cast<int>(m_nIndex), text);
    }
};

void StatusChanged(HWND bar) {
    if (framework::HasBackend()) framework::CurrentBackend().StatusBarChanged(bar);
}

}  // namespace

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
    if (!parent || !framework::IsAlive(parent->m_hWnd)) return FALSE;
    const DWORD windowStyle = (style & ~CBRS_BOTTOM) | WS_CHILD;
    if (!CWnd::Create(L"msctls_statusbar32", L"", windowStyle, CRect(), parent, id)) return FALSE;
    if (auto* frame = dynamic_cast<CFrameWnd*>(parent)) frame->RecalcLayout();
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count) {
    if (!ids || count < 0) return FALSE;
    std::vector<Pane> panes;
    for (int i = 0; i < count; ++i) {
        Pane pane{ids[i], 0, 0, CString()};
        if (ids[i] == ID_SEPARATOR) {
            pane.style = SBPS_NOBORDERS | SBPS_STRETCH;
        } else {
            std::wstring text;
            if (!LoadResourceString(ids[i], text)) return FALSE;
            pane.text = CString(text);
            pane.width = framework::HasBackend() ? framework::CurrentBackend().TextWidth(text) : 0;
        }
        panes.push_back(pane);
    }
    panes_ = std::move(panes);
    StatusChanged(m_hWnd);
    return TRUE;
}

UINT CStatusBar::GetItemID(int index) const {
    KURVO_ASSERT(index >= 0 && index < GetCount());
    return panes_[static_cast<std::size_t>(index)].id;
}

int CStatusBar::CommandToIndex(UINT id) const {
    for (int i = 0; i < GetCount(); ++i)
        if (panes_[static_cast<std::size_t>(i)].id == id) return i;
    return -1;
}

void CStatusBar::SetPaneStyle(int index, UINT style) {
    KURVO_ASSERT(index >= 0 && index < GetCount());
    Pane& pane = panes_[static_cast<std::size_t>(index)];
    if (pane.style == style) return;
    pane.style = style;
    StatusChanged(m_hWnd);
}

UINT CStatusBar::GetPaneStyle(int index) const {
    KURVO_ASSERT(index >= 0 && index < GetCount());
    return panes_[static_cast<std::size_t>(index)].style;
}

BOOL CStatusBar::SetPaneText(int index, LPCTSTR text, BOOL) {
    if (index < 0 || index >= GetCount()) return FALSE;
    Pane& pane = panes_[static_cast<std::size_t>(index)];
    const CString value(text ? text : L"");
    if (pane.text == value) return TRUE;
    pane.text = value;
    StatusChanged(m_hWnd);
    return TRUE;
}

CString CStatusBar::GetPaneText(int index) const {
    if (index < 0 || index >= GetCount()) return CString();
    return panes_[static_cast<std::size_t>(index)].text;
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const {
    KURVO_ASSERT(index >= 0 && index < GetCount());
    const Pane& pane = panes_[static_cast<std::size_t>(index)];
    id = pane.id;
    style = pane.style;
    width = pane.width;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
    KURVO_ASSERT(index >= 0 && index < GetCount());
    Pane& pane = panes_[static_cast<std::size_t>(index)];
    pane.id = id;
    pane.style = style;
    pane.width = width;
    StatusChanged(m_hWnd);
}

CString CStatusBar::GetShownText(int index) const {
    if (index < 0 || index >= GetCount()) return CString();
    const Pane& pane = panes_[static_cast<std::size_t>(index)];
    return (pane.style & SBPS_DISABLED) ? CString() : pane.text;
}

void CStatusBar::UpdatePanes(CFrameWnd* target) {
    for (int i = 0; i < GetCount(); ++i) {
        const UINT id = panes_[static_cast<std::size_t>(i)].id;
        if (id == ID_SEPARATOR) continue;
        PaneCmdUI state;
        state.m_nID = id;
        state.m_nIndex = static_cast<UINT>(i);
        state.m_pOther = this;
        // Panes without an update handler keep the style the program gave them.
        state.DoUpdate(target, FALSE);
    }
}

// Frame

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, &CFrameWnd::OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, &CFrameWnd::OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, &CFrameWnd::OnUpdateKeyIndicator)
END_MESSAGE_MAP()

namespace {

std::vector<framework::MenuItemState> MenuFromTemplate(const std::vector<MenuItemTemplate>& items) {
    std::vector<framework::MenuItemState> state;
    for (const MenuItemTemplate& item : items)
        state.push_back({item.text, item.id, item.flags, MenuFromTemplate(item.items)});
    return state;
}

}  // namespace

CFrameWnd::CFrameWnd() = default;
CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
    resourceId_ = resourceId;
    std::wstring title = ResourceString(resourceId);
    const std::size_t newline = title.find(L'\n');
    if (newline != std::wstring::npos) title.resize(newline);
    m_strTitle = CString(title);
    if (const MenuTemplate* menu = FindMenuResource(resourceId))
        menu_ = MenuFromTemplate(menu->items);
    const CRect screen = framework::HasBackend() ? framework::CurrentBackend().ScreenRect()
                                                 : CRect(0, 0, 1920, 1080);
    const CRect rect(screen.left, screen.top, screen.left + screen.Width() * 3 / 4,
                     screen.top + screen.Height() * 3 / 4);
    const BOOL created =
        CreateEx(0, L"KurvomatFrame", m_strTitle, style & ~WS_VISIBLE, rect, parent, 0, context);
    // Until it exists, whoever asked for the frame keeps it (and deletes it on failure).
    if (created) autoDelete_ = true;
    return created;
}

void CFrameWnd::PostNcDestroy() {
    if (autoDelete_) delete this;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    // The frame has the menu of its resource: its client area starts below the menu bar.
    cs.hMenu = menu_.empty() ? nullptr : reinterpret_cast<HMENU>(this);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs) {
    if (cs && cs->hMenu) m_hWnd->hasMenu = true;
    auto* context = cs ? static_cast<CCreateContext*>(cs->lpCreateParams) : nullptr;
    if (!OnCreateClient(cs, context)) return -1;
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* context) {
    if (!context || !context->m_pNewViewClass) return TRUE;
    CObject* object = context->m_pNewViewClass->CreateObject();
    auto* view = dynamic_cast<CView*>(object);
    if (!view) {
        delete object;
        return FALSE;
    }
    if (!view->CreateEx(WS_EX_CLIENTEDGE, L"KurvomatView", L"", WS_CHILD | WS_VISIBLE, CRect(),
                        this, AFX_IDW_PANE_FIRST, context)) {
        // A view that failed to create has deleted itself with its window.
        return FALSE;
    }
    if (!activeView_) activeView_ = view;
    RecalcLayout();
    return TRUE;
}

void CFrameWnd::RecalcLayout(BOOL) {
    if (!framework::IsAlive(m_hWnd)) return;
    CRect client = framework::ClientRect(m_hWnd);
    if (HWND bar = framework::FindChild(m_hWnd, AFX_IDW_STATUS_BAR); bar && bar->visible) {
        const int height = framework::HasBackend()
                               ? framework::CurrentBackend().WindowMetrics().statusBarHeight
                               : 20;
        framework::MoveRecord(bar, CRect(0, client.bottom - height, client.right, client.bottom),
                              false);
        client.bottom -= height;
    }
    if (HWND view = framework::FindChild(m_hWnd, AFX_IDW_PANE_FIRST))
        framework::MoveRecord(view, client, true);
}

void CFrameWnd::OnSize(UINT, int, int) {
    RecalcLayout();
}

CDocument* CFrameWnd::GetActiveDocument() {
    return activeView_ ? activeView_->GetDocument() : nullptr;
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle) {
    if (!framework::IsAlive(m_hWnd)) return;
    CString title = m_strTitle;
    if (addToTitle && (m_hWnd->style & FWS_ADDTOTITLE)) {
        if (CDocument* doc = GetActiveDocument()) title = doc->GetTitle() + L" - " + m_strTitle;
    }
    if (m_hWnd->text != title.str()) SetWindowText(title);
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible) {
    if (!activeView_) {
        if (HWND view = framework::FindChild(m_hWnd, AFX_IDW_PANE_FIRST))
            activeView_ = dynamic_cast<CView*>(view->wnd);
    }
    if (doc) {
        POSITION position = doc->GetFirstViewPosition();
        while (position) {
            CView* view = doc->GetNextView(position);
            if (view && view->GetParentFrame() == this) view->OnInitialUpdate();
        }
    }
    OnUpdateFrameTitle(TRUE);
    if (makeVisible) ShowWindow(SW_SHOW);
}

void CFrameWnd::SetMessageText(LPCTSTR text) {
    if (CStatusBar* bar = GetStatusBar(); bar && bar->GetCount() > 0) bar->SetPaneText(0, text);
}

void CFrameWnd::SetMessageText(UINT id) {
    if (id == AFX_IDS_IDLEMESSAGE) {
        SetMessageText(ResourceString(id).c_str());
        return;
    }
    SetMessageText(CommandPrompt(id));
}

CString CFrameWnd::CommandPrompt(UINT id) {
    std::wstring text;
    if (!LoadResourceString(id, text)) return CString();
    const std::size_t newline = text.find(L'\n');
    if (newline != std::wstring::npos) text.resize(newline);
    return CString(text);
}

CStatusBar* CFrameWnd::GetStatusBar() const {
    HWND bar = framework::FindChild(m_hWnd, AFX_IDW_STATUS_BAR);
    return bar ? dynamic_cast<CStatusBar*>(bar->wnd) : nullptr;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (activeView_ && activeView_->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWinApp* app = AfxGetApp(); app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return FALSE;
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* cmdUI) {
    UINT key = 0;
    switch (cmdUI->m_nID) {
        case ID_INDICATOR_CAPS:
            key = VK_CAPITAL;
            break;
        case ID_INDICATOR_NUM:
            key = VK_NUMLOCK;
            break;
        case ID_INDICATOR_SCRL:
            key = VK_SCROLL;
            break;
        default:
            return;
    }
    cmdUI->Enable(framework::HasBackend() && framework::CurrentBackend().KeyLocked(key));
}

void CFrameWnd::OnClose() {
    HWND self = m_hWnd;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        // The offer to save comes first; cancelling it keeps everything open.
        if (!app->SaveAllModified()) return;
        app->CloseAllDocuments(FALSE);
    }
    if (framework::IsAlive(self)) framework::DestroyRecord(self);
}

UINT CFrameWnd::TranslateAccelerator(UINT key, BOOL ctrl, BOOL shift, BOOL alt) const {
    const AcceleratorTable* table = FindAcceleratorResource(resourceId_);
    if (!table) return 0;
    for (const AcceleratorEntry& e : table->entries) {
        if (e.key != key) continue;
        if (((e.flags & FCONTROL) != 0) != (ctrl != FALSE)) continue;
        if (((e.flags & FSHIFT) != 0) != (shift != FALSE)) continue;
        if (((e.flags & FALT) != 0) != (alt != FALSE)) continue;
        return e.command;
    }
    return 0;
}

namespace {

bool IsRecentFileId(UINT id) {
    return id >= ID_FILE_MRU_FIRST && id <= ID_FILE_MRU_LAST;
}

bool ContainsId(const std::vector<framework::MenuItemState>& items, UINT id) {
    for (const auto& item : items) {
        if (!(item.flags & (MF_POPUP | MF_SEPARATOR)) &&
            (item.id == id || (IsRecentFileId(id) && IsRecentFileId(item.id))))
            return true;
        if ((item.flags & MF_POPUP) && ContainsId(item.items, id)) return true;
    }
    return false;
}

void UpdatePopup(CFrameWnd* frame, std::vector<framework::MenuItemState>& popup,
                 const std::wstring& placeholder) {
    for (std::size_t i = 0; i < popup.size(); ++i) {
        framework::MenuItemState& item = popup[i];
        if (item.flags & (MF_POPUP | MF_SEPARATOR)) continue;
        framework::MenuCmdUI state;
        state.popup = &popup;
        state.recentPlaceholder = placeholder;
        state.m_nIndex = static_cast<UINT>(i);
        if (IsRecentFileId(item.id)) {
            // One update for the block; its handler rebuilds the entries of the list.
            state.m_nID = ID_FILE_MRU_FILE1;
            state.DoUpdate(frame, TRUE);
            while (i + 1 < popup.size() && IsRecentFileId(popup[i + 1].id)) ++i;
            continue;
        }
        state.m_nID = item.id;
        state.DoUpdate(frame, TRUE);
    }
}

// Updates the popups on the way to `id` (every popup when id is 0); answers whether found.
bool UpdatePath(CFrameWnd* frame, std::vector<framework::MenuItemState>& items, UINT id,
                const std::wstring& placeholder) {
    bool found = false;
    for (auto& item : items) {
        if (!(item.flags & MF_POPUP)) continue;
        if (id == 0 || ContainsId(item.items, id)) {
            UpdatePopup(frame, item.items, placeholder);
            UpdatePath(frame, item.items, id, placeholder);
            found = true;
        }
    }
    return found;
}

// The text of the recent-file item in the menu resource, shown while the list is empty.
std::wstring RecentPlaceholder(const std::vector<MenuItemTemplate>& items) {
    for (const MenuItemTemplate& item : items) {
        if (item.id == ID_FILE_MRU_FILE1 && !(item.flags & MF_POPUP)) return item.text;
        const std::wstring inner = RecentPlaceholder(item.items);
        if (!inner.empty()) return inner;
    }
    return std::wstring();
}

}  // namespace

void framework::MenuCmdUI::Enable(BOOL on) {
    CCmdUI::Enable(on);
    auto& item = (*popup)[m_nIndex];
    item.flags = on ? (item.flags & ~(MF_GRAYED | MF_DISABLED)) : (item.flags | MF_GRAYED);
}

void framework::MenuCmdUI::SetCheck(int value) {
    CCmdUI::SetCheck(value);
    auto& item = (*popup)[m_nIndex];
    item.flags = value ? (item.flags | MF_CHECKED) : (item.flags & ~MF_CHECKED);
}

void framework::MenuCmdUI::SetText(LPCTSTR value) {
    CCmdUI::SetText(value);
    (*popup)[m_nIndex].text = value ? value : L"";
}

void CFrameWnd::UpdateMenuPopups(UINT id) {
    const MenuTemplate* menu = FindMenuResource(resourceId_);
    UpdatePath(this, menu_, id, menu ? RecentPlaceholder(menu->items) : std::wstring());
    if (framework::HasBackend()) framework::CurrentBackend().MenuChanged(m_hWnd);
}
