// Keeps modal windows on the screen.
#include "framework/qt/modal_window_keeper.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace qtbackend {

bool ModalWindowKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::WindowStateChange || !watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    auto* window = static_cast<QWidget*>(watched);
    if (window->isWindow() && window->isModal() && window->isMinimized()) {
        // After the change is through: restoring from inside it is overridden by its end.
        QTimer::singleShot(0, window, [window] {
            if (!window->isMinimized()) return;
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
            window->show();
            window->raise();
            window->activateWindow();
        });
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace qtbackend
