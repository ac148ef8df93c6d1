// The test application: resources, document, frame, view, dialogs and application object.
#include "test_app.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/text_conversion.h"
#include "framework/backend.h"

namespace fwtest {

Log& TheLog() {
    static Log log;
    return log;
}

Settings& TheSettings() {
    static Settings settings;
    return settings;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

namespace {

std::string Narrow(LPCTSTR text) {
    return WideToNarrow(text ? text : L"");
}

const DWORD kPopup = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

}  // namespace

const ResourceSet& TestResources() {
    static const ResourceSet set = [] {
        ResourceSet r;
        r.strings = {
            {AFX_IDS_APP_TITLE, L"Testeur"},
            {128, L"Testeur\n\nTest\n\n\nTesteur.Document\nTest Document"},
            {ID_FILE_NEW, L"Crée un document\nNouveau"},
            {300, L"Commande trois cents\nTrois cents"},
            {kViewCommand, L"Commande de la vue\nVue"},
            {ID_FILE_MRU_FILE1, L"Ouvre ce document"},
            {ID_FILE_MRU_FILE1 + 1, L"Ouvre ce document"},
            {1029, L"PTS"},
        };
        r.menus = {{128,
                    {{L"&Fichier",
                      0,
                      MF_POPUP,
                      {{L"&Nouveau\tCtrl+N", ID_FILE_NEW},
                       {L"", 0, MF_SEPARATOR},
                       {L"Règle", kRuledCommand},
                       {L"Sans traitement", kUnhandledCommand},
                       {L"&Enregistrer", ID_FILE_SAVE},
                       {L"&Imprimer", ID_FILE_PRINT},
                       {L"Aperçu", ID_FILE_PRINT_PREVIEW},
                       {L"Configuration", kPrintSetupCommand},
                       {L"", 0, MF_SEPARATOR},
                       {L"Fichier récent", ID_FILE_MRU_FILE1, MF_GRAYED},
                       {L"", 0, MF_SEPARATOR},
                       {L"&Quitter", ID_APP_EXIT}}},
                     {L"&Outils",
                      0,
                      MF_POPUP,
                      {{L"Vue", kViewCommand},
                       {L"Document", kDocCommand},
                       {L"Cadre", kFrameCommand},
                       {L"Application", kAppCommand},
                       {L"Dialogue", kOpenDialogCommand},
                       {L"Aide", kHelpCommand},
                       {L"Attente", kWaitCommand},
                       {L"Volet", kPaneCommand},
                       {L"&Sous-menu", 0, MF_POPUP, {{L"Dans le sous-menu", kSubmenuCommand}}}}}}}};
        r.accelerators = {{128,
                           {{FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW},
                            {FVIRTKEY | FCONTROL, 'R', kRuledCommand},
                            {FVIRTKEY | FCONTROL, 'V', kViewCommand},
                            {FVIRTKEY | FCONTROL | FSHIFT, 'V', kDocCommand},
                            {FVIRTKEY | FCONTROL, 'S', ID_FILE_SAVE},
                            {FVIRTKEY, VK_F6, ID_NEXT_PANE}}}};
        const DWORD child = WS_VISIBLE | WS_TABSTOP;
        r.dialogs = {
            {kTestDialog,
             kPopup,
             10,
             20,
             200,
             120,
             L"Dialogue d'essai",
             L"MS Sans Serif",
             8,
             {{kEditClass, kEdit, L"", child | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 100, 12},
              {kEditClass, kNarrowEdit, L"", child | WS_BORDER, 10, 26, 40, 12},
              {kButtonClass, kCheck, L"Case", child | BS_AUTOCHECKBOX, 10, 42, 60, 10},
              {kListBoxClass, kList, L"", child | WS_BORDER | LBS_NOTIFY, 120, 10, 70, 60},
              {kButtonClass, kNestedButton, L"Imbriqué", child, 10, 60, 50, 14},
              {kStaticClass, kLabel, L"Étiquette", WS_VISIBLE, 10, 78, 60, 10},
              {kButtonClass, kBoxButton, L"Question", child, 70, 60, 50, 14},
              {kButtonClass, kDisableOkButton, L"Bloquer", child, 70, 78, 50, 14},
              {kButtonClass, IDOK, L"OK", child | BS_DEFPUSHBUTTON, 80, 100, 50, 14},
              {kButtonClass, IDCANCEL, L"Annuler", child, 140, 100, 50, 14}}},
            {kSmallDialog,
             kPopup,
             0,
             0,
             100,
             50,
             L"Petit",
             L"MS Sans Serif",
             8,
             {{kEditClass, 1100, L"", child | WS_BORDER | ES_AUTOHSCROLL, 5, 5, 90, 12},
              {kButtonClass, IDOK, L"OK", child | BS_DEFPUSHBUTTON, 25, 30, 50, 14}}},
            {kCalcDialog,
             kPopup,
             0,
             0,
             120,
             60,
             L"Calcul",
             L"MS Sans Serif",
             8,
             {{L"BUTTON", 3, L"Calculer", child | BS_DEFPUSHBUTTON, 5, 40, 50, 14},
              {kButtonClass, IDCANCEL, L"Sortie", child, 65, 40, 50, 14}}},
            {kSplashDialog, WS_POPUP | DS_MODALFRAME, 0, 0, 234, 118, L"", L"MS Sans Serif", 8, {}},
            {kCenteredDialog,
             kPopup | DS_CENTER,
             0,
             0,
             100,
             40,
             L"Centré",
             L"MS Sans Serif",
             8,
             {}},
            {kIconDialog,
             kPopup,
             0,
             0,
             100,
             60,
             L"Icône",
             L"MS Sans Serif",
             8,
             {{kStaticClass, -1, L"128", WS_VISIBLE | SS_ICON, 11, 17, 20, 20},
              {kButtonClass, IDOK, L"OK", child | BS_DEFPUSHBUTTON, 25, 40, 50, 14}}},
            {kBrokenIconDialog,
             kPopup,
             0,
             0,
             100,
             60,
             L"Icône",
             L"MS Sans Serif",
             8,
             {{kStaticClass, -1, L"129", WS_VISIBLE | SS_ICON, 11, 17, 20, 20}}},
        };
        r.icons = {{128,
                    32,
                    32,
                    {{'.', 0x00000000u}, {'#', 0xFF000000u}},
                    std::vector<std::string>(32, std::string(32, '#'))}};
        return r;
    }();
    return set;
}

// Document

IMPLEMENT_DYNCREATE(CTestDoc, CDocument)

BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
ON_COMMAND(kDocCommand, &CTestDoc::OnDocCommand)
END_MESSAGE_MAP()

BOOL CTestDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument()) return FALSE;
    content.clear();
    TheLog().Add("new");
    return TRUE;
}

