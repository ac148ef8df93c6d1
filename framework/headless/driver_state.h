// The test driver's state, shared by the driver and the headless backend.
#pragma once

#include <deque>
#include <memory>
#include <set>

#include "framework/backend.h"
#include "framework/headless/driver.h"

namespace headless {

// One queued thing for the next modal thing to open.
struct ScriptEntry {
    enum Kind { kDialog, kMessageBox, kFileDialog, kPrintDialog } kind = kDialog;
    DialogScript script;
    int answer = 0;
    bool ok = false;
    std::wstring path;
    int filterIndex = 1;
    short orientation = 0;
};

struct Driver::State {
    std::unique_ptr<framework::Backend> backend;
    CRect screen{0, 0, 1920, 1080};
    int charWidth = 6;
    CSize printerPage{2480, 3508};
    int printerDpi = 300;
    bool printerFails = false;
    bool shellFails = false;
    std::set<UINT> locked;
    std::uint64_t now = 0;
    bool running = false;

    std::deque<ScriptEntry> queue;
    std::vector<MessageBoxRecord> messageBoxes;
    std::vector<FileDialogRecord> fileDialogs;
    std::vector<PrintDialogRecord> printDialogs;
    std::vector<PrintJobRecord> printJobs;
    std::vector<std::string> shellRequests;
    std::vector<PaintLog> paints;
    int waitCursorShows = 0;
    bool waitCursorShown = false;
    std::vector<int> dialogsOpened;
    std::vector<std::string> errors;
};

using DriverState = Driver::State;

}  // namespace headless
