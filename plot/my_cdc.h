// The two-operation drawing context through which the whole results page is drawn.
#pragma once

// The point answered by CMyCDC::MoveTo.
struct CMyPoint {
    int x = 0;
    int y = 0;
};

// Everything on the results page (lines, texts, banner) reaches its target through these two
// operations only, so the same drawing serves the window, the printer and the bitmap file.
// A context is always created and destroyed under its own type, hence no virtual destructor;
// the protected one keeps anybody from deleting through this interface.
class CMyCDC {
  public:
    // Makes (x, y) the current point.
    virtual CMyPoint MoveTo(int x, int y) = 0;
    // Draws a line from the current point to (x, y), both ends included, and makes (x, y) the
    // current point. Answers nonzero on success (a BOOL).
    virtual int LineTo(int x, int y) = 0;

  protected:
    CMyCDC() = default;
    CMyCDC(const CMyCDC&) = default;
    CMyCDC& operator=(const CMyCDC&) = default;
    ~CMyCDC() = default;
};
