// The framework's core: window records, message delivery, controls' own processing, geometry,
// invalidation and painting, timers, modal loops, message boxes and the wait cursor.
#include "framework/core.h"

#include <algorithm>

#include "common/assert.h"
#include "framework/app.h"
#include "framework/dialog.h"
#include "framework/frame.h"
#include "framework/wnd.h"

namespace framework {
namespace {

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT period;
    std::uint64_t due;
    std::uint64_t order;
    TIMERPROC callback;
};

struct CurrentMsg {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct PaintTarget {
    HWND hwnd;
    PaintDevice* device;
};

struct Core {
    std::vector<std::unique_ptr<HWND__>> records;
    HWND desktop = nullptr;
    std::vector<Timer> timers;
    std::uint64_t timerOrder = 0;
    std::vector<CurrentMsg> messages;
    std::vector<PaintTarget> paints;
    std::vector<HWND> lockout;
    std::vector<CDialog*> modal;
    int waitCount = 0;
    bool quit = false;
    UINT mouseButtons = 0;
    HWND capture = nullptr;
};

// Never destroyed: the application object may still shut down during static destruction.
Core& TheCore() {
    static Core& core = *new Core;
    return core;
}

bool ClassIs(HWND hwnd, const wchar_t* name) {
    return hwnd && SameClassName(hwnd->className, name);
}

}  // namespace

bool SameClassName(const std::wstring& className, const wchar_t* name) {
    std::size_t i = 0;
    for (; name[i] != L'\0'; ++i) {
        if (i >= className.size()) return false;
        wchar_t a = className[i], b = name[i];
        if (a >= L'A' && a <= L'Z') a = static_cast<wchar_t>(a - L'A' + L'a');
        if (b >= L'A' && b <= L'Z') b = static_cast<wchar_t>(b - L'A' + L'a');
        if (a != b) return false;
    }
    return i == className.size();
}

WindowKind KindOf(HWND hwnd) {
    if (!hwnd) return WindowKind::kOther;
    if (ClassIs(hwnd, L"Button")) return WindowKind::kButton;
    if (ClassIs(hwnd, L"Edit")) return WindowKind::kEdit;
    if (ClassIs(hwnd, L"Static")) return WindowKind::kStatic;
    if (ClassIs(hwnd, L"ListBox")) return WindowKind::kListBox;
    if (ClassIs(hwnd, L"#32770")) return WindowKind::kDialog;
    if (ClassIs(hwnd, L"#32769")) return WindowKind::kDesktop;
    return WindowKind::kOther;
}

bool IsAlive(HWND hwnd) {
    return hwnd && hwnd->alive;
}

HWND CreateRecord(const std::wstring& className, const std::wstring& text, DWORD style,
                  DWORD exStyle, const CRect& rect, HWND parent, HWND owner, int id) {
    auto record = std::make_unique<HWND__>();
    record->className = className;
    record->text = text;
    record->style = style;
    record->exStyle = exStyle;
    record->rect = rect;
    record->visible = (style & WS_VISIBLE) != 0;
    record->enabled = (style & WS_DISABLED) == 0;
    record->id = id;
    record->parent = parent;
    record->owner = parent ? nullptr : owner;
    HWND hwnd = record.get();
    TheCore().records.push_back(std::move(record));
    if (parent) parent->children.push_back(hwnd);
    if (HasBackend()) CurrentBackend().WindowCreated(hwnd);
    return hwnd;
}

void DestroyRecord(HWND hwnd) {
    if (!IsAlive(hwnd)) return;
    Send(hwnd, WM_DESTROY);
    // The children go first; each may delete its object.
    const std::vector<HWND> children = hwnd->children;
    for (HWND child : children) DestroyRecord(child);
    if (!hwnd->alive) return;
    hwnd->alive = false;
    hwnd->visible = false;
    if (TheCore().capture == hwnd) TheCore().capture = nullptr;
    auto& timers = TheCore().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
                 timers.end());
    if (hwnd->parent) {
        auto& siblings = hwnd->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
    }
    if (HasBackend()) CurrentBackend().WindowDestroyed(hwnd);
    if (CWinApp* app = AfxGetApp()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd == hwnd) {
            app->m_pMainWnd = nullptr;
            TheCore().quit = true;
        }
    }
    if (hwnd->standIn) hwnd->standIn->m_hWnd = nullptr;
    CWnd* wnd = hwnd->wnd;
    hwnd->wnd = nullptr;
    if (wnd) {
        wnd->m_hWnd = nullptr;
        FrameworkAccess::PostNcDestroy(wnd);
    }
}

