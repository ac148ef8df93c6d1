// The widget mirror: window records shown as widgets (frames with their menu bar, dialogs,
// the core-painted windows, the status bar and the controls), and a person's actions on them
// turned into the framework's input.
#include "framework/qt/mirror.h"

#include <qdrawutil.h>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QValidator>

#include "framework/app.h"
#include "framework/core.h"
#include "framework/frame.h"
#include "framework/qt/menu_bar_mirror.h"
#include "framework/qt/qt_backend.h"
#include "framework/resources.h"
#include "framework/user_input.h"

namespace qtbackend {
namespace {

QString Q(const std::wstring& text) {
    return QString::fromStdWString(text);
}

// A text without its '&' mnemonic markers: a person's keys go to the core only. Buttons and
// group boxes keep "&&" (their literal '&'); labels show it as one '&'.
QString WithoutMnemonics(const std::wstring& text, bool keepDoubled) {
    QString out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'&') {
            out += QChar(static_cast<char16_t>(text[i]));
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == L'&') {
            out += keepDoubled ? QStringLiteral("&&") : QStringLiteral("&");
            ++i;
        }
    }
    return out;
}

QString StaticText(HWND hwnd) {
    return (hwnd->style & SS_NOPREFIX) ? Q(hwnd->text) : WithoutMnemonics(hwnd->text, false);
}

DWORD ButtonType(HWND hwnd) {
    return hwnd->style & BS_TYPEMASK;
}

bool IsCheckType(DWORD type) {
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
}

bool IsRadioType(DWORD type) {
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool HasCaption(HWND hwnd) {
    return (hwnd->style & WS_CAPTION) == WS_CAPTION;
}

bool IsStaticIcon(HWND hwnd) {
    return (hwnd->style & 0x1F) == SS_ICON;
}

bool IsStaticFrame(HWND hwnd) {
    const DWORD type = hwnd->style & 0x1F;
    return type == SS_BLACKFRAME || type == SS_GRAYFRAME;
}

QImage IconImage(const IconResource& icon) {
    QImage image(icon.width, icon.height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < icon.height && y < static_cast<int>(icon.rows.size()); ++y) {
        const std::string& row = icon.rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < icon.width && x < static_cast<int>(row.size()); ++x) {
            for (const auto& [key, argb] : icon.palette)
                if (key == row[static_cast<std::size_t>(x)]) image.setPixel(x, y, argb);
        }
    }
    return image;
}

QColor Background(HWND hwnd) {
    if (!hwnd->parent) return QApplication::palette().color(QPalette::Window);
    return Qt::white;
}

// Draws on a window's backing image; the painter opens on the first stroke.
class ImageDevice : public framework::PaintDevice {
  public:
    ImageDevice(QImage& image, CSize size) : image_(image), size_(size) {}
    ~ImageDevice() override = default;
    void Line(int x0, int y0, int x1, int y1) override {
        ++ops;
        if (!Begin()) return;
        painter_.drawLine(x0, y0, x1, y1);
    }
    void InvertRect(const RECT& rect) override {
        ++ops;
        if (rect.right <= rect.left || rect.bottom <= rect.top || !Begin()) return;
        painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter_.fillRect(
            QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top),
            QColor(255, 255, 255));
        painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    CSize Size() const override { return size_; }
    void End() {
        if (painter_.isActive()) painter_.end();
    }
    int ops = 0;

  private:
    bool Begin() {
        if (painter_.isActive()) return true;
        if (image_.isNull() || !painter_.begin(&image_)) return false;
        painter_.setPen(QPen(Qt::black, 0));
        painter_.setRenderHint(QPainter::Antialiasing, false);
        return true;
    }
    QImage& image_;
    CSize size_;
    QPainter painter_;
};

UINT MouseFlags(Qt::KeyboardModifiers modifiers) {
    UINT flags = 0;
    if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
    if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
    return flags;
}

