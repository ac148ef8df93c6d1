// CWnd: window creation and destruction, texts, state, geometry, painting requests, timers,
// message dispatch through the message maps, and data exchange.
#include "framework/wnd.h"

#include <algorithm>
#include <cwchar>

#include "common/assert.h"
#include "framework/app.h"
#include "framework/core.h"
#include "framework/dialog.h"
#include "framework/frame.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (framework::IsAlive(m_hWnd)) {
        HWND hwnd = m_hWnd;
        // The object goes away with its window; nothing may call back into it.
        if (hwnd->wnd == this) hwnd->wnd = nullptr;
        m_hWnd = nullptr;
        framework::DestroyRecord(hwnd);
    }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!framework::IsAlive(hwnd)) return nullptr;
    if (hwnd->wnd) return hwnd->wnd;
    if (!hwnd->standIn) {
        switch (framework::KindOf(hwnd)) {
            case framework::WindowKind::kButton:
                hwnd->standIn = std::make_unique<CButton>();
                break;
            case framework::WindowKind::kEdit:
                hwnd->standIn = std::make_unique<CEdit>();
                break;
            case framework::WindowKind::kStatic:
                hwnd->standIn = std::make_unique<CStatic>();
                break;
            case framework::WindowKind::kListBox:
                hwnd->standIn = std::make_unique<CListBox>();
                break;
            default:
                hwnd->standIn = std::make_unique<CWnd>();
                break;
        }
        hwnd->standIn->m_hWnd = hwnd;
    }
    return hwnd->standIn.get();
}

CWnd* CWnd::GetDesktopWindow() {
    return FromHandle(framework::DesktopWindow());
}

BOOL CWnd::Attach(HWND hwnd) {
    if (!framework::IsAlive(hwnd) || m_hWnd) return FALSE;
    m_hWnd = hwnd;
    hwnd->wnd = this;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hwnd = m_hWnd;
    if (framework::IsAlive(hwnd) && hwnd->wnd == this) hwnd->wnd = nullptr;
    m_hWnd = nullptr;
    return hwnd;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (!parent) return FALSE;
    HWND child = framework::FindChild(parent->m_hWnd, static_cast<int>(id));
    return Attach(child);
}

