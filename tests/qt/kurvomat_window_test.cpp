// The Kurvomat program on the Qt backend: the example's page painted, a fit run from the menu
// with its result dialog, a print to PDF that holds the headless print of the same document,
// the print preview and printing from it, the recent files in the menu, the file dialogs' folder.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>

#include "fitdata/number_format.h"
#include "framework/headless/driver.h"
#include "framework/qt/name_icon_provider.h"
#include "qt/qt_session.h"
#include "resources/resource_ids.h"
#include "shell/kurvomat_app.h"
#include "shell/kurvomat_doc.h"

namespace {

class QtKurvomat : public QtSession {
  protected:
    void SetUp() override {
        QtSession::SetUp();
        std::filesystem::copy_file(std::filesystem::path(KURVOMAT_SOURCE_DIR) / "examples/sine.gen",
                                   Folder() / "sine.gen");
        app_ = std::make_unique<CKurvomatApp>();
    }
    void TearDown() override {
        QtSession::TearDown();
        app_.reset();
    }
    bool StartOnExample() { return Start(*app_, (Folder() / "sine.gen").wstring()); }
    static QAction* Action(UINT id) { return Find<QAction>(QStringLiteral("cmd-%1").arg(id)); }
    static QMenu* MenuOf(QAction* action) { return qobject_cast<QMenu*>(action->parent()); }

    // Dark pixels of an image (the page's strokes).
    static int Ink(const QImage& image) {
        int ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) ink += qGray(image.pixel(x, y)) < 128;
        return ink;
    }

    std::unique_ptr<CKurvomatApp> app_;
};

