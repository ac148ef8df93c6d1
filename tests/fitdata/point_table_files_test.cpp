// Tests of the point-table text files: own format read and written, separated pairs read.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/text_conversion.h"
#include "fitdata/fit_data.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ReadText;
using testing_support::TempDir;
using testing_support::WriteText;

const std::string kByteOrderMark = "\xEF\xBB\xBF";

std::string Pairs(int count, const char* separator, const char* lineEnd) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += std::to_string(i) + ".5" + separator + std::to_string(-i) + lineEnd;
    }
    return text;
}

struct ReadCase {
    const char* what;
    std::string text;
    int answer;
    int hasPoints;
    int nPoints;   // checked when not -1
    double lastX;  // pointX[nPoints - 1] when nPoints > 0
};

TEST(PointTableTextTest, ReadsTheOwnFormat) {
    const ReadCase cases[] = {
        {"one line", "3 1 2 3 4 5 6", 0, 1, 3, 5.0},
        {"six lines", "3\n1\n2\n3\n4\n5\n6\n", 0, 1, 3, 5.0},
        {"CRLF and tabs", "2\r\n1.5\t2.5\r\n-3e2\t4\r\n", 0, 1, 2, -300.0},
        {"text after the last pair is not read", "1\n7 8\nnot a number\n", 0, 1, 1, 7.0},
        {"decimal commas", "2\n1,5 2\n-0,5e3 4\n", 0, 1, 2, -500.0},
        {"5000 pairs", "5000\n" + Pairs(5000, " ", "\n"), 0, 1, 5000, 4999.5},
        {"count 5001", "5001\n" + Pairs(5001, " ", "\n"), 2, 0, 5001, 0},
        {"count 0", "0\n", 2, 0, 0, 0},
        {"negative count", "-3\n1 2\n", 2, 0, -3, 0},
        {"a pair missing", "4\n1 2\n3 4\n5 6\n", 1, 0, 4, 0},
        {"half a pair", "2\n1 2\n3\n", 1, 0, 2, 0},
        {"a non-number", "2\n1 2\nx 4\n", 1, 0, 2, 0},
        {"no count", "abc\n", 1, 0, -1, 0},
        {"empty file", "", 1, 0, -1, 0},
        {"a comma after a decimal point", "1\n1.5,2\n", 1, 0, 1, 0},
        {"a comma before a non-digit", "2\n1 2,\n3 4\n", 1, 0, 2, 0},
        {"byte-order mark before the count", kByteOrderMark + "1\n7 8\n", 0, 1, 1, 7.0},
        {"nan", "2\n1 2\nnan 4\n", 1, 0, 2, 0},
        {"beyond the doubles", "1\n1 -1e999\n", 1, 0, 1, 0},
    };
    TempDir dir;
    std::string path = dir.File("t.dat");
    for (const ReadCase& c : cases) {
        WriteText(path, c.text);
        auto data = std::make_unique<FitData>();
        data->Reset();
        data->hasPoints = 1;
        EXPECT_EQ(data->ReadPointsText(path), c.answer) << c.what;
        EXPECT_EQ(data->hasPoints, c.hasPoints) << c.what;
        if (c.nPoints != -1) {
            EXPECT_EQ(data->nPoints, c.nPoints) << c.what;
        }
        if (c.hasPoints == 1) {
            EXPECT_EQ(data->pointX[c.nPoints - 1], c.lastX) << c.what;
        }
    }
}

TEST(PointTableTextTest, FailedReadKeepsThePairsAlreadyRead) {
    TempDir dir;
    std::string path = dir.File("t.dat");
    WriteText(path, "4\n1 2\n3 4\n5 6\n");
    auto data = std::make_unique<FitData>();
    data->Reset();
    data->pointX[3] = 42.0;
    EXPECT_EQ(data->ReadPointsText(path), 1);
    EXPECT_EQ(data->pointX[2], 5.0);
    EXPECT_EQ(data->pointY[2], 6.0);
    EXPECT_EQ(data->pointX[3], 42.0);
    EXPECT_EQ(data->ReadPointsText(dir.File("missing.dat")), 1);

    // A number that no point can take is not stored, and its line is named.
    WriteText(path, "3\n1 2\n3 4\ninf 6\n");
    data->pointX[2] = 42.0;
    ReadNote note;
    EXPECT_EQ(data->ReadPointsText(path, &note), 1);
    EXPECT_EQ(note.reason, "la ligne 4 ne contient pas deux nombres");
    EXPECT_EQ(data->pointX[2], 42.0);
}

