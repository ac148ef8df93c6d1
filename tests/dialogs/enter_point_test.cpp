// The single-point dialog: caption, starting fields, the OK button's rule and the numbers read.
#include <gtest/gtest.h>

#include "dialogs/enter_point.h"
#include "fitdata/number_format.h"
#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"

namespace {

class EnterPointTest : public KurvomatSession {
  protected:
    void SetUp() override {
        KurvomatSession::SetUp();
        ASSERT_TRUE(Start());
    }
};

struct CaptionCase {
    double x;
    double y;
    int number;
    int modify;
    const wchar_t* caption;
};

TEST_F(EnterPointTest, CaptionAndStartingFields) {
    const CaptionCase cases[] = {
        {0.0, 0.0, 5, 0, L"Entrée du point 5"},
        {1.5, -2.25, 3, 1, L"Modification du point 3"},
        {1234567.0, 0.00005, 12, 7, L"Modification du point 12"},
    };
    for (const CaptionCase& c : cases) {
        SCOPED_TRACE(WideToNarrow(c.caption));
        CEnterPoint dialog(c.x, c.y, c.number, c.modify);
        Driver()
            .NextDialog(IDD_ENTER_POINT)
            .Check([&](headless::Driver& in) {
                EXPECT_EQ(in.Caption(), c.caption);
                EXPECT_EQ(in.Text(IDC_POINT_X), FormatNumber(c.x));
                EXPECT_EQ(in.Text(IDC_POINT_Y), FormatNumber(c.y));
                EXPECT_TRUE(in.IsEnabled(IDOK));
            })
            .Click(IDCANCEL);
        EXPECT_EQ(dialog.DoModal(), 0);
        EXPECT_EQ(ScriptErrors(), "");
    }
}

TEST_F(EnterPointTest, NewPointStartsAtZero) {
    CEnterPoint dialog(0.0, 0.0, 1, 0);
    Driver()
        .NextDialog(IDD_ENTER_POINT)
        .Check([](headless::Driver& in) {
            EXPECT_EQ(in.Text(IDC_POINT_X), L"000000.000000");
            EXPECT_EQ(in.Text(IDC_POINT_Y), L"000000.000000");
        })
        .Click(IDOK);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.x, 0.0);
    EXPECT_EQ(dialog.y, 0.0);
}

struct ReadCase {
    const wchar_t* xText;
    const wchar_t* yText;
    double x;
    double y;
};

TEST_F(EnterPointTest, NumbersReadFromTheFields) {
    const ReadCase cases[] = {
        {L"2,5", L"-1e3", 2.5, -1000.0},   {L"-0,5e3", L"1,5,3", -500.0, 1.5},
        {L"1.5,3", L"12,5abc", 1.5, 12.5}, {L"  7", L"12abc", 7.0, 12.0},
        {L"+0.125", L".5", 0.125, 0.5},    {L"-0", L"1E-300", -0.0, 1e-300},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(WideToNarrow(c.xText));
        CEnterPoint dialog(9.0, 9.0, 1, 1);
        Driver()
            .NextDialog(IDD_ENTER_POINT)
            .Type(IDC_POINT_X, c.xText)
            .Type(IDC_POINT_Y, c.yText)
            .Click(IDOK);
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.x, c.x);
        EXPECT_EQ(dialog.y, c.y);
        EXPECT_EQ(ScriptErrors(), "");
    }
}

// A field left as shown keeps its value to the bit; an edited one gives what was typed.
TEST_F(EnterPointTest, UneditedFieldsKeepTheirValues) {
    CEnterPoint dialog(12345678.9, -2.0000004, 2, 1);
    Driver().NextDialog(IDD_ENTER_POINT).Type(IDC_POINT_X, L"1.234568e+07").PressEnter();
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.x, 12345680.0);
    EXPECT_EQ(dialog.y, -2.0000004);
}