TEST_F(QtKurvomat, ExampleOpensWithItsPageAndFitsFromTheMenu) {
    ASSERT_TRUE(StartOnExample());
    ExpectMirror();
    QWidget* frame = Find<QWidget>(QStringLiteral("frame"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("sine.gen - Kurvomat"));
    QWidget* view = Find<QWidget>(QStringLiteral("ctl-%1").arg(AFX_IDW_PANE_FIRST));
    ASSERT_NE(view, nullptr);
    EXPECT_GT(Ink(view->grab().toImage()), 1000);

    // Ajustement > Ajustement > Moindres Carrés by mouse; the result dialog closed with Enter.
    QAction* fit = Action(ID_LEAST_SQUARES);
    QMenu* methods = MenuOf(fit);
    auto* adjust = Find<QMenu>(QStringLiteral("popup-1"));
    auto* bar = Find<QMenuBar>(QStringLiteral("menubar"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(adjust->menuAction()).center());
    ASSERT_TRUE(WaitFor([&] { return adjust->isVisible(); }));
    QTest::mouseClick(adjust, Qt::LeftButton, {},
                      adjust->actionGeometry(methods->menuAction()).center());
    ASSERT_TRUE(WaitFor([&] { return methods->isVisible(); }));
    bool shown = false;
    OnModal(QStringLiteral("dlg-%1").arg(IDD_RESULT), [&](QWidget* dialog) {
        shown = true;
        ExpectMirror();
        auto* title = dialog->findChild<QLabel*>(QStringLiteral("ctl-%1").arg(IDC_RESULT_TITLE));
        EXPECT_FALSE(title->text().isEmpty());
        QTest::keyClick(dialog, Qt::Key_Return);
        return true;
    });
    QTest::mouseClick(methods, Qt::LeftButton, {}, methods->actionGeometry(fit).center());
    ASSERT_TRUE(WaitFor([&] { return shown && !QApplication::activeModalWidget(); }));
    EXPECT_FALSE(QGuiApplication::overrideCursor());
    ExpectMirror();
}

// Keys go to the widget Qt gives the focus to, which is the core's: Enter presses the focused
// button (after RAZ and Tab, Cancel; Effacer, which asks first) and, in the formula, runs OK.
TEST_F(QtKurvomat, EnterFollowsTheFocusInTheEntryDialogs) {
    ASSERT_TRUE(StartOnExample());
    auto* document = dynamic_cast<CKurvomatDoc*>(Frame()->GetActiveDocument());
    ASSERT_NE(document, nullptr);
    const FitData& data = document->fitData;
    const FunctionDef before = data.function;
    ASSERT_EQ(data.fitDone, 1);
    auto key = [](Qt::Key k) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, k);
    };
    auto control = [](QWidget* dialog, int id) {
        return dialog->findChild<QWidget*>(QStringLiteral("ctl-%1").arg(id));
    };
    auto run = [this](UINT command, int dialogId, std::function<void(QWidget*)> act) {
        bool done = false;
        // Keys go to the active window's focus: Qt activates a window after it shows it.
        OnModal(QStringLiteral("dlg-%1").arg(dialogId), [&done, act](QWidget* dialog) {
            if (!dialog->isActiveWindow()) return false;
            act(dialog);
            return done = true;
        });
        Action(command)->trigger();
        ASSERT_TRUE(WaitFor([&] { return done && !QApplication::activeModalWidget(); }));
    };

    run(ID_ENTER_COEF, IDD_ENTER_COEF, [&](QWidget* dialog) {
        QTest::mouseClick(control(dialog, IDC_COEF_RAZ), Qt::LeftButton);
        EXPECT_EQ(qobject_cast<QLineEdit*>(control(dialog, IDC_COEF_VALUE_A))->text(),
                  QString::fromStdWString(FormatNumber(0.0)));
        key(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), control(dialog, IDCANCEL));
        key(Qt::Key_Return);
    });
    EXPECT_EQ(std::memcmp(data.function.coef, before.coef, sizeof before.coef), 0);
    EXPECT_EQ(data.fitDone, 1);
    EXPECT_FALSE(document->IsModified());

    const int points = data.nPoints;
    QString question;
    run(ID_ENTER_TABLE, IDD_ENTER_TABLE, [&](QWidget* dialog) {
        EXPECT_EQ(QApplication::focusWidget(), control(dialog, IDC_TABLE_LIST));
        key(Qt::Key_Tab);
        key(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), control(dialog, IDC_TABLE_CLEAR));
        EXPECT_TRUE(qobject_cast<QPushButton*>(control(dialog, IDC_TABLE_CLEAR))->isDefault());
        OnModal(QStringLiteral("message-box"), [&](QWidget* box) {
            question = qobject_cast<QMessageBox*>(box)->text();
            QTest::mouseClick(box->findChild<QWidget*>(QStringLiteral("answer-%1").arg(IDNO)),
                              Qt::LeftButton);
            return true;
        });
        key(Qt::Key_Return);
        EXPECT_EQ(qobject_cast<QListWidget*>(control(dialog, IDC_TABLE_LIST))->count(), points);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(question, QStringLiteral("Voulez vous réellement effacer tous les points ?"));
    EXPECT_EQ(data.nPoints, points);
    EXPECT_FALSE(document->IsModified());

    run(ID_ENTER_FUNCTION, IDD_ENTER_FUNCTION, [&](QWidget* dialog) {
        QWidget* edit = control(dialog, IDC_FUNCTION_TEXT);
        EXPECT_EQ(QApplication::focusWidget(), edit);
        // The dialog opens with the formula selected: what is typed replaces it.
        QTest::keyClicks(edit, QStringLiteral("a*x+b"));
        key(Qt::Key_Return);
    });
    EXPECT_EQ(data.function.functionText, "A*X+B");
    EXPECT_TRUE(document->IsModified());
}

