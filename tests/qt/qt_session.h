// An application run on the Qt backend (offscreen) for tests: start and stop, waiting for Qt,
// answering the next modal window through its widgets, closing (as a failure) a modal window no
// test answers, and the check that every live window record matches its widget.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/core.h"
#include "framework/framework.h"
#include "framework/qt/mirror.h"
#include "framework/qt/qt_backend.h"
#include "framework/user_input.h"

class QtSession : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kurvomat-qt-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
        backend_ = std::make_unique<qtbackend::QtBackend>();
        StartWatchdog();
    }

    void TearDown() override {
        for (const QPointer<QTimer>& timer : timers_) delete timer.data();
        timers_.clear();
        if (backend_) backend_->Stop();
        backend_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty() || !QApplication::activeModalWidget())
            << "a modal window was left open";
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // Starts `app` on the backend; a splash running on a timer is let run out at once.
    bool Start(CWinApp& app, const std::wstring& commandLine,
               const std::wstring& exe = L"/opt/kurvomat/bin/kurvomat") {
        QTimer::singleShot(0, [this] { backend_->SkipTime(3000); });
        return backend_->Start(app, exe, commandLine);
    }

    qtbackend::QtBackend& Backend() { return *backend_; }
    std::filesystem::path Folder() const { return folder_; }

    static HWND MainHwnd() {
        CWinApp* app = AfxGetApp();
        return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    }
    static CFrameWnd* Frame() {
        CWinApp* app = AfxGetApp();
        return app ? dynamic_cast<CFrameWnd*>(app->m_pMainWnd) : nullptr;
    }

    // A widget or action by object name among every window.
    template <class T>
    static T* Find(const QString& name) {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* self = qobject_cast<T*>(top); self && top->objectName() == name) return self;
            if (T* found = top->findChild<T*>(name)) return found;
        }
        return nullptr;
    }

    // Runs Qt's events until `done` answers true; false after `ms`.
    static bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > ms) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }

    // From now on, `act` runs on the modal window named `name` each time Qt is idle until it
    // answers true (it may act on the window's widgets and close it). Until then a modal window
    // of that name is expected; any other is closed by the watchdog as a failure.
    void OnModal(const QString& name, std::function<bool(QWidget*)> act) {
        auto* timer = new QTimer(qApp);
        timers_.push_back(timer);
        ++expected_[name];
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, timer, [this, timer, name, act] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal->objectName() != name || !modal->isVisible()) return;
            if (!act(modal)) return;
            --expected_[name];
            // Stopped at once: the next modal window may come before the deletion.
            timer->stop();
            timer->deleteLater();
        });
        timer->start();
    }

    // Every live window record of the running application against its widget.
    void ExpectMirror() {
        std::vector<HWND> tops;
        if (HWND main = MainHwnd()) tops.push_back(main);
        for (HWND dialog : framework::ModalWindows()) tops.push_back(dialog);
        for (HWND top : tops) ExpectMirrored(top);
    }

    static QString Plain(const std::wstring& text) {
        QString out = QString::fromStdWString(text);
        out.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
        out.remove(QLatin1Char('&'));
        out.replace(QStringLiteral("\x01"), QStringLiteral("&"));
        return out;
    }

  private:
    void ExpectMirrored(HWND hwnd) {
        if (!framework::IsAlive(hwnd) || (!hwnd->parent && !hwnd->visible)) return;
        QWidget* widget = backend_->WidgetOf(hwnd);
        const std::string what = "record " + std::to_string(hwnd->id) + " of class " +
                                 std::string(hwnd->className.begin(), hwnd->className.end());
        ASSERT_NE(widget, nullptr) << what;
        const QRect expected = qtbackend::Mirror::LayoutOf(hwnd).widgetRect;
        if (hwnd->parent) {
            EXPECT_EQ(widget->geometry(), expected) << what;
            EXPECT_EQ(widget->isVisibleTo(widget->parentWidget()), hwnd->visible) << what;
            EXPECT_EQ(!widget->testAttribute(Qt::WA_Disabled), hwnd->enabled) << what;
        } else {
            EXPECT_EQ(widget->size(), expected.size()) << what;
            EXPECT_EQ(widget->isVisible(), hwnd->visible) << what;
            EXPECT_EQ(widget->windowTitle().toStdWString(), hwnd->text) << what;
        }
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            EXPECT_EQ(edit->text().toStdWString(), hwnd->text) << what;
        } else if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull()) {
            EXPECT_EQ(label->text(), (hwnd->style & SS_NOPREFIX)
                                         ? QString::fromStdWString(hwnd->text)
                                         : Plain(hwnd->text))
                << what;
        } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_EQ(Plain(box->title().toStdWString()), Plain(hwnd->text)) << what;
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            EXPECT_EQ(Plain(button->text().toStdWString()), Plain(hwnd->text)) << what;
            EXPECT_EQ(button->isChecked(), hwnd->check != 0) << what;
        } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
            std::vector<std::wstring> rows;
            for (int i = 0; i < list->count(); ++i)
                rows.push_back(list->item(i)->text().toStdWString());
            EXPECT_EQ(rows, hwnd->rows) << what;
            const auto selected = list->selectedItems();
            EXPECT_EQ(selected.isEmpty() ? -1 : list->row(selected.first()), hwnd->curSel) << what;
        }
        for (HWND child : hwnd->children) ExpectMirrored(child);
    }

    // A modal window that no OnModal expects, or that stays open for long, would block the test
    // until ctest's timeout: it is recorded as a failure and closed, so the test ends in seconds.
    void StartWatchdog() {
        auto* timer = new QTimer(qApp);
        timers_.push_back(timer);
        timer->setInterval(50);
        QObject::connect(timer, &QTimer::timeout, timer, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) {
                suspect_ = nullptr;
                return;
            }
            if (modal != suspect_) {
                suspect_ = modal;
                suspectSince_.start();
                return;
            }
            const bool unexpected = expected_[modal->objectName()] <= 0;
            if (suspectSince_.elapsed() < (unexpected ? kUnexpectedMs : kStuckMs)) return;
            QStringList texts;
            for (const QLabel* label : modal->findChildren<QLabel*>())
                if (!label->text().isEmpty()) texts << label->text();
            ADD_FAILURE() << (unexpected ? "unexpected" : "unanswered") << " modal window "
                          << modal->objectName().toStdString() << " \""
                          << modal->windowTitle().toStdString()
                          << "\": " << texts.join(QStringLiteral(" | ")).toStdString();
            suspect_ = nullptr;
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();  // a dialog of the core: WM_CLOSE through the core
        });
        timer->start();
    }

    static constexpr qint64 kUnexpectedMs = 2000;
    static constexpr qint64 kStuckMs = 30000;

    std::filesystem::path folder_;
    std::unique_ptr<qtbackend::QtBackend> backend_;
    std::vector<QPointer<QTimer>> timers_;
    std::map<QString, int> expected_;
    QPointer<QWidget> suspect_;
    QElapsedTimer suspectSince_;
};
