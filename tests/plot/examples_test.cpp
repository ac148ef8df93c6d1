// Renders the results page of every sample document of examples/ into the bitmap context, as the
// bitmap export does, and compares a checksum of the pixel rows with the value recorded when the
// page was last looked at: a changed drawing must come with a conscious change of the checksum.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "fitdata/fit_data.h"
#include "plot/file_cdc.h"
#include "plot/results_page.h"

namespace {

// FNV-1a, 64 bits, over the 1333 rows of 252 bytes, top row first.
uint64_t RowChecksum(const CMyFileCDC& dc) {
    uint64_t hash = 14695981039346656037ULL;
    for (int y = 0; y < dc.rowCount; ++y) {
        const uint8_t* row = dc.Row(y);
        for (int b = 0; b < dc.rowBytes; ++b) {
            hash ^= row[b];
            hash *= 1099511628211ULL;
        }
    }
    return hash;
}

struct ExamplePage {
    const char* name;
    uint64_t checksum;
    int inkPixels;
};

TEST(ExamplePagesTest, RenderedPagesMatchTheirRecordedChecksums) {
    // Made by make_examples (examples/make_examples.cpp); looked at as PNG when recorded.
    const ExamplePage pages[] = {
        {"decay", 0x3ADC7F5C39DF01D2ULL, 24621},
        {"sine", 0x27A3C7621D9A72A5ULL, 27970},
        {"rational", 0x7401E9528F6F2157ULL, 32464},
        {"points", 0x9F1A5D96B612C2B6ULL, 12255},
    };
    for (const ExamplePage& page : pages) {
        auto data = std::make_unique<FitData>();
        const std::string path =
            std::string(KURVOMAT_SOURCE_DIR) + "/examples/" + page.name + ".gen";
        ASSERT_EQ(data->ReadGen(path), 0) << path;
        CMyFileCDC dc(179.5053003533569, 179.52386002120892);
        DrawResultsPage(0, 2000, 0, 1333, data.get(), &dc, 2);
        int ink = 0;
        for (int y = 0; y < dc.rowCount; ++y)
            for (int b = 0; b < dc.rowBytes; ++b) ink += __builtin_popcount(dc.Row(y)[b]);
        char actual[32];
        std::snprintf(actual, sizeof actual, "0x%016llX",
                      static_cast<unsigned long long>(RowChecksum(dc)));
        EXPECT_EQ(RowChecksum(dc), page.checksum) << page.name << ": " << actual;
        EXPECT_EQ(ink, page.inkPixels) << page.name;
    }
}

}  // namespace