TEST_F(QtKurvomat, PrintToPdfHoldsTheHeadlessPage) {
    const std::filesystem::path pdf = Folder() / "page.pdf";
    Backend().SetPdfFileName(pdf.wstring());
    ASSERT_TRUE(StartOnExample());
    // No printer is installed here: the print dialog offers the PDF file.
    OnModal(QStringLiteral("print-dialog"), [](QWidget* dialog) {
        static_cast<QDialog*>(dialog)->accept();
        return true;
    });
    Action(ID_FILE_PRINT)->trigger();
    ASSERT_TRUE(WaitFor([&] { return !Backend().LastPrintedPages().empty(); }));
    ASSERT_TRUE(std::filesystem::exists(pdf));
    const auto pages = Backend().LastPrintedPages();
    ASSERT_EQ(pages.size(), 1u);
    const CSize page = pages[0].size;
    EXPECT_GT(page.cx, page.cy) << "landscape";
    const int dpi = pages[0].dpi;

    // One landscape page in the file, and its ink where the page's lines are.
    const std::string info = (Folder() / "info.txt").string();
    ASSERT_EQ(std::system(("pdfinfo '" + pdf.string() + "' > '" + info + "'").c_str()), 0);
    std::ifstream in(info);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int pageCount = 0;
    const auto pagesAt = text.find("Pages:");
    ASSERT_NE(pagesAt, std::string::npos);
    ASSERT_EQ(std::sscanf(text.c_str() + pagesAt, "Pages: %d", &pageCount), 1);
    EXPECT_EQ(pageCount, 1);
    float width = 0, height = 0;
    const auto at = text.find("Page size:");
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(std::sscanf(text.c_str() + at, "Page size: %f x %f", &width, &height), 2);
    EXPECT_GT(width, height);
    const std::string png = (Folder() / "render").string();
    ASSERT_EQ(
        std::system(
            ("pdftoppm -r 100 -png -singlefile '" + pdf.string() + "' '" + png + "'").c_str()),
        0);
    QImage rendered(QString::fromStdString(png + ".png"));
    ASSERT_FALSE(rendered.isNull());
    // The page's lines drawn at the same scale line up with the rendered ink: the inked box of
    // both has the same size.
    QRect linesBox;
    for (const CRect& l : pages[0].lines)
        linesBox |= QRect(QPoint(std::min(l.left, l.right), std::min(l.top, l.bottom)),
                          QPoint(std::max(l.left, l.right), std::max(l.top, l.bottom)));
    QRect inkBox;
    for (int y = 0; y < rendered.height(); ++y)
        for (int x = 0; x < rendered.width(); ++x)
            if (qGray(rendered.pixel(x, y)) < 160) inkBox |= QRect(x, y, 1, 1);
    EXPECT_NEAR(inkBox.width(), linesBox.width() * 100.0 / dpi, 3);
    EXPECT_NEAR(inkBox.height(), linesBox.height() * 100.0 / dpi, 3);
    Backend().Stop();

    // The same document printed headless on a page of the same size: the same lines.
    headless::Driver driver;
    CKurvomatApp headlessApp;
    driver.SetPrinterPage(page.cy, page.cx, dpi);
    driver.NextDialog(IDD_WAIT).AdvanceClock(3000);
    ASSERT_TRUE(driver.Start((Folder() / "sine.gen").wstring()));
    driver.AnswerPrintDialog();
    ASSERT_TRUE(driver.ChooseMenu(ID_FILE_PRINT));
    ASSERT_EQ(driver.PrintJobs().size(), 1u);
    ASSERT_EQ(driver.PrintJobs()[0].pages.size(), 1u);
    EXPECT_EQ(driver.PrintJobs()[0].pages[0].size, page);
    EXPECT_EQ(driver.PrintJobs()[0].pages[0].Lines(), pages[0].lines);
    EXPECT_TRUE(driver.Errors().empty());
    EXPECT_EQ(driver.PendingAnswers(), 0u);
}

