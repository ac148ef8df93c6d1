// The headless backend: no display, a pinned screen and font, a clock moved by the test, and
// every modal thing (dialogs, message boxes, file and print dialogs) answered from the test
// driver's script. All of its factories are in this file.
#include "framework/headless/platform.h"

#include <algorithm>
#include <string>

#include "common/text_conversion.h"
#include "framework/core.h"
#include "framework/dialog.h"
#include "framework/headless/driver_state.h"

namespace headless {
namespace {

std::string Narrow(const std::wstring& text) {
    return WideToNarrow(text);
}

// A device that records what is drawn on it.
class RecordingDevice : public framework::PaintDevice {
  public:
    RecordingDevice(CSize size, CSize dpi) : size_(size), dpi_(dpi) {}
    void Line(int x0, int y0, int x1, int y1) override {
        ops.push_back({DrawOp::kLine, CRect(x0, y0, x1, y1)});
    }
    void InvertRect(const RECT& rect) override { ops.push_back({DrawOp::kInvert, CRect(rect)}); }
    CSize Size() const override { return size_; }
    CSize DotsPerInch() const override { return dpi_; }
    std::vector<DrawOp> ops;

  private:
    CSize size_;
    CSize dpi_;
};

// A print job on the driver's printer page; each page is recorded.
class RecordingPrintJob : public framework::PrintJob {
  public:
    RecordingPrintJob(CSize portrait, int dpi, int orientation)
        : portrait_(portrait), dpi_(dpi), orientation_(orientation) {}
    bool StartPage() override {
        PaintLog page;
        page.size = Size();
        pages.push_back(page);
        inPage_ = true;
        return true;
    }
    void EndPage() override { inPage_ = false; }
    void SetOrientation(int orientation) override { orientation_ = orientation; }
    CSize Size() const override {
        return orientation_ == DMORIENT_LANDSCAPE ? CSize(portrait_.cy, portrait_.cx) : portrait_;
    }
    CSize DotsPerInch() const override { return CSize(dpi_, dpi_); }
    void Line(int x0, int y0, int x1, int y1) override {
        if (inPage_) pages.back().ops.push_back({DrawOp::kLine, CRect(x0, y0, x1, y1)});
    }
    void InvertRect(const RECT& rect) override {
        if (inPage_) pages.back().ops.push_back({DrawOp::kInvert, CRect(rect)});
    }
    std::vector<PaintLog> pages;

  private:
    CSize portrait_;
    int dpi_;
    int orientation_;
    bool inPage_ = false;
};

const char* KindName(ScriptEntry::Kind kind) {
    switch (kind) {
        case ScriptEntry::kDialog:
            return "a dialog script";
        case ScriptEntry::kMessageBox:
            return "a message-box answer";
        case ScriptEntry::kFileDialog:
            return "a file-dialog answer";
        case ScriptEntry::kPrintDialog:
            return "a print-dialog answer";
    }
    return "?";
}

bool AnswerFits(UINT type, int answer) {
    switch (type & MB_TYPEMASK) {
        case MB_OK:
            return answer == IDOK;
        case MB_OKCANCEL:
            return answer == IDOK || answer == IDCANCEL;
        case MB_YESNO:
            return answer == IDYES || answer == IDNO;
        case MB_YESNOCANCEL:
            return answer == IDYES || answer == IDNO || answer == IDCANCEL;
        case MB_RETRYCANCEL:
            return answer == IDRETRY || answer == IDCANCEL;
        case MB_ABORTRETRYIGNORE:
            return answer == IDABORT || answer == IDRETRY || answer == IDIGNORE;
        default:
            return false;
    }
}

// What a box answers when nobody scripted it: its cancelling button.
int SafeAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OK:
            return IDOK;
        case MB_YESNO:
            return IDNO;
        case MB_ABORTRETRYIGNORE:
            return IDABORT;
        default:
            return IDCANCEL;
    }
}

}  // namespace

class HeadlessBackend : public framework::Backend {
  public:
    explicit HeadlessBackend(Driver& driver) : driver_(driver) {}

    CRect ScreenRect() const override { return State().screen; }
    int TextWidth(const std::wstring& text) const override {
        return State().charWidth * static_cast<int>(text.size());
    }
    bool KeyLocked(UINT virtualKey) const override { return State().locked.count(virtualKey) > 0; }
    void SetWaitCursor(bool shown) override {
        if (shown) ++State().waitCursorShows;
        State().waitCursorShown = shown;
    }

    void PaintNow(HWND hwnd) override {
        RecordingDevice device(framework::ClientRect(hwnd).Size(), CSize(96, 96));
        framework::PaintWindow(hwnd, device);
        PaintLog log;
        HWND top = framework::TopLevelOf(hwnd);
        log.dialogId = top ? top->dialogId : 0;
        log.controlId = hwnd->parent ? hwnd->id : 0;
        log.size = device.Size();
        log.ops = std::move(device.ops);
        auto& paints = State().paints;
        // Old paints are dropped so a long test keeps a bounded record.
        if (paints.size() >= 4000) paints.erase(paints.begin(), paints.begin() + 1000);
        paints.push_back(std::move(log));
    }