BOOL CWnd::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, CCreateContext* context) {
    return CreateEx(0, className, windowName, style, rect, parent, id, context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, CCreateContext* context) {
    CREATESTRUCT cs;
    cs.lpCreateParams = context;
    cs.hwndParent = parent ? parent->m_hWnd : nullptr;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (!PreCreateWindow(cs)) return FALSE;
    const DWORD finalStyle = static_cast<DWORD>(cs.style);
    HWND parentHwnd = (finalStyle & WS_CHILD) ? cs.hwndParent : nullptr;
    HWND ownerHwnd = (finalStyle & WS_CHILD) ? nullptr : cs.hwndParent;
    HWND hwnd = framework::CreateRecord(cs.lpszClass ? cs.lpszClass : L"",
                                        cs.lpszName ? cs.lpszName : L"", finalStyle, cs.dwExStyle,
                                        CRect(cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy), parentHwnd,
                                        ownerHwnd, static_cast<int>(id));
    Attach(hwnd);
    if (framework::Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        framework::DestroyRecord(hwnd);
        return FALSE;
    }
    if (!framework::IsAlive(hwnd)) return FALSE;
    const CRect client = framework::ClientRect(hwnd);
    framework::Send(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (!framework::IsAlive(m_hWnd)) return FALSE;
    framework::DestroyRecord(m_hWnd);
    return TRUE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) {
    return TRUE;
}

void CWnd::PostNcDestroy() {}

// Texts and states

void CWnd::SetWindowText(LPCTSTR text) {
    framework::SetText(m_hWnd, text ? text : L"");
}

void CWnd::GetWindowText(CString& text) const {
    text = framework::IsAlive(m_hWnd) ? CString(m_hWnd->text) : CString();
}

int CWnd::GetWindowText(LPTSTR buffer, int maxCount) const {
    if (!buffer || maxCount <= 0) return 0;
    const std::wstring text = framework::IsAlive(m_hWnd) ? m_hWnd->text : std::wstring();
    const int n = std::min<int>(static_cast<int>(text.size()), maxCount - 1);
    std::wmemcpy(buffer, text.data(), static_cast<std::size_t>(n));
    buffer[n] = L'\0';
    return n;
}

int CWnd::GetWindowTextLength() const {
    return framework::IsAlive(m_hWnd) ? static_cast<int>(m_hWnd->text.size()) : 0;
}

void CWnd::SetDlgItemText(int id, LPCTSTR text) {
    framework::SetText(framework::FindChild(m_hWnd, id), text ? text : L"");
}

int CWnd::GetDlgItemText(int id, CString& text) const {
    HWND child = framework::FindChild(m_hWnd, id);
    text = child ? CString(child->text) : CString();
    return text.GetLength();
}

CWnd* CWnd::GetDlgItem(int id) const {
    return FromHandle(framework::FindChild(m_hWnd, id));
}

int CWnd::GetDlgCtrlID() const {
    return framework::IsAlive(m_hWnd) ? m_hWnd->id : 0;
}

void CWnd::CheckDlgButton(int id, UINT check) {
    framework::SetCheck(framework::FindChild(m_hWnd, id), static_cast<int>(check));
}

UINT CWnd::IsDlgButtonChecked(int id) const {
    HWND child = framework::FindChild(m_hWnd, id);
    return child ? static_cast<UINT>(child->check) : 0;
}

BOOL CWnd::EnableWindow(BOOL enable) {
    if (!framework::IsAlive(m_hWnd)) return FALSE;
    const BOOL wasDisabled = !m_hWnd->enabled;
    m_hWnd->enabled = enable != FALSE;
    if (framework::HasBackend()) framework::CurrentBackend().WindowChanged(m_hWnd);
    if (!m_hWnd->enabled) framework::FocusMovesOn(m_hWnd);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    return framework::IsAlive(m_hWnd) && m_hWnd->enabled;
}

BOOL CWnd::ShowWindow(int command) {
    if (!framework::IsAlive(m_hWnd)) return FALSE;
    const BOOL wasVisible = m_hWnd->visible;
    m_hWnd->visible = command != SW_HIDE;
    if (m_hWnd->visible)
        m_hWnd->style |= WS_VISIBLE;
    else
        m_hWnd->style &= ~WS_VISIBLE;
    if (framework::HasBackend()) framework::CurrentBackend().WindowChanged(m_hWnd);
    if (!m_hWnd->visible) framework::FocusMovesOn(m_hWnd);
    if (m_hWnd->visible && !wasVisible) framework::InvalidateRecord(m_hWnd, true, true);
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    return framework::IsShownOnScreen(m_hWnd);
}

DWORD CWnd::GetStyle() const {
    return framework::IsAlive(m_hWnd) ? m_hWnd->style : 0;
}
DWORD CWnd::GetExStyle() const {
    return framework::IsAlive(m_hWnd) ? m_hWnd->exStyle : 0;
}

// Geometry

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    framework::MoveRecord(m_hWnd, CRect(x, y, x + width, y + height), repaint != FALSE);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
    if (rect) framework::MoveRecord(m_hWnd, CRect(*rect), repaint != FALSE);
}

void CWnd::GetWindowRect(LPRECT rect) const {
    if (rect) *rect = framework::ScreenWindowRect(m_hWnd);
}

void CWnd::GetClientRect(LPRECT rect) const {
    if (rect) *rect = framework::ClientRect(m_hWnd);
}

void CWnd::ScreenToClient(POINT* point) const {
    if (!point) return;
    const CPoint origin = framework::ClientOrigin(m_hWnd);
    point->x -= origin.x;
    point->y -= origin.y;
}

void CWnd::ScreenToClient(LPRECT rect) const {
    if (!rect) return;
    const CPoint origin = framework::ClientOrigin(m_hWnd);
    CRect r(*rect);
    r.OffsetRect(-origin.x, -origin.y);
    *rect = r;
}

void CWnd::ClientToScreen(POINT* point) const {
    if (!point) return;
    const CPoint origin = framework::ClientOrigin(m_hWnd);
    point->x += origin.x;
    point->y += origin.y;
}

void CWnd::ClientToScreen(LPRECT rect) const {
    if (!rect) return;
    const CPoint origin = framework::ClientOrigin(m_hWnd);
    CRect r(*rect);
    r.OffsetRect(origin.x, origin.y);
    *rect = r;
}

CWnd* CWnd::GetParent() const {
    if (!framework::IsAlive(m_hWnd)) return nullptr;
    return FromHandle(m_hWnd->parent ? m_hWnd->parent : m_hWnd->owner);
}

CWnd* CWnd::GetOwner() const {
    if (!framework::IsAlive(m_hWnd)) return nullptr;
    return FromHandle(m_hWnd->owner ? m_hWnd->owner : m_hWnd->parent);
}

CFrameWnd* CWnd::GetParentFrame() const {
    if (!framework::IsAlive(m_hWnd)) return nullptr;
    // Through the parents, and for a dialog through its owner.
    for (HWND h = m_hWnd->parent ? m_hWnd->parent : m_hWnd->owner; framework::IsAlive(h);
         h = h->parent ? h->parent : h->owner)
        if (auto* frame = dynamic_cast<CFrameWnd*>(h->wnd)) return frame;
    return nullptr;
}

CWnd* CWnd::GetTopLevelParent() const {
    return FromHandle(framework::TopLevelOf(m_hWnd));
}

// Painting

void CWnd::Invalidate(BOOL erase) {
    framework::InvalidateRecord(m_hWnd, erase != FALSE, false);
}

void CWnd::InvalidateRect(LPCRECT, BOOL erase) {
    framework::InvalidateRecord(m_hWnd, erase != FALSE, false);
}

void CWnd::InvalidateRgn(CRgn*, BOOL erase) {
    framework::InvalidateRecord(m_hWnd, erase != FALSE, false);
}

void CWnd::ValidateRect(LPCRECT) {
    framework::ValidateRecord(m_hWnd);
}

void CWnd::UpdateWindow() {
    framework::UpdateRecord(m_hWnd);
}

BOOL CWnd::RedrawWindow(LPCRECT, CRgn*, UINT flags) {
    if (!framework::IsAlive(m_hWnd)) return FALSE;
    if (flags & RDW_INVALIDATE)
        framework::InvalidateRecord(m_hWnd, (flags & RDW_ERASE) != 0,
                                    (flags & RDW_ALLCHILDREN) != 0);
    if (flags & RDW_UPDATENOW) framework::UpdateRecord(m_hWnd);
    return TRUE;
}

// Services

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) {
    const std::wstring title = caption ? std::wstring(caption) : framework::ApplicationTitle();
    return framework::ShowMessageBox(framework::TopLevelOf(m_hWnd), text ? text : L"", title, type);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC callback) {
    return framework::SetTimerRecord(m_hWnd, id, elapseMs, callback);
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    return framework::KillTimerRecord(m_hWnd, id);
}

