// A person's actions (clicks, typing, keys, mouse, menus) turned into the framework's messages.
#include "framework/user_input.h"

#include <algorithm>

#include "framework/app.h"
#include "framework/core.h"
#include "framework/dialog.h"
#include "framework/frame.h"

namespace framework {
namespace {

// A control a person can reach: alive, shown, enabled, in the active window.
bool Reachable(HWND control) {
    if (!IsAlive(control) || !IsShownOnScreen(control) || !IsEnabledChain(control)) return false;
    return TopLevelOf(control) == ActiveWindow();
}

// A person's click or editing gives the control the keyboard focus first.
void TakeFocus(HWND control) {
    SetFocusRecord(control, FocusCause::kClick);
}

// Pixels of an edit's width that hold text (borders and margins excluded).
int EditTextWidth(HWND edit) {
    return std::max(0, edit->rect.Width() - 8);
}

bool TypeOne(HWND edit, wchar_t c) {
    std::wstring text = edit->text;
    const auto length = static_cast<int>(text.size());
    const int start = std::clamp(edit->selStart, 0, length);
    const int end = std::clamp(edit->selEnd, start, length);
    if (edit->style & ES_UPPERCASE && c >= L'a' && c <= L'z')
        c = static_cast<wchar_t>(c - L'a' + L'A');
    text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), 1, c);
    // Without automatic scrolling the edit takes no character beyond its visible width.
    if (!(edit->style & (ES_AUTOHSCROLL | ES_MULTILINE)) &&
        CurrentBackend().TextWidth(text) > EditTextWidth(edit))
        return false;
    edit->selStart = edit->selEnd = start + 1;
    SetText(edit, text);
    return true;
}

bool IsCommandEnabled(CFrameWnd* frame, UINT id) {
    CCmdUI state;
    state.m_nID = id;
    frame->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state, nullptr);
    return state.enabled != FALSE;
}