// Frames, dialogs and the windows the core paints.
class WindowWidget : public QWidget {
  public:
    WindowWidget(Mirror& mirror, HWND hwnd, QWidget* parent, Qt::WindowFlags flags)
        : QWidget(parent, flags), mirror_(mirror), hwnd_(hwnd) {
        setMouseTracking(true);
        if (!hwnd->parent) setFocusPolicy(Qt::StrongFocus);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QPoint offset = mirror_.ClientOffset(hwnd_);
        const QImage* image = mirror_.ImageOf(hwnd_);
        if (image && mirror_.Painted(hwnd_))
            painter.drawImage(offset, *image);
        else if (hwnd_->parent)
            painter.fillRect(rect(), Qt::white);
        if (!framework::IsAlive(hwnd_)) return;
        if (hwnd_->exStyle & WS_EX_CLIENTEDGE)
            qDrawShadePanel(&painter, rect(), palette(), true, 2);
        else if (hwnd_->parent && (hwnd_->style & WS_BORDER))
            qDrawPlainRect(&painter, rect(), Qt::black);
        else if (!hwnd_->parent && !HasCaption(hwnd_) && offset.x() > 0)
            qDrawWinPanel(&painter, rect(), palette(), false);
    }
    void mouseMoveEvent(QMouseEvent* event) override { Mouse(event, 0); }
    void mousePressEvent(QMouseEvent* event) override { Mouse(event, 1); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { Mouse(event, 1); }
    void mouseReleaseEvent(QMouseEvent* event) override { Mouse(event, 2); }
    void keyPressEvent(QKeyEvent* event) override {
        const UINT key = VirtualKeyOf(event->key());
        if (!isWindow() || key == 0) {
            event->ignore();
            return;
        }
        const Qt::KeyboardModifiers m = event->modifiers();
        const bool ctrl = m & Qt::ControlModifier, shift = m & Qt::ShiftModifier,
                   alt = m & Qt::AltModifier;
        mirror_.Act([key, ctrl, shift, alt] { framework::PressKey(key, ctrl, shift, alt); });
    }
    // Qt never moves the focus by itself (arrow keys on a button, a focused widget disabled):
    // the core decides, and its focus is pushed to the widgets after each call.
    bool focusNextPrevChild(bool next) override {
        return isWindow() || QWidget::focusNextPrevChild(next);
    }
    void closeEvent(QCloseEvent* event) override {
        // The core decides: WM_CLOSE, and the window goes when its record goes.
        event->ignore();
        HWND hwnd = hwnd_;
        mirror_.Act([hwnd] { framework::CloseWindow(hwnd); });
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (auto* bar = findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly))
            bar->setGeometry(0, 0, width(), Mirror::MenuBarHeight(hwnd_));
        if (!isWindow() || mirror_.Syncing()) return;
        // A person's resize goes through the core, which lays the frame out again.
        HWND hwnd = hwnd_;
        const QSize size = event->size();
        mirror_.Act([hwnd, size] {
            if (!framework::IsAlive(hwnd)) return;
            const QSize now = Mirror::LayoutOf(hwnd).widgetRect.size();
            if (now == size) return;
            CRect rect = hwnd->rect;
            rect.right += size.width() - now.width();
            rect.bottom += size.height() - now.height();
            framework::MoveRecord(hwnd, rect, true);
        });
    }

  private:
    void Mouse(QMouseEvent* event, int what) {
        if (what != 0 && event->button() != Qt::LeftButton) {
            event->ignore();
            return;
        }
        HWND hwnd = hwnd_;
        const QPoint at = event->position().toPoint() - mirror_.ClientOffset(hwnd_);
        const UINT flags = MouseFlags(event->modifiers());
        mirror_.Act([hwnd, at, flags, what] {
            const CPoint client(at.x(), at.y());
            if (what == 0)
                framework::MouseMove(hwnd, client, flags);
            else
                framework::MouseButton(hwnd, client, what == 1, flags);
        });
        event->accept();
    }

    Mirror& mirror_;
    HWND hwnd_;
};

// A person's keys that move the focus or press a button, and a click that gives a control the
// focus, go to the core: Tab and Shift+Tab on any window, Enter and Space on a button, a press of
// the left button on a button, an edit or a list. Qt would otherwise press a default button, or
// move its own focus, by itself (and gives none to a click in a window it has not activated).
class KeyboardGate : public QObject {
  public:
    explicit KeyboardGate(Mirror& mirror) : mirror_(mirror) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease &&
            type != QEvent::MouseButtonPress)
            return false;
        // A list's rows take the mouse in its viewport.
        HWND hwnd = mirror_.RecordOf(watched);
        if (!hwnd && type == QEvent::MouseButtonPress) hwnd = mirror_.RecordOf(watched->parent());
        if (!hwnd) return false;
        if (type == QEvent::MouseButtonPress) {
            using framework::WindowKind;
            const WindowKind kind = framework::KindOf(hwnd);
            const bool takesFocus =
                (kind == WindowKind::kButton && (hwnd->style & BS_TYPEMASK) != BS_GROUPBOX) ||
                kind == WindowKind::kEdit || kind == WindowKind::kListBox;
            if (takesFocus && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                mirror_.Act([hwnd] { framework::FocusControl(hwnd); });
            return false;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers m = key->modifiers();
        const int k = key->key();
        const bool tab = (k == Qt::Key_Tab || k == Qt::Key_Backtab) &&
                         !(m & (Qt::ControlModifier | Qt::AltModifier));
        const bool press = framework::KindOf(hwnd) == framework::WindowKind::kButton &&
                           (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Space);
        if (!tab && !press) return false;
        // Space presses once however long it is held; the release is Qt's and goes nowhere.
        if (type == QEvent::KeyPress && !(k == Qt::Key_Space && key->isAutoRepeat())) {
            const UINT virtualKey = VirtualKeyOf(k);
            const bool shift = k == Qt::Key_Backtab || (m & Qt::ShiftModifier);
            mirror_.Act(
                [virtualKey, shift] { framework::PressKey(virtualKey, false, shift, false); });
        }
        return true;
    }

  private:
    Mirror& mirror_;
};

