// The Qt backend's core side: the gate that queues calls while the core is busy, idle
// processing and widget sync after each call, modal loops, the clock and timers, the wait
// cursor, and the application's start and end.
#include "framework/qt/qt_backend.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFontMetrics>
#include <QScreen>
#include <QTimer>
#include <deque>

#include "framework/app.h"
#include "framework/core.h"
#include "framework/qt/key_locks.h"
#include "framework/qt/mirror.h"
#include "framework/qt/name_icon_provider.h"
#include "framework/user_input.h"

namespace qtbackend {

struct QtBackend::State {
    QElapsedTimer clock;
    std::uint64_t skipped = 0;
    QTimer timer;
    QTimer idleTurn;  // another idle turn, for a window invalid again after its paint
    int busy = 0;
    std::deque<std::function<void()>> pending;
    struct Loop {
        QEventLoop* loop;
        std::function<bool()> ended;
    };
    std::vector<Loop> loops;
    CWinApp* app = nullptr;
    bool started = false;
    int run = 0;  // counts the starts: a person's action belongs to the run it came from
    bool execRunning = false;
    bool waitCursor = false;
    HWND lastActive = nullptr;
};

QtBackend::QtBackend() : state_(std::make_unique<State>()) {
    mirror_ = std::make_unique<Mirror>(*this);
    icons_ = std::make_unique<NameIconProvider>();
    state_->clock.start();
    state_->timer.setSingleShot(true);
    state_->timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&state_->timer, &QTimer::timeout, &state_->timer,
                     [this] { Dispatch([this] { DeliverTimers(); }); });
    // An empty call: its settling paints the windows still invalid.
    state_->idleTurn.setSingleShot(true);
    state_->idleTurn.setInterval(0);
    QObject::connect(&state_->idleTurn, &QTimer::timeout, &state_->idleTurn,
                     [this] { Dispatch([] {}); });
}

QtBackend::~QtBackend() {
    Stop();
    if (framework::HasBackend() && &framework::CurrentBackend() == this)
        framework::SetBackend(nullptr);
}

const char* QtBackend::DialogFontFamily() {
    return "DejaVu Sans Condensed";
}

// Start and end

bool QtBackend::Start(CWinApp& app, const std::wstring& executablePath,
                      const std::wstring& commandLine) {
    Stop();
    framework::SetBackend(this);
    state_->app = &app;
    app.FrameworkStart(executablePath, commandLine);
    state_->started = true;
    ++state_->run;
    bool ok = false;
    Dispatch([&app, &ok] { ok = app.InitInstance() != FALSE; });
    if (!ok) {
        Stop();
        return false;
    }
    return true;
}

int QtBackend::Exec() {
    if (Running()) {
        const bool quitOnClose = QGuiApplication::quitOnLastWindowClosed();
        QGuiApplication::setQuitOnLastWindowClosed(false);
        state_->execRunning = true;
        QApplication::exec();
        state_->execRunning = false;
        QGuiApplication::setQuitOnLastWindowClosed(quitOnClose);
    }
    Stop();
    return 0;
}

void QtBackend::Stop() {
    if (!state_->started) return;
    state_->started = false;
    ++state_->busy;
    state_->app->FrameworkStop();
    --state_->busy;
    state_->pending.clear();
    state_->timer.stop();
    state_->idleTurn.stop();
    for (auto& loop : state_->loops) loop.loop->quit();
    mirror_->Clear();
    if (state_->waitCursor) {
        QGuiApplication::restoreOverrideCursor();
        state_->waitCursor = false;
    }
    state_->lastActive = nullptr;
}

bool QtBackend::Running() const {
    return state_->started && !framework::QuitRequested();
}

// The gate

int QtBackend::RunNumber() const {
    return state_->run;
}

bool QtBackend::Busy() const {
    return state_->busy > 0;
}

void QtBackend::Dispatch(std::function<void()> call) {
    if (state_->busy > 0) {
        state_->pending.push_back(std::move(call));
        return;
    }
    if (!state_->started) return;
    ++state_->busy;
    call();
    --state_->busy;
    Settle();
}