void ResetCore() {
    Core& core = TheCore();
    // By index: a window's last messages may still make records (the desktop).
    for (std::size_t i = 0; i < core.records.size(); ++i)
        if (core.records[i]->alive && !core.records[i]->parent)
            DestroyRecord(core.records[i].get());
    core.records.clear();
    core.desktop = nullptr;
    core.timers.clear();
    core.messages.clear();
    core.paints.clear();
    core.lockout.clear();
    core.modal.clear();
    core.waitCount = 0;
    core.quit = false;
    core.mouseButtons = 0;
    core.capture = nullptr;
}

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsAlive(hwnd)) return 0;
    Core& core = TheCore();
    core.messages.push_back({hwnd, message, wParam, lParam});
    LRESULT result = hwnd->wnd ? FrameworkAccess::Dispatch(hwnd->wnd, message, wParam, lParam)
                               : DefaultProcessing(hwnd, message, wParam, lParam);
    core.messages.pop_back();
    return result;
}

bool CurrentMessage(HWND hwnd, UINT& message, WPARAM& wParam, LPARAM& lParam) {
    const auto& messages = TheCore().messages;
    for (auto it = messages.rbegin(); it != messages.rend(); ++it) {
        if (it->hwnd == hwnd) {
            message = it->message;
            wParam = it->wParam;
            lParam = it->lParam;
            return true;
        }
    }
    return false;
}

void NotifyParent(HWND control, UINT code) {
    if (!IsAlive(control) || !control->parent) return;
    Send(control->parent, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(control->id), code),
         reinterpret_cast<LPARAM>(control));
}

void SetText(HWND hwnd, const std::wstring& text) {
    if (!IsAlive(hwnd)) return;
    hwnd->text = text;
    if (HasBackend()) CurrentBackend().WindowChanged(hwnd);
    if (KindOf(hwnd) == WindowKind::kEdit) {
        NotifyParent(hwnd, EN_UPDATE);
        NotifyParent(hwnd, EN_CHANGE);
    }
}

void SetCheck(HWND hwnd, int check) {
    if (!IsAlive(hwnd)) return;
    hwnd->check = check;
    if (HasBackend()) CurrentBackend().WindowChanged(hwnd);
}

LRESULT DefaultProcessing(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            ValidateRecord(hwnd);
            return 0;
        case WM_CLOSE:
            // Top-level windows without a handler of their own go away.
            DestroyRecord(hwnd);
            return 0;
        case WM_SETTEXT:
            SetText(hwnd, lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
            return TRUE;
        default:
            break;
    }
    (void)wParam;
    return 0;
}

// Geometry

HWND DesktopWindow() {
    Core& core = TheCore();
    if (!IsAlive(core.desktop)) {
        core.desktop = CreateRecord(L"#32769", L"", WS_VISIBLE, 0, CRect(), nullptr, nullptr, 0);
    }
    core.desktop->rect = HasBackend() ? CurrentBackend().ScreenRect() : CRect(0, 0, 1920, 1080);
    return core.desktop;
}

Insets NonClientInsets(HWND hwnd) {
    Insets in;
    if (!hwnd) return in;
    const Metrics m = HasBackend() ? CurrentBackend().WindowMetrics() : Metrics{};
    int frame = 0;
    if (hwnd->style & WS_THICKFRAME)
        frame = m.sizingFrame;
    else if ((hwnd->style & WS_DLGFRAME) || (hwnd->style & DS_MODALFRAME) ||
             (hwnd->exStyle & WS_EX_DLGMODALFRAME))
        frame = m.dialogFrame;
    else if (hwnd->style & WS_BORDER)
        frame = m.border;
    in.left = in.right = in.top = in.bottom = frame;
    if ((hwnd->style & WS_CAPTION) == WS_CAPTION) in.top += m.captionHeight;
    if (hwnd->hasMenu) in.top += m.menuBarHeight;
    if (hwnd->exStyle & WS_EX_CLIENTEDGE) {
        in.left += m.clientEdge;
        in.right += m.clientEdge;
        in.top += m.clientEdge;
        in.bottom += m.clientEdge;
    }
    return in;
}

CPoint ClientOrigin(HWND hwnd) {
    const CRect r = ScreenWindowRect(hwnd);
    const Insets in = NonClientInsets(hwnd);
    return CPoint(r.left + in.left, r.top + in.top);
}

CRect ScreenWindowRect(HWND hwnd) {
    if (!hwnd) return CRect();
    if (KindOf(hwnd) == WindowKind::kDesktop) return DesktopWindow()->rect;
    CRect r = hwnd->rect;
    if (hwnd->parent) {
        const CPoint origin = ClientOrigin(hwnd->parent);
        r.OffsetRect(origin.x, origin.y);
    }
    return r;
}