TEST_F(QtKurvomat, PrintSetupWithoutPrinterIsAnsweredAndKeepsLandscape) {
    ASSERT_TRUE(StartOnExample());
    QString accept;
    OnModal(QStringLiteral("print-setup-dialog"), [&](QWidget* dialog) {
        if (auto* buttons = dialog->findChild<QDialogButtonBox*>())
            accept = buttons->button(QDialogButtonBox::Ok)->text();
        static_cast<QDialog*>(dialog)->accept();
        return true;
    });
    Action(ID_FILE_PRINT_SETUP)->trigger();
    ASSERT_TRUE(WaitFor([&] { return !accept.isEmpty() && !QApplication::activeModalWidget(); }));
    EXPECT_EQ(accept, QStringLiteral("OK"));
    const auto* devMode = static_cast<const DEVMODE*>(GlobalLock(AfxGetApp()->m_hDevMode));
    ASSERT_NE(devMode, nullptr);
    EXPECT_EQ(devMode->dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(std::wstring(devMode->dmDeviceName), L"PDF");
    GlobalUnlock(AfxGetApp()->m_hDevMode);
}

TEST_F(QtKurvomat, PreviewOpensAndRendersThePage) {
    ASSERT_TRUE(StartOnExample());
    int ink = 0;
    OnModal(QStringLiteral("print-preview"), [&](QWidget* dialog) {
        if (Backend().LastPrintedPages().empty()) return false;
        auto* preview = dialog->findChild<QPrintPreviewWidget*>();
        if (!preview) return false;
        ink = Ink(preview->grab().toImage());
        static_cast<QDialog*>(dialog)->reject();
        return true;
    });
    Action(ID_FILE_PRINT_PREVIEW)->trigger();
    ASSERT_TRUE(WaitFor([&] { return ink > 0; }, 10000));
    const auto pages = Backend().LastPrintedPages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_GT(pages[0].size.cx, pages[0].size.cy) << "landscape";
    EXPECT_GT(pages[0].lines.size(), 100u);
    EXPECT_GT(ink, 500);
    ExpectMirror();
}

}  // namespace

// A recent file added while the program runs joins "Fichier" before the menu opens; no menu or
// action is destroyed for it, and while a menu is open the change waits for it to close.
TEST_F(QtKurvomat, RecentFilesJoinTheMenuInPlace) {
    ASSERT_TRUE(StartOnExample());
    auto* bar = Find<QMenuBar>(QStringLiteral("menubar"));
    auto* file = Find<QMenu>(QStringLiteral("popup-0"));
    ASSERT_NE(Action(ID_FILE_MRU_FILE1), nullptr);
    EXPECT_EQ(Action(ID_FILE_MRU_FILE1 + 1), nullptr);
    std::vector<QPointer<QObject>> shown;
    for (QMenu* menu : bar->findChildren<QMenu*>()) shown.emplace_back(menu);
    for (QAction* action : bar->findChildren<QAction*>()) shown.emplace_back(action);
    auto addRecent = [this](const std::wstring& path) {
        Backend().Dispatch([path] { AfxGetApp()->AddToRecentFileList(path.c_str()); });
        QTest::qWait(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };

    addRecent((Folder() / "autre.gen").wstring());
    QAction* second = Action(ID_FILE_MRU_FILE1 + 1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(MenuOf(second), file);
    EXPECT_TRUE(second->text().endsWith(QStringLiteral("sine.gen")));
    for (const auto& object : shown) EXPECT_FALSE(object.isNull());

    // Open: the third entry waits until the menu is closed; until then each entry keeps its text,
    // the file its command opens.
    auto entries = [file] {
        std::vector<std::string> shownEntries;
        for (QAction* action : file->actions()) {
            const UINT id = action->property("kurvomatId").toUInt();
            if (id >= ID_FILE_MRU_FIRST && id <= ID_FILE_MRU_LAST)
                shownEntries.push_back((action->objectName() + ' ' + action->text()).toStdString());
        }
        return shownEntries;
    };
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file->menuAction()).center());
    ASSERT_TRUE(WaitFor([&] { return file->isVisible(); }));
    const std::vector<std::string> open = entries();
    addRecent((Folder() / "troisieme.gen").wstring());
    QTest::qWait(150);  // longer than the wait for a menu to close
    EXPECT_EQ(entries(), open);
    EXPECT_TRUE(file->isVisible());
    file->hide();
    ASSERT_TRUE(WaitFor([&] { return Action(ID_FILE_MRU_FILE1 + 2) != nullptr; }));
    const char* order[] = {"troisieme.gen", "autre.gen", "sine.gen"};
    for (UINT i = 0; i < 3; ++i)
        EXPECT_TRUE(Action(ID_FILE_MRU_FILE1 + i)->text().endsWith(QLatin1String(order[i])))
            << Action(ID_FILE_MRU_FILE1 + i)->text().toStdString();
    for (const auto& object : shown) EXPECT_FALSE(object.isNull());
}

