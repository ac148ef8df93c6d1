// The widget mirror of the framework's window records: one widget per record, created when the
// record is first shown (top-level) or its parent's widget exists (child), kept equal to the
// record after every call into the core. Internal to the Qt backend.
#pragma once

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/backend.h"

class CFrameWnd;

namespace qtbackend {

class MenuBarMirror;
class QtBackend;

// Where a record's client area lies in its widget.
struct WidgetLayout {
    QRect widgetRect;     // parent widget's coordinates (screen for a top-level window)
    QPoint clientOffset;  // client origin inside the widget
};

class Mirror {
  public:
    explicit Mirror(QtBackend& backend);
    ~Mirror();

    void Created(HWND hwnd);
    void Destroyed(HWND hwnd);
    void MenuChanged(HWND frame);
    // Brings every widget to its record's state (creating the ones that are due).
    void SyncAll();
    // A call into the core, inside the backend's gate: each frame's recent-file items follow the
    // application's list as soon as it changed and no menu is in use, so that they are in place
    // before a menu opens.
    void FollowRecentFiles();
    // Draws the window through the core into its backing image.
    void Paint(HWND hwnd);
    // Removes every widget (end of a run).
    void Clear();

    QWidget* WidgetOf(HWND hwnd) const;
    QWidget* TopWidgetOf(HWND hwnd) const;
    const QImage* ImageOf(HWND hwnd) const;
    bool Painted(HWND hwnd) const;
    QPoint ClientOffset(HWND hwnd) const;
    static WidgetLayout LayoutOf(HWND hwnd);
    static int MenuBarHeight(HWND hwnd);
    const QFont& DialogFont() const { return font_; }
    QtBackend& Backend() { return backend_; }
    bool Syncing() const { return syncing_; }

    // A person's actions on a widget, through the backend's dispatch.
    void Act(std::function<void()> call);
    // The live record a widget shows, nullptr when none.
    HWND RecordOf(const QObject* widget) const;

  private:
    struct Entry {
        QPointer<QWidget> widget;
        QPointer<QWidget> overlay;  // a control the core drew on
        QImage image;
        bool painted = false;
        std::unique_ptr<MenuBarMirror> menus;
        std::optional<std::vector<std::wstring>> recentShown;  // in the frame's menu state
    };
    QWidget* Ensure(HWND hwnd);
    QWidget* CreateWidget(HWND hwnd, QWidget* parent);
    void Apply(HWND hwnd, Entry& entry);
    void ApplyControl(HWND hwnd, QWidget* widget);
    // False while a change of the menus' items waits for the menus to close.
    bool SyncMenus(HWND frame, Entry& entry);
    // Puts Qt's keyboard focus where the core's is, in the active dialog.
    void SyncFocus();

    QtBackend& backend_;
    QFont font_;
    std::unordered_map<HWND, Entry> entries_;
    std::vector<HWND> order_;  // records in creation order (parents before children)
    std::vector<HWND> menuDirty_;
    bool syncing_ = false;
    HWND syncedFocus_ = nullptr;         // the core's focus when SyncFocus last placed Qt's
    QTimer menuRetry_;                   // a menu change waits for the menus to close
    std::unique_ptr<QObject> keyboard_;  // the filter taking a person's focus keys to the core
};

// The virtual key of a Qt key event, 0 when the framework has none for it.
UINT VirtualKeyOf(int qtKey);

}  // namespace qtbackend
