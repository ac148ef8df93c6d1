// The one-bit bitmap context: line rasteriser and the bitmap file writer.
#include "plot/file_cdc.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "common/assert.h"
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
            // Shallow (slopes of exactly ±1 included): by columns from the left end.
            if (cx < tx)
                Walk(cx, tx, cy, slope, false);
            else
                Walk(tx, cx, ty, slope, false);
        } else {
            // Steep: by rows from the upper end, the column moving by 1 / slope.
            if (cy < ty)
                Walk(cy, ty, cx, 1 / slope, true);
            else
                Walk(ty, cy, tx, 1 / slope, true);
        }
    }
    curX = x;
    curY = y;
    return 1;
}

// Walks one line along its long axis, from `first` to `last`: the columns from the left end of a
// shallow line, or the rows from the upper end of a steep one. The other coordinate is the running
// sum `across`, starting at `start`, truncated, with `step` added once per unit: a running sum, not
// start + step × k, so the rounding of the sum decides the pixel where it falls near a whole
// number. Stops early once the walk has left the buffer for good.
void CMyFileCDC::Walk(int64_t first, int64_t last, int64_t start, double step, bool steep) {
    const int alongSize = steep ? height : width, acrossSize = steep ? width : height;
    if (last < 0 || first > alongSize - 1) return;
    const double end = static_cast<double>(start) + step * static_cast<double>(last - first);
    if (std::max<double>(start, end) < -kFarAway ||
        std::min<double>(start, end) > acrossSize + kFarAway)
        return;
    double across = static_cast<double>(start);
    if (first < -kLongestWalkOutside) {
        across = static_cast<double>(start) + step * static_cast<double>(-first);
        first = 0;
    }
    const int64_t stop = std::min<int64_t>(last, alongSize - 1);
    for (int64_t along = first; along <= stop; ++along) {
        if (along >= 0) {
            if (steep)
                SetPixelAt(across, static_cast<double>(along));
            else
                SetPixelAt(static_cast<double>(along), across);
        }
        // The running sum only moves one way: once beyond the buffer it stays beyond.
        if ((step > 0 && across >= acrossSize) || (step < 0 && across <= -1)) return;
        across = across + step;
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
    KURVO_ASSERT(y >= 0 && y < rowCount);
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
    return WriteFileAtomically(path, [this](std::FILE* file) {
        const std::vector<uint8_t> header = BitmapHeader();
        if (std::fwrite(header.data(), header.size(), 1, file) != 1) return false;
        for (int y = rowCount - 1; y >= 0; --y)
            if (std::fwrite(Row(y), static_cast<size_t>(rowBytes), 1, file) != 1) return false;
        return true;
    });
}