void QtBackend::Settle() {
    State& s = *state_;
    while (!s.pending.empty() && s.started) {
        auto call = std::move(s.pending.front());
        s.pending.pop_front();
        ++s.busy;
        call();
        --s.busy;
    }
    if (!s.started) return;
    ++s.busy;
    // A paint that moves its own window (the graph window fits itself to the screen) drew on the
    // backing image of the former size: the window is invalid again and paints once more at the
    // next turn, without waiting for a person's input.
    if (framework::RunIdle()) s.idleTurn.start();
    mirror_->FollowRecentFiles();
    --s.busy;
    mirror_->SyncAll();
    // The window a person acts on gets the keyboard when it changes.
    HWND active = framework::ActiveWindow();
    if (active != s.lastActive) {
        s.lastActive = active;
        if (QWidget* widget = mirror_->WidgetOf(active); widget && widget->isVisible())
            widget->activateWindow();
    }
    for (auto& loop : s.loops)
        if (loop.ended()) loop.loop->quit();
    if (framework::QuitRequested()) {
        for (auto& loop : s.loops) loop.loop->quit();
        if (s.execRunning) QCoreApplication::exit(0);
    }
}

void QtBackend::RunModalLoop(HWND, const std::function<bool()>& ended) {
    State& s = *state_;
    const int busy = s.busy;
    s.busy = 0;
    Settle();
    if (!ended() && s.started && !framework::QuitRequested()) {
        QEventLoop loop;
        s.loops.push_back({&loop, ended});
        loop.exec(QEventLoop::DialogExec);
        s.loops.pop_back();
    }
    s.busy = busy;
}

QWidget* QtBackend::WidgetOf(HWND hwnd) const {
    return mirror_->WidgetOf(hwnd);
}

QWidget* QtBackend::OwnerWidget(HWND owner) const {
    QWidget* widget = owner ? mirror_->TopWidgetOf(owner) : nullptr;
    if (!widget) widget = mirror_->WidgetOf(framework::ActiveWindow());
    return widget;
}

// Screen, fonts, cursor

CRect QtBackend::ScreenRect() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return Backend::ScreenRect();
    const QRect r = screen->availableGeometry();
    return CRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

int QtBackend::TextWidth(const std::wstring& text) const {
    return QFontMetrics(mirror_->DialogFont()).horizontalAdvance(QString::fromStdWString(text));
}

bool QtBackend::KeyLocked(UINT virtualKey) const {
    return X11KeyLocked(virtualKey);
}

void QtBackend::SetWaitCursor(bool shown) {
    if (shown == state_->waitCursor) return;
    state_->waitCursor = shown;
    if (!shown) {
        QGuiApplication::restoreOverrideCursor();
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // Seen before the long call starts: the windows as they are now, and the cursor.
    mirror_->SyncAll();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QGuiApplication::sync();
}

// Window notifications

void QtBackend::WindowCreated(HWND hwnd) {
    mirror_->Created(hwnd);
}

void QtBackend::WindowDestroyed(HWND hwnd) {
    mirror_->Destroyed(hwnd);
    if (state_->lastActive == hwnd) state_->lastActive = nullptr;
}

// Widgets follow their records after each call (Settle); nothing to do at once.
void QtBackend::WindowChanged(HWND) {}
void QtBackend::StatusBarChanged(HWND) {}
void QtBackend::WindowInvalidated(HWND) {}

void QtBackend::MenuChanged(HWND frame) {
    mirror_->MenuChanged(frame);
}

void QtBackend::PaintNow(HWND hwnd) {
    mirror_->Paint(hwnd);
}

// Clock and timers

std::uint64_t QtBackend::NowMs() const {
    return static_cast<std::uint64_t>(state_->clock.elapsed()) + state_->skipped;
}

void QtBackend::TimersChanged(std::uint64_t nextDueMs) {
    if (nextDueMs == 0) {
        state_->timer.stop();
        return;
    }
    const std::uint64_t now = NowMs();
    const std::uint64_t wait = nextDueMs > now ? nextDueMs - now : 0;
    state_->timer.start(static_cast<int>(std::min<std::uint64_t>(wait, 1u << 30)));
}

void QtBackend::DeliverTimers() {
    // The timers due now, each once; a period shorter than the handler waits for the next turn.
    const std::uint64_t now = NowMs();
    while (framework::DeliverNextTimer(now)) {
    }
    TimersChanged(framework::NextTimerDue().value_or(0));
}

void QtBackend::SkipTime(std::uint64_t ms) {
    state_->skipped += ms;
    TimersChanged(framework::NextTimerDue().value_or(0));
}

}  // namespace qtbackend
