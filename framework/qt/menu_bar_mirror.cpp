// The menu bar mirror: the frame's menu state shown as Qt menus, updated in place, and a person's
// hovering, opening and choosing turned into the framework's menu input.
#include "framework/qt/menu_bar_mirror.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

#include "framework/core.h"
#include "framework/frame.h"
#include "framework/qt/mirror.h"
#include "framework/qt/qt_backend.h"
#include "framework/user_input.h"

namespace qtbackend {
namespace {

using framework::MenuItemState;

QString Q(const std::wstring& text) {
    return QString::fromStdWString(text);
}

// What an item is; an action showing an item of the same key is updated in place.
QString KeyOf(const MenuItemState& item) {
    if (item.flags & MF_SEPARATOR) return QStringLiteral("-");
    if (item.flags & MF_POPUP) return QStringLiteral("[");
    return QString::number(item.id);
}

CFrameWnd* FrameOf(HWND hwnd) {
    return framework::IsAlive(hwnd) ? dynamic_cast<CFrameWnd*>(hwnd->wnd) : nullptr;
}

QString KeyOf(const QAction* action) {
    return action->property("kurvomatKey").toString();
}

// The first command of a popup (the core updates the popups on the way to a command).
UINT FirstCommand(const std::vector<MenuItemState>& items) {
    for (const auto& item : items) {
        if (item.flags & MF_SEPARATOR) continue;
        if (item.flags & MF_POPUP) {
            if (UINT id = FirstCommand(item.items)) return id;
            continue;
        }
        if (item.id != 0) return item.id;
    }
    return 0;
}

// The popup state a menu shows, by its path of indices from the menu bar.
std::vector<MenuItemState>* PopupAt(CFrameWnd* frame, const QList<int>& path) {
    std::vector<MenuItemState>* items = &frame->MenuState();
    for (int index : path) {
        if (index < 0 || index >= static_cast<int>(items->size())) return nullptr;
        auto& item = (*items)[static_cast<std::size_t>(index)];
        if (!(item.flags & MF_POPUP)) return nullptr;
        items = &item.items;
    }
    return items;
}

void SetPath(QMenu* menu, const QList<int>& path) {
    QVariantList value;
    for (int i : path) value.append(i);
    menu->setProperty("kurvomatPath", value);
}

QList<int> PathOf(const QMenu* menu) {
    QList<int> path;
    for (const QVariant& v : menu->property("kurvomatPath").toList()) path.append(v.toInt());
    return path;
}

// Widest a recent file's path shows, in pixels: the menu stays narrow on any screen.
constexpr int kRecentPathWidth = 400;

// `path` shortened to `width` pixels: the file name whole, folders taken out from the middle and
// replaced by one "…".
QString ElidedPath(const QString& path, const QFontMetrics& metrics, int width) {
    const QStringList parts = path.split(QLatin1Char('/'));
    const qsizetype folders = parts.size() - 1;  // the parts before the name ("" for the root)
    QString shown = path;
    for (qsizetype kept = folders - 1; kept >= 0 && metrics.horizontalAdvance(shown) > width;
         --kept) {
        const qsizetype head = (kept + 1) / 2, tail = kept - head;
        shown = (parts.mid(0, head) + QStringList{QStringLiteral("…")} +
                 parts.mid(folders - tail, tail) + QStringList{parts.last()})
                    .join(QLatin1Char('/'));
    }
    return shown;
}

// An item's text as the menu shows it: a recent file ("&1 path", its '&' doubled) with its path
// shortened; the command and the file it opens stay the core's.
QString ShownText(const MenuItemState& item, const QFont& font) {
    const QString text = Q(item.text);
    static const QRegularExpression recent(QStringLiteral("^(&\\d+ )(.+)$"));
    const QRegularExpressionMatch match = recent.match(text);
    if (item.id < ID_FILE_MRU_FIRST || item.id > ID_FILE_MRU_LAST || !match.hasMatch()) return text;
    QString path = match.captured(2);
    path.replace(QStringLiteral("&&"), QStringLiteral("&"));
    path = ElidedPath(path, QFontMetrics(font), kRecentPathWidth);
    path.replace(QStringLiteral("&"), QStringLiteral("&&"));
    return match.captured(1) + path;
}

void UpdateCommand(QAction* action, const MenuItemState& item, const QFont& font) {
    const QString text = ShownText(item, font);
    if (action->text() != text) action->setText(text);
    const bool enabled = !(item.flags & (MF_GRAYED | MF_DISABLED));
    if (action->isEnabled() != enabled) action->setEnabled(enabled);
    const bool checked = (item.flags & MF_CHECKED) != 0;
    if (action->isCheckable() != checked) action->setCheckable(checked);
    if (action->isChecked() != checked) action->setChecked(checked);
}

// Takes an action (with its menu, for a popup) out of its owner; deleted once Qt is back in its
// event loop.
void Discard(QWidget* owner, QAction* action) {
    owner->removeAction(action);
    action->setObjectName(QString());
    if (QMenu* menu = action->menu()) {
        menu->setObjectName(QString());
        menu->deleteLater();
    } else {
        action->deleteLater();
    }
}

}  // namespace

MenuBarMirror::MenuBarMirror(Mirror& mirror, HWND frame, QWidget* window)
    : mirror_(mirror), frame_(frame) {
    auto* bar = new QMenuBar(window);
    bar->setNativeMenuBar(false);
    bar->setObjectName(QStringLiteral("menubar"));
    bar->setFont(mirror.DialogFont());
    bar->setGeometry(0, 0, window->width(), Mirror::MenuBarHeight(frame));
    bar->show();
    bar_ = bar;
}

bool MenuBarMirror::InUse() {
    if (QApplication::activePopupWidget()) return true;
    for (QWidget* top : QApplication::topLevelWidgets())
        for (QMenuBar* bar : top->findChildren<QMenuBar*>())
            if (bar->activeAction()) return true;
    return false;
}

bool MenuBarMirror::Sync() {
    CFrameWnd* frame = FrameOf(frame_);
    if (!frame || !bar_) return true;
    return SyncItems(bar_, frame->MenuState(), QList<int>(), !InUse());
}

bool MenuBarMirror::SyncItems(QWidget* owner, std::vector<MenuItemState>& items,
                              const QList<int>& path, bool mayChangeItems) {
    QList<QAction*> actions = owner->actions();
    const qsizetype n = static_cast<qsizetype>(items.size());
    auto item = [&items](qsizetype i) -> MenuItemState& {
        return items[static_cast<std::size_t>(i)];
    };
    // The actions that already show their item: a common head and a common tail.
    qsizetype head = 0, tail = 0;
    while (head < n && head < actions.size() && KeyOf(actions[head]) == KeyOf(item(head))) ++head;
    while (tail < n - head && tail < actions.size() - head &&
           KeyOf(actions[actions.size() - 1 - tail]) == KeyOf(item(n - 1 - tail)))
        ++tail;
    bool complete = head + tail == n && n == actions.size();
    if (!complete && mayChangeItems) {
        // Only the items between head and tail are replaced.
        QAction* before = tail > 0 ? actions[actions.size() - tail] : nullptr;
        for (qsizetype i = head; i < actions.size() - tail; ++i) Discard(owner, actions[i]);
        for (qsizetype i = head; i < n - tail; ++i)
            owner->insertAction(before, MakeItem(owner, item(i), path + QList<int>{int(i)}));
        actions = owner->actions();
        head = n;
        tail = 0;
        complete = true;
    }
    // Texts, states and checks in place (an open menu keeps its hover).
    auto update = [&](QAction* action, qsizetype i) {
        MenuItemState& state = item(i);
        if (state.flags & MF_SEPARATOR) return;
        if (!(state.flags & MF_POPUP)) {
            UpdateCommand(action, state, mirror_.DialogFont());
            return;
        }
        const QString text = Q(state.text);
        if (action->text() != text) action->setText(text);
        if (QMenu* menu = action->menu()) {
            const QList<int> inner = path + QList<int>{int(i)};
            SetPath(menu, inner);
            if (!SyncItems(menu, state.items, inner, mayChangeItems)) complete = false;
        }
    };
    for (qsizetype i = 0; i < head; ++i) update(actions[i], i);
    for (qsizetype k = 0; k < tail; ++k) update(actions[actions.size() - 1 - k], n - 1 - k);
    return complete;
}

QAction* MenuBarMirror::MakeItem(QWidget* owner, MenuItemState& item, const QList<int>& path) {
    QAction* action = nullptr;
    if (item.flags & MF_SEPARATOR) {
        action = new QAction(owner);
        action->setSeparator(true);
    } else if (item.flags & MF_POPUP) {
        auto* menu = new QMenu(Q(item.text), owner);
        menu->setFont(mirror_.DialogFont());
        if (path.size() == 1) menu->setObjectName(QStringLiteral("popup-%1").arg(path.front()));
        SetPath(menu, path);
        Wire(menu);
        SyncItems(menu, item.items, path, true);  // a new menu is not open
        action = menu->menuAction();
    } else {
        action = new QAction(Q(item.text), owner);
        action->setObjectName(QStringLiteral("cmd-%1").arg(item.id));
        action->setProperty("kurvomatId", item.id);
        UpdateCommand(action, item, mirror_.DialogFont());
        const UINT id = item.id;
        HWND hwnd = frame_;
        Mirror* mirror = &mirror_;
        // Runs after the menu closed: the command may open a modal dialog.
        QObject::connect(action, &QAction::triggered, action, [mirror, hwnd, id] {
            const int run = mirror->Backend().RunNumber();
            QMetaObject::invokeMethod(
                qApp,
                [mirror, hwnd, id, run] {
                    if (mirror->Backend().RunNumber() != run) return;
                    mirror->Act([hwnd, id] {
                        if (CFrameWnd* f = FrameOf(hwnd)) framework::ChooseMenuItem(f, id);
                    });
                },
                Qt::QueuedConnection);
        });
    }
    action->setProperty("kurvomatKey", KeyOf(item));
    return action;
}

void MenuBarMirror::Wire(QMenu* menu) {
    // The menus may outlive this object by a turn of the event loop (deleted later with their
    // window): the connections hold the mirror and the frame's handle only.
    Mirror* mirror = &mirror_;
    HWND hwnd = frame_;
    QObject::connect(menu, &QMenu::aboutToShow, menu, [mirror, hwnd, menu] {
        CFrameWnd* frame = FrameOf(hwnd);
        if (!frame) return;
        auto* state = PopupAt(frame, PathOf(menu));
        const UINT first = state ? FirstCommand(*state) : 0;
        mirror->Act([hwnd, first] {
            if (CFrameWnd* f = FrameOf(hwnd)) f->UpdateMenuPopups(first);
        });
    });
    QObject::connect(menu, &QMenu::hovered, menu, [mirror, hwnd](QAction* action) {
        const UINT id = action->property("kurvomatId").toUInt();
        if (id == 0) return;
        mirror->Act([hwnd, id] {
            if (CFrameWnd* f = FrameOf(hwnd)) framework::HighlightMenuItem(f, id);
        });
    });
    QObject::connect(menu, &QMenu::aboutToHide, menu, [mirror, hwnd] {
        mirror->Act([hwnd] {
            if (CFrameWnd* f = FrameOf(hwnd)) framework::CloseMenu(f);
        });
    });
}

}  // namespace qtbackend