// What the core drew on a control, over the control.
class ImageOverlay : public QWidget {
  public:
    ImageOverlay(Mirror& mirror, HWND hwnd, QWidget* parent)
        : QWidget(parent), mirror_(mirror), hwnd_(hwnd) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (const QImage* image = mirror_.ImageOf(hwnd_)) {
            QPainter painter(this);
            painter.drawImage(mirror_.ClientOffset(hwnd_), *image);
        }
    }

  private:
    Mirror& mirror_;
    HWND hwnd_;
};

// The status bar: the message pane stretches, the indicators sit at the right; a dark pane
// shows nothing.
class StatusBarWidget : public QWidget {
  public:
    explicit StatusBarWidget(HWND hwnd, QWidget* parent) : QWidget(parent), hwnd_(hwnd) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Window));
        auto* bar = framework::IsAlive(hwnd_) ? dynamic_cast<CStatusBar*>(hwnd_->wnd) : nullptr;
        if (!bar) return;
        constexpr int kMargin = 4, kGap = 2;
        const int top = 2, height = std::max(0, this->height() - 3);
        int right = width() - kGap;
        std::vector<QRect> panes(static_cast<std::size_t>(bar->GetCount()));
        for (int i = bar->GetCount() - 1; i >= 1; --i) {
            UINT id = 0, style = 0;
            int paneWidth = 0;
            bar->GetPaneInfo(i, id, style, paneWidth);
            const int w = paneWidth + 2 * kMargin;
            panes[static_cast<std::size_t>(i)] = QRect(right - w, top, w, height);
            right -= w + kGap;
        }
        if (!panes.empty()) panes[0] = QRect(kGap, top, std::max(0, right - kGap), height);
        for (int i = 0; i < bar->GetCount(); ++i) {
            UINT id = 0, style = 0;
            int paneWidth = 0;
            bar->GetPaneInfo(i, id, style, paneWidth);
            const QRect r = panes[static_cast<std::size_t>(i)];
            if (!(style & SBPS_NOBORDERS)) qDrawShadePanel(&painter, r, palette(), true, 1);
            const QString text = Q(bar->GetShownText(i).str());
            // Clipped at the pane's edge, as the pane's width was measured for its text.
            painter.setClipRect(r.adjusted(1, 1, -1, -1));
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(r.adjusted(kMargin, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
            painter.setClipping(false);
        }
    }

  private:
    HWND hwnd_;
};

// A list box whose double click names the row under the pointer (the click before it has
// already selected that row through the core).
class ListWidget : public QListWidget {
  public:
    ListWidget(Mirror& mirror, HWND hwnd, QWidget* parent)
        : QListWidget(parent), mirror_(mirror), hwnd_(hwnd) {}

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        const int row = indexAt(event->position().toPoint()).row();
        if (event->button() != Qt::LeftButton || row < 0) {
            QListWidget::mouseDoubleClickEvent(event);
            return;
        }
        HWND hwnd = hwnd_;
        mirror_.Act([hwnd, row] { framework::DoubleClickListRow(hwnd, row); });
        event->accept();
    }

  private:
    Mirror& mirror_;
    HWND hwnd_;
};

// The rows of a list drawn as the core lays them out: the pieces between tabs at the list's
// tab stops.
class TabbedRows : public QStyledItemDelegate {
  public:
    TabbedRows(HWND hwnd, QObject* parent) : QStyledItemDelegate(parent), hwnd_(hwnd) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const std::wstring row = item.text.toStdWString();
        QStyle* style = item.widget ? item.widget->style() : QApplication::style();
        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
        item.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
        if (!framework::IsAlive(hwnd_)) return;
        const QPalette::ColorGroup group =
            (item.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
        painter->save();
        painter->setFont(item.font);
        painter->setPen(item.palette.color(group, (item.state & QStyle::State_Selected)
                                                      ? QPalette::HighlightedText
                                                      : QPalette::Text));
        // The text's margin inside the item, as Qt's own drawing keeps it.
        const int margin =
            style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 1;
        for (const framework::TextPiece& piece : framework::ListRowPieces(hwnd_, row))
            painter->drawText(area.adjusted(margin + piece.x, 0, 0, 0),
                              Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, Q(piece.text));
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (!framework::IsAlive(hwnd_)) return size;
        const auto pieces = framework::ListRowPieces(hwnd_, index.data().toString().toStdWString());
        const QFontMetrics metrics(option.font);
        size.setWidth(pieces.back().x + metrics.horizontalAdvance(Q(pieces.back().text)) + 8);
        return size;
    }

