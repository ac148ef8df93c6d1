// CKurvEchelle: the preview with its rubber band, the read-outs, and the limits applied to the
// scale.
#include "dialogs/kurv_echelle.h"

#include <algorithm>
#include <utility>

#include "dialogs/number_text.h"
#include "dialogs/plot_reading.h"
#include "drawing/my_draw_cdc.h"
#include "fitdata/fit_data.h"
#include "fitdata/number_format.h"
#include "plot/results_page.h"
#include "resources/resource_ids.h"

namespace {

bool Inside(const CRect& area, int x, int y) {
    return x >= area.left && x <= area.right && y >= area.top && y <= area.bottom;
}

// The X value at client column x of the plot area p, and the Y value at client row y.
double XAt(const CRect& p, const ScaleDef& scale, int x) {
    return ValueAtPixel(x - p.left, p.right - p.left, scale.xMin, scale.xMax);
}
double YAt(const CRect& p, const ScaleDef& scale, int y) {
    return ValueAtPixel(p.bottom - y, p.bottom - p.top, scale.yMin, scale.yMax);
}

}  // namespace

BEGIN_MESSAGE_MAP(CKurvEchelle, CDialog)
ON_WM_PAINT()
ON_BN_CLICKED(IDC_SCALE_AUTO, &CKurvEchelle::OnEchelleAuto)
ON_WM_MOUSEMOVE()
ON_BN_CLICKED(IDC_SCALE_APPLY, &CKurvEchelle::OnAppliquer)
ON_EN_CHANGE(IDC_SCALE_X_MIN, &CKurvEchelle::OnChangeLimit)
ON_EN_UPDATE(IDC_SCALE_X_MIN, &CKurvEchelle::OnChangeLimit)
ON_EN_CHANGE(IDC_SCALE_X_MAX, &CKurvEchelle::OnChangeLimit)
ON_EN_UPDATE(IDC_SCALE_X_MAX, &CKurvEchelle::OnChangeLimit)
ON_EN_CHANGE(IDC_SCALE_Y_MIN, &CKurvEchelle::OnChangeLimit)
ON_EN_UPDATE(IDC_SCALE_Y_MIN, &CKurvEchelle::OnChangeLimit)
ON_EN_CHANGE(IDC_SCALE_Y_MAX, &CKurvEchelle::OnChangeLimit)
ON_EN_UPDATE(IDC_SCALE_Y_MAX, &CKurvEchelle::OnChangeLimit)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CKurvEchelle::CKurvEchelle(FitData* fitData, CWnd* parent)
    : CDialog(IDD_SCALE, parent), data(fitData) {}

void CKurvEchelle::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_SCALE_APPLY, applyButton);
    DDX_Control(exchange, IDC_SCALE_Y_MIN, yMinEdit);
    DDX_Control(exchange, IDC_SCALE_Y_MAX, yMaxEdit);
    DDX_Control(exchange, IDC_SCALE_X_MIN, xMinEdit);
    DDX_Control(exchange, IDC_SCALE_X_MAX, xMaxEdit);
    DDX_Control(exchange, IDC_SCALE_GROUP, limitsGroup);
    DDX_Control(exchange, IDC_SCALE_Y_MIN_LABEL, yMinLabel);
    DDX_Control(exchange, IDC_SCALE_Y_MAX_LABEL, yMaxLabel);
    DDX_Control(exchange, IDC_SCALE_X_MIN_LABEL, xMinLabel);
    DDX_Control(exchange, IDC_SCALE_X_MAX_LABEL, xMaxLabel);
    DDX_Control(exchange, IDC_SCALE_EXIT, exitButton);
    DDX_Control(exchange, IDC_GRAPH_FRAME, frame);
    DDX_Check(exchange, IDC_SCALE_AUTO, automatic);
    DDX_Text(exchange, IDC_SCALE_X_MAX, xMaxText);
    DDX_Text(exchange, IDC_SCALE_X_MIN, xMinText);
    DDX_Text(exchange, IDC_SCALE_Y_MAX, yMaxText);
    DDX_Text(exchange, IDC_SCALE_Y_MIN, yMinText);
    DDX_Text(exchange, IDC_READ_X, readX);
    DDX_Text(exchange, IDC_READ_Y, readY);
}

CRect CKurvEchelle::PlotRect() const {
    CRect dialog;
    GetWindowRect(&dialog);
    CRect f;
    frame.GetWindowRect(&f);
    return CRect(f.left - dialog.left + 53, f.top - dialog.top + 16, f.right - dialog.left - 109,
                 f.bottom - dialog.top - 45);
}

void CKurvEchelle::UpdateControls(BOOL resetBand) {
    UpdateData(TRUE);
    const BOOL byHand = automatic == 0;
    CWnd* limits[] = {&xMinEdit,  &xMaxEdit,  &yMinEdit,  &yMaxEdit,
                      &xMinLabel, &xMaxLabel, &yMinLabel, &yMaxLabel};
    for (CWnd* control : limits) control->EnableWindow(byHand);
    UpdateData(FALSE);
    EnableApply(resetBand);
}

void CKurvEchelle::EnableApply(BOOL resetBand) {
    UpdateData(TRUE);
    applyButton.EnableWindow(TRUE);
    UpdateData(FALSE);
    if (resetBand) {
        band = CRect(0, 0, 0, 0);
        const CRect plot = PlotRect();
        InvalidateRect(&plot, TRUE);
        UpdateWindow();
    }
}

