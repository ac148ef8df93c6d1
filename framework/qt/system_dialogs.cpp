// The Qt backend's system dialogs and services: message boxes with French buttons, the file
// dialog, the print dialog and page set-up, print jobs on a printer or a PDF file, the print
// preview, and the desktop's handler for the shell's "open".
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegion>
#include <QToolButton>

#include "common/text_conversion.h"
#include "framework/app.h"
#include "framework/core.h"
#include "framework/doc_view.h"
#include "framework/frame.h"
#include "framework/qt/desktop_launch.h"
#include "framework/qt/file_filters.h"
#include "framework/qt/mirror.h"
#include "framework/qt/name_icon_provider.h"
#include "framework/qt/qt_backend.h"

namespace qtbackend {
namespace {

QString Q(const std::wstring& text) {
    return QString::fromStdWString(text);
}

struct BoxButton {
    int answer;
    const char* text;
    QMessageBox::ButtonRole role;
};

std::vector<BoxButton> ButtonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {{IDOK, "OK", QMessageBox::AcceptRole},
                    {IDCANCEL, "Annuler", QMessageBox::RejectRole}};
        case MB_YESNO:
            return {{IDYES, "Oui", QMessageBox::YesRole}, {IDNO, "Non", QMessageBox::NoRole}};
        case MB_YESNOCANCEL:
            return {{IDYES, "Oui", QMessageBox::YesRole},
                    {IDNO, "Non", QMessageBox::NoRole},
                    {IDCANCEL, "Annuler", QMessageBox::RejectRole}};
        case MB_RETRYCANCEL:
            return {{IDRETRY, "Recommencer", QMessageBox::AcceptRole},
                    {IDCANCEL, "Annuler", QMessageBox::RejectRole}};
        case MB_ABORTRETRYIGNORE:
            return {{IDABORT, "Abandonner", QMessageBox::RejectRole},
                    {IDRETRY, "Recommencer", QMessageBox::AcceptRole},
                    {IDIGNORE, "Ignorer", QMessageBox::AcceptRole}};
        default:
            return {{IDOK, "OK", QMessageBox::AcceptRole}};
    }
}

QMessageBox::Icon IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case MB_ICONASTERISK:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// Paper sizes of the device mode (DMPAPER_*) and Qt's.
struct Paper {
    short code;
    QPageSize::PageSizeId id;
};
constexpr Paper kPapers[] = {
    {1, QPageSize::Letter}, {5, QPageSize::Legal}, {8, QPageSize::A3},
    {9, QPageSize::A4},     {11, QPageSize::A5},
};

QPageSize::PageSizeId PageSizeOf(short code) {
    for (const Paper& p : kPapers)
        if (p.code == code) return p.id;
    return QPageSize::A4;
}

short PaperCodeOf(QPageSize::PageSizeId id) {
    for (const Paper& p : kPapers)
        if (p.id == id) return p.code;
    return 9;
}

void SetDeviceName(DEVMODE& devMode, const std::wstring& name) {
    const std::size_t n = std::min(name.size(), std::size(devMode.dmDeviceName) - 1);
    std::fill(std::begin(devMode.dmDeviceName), std::end(devMode.dmDeviceName), L'\0');
    std::copy_n(name.begin(), n, devMode.dmDeviceName);
}

// A real printer of that name, when one is installed.
QPrinterInfo PrinterNamed(const std::wstring& name) {
    const QString wanted = Q(name);
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        if (info.printerName() == wanted) return info;
    return QPrinterInfo();
}

void ApplyDevMode(QPrinter& printer, const DEVMODE& devMode) {
    const bool landscape =
        (devMode.dmFields & DM_ORIENTATION) && devMode.dmOrientation == DMORIENT_LANDSCAPE;
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setPageSize(QPageSize(PageSizeOf(devMode.dmPaperSize)));
    printer.setCopyCount(std::max<int>(1, devMode.dmCopies));
}

