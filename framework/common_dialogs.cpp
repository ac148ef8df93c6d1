// Movable memory blocks, the print dialog and the file dialog of the system.
#include "framework/common_dialogs.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "common/text_conversion.h"
#include "framework/backend.h"
#include "framework/core.h"
#include "framework/resources.h"
#include "framework/wnd.h"

struct GlobalBlock {
    std::vector<unsigned char> bytes;
    int locks = 0;
};

HGLOBAL GlobalAlloc(UINT, std::size_t bytes) {
    auto* block = new GlobalBlock;
    block->bytes.assign(bytes, 0);
    return block;
}

HGLOBAL GlobalFree(HGLOBAL block) {
    delete block;
    return nullptr;
}

void* GlobalLock(HGLOBAL block) {
    if (!block) return nullptr;
    ++block->locks;
    return block->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL block) {
    if (!block || block->locks == 0) return FALSE;
    return --block->locks > 0;
}

std::size_t GlobalSize(HGLOBAL block) {
    return block ? block->bytes.size() : 0;
}

namespace {

HGLOBAL NewDevMode(const DEVMODE& devMode) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(DEVMODE));
    std::memcpy(GlobalLock(block), &devMode, sizeof(DEVMODE));
    GlobalUnlock(block);
    return block;
}

DEVMODE ReadDevMode(HGLOBAL block) {
    DEVMODE devMode;
    if (block && GlobalSize(block) >= sizeof(DEVMODE)) {
        std::memcpy(&devMode, GlobalLock(block), sizeof(DEVMODE));
        GlobalUnlock(block);
    }
    return devMode;
}

void WriteDevMode(HGLOBAL block, const DEVMODE& devMode) {
    if (!block || GlobalSize(block) < sizeof(DEVMODE)) return;
    std::memcpy(GlobalLock(block), &devMode, sizeof(DEVMODE));
    GlobalUnlock(block);
}

bool FileExists(const std::wstring& path) {
    struct stat info;
    return ::stat(WideToNarrow(path).c_str(), &info) == 0;
}

}  // namespace

// Print dialog

CPrintDialog::CPrintDialog(BOOL setupOnly, DWORD flags, CWnd* parent)
    : setupOnly_(setupOnly), parent_(parent) {
    m_pd.Flags = flags | (setupOnly ? PD_PRINTSETUP : 0);
    m_pd.hwndOwner = parent ? parent->m_hWnd : nullptr;
}

CPrintDialog::~CPrintDialog() {
    // Blocks the dialog made for itself; blocks handed in belong to whoever handed them in.
    if (ownDevMode_ && m_pd.hDevMode == ownDevMode_) GlobalFree(ownDevMode_);
}

BOOL CPrintDialog::GetDefaults() {
    if (!framework::HasBackend()) return FALSE;
    if (!m_pd.hDevMode) {
        ownDevMode_ = NewDevMode(framework::CurrentBackend().DefaultPrinter());
        m_pd.hDevMode = ownDevMode_;
    }
    return TRUE;
}

INT_PTR CPrintDialog::DoModal() {
    if (!framework::HasBackend()) return IDCANCEL;
    if (!m_pd.hDevMode) GetDefaults();
    framework::PrintDialogRequest request;
    request.setupOnly = setupOnly_ != FALSE;
    request.owner =
        framework::TopLevelOf(parent_ ? parent_->m_hWnd : framework::ActiveWindowRecord());
    request.flags = m_pd.Flags;
    request.devMode = ReadDevMode(m_pd.hDevMode);
    const framework::PrintDialogAnswer answer = framework::CurrentBackend().RunPrintDialog(request);
    if (!answer.ok) return IDCANCEL;
    WriteDevMode(m_pd.hDevMode, answer.devMode);
    return IDOK;
}

LPDEVMODE CPrintDialog::GetDevMode() const {
    if (!m_pd.hDevMode || GlobalSize(m_pd.hDevMode) < sizeof(DEVMODE)) return nullptr;
    return static_cast<LPDEVMODE>(GlobalLock(m_pd.hDevMode));
}

CString CPrintDialog::GetDeviceName() const {
    const DEVMODE devMode = ReadDevMode(m_pd.hDevMode);
    return CString(devMode.dmDeviceName);
}

// File dialog

std::vector<std::pair<std::wstring, std::wstring>> ParseFileFilter(const std::wstring& filter) {
    std::vector<std::pair<std::wstring, std::wstring>> entries;
    std::vector<std::wstring> parts;
    std::wstring part;
    for (wchar_t c : filter) {
        if (c == L'|' || c == L'\0') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    // Pairs up to the first empty label (the closing "||").
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty()) break;
        entries.emplace_back(parts[i], parts[i + 1]);
    }
    return entries;
}

