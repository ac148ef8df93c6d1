// CKurvomatDoc: the document, which owns the one FitData record of the program.
#pragma once

#include "fitdata/fit_data.h"
#include "framework/doc_view.h"

class CKurvomatView;

class CKurvomatDoc : public CDocument {
    DECLARE_DYNCREATE(CKurvomatDoc)

  public:
    FitData fitData;

    // The framework's archive is not used: files go through FitData::ReadGen and WriteGen.
    void Serialize(CArchive& archive) override;

    // A reset record named "sans nom", not added to the recent files.
    BOOL OnNewDocument() override;
    // Read of a *.gen file. On success its record, path and title, a recent-file entry, not
    // modified. On failure the error box with the file and the reason, and FALSE: the document
    // keeps its record, name, modified flag and recent files.
    BOOL OnOpenDocument(LPCTSTR path) override;
    // Write of a *.gen file; on success not modified, path and title of the file; on failure the
    // error box, FALSE, still modified under the old path.
    BOOL OnSaveDocument(LPCTSTR path) override;
    // With an empty path, asks for one first; FALSE when that dialog is cancelled.
    BOOL DoSave(LPCTSTR path, BOOL replace = TRUE) override;

    // The one view, or nullptr while the frame is being built.
    CKurvomatView* GetKurvomatView() const;

  private:
    void RefreshView();

    DECLARE_MESSAGE_MAP()
};
