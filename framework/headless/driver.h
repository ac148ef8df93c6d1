// The headless test driver: starts the application, acts as a person would (menus, keys,
// dialogs, mouse, clock), scripts the modal dialogs and system dialogs, and reads back what
// the windows show and what a paint or print job drew.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/common_dialogs.h"
#include "framework/types.h"

class CFrameWnd;
class CWinApp;

namespace headless {

class Driver;

// What one paint, print page or preview page drew.
struct DrawOp {
    enum Kind { kLine, kInvert } kind;
    CRect rect;  // a line: (x0, y0) -> (x1, y1) as left, top -> right, bottom
};
struct PaintLog {
    int dialogId = 0;   // template id of the top-level window, 0 for the main window
    int controlId = 0;  // id of the painted window inside it, 0 for the top-level window
    CSize size;
    std::vector<DrawOp> ops;
    std::vector<CRect> Lines() const;
};

struct MessageBoxRecord {
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
    int answer = 0;
};

struct FileDialogRecord {
    bool open = true;
    std::wstring title;
    std::vector<std::pair<std::wstring, std::wstring>> filters;
    int filterIndex = 1;
    std::wstring defaultExtension;
    std::wstring initialName;
    DWORD flags = 0;
    bool ok = false;
    std::wstring path;
};

struct PrintDialogRecord {
    bool setupOnly = false;
    DWORD flags = 0;
    short orientationShown = 0;
    bool ok = false;
};

struct PrintJobRecord {
    bool preview = false;
    std::wstring documentName;
    std::vector<PaintLog> pages;
};

// What happens inside one modal dialog, step after step. When the steps run out and the
// dialog has not ended, the driver records an error and ends it with IDABORT.
class DialogScript {
  public:
    // Selects the edit's whole text and types `text` over it, one character at a time.
    DialogScript& Type(int id, const std::wstring& text);
    // Types at the end of the current text.
    DialogScript& Append(int id, const std::wstring& text);
    // Selects the edit's whole text and pastes `text` over it: one change, and no stop at the
    // visible width, as pasting does not stop there.
    DialogScript& Paste(int id, const std::wstring& text);
    DialogScript& Clear(int id);
    DialogScript& Click(int id);
    DialogScript& Tick(int id) { return Click(id); }
    DialogScript& SelectRow(int listId, int row);
    DialogScript& DoubleClickRow(int listId, int row);
    DialogScript& CancelSelection(int listId);
    DialogScript& PressEnter();
    DialogScript& PressEscape();
    // Tab (Shift+Tab with `back`) and Space, in the dialog's keyboard focus.
    DialogScript& PressTab(bool back = false);
    DialogScript& PressSpace();
    DialogScript& PressKey(UINT virtualKey, bool ctrl = false, bool shift = false,
                           bool alt = false);
    DialogScript& CloseBox();
    // Moves the clock, delivering the timers due; when one of them ends this dialog, the
    // clock stops at that moment (the rest of the time is not spent).
    DialogScript& AdvanceClock(std::uint64_t ms);
    // Mouse at a point of the dialog's client area. A point outside it (negative, or beyond its
    // size) is outside the dialog: the dialog sees it only while it holds the capture.
    DialogScript& MouseMove(CPoint p, UINT keyFlags = 0);
    DialogScript& MouseDown(CPoint p);
    DialogScript& MouseUp(CPoint p);
    // Runs `check` while the dialog is open (read its controls through the driver).
    DialogScript& Check(std::function<void(Driver&)> check);

  private:
    friend class Driver;
    friend class HeadlessBackend;
    // A step on control `id` of the dialog: reached as a person would, then `act`; `failure`
    // says what went wrong when act answers false.
    DialogScript& OnControl(int id, std::function<bool(HWND)> act, std::string failure);
    int templateId_ = 0;  // 0: any dialog
    // Each step answers what went wrong, "" when it went through.
    std::vector<std::function<std::string(Driver&, HWND)>> steps_;
};

struct StartOptions {
    std::wstring executablePath = L"/opt/kurvomat/bin/Kurvomat";
    // 0 x 0: the screen as set (1920 x 1080 unless SetScreenSize said otherwise).
    CSize screen{0, 0};
};

class Driver {
  public:
    // Installs the headless backend: screen 1920 x 1080, clock at 0, nothing scripted.
    Driver();
    // Ends a running application without questions.
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // ---- Set-up ------------------------------------------------------------------------------
    void SetScreenSize(int width, int height);
    // The desktop's work area in screen coordinates (a panel may keep its top or left edge away
    // from 0).
    void SetScreenRect(const CRect& rect);
    // Width of one character in the dialog font (6 unless set).
    void SetCharWidth(int pixels);
    // Printable page of the printer in portrait, in dots, and its resolution.
    void SetPrinterPage(int widthDots, int heightDots, int dpi = 300);
    // The printer refuses to start jobs.
    void SetPrinterFails(bool fails);
    // No program on the desktop opens the files the shell is asked to open (they are still
    // recorded).
    void SetShellFails(bool fails);
    void SetKeyLocked(UINT virtualKey, bool locked);

