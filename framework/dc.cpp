// CDC over a paint device (current point, lines, inverted rectangles, printer orientation) and
// CPaintDC.
#include "framework/dc.h"

#include "framework/common_dialogs.h"
#include "framework/core.h"
#include "framework/resources.h"
#include "framework/wnd.h"

CPoint CDC::MoveTo(int x, int y) {
    const CPoint previous = current_;
    current_ = CPoint(x, y);
    return previous;
}

BOOL CDC::LineTo(int x, int y) {
    if (device_) device_->Line(current_.x, current_.y, x, y);
    current_ = CPoint(x, y);
    return TRUE;
}

void CDC::InvertRect(LPCRECT rect) {
    if (device_ && rect) device_->InvertRect(*rect);
}

CSize CDC::GetTextExtent(const CString& text) const {
    const int width =
        framework::HasBackend() ? framework::CurrentBackend().TextWidth(text.str()) : 0;
    return CSize(width, DialogUnitsToPixelsY(8));
}

int CDC::GetDeviceCaps(int index) const {
    if (!device_) return 0;
    const CSize size = device_->Size();
    const CSize dpi = device_->DotsPerInch();
    switch (index) {
        case HORZRES:
            return size.cx;
        case VERTRES:
            return size.cy;
        case LOGPIXELSX:
            return dpi.cx;
        case LOGPIXELSY:
            return dpi.cy;
        case HORZSIZE:
            return dpi.cx > 0 ? MulDiv(size.cx, 254, dpi.cx * 10) : 0;
        case VERTSIZE:
            return dpi.cy > 0 ? MulDiv(size.cy, 254, dpi.cy * 10) : 0;
        default:
            return 0;
    }
}

BOOL CDC::ResetDC(const DEVMODE* devMode) {
    if (!device_ || !devMode) return FALSE;
    if (devMode->dmFields & DM_ORIENTATION) device_->SetOrientation(devMode->dmOrientation);
    return TRUE;
}

CPaintDC::CPaintDC(CWnd* wnd) {
    m_hWnd = wnd ? wnd->m_hWnd : nullptr;
    SetDevice(framework::CurrentPaintDevice(m_hWnd));
    if (framework::IsAlive(m_hWnd)) {
        m_ps.fErase = m_hWnd->erase;
        m_ps.rcPaint = framework::ClientRect(m_hWnd);
        framework::ValidateRecord(m_hWnd);
    }
}

CPaintDC::~CPaintDC() = default;