  private:
    HWND hwnd_;
};

// An edit's own rules: upper case, and no character typed beyond the visible width without
// automatic scrolling (the same width rule the core applies to typed characters). A paste, or
// any other change that is not a typed character, goes in whole: the dialog judges its length.
class EditRules : public QValidator {
  public:
    EditRules(HWND hwnd, QtBackend& backend, QObject* parent)
        : QValidator(parent), hwnd_(hwnd), backend_(backend) {}
    State validate(QString& input, int&) const override {
        if (!framework::IsAlive(hwnd_)) return Acceptable;
        if (hwnd_->style & ES_UPPERCASE)
            for (QChar& c : input)
                if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = c.toUpper();
        if (typing && !(hwnd_->style & (ES_AUTOHSCROLL | ES_MULTILINE)) &&
            backend_.TextWidth(input.toStdWString()) > std::max(0, hwnd_->rect.Width() - 8))
            return Invalid;
        return Acceptable;
    }
    // True while a key that types a character is handled.
    bool typing = false;

  private:
    HWND hwnd_;
    QtBackend& backend_;
};

// A line edit that tells its rules when a key types a character.
class EditWidget : public QLineEdit {
  public:
    EditWidget(HWND hwnd, QtBackend& backend, QWidget* parent)
        : QLineEdit(parent), rules_(new EditRules(hwnd, backend, this)) {
        setValidator(rules_);
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QString text = event->text();
        rules_->typing =
            !text.isEmpty() && text.front().isPrint() && !event->matches(QKeySequence::Paste);
        QLineEdit::keyPressEvent(event);
        rules_->typing = false;
    }
    void inputMethodEvent(QInputMethodEvent* event) override {
        rules_->typing = true;
        QLineEdit::inputMethodEvent(event);
        rules_->typing = false;
    }

  private:
    EditRules* rules_;
};

std::vector<std::wstring> ListRows(const QListWidget* list) {
    std::vector<std::wstring> rows;
    for (int i = 0; i < list->count(); ++i) rows.push_back(list->item(i)->text().toStdWString());
    return rows;
}

CFrameWnd* FrameOf(HWND hwnd) {
    return framework::IsAlive(hwnd) ? dynamic_cast<CFrameWnd*>(hwnd->wnd) : nullptr;
}

}  // namespace

UINT VirtualKeyOf(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<UINT>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<UINT>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + static_cast<UINT>(key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_Backspace:
            return VK_BACK;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return VK_TAB;
        case Qt::Key_Space:
            return VK_SPACE;
        case Qt::Key_Delete:
            return VK_DELETE;
        case Qt::Key_CapsLock:
            return VK_CAPITAL;
        case Qt::Key_NumLock:
            return VK_NUMLOCK;
        case Qt::Key_ScrollLock:
            return VK_SCROLL;
        default:
            return 0;
    }
}

Mirror::Mirror(QtBackend& backend) : backend_(backend), keyboard_(new KeyboardGate(*this)) {
    font_.setFamily(QString::fromLatin1(QtBackend::DialogFontFamily()));
    font_.setPixelSize(11);
    menuRetry_.setSingleShot(true);
    menuRetry_.setInterval(100);
    // An empty call: the sync after it makes the waiting change.
    QObject::connect(&menuRetry_, &QTimer::timeout, &menuRetry_, [this] { Act([] {}); });
}

Mirror::~Mirror() {
    Clear();
}

void Mirror::Act(std::function<void()> call) {
    // An action queued in Qt (a chosen menu item) may arrive after its run ended: its window
    // handles are gone with the records.
    const int run = backend_.RunNumber();
    backend_.Dispatch([this, run, call = std::move(call)] {
        if (backend_.RunNumber() == run) call();
    });
}

void Mirror::Created(HWND hwnd) {
    if (framework::KindOf(hwnd) == framework::WindowKind::kDesktop) return;
    order_.push_back(hwnd);
}

void Mirror::Destroyed(HWND hwnd) {
    if (hwnd == syncedFocus_) syncedFocus_ = nullptr;  // a new record may take its address
    order_.erase(std::remove(order_.begin(), order_.end(), hwnd), order_.end());
    menuDirty_.erase(std::remove(menuDirty_.begin(), menuDirty_.end(), hwnd), menuDirty_.end());
    auto it = entries_.find(hwnd);
    if (it == entries_.end()) return;
    // Deleted later: the record may go inside one of the widget's own events.
    for (QWidget* w : {it->second.overlay.data(), it->second.widget.data()}) {
        if (!w) continue;
        w->setObjectName(QString());
        w->hide();
        w->deleteLater();
    }
    entries_.erase(it);
}