DEVMODE DevModeOf(const QPrinter& printer, DEVMODE devMode) {
    devMode.dmFields |= DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
    devMode.dmOrientation = printer.pageLayout().orientation() == QPageLayout::Landscape
                                ? DMORIENT_LANDSCAPE
                                : DMORIENT_PORTRAIT;
    devMode.dmPaperSize = PaperCodeOf(printer.pageLayout().pageSize().id());
    devMode.dmCopies = static_cast<short>(std::clamp(printer.copyCount(), 1, 999));
    SetDeviceName(devMode, printer.outputFormat() == QPrinter::PdfFormat
                               ? std::wstring(L"PDF")
                               : printer.printerName().toStdWString());
    return devMode;
}

// One print job or preview on a QPrinter. Each page's strokes are kept until its end and then
// drawn: a printer has no XOR, so an inverted rectangle is drawn as its result (the area black
// where it was white, and the strokes it covers white).
class PrinterJob : public framework::PrintJob {
  public:
    PrinterJob(QPrinter& printer, std::vector<QtBackend::PrintedPage>& record)
        : printer_(printer), record_(record) {
        record_.clear();
    }
    ~PrinterJob() override {
        if (painter_.isActive()) painter_.end();
    }
    bool StartPage() override {
        if (!painter_.isActive()) {
            if (failed_ || !painter_.begin(&printer_)) {
                failed_ = true;
                return false;
            }
        } else if (!printer_.newPage()) {
            return false;
        }
        inPage_ = true;
        ops_.clear();
        record_.push_back({Size(), printer_.resolution(), {}, {}});
        return true;
    }
    void EndPage() override {
        if (!inPage_) return;
        inPage_ = false;
        DrawPage();
    }
    void SetOrientation(int orientation) override {
        printer_.setPageOrientation(orientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape
                                                                      : QPageLayout::Portrait);
    }
    CSize Size() const override {
        const QRect page = printer_.pageLayout().paintRectPixels(printer_.resolution());
        return CSize(page.width(), page.height());
    }
    CSize DotsPerInch() const override {
        return CSize(printer_.resolution(), printer_.resolution());
    }
    void Line(int x0, int y0, int x1, int y1) override {
        if (!inPage_) return;
        ops_.push_back({false, QLine(x0, y0, x1, y1), QRect()});
        record_.back().lines.push_back(CRect(x0, y0, x1, y1));
    }
    void InvertRect(const RECT& rect) override {
        if (!inPage_) return;
        record_.back().inverts.push_back(CRect(rect));
        if (rect.right > rect.left && rect.bottom > rect.top)
            ops_.push_back(
                {true, QLine(),
                 QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top)});
    }
    bool Failed() const { return failed_; }

  private:
    struct Op {
        bool invert;
        QLine line;
        QRect rect;
    };
    void DrawPage() {
        // The area inverted an odd number of times after each stroke, from the end backwards.
        std::vector<QRegion> after(ops_.size());
        QRegion odd;
        for (std::size_t i = ops_.size(); i-- > 0;) {
            after[i] = odd;
            if (ops_[i].invert) odd = odd.xored(QRegion(ops_[i].rect));
        }
        const QRect page(QPoint(0, 0), QSize(Size().cx, Size().cy));
        if (!odd.isEmpty()) {
            painter_.setClipRegion(odd);
            painter_.fillRect(page, Qt::black);
            painter_.setClipping(false);
        }
        const QPen black(Qt::black, 0), white(Qt::white, 0);
        for (std::size_t i = 0; i < ops_.size(); ++i) {
            if (ops_[i].invert) continue;
            const QLine line = ops_[i].line;
            if (after[i].isEmpty()) {
                painter_.setPen(black);
                painter_.drawLine(line);
                continue;
            }
            painter_.setClipRegion(QRegion(page).subtracted(after[i]));
            painter_.setPen(black);
            painter_.drawLine(line);
            painter_.setClipRegion(after[i]);
            painter_.setPen(white);
            painter_.drawLine(line);
            painter_.setClipping(false);
        }
    }

    QPrinter& printer_;
    std::vector<QtBackend::PrintedPage>& record_;
    QPainter painter_;
    std::vector<Op> ops_;
    bool inPage_ = false;
    bool failed_ = false;
};

}  // namespace

