// CWinApp: start-up and shut-down, command line, recent-file list, profile, printer settings;
// application-wide message boxes and the shell's verbs.
#include "framework/app.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <filesystem>

#include "common/text_conversion.h"
#include "framework/backend.h"
#include "framework/core.h"
#include "framework/doc_view.h"
#include "framework/frame.h"
#include "framework/resources.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace {

CWinApp* g_app = nullptr;

wchar_t* Duplicate(const std::wstring& text) {
    auto* copy = static_cast<wchar_t*>(std::malloc((text.size() + 1) * sizeof(wchar_t)));
    if (!copy) return nullptr;
    std::wmemcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

void Release(LPCTSTR& text) {
    std::free(const_cast<wchar_t*>(text));
    text = nullptr;
}

const wchar_t kRecentSection[] = L"Recent File List";

// Splits a command line into arguments: blanks separate, double quotes group.
std::vector<std::wstring> SplitCommandLine(const std::wstring& line) {
    std::vector<std::wstring> args;
    std::wstring current;
    bool quoted = false;
    bool any = false;
    for (wchar_t c : line) {
        if (c == L'"') {
            quoted = !quoted;
            any = true;
        } else if (!quoted && (c == L' ' || c == L'\t')) {
            if (any) args.push_back(current);
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any) args.push_back(current);
    return args;
}

}  // namespace

// Command line

void CCommandLineInfo::ParseParam(const wchar_t* param, BOOL flag, BOOL) {
    // Options are not used by the program; the first plain argument names a document.
    if (flag || !param) return;
    if (m_strFileName.IsEmpty()) {
        m_strFileName = param;
        m_nShellCommand = FileOpen;
    }
}

// Recent-file list

namespace framework {

void RecentFileList::Add(const std::wstring& path) {
    if (path.empty()) return;
    std::wstring full = path;
    std::error_code error;
    const auto absolute =
        std::filesystem::absolute(std::filesystem::path(WideToNarrow(path)), error);
    if (!error) full = NarrowToWide(absolute.lexically_normal().string());
    std::erase(entries_, full);
    entries_.insert(entries_.begin(), full);
    if (static_cast<int>(entries_.size()) > size_) entries_.resize(static_cast<std::size_t>(size_));
}

void RecentFileList::ReadList(const std::wstring& section) {
    entries_.clear();
    CWinApp* app = AfxGetApp();
    if (!app) return;
    for (int i = 1; i <= size_; ++i) {
        const CString entry =
            app->GetProfileString(section.c_str(), FormatWide(L"File%d", i).c_str(), L"");
        // A file named twice (left so by an earlier writer) shows once.
        if (!entry.IsEmpty() &&
            std::find(entries_.begin(), entries_.end(), entry.str()) == entries_.end())
            entries_.push_back(entry.str());
    }
}

void RecentFileList::WriteList(const std::wstring& section) const {
    CWinApp* app = AfxGetApp();
    if (!app) return;
    // An entry the profile refuses is left out and the later ones move up, so that no entry of an
    // earlier run stays in its place; the places left over are emptied.
    int slot = 1;
    for (const std::wstring& entry : entries_) {
        if (slot > size_) break;
        if (app->WriteProfileString(section.c_str(), FormatWide(L"File%d", slot).c_str(),
                                    entry.c_str()))
            ++slot;
    }
    for (; slot <= size_; ++slot)
        app->WriteProfileString(section.c_str(), FormatWide(L"File%d", slot).c_str(), L"");
}

}  // namespace framework

// Application

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, &CWinApp::OnOpenRecentFile)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, &CWinApp::OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR appName) {
    if (appName) constructorName_ = appName;
    g_app = this;
}