CWnd* CWnd::SetFocus() {
    CWnd* previous = GetFocus();
    framework::SetFocusRecord(m_hWnd, framework::FocusCause::kProgram);
    return previous;
}

CWnd* CWnd::GetFocus() {
    return FromHandle(framework::FocusRecord());
}

CWnd* CWnd::SetCapture() {
    CWnd* previous = GetCapture();
    if (framework::IsAlive(m_hWnd)) framework::CaptureWindow() = m_hWnd;
    return previous;
}

CWnd* CWnd::GetCapture() {
    return FromHandle(framework::CaptureWindow());
}

BOOL ReleaseCapture() {
    framework::CaptureWindow() = nullptr;
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return framework::Send(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    if (!framework::CurrentMessage(m_hWnd, message, wParam, lParam)) return 0;
    return DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    if (!framework::IsAlive(m_hWnd)) return FALSE;
    CDataExchange dx(this, saveAndValidate);
    framework::PushLockout(m_hWnd);
    DoDataExchange(&dx);
    framework::PopLockout();
    return dx.failed ? FALSE : TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

// Dispatch

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            if (result) *result = 0;
            return TRUE;
        }
        return FALSE;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(this, message, 0, 0);
    if (!entry) return FALSE;
    framework::MsgCall call;
    call.message = message;
    call.wParam = wParam;
    call.lParam = lParam;
    entry->handler(this, call);
    if (result) *result = call.result;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (lParam != 0) {
        // A control's notification: ignored while UpdateData runs on this window.
        if (framework::IsLockedOut(m_hWnd)) return TRUE;
        return OnCmdMsg(id, code, nullptr, nullptr);
    }
    // A menu or accelerator command runs only when its update handlers leave it enabled.
    CCmdUI state;
    state.m_nID = id;
    OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state, nullptr);
    if (!state.enabled) return TRUE;
    return OnCmdMsg(id, CN_COMMAND, nullptr, nullptr);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return framework::DefaultProcessing(m_hWnd, message, wParam, lParam);
}

int CWnd::OnCreate(LPCREATESTRUCT) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