MenuItemState* FindItem(std::vector<MenuItemState>& items, UINT id) {
    for (auto& item : items) {
        if (item.flags & MF_POPUP) {
            if (MenuItemState* inner = FindItem(item.items, id)) return inner;
        } else if (!(item.flags & MF_SEPARATOR) && item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

// The child under a client point that takes the mouse; statics and group boxes let it through.
HWND MouseTarget(HWND hwnd, CPoint client) {
    for (auto it = hwnd->children.rbegin(); it != hwnd->children.rend(); ++it) {
        HWND child = *it;
        if (!child->alive || !child->visible || !child->rect.PtInRect(client)) continue;
        const bool transparent =
            (KindOf(child) == WindowKind::kStatic && !(child->style & SS_NOTIFY)) ||
            (KindOf(child) == WindowKind::kButton && (child->style & BS_TYPEMASK) == BS_GROUPBOX);
        if (transparent) continue;
        return child;
    }
    return hwnd;
}

// A mouse message at a client point of `hwnd`. While a window holds the capture it takes the
// message at the same screen point, inside its client area or not; otherwise the child under the
// point takes it, and outside the client area the pointer is over another window.
void SendMouse(HWND hwnd, CPoint client, UINT message, UINT keyFlags) {
    HWND target = hwnd;
    CPoint at = client;
    if (HWND capture = CaptureWindow(); IsAlive(capture)) {
        const CPoint from = ClientOrigin(hwnd);
        const CPoint to = ClientOrigin(capture);
        target = capture;
        at = CPoint(client.x + from.x - to.x, client.y + from.y - to.y);
    } else {
        if (!ClientRect(hwnd).PtInRect(client)) return;
        target = MouseTarget(hwnd, client);
        if (target != hwnd) at = CPoint(client.x - target->rect.left, client.y - target->rect.top);
    }
    Send(target, message, keyFlags | MouseButtons(), MAKELPARAM(at.x, at.y));
}

}  // namespace

HWND ActiveWindow() {
    return ActiveWindowRecord();
}

bool CanReach(HWND control) {
    return Reachable(control);
}

std::vector<HWND> ModalWindows() {
    std::vector<HWND> windows;
    for (CDialog* dialog : ModalStack())
        if (IsAlive(dialog->m_hWnd)) windows.push_back(dialog->m_hWnd);
    return windows;
}

HWND FindDescendant(HWND top, int id) {
    if (!IsAlive(top)) return nullptr;
    for (HWND child : top->children) {
        if (!child->alive) continue;
        if (child->id == id) return child;
        if (HWND inner = FindDescendant(child, id)) return inner;
    }
    return nullptr;
}

bool ClickButton(HWND button) {
    if (KindOf(button) != WindowKind::kButton || !Reachable(button)) return false;
    const DWORD type = button->style & BS_TYPEMASK;
    if (type == BS_GROUPBOX) return false;
    TakeFocus(button);
    if (type == BS_AUTOCHECKBOX) SetCheck(button, button->check ? 0 : 1);
    if (type == BS_AUTORADIOBUTTON) {
        for (HWND sibling : button->parent->children)
            if (sibling != button && KindOf(sibling) == WindowKind::kButton &&
                (sibling->style & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                SetCheck(sibling, 0);
        SetCheck(button, 1);
    }
    NotifyParent(button, BN_CLICKED);
    return true;
}

bool TypeChars(HWND edit, const std::wstring& text) {
    if (KindOf(edit) != WindowKind::kEdit || !Reachable(edit) || (edit->style & ES_READONLY))
        return false;
    TakeFocus(edit);
    for (wchar_t c : text) {
        // A handler may have disabled or hidden the edit after the last character.
        if (!Reachable(edit)) return false;
        if (!TypeOne(edit, c)) return false;
    }
    return true;
}

bool EditTextChanged(HWND edit, const std::wstring& text) {
    if (KindOf(edit) != WindowKind::kEdit || !Reachable(edit) || (edit->style & ES_READONLY))
        return false;
    TakeFocus(edit);
    if (text == edit->text) return true;
    edit->selStart = edit->selEnd = static_cast<int>(text.size());
    SetText(edit, text);
    return true;
}

bool ClearEdit(HWND edit) {
    if (KindOf(edit) != WindowKind::kEdit || !Reachable(edit) || (edit->style & ES_READONLY))
        return false;
    TakeFocus(edit);
    edit->selStart = edit->selEnd = 0;
    if (!edit->text.empty()) SetText(edit, L"");
    return true;
}

bool ReplaceEditText(HWND edit, const std::wstring& text) {
    if (KindOf(edit) != WindowKind::kEdit || !Reachable(edit) || (edit->style & ES_READONLY))
        return false;
    if (text.empty()) return ClearEdit(edit);
    // The whole text selected: the first character replaces it.
    edit->selStart = 0;
    edit->selEnd = static_cast<int>(edit->text.size());
    return TypeChars(edit, text);
}

bool ClickListRow(HWND list, int row) {
    if (KindOf(list) != WindowKind::kListBox || !Reachable(list)) return false;
    if (row < 0 || row >= static_cast<int>(list->rows.size())) return false;
    TakeFocus(list);
    if (list->curSel == row) return true;
    list->curSel = row;
    CurrentBackend().WindowChanged(list);
    if (list->style & LBS_NOTIFY) NotifyParent(list, LBN_SELCHANGE);
    return true;
}

bool DoubleClickListRow(HWND list, int row) {
    if (!ClickListRow(list, row)) return false;
    if (IsAlive(list) && (list->style & LBS_NOTIFY)) NotifyParent(list, LBN_DBLCLK);
    return true;
}

bool CancelListSelection(HWND list) {
    if (KindOf(list) != WindowKind::kListBox || !Reachable(list) || list->curSel < 0) return false;
    TakeFocus(list);
    list->curSel = -1;
    CurrentBackend().WindowChanged(list);
    if (list->style & LBS_NOTIFY) NotifyParent(list, LBN_SELCANCEL);
    return true;
}

bool FocusControl(HWND control) {
    if (!IsAlive(control) || !control->parent || !Reachable(control)) return false;
    TakeFocus(control);
    return true;
}

bool CloseWindow(HWND topLevel) {
    if (!IsAlive(topLevel) || topLevel->parent || topLevel != ActiveWindow()) return false;
    Send(topLevel, WM_CLOSE);
    return true;
}

bool PressKey(UINT virtualKey, bool ctrl, bool shift, bool alt) {
    HWND active = ActiveWindow();
    if (!active) return false;
    if (alt && virtualKey == VK_F4) return CloseWindow(active);
    if (KindOf(active) == WindowKind::kDialog) {
        if (virtualKey == VK_ESCAPE) {
            Send(active, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(FindChild(active, IDCANCEL)));
            return true;
        }
        if (virtualKey == VK_TAB && !ctrl && !alt) {
            HWND next = NextTabStop(active, FocusRecord(), !shift);
            if (!next) return false;
            SetFocusRecord(next, FocusCause::kKeyboard);
            return true;
        }
        if (virtualKey == VK_RETURN) {
            // The focused push button, else the default one; the focus stays where it is.
            HWND button = DefaultButton(active);
            if (!button) {
                Send(active, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(FindChild(active, IDOK)));
                return true;
            }
            // A disabled default button takes no Enter.
            if (!button->enabled) return false;
            NotifyParent(button, BN_CLICKED);
            return true;
        }
        if (virtualKey == VK_SPACE) {
            HWND focus = FocusRecord();
            return KindOf(focus) == WindowKind::kButton && ClickButton(focus);
        }
        return false;
    }
    auto* frame = dynamic_cast<CFrameWnd*>(active->wnd);
    if (!frame || !active->enabled) return false;
    const UINT command = frame->TranslateAccelerator(virtualKey, ctrl, shift, alt);
    if (command == 0) return false;
    frame->UpdateMenuPopups(command);
    if (!IsCommandEnabled(frame, command)) return false;
    Send(active, WM_COMMAND, MAKEWPARAM(command, 1), 0);
    return true;
}

bool MouseMove(HWND hwnd, CPoint client, UINT keyFlags) {
    if (!IsAlive(hwnd) || !IsShownOnScreen(hwnd) || !IsEnabledChain(hwnd) ||
        TopLevelOf(hwnd) != ActiveWindow())
        return false;
    SendMouse(hwnd, client, WM_MOUSEMOVE, keyFlags);
    return true;
}

bool MouseButton(HWND hwnd, CPoint client, bool down, UINT keyFlags) {
    if (!IsAlive(hwnd) || !IsShownOnScreen(hwnd) || !IsEnabledChain(hwnd) ||
        TopLevelOf(hwnd) != ActiveWindow())
        return false;
    if (down)
        MouseButtons() |= MK_LBUTTON;
    else
        MouseButtons() &= ~MK_LBUTTON;
    SendMouse(hwnd, client, down ? WM_LBUTTONDOWN : WM_LBUTTONUP, keyFlags);
    return true;
}

bool HighlightMenuItem(CFrameWnd* frame, UINT id) {
    if (!frame || !IsAlive(frame->m_hWnd) || !frame->m_hWnd->enabled) return false;
    frame->UpdateMenuPopups(id);
    if (!FindItem(frame->MenuState(), id)) return false;
    frame->SetMenuTracking(true);
    frame->SetMessageText(id);
    return true;
}

void CloseMenu(CFrameWnd* frame) {
    if (!frame || !IsAlive(frame->m_hWnd)) return;
    frame->SetMenuTracking(false);
    frame->SetMessageText(AFX_IDS_IDLEMESSAGE);
}

bool ChooseMenuItem(CFrameWnd* frame, UINT id) {
    if (!HighlightMenuItem(frame, id)) return false;
    const MenuItemState* item = FindItem(frame->MenuState(), id);
    const bool enabled = item && !(item->flags & (MF_GRAYED | MF_DISABLED));
    CloseMenu(frame);
    if (!enabled) return false;
    Send(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return true;
}

}  // namespace framework