std::wstring QtBackend::PdfFileName() const {
    if (!pdfFile_.empty()) return pdfFile_;
    return StartFolder() + L"/kurvomat.pdf";
}

int QtBackend::MessageBox(const framework::MessageBoxRequest& request) {
    mirror_->SyncAll();
    QMessageBox box(OwnerWidget(request.owner));
    box.setObjectName(QStringLiteral("message-box"));
    box.setWindowTitle(Q(request.caption));
    box.setText(Q(request.text));
    box.setIcon(IconOf(request.type));
    const std::vector<BoxButton> buttons = ButtonsOf(request.type);
    std::vector<QPushButton*> made;
    for (const BoxButton& b : buttons) {
        made.push_back(box.addButton(QString::fromUtf8(b.text), b.role));
        made.back()->setObjectName(QStringLiteral("answer-%1").arg(b.answer));
    }
    box.setDefaultButton(made.front());
    // Escape and the close box answer the cancelling button, when the box has one.
    int cancel = -1;
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].answer == IDCANCEL || (buttons.size() == 1 && buttons[i].answer == IDOK))
            cancel = static_cast<int>(i);
    if (cancel >= 0) box.setEscapeButton(made[static_cast<std::size_t>(cancel)]);
    box.exec();
    for (std::size_t i = 0; i < made.size(); ++i)
        if (box.clickedButton() == made[i]) return buttons[i].answer;
    return cancel >= 0 ? buttons[static_cast<std::size_t>(cancel)].answer : buttons.back().answer;
}

std::wstring QtBackend::StartFolder() const {
    if (!lastFolder_.empty()) return lastFolder_;
    if (CWinApp* app = AfxGetApp())
        if (auto* frame = dynamic_cast<CFrameWnd*>(app->m_pMainWnd))
            if (CDocument* document = frame->GetActiveDocument())
                if (!document->GetPathName().IsEmpty())
                    return QFileInfo(Q(document->GetPathName().str()))
                        .absolutePath()
                        .toStdWString();
    return QDir::currentPath().toStdWString();
}

void QtBackend::PrepareFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(icons_.get());  // its one model, its completer's too
}

void QtBackend::NameFilesByName(QWidget& dialog) {
    for (QFileSystemModel* model : dialog.findChildren<QFileSystemModel*>())
        model->setIconProvider(icons_.get());
}

bool QtBackend::ExecFileDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    lastFolder_ = QFileInfo(dialog.selectedFiles().first()).absolutePath().toStdWString();
    return true;
}

framework::FileDialogAnswer QtBackend::RunFileDialog(const framework::FileDialogRequest& request) {
    mirror_->SyncAll();
    framework::FileDialogAnswer answer;
    QFileDialog dialog(OwnerWidget(request.owner), Q(request.title));
    dialog.setObjectName(QStringLiteral("file-dialog"));
    PrepareFileDialog(dialog);
    // The core asks before replacing and adds the default extension itself.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite |
                      QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = QtNameFilters(request.filters);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = std::clamp(request.filterIndex, 1, static_cast<int>(filters.size()));
        dialog.selectNameFilter(filters[index - 1]);
    }
    // A name with its folder opens in that folder.
    const QString initial = Q(request.initialName);
    const QFileInfo info(initial);
    dialog.setDirectory(initial.contains(QLatin1Char('/')) ? info.absolutePath()
                                                           : Q(StartFolder()));
    if (!initial.isEmpty()) dialog.selectFile(info.fileName());
    if (!ExecFileDialog(dialog)) return answer;
    answer.ok = true;
    answer.path = dialog.selectedFiles().first().toStdWString();
    answer.filterIndex = request.filterIndex;
    // The dialog may name the chosen filter by its label alone (its patterns are hidden).
    const QString chosen = dialog.selectedNameFilter();
    for (std::size_t i = 0; i < request.filters.size(); ++i) {
        if (filters[static_cast<qsizetype>(i)] == chosen ||
            Q(request.filters[i].first).trimmed() == chosen) {
            answer.filterIndex = static_cast<int>(i) + 1;
            break;
        }
    }
    return answer;
}

