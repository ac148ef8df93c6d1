// The headless test driver: start-up, a person's actions, scripts for what opens modally, and
// what the windows show.
#include "framework/headless/driver.h"

#include "common/text_conversion.h"
#include "framework/app.h"
#include "framework/core.h"
#include "framework/dialog.h"
#include "framework/frame.h"
#include "framework/headless/driver_state.h"
#include "framework/headless/platform.h"
#include "framework/user_input.h"

namespace headless {
namespace {

std::string Id(int id) {
    return std::to_string(id);
}

// The control `id` of `dialog` that a person can act on, or the reason why not.
std::string Reach(HWND dialog, int id, HWND& control) {
    control = framework::FindDescendant(dialog, id);
    if (!control) return "no control " + Id(id);
    if (!framework::CanReach(control)) return "control " + Id(id) + " is hidden or disabled";
    return std::string();
}

}  // namespace

std::vector<CRect> PaintLog::Lines() const {
    std::vector<CRect> lines;
    for (const DrawOp& op : ops)
        if (op.kind == DrawOp::kLine) lines.push_back(op.rect);
    return lines;
}

// Dialog scripts

DialogScript& DialogScript::OnControl(int id, std::function<bool(HWND)> act, std::string failure) {
    steps_.push_back(
        [id, act = std::move(act), failure = std::move(failure)](Driver&, HWND dialog) {
            HWND control = nullptr;
            std::string error = Reach(dialog, id, control);
            if (error.empty() && !act(control)) error = "control " + Id(id) + ": " + failure;
            return error;
        });
    return *this;
}

namespace {

bool IsEdit(HWND control) {
    return framework::KindOf(control) == framework::WindowKind::kEdit;
}

}  // namespace

DialogScript& DialogScript::Type(int id, const std::wstring& text) {
    return OnControl(
        id,
        [text](HWND control) {
            // Characters an edit refuses (it is full) are not the script's fault.
            if (IsEdit(control)) framework::ReplaceEditText(control, text);
            return IsEdit(control);
        },
        "no edit");
}

DialogScript& DialogScript::Append(int id, const std::wstring& text) {
    return OnControl(
        id,
        [text](HWND control) {
            if (!IsEdit(control)) return false;
            control->selStart = control->selEnd = static_cast<int>(control->text.size());
            framework::TypeChars(control, text);
            return true;
        },
        "no edit");
}

DialogScript& DialogScript::Paste(int id, const std::wstring& text) {
    return OnControl(
        id, [text](HWND control) { return framework::EditTextChanged(control, text); }, "no edit");
}

DialogScript& DialogScript::Clear(int id) {
    return OnControl(
        id, [](HWND control) { return framework::ClearEdit(control); }, "cannot be cleared");
}

DialogScript& DialogScript::Click(int id) {
    return OnControl(
        id, [](HWND control) { return framework::ClickButton(control); }, "cannot be clicked");
}

DialogScript& DialogScript::SelectRow(int listId, int row) {
    return OnControl(
        listId, [row](HWND control) { return framework::ClickListRow(control, row); },
        "has no row " + Id(row));
}

DialogScript& DialogScript::DoubleClickRow(int listId, int row) {
    return OnControl(
        listId, [row](HWND control) { return framework::DoubleClickListRow(control, row); },
        "has no row " + Id(row));
}

DialogScript& DialogScript::CancelSelection(int listId) {
    return OnControl(
        listId, [](HWND control) { return framework::CancelListSelection(control); },
        "has no selection");
}

DialogScript& DialogScript::PressKey(UINT virtualKey, bool ctrl, bool shift, bool alt) {
    steps_.push_back([virtualKey, ctrl, shift, alt](Driver&, HWND dialog) {
        if (framework::ActiveWindow() != dialog)
            return std::string("the dialog is not the active window");
        // A key that does nothing (Enter on a disabled default button) is no error.
        framework::PressKey(virtualKey, ctrl, shift, alt);
        return std::string();
    });
    return *this;
}

DialogScript& DialogScript::PressEnter() {
    return PressKey(VK_RETURN);
}

DialogScript& DialogScript::PressEscape() {
    return PressKey(VK_ESCAPE);
}

DialogScript& DialogScript::PressTab(bool back) {
    return PressKey(VK_TAB, false, back);
}

DialogScript& DialogScript::PressSpace() {
    return PressKey(VK_SPACE);
}

DialogScript& DialogScript::CloseBox() {
    steps_.push_back([](Driver&, HWND dialog) {
        if (!framework::CloseWindow(dialog)) return std::string("the dialog cannot be closed");
        return std::string();
    });
    return *this;
}

DialogScript& DialogScript::AdvanceClock(std::uint64_t ms) {
    steps_.push_back([ms](Driver& driver, HWND dialog) {
        driver.AdvanceClockWhile(ms, [dialog] {
            auto* d = dynamic_cast<CDialog*>(framework::IsAlive(dialog) ? dialog->wnd : nullptr);
            return d && !d->ModalEnded();
        });
        return std::string();
    });
    return *this;
}

DialogScript& DialogScript::MouseMove(CPoint p, UINT keyFlags) {
    steps_.push_back([p, keyFlags](Driver&, HWND dialog) {
        if (!framework::MouseMove(dialog, p, keyFlags))
            return std::string("the mouse cannot reach the dialog");
        return std::string();
    });
    return *this;
}

DialogScript& DialogScript::MouseDown(CPoint p) {
    steps_.push_back([p](Driver&, HWND dialog) {
        if (!framework::MouseButton(dialog, p, true, 0))
            return std::string("the mouse cannot reach the dialog");
        return std::string();
    });
    return *this;
}

DialogScript& DialogScript::MouseUp(CPoint p) {
    steps_.push_back([p](Driver&, HWND dialog) {
        if (!framework::MouseButton(dialog, p, false, 0))
            return std::string("the mouse cannot reach the dialog");
        return std::string();
    });
    return *this;
}

DialogScript& DialogScript::Check(std::function<void(Driver&)> check) {
    steps_.push_back([check](Driver& driver, HWND) {
        check(driver);
        return std::string();
    });
    return *this;
}

// Driver

Driver::Driver() : state_(std::make_unique<State>()) {
    state_->backend = CreateHeadlessBackend(*this);
    framework::SetBackend(state_->backend.get());
}

Driver::~Driver() {
    if (CWinApp* app = AfxGetApp()) app->FrameworkStop();
    framework::ResetCore();
    // A driver made after this one keeps its own backend.
    if (framework::HasBackend() && &framework::CurrentBackend() == state_->backend.get())
        framework::SetBackend(nullptr);
}

void Driver::SetScreenSize(int width, int height) {
    state_->screen = CRect(0, 0, width, height);
}
void Driver::SetScreenRect(const CRect& rect) {
    state_->screen = rect;
}
void Driver::SetCharWidth(int pixels) {
    state_->charWidth = pixels;
}
void Driver::SetPrinterPage(int widthDots, int heightDots, int dpi) {
    state_->printerPage = CSize(widthDots, heightDots);
    state_->printerDpi = dpi;
}
void Driver::SetPrinterFails(bool fails) {
    state_->printerFails = fails;
}
void Driver::SetShellFails(bool fails) {
    state_->shellFails = fails;
}
void Driver::SetKeyLocked(UINT virtualKey, bool locked) {
    if (locked)
        state_->locked.insert(virtualKey);
    else
        state_->locked.erase(virtualKey);
}

void Driver::AddError(const std::string& error) {
    state_->errors.push_back(error);
}

void Driver::AfterAction() {
    framework::RunIdle();
    if (state_->running && framework::QuitRequested()) {
        state_->running = false;
        if (CWinApp* app = AfxGetApp()) app->FrameworkStop();
    }
}

bool Driver::Start(const std::wstring& commandLine, const StartOptions& options) {
    CWinApp* app = AfxGetApp();
    if (!app) {
        AddError("no application object");
        return false;
    }
    if (state_->running) app->FrameworkStop();
    if (options.screen.cx > 0 && options.screen.cy > 0)
        state_->screen = CRect(0, 0, options.screen.cx, options.screen.cy);
    app->FrameworkStart(options.executablePath, commandLine);
    state_->running = true;
    const bool ok = app->InitInstance() != FALSE;
    if (!ok) {
        state_->running = false;
        app->FrameworkStop();
        return false;
    }
    AfterAction();
    return true;
}

bool Driver::IsRunning() const {
    return state_->running;
}

CWinApp* Driver::App() const {
    return AfxGetApp();
}

CFrameWnd* Driver::MainFrame() const {
    CWinApp* app = AfxGetApp();
    return app ? dynamic_cast<CFrameWnd*>(app->m_pMainWnd) : nullptr;
}

bool Driver::ChooseMenu(UINT id) {
    CFrameWnd* frame = MainFrame();
    if (!frame) {
        AddError("ChooseMenu(" + Id(static_cast<int>(id)) + "): no main window");
        return false;
    }
    const bool ran = framework::ChooseMenuItem(frame, id);
    AfterAction();
    return ran;
}

namespace {

const framework::MenuItemState* FindMenuItem(const std::vector<framework::MenuItemState>& items,
                                             UINT id) {
    for (const auto& item : items) {
        if (item.flags & MF_POPUP) {
            if (const auto* inner = FindMenuItem(item.items, id)) return inner;
        } else if (!(item.flags & MF_SEPARATOR) && item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

}  // namespace

bool Driver::IsMenuItemEnabled(UINT id) {
    CFrameWnd* frame = MainFrame();
    if (!frame) return false;
    frame->UpdateMenuPopups(id);
    const auto* item = FindMenuItem(frame->MenuState(), id);
    return item && !(item->flags & (MF_GRAYED | MF_DISABLED));
}

std::wstring Driver::MenuItemText(UINT id) {
    CFrameWnd* frame = MainFrame();
    if (!frame) return std::wstring();
    frame->UpdateMenuPopups(id);
    const auto* item = FindMenuItem(frame->MenuState(), id);
    return item ? item->text : std::wstring();
}

void Driver::HighlightMenuItem(UINT id) {
    if (!framework::HighlightMenuItem(MainFrame(), id))
        AddError("menu item " + Id(static_cast<int>(id)) + " cannot be highlighted");
    // No idle time: the prompt stays until the menu closes.
}

void Driver::CloseMenu() {
    framework::CloseMenu(MainFrame());
    AfterAction();
}

bool Driver::PressKey(UINT virtualKey, bool ctrl, bool shift, bool alt) {
    const bool ran = framework::PressKey(virtualKey, ctrl, shift, alt);
    AfterAction();
    return ran;
}

void Driver::AdvanceClockWhile(std::uint64_t ms, const std::function<bool()>& goOn) {
    const std::uint64_t target = state_->now + ms;
    for (;;) {
        const auto due = framework::NextTimerDue();
        if (!due || *due > target) break;
        state_->now = std::max(state_->now, *due);
        framework::DeliverNextTimer(state_->now);
        framework::RunIdle();
        // The loop that delivered the timer ended: the rest of the time is not spent in it.
        if (!goOn()) return;
    }
    state_->now = target;
}

void Driver::AdvanceClock(std::uint64_t ms) {
    AdvanceClockWhile(ms, [] { return true; });
    AfterAction();
}

std::uint64_t Driver::Now() const {
    return state_->now;
}

namespace {

HWND MouseWindow(int id) {
    HWND active = framework::ActiveWindow();
    return id == 0 ? active : framework::FindDescendant(active, id);
}

}  // namespace

bool Driver::MouseMove(CPoint p, UINT keyFlags, int id) {
    const bool ok = framework::MouseMove(MouseWindow(id), p, keyFlags);
    if (!ok) AddError("the mouse cannot reach window " + Id(id));
    AfterAction();
    return ok;
}

bool Driver::MouseDown(CPoint p, int id) {
    const bool ok = framework::MouseButton(MouseWindow(id), p, true, 0);
    if (!ok) AddError("the mouse cannot reach window " + Id(id));
    AfterAction();
    return ok;
}

bool Driver::MouseUp(CPoint p, int id) {
    const bool ok = framework::MouseButton(MouseWindow(id), p, false, 0);
    if (!ok) AddError("the mouse cannot reach window " + Id(id));
    AfterAction();
    return ok;
}

void Driver::CloseMainWindow() {
    CFrameWnd* frame = MainFrame();
    if (!frame || !framework::CloseWindow(frame->m_hWnd))
        AddError("the main window cannot be closed");
    AfterAction();
}

void Driver::MoveMainWindow(const CRect& rect) {
    if (CFrameWnd* frame = MainFrame()) frame->MoveWindow(&rect, TRUE);
    AfterAction();
}

// Queue

DialogScript& Driver::NextDialog(int templateId) {
    ScriptEntry entry;
    entry.kind = ScriptEntry::kDialog;
    entry.script.templateId_ = templateId;
    state_->queue.push_back(std::move(entry));
    return state_->queue.back().script;
}

void Driver::AnswerMessageBox(int answer) {
    ScriptEntry entry;
    entry.kind = ScriptEntry::kMessageBox;
    entry.answer = answer;
    state_->queue.push_back(std::move(entry));
}

void Driver::AnswerFileDialog(const std::wstring& path, int filterIndex) {
    ScriptEntry entry;
    entry.kind = ScriptEntry::kFileDialog;
    entry.ok = true;
    entry.path = path;
    entry.filterIndex = filterIndex;
    state_->queue.push_back(std::move(entry));
}

void Driver::CancelFileDialog() {
    ScriptEntry entry;
    entry.kind = ScriptEntry::kFileDialog;
    entry.ok = false;
    state_->queue.push_back(std::move(entry));
}

void Driver::AnswerPrintDialog(short orientation) {
    ScriptEntry entry;
    entry.kind = ScriptEntry::kPrintDialog;
    entry.ok = true;
    entry.orientation = orientation;
    state_->queue.push_back(std::move(entry));
}

void Driver::CancelPrintDialog() {
    ScriptEntry entry;
    entry.kind = ScriptEntry::kPrintDialog;
    entry.ok = false;
    state_->queue.push_back(std::move(entry));
}

size_t Driver::PendingAnswers() const {
    return state_->queue.size();
}

// Reading

HWND Driver::Control(int id) const {
    HWND control = framework::FindDescendant(framework::ActiveWindow(), id);
    if (!control)
        const_cast<Driver*>(this)->AddError("no control " + Id(id) + " in the active window");
    return control;
}

bool Driver::HasControl(int id) const {
    return framework::FindDescendant(framework::ActiveWindow(), id) != nullptr;
}

std::wstring Driver::Text(int id) const {
    HWND control = Control(id);
    return control ? control->text : std::wstring();
}

bool Driver::IsVisible(int id) const {
    HWND control = Control(id);
    return control && framework::IsShownOnScreen(control);
}

bool Driver::IsEnabled(int id) const {
    HWND control = Control(id);
    return control && control->enabled;
}

int Driver::CheckState(int id) const {
    HWND control = Control(id);
    return control ? control->check : 0;
}

std::vector<std::wstring> Driver::ListRows(int id) const {
    HWND control = Control(id);
    return control ? control->rows : std::vector<std::wstring>();
}

int Driver::ListSelection(int id) const {
    HWND control = Control(id);
    return control ? control->curSel : -1;
}

std::vector<std::pair<int, std::wstring>> Driver::ListRowPieces(int id, int row) const {
    HWND control = Control(id);
    std::vector<std::pair<int, std::wstring>> pieces;
    if (!control || row < 0 || row >= static_cast<int>(control->rows.size())) return pieces;
    for (auto& piece :
         framework::ListRowPieces(control, control->rows[static_cast<std::size_t>(row)]))
        pieces.emplace_back(piece.x, std::move(piece.text));
    return pieces;
}

CRect Driver::WindowRect(int id) const {
    HWND control = Control(id);
    return control ? framework::ScreenWindowRect(control) : CRect();
}

std::wstring Driver::Caption() const {
    HWND active = framework::ActiveWindow();
    return active ? active->text : std::wstring();
}

int Driver::ActiveDialogId() const {
    HWND active = framework::ActiveWindow();
    return active ? active->dialogId : 0;
}

int Driver::FocusedControl() const {
    HWND focus = framework::FocusRecord();
    return focus && focus->parent ? focus->id : 0;
}

int Driver::DefaultButtonId() const {
    HWND button = framework::DefaultButton(framework::ActiveWindow());
    return button ? button->id : 0;
}

CRect Driver::ActiveWindowRect() const {
    return framework::ScreenWindowRect(framework::ActiveWindow());
}

bool Driver::MainWindowEnabled() const {
    CFrameWnd* frame = MainFrame();
    return frame && frame->IsWindowEnabled();
}

bool Driver::MainWindowVisible() const {
    CFrameWnd* frame = MainFrame();
    return frame && frame->IsWindowVisible();
}

std::wstring Driver::MainWindowTitle() const {
    CFrameWnd* frame = MainFrame();
    return frame && frame->m_hWnd ? frame->m_hWnd->text : std::wstring();
}

namespace {

CStatusBar* StatusBarOf(CFrameWnd* frame) {
    return frame ? frame->GetStatusBar() : nullptr;
}

}  // namespace

std::wstring Driver::StatusPane(int index) const {
    CStatusBar* bar = StatusBarOf(MainFrame());
    return bar ? bar->GetShownText(index).str() : std::wstring();
}

std::wstring Driver::StatusPaneText(int index) const {
    CStatusBar* bar = StatusBarOf(MainFrame());
    return bar ? bar->GetPaneText(index).str() : std::wstring();
}

UINT Driver::StatusPaneStyle(int index) const {
    CStatusBar* bar = StatusBarOf(MainFrame());
    return bar && index >= 0 && index < bar->GetCount() ? bar->GetPaneStyle(index) : 0;
}

int Driver::StatusPaneCount() const {
    CStatusBar* bar = StatusBarOf(MainFrame());
    return bar ? bar->GetCount() : 0;
}

std::vector<std::wstring> Driver::RecentFiles() const {
    CWinApp* app = AfxGetApp();
    return app && app->RecentFiles() ? app->RecentFiles()->Entries() : std::vector<std::wstring>();
}

// Records

const std::vector<MessageBoxRecord>& Driver::MessageBoxes() const {
    return state_->messageBoxes;
}
const std::vector<FileDialogRecord>& Driver::FileDialogs() const {
    return state_->fileDialogs;
}
const std::vector<PrintDialogRecord>& Driver::PrintDialogs() const {
    return state_->printDialogs;
}
const std::vector<PrintJobRecord>& Driver::PrintJobs() const {
    return state_->printJobs;
}
const std::vector<std::string>& Driver::ShellRequests() const {
    return state_->shellRequests;
}
const std::vector<PaintLog>& Driver::Paints() const {
    return state_->paints;
}

const PaintLog* Driver::LastPaint(int dialogId, int controlId) const {
    const auto& paints = state_->paints;
    for (auto it = paints.rbegin(); it != paints.rend(); ++it)
        if (it->dialogId == dialogId && it->controlId == controlId) return &*it;
    return nullptr;
}

int Driver::WaitCursorShows() const {
    return state_->waitCursorShows;
}
bool Driver::WaitCursorShown() const {
    return state_->waitCursorShown;
}
const std::vector<int>& Driver::DialogsOpened() const {
    return state_->dialogsOpened;
}
const std::vector<std::string>& Driver::Errors() const {
    return state_->errors;
}

void Driver::ClearRecords() {
    state_->messageBoxes.clear();
    state_->fileDialogs.clear();
    state_->printDialogs.clear();
    state_->printJobs.clear();
    state_->shellRequests.clear();
    state_->paints.clear();
    state_->waitCursorShows = 0;
    state_->dialogsOpened.clear();
}

}  // namespace headless
