// The one-bit bitmap context: line rasteriser and the bitmap file writer.
#include "plot/file_cdc.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "fitdata/atomic_file.h"

namespace {

// The walk of a line far outside the buffer cannot come back into it once it is this many rows
// away: the running sum drifts by far less than one row per million additions.
constexpr double kFarAway = 1.0e7;

// A walk that starts further than this before the buffer's first column (shallow) or row (steep)
// enters it by one product instead of this many additions, so no line takes more than a few
// milliseconds. Only lines from that far away can come out one row or column off the pure
// running sum; everything the page draws starts far closer.
constexpr int64_t kLongestWalkOutside = int64_t{1} << 20;

void PutLittleEndian(std::vector<uint8_t>& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// trunc(dpi × 100 / 2.54); a resolution whose product does not fit the field writes 0.
uint32_t PixelsPerMetre(double dpi) {
    const double perMetre = std::trunc(dpi * 100 / 2.54);
    if (!(perMetre >= std::numeric_limits<int32_t>::min() &&
          perMetre <= std::numeric_limits<int32_t>::max()))
        return 0;
    return static_cast<uint32_t>(static_cast<int32_t>(perMetre));
}

}  // namespace

CMyFileCDC::CMyFileCDC(double dpiX, double dpiY)
    : dpiX(dpiX), dpiY(dpiY), rows(static_cast<size_t>(rowBytes) * rowCount, 0) {}

CMyPoint CMyFileCDC::MoveTo(int x, int y) {
    curX = x;
    curY = y;
    return {x, y};
}

int CMyFileCDC::LineTo(int x, int y) {
    // Differences in 64 bits: two ints far apart do not fit an int difference.
    const int64_t cx = curX, cy = curY, tx = x, ty = y;
    if (tx == cx) {
        for (int64_t r = std::max<int64_t>(std::min(cy, ty), 0),
                     last = std::min<int64_t>(std::max(cy, ty), height - 1);
             r <= last; ++r)
            SetPixel(tx, r);
    } else if (ty == cy) {
        for (int64_t c = std::max<int64_t>(std::min(cx, tx), 0),
                     last = std::min<int64_t>(std::max(cx, tx), width - 1);
             c <= last; ++c)
            SetPixel(c, ty);
    } else {
        const double slope = static_cast<double>(ty - cy) / static_cast<double>(tx - cx);
        if (slope >= -1 && slope <= 1) {
            if (cx < tx)
                DrawShallow(cx, cy, tx, slope);
            else
                DrawShallow(tx, ty, cx, slope);
        } else {
            if (cy < ty)
                DrawSteep(cx, cy, ty, slope);
            else
                DrawSteep(tx, ty, cy, slope);
        }
    }
    curX = x;
    curY = y;
    return 1;
}

// Walks the columns xl..xr from the left end; the row is the running sum v, truncated, with the
// slope added once per column. Stops early once the walk has left the buffer for good.
void CMyFileCDC::DrawShallow(int64_t xl, int64_t yl, int64_t xr, double slope) {
    if (xr < 0 || xl > width - 1) return;
    const double yr = static_cast<double>(yl) + slope * static_cast<double>(xr - xl);
    if (std::max<double>(yl, yr) < -kFarAway || std::min<double>(yl, yr) > height + kFarAway)
        return;
    double v = static_cast<double>(yl);
    if (xl < -kLongestWalkOutside) {
        v = static_cast<double>(yl) + slope * static_cast<double>(-xl);
        xl = 0;
    }
    const int64_t last = std::min<int64_t>(xr, width - 1);
    for (int64_t c = xl; c <= last; ++c) {
        if (c >= 0) SetPixelAt(static_cast<double>(c), v);
        // The running sum only moves one way: once beyond the buffer it stays beyond.
        if ((slope > 0 && v >= height) || (slope < 0 && v <= -1)) return;
        v = v + slope;
    }
}

// Walks the rows yu..yd from the upper end; the column is the running sum u, truncated, with
// 1 / slope added once per row.
void CMyFileCDC::DrawSteep(int64_t xu, int64_t yu, int64_t yd, double slope) {
    if (yd < 0 || yu > height - 1) return;
    const double step = 1 / slope;
    const double xd = static_cast<double>(xu) + step * static_cast<double>(yd - yu);
    if (std::max<double>(xu, xd) < -kFarAway || std::min<double>(xu, xd) > width + kFarAway) return;
    double u = static_cast<double>(xu);
    if (yu < -kLongestWalkOutside) {
        u = static_cast<double>(xu) + step * static_cast<double>(-yu);
        yu = 0;
    }
    const int64_t last = std::min<int64_t>(yd, height - 1);
    for (int64_t r = yu; r <= last; ++r) {
        if (r >= 0) SetPixelAt(u, static_cast<double>(r));
        if ((step > 0 && u >= width) || (step < 0 && u <= -1)) return;
        u = u + step;
    }
}

// Truncates toward zero and sets the pixel when it lies in the buffer; the range test is made
// on the doubles, so no out-of-range value is ever converted to an integer.
void CMyFileCDC::SetPixelAt(double column, double row) {
    const double c = std::trunc(column), r = std::trunc(row);
    if (c >= 0 && c <= width - 1 && r >= 0 && r <= height - 1)
        SetPixel(static_cast<int64_t>(c), static_cast<int64_t>(r));
}

void CMyFileCDC::SetPixel(int64_t x, int64_t y) {
    if (x < 0 || x >= width || y < 0 || y >= height) return;
    rows[static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x / 8)] |=
        static_cast<uint8_t>(0x80 >> (x % 8));
}