CFileDialog::CFileDialog(BOOL openFileDialog, LPCTSTR defExt, LPCTSTR fileName, DWORD flags,
                         LPCTSTR filter, CWnd* parent, DWORD, BOOL)
    : open_(openFileDialog), parent_(parent) {
    m_ofn.hwndOwner = parent ? parent->m_hWnd : nullptr;
    m_ofn.Flags = flags | OFN_EXPLORER;
    if (defExt) {
        defExt_ = defExt;
        m_ofn.lpstrDefExt = defExt_.c_str();
    }
    if (filter) {
        filter_ = filter;
        std::replace(filter_.begin(), filter_.end(), L'|', L'\0');
        filter_.push_back(L'\0');
        m_ofn.lpstrFilter = filter_.c_str();
    }
    file_.assign(4096, L'\0');
    if (fileName) std::wcsncpy(file_.data(), fileName, file_.size() - 1);
    m_ofn.lpstrFile = file_.data();
    m_ofn.nMaxFile = static_cast<DWORD>(file_.size());
}

INT_PTR CFileDialog::DoModal() {
    if (!framework::HasBackend()) return IDCANCEL;
    framework::FileDialogRequest request;
    request.open = open_ != FALSE;
    request.owner =
        framework::TopLevelOf(parent_ ? parent_->m_hWnd : framework::ActiveWindowRecord());
    request.title = m_ofn.lpstrTitle ? m_ofn.lpstrTitle
                                     : ResourceString(open_ ? AFX_IDS_OPENFILE : AFX_IDS_SAVEFILE);
    if (m_ofn.lpstrFilter) {
        // The record's filter: pairs of zero-terminated strings, ended by an empty one.
        std::wstring filter;
        const wchar_t* p = m_ofn.lpstrFilter;
        while (*p) {
            const std::size_t n = std::wcslen(p);
            filter.append(p, n);
            filter += L'|';
            p += n + 1;
        }
        request.filters = ParseFileFilter(filter);
    }
    request.filterIndex = m_ofn.nFilterIndex == 0 ? 1 : static_cast<int>(m_ofn.nFilterIndex);
    request.defaultExtension = m_ofn.lpstrDefExt ? m_ofn.lpstrDefExt : L"";
    request.initialName = m_ofn.lpstrFile ? m_ofn.lpstrFile : L"";
    request.flags = m_ofn.Flags;
    for (;;) {
        const framework::FileDialogAnswer answer =
            framework::CurrentBackend().RunFileDialog(request);
        if (!answer.ok || answer.path.empty()) return IDCANCEL;
        std::wstring path = answer.path;
        const std::size_t slash = path.find_last_of(L'/');
        const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
        if (!request.defaultExtension.empty() && name.find(L'.') == std::wstring::npos)
            path += L"." + request.defaultExtension;
        if (!open_ && (m_ofn.Flags & OFN_OVERWRITEPROMPT) && FileExists(path)) {
            const std::wstring question =
                FormatWide(ResourceString(AFX_IDP_ASK_TO_REPLACE).c_str(), path.c_str());
            if (framework::ShowMessageBox(request.owner, question, request.title,
                                          MB_YESNO | MB_ICONWARNING) != IDYES) {
                // "No" returns to the dialog.
                request.initialName = path;
                request.filterIndex = answer.filterIndex;
                continue;
            }
        }
        chosen_ = path;
        m_ofn.nFilterIndex = static_cast<DWORD>(std::max(1, answer.filterIndex));
        if (m_ofn.lpstrFile && m_ofn.nMaxFile > 0) {
            std::wcsncpy(m_ofn.lpstrFile, path.c_str(), m_ofn.nMaxFile - 1);
            m_ofn.lpstrFile[m_ofn.nMaxFile - 1] = L'\0';
        }
        return IDOK;
    }
}

CString CFileDialog::GetPathName() const {
    return CString(chosen_);
}

CString CFileDialog::GetFileName() const {
    const std::size_t slash = chosen_.find_last_of(L'/');
    return CString(slash == std::wstring::npos ? chosen_ : chosen_.substr(slash + 1));
}

CString CFileDialog::GetFileExt() const {
    const std::wstring name = GetFileName().str();
    const std::size_t dot = name.find_last_of(L'.');
    return CString(dot == std::wstring::npos ? std::wstring() : name.substr(dot + 1));
}