void Mirror::Clear() {
    for (auto& [hwnd, entry] : entries_) {
        if (entry.widget && entry.widget->isWindow()) {
            entry.widget->hide();
            entry.widget->deleteLater();
        }
    }
    entries_.clear();
    order_.clear();
    menuDirty_.clear();
}

void Mirror::MenuChanged(HWND frame) {
    if (std::find(menuDirty_.begin(), menuDirty_.end(), frame) == menuDirty_.end())
        menuDirty_.push_back(frame);
}

QWidget* Mirror::WidgetOf(HWND hwnd) const {
    auto it = entries_.find(hwnd);
    return it == entries_.end() ? nullptr : it->second.widget.data();
}

HWND Mirror::RecordOf(const QObject* widget) const {
    if (!widget) return nullptr;
    for (const auto& [hwnd, entry] : entries_)
        if (entry.widget == widget) return framework::IsAlive(hwnd) ? hwnd : nullptr;
    return nullptr;
}

QWidget* Mirror::TopWidgetOf(HWND hwnd) const {
    return WidgetOf(framework::TopLevelOf(hwnd));
}

const QImage* Mirror::ImageOf(HWND hwnd) const {
    auto it = entries_.find(hwnd);
    return it == entries_.end() || it->second.image.isNull() ? nullptr : &it->second.image;
}

bool Mirror::Painted(HWND hwnd) const {
    auto it = entries_.find(hwnd);
    return it != entries_.end() && it->second.painted;
}

int Mirror::MenuBarHeight(HWND hwnd) {
    if (!hwnd || hwnd->parent || !hwnd->hasMenu) return 0;
    return framework::CurrentBackend().WindowMetrics().menuBarHeight;
}

WidgetLayout Mirror::LayoutOf(HWND hwnd) {
    WidgetLayout layout;
    const framework::Insets in = framework::NonClientInsets(hwnd);
    const CRect r = hwnd->rect;
    if (hwnd->parent) {
        const QPoint origin = LayoutOf(hwnd->parent).clientOffset;
        layout.widgetRect = QRect(origin.x() + r.left, origin.y() + r.top, r.Width(), r.Height());
        layout.clientOffset = QPoint(in.left, in.top);
    } else if (HasCaption(hwnd)) {
        // The window manager draws the frame and caption; the widget holds the menu bar and
        // the client area.
        const int menu = MenuBarHeight(hwnd);
        const CRect client = framework::ClientRect(hwnd);
        layout.widgetRect =
            QRect(r.left + in.left, r.top + in.top - menu, client.Width(), client.Height() + menu);
        layout.clientOffset = QPoint(0, menu);
    } else {
        layout.widgetRect = QRect(r.left, r.top, r.Width(), r.Height());
        layout.clientOffset = QPoint(in.left, in.top);
    }
    return layout;
}

QPoint Mirror::ClientOffset(HWND hwnd) const {
    return framework::IsAlive(hwnd) ? LayoutOf(hwnd).clientOffset : QPoint();
}

QWidget* Mirror::Ensure(HWND hwnd) {
    if (!framework::IsAlive(hwnd)) return nullptr;
    Entry& entry = entries_[hwnd];
    if (entry.widget) return entry.widget;
    QWidget* parent = nullptr;
    if (hwnd->parent) {
        parent = WidgetOf(hwnd->parent);
        if (!parent) return nullptr;
    } else if (!hwnd->visible) {
        return nullptr;  // a top-level window appears when it is first shown
    }
    QWidget* widget = CreateWidget(hwnd, parent);
    widget->installEventFilter(keyboard_.get());
    entries_[hwnd].widget = widget;
    return widget;
}

