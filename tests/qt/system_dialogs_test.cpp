// Qt's dialogs as the backend shows them: a file's type told by its name alone (a folder like /proc
// never blocks the dialog), a title and a close box only, Qt's own texts in the desktop's language.
#include <sys/stat.h>

#include <QCompleter>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "framework/qt/name_icon_provider.h"
#include "framework/qt/qt_translations.h"
#include "qt/qt_session.h"
#include "support/watchdog.h"

namespace {

using QtDialogs = QtSession;

framework::FileDialogRequest OpenIn(const std::filesystem::path& folder) {
    framework::FileDialogRequest request;
    request.title = L"Ouvrir";
    request.filters = {{L"Tous Fichiers (*.*)", L"*.*"}};
    request.initialName = (folder / "").wstring();
    return request;
}

TEST_F(QtDialogs, FileDialogReadsNoFileToTellItsType) {
    // A name that tells nothing over a PDF's first bytes, and a pipe nobody writes to.
    std::ofstream(Folder() / "donnees") << "%PDF-1.4\n";
    ASSERT_EQ(mkfifo((Folder() / "tube").c_str(), 0600), 0);
    const Watchdog watchdog(60);
    QString type;
    OnModal(QStringLiteral("file-dialog"), [&](QWidget* dialog) {
        auto* model = dialog->findChild<QFileSystemModel*>();
        type = model->type(model->index(QString::fromStdString((Folder() / "donnees").string())));
        if (type.isEmpty()) return false;  // still listing
        // The person goes to /proc, where a file may never answer a read, and chooses there.
        auto* files = static_cast<QFileDialog*>(dialog);
        files->setDirectory(QStringLiteral("/proc"));
        QTest::qWait(500);
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
            ->setText(QStringLiteral("/proc/self/status"));
        static_cast<QDialog*>(files)->accept();
        return true;
    });
    const framework::FileDialogAnswer answer = Backend().RunFileDialog(OpenIn(Folder()));
    EXPECT_FALSE(type.contains(QStringLiteral("PDF"))) << type.toStdString();
    EXPECT_TRUE(answer.ok);
    EXPECT_EQ(answer.path, L"/proc/self/status");
}

// The print dialog's own completer for its output file names files by their names only: typing
// /proc/ there lists the folder without reading a file that never answers (as root, /proc/kmsg).
TEST_F(QtDialogs, PrintDialogsFileFieldCompletesProcWithoutReadingFiles) {
    const Watchdog watchdog(60);
    int listed = 0;
    OnModal(QStringLiteral("print-dialog"), [&](QWidget* dialog) {
        const auto models = dialog->findChildren<QFileSystemModel*>();
        EXPECT_FALSE(models.isEmpty());
        for (const QFileSystemModel* model : models)
            EXPECT_NE(dynamic_cast<const qtbackend::NameIconProvider*>(model->iconProvider()),
                      nullptr);
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
        field->setFocus();
        field->clear();
        QTest::keyClicks(field, QStringLiteral("/proc/"));
        WaitFor([&] { return field->completer()->completionCount() > 10; }, 10000);
        listed = field->completer()->completionCount();
        static_cast<QDialog*>(dialog)->reject();
        return true;
    });
    framework::PrintDialogRequest request;
    request.devMode = Backend().DefaultPrinter();
    Backend().RunPrintDialog(request);
    EXPECT_GT(listed, 10);
}

// The window manager shows a minimise or maximise button only for those hints.
TEST_F(QtDialogs, ModalDialogsHaveATitleAndACloseBoxOnly) {
    std::vector<std::pair<QString, Qt::WindowFlags>> seen;
    for (const char* name : {"message-box", "file-dialog"}) {
        OnModal(QString::fromLatin1(name), [&seen](QWidget* dialog) {
            seen.emplace_back(dialog->objectName(), dialog->windowFlags());
            static_cast<QDialog*>(dialog)->reject();
            return true;
        });
    }
    framework::MessageBoxRequest box;
    box.caption = L"Kurvomat";
    box.text = L"Question ?";
    box.type = MB_YESNO;
    Backend().MessageBox(box);
    Backend().RunFileDialog(OpenIn(Folder()));
    ASSERT_EQ(seen.size(), 2u);
    const Qt::WindowFlags frame = Qt::WindowType_Mask | Qt::WindowTitleHint |
                                  Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint;
    for (const auto& [name, flags] : seen)
        EXPECT_EQ(flags & frame, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
            << name.toStdString();
}

// The shell's "open" answers whether a program took the file: the desktop's launcher ending with
// a failure (no program for the type) is one; a launcher still running has found a program.
TEST_F(QtDialogs, ShellOpenAnswersWhetherAProgramTookTheFile) {
    const std::filesystem::path bin = Folder() / "bin", help = Folder() / "aide.chm";
    std::filesystem::create_directory(bin);
    std::ofstream(help) << "aide";
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (bin.string() + ":" + path).c_str(), 1);
    struct Case {
        const char* launcher;
        std::filesystem::path file;
        bool opened;
    };
    // The running launcher comes last: a shell reads its script as it goes.
    const Case cases[] = {{"exit 0", help, true},
                          {"exit 3", help, false},
                          {"exit 0", Folder() / "absent.chm", false},
                          {"exec >/dev/null 2>&1; sleep 3", help, true}};
    for (const Case& c : cases) {
        std::ofstream(bin / "xdg-open") << "#!/bin/sh\n" << c.launcher << "\n";
        std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms::owner_all);
        std::string quoted(1, '"');  // piece by piece: GCC 12 warns falsely on "\"" + string
        quoted += c.file.string() + '"';
        EXPECT_EQ(Backend().ShellExecute("open", quoted), c.opened)
            << c.launcher << " on " << c.file;
    }
    setenv("PATH", path.c_str(), 1);
}

TEST_F(QtDialogs, QtDialogsSpeakFrenchUnderAFrenchLocale) {
    const QLocale desktop;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QString cancel;
    {
        const qtbackend::QtTranslations translations;
        EXPECT_TRUE(translations.Loaded());
        OnModal(QStringLiteral("file-dialog"), [&cancel](QWidget* dialog) {
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            cancel = buttons->button(QDialogButtonBox::Cancel)->text();
            static_cast<QDialog*>(dialog)->reject();
            return true;
        });
        Backend().RunFileDialog(OpenIn(Folder()));
    }
    QLocale::setDefault(desktop);
    EXPECT_EQ(cancel, QStringLiteral("Annuler"));
}

}  // namespace
