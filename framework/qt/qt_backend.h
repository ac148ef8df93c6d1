// The Qt 6 backend: mirrors the framework's windows as widgets, paints through QPainter, runs the
// modal loops and timers on Qt's event loop, and shows Qt's message, file and print dialogs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/backend.h"

class CWinApp;
class QFileDialog;
class QPrinter;
class QWidget;

namespace qtbackend {

class Mirror;
class NameIconProvider;

// Needs a QApplication for its whole life. Every call into the framework's core goes through
// Dispatch: a call that arrives while the core is busy waits until the core's call returns.
class QtBackend : public framework::Backend {
  public:
    QtBackend();
    ~QtBackend() override;
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

    // Starts the application (framework start-up, then InitInstance with its splash); false
    // when start-up failed, the application is then stopped.
    bool Start(CWinApp& app, const std::wstring& executablePath, const std::wstring& commandLine);
    // Runs Qt's event loop until the main window is gone, then stops the application.
    int Exec();
    // Ends the application without questions (framework shut-down).
    void Stop();
    // Started and the main window not gone.
    bool Running() const;

    // Runs `call` into the core now, or after the core's current call returns; then the idle
    // processing, the widgets' update and the modal loops' end.
    void Dispatch(std::function<void()> call);
    bool Busy() const;
    // Which start the application is in (each Start counts one).
    int RunNumber() const;

    // The widget of a window record, nullptr while it has none.
    QWidget* WidgetOf(HWND hwnd) const;
    // Moves the framework's clock forward (tests: the splash's three seconds).
    void SkipTime(std::uint64_t ms);
    // The font of the dialogs and the status bar.
    static const char* DialogFontFamily();
    // The PDF file the print dialog proposes when no printer is installed.
    void SetPdfFileName(const std::wstring& path) { pdfFile_ = path; }

    // The pages of the last print job (or preview rendering) as the core drew them.
    struct PrintedPage {
        CSize size;
        int dpi = 0;
        std::vector<CRect> lines;  // (x0, y0) -> (x1, y1) as left, top -> right, bottom
        std::vector<CRect> inverts;
    };
    const std::vector<PrintedPage>& LastPrintedPages() const { return printed_; }

    // framework::Backend
    CRect ScreenRect() const override;
    int TextWidth(const std::wstring& text) const override;
    bool KeyLocked(UINT virtualKey) const override;
    void SetWaitCursor(bool shown) override;
    void WindowCreated(HWND hwnd) override;
    void WindowDestroyed(HWND hwnd) override;
    void WindowChanged(HWND hwnd) override;
    void StatusBarChanged(HWND statusBar) override;
    void MenuChanged(HWND frame) override;
    void WindowInvalidated(HWND hwnd) override;
    void PaintNow(HWND hwnd) override;
    void RunModalLoop(HWND dialog, const std::function<bool()>& ended) override;
    std::uint64_t NowMs() const override;
    void TimersChanged(std::uint64_t nextDueMs) override;
    int MessageBox(const framework::MessageBoxRequest& request) override;
    framework::FileDialogAnswer RunFileDialog(const framework::FileDialogRequest& request) override;
    framework::PrintDialogAnswer RunPrintDialog(
        const framework::PrintDialogRequest& request) override;
    DEVMODE DefaultPrinter() const override;
    bool RunPrintJob(const DEVMODE& devMode, const std::wstring& documentName, bool preview,
                     const std::function<void(framework::PrintJob&)>& render) override;
    bool ShellExecute(const std::string& verb, const std::string& file) override;

  private:
    struct State;
    // Idle processing, widgets, ended loops, quit; runs after each outermost call.
    void Settle();
    void DeliverTimers();
    QWidget* OwnerWidget(HWND owner) const;
    std::wstring PdfFileName() const;
    // The folder a file dialog opens in when the program names none: the one used last in this
    // run, else the current document's, else the working folder.
    std::wstring StartFolder() const;
    // Every file dialog: Qt's own widgets, types and icons from the names only.
    void PrepareFileDialog(QFileDialog& dialog);
    // Every file-system model a Qt dialog holds gets types and icons from the names only: Qt's
    // own provider reads the files, and a folder like /proc holds files that never answer.
    void NameFilesByName(QWidget& dialog);
    // Runs the dialog; an accepted choice makes its folder the one used last.
    bool ExecFileDialog(QFileDialog& dialog);
    // The print dialog (or the print set-up) on `printer`; its own file dialog is ours.
    bool ExecPrintDialog(QPrinter& printer, QWidget* owner, DWORD flags, bool setupOnly);

    std::unique_ptr<State> state_;
    std::unique_ptr<Mirror> mirror_;
    std::unique_ptr<NameIconProvider> icons_;
    std::wstring lastFolder_;
    std::wstring pdfFile_;
    std::wstring pdfChosen_;  // the file the last print dialog named, for the next job
    std::vector<PrintedPage> printed_;
};

}  // namespace qtbackend
