// The system's dialogs: file open/save (CFileDialog), print and print set-up (CPrintDialog),
// with device modes in movable memory blocks.
#pragma once

#include <vector>

#include "framework/cstring.h"
#include "framework/types.h"

class CWnd;

// Movable memory blocks
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
HGLOBAL GlobalFree(HGLOBAL block);
void* GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
std::size_t GlobalSize(HGLOBAL block);

// Printer settings
constexpr DWORD DM_ORIENTATION = 0x00000001;
constexpr DWORD DM_PAPERSIZE = 0x00000002;
constexpr DWORD DM_COPIES = 0x00000100;
constexpr short DMORIENT_PORTRAIT = 1;
constexpr short DMORIENT_LANDSCAPE = 2;

struct DEVMODE {
    wchar_t dmDeviceName[32] = {};
    DWORD dmFields = 0;
    short dmOrientation = DMORIENT_PORTRAIT;
    short dmPaperSize = 9;  // A4
    short dmCopies = 1;
};
using LPDEVMODE = DEVMODE*;

struct DEVNAMES {
    wchar_t driver[64] = {};
    wchar_t device[64] = {};
    wchar_t output[64] = {};
};

constexpr DWORD PD_ALLPAGES = 0x00000000;
constexpr DWORD PD_SELECTION = 0x00000001;
constexpr DWORD PD_PAGENUMS = 0x00000002;
constexpr DWORD PD_NOSELECTION = 0x00000004;
constexpr DWORD PD_NOPAGENUMS = 0x00000008;
constexpr DWORD PD_PRINTSETUP = 0x00000040;
constexpr DWORD PD_RETURNDC = 0x00000100;
constexpr DWORD PD_RETURNDEFAULT = 0x00000400;
constexpr DWORD PD_USEDEVMODECOPIES = 0x00040000;
constexpr DWORD PD_HIDEPRINTTOFILE = 0x00100000;

struct PRINTDLG {
    DWORD lStructSize = sizeof(PRINTDLG);
    HWND hwndOwner = nullptr;
    HGLOBAL hDevMode = nullptr;
    HGLOBAL hDevNames = nullptr;
    DWORD Flags = 0;
    WORD nFromPage = 1;
    WORD nToPage = 1;
    WORD nMinPage = 1;
    WORD nMaxPage = 0xFFFF;
    WORD nCopies = 1;
};

// The print dialog (print job) or the printer set-up dialog (setupOnly). The device mode and
// names it shows are those put into m_pd (hDevMode, hDevNames); it writes the user's choice
// back into those blocks on OK. Blocks the dialog allocated itself are freed with it.
class CPrintDialog {
  public:
    explicit CPrintDialog(BOOL setupOnly,
                          DWORD flags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS |
                                        PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                          CWnd* parent = nullptr);
    virtual ~CPrintDialog();
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;

    // IDOK or IDCANCEL.
    virtual INT_PTR DoModal();
    // The locked device mode of m_pd.hDevMode (unlock with GlobalUnlock), nullptr when none.
    LPDEVMODE GetDevMode() const;
    CString GetDeviceName() const;
    BOOL GetDefaults();
    BOOL PrintSetupOnly() const { return setupOnly_; }

    PRINTDLG m_pd;

  private:
    BOOL setupOnly_;
    CWnd* parent_;
    HGLOBAL ownDevMode_ = nullptr;
};

// File dialogs
constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_EXPLORER = 0x00080000;

struct OPENFILENAME {
    DWORD lStructSize = sizeof(OPENFILENAME);
    HWND hwndOwner = nullptr;
    LPCTSTR lpstrFilter = nullptr;  // label\0pattern\0...\0\0
    DWORD nFilterIndex = 1;         // 1-based
    LPTSTR lpstrFile = nullptr;
    DWORD nMaxFile = 0;
    LPCTSTR lpstrTitle = nullptr;
    DWORD Flags = 0;
    LPCTSTR lpstrDefExt = nullptr;
};

// The system's file dialog. `filter` in the framework's syntax: label|pattern|label|pattern||.
// The default extension is added to a chosen name that has none. A save dialog with
// OFN_OVERWRITEPROMPT asks before an existing file is chosen; "no" returns to the dialog.
class CFileDialog {
  public:
    explicit CFileDialog(BOOL openFileDialog, LPCTSTR defExt = nullptr, LPCTSTR fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCTSTR filter = nullptr, CWnd* parent = nullptr, DWORD size = 0,
                         BOOL vistaStyle = TRUE);
    virtual ~CFileDialog() = default;
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK when the user chose a file, IDCANCEL otherwise.
    virtual INT_PTR DoModal();
    OPENFILENAME& GetOFN() { return m_ofn; }
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    BOOL IsOpenDialog() const { return open_; }

    OPENFILENAME m_ofn;

  private:
    BOOL open_;
    CWnd* parent_;
    std::wstring defExt_;
    std::wstring filter_;  // with '\0' in place of '|'
    std::vector<wchar_t> file_;
    std::wstring chosen_;
};

// Splits a filter in the "|" syntax into (label, pattern) pairs.
std::vector<std::pair<std::wstring, std::wstring>> ParseFileFilter(const std::wstring& filter);
