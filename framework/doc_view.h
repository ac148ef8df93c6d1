// CDocument (new, open, save, modified flag, offer to save), CView (painting and the print and
// preview protocol), CPrintInfo, and the single-document template.
#pragma once

#include <vector>

#include "framework/common_dialogs.h"
#include "framework/dc.h"
#include "framework/frame.h"

class CView;
class CDocTemplate;
class CArchive;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
  public:
    CDocument();
    ~CDocument() override;

    const CString& GetTitle() const { return title_; }
    virtual void SetTitle(LPCTSTR title);
    const CString& GetPathName() const { return pathName_; }
    // Sets the path and, from its file name, the title; with addToMru the path enters the
    // application's recent-file list and names the document's own file, the one a plain save
    // writes. Without it the path is a name only (a new document's "sans nom").
    virtual void SetPathName(LPCTSTR path, BOOL addToMru = TRUE);
    virtual BOOL IsModified() { return modified_; }
    virtual void SetModifiedFlag(BOOL modified = TRUE) { modified_ = modified; }

    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& position) const;
    void AddView(CView* view);
    void RemoveView(CView* view);
    CDocTemplate* GetDocTemplate() const { return template_; }
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);

    // Framework steps: empty the document and clear the modified flag. FALSE ends the operation.
    virtual BOOL OnNewDocument();
    // CanOpenDocument, then empties the document and clears the modified flag.
    virtual BOOL OnOpenDocument(LPCTSTR path);
    // Base: nothing to write (the framework keeps no archive); clears the modified flag.
    virtual BOOL OnSaveDocument(LPCTSTR path);
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    virtual void Serialize(CArchive&) {}
    // The offer to save a modified document: yes saves (FALSE when the save fails), no goes
    // on, cancel answers FALSE. TRUE at once for an unmodified document.
    virtual BOOL SaveModified();
    // Saves to `path`; an empty path asks for a name first. With replace the document takes
    // the new name.
    virtual BOOL DoSave(LPCTSTR path, BOOL replace = TRUE);
    // Saves into the document's own file when it has one and that file is writable, else asks
    // for a name.
    virtual BOOL DoFileSave();

    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();

    CDocTemplate* template_ = nullptr;

  protected:
    // Whether `path` opens for reading as a regular file, found without waiting on it (a named
    // pipe would wait for a writer); when not, says so in the framework's words with the reason.
    // A document that reads into a copy of its own calls this alone, so that a failed read
    // leaves it untouched.
    BOOL CanOpenDocument(LPCTSTR path);

    DECLARE_MESSAGE_MAP()

  private:
    CString title_;
    CString pathName_;
    // The contents came from, or went to, the file at pathName_. Cleared when the contents
    // are emptied for a new document or for a read, so that a read that fails half way never
    // lets a plain save overwrite the previous file with what is left.
    bool hasFile_ = false;
    BOOL modified_ = FALSE;
    std::vector<CView*> views_;
};

class CPrintDialog;

// The state of one print job or preview, handed to the view's printing overrides.
struct CPrintInfo {
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT page) { m_pPD->m_pd.nMinPage = static_cast<WORD>(page); }
    void SetMaxPage(UINT page) { m_pPD->m_pd.nMaxPage = static_cast<WORD>(page); }
    UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
    UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }

    CPrintDialog* m_pPD;
    BOOL m_bPreview = FALSE;
    BOOL m_bDirect = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    void* m_lpUserData = nullptr;
    CRect m_rectDraw;
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
  public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    virtual void OnDraw(CDC* dc) = 0;
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);

    // The print protocol: OnPreparePrinting, OnBeginPrinting, per page OnPrepareDC and OnPrint,
    // OnEndPrinting. With no page count set, one page is printed.
    virtual BOOL OnPreparePrinting(CPrintInfo* info);
    virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info);
    virtual void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr);
    virtual void OnPrint(CDC* dc, CPrintInfo* info);
    virtual void OnEndPrinting(CDC* dc, CPrintInfo* info);
    // Shows the print dialog (not for a preview) and takes the printer; FALSE when cancelled.
    BOOL DoPreparePrinting(CPrintInfo* info);

    afx_msg void OnFilePrint();
    afx_msg void OnFilePrintPreview();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    CDocument* m_pDocument = nullptr;

  protected:
    void PostNcDestroy() override;
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnPaint();
    afx_msg void OnNextPaneCmd();
    afx_msg void OnUpdateNextPaneMenu(CCmdUI* cmdUI);

    DECLARE_MESSAGE_MAP()

  private:
    void RunPrintJob(bool preview);
};

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
  public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };
    CDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                 const CRuntimeClass* viewClass);
    // Field `index` of the document string (resource `resourceId`, fields separated by "\n").
    virtual BOOL GetDocString(CString& text, DocStringIndex index) const;
    virtual CDocument* OpenDocumentFile(LPCTSTR path, BOOL makeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* doc);
    virtual void CloseAllDocuments(BOOL endSession);
    virtual BOOL SaveAllModified();
    // The document is going away.
    virtual void RemoveDocument(CDocument* doc);
    UINT m_nIDResource;

  protected:
    CDocument* CreateNewDocument();
    CFrameWnd* CreateNewFrame(CDocument* doc);
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
};

// One document, one frame, one view, reused for every new or opened document.
class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
  public:
    CSingleDocTemplate(UINT resourceId, const CRuntimeClass* docClass,
                       const CRuntimeClass* frameClass, const CRuntimeClass* viewClass);
    ~CSingleDocTemplate() override;
    // Offers to save the current document, then opens `path` into it (a new document for a
    // null path); creates the document, frame and view the first time. nullptr on failure.
    CDocument* OpenDocumentFile(LPCTSTR path, BOOL makeVisible = TRUE) override;
    void CloseAllDocuments(BOOL endSession) override;
    BOOL SaveAllModified() override;
    void RemoveDocument(CDocument* doc) override;
    CDocument* GetOnlyDocument() const { return onlyDoc_; }

  private:
    CDocument* onlyDoc_ = nullptr;
};