QWidget* Mirror::CreateWidget(HWND hwnd, QWidget* parent) {
    using framework::WindowKind;
    const WindowKind kind = framework::KindOf(hwnd);
    if (!hwnd->parent) {
        const bool dialog = kind == WindowKind::kDialog || hwnd->owner != nullptr;
        Qt::WindowFlags flags = dialog ? Qt::Dialog : Qt::Window;
        if (!HasCaption(hwnd))
            flags |= Qt::FramelessWindowHint;
        else if (dialog)
            // A title and a close box: no minimise or maximise in the hints, and a fixed size. (A
            // window manager may keep its own buttons anyway: openbox shows its minimise button on
            // every dialog, and its maximise button beside it, which then does nothing.)
            flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        QWidget* owner = hwnd->owner ? WidgetOf(framework::TopLevelOf(hwnd->owner)) : nullptr;
        auto* widget = new WindowWidget(*this, hwnd, owner, flags);
        widget->setFont(font_);
        if (dialog) {
            widget->setWindowModality(Qt::ApplicationModal);
            widget->setObjectName(QStringLiteral("dlg-%1").arg(hwnd->dialogId));
        } else {
            widget->setObjectName(FrameOf(hwnd) ? QStringLiteral("frame")
                                                : QStringLiteral("wnd-") + Q(hwnd->className));
        }
        if (FrameOf(hwnd) && hwnd->hasMenu) MenuChanged(hwnd);  // the menu bar comes with the sync
        return widget;
    }
    QWidget* widget = nullptr;
    HWND h = hwnd;
    switch (kind) {
        case WindowKind::kButton: {
            const DWORD type = ButtonType(hwnd);
            if (type == BS_GROUPBOX) {
                auto* box = new QGroupBox(parent);
                box->setAttribute(Qt::WA_TransparentForMouseEvents);
                widget = box;
                break;
            }
            QAbstractButton* button = nullptr;
            if (IsCheckType(type)) {
                button = new QCheckBox(parent);
            } else if (IsRadioType(type)) {
                auto* radio = new QRadioButton(parent);
                radio->setAutoExclusive(false);  // the core unchecks the others
                button = radio;
            } else {
                // The default look follows the core (ApplyControl); Qt presses nothing by itself.
                auto* push = new QPushButton(parent);
                push->setAutoDefault(false);
                button = push;
            }
            // The core toggles: the click only asks it, the sync shows its answer.
            QObject::connect(button, &QAbstractButton::clicked, button,
                             [this, h] { Act([h] { framework::ClickButton(h); }); });
            widget = button;
            break;
        }
        case WindowKind::kEdit: {
            auto* edit = new EditWidget(hwnd, backend_, parent);
            edit->setFrame((hwnd->style & WS_BORDER) || (hwnd->exStyle & WS_EX_CLIENTEDGE));
            if (hwnd->style & ES_CENTER) edit->setAlignment(Qt::AlignHCenter);
            // Only a person's edits: text the core sets never comes back as a notification.
            QObject::connect(edit, &QLineEdit::textEdited, edit, [this, h](const QString& text) {
                const std::wstring value = text.toStdWString();
                Act([h, value] { framework::EditTextChanged(h, value); });
            });
            widget = edit;
            break;
        }
        case WindowKind::kStatic: {
            if (IsStaticFrame(hwnd)) {
                auto* frame = new QFrame(parent);
                frame->setFrameShape(QFrame::Box);
                widget = frame;
                break;
            }
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            if (IsStaticIcon(hwnd)) {
                if (const IconResource* icon = FindIconResource(
                        static_cast<UINT>(std::wcstol(hwnd->text.c_str(), nullptr, 10))))
                    label->setPixmap(QPixmap::fromImage(IconImage(*icon)));
            } else {
                Qt::Alignment align = Qt::AlignLeft;
                if ((hwnd->style & 0x1F) == SS_CENTER) align = Qt::AlignHCenter;
                if ((hwnd->style & 0x1F) == SS_RIGHT) align = Qt::AlignRight;
                label->setAlignment(align | Qt::AlignTop);
                label->setWordWrap(hwnd->rect.Height() >= 2 * label->fontMetrics().height());
            }
            widget = label;
            break;
        }
        case WindowKind::kListBox: {
            auto* list = new ListWidget(*this, hwnd, parent);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            list->setItemDelegate(new TabbedRows(hwnd, list));
            list->viewport()->installEventFilter(keyboard_.get());
            QObject::connect(list, &QListWidget::itemSelectionChanged, list, [this, h, list] {
                const auto selected = list->selectedItems();
                const int row = selected.isEmpty() ? -1 : list->row(selected.first());
                Act([h, row] {
                    if (row < 0)
                        framework::CancelListSelection(h);
                    else
                        framework::ClickListRow(h, row);
                });
            });
            widget = list;
            break;
        }
        default:
            if (framework::SameClassName(hwnd->className, L"msctls_statusbar32"))
                widget = new StatusBarWidget(hwnd, parent);
            else
                widget = new WindowWidget(*this, hwnd, parent, Qt::Widget);
            break;
    }
    widget->setObjectName(QStringLiteral("ctl-%1").arg(hwnd->id));
    widget->setFont(font_);
    if (framework::KindOf(hwnd) == WindowKind::kButton && ButtonType(hwnd) == BS_GROUPBOX)
        widget->lower();
    return widget;
}

