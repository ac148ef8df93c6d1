// The function dialog: upper-casing, the answers of the compiler, the length limit, Cancel.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dialogs/enter_function.h"
#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"

namespace {

class EnterFunctionTest : public DialogSession {
  protected:
    void SetUp() override {
        DialogSession::SetUp();
        SetFunction(*data_, "A*X+B", {2.5, -1.25}, {1, 0});
        data_->fitDone = 1;
    }

    // What the compiler answers for `text`, from a record of its own.
    static std::wstring CompilerText(const std::string& text) {
        FunctionDef scratch;
        return NarrowToWide(scratch.SetTextA(text));
    }

    void ExpectFunctionKept() {
        EXPECT_EQ(data_->function.functionText, "A*X+B");
        EXPECT_EQ(data_->function.isCompiled, 1);
        EXPECT_EQ(data_->function.nCoef, 2);
        EXPECT_EQ(data_->function.coef[0], 2.5);
        EXPECT_EQ(data_->function.coef[1], -1.25);
        EXPECT_EQ(data_->function.coefFixed[0], 1);
        EXPECT_EQ(data_->fitDone, 1);
    }
};

TEST_F(EnterFunctionTest, StartsWithTheStoredFormulaAndABlankMessage) {
    for (const bool compiled : {true, false}) {
        SCOPED_TRACE(compiled);
        data_->function.isCompiled = compiled ? 1 : 0;
        CEnterFunction dialog(data_.get());
        Driver()
            .NextDialog(IDD_ENTER_FUNCTION)
            .Check([&](headless::Driver& in) {
                EXPECT_EQ(in.Caption(), L"Entrée de la fonction");
                EXPECT_EQ(in.Text(IDC_FUNCTION_TEXT), compiled ? L"A*X+B" : L"");
                EXPECT_EQ(in.Text(IDC_FUNCTION_MESSAGE), L"");
            })
            .Click(IDCANCEL);
        EXPECT_EQ(dialog.DoModal(), 0);
        EXPECT_EQ(ScriptErrors(), "");
    }
}

// The same formula in another case answers "": nothing of the function changes.
TEST_F(EnterFunctionTest, SameFormulaClosesWithoutTouchingTheCoefficients) {
    CEnterFunction dialog(data_.get());
    Driver().NextDialog(IDD_ENTER_FUNCTION).Type(IDC_FUNCTION_TEXT, L"a*x+b").PressEnter();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ExpectFunctionKept();
    EXPECT_EQ(ScriptErrors(), "");
}

TEST_F(EnterFunctionTest, NewFormulaIsStoredUpperCaseWithCoefficientsReset) {
    CEnterFunction dialog(data_.get());
    Driver().NextDialog(IDD_ENTER_FUNCTION).Type(IDC_FUNCTION_TEXT, L"sin(x)*a+b*c").Click(IDOK);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    const FunctionDef& f = data_->function;
    EXPECT_EQ(f.functionText, "SIN(X)*A+B*C");
    EXPECT_EQ(f.nCoef, 3);
    EXPECT_EQ(f.nFree, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(f.coef[i], 0.0) << i;
        EXPECT_EQ(f.coefFixed[i], 0) << i;
    }
    EXPECT_EQ(data_->fitDone, 0);
    EXPECT_EQ(ScriptErrors(), "");
}

// A syntax error is shown in the dialog with the upper-cased text; Cancel keeps the old function.
TEST_F(EnterFunctionTest, SyntaxErrorKeepsTheDialogOpen) {
    const std::wstring error = CompilerText("A*(X+1");
    ASSERT_NE(error, L"");
    ASSERT_NE(error, L"Ok");
    const std::wstring expected = L"Erreur : " + error;
    const std::wstring comma = CompilerText("2,5*X");
    ASSERT_NE(comma, L"Ok");
    ASSERT_NE(comma, L"");
    CEnterFunction dialog(data_.get());
    Driver()
        .NextDialog(IDD_ENTER_FUNCTION)
        .Type(IDC_FUNCTION_TEXT, L"a*(x+1")
        .Click(IDOK)
        .Check([&](headless::Driver& in) {
            EXPECT_EQ(in.ActiveDialogId(), IDD_ENTER_FUNCTION);
            EXPECT_EQ(in.Text(IDC_FUNCTION_TEXT), L"A*(X+1");
            EXPECT_EQ(in.Text(IDC_FUNCTION_MESSAGE), expected);
        })
        .Append(IDC_FUNCTION_TEXT, L"1")
        .Check([&](headless::Driver& in) {
            EXPECT_EQ(in.Text(IDC_FUNCTION_MESSAGE), expected) << "kept while editing";
        })
        .Clear(IDC_FUNCTION_TEXT)
        .Click(IDOK)
        .Check([&](headless::Driver& in) {
            EXPECT_EQ(in.Text(IDC_FUNCTION_MESSAGE), L"Erreur : " + CompilerText(""));
        })
        .Type(IDC_FUNCTION_TEXT, L"2,5*x")
        .Click(IDOK)
        .Check([&](headless::Driver& in) {
            EXPECT_EQ(in.Text(IDC_FUNCTION_MESSAGE), L"Erreur : " + comma)
                << "the formula language has no decimal comma";
        })
        .Click(IDCANCEL);
    EXPECT_EQ(dialog.DoModal(), 0);
    ExpectFunctionKept();
    EXPECT_TRUE(Driver().MessageBoxes().empty());
    EXPECT_EQ(ScriptErrors(), "");
}

// Typing stops at the edit's width; a pasted text is checked against the 254 characters.
TEST_F(EnterFunctionTest, LengthLimits) {
    const std::wstring typed(120, L'x');
    const std::wstring fits(254, L'x');
    const std::wstring tooLong(255, L'x');
    const std::wstring tooLongForTheCompiler = L"Erreur : " + CompilerText(std::string(254, 'X'));
    CEnterFunction dialog(data_.get());
    Driver()
        .NextDialog(IDD_ENTER_FUNCTION)
        .Type(IDC_FUNCTION_TEXT, typed)
        .Check([](headless::Driver& in) {
            EXPECT_EQ(in.Text(IDC_FUNCTION_TEXT).size(), 97u) << "6 pixels a character";
        })
        .Paste(IDC_FUNCTION_TEXT, tooLong)
        .Click(IDOK)
        .Check([&](headless::Driver& in) {
            EXPECT_EQ(in.Text(IDC_FUNCTION_MESSAGE), L"Fonction trop longue");
            EXPECT_EQ(in.Text(IDC_FUNCTION_TEXT), tooLong) << "neither upper-cased nor cut";
        })
        .Paste(IDC_FUNCTION_TEXT, fits)
        .Click(IDOK)
        .Check([&](headless::Driver& in) {
            EXPECT_EQ(in.ActiveDialogId(), IDD_ENTER_FUNCTION);
            EXPECT_EQ(in.Text(IDC_FUNCTION_MESSAGE), tooLongForTheCompiler);
            EXPECT_EQ(in.Text(IDC_FUNCTION_TEXT), std::wstring(254, L'X'));
        })
        .PressEscape();
    EXPECT_EQ(dialog.DoModal(), 0);
    ExpectFunctionKept();
    EXPECT_EQ(ScriptErrors(), "");
}

}  // namespace
