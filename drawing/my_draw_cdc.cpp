// CMyDrawCDC: forwards the two drawing operations to the device context.
#include "drawing/my_draw_cdc.h"

CMyPoint CMyDrawCDC::MoveTo(int x, int y) {
    const CPoint previous = dc_->MoveTo(x, y);
    return CMyPoint{previous.x, previous.y};
}

int CMyDrawCDC::LineTo(int x, int y) {
    return dc_->LineTo(x, y);
}
