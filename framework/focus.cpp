// The keyboard focus: the control each top-level window keeps, the tab order of a dialog, and
// the button Enter presses.
#include <algorithm>

#include "framework/core.h"

namespace framework {
namespace {

// Shown and enabled up to its top-level window, whose own state does not count: a dialog places
// its focus before it is shown and keeps it while a dialog it opened disables it.
bool TakesFocus(HWND hwnd) {
    if (!IsAlive(hwnd) || !hwnd->parent) return false;
    for (HWND h = hwnd; h->parent; h = h->parent)
        if (!h->alive || !h->visible || !h->enabled) return false;
    return true;
}

bool IsTabStop(HWND hwnd) {
    return (hwnd->style & WS_TABSTOP) && TakesFocus(hwnd);
}

bool IsPushButton(HWND hwnd) {
    if (KindOf(hwnd) != WindowKind::kButton) return false;
    const DWORD type = hwnd->style & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// Every live descendant, parents before their children, in creation (template) order.
void Descendants(HWND hwnd, std::vector<HWND>& out) {
    for (HWND child : hwnd->children) {
        if (!child->alive) continue;
        out.push_back(child);
        Descendants(child, out);
    }
}

bool Inside(HWND hwnd, HWND container) {
    for (; hwnd; hwnd = hwnd->parent)
        if (hwnd == container) return true;
    return false;
}

}  // namespace

HWND FocusRecord() {
    HWND active = ActiveWindowRecord();
    if (!active) return nullptr;
    HWND focus = active->focus;
    return IsAlive(focus) && TopLevelOf(focus) == active ? focus : active;
}

void SetFocusRecord(HWND hwnd, FocusCause cause) {
    if (!IsAlive(hwnd)) return;
    HWND top = TopLevelOf(hwnd);
    HWND target = hwnd == top ? nullptr : hwnd;
    if (target && !TakesFocus(target)) target = NextTabStop(top, target, true);
    top->focus = target;
    if (target && cause == FocusCause::kKeyboard && KindOf(target) == WindowKind::kEdit) {
        target->selStart = 0;
        target->selEnd = static_cast<int>(target->text.size());
    }
    if (HasBackend()) CurrentBackend().WindowChanged(top);
}

HWND NextTabStop(HWND top, HWND from, bool forward) {
    if (!IsAlive(top)) return nullptr;
    std::vector<HWND> order;
    Descendants(top, order);
    const std::size_t n = order.size();
    if (n == 0) return nullptr;
    const auto at = std::find(order.begin(), order.end(), from);
    const std::size_t start =
        at != order.end() ? static_cast<std::size_t>(at - order.begin()) : (forward ? n - 1 : 0);
    // The last step comes back to `from` itself: a lone tab stop keeps the focus.
    for (std::size_t step = 1; step <= n; ++step) {
        const std::size_t i = forward ? (start + step) % n : (start + n - step) % n;
        if (IsTabStop(order[i])) return order[i];
    }
    return nullptr;
}

void FocusMovesOn(HWND hwnd) {
    if (!IsAlive(hwnd) || !hwnd->parent) return;
    HWND top = TopLevelOf(hwnd);
    HWND focus = top->focus;
    if (!IsAlive(focus) || !Inside(focus, hwnd) || TakesFocus(focus)) return;
    top->focus = NextTabStop(top, focus, true);
    if (HasBackend()) CurrentBackend().WindowChanged(top);
}

HWND DefaultButton(HWND dialog) {
    if (!IsAlive(dialog)) return nullptr;
    HWND focus = dialog->focus;
    if (IsAlive(focus) && TopLevelOf(focus) == dialog && IsPushButton(focus)) return focus;
    for (HWND child : dialog->children)
        if (child->alive && IsPushButton(child) && (child->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return child;
    HWND ok = FindChild(dialog, IDOK);
    return IsPushButton(ok) ? ok : nullptr;
}

}  // namespace framework
