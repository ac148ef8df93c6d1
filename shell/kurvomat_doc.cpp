// CKurvomatDoc: new, open and save of the application file through the FitData record.
#include "shell/kurvomat_doc.h"

#include <memory>
#include <utility>

#include "common/text_conversion.h"
#include "framework/common_dialogs.h"
#include "shell/file_failure.h"
#include "shell/kurvomat_view.h"

IMPLEMENT_DYNCREATE(CKurvomatDoc, CDocument)

BEGIN_MESSAGE_MAP(CKurvomatDoc, CDocument)
END_MESSAGE_MAP()

void CKurvomatDoc::Serialize(CArchive&) {}

CKurvomatView* CKurvomatDoc::GetKurvomatView() const {
    POSITION position = GetFirstViewPosition();
    if (position == nullptr) return nullptr;
    return dynamic_cast<CKurvomatView*>(GetNextView(position));
}

void CKurvomatDoc::RefreshView() {
    if (CKurvomatView* view = GetKurvomatView()) {
        view->RefreshFunctionPanes();
        view->RefreshPointPanes();
    }
}

BOOL CKurvomatDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument()) return FALSE;
    SetPathName(L"sans nom", FALSE);
    fitData.Reset();
    RefreshView();
    return TRUE;
}

BOOL CKurvomatDoc::OnOpenDocument(LPCTSTR path) {
    if (!CanOpenDocument(path)) return FALSE;
    // Read into a record of its own: a file that fails leaves the user's work as it was.
    auto read = std::make_unique<FitData>();
    ReadNote note;
    if (!CheckRead(GetKurvomatView(), read->ReadGen(WideToNarrow(path), &note), path, note))
        return FALSE;
    fitData = std::move(*read);
    SetModifiedFlag(FALSE);
    SetPathName(path, TRUE);
    RefreshView();
    return TRUE;
}

BOOL CKurvomatDoc::OnSaveDocument(LPCTSTR path) {
    // A failure leaves the document modified under its old name, and says so.
    if (!CheckSaved(GetKurvomatView(), fitData.WriteGen(WideToNarrow(path)), path)) return FALSE;
    SetModifiedFlag(FALSE);
    SetPathName(path, TRUE);
    return TRUE;
}

BOOL CKurvomatDoc::DoSave(LPCTSTR path, BOOL replace) {
    if (path != nullptr && path[0] != L'\0') return CDocument::DoSave(path, replace);

    // Unlike the view's own save-as, no overwrite question here.
    CFileDialog dialog(FALSE, L"GEN", path, OFN_HIDEREADONLY,
                       L"Applications Kurvomat (*.gen)|*.gen||", nullptr);
    dialog.GetOFN().lpstrTitle = L"Enregistrer l'application Kurvomat sous";
    if (dialog.DoModal() != IDOK) return FALSE;
    const CString chosen = dialog.GetPathName();
    return CDocument::DoSave(chosen, replace);
}
