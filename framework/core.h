// The framework's core state: window records, the current message, timers, modal loops,
// notification lock-out. Internal to the framework; the application never includes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/backend.h"
#include "framework/cstring.h"
#include "framework/types.h"

class CWnd;
class CDialog;
class CWinApp;

// One window of the tree. Records are kept (dead) until the core is reset, so a stale handle
// never points to freed memory.
struct HWND__ {
    std::wstring className;
    int id = 0;
    std::wstring text;
    DWORD style = 0;
    DWORD exStyle = 0;
    CRect rect;  // parent's client coordinates; screen coordinates for a top-level window
    bool visible = false;
    bool enabled = true;
    bool alive = true;
    bool hasMenu = false;
    int check = 0;
    std::vector<std::wstring> rows;
    int curSel = -1;
    std::vector<int> tabStops;  // a list's tab stops, in dialog units
    int selStart = 0;           // an edit's selection
    int selEnd = 0;
    HWND parent = nullptr;  // child windows
    HWND owner = nullptr;   // top-level windows
    std::vector<HWND> children;
    CWnd* wnd = nullptr;            // the attached object
    std::unique_ptr<CWnd> standIn;  // answers FromHandle when no object is attached
    bool invalid = false;
    bool erase = false;
    int dialogId = 0;      // template id of a dialog
    HWND focus = nullptr;  // a top-level window's control with the keyboard focus (none: itself)
};

namespace framework {

enum class WindowKind { kOther, kButton, kEdit, kStatic, kListBox, kDialog, kDesktop };

WindowKind KindOf(HWND hwnd);
// Window class names compare without regard to case, as on the platform.
bool SameClassName(const std::wstring& className, const wchar_t* name);
bool IsAlive(HWND hwnd);

// Creates a record; a child when `parent` is given, else a top-level window owned by `owner`.
HWND CreateRecord(const std::wstring& className, const std::wstring& text, DWORD style,
                  DWORD exStyle, const CRect& rect, HWND parent, HWND owner, int id);
// Sends WM_DESTROY, destroys the children, detaches the object and calls its PostNcDestroy.
void DestroyRecord(HWND hwnd);
// Destroys every window and forgets every record, timer and loop (end of a run).
void ResetCore();

// Message delivery to the attached object (its message maps) or the platform's processing.
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// The platform's own processing of a message for a window (by its class).
LRESULT DefaultProcessing(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The message being handled by `hwnd` (for CWnd::Default); false when none.
bool CurrentMessage(HWND hwnd, UINT& message, WPARAM& wParam, LPARAM& lParam);
// WM_COMMAND of a control notification to the control's parent.
void NotifyParent(HWND control, UINT code);

// Text, with the edit's notifications (EN_UPDATE then EN_CHANGE) when it is an edit.
void SetText(HWND hwnd, const std::wstring& text);
void SetCheck(HWND hwnd, int check);

// Geometry.
struct Insets {
    int left = 0, top = 0, right = 0, bottom = 0;
};
Insets NonClientInsets(HWND hwnd);
CRect ScreenWindowRect(HWND hwnd);
CPoint ClientOrigin(HWND hwnd);
CRect ClientRect(HWND hwnd);
void MoveRecord(HWND hwnd, const CRect& rect, bool repaint);
HWND TopLevelOf(HWND hwnd);
HWND FindChild(HWND parent, int id);
HWND DesktopWindow();
bool IsShownOnScreen(HWND hwnd);
bool IsEnabledChain(HWND hwnd);

// Invalidation and painting.
void InvalidateRecord(HWND hwnd, bool erase, bool children);
void ValidateRecord(HWND hwnd);
void UpdateRecord(HWND hwnd);
PaintDevice* CurrentPaintDevice(HWND hwnd);

// A list row cut at its tab characters, each piece with its left edge in pixels from the start
// of the row's text, measured with the backend's text width. With LBS_USETABSTOPS a tab moves to
// the list's next stop: every 32 dialog units when none is set, every multiple of the one stop
// when one is set, each of several in turn and every 32 units past the last. Without the style
// the row is one piece.
struct TextPiece {
    int x = 0;
    std::wstring text;
};
std::vector<TextPiece> ListRowPieces(HWND list, const std::wstring& row);

// Timers.
UINT_PTR SetTimerRecord(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC callback);
bool KillTimerRecord(HWND hwnd, UINT_PTR id);

// Notification lock-out while UpdateData runs on a window.
void PushLockout(HWND hwnd);
void PopLockout();
bool IsLockedOut(HWND hwnd);

// Modal loops.
void PushModal(CDialog* dialog);
void PopModal(CDialog* dialog);
const std::vector<CDialog*>& ModalStack();

// Message boxes (owner: a top-level window or nullptr for the active window).
int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);
std::wstring ApplicationTitle();

// The innermost modal dialog, else the main window.
HWND ActiveWindowRecord();

// Keyboard focus. Each top-level window keeps the control that has the focus while the window
// is active, so a dialog gets its focus back when a dialog it opened ends.
enum class FocusCause {
    kProgram,   // SetFocus
    kKeyboard,  // Tab, a dialog's first focus, GotoDlgCtrl: an edit's whole text is selected
    kClick,     // a person's click or editing
};
// The window with the keyboard focus: the active window's focused control, else the active
// window itself; nullptr when nothing runs.
HWND FocusRecord();
// Gives `hwnd` the focus in its top-level window; a control that cannot take it (hidden or
// disabled) passes it on to the next tab stop.
void SetFocusRecord(HWND hwnd, FocusCause cause);
// The tab stop after (`forward`) or before `from` among the visible, enabled WS_TABSTOP
// controls of `top`, in template order and wrapping round (`from` outside them: the first or the
// last); nullptr when there is none.
HWND NextTabStop(HWND top, HWND from, bool forward);
// `hwnd` was disabled or hidden: a focus on it or inside it moves on to the next tab stop.
void FocusMovesOn(HWND hwnd);
// The push button that Enter presses in `dialog`, shown as its default button: the focused
// push button, else the template's default push button, else the push button IDOK; nullptr
// when there is none.
HWND DefaultButton(HWND dialog);

// Wait cursor.
void BeginWait();
void EndWait();
void RestoreWait();

// The mouse buttons held down (MK_LBUTTON).
UINT& MouseButtons();
// The window holding the mouse capture, nullptr when none (cleared when it is destroyed).
HWND& CaptureWindow();

// The application quits when its main window is destroyed.
bool QuitRequested();
void ClearQuit();

}  // namespace framework