TEST(PointTableTextTest, WritesAndReadsBackRoundedToTheFormat) {
    TempDir dir;
    std::string path = dir.File("t.dat");
    auto data = std::make_unique<FitData>();
    data->Reset();
    const double x[] = {1.5, -2.25, 1234567.0, 1.0 / 3.0};
    const double y[] = {0.00005, -123456.0, 0.0, -0.00001234567};
    ASSERT_EQ(data->SetPoints(4, x, y), 1);
    ASSERT_EQ(data->WritePointsText(path), 0);
    EXPECT_EQ(ReadText(path),
              "4\n"
              "     1.500000  5.000000e-05\n"
              "    -2.250000 -1.23456e+05\n"
              " 1.234567e+06      0.000000\n"
              "     0.333333 -1.23457e-05\n");

    auto back = std::make_unique<FitData>();
    back->Reset();
    ASSERT_EQ(back->ReadPointsText(path), 0);
    EXPECT_EQ(back->nPoints, 4);
    EXPECT_EQ(back->pointX[3], 0.333333);
    EXPECT_EQ(back->pointY[3], -1.23457e-05);
    EXPECT_EQ(back->pointY[1], -123456.0);
}

TEST(PointTableTextTest, WriterNeedsATable) {
    TempDir dir;
    auto data = std::make_unique<FitData>();
    data->Reset();
    EXPECT_EQ(data->WritePointsText(dir.File("none.dat")), 1);
    EXPECT_TRUE(dir.Entries().empty()) << "no file is made without a table";

    // A present table with no points is written, and the reader refuses its count.
    data->hasPoints = 1;
    data->nPoints = 0;
    ASSERT_EQ(data->WritePointsText(dir.File("zero.dat")), 0);
    EXPECT_EQ(ReadText(dir.File("zero.dat")), "0\n");
    EXPECT_EQ(data->ReadPointsText(dir.File("zero.dat")), 2);
}

struct SeparatedCase {
    std::string text;
    int answer;
    int count;                 // nPoints afterwards
    std::vector<double> read;  // the first pairs read: X, Y, X, Y...
    int line = 0;              // the line of a broken pair, or where a success stopped reading text
};

