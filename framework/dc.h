// Device contexts: CDC (lines, inverted rectangles, device capabilities) and CPaintDC.
#pragma once

#include "framework/cmd_target.h"
#include "framework/cstring.h"
#include "framework/types.h"

class CWnd;
struct DEVMODE;

namespace framework {

// What a device context draws on; a backend supplies one per paint, page or recording.
class PaintDevice {
  public:
    virtual ~PaintDevice() = default;
    virtual void Line(int x0, int y0, int x1, int y1) = 0;
    virtual void InvertRect(const RECT& rect) = 0;
    // Size of the drawing surface in device units, and its resolution.
    virtual CSize Size() const = 0;
    virtual CSize DotsPerInch() const { return CSize(96, 96); }
    // A printer changes its orientation (1 portrait, 2 landscape) for the pages to come.
    virtual void SetOrientation(int /*orientation*/) {}
};

}  // namespace framework

// GetDeviceCaps indices.
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

class CDC : public CObject {
  public:
    CDC() = default;
    explicit CDC(framework::PaintDevice* device, bool printing = false)
        : device_(device), printing_(printing) {}

    // Makes (x, y) the current point; answers the previous one.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    // Line from the current point to (x, y), which becomes the current point.
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    void InvertRect(LPCRECT rect);
    CPoint GetCurrentPosition() const { return current_; }
    int GetDeviceCaps(int index) const;
    // Size of `text` in the dialog font, the one font the framework's controls show text in.
    CSize GetTextExtent(const CString& text) const;
    // The printer takes the device mode's orientation for the following pages.
    BOOL ResetDC(const DEVMODE* devMode);
    BOOL IsPrinting() const { return printing_; }
    framework::PaintDevice* Device() const { return device_; }
    void SetDevice(framework::PaintDevice* device) { device_ = device; }

  private:
    framework::PaintDevice* device_ = nullptr;
    bool printing_ = false;
    CPoint current_;
};

struct PAINTSTRUCT {
    BOOL fErase = FALSE;
    RECT rcPaint{0, 0, 0, 0};
};

// Painting of a window in its WM_PAINT handler: draws in client coordinates and validates the
// window.
class CPaintDC : public CDC {
  public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;
    HWND m_hWnd = nullptr;
};
