// CMyDrawCDC: the results page's drawing context over a window's or the printer's device context.
#pragma once

#include "framework/dc.h"
#include "plot/my_cdc.h"

class CMyDrawCDC : public CMyCDC {
  public:
    // The device context is borrowed: its owner outlives this object and releases it.
    explicit CMyDrawCDC(CDC* dc) : dc_(dc) {}

    // Answers the previous current point, as the device context does.
    CMyPoint MoveTo(int x, int y) override;
    int LineTo(int x, int y) override;

  private:
    CDC* dc_;
};
