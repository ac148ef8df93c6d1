// CKurvomatView: the fit commands, the enabling rules of the menu and the refresh of the panes.
#include "shell/kurvomat_view.h"

#include <string>

#include "dialogs/kurv_echelle.h"
#include "dialogs/kurv_graph.h"
#include "dialogs/kurv_result.h"
#include "fitdata/fit_data.h"
#include "numerics/gauss_newton.h"
#include "numerics/levenberg_marquardt.h"
#include "resources/resource_ids.h"
#include "shell/kurvomat_doc.h"
#include "shell/main_frame.h"

namespace {

// Indices of the state panes in the status bar's indicator table.
constexpr int kPanePts = 1;
constexpr int kPaneFct = 2;
constexpr int kPaneCoef = 3;
constexpr int kPaneDist = 4;
constexpr int kPaneEch = 5;

// The fit-result template's caption, also the caption of the fits' error box.
constexpr const wchar_t* kFitCaption = L"Résultats de l'ajustement";

bool HasPoints(const FitData& data) {
    return data.hasPoints != 0;
}
bool HasFunction(const FitData& data) {
    return data.function.isCompiled != 0;
}
bool HasFit(const FitData& data) {
    return data.fitDone != 0;
}
bool ScaleByHand(const FitData& data) {
    return data.scale.autoScale == 0;
}

}  // namespace

IMPLEMENT_DYNCREATE(CKurvomatView, CView)

BEGIN_MESSAGE_MAP(CKurvomatView, CView)
ON_WM_PAINT()
ON_COMMAND(ID_LOAD_POINTS, &CKurvomatView::OnLoadPoints)
ON_COMMAND(ID_SAVE_POINTS, &CKurvomatView::OnSavePoints)
ON_COMMAND(ID_LOAD_COEF, &CKurvomatView::OnLoadCoef)
ON_COMMAND(ID_SAVE_COEF, &CKurvomatView::OnSaveCoef)
ON_COMMAND(ID_LOAD_FUNCTION_COEF, &CKurvomatView::OnLoadFunctionCoef)
ON_COMMAND(ID_SAVE_FUNCTION_COEF, &CKurvomatView::OnSaveFunctionCoef)
ON_COMMAND(ID_LOAD_APPLICATION, &CKurvomatView::OnLoadApplication)
ON_COMMAND(ID_SAVE_APPLICATION_AS, &CKurvomatView::OnSaveApplicationAs)
ON_COMMAND(ID_EXPORT_BITMAP, &CKurvomatView::OnExportBitmap)
ON_COMMAND(ID_FILE_PRINT, &CKurvomatView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, &CKurvomatView::OnFilePrintPreview)
ON_COMMAND(ID_LEAST_SQUARES, &CKurvomatView::OnLeastSquares)
ON_COMMAND(ID_LEVENBERG_MARQUARDT, &CKurvomatView::OnLevenbergMarquardt)
// The graph window and the scale dialog.
ON_COMMAND(ID_GRAPH_RESULTS, &CKurvomatView::OnGraphResults)
ON_COMMAND(ID_DEFINE_SCALE, &CKurvomatView::OnDefineScale)
// Entry dialogs.
ON_COMMAND(ID_ENTER_FUNCTION, &CKurvomatView::OnEnterFunction)
ON_COMMAND(ID_ENTER_COEF, &CKurvomatView::OnEnterCoef)
ON_COMMAND(ID_ENTER_TABLE, &CKurvomatView::OnEnterTable)
// End of the entry dialogs.
ON_UPDATE_COMMAND_UI(ID_LEAST_SQUARES, &CKurvomatView::OnUpdateFit)
ON_UPDATE_COMMAND_UI(ID_LEVENBERG_MARQUARDT, &CKurvomatView::OnUpdateFit)
ON_UPDATE_COMMAND_UI(ID_ENTER_COEF, &CKurvomatView::OnUpdateEnterCoef)
ON_UPDATE_COMMAND_UI(ID_GRAPH_RESULTS, &CKurvomatView::OnUpdateNeedPoints)
ON_UPDATE_COMMAND_UI(ID_DEFINE_SCALE, &CKurvomatView::OnUpdateNeedPoints)
ON_UPDATE_COMMAND_UI(ID_FILE_PRINT, &CKurvomatView::OnUpdateNeedPoints)
ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_PREVIEW, &CKurvomatView::OnUpdateNeedPoints)
ON_UPDATE_COMMAND_UI(ID_CALC_FX, &CKurvomatView::OnUpdateNeedFunction)
ON_UPDATE_COMMAND_UI(ID_CALC_DERIVATIVE, &CKurvomatView::OnUpdateNeedFunction)
ON_UPDATE_COMMAND_UI(ID_CALC_INTEGRAL, &CKurvomatView::OnUpdateNeedFunction)
ON_UPDATE_COMMAND_UI(ID_SOLVE_BISECTION, &CKurvomatView::OnUpdateNeedFunction)
ON_UPDATE_COMMAND_UI(ID_SOLVE_NEWTON, &CKurvomatView::OnUpdateNeedFunction)
ON_UPDATE_COMMAND_UI(ID_LOAD_COEF, &CKurvomatView::OnUpdateNeedFunction)
ON_UPDATE_COMMAND_UI(ID_SAVE_POINTS, &CKurvomatView::OnUpdateSavePoints)
ON_UPDATE_COMMAND_UI(ID_EXPORT_BITMAP, &CKurvomatView::OnUpdateSavePoints)
ON_UPDATE_COMMAND_UI(ID_LOAD_POINTS, &CKurvomatView::OnUpdateLoadPoints)
ON_UPDATE_COMMAND_UI(ID_SAVE_APPLICATION_AS, &CKurvomatView::OnUpdateSaveApplication)
ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, &CKurvomatView::OnUpdateSaveApplication)
ON_UPDATE_COMMAND_UI(ID_SAVE_COEF, &CKurvomatView::OnUpdateSaveFunction)
ON_UPDATE_COMMAND_UI(ID_SAVE_FUNCTION_COEF, &CKurvomatView::OnUpdateSaveFunction)
// Calculations on the function and differential equations (kurvomat_view_calc.cpp).
ON_COMMAND(ID_CALC_FX, &CKurvomatView::OnCalcFx)
ON_COMMAND(ID_CALC_DERIVATIVE, &CKurvomatView::OnCalcDerivative)
ON_COMMAND(ID_CALC_INTEGRAL, &CKurvomatView::OnCalcIntegral)
ON_COMMAND(ID_SOLVE_BISECTION, &CKurvomatView::OnSolveBisection)
ON_COMMAND(ID_SOLVE_NEWTON, &CKurvomatView::OnSolveNewton)
ON_COMMAND(ID_ODE_1, &CKurvomatView::OnOde1)
ON_COMMAND(ID_ODE_2, &CKurvomatView::OnOde2)
ON_COMMAND(ID_ODE_N, &CKurvomatView::OnOdeN)
END_MESSAGE_MAP()

