// CWinApp (start-up, command line, recent-file list, profile, printer settings, exit),
// CCommandLineInfo and the application-wide services.
#pragma once

#include <vector>

#include "framework/cmd_target.h"
#include "framework/common_dialogs.h"

class CDocTemplate;
class CDocument;
class CWnd;

class CCommandLineInfo {
  public:
    enum {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppRegister,
        AppUnregister,
        FileNothing = -1
    };
    virtual ~CCommandLineInfo() = default;
    // One argument of the command line; flag: it started with '-' or '/' (which is removed).
    virtual void ParseParam(const wchar_t* param, BOOL flag, BOOL last);
    int m_nShellCommand = FileNew;
    CString m_strFileName;
    BOOL m_bShowSplash = TRUE;
};

namespace framework {

// The recent-file list: most recent first, at most `size` entries, no duplicates.
class RecentFileList {
  public:
    explicit RecentFileList(int size) : size_(size) {}
    void Add(const std::wstring& path);
    int GetSize() const { return size_; }
    const std::vector<std::wstring>& Entries() const { return entries_; }
    void ReadList(const std::wstring& section);
    void WriteList(const std::wstring& section) const;

  private:
    int size_;
    std::vector<std::wstring> entries_;
};

}  // namespace framework

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
  public:
    // The application object; the last one constructed is the one AfxGetApp answers.
    explicit CWinApp(LPCTSTR appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // Saves the profile settings (the recent-file list); answers the exit code.
    virtual int ExitInstance();
    // Idle processing: the status bar's indicators and message pane. Answers FALSE when there
    // is nothing more to do.
    virtual BOOL OnIdle(LONG count);

    // Profile under the settings folder: <config>/<key>/<application name>.conf.
    void SetRegistryKey(LPCTSTR key);
    // Reads the recent-file list of `maxMru` entries.
    void LoadStdProfileSettings(UINT maxMru = 4);
    void SaveStdProfileSettings();
    CString GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue = nullptr);
    BOOL WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value);
    UINT GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue);
    BOOL WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value);

    void AddDocTemplate(CDocTemplate* docTemplate);
    void ParseCommandLine(CCommandLineInfo& info);
    // FileNew: a new document; FileOpen: the named document. FALSE when it failed.
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    virtual CDocument* OpenDocumentFile(LPCTSTR path);
    // The offer to save every modified document; FALSE when the user cancelled.
    virtual BOOL SaveAllModified();
    // Closes every document with its frames (no question).
    virtual void CloseAllDocuments(BOOL endSession);
    virtual void AddToRecentFileList(LPCTSTR path);
    framework::RecentFileList* RecentFiles() const { return recentFiles_; }

    // Printer settings of the application: makes sure a device mode exists (the default
    // printer's, or reset to it with forceDefaults).
    void UpdatePrinterSelection(BOOL forceDefaults);
    // Shows `dialog` with the application's printer settings and keeps what the user chose.
    INT_PTR DoPrintDialog(CPrintDialog* dialog);
    BOOL GetPrinterDeviceDefaults(PRINTDLG* pd);

    afx_msg void OnFileNew();
    afx_msg void OnAppExit();
    afx_msg BOOL OnOpenRecentFile(UINT id);
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* cmdUI);

    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszExeName = nullptr;
    // Allocated with malloc; an application may free it and store its own malloc'd copy.
    LPCTSTR m_pszHelpFilePath = nullptr;
    LPCTSTR m_pszRegistryKey = nullptr;
    LPCTSTR m_pszProfileName = nullptr;
    LPTSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;
    HGLOBAL m_hDevMode = nullptr;
    HGLOBAL m_hDevNames = nullptr;

    // Framework start-up and shut-down around InitInstance (called by the backends' entry).
    void FrameworkStart(const std::wstring& executablePath, const std::wstring& commandLine);
    void FrameworkStop();
    const std::vector<CDocTemplate*>& DocTemplates() const { return templates_; }

  protected:
    DECLARE_MESSAGE_MAP()

  private:
    void ReleaseStrings();
    std::vector<CDocTemplate*> templates_;
    framework::RecentFileList* recentFiles_ = nullptr;
    std::wstring constructorName_;
    std::vector<std::wstring> arguments_;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// Message box of the application (owner: the main window; caption: the application's title).
int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = 0);

// The shell's verbs ("open"): the headless backend records the request, a desktop backend
// hands the file to the desktop's default program. Answers a value greater than 32 on success.
HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        int showCommand);
