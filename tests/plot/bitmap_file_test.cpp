// Tests of the saved bitmap file: its bytes, its bottom-up rows, its atomic replacement, and a
// read-back by a real image reader (ImageMagick) when one is installed.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "plot/file_cdc.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

constexpr double kExportDpiX = 179.5053003533569;
constexpr double kExportDpiY = 179.52386002120892;
constexpr size_t kFileSize = 335978;

size_t FileOffset(int x, int y) {
    return 62 + static_cast<size_t>(1332 - y) * 252 + static_cast<size_t>(x / 8);
}

TEST(BitmapFileTest, FreshContextSavesAWhitePicture) {
    TempDir dir;
    CMyFileCDC dc(kExportDpiX, kExportDpiY);
    EXPECT_EQ(dc.SaveBitmap(dir.File("white.bmp")), 0);
    const std::vector<uint8_t> bytes = ReadBytes(dir.File("white.bmp"));
    ASSERT_EQ(bytes.size(), kFileSize);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 62), dc.BitmapHeader());
    for (size_t i = 62; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;
}

TEST(BitmapFileTest, RowsAreStoredBottomUpWithTheLeftmostPixelInTheTopBit) {
    TempDir dir;
    CMyFileCDC dc(kExportDpiX, kExportDpiY);
    struct Pixel {
        int x, y;
        uint8_t bit;
    };
    const Pixel pixels[] = {
        {0, 0, 0x80}, {9, 1332, 0x40}, {1999, 0, 0x01}, {1000, 666, 0x80}, {7, 5, 0x01}};
    for (const Pixel& p : pixels) {
        dc.MoveTo(p.x, p.y);
        dc.LineTo(p.x, p.y);
    }
    dc.SaveBitmap(dir.File("dots.bmp"));
    const std::vector<uint8_t> bytes = ReadBytes(dir.File("dots.bmp"));
    ASSERT_EQ(bytes.size(), kFileSize);
    // A move to (0, 0) and a line to (0, 0): byte 0 of the last row of the file is 0x80.
    EXPECT_EQ(bytes[kFileSize - 252], 0x80);
    std::vector<uint8_t> expected(kFileSize - 62, 0);
    for (const Pixel& p : pixels) expected[FileOffset(p.x, p.y) - 62] |= p.bit;
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 62, bytes.end()), expected);
    // Saving leaves the picture as it was; a second save writes the same bytes.
    EXPECT_TRUE(dc.Pixel(1000, 666));
    dc.SaveBitmap(dir.File("again.bmp"));
    EXPECT_EQ(ReadBytes(dir.File("again.bmp")), bytes);
}

TEST(BitmapFileTest, FailedSaveKeepsTheOldFileAndAnswersZero) {
    TempDir dir;
    const std::string path = dir.File("page.bmp");
    const std::vector<uint8_t> old(5000, 0x5A);
    CMyFileCDC dc(kExportDpiX, kExportDpiY);
    dc.MoveTo(0, 0);
    dc.LineTo(1999, 1332);

    // Every write past 100000 bytes fails: the export cannot complete.
    WriteBytes(path, old);
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 100000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int answer = dc.SaveBitmap(path);
    const int reason = errno;
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(reason, EFBIG);
    EXPECT_EQ(ReadBytes(path), old) << "the old file survives byte for byte";
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"page.bmp"}) << "no temporary left";

    // A folder that does not exist: nothing is made, and the answer says so.
    EXPECT_EQ(dc.SaveBitmap(dir.File("missing/page.bmp")), 1);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"page.bmp"});

    // Once the limit is gone the same export replaces the old file whole.
    EXPECT_EQ(dc.SaveBitmap(path), 0);
    EXPECT_EQ(ReadBytes(path).size(), kFileSize);
}

bool HaveImageMagick() {
    return std::system(
               "command -v identify >/dev/null 2>&1 && command -v convert >/dev/null 2>&1") == 0;
}

std::string RunCommand(const std::string& command) {
    std::string output;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
        pclose(pipe);
    }
    return output;
}

TEST(BitmapFileTest, ImageMagickReadsThePictureBack) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick (identify, convert) is not installed";
    TempDir dir;
    CMyFileCDC dc(kExportDpiX, kExportDpiY);
    // A frame along the picture's edges, a diagonal and a few lone dots.
    dc.MoveTo(0, 0);
    dc.LineTo(1999, 0);
    dc.LineTo(1999, 1332);
    dc.LineTo(0, 1332);
    dc.LineTo(0, 0);
    dc.LineTo(1332, 1332);
    for (int x : {17, 500, 1234}) {
        dc.MoveTo(x, 100);
        dc.LineTo(x, 100);
    }
    const std::string bmp = dir.File("page.bmp"), pbm = dir.File("page.pbm");
    dc.SaveBitmap(bmp);

    EXPECT_EQ(RunCommand("identify -format '%w %h %z' '" + bmp + "'"), "2000 1333 1");
    // The reader's view of every pixel, as a raw bitmap (P4: 1 is black, rows top-down).
    RunCommand("convert '" + bmp + "' '" + pbm + "'");
    const std::vector<uint8_t> image = ReadBytes(pbm);
    const std::string header = "P4\n2000 1333\n";
    ASSERT_EQ(image.size(), header.size() + 250u * 1333u);
    ASSERT_EQ(std::string(image.begin(), image.begin() + long(header.size())), header);
    auto ink = [&](int x, int y) {
        return (image[header.size() + size_t(y) * 250 + size_t(x / 8)] >> (7 - x % 8)) & 1;
    };
    EXPECT_EQ(ink(0, 0), 1);
    EXPECT_EQ(ink(1999, 1332), 1);
    EXPECT_EQ(ink(666, 666), 1) << "on the diagonal";
    EXPECT_EQ(ink(667, 666), 0);
    EXPECT_EQ(ink(500, 100), 1);
    EXPECT_EQ(ink(500, 101), 0);
    for (int y = 0; y < 1333; ++y)
        for (int x = 0; x < 2000; ++x)
            if (ink(x, y) != dc.Pixel(x, y)) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") read back differently";
                return;
            }
}

}  // namespace