BOOL CTestDoc::OnOpenDocument(LPCTSTR path) {
    if (!CDocument::OnOpenDocument(path)) return FALSE;
    content = ReadFile(WideToNarrow(path));
    TheLog().Add("open " + content);
    // A file saying "bad" is refused after it was half read.
    if (content == "bad") return FALSE;
    if (content == "bad-modified") {
        SetModifiedFlag(TRUE);
        return FALSE;
    }
    return TRUE;
}

BOOL CTestDoc::OnSaveDocument(LPCTSTR path) {
    std::FILE* file = std::fopen(WideToNarrow(path).c_str(), "wb");
    TheLog().Add("save " + Narrow(path));
    if (!file) return FALSE;
    std::fputs(content.c_str(), file);
    std::fclose(file);
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CTestDoc::OnDocCommand() {
    TheLog().Add("doc command");
}

// Dialogs

class CSmallDialog : public CDialog {
  public:
    CSmallDialog() : CDialog(kSmallDialog) {}
};

class CTestDialog : public CDialog {
  public:
    CTestDialog() : CDialog(kTestDialog) {}
    CString text;
    CString narrow;
    int check = 0;
    CListBox list;
    CButton okButton;

  protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, kList, list);
        DDX_Control(pDX, IDOK, okButton);
        DDX_Text(pDX, kEdit, text);
        DDX_Text(pDX, kNarrowEdit, narrow);
        DDX_Check(pDX, kCheck, check);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        list.AddString(L"un");
        list.AddString(L"deux");
        list.AddString(L"trois");
        if (!TheSettings().initialText.empty()) {
            text = TheSettings().initialText.c_str();
            UpdateData(FALSE);
        }
        if (TheSettings().onInit) TheSettings().onInit(*this);
        return TheSettings().initAnswer;
    }
    void OnOK() override {
        UpdateData(TRUE);
        TheLog().Add("ok " + WideToNarrow(text.str()));
        EndDialog(IDOK);
    }
    void OnCancel() override {
        TheLog().Add("cancel");
        EndDialog(0);
    }
    afx_msg void OnEditUpdate() { TheLog().Add("EN_UPDATE " + WideToNarrow(Text(kEdit))); }
    afx_msg void OnEditChange() { TheLog().Add("EN_CHANGE " + WideToNarrow(Text(kEdit))); }
    afx_msg void OnNarrowChange() { TheLog().Add("EN_CHANGE narrow"); }
    afx_msg void OnCheck() { TheLog().Add("BN_CLICKED check"); }
    afx_msg void OnSelChange() {
        TheLog().Add("LBN_SELCHANGE " + std::to_string(list.GetCurSel()));
    }
    afx_msg void OnSelCancel() { TheLog().Add("LBN_SELCANCEL"); }
    afx_msg void OnDblClk() { TheLog().Add("LBN_DBLCLK " + std::to_string(list.GetCurSel())); }
    afx_msg void OnNested() {
        CSmallDialog nested;
        TheLog().Add("nested " + std::to_string(nested.DoModal()));
    }
    afx_msg void OnBox() {
        TheLog().Add("box " + std::to_string(
                                  MessageBox(L"Vraiment ?", nullptr, MB_YESNO | MB_ICONQUESTION)));
    }
    afx_msg void OnDisableOk() { okButton.EnableWindow(FALSE); }
    afx_msg void OnTimer(UINT_PTR id) {
        TheLog().Add("timer " + std::to_string(id));
        Default();
    }
    afx_msg void OnMouseMove(UINT flags, CPoint p) {
        TheLog().Add("move " + std::to_string(p.x) + "," + std::to_string(p.y) +
                     ((flags & MK_LBUTTON) ? " down" : ""));
    }
    // The dialog holds the mouse from a press to the release, as a drag does.
    afx_msg void OnLButtonDown(UINT, CPoint p) {
        TheLog().Add("down " + std::to_string(p.x) + "," + std::to_string(p.y));
        SetCapture();
    }
    afx_msg void OnLButtonUp(UINT, CPoint p) {
        TheLog().Add("up " + std::to_string(p.x) + "," + std::to_string(p.y));
        ReleaseCapture();
    }
    afx_msg void OnPaint() {
        CPaintDC dc(this);
        // Moving the dialog to where it is, as a paint handler may do, changes nothing.
        CRect r;
        GetWindowRect(&r);
        MoveWindow(r.left, r.top, r.Width(), r.Height(), TRUE);
        dc.MoveTo(1, 2);
        dc.LineTo(30, 40);
        const CRect band(5, 5, 10, 10);
        dc.InvertRect(&band);
        TheLog().Add("paint dialog");
    }

  private:
    std::wstring Text(int id) {
        CString value;
        GetDlgItemText(id, value);
        return value.str();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDialog, CDialog)