DEVMODE QtBackend::DefaultPrinter() const {
    DEVMODE devMode = Backend::DefaultPrinter();
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    // No printer installed: the jobs go to a PDF file the user names.
    SetDeviceName(devMode,
                  info.isNull() ? std::wstring(L"PDF") : info.printerName().toStdWString());
    return devMode;
}

bool QtBackend::ExecPrintDialog(QPrinter& printer, QWidget* owner, DWORD flags, bool setupOnly) {
    QPrintDialog dialog(&printer, owner);
    dialog.setObjectName(setupOnly ? QStringLiteral("print-setup-dialog")
                                   : QStringLiteral("print-dialog"));
    NameFilesByName(dialog);  // the completer of its output file's name
    dialog.setOption(QAbstractPrintDialog::PrintSelection, !(flags & PD_NOSELECTION));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, !(flags & PD_NOPAGENUMS));
    if (setupOnly)
        if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
            if (QPushButton* accept = buttons->button(QDialogButtonBox::Ok))
                accept->setText(QStringLiteral("OK"));
    // The "print to file" browser is a file dialog like the program's others.
    auto* browse = dialog.findChild<QToolButton*>(QStringLiteral("fileBrowser"));
    auto* fileName = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
    auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
    if (browse && fileName && printers) {
        QObject::disconnect(browse, &QAbstractButton::clicked, nullptr, nullptr);
        QObject::connect(
            browse, &QAbstractButton::clicked, &dialog, [this, &dialog, fileName, printers] {
                const QFileInfo current(fileName->text());
                QFileDialog files(&dialog, QStringLiteral("Imprimer dans un fichier"));
                files.setObjectName(QStringLiteral("pdf-file-dialog"));
                PrepareFileDialog(files);
                files.setOption(QFileDialog::DontConfirmOverwrite);  // the print dialog asks
                files.setAcceptMode(QFileDialog::AcceptSave);
                files.setDirectory(fileName->text().contains(QLatin1Char('/'))
                                       ? current.absolutePath()
                                       : Q(StartFolder()));
                files.selectFile(current.fileName());
                if (!ExecFileDialog(files)) return;
                fileName->setText(files.selectedFiles().first());
                printers->setCurrentIndex(printers->count() - 1);  // the file is the last "printer"
            });
    }
    return dialog.exec() == QDialog::Accepted;
}

framework::PrintDialogAnswer QtBackend::RunPrintDialog(
    const framework::PrintDialogRequest& request) {
    mirror_->SyncAll();
    framework::PrintDialogAnswer answer;
    answer.devMode = request.devMode;
    const QPrinterInfo info = PrinterNamed(request.devMode.dmDeviceName);
    QPrinter printer(info, QPrinter::HighResolution);
    if (info.isNull()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(Q(PdfFileName()));
    }
    ApplyDevMode(printer, request.devMode);
    QWidget* owner = OwnerWidget(request.owner);
    bool ok = false;
    if (request.setupOnly && !info.isNull()) {
        QPageSetupDialog dialog(&printer, owner);
        dialog.setObjectName(QStringLiteral("page-setup-dialog"));
        NameFilesByName(dialog);
        ok = dialog.exec() == QDialog::Accepted;
    } else {
        // Qt's page set-up works on installed printers only: without one, the set-up is the
        // print dialog (printer, file, paper and orientation under its properties), ended by
        // "OK".
        ok = ExecPrintDialog(printer, owner, request.flags, request.setupOnly);
    }
    if (!ok) return answer;
    answer.ok = true;
    answer.devMode = DevModeOf(printer, request.devMode);
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        pdfChosen_ = printer.outputFileName().toStdWString();
    return answer;
}

