// CString: the platform's %s convention in Format, casing of the C locale, searching.
#include <gtest/gtest.h>

#include "framework/cstring.h"
#include "framework/resources.h"

namespace {

TEST(CStringTest, FormatTakesWideStringsForPercentS) {
    CString s;
    s.Format(L"%s %s %d", L"Entrée", L"du point", 6);
    EXPECT_EQ(s, L"Entrée du point 6");
    s.Format(L"%d (x=%s, y=%s)", 3, L"000001.000000", L"000002.500000");
    EXPECT_EQ(s, L"3 (x=000001.000000, y=000002.500000)");
    s.Format(L"Y%d=", 4);
    EXPECT_EQ(s, L"Y4=");
    s.Format(L"%c|%hs|%ls|%5.2f|%%|%3d", L'é', "narrow", L"wide", 2.5, 7);
    EXPECT_EQ(s, L"é|narrow|wide| 2.50|%|  7");
    s.AppendFormat(L"+%s", L"x");
    EXPECT_EQ(s, L"é|narrow|wide| 2.50|%|  7+x");
}

TEST(CStringTest, FormatGrowsForLongTexts) {
    const std::wstring longText(5000, L'a');
    CString s;
    s.Format(L"<%s>", longText.c_str());
    EXPECT_EQ(s.GetLength(), 5002);
}

TEST(CStringTest, UpperCaseChangesOnlyAsciiLetters) {
    CString s(L"sin(x)*a + é ß");
    s.MakeUpper();
    EXPECT_EQ(s, L"SIN(X)*A + é ß");
    s.MakeLower();
    EXPECT_EQ(s, L"sin(x)*a + é ß");
}

TEST(CStringTest, ReplaceEveryOccurrence) {
    CString s(L"/a.HLP/b.HLP");
    EXPECT_EQ(s.Replace(L".HLP", L".chm"), 2);
    EXPECT_EQ(s, L"/a.chm/b.chm");
    EXPECT_EQ(s.Replace(L".hlp", L"x"), 0);
    EXPECT_EQ(s.Find(L".chm"), 2);
    EXPECT_EQ(s.ReverseFind(L'/'), 6);
    EXPECT_EQ(s.Mid(7), L"b.chm");
    EXPECT_EQ(s.Left(2), L"/a");
    EXPECT_EQ(s.Right(3), L"chm");
    EXPECT_EQ(s.Mid(20), L"");
}

TEST(CStringTest, LoadStringPrefersTheApplicationTable) {
    ResourceSet set;
    set.strings = {{57345, L"Attente"}, {200, L"Prompt\nTip"}};
    AfxSetResources(nullptr);
    CString s;
    EXPECT_TRUE(s.LoadString(AFX_IDS_IDLEMESSAGE));
    EXPECT_EQ(s, L"Prêt");
    EXPECT_FALSE(s.LoadString(200));
    EXPECT_EQ(s, L"");
    AfxSetResources(&set);
    EXPECT_TRUE(s.LoadString(AFX_IDS_IDLEMESSAGE));
    EXPECT_EQ(s, L"Attente");
    EXPECT_TRUE(s.LoadString(200));
    EXPECT_EQ(s, L"Prompt\nTip");
    AfxSetResources(nullptr);
}

TEST(DialogUnitsTest, ScaleOfTheDialogFont) {
    struct Case {
        int units, x, y;
    };
    // 6/4 and 13/8 pixels per unit, rounded to the nearest pixel (halves up).
    for (const Case& c :
         {Case{0, 0, 0}, Case{4, 6, 7}, Case{1, 2, 2}, Case{3, 5, 5}, Case{50, 75, 81},
          Case{14, 21, 23}, Case{273, 410, 444}, Case{133, 200, 216}}) {
        EXPECT_EQ(DialogUnitsToPixelsX(c.units), c.x) << c.units;
        EXPECT_EQ(DialogUnitsToPixelsY(c.units), c.y) << c.units;
    }
    EXPECT_EQ(MulDiv(-3, 6, 4), -5);
}

}  // namespace