ON_EN_UPDATE(kEdit, &CTestDialog::OnEditUpdate)
ON_EN_CHANGE(kEdit, &CTestDialog::OnEditChange)
ON_EN_CHANGE(kNarrowEdit, &CTestDialog::OnNarrowChange)
ON_BN_CLICKED(kCheck, &CTestDialog::OnCheck)
ON_LBN_SELCHANGE(kList, &CTestDialog::OnSelChange)
ON_LBN_SELCANCEL(kList, &CTestDialog::OnSelCancel)
ON_LBN_DBLCLK(kList, &CTestDialog::OnDblClk)
ON_BN_CLICKED(kNestedButton, &CTestDialog::OnNested)
ON_BN_CLICKED(kBoxButton, &CTestDialog::OnBox)
ON_BN_CLICKED(kDisableOkButton, &CTestDialog::OnDisableOk)
ON_WM_TIMER()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_PAINT()
END_MESSAGE_MAP()

class CCalcDialog : public CDialog {
  public:
    CCalcDialog() : CDialog(kCalcDialog) {}

  protected:
    afx_msg void OnCalc() { TheLog().Add("calc"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCalcDialog, CDialog)
ON_BN_CLICKED(3, &CCalcDialog::OnCalc)
END_MESSAGE_MAP()

int RunCalcDialog() {
    CCalcDialog dialog;
    return static_cast<int>(dialog.DoModal());
}

// Ends itself with its timer 1000 after 3000 ms; the close box kills the timer first.
class CSplashDialog : public CDialog {
  public:
    CSplashDialog() : CDialog(kSplashDialog) {}

  protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetTimer(1000, 3000, nullptr);
        SetTimer(7, 1000, nullptr);
        return TRUE;
    }
    afx_msg void OnTimer(UINT_PTR id) {
        TheLog().Add("splash timer " + std::to_string(id));
        if (id == 1000) EndDialog(IDOK);
        Default();
    }
    afx_msg void OnClose() {
        KillTimer(1000);
        TheLog().Add("splash close");
        Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSplashDialog, CDialog)
ON_WM_TIMER()
ON_WM_CLOSE()
END_MESSAGE_MAP()

// View

class CTestView : public CView {
    DECLARE_DYNCREATE(CTestView)
  public:
    void OnDraw(CDC* dc) override {
        CRect client;
        GetClientRect(&client);
        dc->MoveTo(0, 0);
        dc->LineTo(client.right, client.bottom);
        TheLog().Add("draw");
    }
    BOOL OnPreparePrinting(CPrintInfo* info) override {
        info->m_pPD->m_pd.Flags |= PD_NOSELECTION | PD_NOPAGENUMS;
        TheLog().Add("prepare " + std::string(info->m_bPreview ? "preview" : "print"));
        return DoPreparePrinting(info);
    }
    void OnBeginPrinting(CDC* dc, CPrintInfo* info) override {
        DEVMODE* devMode = info->m_pPD->GetDevMode();
        devMode->dmFields |= DM_ORIENTATION;
        devMode->dmOrientation = DMORIENT_LANDSCAPE;
        dc->ResetDC(devMode);
        GlobalUnlock(info->m_pPD->m_pd.hDevMode);
        TheLog().Add("begin");
    }
    void OnPrint(CDC* dc, CPrintInfo* info) override {
        const CRect& r = info->m_rectDraw;
        dc->MoveTo(r.left, r.top);
        dc->LineTo(r.right, r.bottom);
        TheLog().Add("print page " + std::to_string(info->m_nCurPage));
        CView::OnPrint(dc, info);
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { TheLog().Add("end"); }

  protected:
    afx_msg void OnViewCommand() { TheLog().Add("view command"); }
    afx_msg void OnSubmenuCommand() { TheLog().Add("submenu command"); }
    afx_msg void OnRuled() { TheLog().Add("ruled command"); }
    afx_msg void OnUpdateRuled(CCmdUI* cmdUI) { cmdUI->Enable(TheSettings().ruledEnabled); }
    afx_msg void OnOpenDialog() {
        CTestDialog dialog;
        TheSettings().lastDialogAnswer = static_cast<int>(dialog.DoModal());
        TheLog().Add("dialog " + std::to_string(TheSettings().lastDialogAnswer) + " check " +
                     std::to_string(dialog.check));
    }
    afx_msg void OnWait() {
        BeginWaitCursor();
        BeginWaitCursor();
        EndWaitCursor();
        EndWaitCursor();
    }
    afx_msg void OnPane() {
        if (CStatusBar* bar = GetParentFrame()->GetStatusBar()) bar->SetPaneStyle(1, 0);
    }
    afx_msg void OnFilePrint() { CView::OnFilePrint(); }
    afx_msg void OnFilePrintPreview() { CView::OnFilePrintPreview(); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestView, CView)

BEGIN_MESSAGE_MAP(CTestView, CView)
ON_COMMAND(kViewCommand, &CTestView::OnViewCommand)
ON_COMMAND(kSubmenuCommand, &CTestView::OnSubmenuCommand)
ON_COMMAND(kRuledCommand, &CTestView::OnRuled)
ON_UPDATE_COMMAND_UI(kRuledCommand, &CTestView::OnUpdateRuled)
ON_COMMAND(kOpenDialogCommand, &CTestView::OnOpenDialog)
ON_COMMAND(kWaitCommand, &CTestView::OnWait)
ON_COMMAND(kPaneCommand, &CTestView::OnPane)
ON_COMMAND(ID_FILE_PRINT, &CTestView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, &CTestView::OnFilePrintPreview)
END_MESSAGE_MAP()

// Frame

class CTestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CTestFrame)
  public:
    CStatusBar statusBar;

  protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        if (CFrameWnd::OnCreate(cs) == -1) return -1;
        static const UINT indicators[] = {ID_SEPARATOR, 1029, ID_INDICATOR_CAPS};
        static const UINT broken[] = {ID_SEPARATOR, 1029, 9999};
        if (!statusBar.Create(this) ||
            !statusBar.SetIndicators(TheSettings().missingIndicator ? broken : indicators, 3))
            return -1;
        statusBar.SetPaneStyle(1, SBPS_DISABLED);
        return 0;
    }
    afx_msg void OnFrameCommand() { TheLog().Add("frame command"); }
    afx_msg void OnViewCommandToo() { TheLog().Add("frame got the view's command"); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
ON_WM_CREATE()
ON_COMMAND(kFrameCommand, &CTestFrame::OnFrameCommand)
ON_COMMAND(kViewCommand, &CTestFrame::OnViewCommandToo)
END_MESSAGE_MAP()

// Application

class CTestApp : public CWinApp {
  public:
    CTestApp() { AfxSetResources(&TestResources()); }
    BOOL InitInstance() override {
        SetRegistryKey(L"Z-W");
        LoadStdProfileSettings(4);
        AddDocTemplate(new CSingleDocTemplate(128, RUNTIME_CLASS(CTestDoc),
                                              RUNTIME_CLASS(CTestFrame), RUNTIME_CLASS(CTestView)));
        CCommandLineInfo info;
        ParseCommandLine(info);
        if (!ProcessShellCommand(info)) return FALSE;
        m_pMainWnd->ShowWindow(SW_SHOW);
        m_pMainWnd->UpdateWindow();
        if (TheSettings().showSplash) {
            CSplashDialog splash;
            TheLog().Add("splash " + std::to_string(splash.DoModal()));
        }
        return TRUE;
    }

  protected:
    afx_msg void OnAppCommand() { TheLog().Add("app command"); }
    afx_msg void OnPrintSetup() {
        CPrintDialog dialog(TRUE);
        UpdatePrinterSelection(FALSE);
        dialog.m_pd.hDevMode = m_hDevMode;
        dialog.m_pd.hDevNames = m_hDevNames;
        DoPrintDialog(&dialog);
        DEVMODE* devMode = dialog.GetDevMode();
        devMode->dmFields |= DM_ORIENTATION;
        devMode->dmOrientation = DMORIENT_LANDSCAPE;
        GlobalUnlock(dialog.m_pd.hDevMode);
    }
    afx_msg void OnHelp() {
        CString path(m_pszHelpFilePath);
        path.Replace(L".HLP", L".chm");
        const std::string file = "\"" + WideToNarrow(path.str()) + "\"";
        ShellExecuteA(nullptr, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
ON_COMMAND(kAppCommand, &CTestApp::OnAppCommand)
ON_COMMAND(kPrintSetupCommand, &CTestApp::OnPrintSetup)
ON_COMMAND(kHelpCommand, &CTestApp::OnHelp)
ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
END_MESSAGE_MAP()

CTestApp theTestApp;

// Fixture

void FrameworkTest::SetUp() {
    char pattern[] = "/tmp/kurvomat-framework-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    TheLog().Clear();
    TheSettings() = Settings();
    AfxSetResources(&TestResources());
    driver = std::make_unique<headless::Driver>();
}

void FrameworkTest::TearDown() {
    if (!expectErrors) {
        for (const std::string& error : driver->Errors()) ADD_FAILURE() << "driver: " << error;
        EXPECT_EQ(driver->PendingAnswers(), 0u) << "scripted answers left unused";
    }
    driver.reset();
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}

bool FrameworkTest::StartApp(const std::wstring& commandLine) {
    headless::StartOptions options;
    options.executablePath = L"/opt/test.d/bin/Testeur";
    return driver->Start(commandLine, options);
}

CTestDoc* FrameworkTest::Doc() const {
    CFrameWnd* frame = driver->MainFrame();
    return frame ? dynamic_cast<CTestDoc*>(frame->GetActiveDocument()) : nullptr;
}

}  // namespace fwtest
