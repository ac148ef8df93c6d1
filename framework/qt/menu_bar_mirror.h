// A frame's menu bar as Qt menus and actions, kept equal to the frame's menu state. Internal to the
// Qt backend.
#pragma once

#include <QPointer>
#include <vector>

#include "framework/backend.h"

class CFrameWnd;
class QAction;
class QFont;
class QMenu;
class QMenuBar;
class QWidget;

namespace framework {
struct MenuItemState;
}

namespace qtbackend {

class Mirror;

// Qt may be using any menu or action while it handles the event that opens a menu: nothing is
// destroyed or rebuilt under it. Texts, states and checks are updated in place; items are added or
// removed (in practice only the recent-file entries) only while no menu is open or being opened;
// a change that has to wait is made at a later sync.
class MenuBarMirror {
  public:
    MenuBarMirror(Mirror& mirror, HWND frame, QWidget* window);
    MenuBarMirror(const MenuBarMirror&) = delete;
    MenuBarMirror& operator=(const MenuBarMirror&) = delete;

    // Brings the menus to the frame's menu state; false while a change of items waits.
    bool Sync();
    QMenuBar* Bar() const { return bar_; }

    // A menu is open, or the bar is active (a menu being opened, or keyboard navigation).
    static bool InUse();

  private:
    // Syncs the actions of `owner` (the bar or a menu) with `items`; false when items had to be
    // added or removed and that waits.
    bool SyncItems(QWidget* owner, std::vector<framework::MenuItemState>& items,
                   const QList<int>& path, bool mayChangeItems);
    QAction* MakeItem(QWidget* owner, framework::MenuItemState& item, const QList<int>& path);
    void Wire(QMenu* menu);

    Mirror& mirror_;
    HWND frame_;
    QPointer<QMenuBar> bar_;
};

}  // namespace qtbackend
