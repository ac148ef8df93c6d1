// The backend interface: what presents the framework's state and turns a person's actions into
// its messages (headless for tests, a desktop toolkit for real windows).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/common_dialogs.h"
#include "framework/dc.h"
#include "framework/types.h"

namespace framework {

struct MessageBoxRequest {
    HWND owner = nullptr;
    std::wstring text;
    std::wstring caption;
    UINT type = MB_OK;
};

struct FileDialogRequest {
    bool open = true;
    HWND owner = nullptr;
    std::wstring title;  // empty: the framework's default title
    std::vector<std::pair<std::wstring, std::wstring>> filters;  // (label, pattern)
    int filterIndex = 1;                                         // 1-based
    std::wstring defaultExtension;
    std::wstring initialName;
    DWORD flags = 0;
};

struct FileDialogAnswer {
    bool ok = false;
    std::wstring path;
    int filterIndex = 1;
};

struct PrintDialogRequest {
    bool setupOnly = false;
    HWND owner = nullptr;
    DWORD flags = 0;
    DEVMODE devMode;  // what the dialog shows
};

struct PrintDialogAnswer {
    bool ok = false;
    DEVMODE devMode;  // what the user chose
};

// One print job or preview: the device the printer's CDC draws on. The framework draws page
// after page between StartPage and EndPage; SetOrientation (from the CDC's ResetDC) applies
// from the next page on.
class PrintJob : public PaintDevice {
  public:
    // False when the page cannot start.
    virtual bool StartPage() = 0;
    virtual void EndPage() = 0;
};

// Screen and frame metrics, in pixels.
struct Metrics {
    int captionHeight = 21;
    int dialogFrame = 3;  // modal and dialog frames
    int sizingFrame = 4;  // resizable frames
    int border = 1;
    int clientEdge = 2;
    int menuBarHeight = 20;
    int statusBarHeight = 20;
};

class Backend {
  public:
    virtual ~Backend() = default;

    // ---- Screen, fonts, keyboard --------------------------------------------------------
    // The desktop window's rectangle: the work area of the screen (what windows may cover).
    virtual CRect ScreenRect() const { return CRect(0, 0, 1920, 1080); }
    virtual Metrics WindowMetrics() const { return Metrics{}; }
    // Width in pixels of `text` in the dialog font ("MS Sans Serif" 8 pt).
    virtual int TextWidth(const std::wstring& text) const {
        return 6 * static_cast<int>(text.size());
    }
    // Caps Lock, Num Lock and Scroll Lock (VK_CAPITAL, VK_NUMLOCK, VK_SCROLL).
    virtual bool KeyLocked(UINT /*virtualKey*/) const { return false; }
    virtual void SetWaitCursor(bool /*shown*/) {}

    // ---- Windows ---------------------------------------------------------------------------
    virtual void WindowCreated(HWND /*hwnd*/) {}
    virtual void WindowDestroyed(HWND /*hwnd*/) {}
    // Text, position, visibility, enabled state, check state, list rows or menu changed.
    virtual void WindowChanged(HWND /*hwnd*/) {}
    virtual void StatusBarChanged(HWND /*statusBar*/) {}
    virtual void MenuChanged(HWND /*frame*/) {}
    // Part of the window became invalid; a desktop backend schedules its repaint.
    virtual void WindowInvalidated(HWND /*hwnd*/) {}
    // Paint the window now: the backend supplies a device and calls framework::PaintWindow.
    virtual void PaintNow(HWND hwnd) = 0;

    // ---- Loops and clock ---------------------------------------------------------------------
    // Runs events until `ended` answers true (a modal dialog's loop).
    virtual void RunModalLoop(HWND dialog, const std::function<bool()>& ended) = 0;
    // Milliseconds on the framework's clock.
    virtual std::uint64_t NowMs() const = 0;
    // The earliest timer due moment changed (or no timer is left: 0).
    virtual void TimersChanged(std::uint64_t /*nextDueMs*/) {}

    // ---- System dialogs and services ---------------------------------------------------------
    virtual int MessageBox(const MessageBoxRequest& request) = 0;
    virtual FileDialogAnswer RunFileDialog(const FileDialogRequest& request) = 0;
    virtual PrintDialogAnswer RunPrintDialog(const PrintDialogRequest& request) = 0;
    // The default printer's settings.
    virtual DEVMODE DefaultPrinter() const;
    // Runs a print job (preview: a print preview) with `render` drawing the pages; false when
    // the printer cannot start. A preview may call render more than once.
    virtual bool RunPrintJob(const DEVMODE& devMode, const std::wstring& documentName, bool preview,
                             const std::function<void(PrintJob&)>& render) = 0;
    // The shell's verb on a file; answers false when nothing could open it.
    virtual bool ShellExecute(const std::string& verb, const std::string& file) = 0;

    // ---- Settings ------------------------------------------------------------------------------
    // Profile entries of the application; the default keeps them in an INI file under
    // $XDG_CONFIG_HOME (else ~/.config)/<key>/<application>.conf.
    virtual std::wstring ReadProfile(const std::wstring& key, const std::wstring& app,
                                     const std::wstring& section, const std::wstring& entry,
                                     const std::wstring& defaultValue, bool* found);
    virtual bool WriteProfile(const std::wstring& key, const std::wstring& app,
                              const std::wstring& section, const std::wstring& entry,
                              const std::wstring& value);
};

// The backend the framework runs on; set once by main() or a test fixture.
void SetBackend(Backend* backend);
Backend& CurrentBackend();
bool HasBackend();

// Sends WM_PAINT to `hwnd` with `device` as the target of its CPaintDC.
void PaintWindow(HWND hwnd, PaintDevice& device);
// Idle processing of the running loop: paints invalid windows, updates the status bar. True when
// a window shown is invalid again after its paint (its handler moved or invalidated it): the loop
// runs another idle turn as soon as it has nothing else to do, as it would for a new paint.
bool RunIdle();
// The earliest moment a timer is due, or nothing when no timer runs.
std::optional<std::uint64_t> NextTimerDue();
// Delivers the earliest timer due at or before `nowMs` (WM_TIMER, or its callback) and
// schedules its next period; false when none is due.
bool DeliverNextTimer(std::uint64_t nowMs);
// The profile file's text: sections of entries. Lines that are neither a section, an entry
// ("key=value", key not empty) nor blank or a comment (";", "#") are skipped. A value that a line
// would not keep as it is (line breaks and other control characters, blanks at either end, a
// leading quote) is written between quotes with backslash escapes (\\, \", \n, \r, \t, \xHH);
// other values stand as they are, as in files written before.
using ProfileSections = std::map<std::string, std::map<std::string, std::string>>;
ProfileSections ParseProfileText(const std::string& text);
std::string FormatProfileText(const ProfileSections& sections);
// Path of the profile file for (registry key, application name).
std::string ProfileFilePath(const std::wstring& key, const std::wstring& app);

}  // namespace framework
