// CKurvGraph: layout on the desktop, drawing of the page and the read-outs under the pointer.
#include "dialogs/kurv_graph.h"

#include "dialogs/plot_reading.h"
#include "drawing/my_draw_cdc.h"
#include "fitdata/fit_data.h"
#include "fitdata/number_format.h"
#include "plot/results_page.h"
#include "resources/resource_ids.h"

namespace {

// The dialog stops this many pixels short of the bottom of the desktop.
constexpr int kBottomAllowance = 24;

// Moves `control` to (x, y) in the dialog's client area, keeping its size.
void MoveKeepingSize(CWnd& control, int x, int y) {
    CRect rect;
    control.GetWindowRect(&rect);
    control.MoveWindow(x, y, rect.Width(), rect.Height(), TRUE);
}

// The rectangle of `control` measured from the dialog's own top-left corner: its screen
// rectangle as it would be with the dialog at the screen's origin, where the layout was drawn up.
CRect FromWindowCorner(const CWnd& dialog, const CWnd& control) {
    CRect window, rect;
    dialog.GetWindowRect(&window);
    control.GetWindowRect(&rect);
    rect.OffsetRect(-window.left, -window.top);
    return rect;
}

}  // namespace

BEGIN_MESSAGE_MAP(CKurvGraph, CDialog)
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CKurvGraph::CKurvGraph(FitData* fitData, CWnd* parent)
    : CDialog(IDD_GRAPH, parent), data(fitData) {}

void CKurvGraph::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_READ_Y, yReadOut);
    DDX_Control(exchange, IDC_READ_X, xReadOut);
    DDX_Control(exchange, IDOK, okButton);
    DDX_Control(exchange, IDC_GRAPH_FRAME, frame);
    DDX_Text(exchange, IDC_READ_X, textX);
    DDX_Text(exchange, IDC_READ_Y, textY);
}

BOOL CKurvGraph::OnInitDialog() {
    CDialog::OnInitDialog();
    return TRUE;
}

void CKurvGraph::OnPaint() {
    CPaintDC dc(this);
    CMyDrawCDC draw(&dc);

    // Every paint fits the window to the desktop again; a move to where a window already is
    // changes nothing, so the layout settles after the first paint. The window takes the
    // desktop's corner, which a panel may move away from the screen's origin, and the controls
    // are placed from that corner: `bottom` is the desktop's bottom edge seen from there.
    CRect desktop;
    GetDesktopWindow()->GetWindowRect(&desktop);
    const int width = desktop.Width();
    const int bottom = desktop.Height();
    MoveWindow(desktop.left, desktop.top, width, bottom - kBottomAllowance, TRUE);

    CRect ok;
    okButton.GetWindowRect(&ok);
    MoveKeepingSize(okButton, (width - ok.Width()) / 2, bottom - 80);
    frame.MoveWindow(16, 8, width - 40, bottom - 96, TRUE);
    MoveKeepingSize(xReadOut, 20, bottom - 86);
    MoveKeepingSize(yReadOut, FromWindowCorner(*this, xReadOut).right + 4, bottom - 86);

    UpdateData(FALSE);

    // The frame's rectangle from the window's corner serves as client coordinates, as the
    // layout was drawn up.
    const CRect page = FromWindowCorner(*this, frame);
    DrawResultsPage(page.left - 2, page.right - 4, page.top - 14, page.bottom - 30, data, &draw, 1);
}

void CKurvGraph::OnMouseMove(UINT, CPoint point) {
    const ScaleDef& scale = data->scale;
    const double xMin = scale.xMin, xMax = scale.xMax, yMin = scale.yMin, yMax = scale.yMax;
    UpdateData(TRUE);

    // The plot area of the page, from a rectangle a little smaller than the page's own.
    const CRect f = FromWindowCorner(*this, frame);
    const int left = f.left + 2, right = f.right - 10, top = f.top - 10, bottom = f.bottom - 36;
    const int dx = (right - left) / 10;
    const int dy = (bottom - top) / 7;
    const int x0 = left + dx, x1 = right - 2 * dx;
    const int y0 = top + 2 * dy, y1 = bottom - dy;

    // An area without width or height (a tiny screen) reads nothing rather than 0 / 0.
    if (x0 < x1 && y0 < y1 && point.x >= x0 && point.x <= x1 && point.y >= y0 && point.y <= y1) {
        textX = FormatNumber(ValueAtPixel(point.x - x0, x1 - x0, xMin, xMax));
        textY = FormatNumber(ValueAtPixel(y1 - point.y, y1 - y0, yMin, yMax));
    } else {
        textX.Empty();
        textY.Empty();
    }
    UpdateData(FALSE);
    Default();
}
