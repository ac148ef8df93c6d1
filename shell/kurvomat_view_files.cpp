// CKurvomatView: the file commands, each through the system's file dialog.
#include <memory>

#include "common/text_conversion.h"
#include "fitdata/fit_data.h"
#include "framework/common_dialogs.h"
#include "plot/file_cdc.h"
#include "plot/results_page.h"
#include "shell/file_failure.h"
#include "shell/kurvomat_doc.h"
#include "shell/kurvomat_view.h"

namespace {

constexpr DWORD kOpenFlags = OFN_HIDEREADONLY;
constexpr DWORD kSaveFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;

// Resolutions of the exported page: 2000 pixels over 28.3 cm, 1333 pixels over 18.86 cm.
constexpr double kBitmapDpiX = 179.5053003533569;
constexpr double kBitmapDpiY = 179.52386002120892;

}  // namespace

bool CKurvomatView::AskForFile(const FileDialogSettings& settings, CString& path) {
    auto dialog =
        std::make_unique<CFileDialog>(settings.open, settings.defaultExtension,
                                      settings.initialName, settings.flags, settings.filter, this);
    dialog->GetOFN().lpstrTitle = settings.title;
    if (dialog->DoModal() != IDOK) return false;
    path = dialog->GetPathName();
    return true;
}

void CKurvomatView::OnLoadApplication() {
    CString path;
    if (!AskForFile(
            {TRUE, L"GEN", nullptr, kOpenFlags,
             L"Applications Kurvomat (*.gen)|*.gen|Applications Kurvomat MSDOS(*.gen)|*.gen|"
             L"Tous Fichiers (*.*)|*.*||",
             L"Ouvrir une application Kurvomat"},
            path)) {
        return;
    }
    // A modified document is offered for saving first, as before a new document or the exit;
    // the document reports a file it cannot read, and is then left as it was.
    CKurvomatDoc* document = GetDocument();
    if (!document->SaveModified()) return;
    document->OnOpenDocument(path);
    RefreshFunctionPanes();
    RefreshPointPanes();
}

void CKurvomatView::OnLoadCoef() {
    CString path;
    if (!AskForFile(
            {TRUE, L"COE", L"", kOpenFlags,
             L"Coefficients Kurvomat (*.coe)|*.coe|Coefficients Kurvomat MSDOS(*.coe)|*.coe|"
             L"Tous Fichiers (*.*)|*.*||",
             L"Ouvrir un fichier contenant des coefficients"},
            path)) {
        return;
    }
    ReadNote note;
    const int answer = Data().LoadCoef(path.str(), &note);
    if (answer == 0) GetDocument()->SetModifiedFlag(TRUE);
    RefreshFunctionPanes();
    CheckRead(this, answer, path, note);
}

void CKurvomatView::OnLoadFunctionCoef() {
    CString path;
    if (!AskForFile(
            {TRUE, L"FON", L"", kOpenFlags,
             L"Fonction et coefficients Kurvomat (*.fon)|*.fon|"
             L"Fonction et coefficients Kurvomat MSDOS(*.coe)|*.coe|Tous Fichiers (*.*)|*.*||",
             L"Ouvrir un fichier contenant une fonction et des coefficients"},
            path)) {
        return;
    }
    ReadNote note;
    const int answer = Data().LoadFon(path.str(), &note);
    if (answer == 0) GetDocument()->SetModifiedFlag(TRUE);
    RefreshFunctionPanes();
    CheckRead(this, answer, path, note);
}

void CKurvomatView::OnLoadPoints() {
    CString path;
    if (!AskForFile({TRUE, L"DAT", L"", kOpenFlags,
                     L"Tables de points (*.dat)|*.dat|Tables de points (*.txt)|*.txt|"
                     L"Texte (séparateur: espace) (*.prn)|*.prn|"
                     L"Texte (séparateur: tabulation) (*.txt)|*.txt|"
                     L"Texte (séparateur: point-virgule) (*.csv)|*.csv|"
                     L"Tous Fichiers (format Kurvomat) (*.*)|*.*||",
                     L"Ouvrir un fichier contenant une table de points"},
                    path)) {
        return;
    }
    // The content chooses the reader, neither the filter entry nor the extension.
    ReadNote note;
    const int answer = IsOwnPointFormat(path.str()) ? Data().LoadPointsText(path.str(), &note)
                                                    : Data().LoadPointsSeparated(path.str(), &note);
    if (answer == 0) GetDocument()->SetModifiedFlag(TRUE);
    RefreshPointPanes();
    CheckRead(this, answer, path, note, Data().nPoints);
}

void CKurvomatView::OnSaveApplicationAs() {
    CKurvomatDoc* document = GetDocument();
    const CString current = document->GetPathName();
    CString path;
    if (!AskForFile({FALSE, L"GEN", current, kSaveFlags, L"Applications Kurvomat (*.gen)|*.gen||",
                     L"Enregistrer l'application Kurvomat sous"},
                    path)) {
        return;
    }
    if (!CheckSaved(this, Data().WriteGen(WideToNarrow(path.str())), path)) return;
    document->SetModifiedFlag(FALSE);
    document->SetPathName(path, TRUE);
}

void CKurvomatView::OnSaveCoef() {
    CString path;
    if (!AskForFile({FALSE, L"COE", nullptr, kSaveFlags, L"Coefficients Kurvomat (*.coe)|*.coe||",
                     L"Enregistrer les coefficients sous"},
                    path)) {
        return;
    }
    CheckSaved(this, Data().function.WriteCoef(WideToNarrow(path.str())), path);
}

void CKurvomatView::OnSaveFunctionCoef() {
    CString path;
    if (!AskForFile({FALSE, L"FON", nullptr, kSaveFlags,
                     L"Fonction et coefficients Kurvomat (*.fon)|*.fon||",
                     L"Enregistrer la fonction et les coefficients sous"},
                    path)) {
        return;
    }
    CheckSaved(this, Data().function.WriteFon(WideToNarrow(path.str())), path);
}

void CKurvomatView::OnSavePoints() {
    CString path;
    if (!AskForFile({FALSE, L"DAT", nullptr, kSaveFlags,
                     L"Tables de points (*.dat)|*.dat|Tables de points (*.txt)|*.txt||",
                     L"Enregistrer la table de points sous"},
                    path)) {
        return;
    }
    CheckSaved(this, Data().WritePointsText(WideToNarrow(path.str())), path);
}

void CKurvomatView::OnExportBitmap() {
    CString path;
    if (!AskForFile({FALSE, L"BMP", L"", kSaveFlags, L"Image bitmap (*.bmp)|*.bmp||",
                     L"Exporter les résultats sous"},
                    path)) {
        return;
    }
    CMyFileCDC page(kBitmapDpiX, kBitmapDpiY);
    DrawResultsPage(0, 2000, 0, 1333, &Data(), &page, 2);
    CheckSaved(this, page.SaveBitmap(WideToNarrow(path.str())), path);
}