BOOL CKurvEchelle::OnInitDialog() {
    CDialog::OnInitDialog();
    anchor = CPoint(0, 0);
    band = CRect(0, 0, 0, 0);

    CWnd* owner = GetParent();
    if (owner == nullptr) owner = GetDesktopWindow();
    CRect ownerRect;
    owner->GetWindowRect(&ownerRect);
    CRect dialog;
    GetWindowRect(&dialog);
    MoveWindow((ownerRect.left + ownerRect.right - dialog.Width()) / 2,
               (ownerRect.top + ownerRect.bottom - dialog.Height()) / 2, dialog.Width(),
               dialog.Height(), TRUE);
    limitsGroup.MoveWindow(16, 8, dialog.Width() - 40, 96, TRUE);
    frame.MoveWindow(16, 108, dialog.Width() - 40, dialog.Height() - 152, TRUE);

    UpdateData(TRUE);
    data->AutoScale();
    const ScaleDef& scale = data->scale;
    automatic = scale.autoScale;
    xMinText = FormatNumber(scale.xMin);
    xMaxText = FormatNumber(scale.xMax);
    yMinText = FormatNumber(scale.yMin);
    yMaxText = FormatNumber(scale.yMax);
    UpdateData(FALSE);

    UpdateControls(TRUE);
    applyButton.EnableWindow(FALSE);
    return TRUE;
}

void CKurvEchelle::OnPaint() {
    CPaintDC dc(this);
    CMyDrawCDC draw(&dc);
    const CRect plot = PlotRect();
    DrawGraph(plot.left, plot.right, plot.top, plot.bottom, data, &draw, 1);
    if (band.left > 0 && band.top > 0 && band.right > 0 && band.bottom > 0) dc.InvertRect(&band);
}

void CKurvEchelle::OnEchelleAuto() {
    UpdateControls(TRUE);
}

void CKurvEchelle::OnChangeLimit() {
    EnableApply(TRUE);
}

void CKurvEchelle::OnMouseMove(UINT, CPoint point) {
    const ScaleDef scale = data->scale;
    UpdateData(TRUE);
    const CRect plot = PlotRect();
    if (Inside(plot, point.x, point.y)) {
        readX = FormatNumber(XAt(plot, scale, point.x));
        readY = FormatNumber(YAt(plot, scale, point.y));
    } else {
        readX.Empty();
        readY.Empty();
    }
    UpdateData(FALSE);

    if (Inside(plot, anchor.x, anchor.y)) {
        const int x = std::clamp(static_cast<int>(point.x), static_cast<int>(plot.left),
                                 static_cast<int>(plot.right));
        const int y = std::clamp(static_cast<int>(point.y), static_cast<int>(plot.top),
                                 static_cast<int>(plot.bottom));
        // The first repaint takes the old band away, the second inverts the new one.
        InvalidateRect(&plot, FALSE);
        UpdateWindow();
        band = CRect(std::min<int>(anchor.x, x), std::min<int>(anchor.y, y),
                     std::max<int>(anchor.x, x), std::max<int>(anchor.y, y));
        InvalidateRect(&plot, FALSE);
        UpdateWindow();
    }
    Default();
}

void CKurvEchelle::OnLButtonDown(UINT, CPoint point) {
    anchor = point;
    // The release ends the drag even when it happens outside the dialog.
    SetCapture();
    Default();
}

void CKurvEchelle::OnLButtonUp(UINT, CPoint) {
    // Every release ends the drag, wherever it happens; a band that lies in the plot area
    // becomes the four limits.
    if (GetCapture() == this) ReleaseCapture();
    anchor = CPoint(0, 0);
    const CRect plot = PlotRect();
    if (Inside(plot, band.left, band.top) && Inside(plot, band.right, band.bottom)) {
        const ScaleDef scale = data->scale;
        UpdateData(TRUE);
        xMinText = FormatNumber(XAt(plot, scale, band.left));
        xMaxText = FormatNumber(XAt(plot, scale, band.right));
        yMaxText = FormatNumber(YAt(plot, scale, band.top));
        yMinText = FormatNumber(YAt(plot, scale, band.bottom));
        automatic = 0;
        UpdateData(FALSE);
        InvalidateRect(&plot, TRUE);
        UpdateWindow();
        UpdateControls(FALSE);
    }
    Default();
}

void CKurvEchelle::OnAppliquer() {
    UpdateData(TRUE);
    ScaleDef& scale = data->scale;
    if (automatic) {
        scale.autoScale = 1;
        data->AutoScale();
    } else {
        // A limit that does not read leaves everything as it is, silently.
        double xMin = 0.0, xMax = 0.0, yMin = 0.0, yMax = 0.0;
        if (!ReadNumber(xMinText, xMin) || !ReadNumber(xMaxText, xMax) ||
            !ReadNumber(yMinText, yMin) || !ReadNumber(yMaxText, yMax))
            return;
        if (xMin > xMax) std::swap(xMin, xMax);
        if (yMin > yMax) std::swap(yMin, yMax);
        scale.autoScale = 0;
        scale.xMin = xMin;
        scale.xMax = xMax;
        scale.yMin = yMin;
        scale.yMax = yMax;
        scale.RoundToNiceSteps();
    }
    // The fields show the limits actually used.
    xMinText = FormatNumber(scale.xMin);
    xMaxText = FormatNumber(scale.xMax);
    yMinText = FormatNumber(scale.yMin);
    yMaxText = FormatNumber(scale.yMax);
    automatic = scale.autoScale;
    applyButton.EnableWindow(FALSE);
    UpdateData(FALSE);
    band = CRect(0, 0, 0, 0);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