CWinApp::~CWinApp() {
    FrameworkStop();
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() {
    return g_app;
}

CWnd* AfxGetMainWnd() {
    return g_app ? g_app->m_pMainWnd : nullptr;
}

void CWinApp::ReleaseStrings() {
    Release(m_pszAppName);
    Release(m_pszExeName);
    Release(m_pszHelpFilePath);
    Release(m_pszRegistryKey);
    Release(m_pszProfileName);
    std::free(m_lpCmdLine);
    m_lpCmdLine = nullptr;
}

void CWinApp::FrameworkStart(const std::wstring& executablePath, const std::wstring& commandLine) {
    FrameworkStop();
    framework::ClearQuit();
    std::wstring name = constructorName_;
    if (name.empty()) name = ResourceString(AFX_IDS_APP_TITLE);
    const std::size_t slash = executablePath.find_last_of(L'/');
    const std::wstring fileName =
        slash == std::wstring::npos ? executablePath : executablePath.substr(slash + 1);
    const std::size_t dot = fileName.find_last_of(L'.');
    const std::wstring baseName = dot == std::wstring::npos ? fileName : fileName.substr(0, dot);
    if (name.empty()) name = baseName;
    m_pszAppName = Duplicate(name);
    m_pszExeName = Duplicate(baseName);
    m_pszProfileName = Duplicate(name);
    // The help file: the executable's path with the extension ".HLP".
    const std::wstring folder =
        slash == std::wstring::npos ? std::wstring() : executablePath.substr(0, slash + 1);
    m_pszHelpFilePath = Duplicate(folder + baseName + L".HLP");
    m_lpCmdLine = Duplicate(commandLine);
    arguments_ = SplitCommandLine(commandLine);
}

void CWinApp::FrameworkStop() {
    const bool started = m_pszAppName != nullptr;
    if (started) {
        CloseAllDocuments(TRUE);
        if (m_pMainWnd && m_pMainWnd->m_hWnd) m_pMainWnd->DestroyWindow();
        m_pMainWnd = nullptr;
        ExitInstance();
    }
    for (CDocTemplate* t : templates_) delete t;
    templates_.clear();
    delete recentFiles_;
    recentFiles_ = nullptr;
    if (m_hDevMode) m_hDevMode = GlobalFree(m_hDevMode);
    if (m_hDevNames) m_hDevNames = GlobalFree(m_hDevNames);
    ReleaseStrings();
    arguments_.clear();
    if (started) framework::ResetCore();
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    SaveStdProfileSettings();
    return 0;
}

BOOL CWinApp::OnIdle(LONG) {
    auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd);
    if (!frame || !frame->m_hWnd) return FALSE;
    frame->OnUpdateFrameTitle(TRUE);
    if (CStatusBar* bar = frame->GetStatusBar()) {
        bar->UpdatePanes(frame);
        // The idle message comes back when the message pane is empty and no menu is open.
        if (!frame->MenuTracking() && bar->GetCount() > 0 && bar->GetPaneText(0).IsEmpty())
            frame->SetMessageText(AFX_IDS_IDLEMESSAGE);
    }
    return FALSE;
}

void CWinApp::SetRegistryKey(LPCTSTR key) {
    Release(m_pszRegistryKey);
    m_pszRegistryKey = Duplicate(key ? key : L"");
}

void CWinApp::LoadStdProfileSettings(UINT maxMru) {
    delete recentFiles_;
    recentFiles_ = nullptr;
    if (maxMru == 0) return;
    recentFiles_ = new framework::RecentFileList(static_cast<int>(std::min<UINT>(maxMru, 16)));
    recentFiles_->ReadList(kRecentSection);
}

void CWinApp::SaveStdProfileSettings() {
    if (recentFiles_) recentFiles_->WriteList(kRecentSection);
}

CString CWinApp::GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue) {
    const std::wstring fallback = defaultValue ? defaultValue : L"";
    if (!framework::HasBackend()) return CString(fallback);
    bool found = false;
    return CString(framework::CurrentBackend().ReadProfile(
        m_pszRegistryKey ? m_pszRegistryKey : L"", m_pszProfileName ? m_pszProfileName : L"",
        section ? section : L"", entry ? entry : L"", fallback, &found));
}

BOOL CWinApp::WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) {
    if (!framework::HasBackend()) return FALSE;
    return framework::CurrentBackend().WriteProfile(
        m_pszRegistryKey ? m_pszRegistryKey : L"", m_pszProfileName ? m_pszProfileName : L"",
        section ? section : L"", entry ? entry : L"", value ? value : L"");
}

UINT CWinApp::GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue) {
    const CString text = GetProfileString(section, entry, L"");
    if (text.IsEmpty()) return static_cast<UINT>(defaultValue);
    return static_cast<UINT>(std::wcstol(text, nullptr, 10));
}

BOOL CWinApp::WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) {
    return WriteProfileString(section, entry, FormatWide(L"%d", value).c_str());
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate) {
    if (docTemplate) templates_.push_back(docTemplate);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    for (std::size_t i = 0; i < arguments_.size(); ++i) {
        const std::wstring& arg = arguments_[i];
        const bool flag = arg.size() > 1 && arg[0] == L'-';
        info.ParseParam(flag ? arg.c_str() + 1 : arg.c_str(), flag, i + 1 == arguments_.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
        case CCommandLineInfo::FileNew:
            if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr)) OnFileNew();
            return m_pMainWnd != nullptr;
        case CCommandLineInfo::FileOpen:
            return OpenDocumentFile(info.m_strFileName) != nullptr;
        default:
            return TRUE;
    }
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR path) {
    return templates_.empty() ? nullptr : templates_.front()->OpenDocumentFile(path);
}

BOOL CWinApp::SaveAllModified() {
    for (CDocTemplate* t : templates_)
        if (!t->SaveAllModified()) return FALSE;
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL endSession) {
    for (CDocTemplate* t : templates_) t->CloseAllDocuments(endSession);
}

