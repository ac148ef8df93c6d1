// CMyFileCDC: a 2000 x 1333 one-bit pixel buffer drawn into with lines and saved as a bitmap.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plot/my_cdc.h"

class CMyFileCDC : public CMyCDC {
  public:
    // Resolutions in dots per inch; they only reach the file's pixels-per-metre fields.
    CMyFileCDC(double dpiX, double dpiY);
    ~CMyFileCDC() = default;

    // Sets the current point and answers the new one (not the previous one).
    CMyPoint MoveTo(int x, int y) override;
    // Rasterises the line from the current point to (x, y) and answers 1. Pixels outside
    // x 0..1999, y 0..1332 are skipped, so nothing lands outside the rows or in their padding.
    int LineTo(int x, int y) override;

    // Writes the picture as a 335978-byte one-bit bitmap file. The file is written to a temporary
    // in the same folder and renamed over `path` only when complete, so a failed export leaves
    // any earlier file intact. Answers 0 when written, 1 when not (errno then tells why).
    int SaveBitmap(std::string path);

    // The 62 bytes that open the bitmap file (file header, information header, palette).
    std::vector<uint8_t> BitmapHeader() const;

    // Row y (0 = top) of the buffer, rowBytes bytes; y must be in 0..rowCount - 1.
    const uint8_t* Row(int y) const;
    // Whether pixel (x, y) is ink; false outside the picture.
    bool Pixel(int x, int y) const;

    const int width = 2000;
    const int height = 1333;
    const double dpiX;
    const double dpiY;
    // 2000 bits rounded up to whole 32-bit words: 250 bytes of pixels and 2 that stay 0.
    const int rowBytes = 252;
    const int rowCount = 1333;

  private:
    void SetPixel(int64_t x, int64_t y);
    void SetPixelAt(double column, double row);
    void Walk(int64_t first, int64_t last, int64_t start, double step, bool steep);

    // rowCount rows of rowBytes bytes in one block, row 0 at the top. Pixel (x, y) is bit
    // 0x80 >> (x mod 8) of byte x / 8 of row y; a set bit is ink.
    std::vector<uint8_t> rows;
    int curX = 0;
    int curY = 0;
};
