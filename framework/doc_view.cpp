// CDocument, CView (painting, printing and preview), CPrintInfo and the document templates.
#include "framework/doc_view.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "common/regular_file.h"
#include "common/text_conversion.h"
#include "framework/app.h"
#include "framework/backend.h"
#include "framework/core.h"
#include "framework/resources.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

// Document

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_SAVE, &CDocument::OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument() {
    for (CView* view : views_) view->m_pDocument = nullptr;
    if (template_) template_->RemoveDocument(this);
}

namespace {

std::wstring FileNameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L'/');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

void UpdateFrameTitles(const std::vector<CView*>& views) {
    for (CView* view : views)
        if (CFrameWnd* frame = view->GetParentFrame()) frame->OnUpdateFrameTitle(TRUE);
}

// An existing file that is neither marked read-only (no write permission for its owner) nor
// closed to us.
bool IsWritableFile(const std::wstring& path) {
    if (path.empty()) return false;
    const std::string narrow = WideToNarrow(path);
    struct stat info;
    if (::stat(narrow.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    return (info.st_mode & S_IWUSR) && ::access(narrow.c_str(), W_OK) == 0;
}

}  // namespace

void CDocument::SetTitle(LPCTSTR title) {
    title_ = title ? title : L"";
    UpdateFrameTitles(views_);
}

void CDocument::SetPathName(LPCTSTR path, BOOL addToMru) {
    pathName_ = path ? path : L"";
    hasFile_ = addToMru && !pathName_.IsEmpty();
    SetTitle(FileNameOf(pathName_.str()).c_str());
    if (addToMru && !pathName_.IsEmpty())
        if (CWinApp* app = AfxGetApp()) app->AddToRecentFileList(pathName_);
}

POSITION CDocument::GetFirstViewPosition() const {
    return views_.empty() ? nullptr : reinterpret_cast<POSITION>(static_cast<std::uintptr_t>(1));
}

CView* CDocument::GetNextView(POSITION& position) const {
    const auto index = reinterpret_cast<std::uintptr_t>(position);
    if (index == 0 || index > views_.size()) {
        position = nullptr;
        return nullptr;
    }
    CView* view = views_[index - 1];
    position = index < views_.size() ? reinterpret_cast<POSITION>(index + 1) : nullptr;
    return view;
}

void CDocument::AddView(CView* view) {
    if (!view || std::find(views_.begin(), views_.end(), view) != views_.end()) return;
    views_.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view) {
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
    if (view && view->m_pDocument == this) view->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject) {
    for (CView* view : views_)
        if (view != sender) view->OnUpdate(sender, hint, hintObject);
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    pathName_.Empty();
    hasFile_ = false;
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::CanOpenDocument(LPCTSTR path) {
    const std::wstring name = path ? path : L"";
    std::string reason;
    const int fd = OpenRegularFile(WideToNarrow(name), reason);
    if (fd >= 0) {
        ::close(fd);
        return TRUE;
    }
    AfxMessageBox(FormatWide(ResourceString(AFX_IDP_FAILED_TO_OPEN_DOC).c_str(), name.c_str(),
                             NarrowToWide(reason).c_str())
                      .c_str(),
                  MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR path) {
    if (!CanOpenDocument(path)) return FALSE;
    DeleteContents();
    hasFile_ = false;
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR) {
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument() {
    // Closing the frames deletes the views; the document goes last.
    const std::vector<CView*> views = views_;
    for (CView* view : views) {
        if (CFrameWnd* frame = view->GetParentFrame()) frame->DestroyWindow();
    }
    DeleteContents();
    delete this;
}

BOOL CDocument::SaveModified() {
    if (!IsModified()) return TRUE;
    const std::wstring name = title_.IsEmpty() ? ResourceString(AFX_IDS_UNTITLED) : title_.str();
    const std::wstring question =
        FormatWide(ResourceString(AFX_IDP_ASK_TO_SAVE).c_str(), name.c_str());
    switch (AfxMessageBox(question.c_str(), MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
        case IDYES:
            return DoFileSave();
        case IDNO:
            return TRUE;
        default:
            return FALSE;
    }
}

BOOL CDocument::DoSave(LPCTSTR path, BOOL replace) {
    CString newName = path ? path : L"";
    if (newName.IsEmpty()) {
        CFileDialog dialog(FALSE, nullptr, title_, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
        if (dialog.DoModal() != IDOK) return FALSE;
        newName = dialog.GetPathName();
    }
    // A failed save keeps the document's name and modified flag; nothing written is removed,
    // since the file may be an older copy of the user's work.
    if (!OnSaveDocument(newName)) return FALSE;
    if (replace) SetPathName(newName);
    return TRUE;
}

BOOL CDocument::DoFileSave() {
    // A document without a file of its own (a new one, one whose read failed) or whose file
    // is read-only asks for a name.
    if (!hasFile_ || !IsWritableFile(pathName_.str())) return DoSave(L"");
    return DoSave(pathName_);
}

void CDocument::OnFileSave() {
    DoFileSave();
}

void CDocument::OnFileSaveAs() {
    DoSave(L"");
}

// Print information

CPrintInfo::CPrintInfo() : m_pPD(new CPrintDialog(FALSE)) {}

CPrintInfo::~CPrintInfo() {
    delete m_pPD;
}

// View

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_COMMAND(ID_NEXT_PANE, &CView::OnNextPaneCmd)
ON_COMMAND(ID_PREV_PANE, &CView::OnNextPaneCmd)
ON_UPDATE_COMMAND_UI(ID_NEXT_PANE, &CView::OnUpdateNextPaneMenu)
ON_UPDATE_COMMAND_UI(ID_PREV_PANE, &CView::OnUpdateNextPaneMenu)
END_MESSAGE_MAP()

CView::CView() = default;

CView::~CView() {
    if (m_pDocument) m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT&) {
    return TRUE;
}

void CView::PostNcDestroy() {
    delete this;
}

int CView::OnCreate(LPCREATESTRUCT cs) {
    auto* context = cs ? static_cast<CCreateContext*>(cs->lpCreateParams) : nullptr;
    if (context && context->m_pCurrentDoc) context->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnPaint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*) {
    Invalidate(TRUE);
}

// Without a splitter there is no other pane to go to.
void CView::OnNextPaneCmd() {}
void CView::OnUpdateNextPaneMenu(CCmdUI* cmdUI) {
    cmdUI->Enable(FALSE);
}

BOOL CView::OnPreparePrinting(CPrintInfo* info) {
    return DoPreparePrinting(info);
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrepareDC(CDC*, CPrintInfo* info) {
    // With no page count set, printing stops after the first page.
    if (info) info->m_bContinuePrinting = info->GetMaxPage() != 0xFFFF || info->m_nCurPage == 1;
}

void CView::OnPrint(CDC* dc, CPrintInfo*) {
    OnDraw(dc);
}

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

BOOL CView::DoPreparePrinting(CPrintInfo* info) {
    CWinApp* app = AfxGetApp();
    if (!info || !app) return FALSE;
    if (info->m_bPreview || info->m_bDirect) {
        // A preview uses the application's printer as it is, without a dialog.
        if (!app->GetPrinterDeviceDefaults(&info->m_pPD->m_pd)) return FALSE;
        return TRUE;
    }
    return app->DoPrintDialog(info->m_pPD) == IDOK;
}

void CView::OnFilePrint() {
    RunPrintJob(false);
}

void CView::OnFilePrintPreview() {
    RunPrintJob(true);
}

void CView::RunPrintJob(bool preview) {
    if (!framework::HasBackend()) return;
    CPrintInfo info;
    info.m_bPreview = preview ? TRUE : FALSE;
    if (!OnPreparePrinting(&info)) return;
    DEVMODE devMode;
    if (LPDEVMODE locked = info.m_pPD->GetDevMode()) {
        devMode = *locked;
        GlobalUnlock(info.m_pPD->m_pd.hDevMode);
    }
    const std::wstring name = m_pDocument ? m_pDocument->GetTitle().str() : std::wstring();
    const bool started = framework::CurrentBackend().RunPrintJob(
        devMode, name, preview, [&](framework::PrintJob& job) {
            CDC dc(&job, true);
            info.m_bContinuePrinting = TRUE;
            OnBeginPrinting(&dc, &info);
            for (info.m_nCurPage = info.GetMinPage();
                 info.m_nCurPage <= info.GetMaxPage() && info.m_bContinuePrinting;
                 ++info.m_nCurPage) {
                OnPrepareDC(&dc, &info);
                if (!info.m_bContinuePrinting) break;
                if (!job.StartPage()) break;
                const CSize page = job.Size();
                info.m_rectDraw.SetRect(0, 0, page.cx, page.cy);
                OnPrint(&dc, &info);
                job.EndPage();
            }
            OnEndPrinting(&dc, &info);
        });
    if (!started) AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT, MB_OK | MB_ICONEXCLAMATION);
}

// Templates

CDocTemplate::CDocTemplate(UINT resourceId, const CRuntimeClass* docClass,
                           const CRuntimeClass* frameClass, const CRuntimeClass* viewClass)
    : m_nIDResource(resourceId),
      m_pDocClass(docClass),
      m_pFrameClass(frameClass),
      m_pViewClass(viewClass) {}

BOOL CDocTemplate::GetDocString(CString& text, DocStringIndex index) const {
    const std::wstring all = ResourceString(m_nIDResource);
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = all.find(L'\n', start);
        if (start == std::wstring::npos) {
            text.Empty();
            return FALSE;
        }
        ++start;
    }
    const std::size_t end = all.find(L'\n', start);
    text = CString(all.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
    return !text.IsEmpty();
}

void CDocTemplate::SetDefaultTitle(CDocument* doc) {
    CString title;
    if (!GetDocString(title, docName)) title = CString(ResourceString(AFX_IDS_UNTITLED));
    doc->SetTitle(title);
}

void CDocTemplate::CloseAllDocuments(BOOL) {}
BOOL CDocTemplate::SaveAllModified() {
    return TRUE;
}
void CDocTemplate::RemoveDocument(CDocument*) {}

CDocument* CDocTemplate::CreateNewDocument() {
    CObject* object = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
    auto* doc = dynamic_cast<CDocument*>(object);
    if (!doc) {
        delete object;
        return nullptr;
    }
    doc->template_ = this;
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc) {
    CObject* object = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    auto* frame = dynamic_cast<CFrameWnd*>(object);
    if (!frame) {
        delete object;
        return nullptr;
    }
    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pCurrentDoc = doc;
    context.m_pNewDocTemplate = this;
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        delete frame;
        return nullptr;
    }
    return frame;
}

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, const CRuntimeClass* docClass,
                                       const CRuntimeClass* frameClass,
                                       const CRuntimeClass* viewClass)
    : CDocTemplate(resourceId, docClass, frameClass, viewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
    if (onlyDoc_) {
        onlyDoc_->template_ = nullptr;
        delete onlyDoc_;
    }
}

void CSingleDocTemplate::RemoveDocument(CDocument* doc) {
    if (onlyDoc_ == doc) onlyDoc_ = nullptr;
}

BOOL CSingleDocTemplate::SaveAllModified() {
    return onlyDoc_ ? onlyDoc_->SaveModified() : TRUE;
}

void CSingleDocTemplate::CloseAllDocuments(BOOL) {
    if (onlyDoc_) onlyDoc_->OnCloseDocument();
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR path, BOOL makeVisible) {
    CDocument* doc = onlyDoc_;
    CFrameWnd* frame = nullptr;
    bool createdDoc = false;
    if (doc) {
        // The offer to save the document about to be replaced.
        if (!doc->SaveModified()) return nullptr;
        POSITION position = doc->GetFirstViewPosition();
        if (CView* view = doc->GetNextView(position)) frame = view->GetParentFrame();
    } else {
        doc = CreateNewDocument();
        if (!doc) return nullptr;
        onlyDoc_ = doc;
        createdDoc = true;
    }
    bool createdFrame = false;
    if (!frame) {
        frame = CreateNewFrame(doc);
        if (!frame) {
            if (createdDoc) delete doc;
            return nullptr;
        }
        createdFrame = true;
    }
    CWinApp* app = AfxGetApp();
    auto undoCreation = [&] {
        if (createdFrame) frame->DestroyWindow();
        if (createdDoc && onlyDoc_ == doc) delete doc;
    };
    if (!path) {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument()) {
            undoCreation();
            return nullptr;
        }
    } else {
        const BOOL wasModified = doc->IsModified();
        doc->SetModifiedFlag(FALSE);
        if (!doc->OnOpenDocument(path)) {
            if (createdFrame) {
                undoCreation();
            } else if (!doc->IsModified()) {
                // The document was not touched: it keeps its state.
                doc->SetModifiedFlag(wasModified);
            } else {
                // A half-read document is not left behind: a new one replaces it.
                SetDefaultTitle(doc);
                doc->OnNewDocument();
            }
            return nullptr;
        }
        doc->SetPathName(path, TRUE);
    }
    if (createdFrame && app && !app->m_pMainWnd) app->m_pMainWnd = frame;
    frame->InitialUpdateFrame(doc, makeVisible);
    return doc;
}