const uint8_t* CMyFileCDC::Row(int y) const {
    return rows.data() + static_cast<size_t>(y) * rowBytes;
}

bool CMyFileCDC::Pixel(int x, int y) const {
    if (x < 0 || x >= width || y < 0 || y >= height) return false;
    return (Row(y)[x / 8] & (0x80 >> (x % 8))) != 0;
}

std::vector<uint8_t> CMyFileCDC::BitmapHeader() const {
    const uint32_t imageSize = static_cast<uint32_t>(rowBytes) * rowCount;
    std::vector<uint8_t> header;
    header.reserve(62);
    header.push_back('B');
    header.push_back('M');
    PutLittleEndian(header, imageSize + 62, 4);  // file size
    PutLittleEndian(header, 0, 2);               // reserved
    PutLittleEndian(header, 0, 2);               // reserved
    PutLittleEndian(header, 62, 4);              // offset of the pixel data
    PutLittleEndian(header, 40, 4);              // size of the information header
    PutLittleEndian(header, width, 4);
    PutLittleEndian(header, height, 4);  // positive: rows stored bottom-up
    PutLittleEndian(header, 1, 2);       // planes
    PutLittleEndian(header, 1, 2);       // bits per pixel
    PutLittleEndian(header, 0, 4);       // no compression
    PutLittleEndian(header, imageSize, 4);
    PutLittleEndian(header, PixelsPerMetre(dpiX), 4);
    PutLittleEndian(header, PixelsPerMetre(dpiY), 4);
    PutLittleEndian(header, 2, 4);           // colours used
    PutLittleEndian(header, 2, 4);           // important colours
    PutLittleEndian(header, 0x00FFFFFF, 4);  // colour 0: white, the background
    PutLittleEndian(header, 0x00000000, 4);  // colour 1: black, the ink
    return header;
}

int CMyFileCDC::SaveBitmap(std::string path) {
    // The header in one write of 62 bytes, then the rows from the bottom of the picture up, one
    // write each; the first failure ends the writing and the old file stays.
    WriteFileAtomically(path, [this](std::FILE* file) {
        const std::vector<uint8_t> header = BitmapHeader();
        if (std::fwrite(header.data(), header.size(), 1, file) != 1) return false;
        for (int y = rowCount - 1; y >= 0; --y)
            if (std::fwrite(Row(y), static_cast<size_t>(rowBytes), 1, file) != 1) return false;
        return true;
    });
    return 0;
}