CKurvomatDoc* CKurvomatView::GetDocument() const {
    return static_cast<CKurvomatDoc*>(m_pDocument);
}

FitData& CKurvomatView::Data() const {
    return GetDocument()->fitData;
}

BOOL CKurvomatView::PreCreateWindow(CREATESTRUCT& cs) {
    return CView::PreCreateWindow(cs);
}

void CKurvomatView::OnInitialUpdate() {
    CView::OnInitialUpdate();
}

void CKurvomatView::OnDraw(CDC*) {}

void CKurvomatView::SetPaneLit(int index, bool lit) {
    auto* frame = static_cast<CMainFrame*>(GetParentFrame());
    frame->statusBar.SetPaneStyle(index, lit ? 0 : SBPS_DISABLED);
}

void CKurvomatView::InvalidateAll() {
    InvalidateRgn(nullptr, TRUE);
}

void CKurvomatView::RefreshFunctionPanes() {
    const FitData& data = Data();
    SetPaneLit(kPaneFct, HasFunction(data));
    SetPaneLit(kPaneCoef, HasFunction(data));
    SetPaneLit(kPaneDist, HasFit(data));
    InvalidateAll();
}

void CKurvomatView::RefreshPointPanes() {
    const FitData& data = Data();
    SetPaneLit(kPanePts, HasPoints(data));
    SetPaneLit(kPaneEch, ScaleByHand(data));
    SetPaneLit(kPaneDist, HasFit(data));
    InvalidateAll();
}

void CKurvomatView::RunFit(std::wstring (*fit)(FitData*)) {
    std::wstring message;
    BeginWaitCursor();
    message = fit(&Data());
    EndWaitCursor();
    SetPaneLit(kPaneDist, HasFit(Data()));
    InvalidateAll();
    GetDocument()->SetModifiedFlag(TRUE);
    if (message.empty() || message == L"?") {
        CKurvResult dialog(
            &Data(), message.empty() ? L"Ajustement Réalisé correctement" : L"Ajustement Douteux");
        dialog.DoModal();
    } else {
        MessageBox(message.c_str(), kFitCaption, MB_ICONERROR);
    }
}

void CKurvomatView::OnLeastSquares() {
    RunFit(&LeastSquaresFit);
}

void CKurvomatView::OnLevenbergMarquardt() {
    RunFit(&LevenbergMarquardtFit);
}

void CKurvomatView::OnGraphResults() {
    CKurvGraph dialog(&Data());
    dialog.DoModal();
}

void CKurvomatView::OnDefineScale() {
    CKurvEchelle dialog(&Data());
    dialog.DoModal();
    RefreshFunctionPanes();
    RefreshPointPanes();
}

void CKurvomatView::OnUpdateFit(CCmdUI* cmdUI) {
    cmdUI->Enable(HasPoints(Data()) && HasFunction(Data()));
}

void CKurvomatView::OnUpdateEnterCoef(CCmdUI* cmdUI) {
    const bool function = HasFunction(Data());
    cmdUI->Enable(function);
    SetPaneLit(kPaneFct, function);
    SetPaneLit(kPaneCoef, function);
}

void CKurvomatView::OnUpdateNeedPoints(CCmdUI* cmdUI) {
    cmdUI->Enable(HasPoints(Data()));
}

void CKurvomatView::OnUpdateNeedFunction(CCmdUI* cmdUI) {
    cmdUI->Enable(HasFunction(Data()));
}

void CKurvomatView::OnUpdateSavePoints(CCmdUI* cmdUI) {
    cmdUI->Enable(HasPoints(Data()));
}

void CKurvomatView::OnUpdateLoadPoints(CCmdUI* cmdUI) {
    cmdUI->Enable(TRUE);
}

void CKurvomatView::OnUpdateSaveApplication(CCmdUI* cmdUI) {
    cmdUI->Enable(HasPoints(Data()) || HasFunction(Data()));
}

void CKurvomatView::OnUpdateSaveFunction(CCmdUI* cmdUI) {
    cmdUI->Enable(HasFunction(Data()));
}