// A recent file with a long path shows in "Fichier" shortened in the middle, its name whole: the
// menu fits a 1366-px screen, and the entry opens the file by its whole path.
TEST_F(QtKurvomat, LongRecentPathIsShortenedInTheMenu) {
    std::filesystem::path deep = Folder();
    for (const char* folder :
         {"mesures du laboratoire de physique", "campagne d'essais de l'annee 2024",
          "serie numero trois (temperature ambiante)", "courbes ajustees a la main puis verifiees",
          "versions definitives envoyees au client", "premier envoi", "archives"})
        deep /= folder;
    std::filesystem::create_directories(deep);
    std::filesystem::copy_file(Folder() / "sine.gen", deep / "courbe.gen");
    ASSERT_TRUE(StartOnExample());
    const std::wstring path = (deep / "courbe.gen").wstring();
    Backend().Dispatch([&path] { AfxGetApp()->AddToRecentFileList(path.c_str()); });
    QTest::qWait(0);
    QAction* entry = Action(ID_FILE_MRU_FILE1);
    ASSERT_NE(entry, nullptr);
    const std::string text = entry->text().toStdString();
    EXPECT_EQ(text.rfind("&1 /", 0), 0u) << text;
    EXPECT_NE(text.find("/…/"), std::string::npos) << text;
    EXPECT_TRUE(entry->text().endsWith(QStringLiteral("/archives/courbe.gen"))) << text;
    EXPECT_EQ(Action(ID_FILE_MRU_FILE1 + 1)->text(),
              "&2 " + QString::fromStdString((Folder() / "sine.gen").string()));
    EXPECT_LT(Find<QMenu>(QStringLiteral("popup-0"))->sizeHint().width(), 1366 / 2);
    entry->trigger();
    ASSERT_TRUE(WaitFor([] {
        return Find<QWidget>(QStringLiteral("frame"))->windowTitle() ==
               QStringLiteral("courbe.gen - Kurvomat");
    }));
}

// Printing from the preview: the print dialog as "Imprimer" shows it, its file named through the
// program's file dialog, then the page printed on the paper and in the copies the user chose,
// landscape.
TEST_F(QtKurvomat, PrintFromThePreviewKeepsTheUsersChoices) {
    const std::filesystem::path pdf = Folder() / "apercu.pdf";
    Backend().SetPdfFileName(pdf.wstring());
    ASSERT_TRUE(StartOnExample());
    int copies = 0;
    QPageSize::PageSizeId paper = QPageSize::Custom;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    const std::filesystem::path chosen = Folder() / "choisi.pdf";
    bool pageRange = true, shown = false, namedByName = false;
    OnModal(QStringLiteral("print-preview"), [&](QWidget* dialog) {
        auto* preview = static_cast<QPrintPreviewDialog*>(dialog);
        if (Backend().LastPrintedPages().empty()) return false;
        shown = true;
        // The user's paper, as the preview's page set-up leaves it.
        preview->printer()->setPageSize(QPageSize(QPageSize::A3));
        QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview,
                         [&](QPrinter* printer) {
                             copies = printer->copyCount();
                             paper = printer->pageLayout().pageSize().id();
                             orientation = printer->pageLayout().orientation();
                         });
        OnModal(QStringLiteral("print-dialog"), [&](QWidget* print) {
            pageRange =
                static_cast<QPrintDialog*>(print)->testOption(QAbstractPrintDialog::PrintPageRange);
            print->findChild<QSpinBox*>(QStringLiteral("copies"))->setValue(3);
            // The file is named through the program's own file dialog.
            OnModal(QStringLiteral("pdf-file-dialog"), [&](QWidget* files) {
                namedByName = dynamic_cast<const qtbackend::NameIconProvider*>(
                                  static_cast<QFileDialog*>(files)->iconProvider()) != nullptr;
                files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                    ->setText(QString::fromStdString(chosen.string()));
                static_cast<QDialog*>(files)->accept();
                return true;
            });
            QTest::mouseClick(print->findChild<QAbstractButton*>(QStringLiteral("fileBrowser")),
                              Qt::LeftButton);
            static_cast<QDialog*>(print)->accept();
            return true;
        });
        auto* print = dialog->findChild<QAction*>(QStringLiteral("preview-print"));
        if (print)
            print->trigger();
        else
            preview->reject();
        return true;
    });
    Action(ID_FILE_PRINT_PREVIEW)->trigger();
    ASSERT_TRUE(WaitFor([&] { return shown && !QApplication::activeModalWidget(); }, 10000));
    EXPECT_FALSE(pageRange);
    EXPECT_EQ(copies, 3);
    EXPECT_EQ(paper, QPageSize::A3);
    EXPECT_EQ(orientation, QPageLayout::Landscape);
    EXPECT_TRUE(namedByName);
    EXPECT_TRUE(std::filesystem::exists(chosen));
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