    void RunModalLoop(HWND dialog, const std::function<bool()>& ended) override {
        DriverState& state = State();
        const int id = dialog->dialogId;
        state.dialogsOpened.push_back(id);
        if (state.queue.empty() || state.queue.front().kind != ScriptEntry::kDialog ||
            (state.queue.front().script.templateId_ != 0 &&
             state.queue.front().script.templateId_ != id)) {
            std::string expected =
                state.queue.empty() ? std::string("nothing") : KindName(state.queue.front().kind);
            if (!state.queue.empty() && state.queue.front().kind == ScriptEntry::kDialog)
                expected =
                    "a script for dialog " + std::to_string(state.queue.front().script.templateId_);
            driver_.AddError("dialog " + std::to_string(id) + " opened, but " + expected +
                             " was queued");
            EndModal(dialog, IDABORT);
            return;
        }
        const auto steps = std::move(state.queue.front().script.steps_);
        state.queue.pop_front();
        framework::RunIdle();
        for (std::size_t i = 0; i < steps.size(); ++i) {
            if (ended()) {
                driver_.AddError("dialog " + std::to_string(id) + " ended with " +
                                 std::to_string(steps.size() - i) + " scripted step(s) not run");
                break;
            }
            const std::string error = steps[i](driver_, dialog);
            if (!error.empty())
                driver_.AddError("dialog " + std::to_string(id) + ", step " +
                                 std::to_string(i + 1) + ": " + error);
            framework::RunIdle();
        }
        if (!ended()) {
            driver_.AddError("dialog " + std::to_string(id) +
                             ": the script ran out and the dialog was still open");
            EndModal(dialog, IDABORT);
        }
    }

    std::uint64_t NowMs() const override { return State().now; }

    int MessageBox(const framework::MessageBoxRequest& request) override {
        DriverState& state = State();
        MessageBoxRecord record{request.text, request.caption, request.type, 0};
        if (!state.queue.empty() && state.queue.front().kind == ScriptEntry::kMessageBox) {
            record.answer = state.queue.front().answer;
            state.queue.pop_front();
            if (!AnswerFits(request.type, record.answer)) {
                driver_.AddError("message box \"" + Narrow(request.text) + "\" cannot answer " +
                                 std::to_string(record.answer));
                record.answer = SafeAnswer(request.type);
            }
        } else {
            driver_.AddError("message box \"" + Narrow(request.text) + "\" shown, but " +
                             (state.queue.empty() ? std::string("nothing")
                                                  : KindName(state.queue.front().kind)) +
                             " was queued");
            record.answer = SafeAnswer(request.type);
        }
        state.messageBoxes.push_back(record);
        return record.answer;
    }

    framework::FileDialogAnswer RunFileDialog(
        const framework::FileDialogRequest& request) override {
        DriverState& state = State();
        FileDialogRecord record{request.open,
                                request.title,
                                request.filters,
                                request.filterIndex,
                                request.defaultExtension,
                                request.initialName,
                                request.flags,
                                false,
                                L""};
        framework::FileDialogAnswer answer;
        if (!state.queue.empty() && state.queue.front().kind == ScriptEntry::kFileDialog) {
            const ScriptEntry& entry = state.queue.front();
            answer.ok = entry.ok;
            answer.path = entry.path;
            answer.filterIndex = entry.filterIndex;
            state.queue.pop_front();
            const int filters = static_cast<int>(request.filters.size());
            if (answer.ok && filters > 0 &&
                (answer.filterIndex < 1 || answer.filterIndex > filters)) {
                driver_.AddError("file dialog \"" + Narrow(request.title) + "\" has no filter " +
                                 std::to_string(answer.filterIndex));
                answer.ok = false;
            }
        } else {
            driver_.AddError("file dialog \"" + Narrow(request.title) + "\" shown, but " +
                             (state.queue.empty() ? std::string("nothing")
                                                  : KindName(state.queue.front().kind)) +
                             " was queued");
        }
        record.ok = answer.ok;
        record.path = answer.path;
        state.fileDialogs.push_back(record);
        return answer;
    }

    framework::PrintDialogAnswer RunPrintDialog(
        const framework::PrintDialogRequest& request) override {
        DriverState& state = State();
        PrintDialogRecord record{request.setupOnly, request.flags, request.devMode.dmOrientation,
                                 false};
        framework::PrintDialogAnswer answer;
        answer.devMode = request.devMode;
        if (!state.queue.empty() && state.queue.front().kind == ScriptEntry::kPrintDialog) {
            const ScriptEntry& entry = state.queue.front();
            answer.ok = entry.ok;
            if (entry.orientation != 0) {
                answer.devMode.dmOrientation = entry.orientation;
                answer.devMode.dmFields |= DM_ORIENTATION;
            }
            state.queue.pop_front();
        } else {
            driver_.AddError(std::string("print dialog shown, but ") +
                             (state.queue.empty() ? std::string("nothing")
                                                  : KindName(state.queue.front().kind)) +
                             " was queued");
        }
        record.ok = answer.ok;
        state.printDialogs.push_back(record);
        return answer;
    }

    bool RunPrintJob(const DEVMODE& devMode, const std::wstring& documentName, bool preview,
                     const std::function<void(framework::PrintJob&)>& render) override {
        DriverState& state = State();
        if (state.printerFails) return false;
        const int orientation =
            (devMode.dmFields & DM_ORIENTATION) ? devMode.dmOrientation : DMORIENT_PORTRAIT;
        RecordingPrintJob job(state.printerPage, state.printerDpi, orientation);
        render(job);
        state.printJobs.push_back({preview, documentName, std::move(job.pages)});
        return true;
    }

    bool ShellExecute(const std::string& verb, const std::string& file) override {
        State().shellRequests.push_back(verb + " " + file);
        return !State().shellFails;
    }

  private:
    DriverState& State() const { return *driver_.state_; }

    static void EndModal(HWND dialog, int result) {
        if (auto* d = dynamic_cast<CDialog*>(dialog->wnd)) d->EndDialog(result);
    }

    Driver& driver_;
};

std::unique_ptr<framework::Backend> CreateHeadlessBackend(Driver& driver) {
    return std::make_unique<HeadlessBackend>(driver);
}

}  // namespace headless
