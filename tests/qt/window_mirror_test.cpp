// The Qt backend with the framework's test application: windows follow their records, menus
// and keys reach the core once and only when a person could act, controls notify as the
// platform does, a modal dialog and a message box are answered through their widgets.
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "framework/test_app.h"
#include "qt/qt_session.h"

namespace {

using namespace fwtest;
using Events = std::vector<std::string>;

class QtFramework : public QtSession {
  protected:
    void SetUp() override {
        QtSession::SetUp();
        TheLog().Clear();
        TheSettings() = Settings();
        AfxSetResources(&TestResources());
    }
    bool StartApp() { return Start(*AfxGetApp(), L"", L"/opt/test.d/bin/Testeur"); }
    static QAction* Action(UINT id) { return Find<QAction>(QStringLiteral("cmd-%1").arg(id)); }
    static QMenu* MenuOf(QAction* action) { return qobject_cast<QMenu*>(action->parent()); }
    static Events& Log() { return TheLog().events; }
    static QWidget* MainWidget() { return Find<QWidget>(QStringLiteral("frame")); }
    // Lets queued work run (a chosen menu item runs after its menu closed).
    static void Settle() { QTest::qWait(50); }
};

TEST_F(QtFramework, MenuCommandByMouseAndByKeyboardRunsOnce) {
    ASSERT_TRUE(StartApp());
    TheLog().Clear();
    ExpectMirror();
    EXPECT_TRUE(MainWidget()->windowTitle().endsWith(QStringLiteral(" - Testeur")));
    auto* bar = Find<QMenuBar>(QStringLiteral("menubar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->height(), framework::CurrentBackend().WindowMetrics().menuBarHeight);

    // By mouse: the popup from the menu bar, then the item.
    QAction* view = Action(kViewCommand);
    QMenu* tools = MenuOf(view);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(tools->menuAction()).center());
    ASSERT_TRUE(WaitFor([&] { return tools->isVisible(); }));
    QTest::mouseClick(tools, Qt::LeftButton, {}, tools->actionGeometry(view).center());
    Settle();
    EXPECT_EQ(Log(), Events{"view command"});
    EXPECT_FALSE(tools->isVisible());

    // By keyboard: the menu bar's mnemonic, the submenu's mnemonic, Enter on its first item.
    TheLog().Clear();
    // The offscreen platform leaves the closed popup as the active window; a desktop gives
    // the keyboard back to the main window.
    MainWidget()->activateWindow();
    ASSERT_TRUE(WaitFor([] { return QApplication::activeWindow() == MainWidget(); }));
    QTest::keyClick(MainWidget(), Qt::Key_O, Qt::AltModifier);
    ASSERT_TRUE(WaitFor([&] { return tools->isVisible(); }));
    QTest::keyClick(tools, Qt::Key_S);
    QMenu* submenu = MenuOf(Action(kSubmenuCommand));
    ASSERT_TRUE(WaitFor([&] { return submenu->isVisible(); }));
    QTest::keyClick(submenu, Qt::Key_Return);
    Settle();
    EXPECT_EQ(Log(), Events{"submenu command"});

    // An accelerator goes through the core's key table.
    TheLog().Clear();
    QTest::keyClick(MainWidget(), Qt::Key_V, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(Log(), Events{"view command"});
    ExpectMirror();
}

TEST_F(QtFramework, DisabledCommandRunsNeitherFromItsKeysNorItsItem) {
    ASSERT_TRUE(StartApp());
    TheLog().Clear();
    QTest::keyClick(MainWidget(), Qt::Key_R, Qt::ControlModifier);
    Settle();
    EXPECT_TRUE(Log().empty());

    QAction* ruled = Action(kRuledCommand);
    QMenu* file = MenuOf(ruled);
    auto* bar = Find<QMenuBar>(QStringLiteral("menubar"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file->menuAction()).center());
    ASSERT_TRUE(WaitFor([&] { return file->isVisible(); }));
    EXPECT_FALSE(ruled->isEnabled());
    // The highlighted item's prompt shows in the message pane; closing the menu brings "Prêt".
    QTest::keyClick(file, Qt::Key_Down);
    ASSERT_EQ(file->activeAction(), Action(ID_FILE_NEW));
    Settle();
    CStatusBar* status = Frame()->GetStatusBar();
    EXPECT_EQ(status->GetShownText(0).str(), CFrameWnd::CommandPrompt(ID_FILE_NEW).str());
    QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(ruled).center());
    QTest::keyClick(file, Qt::Key_Escape);
    Settle();
    EXPECT_TRUE(Log().empty());
    EXPECT_FALSE(file->isVisible());
    EXPECT_EQ(status->GetShownText(0).str(), L"Prêt");

    TheSettings().ruledEnabled = true;
    QTest::keyClick(MainWidget(), Qt::Key_R, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(Log(), Events{"ruled command"});
}

TEST_F(QtFramework, DialogAnsweredThroughItsWidgets) {
    ASSERT_TRUE(StartApp());
    bool answered = false;
    OnModal(QStringLiteral("dlg-500"), [&](QWidget* dialog) {
        answered = true;
        ExpectMirror();
        TheLog().Clear();
        // One EN_UPDATE/EN_CHANGE pair per typed character.
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("ctl-%1").arg(kEdit));
        QTest::keyClicks(edit, QStringLiteral("ab"));
        EXPECT_EQ(Log(), (Events{"EN_UPDATE a", "EN_CHANGE a", "EN_UPDATE ab", "EN_CHANGE ab"}));
        // Without automatic scrolling the edit refuses what goes past its width.
        auto* narrow = dialog->findChild<QLineEdit*>(QStringLiteral("ctl-%1").arg(kNarrowEdit));
        QTest::keyClicks(narrow, QString(20, QLatin1Char('W')));
        HWND narrowHwnd = framework::FindDescendant(framework::ActiveWindow(), kNarrowEdit);
        EXPECT_GT(narrowHwnd->text.size(), 0u);
        EXPECT_LT(narrowHwnd->text.size(), 20u);
        EXPECT_LE(Backend().TextWidth(narrowHwnd->text), narrowHwnd->rect.Width() - 8);
        // The check box is toggled by the core, once.
        TheLog().Clear();
        QTest::mouseClick(dialog->findChild<QWidget*>(QStringLiteral("ctl-%1").arg(kCheck)),
                          Qt::LeftButton);
        // List rows: a click, a double click, the selection cancelled with Ctrl.
        auto* list = dialog->findChild<QListWidget*>(QStringLiteral("ctl-%1").arg(kList));
        EXPECT_EQ(list->count(), 3);
        auto rowPoint = [list](int row) { return list->visualItemRect(list->item(row)).center(); };
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowPoint(1));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowPoint(2));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rowPoint(2));
        EXPECT_EQ(Log(), (Events{"BN_CLICKED check", "LBN_SELCHANGE 1", "LBN_SELCHANGE 2",
                                 "LBN_DBLCLK 2", "LBN_SELCANCEL"}));
        ExpectMirror();
        // The mouse over the dialog's own client area reaches it in client coordinates.
        TheLog().Clear();
        const QPoint offset = qtbackend::Mirror::LayoutOf(framework::ActiveWindow()).clientOffset;
        QTest::mousePress(dialog, Qt::LeftButton, {}, offset + QPoint(250, 140));
        QTest::mouseMove(dialog, offset + QPoint(260, 150));
        QTest::mouseRelease(dialog, Qt::LeftButton, {}, offset + QPoint(260, 150));
        EXPECT_EQ(Log(), (Events{"down 250,140", "move 260,150 down", "up 260,150"}));
        // A message box from the dialog, answered "Oui".
        TheLog().Clear();
        OnModal(QStringLiteral("message-box"), [](QWidget* box) {
            auto* yes = box->findChild<QAbstractButton*>(QStringLiteral("answer-%1").arg(IDYES));
            EXPECT_EQ(yes->text(), QStringLiteral("Oui"));
            QTest::mouseClick(yes, Qt::LeftButton);
            return true;
        });
        QTest::mouseClick(dialog->findChild<QWidget*>(QStringLiteral("ctl-%1").arg(kBoxButton)),
                          Qt::LeftButton);
        EXPECT_EQ(Log(), Events{"box 6"});
        // The core painted on the dialog: its line and its inverted band are on the screen.
        const QImage shot = dialog->grab().toImage();
        const QPoint client = qtbackend::Mirror::LayoutOf(framework::ActiveWindow()).clientOffset;
        const QColor background = dialog->palette().color(QPalette::Window);
        int black = 0;  // the line (1, 2) -> (30, 40) crosses column 12 near row 16
        for (int y = 14; y <= 19; ++y)
            black += shot.pixelColor(client + QPoint(12, y)) == QColor(Qt::black);
        EXPECT_GE(black, 1);
        EXPECT_EQ(shot.pixel(client + QPoint(7, 7)) & 0xFFFFFF, ~background.rgb() & 0xFFFFFF);
        EXPECT_EQ(shot.pixel(client + QPoint(12, 7)) & 0xFFFFFF, background.rgb() & 0xFFFFFF);
        // The button clicked last has the focus; a click in the edit takes it, and Enter there
        // goes to the default button: OK.
        TheLog().Clear();
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_Return);
        return true;
    });
    Action(kOpenDialogCommand)->trigger();
    ASSERT_TRUE(WaitFor([] { return !Log().empty() && Log().back().rfind("dialog", 0) == 0; }));
    EXPECT_TRUE(answered);
    EXPECT_EQ(Log(), (Events{"ok ab", "dialog 1 check 1"}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ExpectMirror();
}

// Qt's focus is the core's: Tab and Shift+Tab move it over the tab stops, a click gives it, the
// focused push button (else the default one) shows as default, Enter and Space press it.
TEST_F(QtFramework, KeyboardFocusIsTheCores) {
    ASSERT_TRUE(StartApp());
    bool answered = false;
    OnModal(QStringLiteral("dlg-500"), [&](QWidget* dialog) {
        // Keys go to the active window's focus: Qt activates a window after it shows it.
        if (!dialog->isActiveWindow()) return false;
        answered = true;
        TheLog().Clear();
        auto control = [dialog](int id) {
            return dialog->findChild<QWidget*>(QStringLiteral("ctl-%1").arg(id));
        };
        auto shownDefault = [&](int id) {
            return qobject_cast<QPushButton*>(control(id))->isDefault();
        };
        auto key = [](Qt::Key k) {
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            QTest::keyClick(focus, k);
        };
        // Both foci agree after each step.
        auto focused = [&](int id) {
            HWND focus = framework::FocusRecord();
            EXPECT_EQ(focus ? focus->id : 0, id);
            EXPECT_EQ(QApplication::focusWidget(), control(id));
        };
        focused(kEdit);
        EXPECT_TRUE(shownDefault(IDOK));
        key(Qt::Key_Backtab);
        focused(IDCANCEL);
        EXPECT_TRUE(shownDefault(IDCANCEL));
        EXPECT_FALSE(shownDefault(IDOK));
        key(Qt::Key_Backtab);
        key(Qt::Key_Backtab);
        focused(kDisableOkButton);
        key(Qt::Key_Space);  // disables OK, which Tab then passes over
        EXPECT_FALSE(control(IDOK)->isEnabled());
        key(Qt::Key_Tab);
        focused(IDCANCEL);
        // Enter in the check box goes to the default button, OK, disabled: nothing happens.
        QTest::mouseClick(control(kCheck), Qt::LeftButton);
        focused(kCheck);
        EXPECT_TRUE(shownDefault(IDOK));
        key(Qt::Key_Return);
        QTest::mouseClick(control(kEdit), Qt::LeftButton);
        key(Qt::Key_Backtab);
        focused(IDCANCEL);
        key(Qt::Key_Return);
        return true;
    });
    Action(kOpenDialogCommand)->trigger();
    ASSERT_TRUE(WaitFor([] { return !Log().empty() && Log().back().rfind("dialog", 0) == 0; }));
    EXPECT_TRUE(answered);
    EXPECT_EQ(Log(), (Events{"BN_CLICKED check", "cancel", "dialog 0 check 0"}));
}

// Styles of the controls a person acts on: upper case, read-only, radio buttons the core
// checks, a group box and an icon.
TEST_F(QtFramework, ControlStylesHoldForAPersonsActions) {
    constexpr UINT kStyleDialog = 900;
    constexpr DWORD child = WS_VISIBLE | WS_TABSTOP;
    static ResourceSet resources = TestResources();
    if (resources.dialogs.back().id != kStyleDialog)
        resources.dialogs.push_back(
            {kStyleDialog,
             WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
             0,
             0,
             160,
             100,
             L"Styles",
             L"MS Sans Serif",
             8,
             {{kButtonClass, 5, L"&Groupe", child | BS_GROUPBOX, 5, 5, 150, 40},
              {kEditClass, 1, L"", child | WS_BORDER | ES_AUTOHSCROLL | ES_UPPERCASE, 10, 15, 60,
               12},
              {kEditClass, 2, L"fixe", child | WS_BORDER | ES_READONLY, 80, 15, 60, 12},
              {kButtonClass, 3, L"Un", child | BS_AUTORADIOBUTTON, 10, 30, 40, 10},
              {kButtonClass, 4, L"D&eux", child | BS_AUTORADIOBUTTON, 60, 30, 40, 10},
              {kStaticClass, 6, L"128", child | SS_ICON, 10, 50, 20, 20},
              {kStaticClass, 7, L"A && B", child | SS_RIGHT, 40, 55, 60, 10},
              {kButtonClass, IDOK, L"OK", child | BS_DEFPUSHBUTTON, 100, 80, 50, 14}}});
    AfxSetResources(&resources);
    ASSERT_TRUE(StartApp());
    OnModal(QStringLiteral("dlg-900"), [&](QWidget* dialog) {
        auto control = [dialog](int id) {
            return dialog->findChild<QWidget*>(QStringLiteral("ctl-%1").arg(id));
        };
        auto record = [](int id) {
            return framework::FindDescendant(framework::ActiveWindow(), id);
        };
        QTest::keyClicks(control(1), QStringLiteral("ab1"));
        EXPECT_EQ(record(1)->text, L"AB1");
        QTest::keyClicks(control(2), QStringLiteral("xy"));
        EXPECT_EQ(record(2)->text, L"fixe");
        QTest::mouseClick(control(4), Qt::LeftButton);
        QTest::mouseClick(control(3), Qt::LeftButton);
        EXPECT_EQ(record(3)->check, 1);
        EXPECT_EQ(record(4)->check, 0);
        EXPECT_EQ(qobject_cast<QGroupBox*>(control(5))->title(), QStringLiteral("Groupe"));
        EXPECT_EQ(qobject_cast<QLabel*>(control(6))->pixmap().size(), QSize(32, 32));
        EXPECT_EQ(qobject_cast<QLabel*>(control(7))->text(), QStringLiteral("A & B"));
        EXPECT_TRUE(qobject_cast<QLabel*>(control(7))->alignment() & Qt::AlignRight);
        ExpectMirror();
        QTest::keyClick(dialog, Qt::Key_Escape);
        return true;
    });
    INT_PTR answer = 0;
    Backend().Dispatch([&answer] {
        CDialog dialog(kStyleDialog);
        answer = dialog.DoModal();
    });
    EXPECT_EQ(answer, IDCANCEL);
    AfxSetResources(&TestResources());
}

TEST_F(QtFramework, ResizeByAPersonLaysTheFrameOutThroughTheCore) {
    ASSERT_TRUE(StartApp());
    QWidget* frame = MainWidget();
    const QSize size = frame->size() - QSize(120, 70);
    TheLog().Clear();
    frame->resize(size);
    Settle();
    // The record took the new size; the view and status bar were laid out and the view drawn.
    const CRect client = framework::ClientRect(MainHwnd());
    EXPECT_EQ(client.Width(), size.width());
    EXPECT_EQ(client.Height() + qtbackend::Mirror::MenuBarHeight(MainHwnd()), size.height());
    EXPECT_EQ(Log(), Events{"draw"});
    ExpectMirror();
    HWND view = framework::FindChild(MainHwnd(), AFX_IDW_PANE_FIRST);
    const QSize image =
        Find<QWidget>(QStringLiteral("ctl-%1").arg(AFX_IDW_PANE_FIRST))->grab().size();
    EXPECT_EQ(image, QSize(view->rect.Width(), view->rect.Height()));
}

// A printer has no XOR: an inverted rectangle is printed as its result, the area black and the
// strokes it covers white.
TEST_F(QtFramework, InvertedRectangleOnPaperIsItsResult) {
    const std::filesystem::path pdf = Folder() / "invert.pdf";
    Backend().SetPdfFileName(pdf.wstring());
    OnModal(QStringLiteral("pdf-file-dialog"), [](QWidget* dialog) {
        static_cast<QDialog*>(dialog)->accept();
        return true;
    });
    DEVMODE devMode = Backend().DefaultPrinter();
    devMode.dmFields |= DM_ORIENTATION;
    devMode.dmOrientation = DMORIENT_PORTRAIT;
    CSize page;
    ASSERT_TRUE(Backend().RunPrintJob(devMode, L"essai", false, [&page](framework::PrintJob& job) {
        ASSERT_TRUE(job.StartPage());
        page = job.Size();
        const int h = page.cy / 2, w = page.cx;
        job.Line(0, h, w, h);  // a stroke across the page, half of it under the band
        job.InvertRect(RECT{w / 2, h - w / 10, w, h + w / 10});
        job.EndPage();
    }));
    ASSERT_TRUE(std::filesystem::exists(pdf));
    const std::string png = (Folder() / "invert").string();
    ASSERT_EQ(std::system(
                  ("pdftoppm -r 50 -png -singlefile '" + pdf.string() + "' '" + png + "'").c_str()),
              0);
    const QImage image(QString::fromStdString(png + ".png"));
    ASSERT_FALSE(image.isNull());
    // The printable area's row of the stroke, found as the darkest row on the left half.
    int row = -1, best = 0;
    for (int y = 0; y < image.height(); ++y) {
        int dark = 0;
        for (int x = image.width() / 10; x < image.width() * 4 / 10; ++x)
            dark += qGray(image.pixel(x, y)) < 128;
        if (dark > best) best = dark, row = y;
    }
    ASSERT_GE(row, 0);
    const int inside = image.width() * 3 / 4;
    EXPECT_LT(qGray(image.pixel(image.width() / 4, row)), 128) << "the stroke outside the band";
    EXPECT_GT(qGray(image.pixel(inside, row)), 128) << "the stroke inside the band turns white";
    EXPECT_LT(qGray(image.pixel(inside, row - 4)), 128) << "the band is black";
    EXPECT_GT(qGray(image.pixel(image.width() / 4, row - 4)), 128) << "paper outside the band";
}

TEST_F(QtFramework, FileDialogAnswersTheChosenFilterAndName) {
    framework::FileDialogRequest request;
    request.open = false;
    request.title = L"Sauver";
    request.filters = {{L"Applications (*.gen)", L"*.gen"},
                       {L"Tables (*.txt; *.dat)", L"*.txt;*.dat"},
                       {L"Tous les fichiers (*.*)", L"*.*"}};
    request.filterIndex = 2;
    request.initialName = (Folder() / "essai").wstring();
    QStringList shown;
    OnModal(QStringLiteral("file-dialog"), [&](QWidget* widget) {
        auto* dialog = static_cast<QFileDialog*>(widget);
        shown = dialog->nameFilters();
        EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("Tables (*.txt; *.dat)"));
        dialog->selectNameFilter(shown.value(2));
        dialog->selectFile(QStringLiteral("resultat"));
        static_cast<QDialog*>(dialog)->accept();
        return true;
    });
    const framework::FileDialogAnswer answer = Backend().RunFileDialog(request);
    EXPECT_EQ(shown,
              (QStringList{"Applications (*.gen) (*.gen)", "Tables (*.txt; *.dat) (*.txt *.dat)",
                           "Tous les fichiers (*.*) (*)"}));
    ASSERT_TRUE(answer.ok);
    EXPECT_EQ(answer.filterIndex, 3);
    // No suffix of Qt's own: the core adds the default extension.
    EXPECT_EQ(answer.path, (Folder() / "resultat").wstring());
}

}  // namespace