CRect ClientRect(HWND hwnd) {
    if (!hwnd) return CRect();
    const CRect r = KindOf(hwnd) == WindowKind::kDesktop ? DesktopWindow()->rect : hwnd->rect;
    const Insets in = NonClientInsets(hwnd);
    return CRect(0, 0, std::max(0, r.Width() - in.left - in.right),
                 std::max(0, r.Height() - in.top - in.bottom));
}

void MoveRecord(HWND hwnd, const CRect& rect, bool repaint) {
    // A move to where the window already is changes nothing and repaints nothing.
    if (!IsAlive(hwnd) || rect == hwnd->rect) return;
    const bool resized = rect.Width() != hwnd->rect.Width() || rect.Height() != hwnd->rect.Height();
    hwnd->rect = rect;
    if (HasBackend()) CurrentBackend().WindowChanged(hwnd);
    if (resized) {
        const CRect client = ClientRect(hwnd);
        Send(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
    }
    if (repaint) InvalidateRecord(hwnd, true, true);
}

HWND TopLevelOf(HWND hwnd) {
    while (hwnd && hwnd->parent) hwnd = hwnd->parent;
    return hwnd;
}

HWND FindChild(HWND parent, int id) {
    if (!IsAlive(parent)) return nullptr;
    for (HWND child : parent->children)
        if (child->alive && child->id == id) return child;
    return nullptr;
}

bool IsShownOnScreen(HWND hwnd) {
    for (; hwnd; hwnd = hwnd->parent)
        if (!hwnd->alive || !hwnd->visible) return false;
    return true;
}

bool IsEnabledChain(HWND hwnd) {
    for (; hwnd; hwnd = hwnd->parent)
        if (!hwnd->alive || !hwnd->enabled) return false;
    return true;
}

// Invalidation and painting

void InvalidateRecord(HWND hwnd, bool erase, bool children) {
    if (!IsAlive(hwnd)) return;
    hwnd->invalid = true;
    hwnd->erase = hwnd->erase || erase;
    if (HasBackend()) CurrentBackend().WindowInvalidated(hwnd);
    if (children)
        for (HWND child : hwnd->children) InvalidateRecord(child, erase, true);
}

void ValidateRecord(HWND hwnd) {
    if (!IsAlive(hwnd)) return;
    hwnd->invalid = false;
    hwnd->erase = false;
}

void UpdateRecord(HWND hwnd) {
    if (!IsAlive(hwnd) || !IsShownOnScreen(hwnd)) return;
    // The window first, then its children, as the platform's update does.
    if (hwnd->invalid && HasBackend()) CurrentBackend().PaintNow(hwnd);
    const std::vector<HWND> children = hwnd->children;
    for (HWND child : children) UpdateRecord(child);
}

PaintDevice* CurrentPaintDevice(HWND hwnd) {
    const auto& paints = TheCore().paints;
    for (auto it = paints.rbegin(); it != paints.rend(); ++it)
        if (it->hwnd == hwnd) return it->device;
    return nullptr;
}

void PaintWindow(HWND hwnd, PaintDevice& device) {
    if (!IsAlive(hwnd)) return;
    Core& core = TheCore();
    core.paints.push_back({hwnd, &device});
    // The handler's CPaintDC (or the default processing) validates the window; what the
    // handler invalidates again is painted at a later idle time.
    Send(hwnd, WM_PAINT);
    core.paints.pop_back();
}

namespace {

std::vector<HWND> InvalidShownWindows() {
    std::vector<HWND> invalid;
    for (auto& record : TheCore().records)
        if (record->alive && record->invalid && IsShownOnScreen(record.get()))
            invalid.push_back(record.get());
    return invalid;
}

}  // namespace

bool RunIdle() {
    if (CWinApp* app = AfxGetApp()) app->OnIdle(0);
    // Paint every invalid window shown on the screen, parents before their children.
    for (HWND hwnd : InvalidShownWindows())
        if (hwnd->alive && hwnd->invalid && HasBackend()) CurrentBackend().PaintNow(hwnd);
    return !InvalidShownWindows().empty();
}

// Timers

UINT_PTR SetTimerRecord(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC callback) {
    if (!IsAlive(hwnd)) return 0;
    Core& core = TheCore();
    const std::uint64_t now = HasBackend() ? CurrentBackend().NowMs() : 0;
    const UINT period = std::max<UINT>(elapseMs, 1);
    auto it = std::find_if(core.timers.begin(), core.timers.end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it != core.timers.end()) core.timers.erase(it);
    core.timers.push_back({hwnd, id, period, now + period, ++core.timerOrder, callback});
    if (HasBackend()) CurrentBackend().TimersChanged(*NextTimerDue());
    return id == 0 ? 1 : id;
}

bool KillTimerRecord(HWND hwnd, UINT_PTR id) {
    Core& core = TheCore();
    auto it = std::find_if(core.timers.begin(), core.timers.end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == core.timers.end()) return false;
    core.timers.erase(it);
    if (HasBackend()) CurrentBackend().TimersChanged(NextTimerDue().value_or(0));
    return true;
}

std::optional<std::uint64_t> NextTimerDue() {
    const auto& timers = TheCore().timers;
    if (timers.empty()) return std::nullopt;
    std::uint64_t due = timers.front().due;
    for (const Timer& t : timers) due = std::min(due, t.due);
    return due;
}

bool DeliverNextTimer(std::uint64_t nowMs) {
    Core& core = TheCore();
    const Timer* next = nullptr;
    for (const Timer& t : core.timers)
        if (t.due <= nowMs &&
            (!next || t.due < next->due || (t.due == next->due && t.order < next->order)))
            next = &t;
    if (!next) return false;
    const Timer fired = *next;
    for (Timer& t : core.timers) {
        if (t.hwnd == fired.hwnd && t.id == fired.id) {
            // Periods missed while nothing ran are not made up (the platform coalesces them).
            t.due = std::max(fired.due + fired.period, nowMs + 1);
            t.order = ++core.timerOrder;
        }
    }
    if (fired.callback)
        fired.callback(fired.hwnd, WM_TIMER, fired.id, static_cast<DWORD>(nowMs));
    else
        Send(fired.hwnd, WM_TIMER, fired.id, 0);
    if (HasBackend()) CurrentBackend().TimersChanged(NextTimerDue().value_or(0));
    return true;
}

// Lock-out, modal loops

void PushLockout(HWND hwnd) {
    TheCore().lockout.push_back(hwnd);
}
void PopLockout() {
    KURVO_ASSERT(!TheCore().lockout.empty());
    TheCore().lockout.pop_back();
}
bool IsLockedOut(HWND hwnd) {
    const auto& l = TheCore().lockout;
    return std::find(l.begin(), l.end(), hwnd) != l.end();
}

void PushModal(CDialog* dialog) {
    TheCore().modal.push_back(dialog);
}
void PopModal(CDialog* dialog) {
    auto& m = TheCore().modal;
    m.erase(std::remove(m.begin(), m.end(), dialog), m.end());
}
const std::vector<CDialog*>& ModalStack() {
    return TheCore().modal;
}

// Message boxes, wait cursor, quit

std::wstring ApplicationTitle() {
    CWinApp* app = AfxGetApp();
    return app && app->m_pszAppName ? app->m_pszAppName : L"";
}

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    if (!HasBackend()) return IDCANCEL;
    if (!owner) owner = ActiveWindowRecord();
    MessageBoxRequest request{TopLevelOf(owner), text, caption, type};
    // The owner cannot be used while the box is shown.
    HWND top = request.owner;
    const bool wasEnabled = IsAlive(top) && top->enabled;
    if (wasEnabled) top->enabled = false;
    const int answer = CurrentBackend().MessageBox(request);
    if (wasEnabled && IsAlive(top)) top->enabled = true;
    return answer;
}

HWND ActiveWindowRecord() {
    const auto& modal = TheCore().modal;
    for (auto it = modal.rbegin(); it != modal.rend(); ++it)
        if (IsAlive((*it)->m_hWnd)) return (*it)->m_hWnd;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd && IsAlive(app->m_pMainWnd->m_hWnd)) return app->m_pMainWnd->m_hWnd;
    return nullptr;
}

void BeginWait() {
    if (TheCore().waitCount++ == 0 && HasBackend()) CurrentBackend().SetWaitCursor(true);
}

void EndWait() {
    Core& core = TheCore();
    if (core.waitCount <= 0) return;
    if (--core.waitCount == 0 && HasBackend()) CurrentBackend().SetWaitCursor(false);
}

void RestoreWait() {
    if (TheCore().waitCount > 0 && HasBackend()) CurrentBackend().SetWaitCursor(true);
}

UINT& MouseButtons() {
    return TheCore().mouseButtons;
}

HWND& CaptureWindow() {
    return TheCore().capture;
}

bool QuitRequested() {
    return TheCore().quit;
}
void ClearQuit() {
    TheCore().quit = false;
}

}  // namespace framework