// One file a row: a pair a line, the separator and the decimal mark told apart line by line.
TEST(PointTableSeparatedTest, ReadsOnePairALine) {
    const SeparatedCase cases[] = {
        {"1.5,2.5\n", 0, 1, {1.5, 2.5}},
        {"10,20\n30,40\n50,60\n70,80\n", 0, 4, {10, 20, 30, 40, 50, 60, 70, 80}},
        {"1.5, 2.5\n-3, 4e2\n", 0, 2, {1.5, 2.5, -3, 400}},
        {"1,5;2,5\n-0,5e3;7\n", 0, 2, {1.5, 2.5, -500, 7}},
        {"\"x\";\"y\"\r\n0;\"0,43488\"\r\n", 0, 1, {0, 0.43488}},
        {"1 ; 2\n", 0, 1, {1, 2}},
        {"1,5 2,5\n3 4,25\n1,5\t2,5\n", 0, 3, {1.5, 2.5, 3, 4.25, 1.5, 2.5}},
        {"5\n", 1, 0, {}, 1},
        {"5;\n", 1, 0, {}, 1},
        {"1;nan\n", 1, 0, {}, 1},
        {"1;2;3\n4;5\n", 0, 1, {1, 2}, 1},
        {"1\n2\n3\n4\n", 1, 0, {}, 1},
        {"T1;T2\n\n1;2\n", 0, 1, {1, 2}},
        {"Temps (h)\tCO2 (ppm)\n0\t415,5\n", 0, 1, {0, 415.5}},
        {kByteOrderMark + "1;2\n3;4\n", 0, 2, {1, 2, 3, 4}},
        {"\xEF\xBB\xBFx;y\n1;2\n", 0, 1, {1, 2}},
        {"1;2,\n3;4\n", 0, 1, {1, 2}, 1},
        {"inf;2\n", 1, 0, {}, 1},
        {"Inférieur;Nanomètres\n1;2\n", 0, 1, {1, 2}},
        {"1;2\n3;1e999\n", 1, 1, {1, 2}, 2},
        {"1.5;2.5\r3;4\r", 0, 2, {1.5, 2.5, 3, 4}},
        {"\n1.5 2.5\n\n3 4", 0, 2, {1.5, 2.5, 3, 4}},
        {"1;2\n\nfin\n", 0, 1, {1, 2}, 3},
        {"", 1, 0, {}},
        {"X;Y\n", 1, 0, {}},
        {"1;2\n3;", 1, 1, {1, 2}, 2},
        {Pairs(4999, ";", "\n"), 0, 4999, {0.5, 0}},
        {Pairs(5000, ";", "\n"), 0, 5000, {0.5, 0}},
        {Pairs(5001, ";", "\n"), 2, 5000, {}},
    };
    TempDir dir;
    std::string path = dir.File("t.csv");
    for (const SeparatedCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text.substr(0, 60)));
        WriteText(path, c.text);
        auto data = std::make_unique<FitData>();
        data->Reset();
        data->hasPoints = 1;
        ReadNote note;
        EXPECT_EQ(data->ReadPointsSeparated(path, &note), c.answer);
        EXPECT_EQ(data->hasPoints, c.answer == 0 ? 1 : 0);
        EXPECT_EQ(data->nPoints, c.count);
        for (size_t i = 0; i < c.read.size(); ++i) {
            EXPECT_EQ(i % 2 == 0 ? data->pointX[i / 2] : data->pointY[i / 2], c.read[i]) << i;
        }
        if (c.answer == 0) {
            EXPECT_EQ(note.stopLine, c.line);
        } else if (c.line > 0) {
            EXPECT_EQ(note.reason,
                      "la ligne " + std::to_string(c.line) + " ne contient pas deux nombres");
        }
    }
}

TEST(PointTableSeparatedTest, ReadErrorIsNotTheEndOfTheTable) {
    // A folder opens but every read fails: that is no empty table.
    TempDir dir;
    auto data = std::make_unique<FitData>();
    data->Reset();
    EXPECT_EQ(data->ReadPointsSeparated(dir.path()), 1);
    EXPECT_EQ(data->hasPoints, 0);
    EXPECT_EQ(data->ReadPointsText(dir.path()), 1);
    EXPECT_EQ(data->hasPoints, 0);
}

// A loader changes the document only after a success; a failure leaves the table, the scale and
// the fit result as they were.
TEST(PointTableLoadTest, LoadersChangeTheRecordOnlyAfterASuccess) {
    TempDir dir;
    std::string good = dir.File("good.txt");
    WriteText(good, "1;2\n");
    for (bool separated : {false, true}) {
        for (const std::string& path : {good, dir.File("missing.txt")}) {
            auto data = std::make_unique<FitData>();
            data->Reset();
            const double x[] = {7.0, 8.0};
            data->SetPoints(2, x, x);
            data->scale.autoScale = 0;
            data->fitDone = 1;
            std::wstring wide = NarrowToWide(path);
            int answer = separated ? data->LoadPointsSeparated(wide) : data->LoadPointsText(wide);
            // "1;2" has no own-format count followed by a pair: only the separated reader takes it.
            const bool read = separated && path == good;
            EXPECT_EQ(answer, read ? 0 : 1) << path << " " << separated;
            EXPECT_EQ(data->scale.autoScale, read ? 1 : 0) << path;
            EXPECT_EQ(data->fitDone, read ? 0 : 1) << path;
            EXPECT_EQ(data->nPoints, read ? 1 : 2) << path;
            EXPECT_EQ(data->pointX[0], read ? 1.0 : 7.0) << path;
            EXPECT_EQ(data->hasPoints, 1) << path;
        }
    }
}

}  // namespace