// A file dialog opens in the document's folder, then in the folder of the last choice; a name
// with its folder opens there.
TEST_F(QtKurvomat, FileDialogsOpenInTheFolderUsedLast) {
    const std::filesystem::path other = Folder() / "autre";
    std::filesystem::create_directory(other);
    ASSERT_TRUE(StartOnExample());
    std::vector<QString> folders;
    auto ask = [&](const std::wstring& initialName, const QString& choice) {
        OnModal(QStringLiteral("file-dialog"), [&folders, choice](QWidget* dialog) {
            auto* files = static_cast<QFileDialog*>(dialog);
            folders.push_back(files->directory().absolutePath());
            if (choice.isEmpty()) {
                static_cast<QDialog*>(dialog)->reject();
            } else {
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(choice);
                static_cast<QDialog*>(dialog)->accept();
            }
            return true;
        });
        framework::FileDialogRequest request;
        request.open = false;
        request.initialName = initialName;
        Backend().RunFileDialog(request);
    };
    ask(L"", QString());
    ask(L"", QString::fromStdString((other / "choisi.gen").string()));
    ask(L"", QString());
    ask((Folder() / "sine.gen").wstring(), QString());
    const QString folder = QString::fromStdString(Folder().string());
    EXPECT_EQ(folders, (std::vector<QString>{folder, folder, folder + "/autre", folder}));
}

// The file dialogs name the program's own files as its filters do, whatever the extension's case;
// other files keep the desktop's names.
TEST_F(QtKurvomat, FileDialogsNameTheProgramsFileTypes) {
    const std::map<QString, QString> expected = {
        {"essai.gen", "Application Kurvomat"},
        {"essai.COE", "Coefficients Kurvomat"},
        {"mesures.csv", "Texte (séparateur: point-virgule)"},
        {"page.bmp", "Image bitmap"},
        {"notice.pdf",
         QMimeDatabase().mimeTypeForName(QStringLiteral("application/pdf")).comment()}};
    for (const auto& [name, type] : expected) std::ofstream(Folder() / name.toStdString()) << "1";
    std::map<QString, QString> shown;
    OnModal(QStringLiteral("file-dialog"), [&](QWidget* dialog) {
        auto* model = dialog->findChild<QFileSystemModel*>();
        for (const auto& [name, type] : expected) {
            const QString path = QString::fromStdString((Folder() / name.toStdString()).string());
            shown[name] = model->type(model->index(path));
            if (shown[name].isEmpty()) return false;  // still listing
        }
        static_cast<QDialog*>(dialog)->reject();
        return true;
    });
    framework::FileDialogRequest request;
    request.filters = {{L"Tous Fichiers (*.*)", L"*.*"}};
    request.initialName = (Folder() / "").wstring();
    Backend().RunFileDialog(request);
    for (const auto& [name, type] : expected)
        EXPECT_EQ(shown[name].toStdString(), type.toStdString()) << name.toStdString();
}