// The OK button follows the field edited last; OK itself checks both.
TEST_F(EnterPointTest, OkFollowsTheLastEditedField) {
    CEnterPoint dialog(1.0, 2.0, 4, 1);
    Driver()
        .NextDialog(IDD_ENTER_POINT)
        .Clear(IDC_POINT_X)
        .Check([](headless::Driver& in) { EXPECT_FALSE(in.IsEnabled(IDOK)); })
        .Type(IDC_POINT_Y, L"5")
        .Check([](headless::Driver& in) { EXPECT_TRUE(in.IsEnabled(IDOK)) << "Y gives a number"; })
        .Click(IDOK)
        .Check([](headless::Driver& in) {
            EXPECT_EQ(in.ActiveDialogId(), IDD_ENTER_POINT) << "X gives none";
        })
        .Type(IDC_POINT_X, L"abc")
        .Check([](headless::Driver& in) { EXPECT_FALSE(in.IsEnabled(IDOK)); })
        .Type(IDC_POINT_X, L"   ")
        .Check([](headless::Driver& in) { EXPECT_FALSE(in.IsEnabled(IDOK)); })
        .Type(IDC_POINT_X, L"-3.5")
        .Check([](headless::Driver& in) { EXPECT_TRUE(in.IsEnabled(IDOK)); })
        .Click(IDOK);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.x, -3.5);
    EXPECT_EQ(dialog.y, 5.0);
    EXPECT_EQ(ScriptErrors(), "");
}

// A refused OK keeps the members as they were.
TEST_F(EnterPointTest, RefusedOkChangesNothing) {
    CEnterPoint dialog(1.0, 2.0, 4, 1);
    Driver()
        .NextDialog(IDD_ENTER_POINT)
        .Type(IDC_POINT_X, L"8")
        .Type(IDC_POINT_Y, L"x")
        .Type(IDC_POINT_X, L"9")
        .Click(IDOK)
        .Check([](headless::Driver& in) { EXPECT_EQ(in.ActiveDialogId(), IDD_ENTER_POINT); })
        .PressEscape();
    EXPECT_EQ(dialog.DoModal(), 0);
    EXPECT_EQ(dialog.x, 1.0);
    EXPECT_EQ(dialog.y, 2.0);
    EXPECT_TRUE(Driver().MessageBoxes().empty());
}

// Texts that give no finite number read like letters: OK disabled and refused.
TEST_F(EnterPointTest, NonFiniteNumbersDoNotRead) {
    for (const wchar_t* text : {L"nan", L"inf", L"-infinity", L"1e999"}) {
        SCOPED_TRACE(WideToNarrow(text));
        CEnterPoint dialog(1.0, 2.0, 4, 1);
        Driver()
            .NextDialog(IDD_ENTER_POINT)
            .Type(IDC_POINT_Y, text)
            .Check([](headless::Driver& in) { EXPECT_FALSE(in.IsEnabled(IDOK)); })
            .PressEnter()
            .Check([](headless::Driver& in) { EXPECT_EQ(in.ActiveDialogId(), IDD_ENTER_POINT); })
            .PressEscape();
        EXPECT_EQ(dialog.DoModal(), 0);
        EXPECT_EQ(dialog.y, 2.0);
        EXPECT_EQ(ScriptErrors(), "");
    }
}

// Cancel, Escape and the close box all answer 0, not IDCANCEL.
TEST_F(EnterPointTest, EveryCancelAnswersZero) {
    const std::function<void(headless::DialogScript&)> endings[] = {
        [](headless::DialogScript& s) { s.Click(IDCANCEL); },
        [](headless::DialogScript& s) { s.PressEscape(); },
        [](headless::DialogScript& s) { s.CloseBox(); },
    };
    int ending = 0;
    for (const auto& end : endings) {
        SCOPED_TRACE(ending++);
        CEnterPoint dialog(1.0, 2.0, 1, 0);
        headless::DialogScript& script =
            Driver().NextDialog(IDD_ENTER_POINT).Type(IDC_POINT_X, L"4");
        end(script);
        EXPECT_EQ(dialog.DoModal(), 0);
        EXPECT_EQ(dialog.x, 1.0);
        EXPECT_EQ(ScriptErrors(), "");
    }
}

}  // namespace