    // ---- Start and exit ----------------------------------------------------------------------
    // Runs the application object's start-up with `commandLine` (arguments after the program
    // name, "" for none); answers what InitInstance answered.
    bool Start(const std::wstring& commandLine = L"", const StartOptions& options = StartOptions());
    bool IsRunning() const;
    CWinApp* App() const;
    CFrameWnd* MainFrame() const;

    // ---- Acting on the main window --------------------------------------------------------------
    // Opens the item's popup and clicks the item; false when it is absent or disabled.
    bool ChooseMenu(UINT id);
    // Open the item's popup as a person would (its update handlers run) and read the item.
    bool IsMenuItemEnabled(UINT id);
    std::wstring MenuItemText(UINT id);
    void HighlightMenuItem(UINT id);
    void CloseMenu();
    // A key in the active window (the innermost dialog, else the main window); letters are the
    // virtual keys 'A'..'Z'. Answers whether a command (or Enter, Escape, Alt+F4) went out.
    bool PressKey(UINT virtualKey, bool ctrl = false, bool shift = false, bool alt = false);
    void AdvanceClock(std::uint64_t ms);
    std::uint64_t Now() const;
    // Mouse at a client point of the main window's view (or of control `id` of the active window).
    bool MouseMove(CPoint p, UINT keyFlags = 0, int id = AFX_IDW_PANE_FIRST);
    bool MouseDown(CPoint p, int id = AFX_IDW_PANE_FIRST);
    bool MouseUp(CPoint p, int id = AFX_IDW_PANE_FIRST);
    // The close box of the main window.
    void CloseMainWindow();
    // Moves and sizes the main window (screen coordinates).
    void MoveMainWindow(const CRect& rect);

    // ---- Scripting what comes next (one queue, in the order things open) --------------------
    // The next modal dialog; templateId 0 accepts any.
    DialogScript& NextDialog(int templateId = 0);
    void AnswerMessageBox(int answer);
    void AnswerFileDialog(const std::wstring& path, int filterIndex = 1);
    void CancelFileDialog();
    // Confirms the next print or print set-up dialog, the user having chosen `orientation`
    // (0: as shown).
    void AnswerPrintDialog(short orientation = 0);
    void CancelPrintDialog();
    // Steps queued and not used.
    size_t PendingAnswers() const;

    // ---- Reading ------------------------------------------------------------------------------
    // Controls of the active window (the innermost dialog, else the main window); reading a
    // control that is not there is a driver error.
    bool HasControl(int id) const;
    std::wstring Text(int id) const;
    bool IsVisible(int id) const;
    bool IsEnabled(int id) const;
    int CheckState(int id) const;
    std::vector<std::wstring> ListRows(int id) const;
    int ListSelection(int id) const;
    // Where row `row` of list `id` shows the pieces of its text between tabs: each piece's left
    // edge in pixels from the start of the text, and the piece.
    std::vector<std::pair<int, std::wstring>> ListRowPieces(int id, int row) const;
    CRect WindowRect(int id) const;  // screen coordinates
    // The active window itself.
    std::wstring Caption() const;
    int ActiveDialogId() const;  // 0 when no dialog is open
    // The control with the keyboard focus, 0 when the window itself has it.
    int FocusedControl() const;
    // The push button Enter presses, shown as the default one; 0 when there is none.
    int DefaultButtonId() const;
    CRect ActiveWindowRect() const;
    bool MainWindowEnabled() const;
    bool MainWindowVisible() const;
    std::wstring MainWindowTitle() const;
    // Status bar panes: what they show (nothing while disabled), their style, their count.
    std::wstring StatusPane(int index) const;
    std::wstring StatusPaneText(int index) const;
    UINT StatusPaneStyle(int index) const;
    int StatusPaneCount() const;
    std::vector<std::wstring> RecentFiles() const;

    // ---- Records ------------------------------------------------------------------------------
    const std::vector<MessageBoxRecord>& MessageBoxes() const;
    const std::vector<FileDialogRecord>& FileDialogs() const;
    const std::vector<PrintDialogRecord>& PrintDialogs() const;
    const std::vector<PrintJobRecord>& PrintJobs() const;
    const std::vector<std::string>& ShellRequests() const;  // "verb file"
    // Every paint in order; the last paint of a window.
    const std::vector<PaintLog>& Paints() const;
    const PaintLog* LastPaint(int dialogId, int controlId = 0) const;
    const PaintLog* LastViewPaint() const { return LastPaint(0, AFX_IDW_PANE_FIRST); }
    int WaitCursorShows() const;
    bool WaitCursorShown() const;
    // Dialog template ids in the order the dialogs opened.
    const std::vector<int>& DialogsOpened() const;
    // What went wrong in the scripting: a dialog with no script, a script that ran out, an
    // action a person could not do, an answer missing or of the wrong kind. A test asserts
    // that it stays empty.
    const std::vector<std::string>& Errors() const;
    void ClearRecords();

    void AddError(const std::string& error);
    // Moves the clock by `ms`, delivering the timers due, while goOn answers true.
    void AdvanceClockWhile(std::uint64_t ms, const std::function<bool()>& goOn);

    // The driver's state (shared with the headless backend).
    struct State;

  private:
    void AfterAction();
    HWND Control(int id) const;
    std::unique_ptr<State> state_;
    friend class HeadlessBackend;
    friend class DialogScript;
};

}  // namespace headless