void Mirror::FollowRecentFiles() {
    CWinApp* app = AfxGetApp();
    if (!app || !app->RecentFiles()) return;
    const std::vector<HWND> records = order_;
    for (HWND hwnd : records) {
        CFrameWnd* frame = FrameOf(hwnd);
        if (!frame || !hwnd->hasMenu) continue;
        Entry& entry = entries_[hwnd];
        const std::vector<std::wstring> list = app->RecentFiles()->Entries();
        if (entry.recentShown == list) continue;
        if (MenuBarMirror::InUse()) {
            menuRetry_.start();
            return;
        }
        entry.recentShown = list;
        frame->UpdateMenuPopups(ID_FILE_MRU_FILE1);
    }
}

bool Mirror::SyncMenus(HWND hwnd, Entry& entry) {
    if (!FrameOf(hwnd) || !entry.widget) return true;
    if (!entry.menus) entry.menus = std::make_unique<MenuBarMirror>(*this, hwnd, entry.widget);
    return entry.menus->Sync();
}

void Mirror::SyncAll() {
    syncing_ = true;
    const std::vector<HWND> records = order_;
    for (HWND hwnd : records) {
        if (!framework::IsAlive(hwnd)) continue;
        if (!Ensure(hwnd)) continue;
        Apply(hwnd, entries_[hwnd]);
    }
    const std::vector<HWND> dirty = std::move(menuDirty_);
    menuDirty_.clear();
    for (HWND frame : dirty) {
        auto it = entries_.find(frame);
        // Until its widget exists, or while a change of items waits for the menus to close.
        if (it == entries_.end() || !it->second.widget || !SyncMenus(frame, it->second))
            menuDirty_.push_back(frame);
    }
    for (HWND frame : menuDirty_)
        if (entries_.count(frame) && entries_[frame].widget) menuRetry_.start();
    SyncFocus();
    syncing_ = false;
}

void Mirror::SyncFocus() {
    HWND active = framework::ActiveWindow();
    if (framework::KindOf(active) != framework::WindowKind::kDialog) return;
    QWidget* top = WidgetOf(active);
    if (!top || !top->isVisible() || QApplication::activePopupWidget()) return;
    // A message box or a system dialog over the dialog keeps the keyboard.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != top) return;
    HWND focus = framework::FocusRecord();
    QWidget* target = focus == active ? top : WidgetOf(focus);
    if (!target || !target->isVisible() || !target->isEnabled()) return;
    const bool moved = focus != syncedFocus_;
    syncedFocus_ = focus;
    if (top->focusWidget() != target) target->setFocus(Qt::OtherFocusReason);
    // An edit whose whole text the core selected as the focus came (Tab, the first focus) shows
    // it selected, so the first key typed replaces it. Qt may have focused the edit by itself
    // when the window showed, without selecting; later a click's caret is left where it is.
    const bool selected = framework::KindOf(focus) == framework::WindowKind::kEdit &&
                          !focus->text.empty() && focus->selStart == 0 &&
                          focus->selEnd == static_cast<int>(focus->text.size());
    if (auto* edit = qobject_cast<QLineEdit*>(target); edit && moved && selected) edit->selectAll();
}

void Mirror::Apply(HWND hwnd, Entry& entry) {
    QWidget* widget = entry.widget;
    const WidgetLayout layout = LayoutOf(hwnd);
    if (!hwnd->parent) {
        const QString title = Q(hwnd->text);
        if (widget->windowTitle() != title) widget->setWindowTitle(title);
        const bool resizable = (hwnd->style & WS_THICKFRAME) != 0;
        if (widget->size() != layout.widgetRect.size()) {
            if (resizable)
                widget->resize(layout.widgetRect.size());
            else
                widget->setFixedSize(layout.widgetRect.size());
        }
        // The position is the core's when it changes there; a window manager may move the
        // window as it likes in between.
        const QPoint corner(hwnd->rect.left, hwnd->rect.top);
        if (widget->property("kurvomatCorner").toPoint() != corner ||
            !widget->property("kurvomatCorner").isValid()) {
            widget->setProperty("kurvomatCorner", corner);
            widget->move(layout.widgetRect.topLeft());
        }
        if (hwnd->visible && !widget->isVisible()) {
            widget->show();
            widget->raise();
            widget->activateWindow();
        } else if (!hwnd->visible && widget->isVisible()) {
            widget->hide();
        }
        if (entry.menus && entry.menus->Bar())
            entry.menus->Bar()->setGeometry(0, 0, widget->width(), MenuBarHeight(hwnd));
    } else {
        if (widget->geometry() != layout.widgetRect) widget->setGeometry(layout.widgetRect);
        if (widget->isVisibleTo(widget->parentWidget()) != hwnd->visible)
            widget->setVisible(hwnd->visible);
        if (widget->testAttribute(Qt::WA_Disabled) == hwnd->enabled)
            widget->setEnabled(hwnd->enabled);
        ApplyControl(hwnd, widget);
    }
    if (entry.painted && !dynamic_cast<WindowWidget*>(widget) &&
        !dynamic_cast<StatusBarWidget*>(widget)) {
        if (!entry.overlay) {
            entry.overlay = new ImageOverlay(*this, hwnd, widget);
            entry.overlay->show();
        }
        if (entry.overlay->geometry() != widget->rect()) entry.overlay->setGeometry(widget->rect());
    }
}