bool QtBackend::RunPrintJob(const DEVMODE& devMode, const std::wstring& documentName, bool preview,
                            const std::function<void(framework::PrintJob&)>& render) {
    mirror_->SyncAll();
    const QPrinterInfo info = PrinterNamed(devMode.dmDeviceName);
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(Q(documentName));
    ApplyDevMode(printer, devMode);
    QWidget* owner = OwnerWidget(nullptr);
    if (preview) {
        if (info.isNull()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(Q(PdfFileName()));
        }
        QPrintPreviewDialog dialog(&printer, owner);
        dialog.setObjectName(QStringLiteral("print-preview"));
        NameFilesByName(dialog);
        dialog.setWindowTitle(Q(documentName));
        bool printing = false, failed = false;
        // Each rendering draws on the printer as the user left it (paper, copies); the program
        // sets the orientation itself.
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                         [this, &render, &printing, &failed](QPrinter* target) {
                             PrinterJob job(*target, printed_);
                             render(job);
                             if (printing) failed = job.Failed();
                         });
        // Printing from the preview follows the program's print command: the print dialog
        // without a page range or a selection (one page is printed), then the chosen printer.
        const QString printText = QCoreApplication::translate("QPrintPreviewDialog", "Print");
        for (QAction* action : dialog.findChildren<QAction*>()) {
            if (action->text() != printText) continue;
            action->setObjectName(QStringLiteral("preview-print"));
            action->disconnect(&dialog);
            QObject::connect(
                action, &QAction::triggered, &dialog, [this, &dialog, &printer, &printing] {
                    if (!ExecPrintDialog(printer, &dialog, PD_NOSELECTION | PD_NOPAGENUMS, false))
                        return;
                    printing = true;
                    if (auto* pages = dialog.findChild<QPrintPreviewWidget*>()) pages->print();
                    dialog.accept();
                });
        }
        dialog.exec();
        return !failed;
    }
    if (info.isNull()) {
        // No such printer: a PDF file, the one the print dialog named or one asked for now.
        QString path = Q(pdfChosen_);
        pdfChosen_.clear();
        if (path.isEmpty()) {
            const QFileInfo proposed(Q(PdfFileName()));
            QFileDialog dialog(owner, QStringLiteral("Imprimer dans un fichier"));
            dialog.setObjectName(QStringLiteral("pdf-file-dialog"));
            PrepareFileDialog(dialog);
            dialog.setNameFilter(QStringLiteral("Documents PDF (*.pdf)"));
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setDirectory(proposed.absolutePath());
            dialog.selectFile(proposed.fileName());
            if (ExecFileDialog(dialog)) path = dialog.selectedFiles().first();
        }
        if (path.isEmpty()) return true;  // the user gave up: nothing printed, no failure
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    }
    PrinterJob job(printer, printed_);
    render(job);
    return !job.Failed();
}

bool QtBackend::ShellExecute(const std::string& verb, const std::string& file) {
    if (verb != "open") return false;
    std::string path = file;
    path.erase(std::remove(path.begin(), path.end(), '"'), path.end());
    if (path.empty() || !QFileInfo::exists(QString::fromStdString(path))) return false;
    // A launcher that fails does so at once; one that runs longer has found a program.
    constexpr int kLauncherWaitMs = 1000;
    return OpenWithDesktop(QString::fromStdString(path), kLauncherWaitMs);
}

}  // namespace qtbackend
