// A person's actions turned into the framework's messages; the backends call these. Each
// answers false (and does nothing) when a person could not do it: the window is hidden or
// disabled, or a modal window other than its own is active.
#pragma once

#include <string>
#include <vector>

#include "framework/types.h"

class CFrameWnd;

namespace framework {

// The window that takes the keyboard and mouse: the innermost modal dialog, else the main
// window; nullptr when nothing runs.
HWND ActiveWindow();
// The modal dialogs running, outermost first.
std::vector<HWND> ModalWindows();
// A person can act on the control: it is shown, enabled and in the active window.
bool CanReach(HWND control);
// Control `id` among the descendants of `top`, nullptr when none.
HWND FindDescendant(HWND top, int id);

// Buttons: a push button sends BN_CLICKED; a check box toggles (automatic ones) and sends it.
// Every click and every editing below gives the control the keyboard focus first.
bool ClickButton(HWND button);
// Types `text` at the end of the edit's text, one character at a time; every character sends
// EN_UPDATE then EN_CHANGE. An edit without ES_AUTOHSCROLL refuses characters beyond its
// visible width. Answers false when a character was refused.
bool TypeChars(HWND edit, const std::wstring& text);
// The edit's text became `text` by a person's editing in a backend's own edit widget: one
// change, with its notifications (a backend whose widgets edit by themselves calls this).
bool EditTextChanged(HWND edit, const std::wstring& text);
// Selects the whole text and deletes it (one change) when it is not empty.
bool ClearEdit(HWND edit);
// Selects the whole text and types `text` over it.
bool ReplaceEditText(HWND edit, const std::wstring& text);
// A click on a row: selects it (LBN_SELCHANGE when the selection changed).
bool ClickListRow(HWND list, int row);
// A double click on a row: the click, then LBN_DBLCLK.
bool DoubleClickListRow(HWND list, int row);
// Ctrl+click on the selected row: no row selected any more, LBN_SELCANCEL.
bool CancelListSelection(HWND list);
// A person's click gave `control` the keyboard focus (a backend whose widgets take the focus by
// themselves calls this).
bool FocusControl(HWND control);
// A key pressed in the active window. In a dialog: Tab and Shift+Tab move the focus over the
// tab stops; Enter presses the focused push button, else the default push button (IDOK without
// one; nothing when it is disabled); Space clicks the focused button; Escape sends IDCANCEL. In
// the main window: accelerators (a command runs only when its update handler leaves it
// enabled). Alt+F4 closes.
bool PressKey(UINT virtualKey, bool ctrl, bool shift, bool alt);
// The close box of a top-level window: WM_CLOSE.
bool CloseWindow(HWND topLevel);
// Mouse at a point of `hwnd`'s client area; the message goes to the child under the point
// when that child takes the mouse (statics and group boxes let it through). A point outside the
// client area is over another window: nothing is sent, unless a window holds the capture
// (CWnd::SetCapture), which then takes every mouse message at that screen point.
bool MouseMove(HWND hwnd, CPoint client, UINT keyFlags);
bool MouseButton(HWND hwnd, CPoint client, bool down, UINT keyFlags);

// Menus of the main window: highlight shows the item's prompt in the message pane; closing
// the menu brings the idle message back; choosing runs the update handlers of the item's popup
// and sends the command only when the item is enabled.
bool HighlightMenuItem(CFrameWnd* frame, UINT id);
void CloseMenu(CFrameWnd* frame);
bool ChooseMenuItem(CFrameWnd* frame, UINT id);

}  // namespace framework