void Mirror::ApplyControl(HWND hwnd, QWidget* widget) {
    using framework::WindowKind;
    if (auto* bar = dynamic_cast<StatusBarWidget*>(widget)) {
        bar->update();
        return;
    }
    switch (framework::KindOf(hwnd)) {
        case WindowKind::kButton: {
            if (auto* box = qobject_cast<QGroupBox*>(widget)) {
                const QString title = WithoutMnemonics(hwnd->text, true);
                if (box->title() != title) box->setTitle(title);
                return;
            }
            auto* button = qobject_cast<QAbstractButton*>(widget);
            if (!button) return;
            const QString text = WithoutMnemonics(hwnd->text, true);
            if (button->text() != text) button->setText(text);
            const QSignalBlocker blocker(button);
            if (auto* check = qobject_cast<QCheckBox*>(button)) {
                const Qt::CheckState state = hwnd->check == 2   ? Qt::PartiallyChecked
                                             : hwnd->check != 0 ? Qt::Checked
                                                                : Qt::Unchecked;
                if (state == Qt::PartiallyChecked) check->setTristate(true);
                if (check->checkState() != state) check->setCheckState(state);
            } else if (button->isCheckable() || qobject_cast<QRadioButton*>(button)) {
                if (button->isChecked() != (hwnd->check != 0)) button->setChecked(hwnd->check != 0);
            } else if (auto* push = qobject_cast<QPushButton*>(button)) {
                const bool shownDefault = framework::KindOf(hwnd->parent) == WindowKind::kDialog &&
                                          framework::DefaultButton(hwnd->parent) == hwnd;
                if (push->isDefault() != shownDefault) push->setDefault(shownDefault);
            }
            return;
        }
        case WindowKind::kEdit: {
            auto* edit = qobject_cast<QLineEdit*>(widget);
            if (!edit) return;
            const QString text = Q(hwnd->text);
            if (edit->text() != text) {
                const QSignalBlocker blocker(edit);
                edit->setText(text);
            }
            const bool readOnly = (hwnd->style & ES_READONLY) != 0;
            if (edit->isReadOnly() != readOnly) edit->setReadOnly(readOnly);
            return;
        }
        case WindowKind::kStatic: {
            auto* label = qobject_cast<QLabel*>(widget);
            if (!label || IsStaticIcon(hwnd)) return;
            const QString text = StaticText(hwnd);
            if (label->text() != text) label->setText(text);
            return;
        }
        case WindowKind::kListBox: {
            auto* list = qobject_cast<QListWidget*>(widget);
            if (!list) return;
            const QSignalBlocker blocker(list);
            if (ListRows(list) != hwnd->rows) {
                list->clear();
                for (const auto& row : hwnd->rows) list->addItem(Q(row));
            }
            const int selected =
                list->selectedItems().isEmpty() ? -1 : list->row(list->selectedItems().first());
            if (selected != hwnd->curSel) {
                if (hwnd->curSel >= 0 && hwnd->curSel < list->count()) {
                    list->setCurrentRow(hwnd->curSel, QItemSelectionModel::ClearAndSelect);
                } else {
                    list->clearSelection();
                    list->setCurrentRow(-1);
                }
            }
            return;
        }
        default:
            return;
    }
}

void Mirror::Paint(HWND hwnd) {
    if (!framework::IsAlive(hwnd)) return;
    Entry& entry = entries_[hwnd];
    const CRect client = framework::ClientRect(hwnd);
    const QSize size(client.Width(), client.Height());
    if (entry.image.size() != size) {
        entry.image = size.isEmpty() ? QImage() : QImage(size, QImage::Format_RGB32);
        if (!entry.image.isNull()) entry.image.fill(Background(hwnd));
    } else if (hwnd->erase && !entry.image.isNull()) {
        entry.image.fill(Background(hwnd));
    }
    ImageDevice device(entry.image, client.Size());
    framework::PaintWindow(hwnd, device);
    device.End();
    if (device.ops > 0) entry.painted = true;
    if (!entry.painted) return;
    if (entry.overlay) entry.overlay->update();
    if (entry.widget) entry.widget->update();
}

}  // namespace qtbackend