void CWinApp::AddToRecentFileList(LPCTSTR path) {
    if (recentFiles_ && path) recentFiles_->Add(path);
}

void CWinApp::OnFileNew() {
    if (!templates_.empty()) templates_.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

BOOL CWinApp::OnOpenRecentFile(UINT id) {
    if (!recentFiles_) return FALSE;
    const int index = static_cast<int>(id - ID_FILE_MRU_FILE1);
    if (index < 0 || index >= static_cast<int>(recentFiles_->Entries().size())) return FALSE;
    // An entry that fails to open stays: the file may come back (a drive plugged in again), and
    // a failed open changes nothing.
    const std::wstring path = recentFiles_->Entries()[static_cast<std::size_t>(index)];
    OpenDocumentFile(path.c_str());
    return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* cmdUI) {
    auto* menu = dynamic_cast<framework::MenuCmdUI*>(cmdUI);
    const std::vector<std::wstring> entries =
        recentFiles_ ? recentFiles_->Entries() : std::vector<std::wstring>();
    if (!menu || !menu->popup) {
        cmdUI->Enable(!entries.empty());
        return;
    }
    auto& popup = *menu->popup;
    const std::size_t at = menu->m_nIndex;
    std::size_t end = at;
    while (end < popup.size() && popup[end].id >= ID_FILE_MRU_FIRST &&
           popup[end].id <= ID_FILE_MRU_LAST)
        ++end;
    popup.erase(popup.begin() + static_cast<std::ptrdiff_t>(at),
                popup.begin() + static_cast<std::ptrdiff_t>(end));
    if (entries.empty()) {
        popup.insert(
            popup.begin() + static_cast<std::ptrdiff_t>(at),
            framework::MenuItemState{menu->recentPlaceholder, ID_FILE_MRU_FILE1, MF_GRAYED, {}});
        cmdUI->Enable(FALSE);
        return;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::wstring shown;
        for (wchar_t c : entries[i]) {
            if (c == L'&') shown += L'&';
            shown += c;
        }
        popup.insert(
            popup.begin() + static_cast<std::ptrdiff_t>(at + i),
            framework::MenuItemState{FormatWide(L"&%d %s", static_cast<int>(i + 1), shown.c_str()),
                                     static_cast<UINT>(ID_FILE_MRU_FILE1 + i),
                                     0,
                                     {}});
    }
    cmdUI->Enable(TRUE);
}

// Printer settings

void CWinApp::UpdatePrinterSelection(BOOL forceDefaults) {
    if (m_hDevMode && !forceDefaults) return;
    if (!framework::HasBackend()) return;
    if (m_hDevMode) GlobalFree(m_hDevMode);
    const DEVMODE devMode = framework::CurrentBackend().DefaultPrinter();
    m_hDevMode = GlobalAlloc(GMEM_MOVEABLE, sizeof(DEVMODE));
    *static_cast<DEVMODE*>(GlobalLock(m_hDevMode)) = devMode;
    GlobalUnlock(m_hDevMode);
    if (!m_hDevNames) {
        m_hDevNames = GlobalAlloc(GMEM_MOVEABLE, sizeof(DEVNAMES));
        auto* names = static_cast<DEVNAMES*>(GlobalLock(m_hDevNames));
        *names = DEVNAMES{};
        std::wcsncpy(names->device, devMode.dmDeviceName, 63);
        GlobalUnlock(m_hDevNames);
    }
}

INT_PTR CWinApp::DoPrintDialog(CPrintDialog* dialog) {
    if (!dialog) return IDCANCEL;
    UpdatePrinterSelection(FALSE);
    dialog->m_pd.hDevMode = m_hDevMode;
    dialog->m_pd.hDevNames = m_hDevNames;
    const INT_PTR answer = dialog->DoModal();
    m_hDevMode = dialog->m_pd.hDevMode;
    m_hDevNames = dialog->m_pd.hDevNames;
    return answer;
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLG* pd) {
    UpdatePrinterSelection(FALSE);
    if (!pd || !m_hDevMode) return FALSE;
    pd->hDevMode = m_hDevMode;
    pd->hDevNames = m_hDevNames;
    return TRUE;
}

// Application-wide services

int AfxMessageBox(LPCTSTR text, UINT type, UINT) {
    return framework::ShowMessageBox(nullptr, text ? text : L"", framework::ApplicationTitle(),
                                     type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId) {
    return AfxMessageBox(ResourceString(promptId).c_str(), type, helpId);
}

HINSTANCE ShellExecuteA(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, int) {
    const bool ok = framework::HasBackend() && framework::CurrentBackend().ShellExecute(
                                                   verb ? verb : "open", file ? file : "");
    // Values above 32 mean success.
    return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(ok ? 42 : 2));
}
