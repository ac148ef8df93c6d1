// Tests of the formula compiler: emitted programs, syntax codes and their texts, limits.
#include "formula/compiler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "common/text_conversion.h"
#include "formula_test_util.h"

namespace {

using formula_test::Code;
using formula_test::Compile;
using formula_test::Constants;
using formula_test::Join;

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

std::string Nested(int pairs, const std::string& inside) {
    return std::string(static_cast<size_t>(pairs), '(') + inside +
           std::string(static_cast<size_t>(pairs), ')');
}

struct ProgramCase {
    std::string text;
    std::vector<int32_t> code;
    std::vector<double> constants;
};

const double PI = std::atan(1.0) * 4.0;

// Worked examples, plus the associativity and sign rules that follow from them.
const std::vector<ProgramCase> PROGRAMS = {
    {"A+B*X", {31, 32, 56, 13, 11}, {}},
    {"A-B+X", {31, 32, 12, 56, 11}, {}},
    {"A*(B+X)", {31, 32, 56, 11, 13}, {}},
    {"A*X^B", {31, 56, 32, 15, 13}, {}},
    {"A+B*X+C*X^2", {31, 32, 56, 13, 11, 33, 56, 20, 15, 13, 11}, {2}},
    {"2*SIN(X)+1", {20, 56, 61, 13, 20, 11}, {2, 1}},
    {"A*EXP(-B*X)", {31, 20, 32, 56, 13, 12, 74, 13}, {0}},
    {"A*COS(B*X+C)", {31, 32, 56, 13, 33, 11, 62, 13}, {}},
    {"-X^2", {20, 56, 20, 15, 12}, {0, 2}},
    {"X*(-2)", {56, 20, 20, 12, 13}, {0, 2}},
    {"2^3^2", {20, 20, 15, 20, 15}, {2, 3, 2}},
    {"SIN(COS(X))", {56, 62, 61}, {}},
    {"SIN.5", {20, 61}, {0.5}},
    {"PI*X", {20, 56, 13}, {PI}},
    {"A/B/X", {31, 32, 14, 56, 14}, {}},
    {"-X*Y", {20, 56, 57, 13, 12}, {0}},
    {"-X+Y", {20, 56, 12, 57, 11}, {0}},
    {"+X", {20, 56, 11}, {0}},
    {"X^Y", {56, 57, 15}, {}},
    {"X**Y", {56, 57, 15}, {}},
    {"A+B+C+D+E*X", {31, 32, 11, 33, 11, 34, 11, 35, 56, 13, 11}, {}},
    {"G*X", {37, 56, 13}, {}},
    {"2X", {20, 56}, {2}},
    {"X+", {56, 11}, {}},
    {"*X", {56, 13}, {}},
    {"X+SIN", {56, 61, 11}, {}},
    {"EXP(LN(X))", {56, 75, 74}, {}},
    {"12.E5+1E+5+1E-5", {20, 20, 11, 20, 11}, {12e5, 1e5, 1e-5}},
    {"123456789012", {20}, {123456789012.0}},
    {"J+K+L+M+N+O+P+Q+R", {41, 42, 11, 43, 11, 44, 11, 45, 11, 46, 11, 47, 11, 48, 11, 49, 11}, {}},
    {"S-T-U-V-W-Z-H-I", {51, 52, 12, 53, 12, 54, 12, 55, 12, 58, 12, 38, 12, 39, 12}, {}},
};

TEST(CompilerTest, WorkedExamplesAndPrograms) {
    for (const ProgramCase& c : PROGRAMS) {
        CompiledFormula record;
        ASSERT_EQ(Compile(c.text, record), 0) << c.text;
        EXPECT_EQ(Code(record), c.code) << c.text << " gave " << Join(Code(record));
        // Constants are the value of the text, bit for bit.
        EXPECT_EQ(Constants(record), c.constants) << c.text << " gave " << Join(Constants(record));
    }
}

TEST(CompilerTest, WideEntryPointCompilesLikeTheNarrowOne) {
    for (const ProgramCase& c : PROGRAMS) {
        CompiledFormula record;
        int error = -1;
        record.CompileExpression(NarrowToWide(c.text), error);
        ASSERT_EQ(error, 0) << c.text;
        EXPECT_EQ(Code(record), c.code) << c.text;
        EXPECT_EQ(Constants(record), c.constants) << c.text;
    }
}

TEST(CompilerTest, CountsOfTheRecord) {
    CompiledFormula record;
    ASSERT_EQ(Compile("A+B*X+A*B", record), 0);
    EXPECT_EQ(record.opCount, 9);
    EXPECT_EQ(record.constCount, 0);
    EXPECT_EQ(record.letterCount, 3) << "each letter counts once";
    ASSERT_EQ(Compile("PI*SIN(X)+2", record), 0);
    EXPECT_EQ(record.letterCount, 1) << "PI and function names are not letters";
    EXPECT_EQ(record.constCount, 2);
}

TEST(CompilerTest, CaseAndBlanksDoNotMatter) {
    const std::pair<std::string, std::string> pairs[] = {
        {"sin(x)*a + b", "SIN(X)*A+B"}, {"\t2 * x ^ 2\t", "2*X^2"}, {"a s i n h ( x )", "ASINH(X)"},
        {"1 2 . 5 e - 3", "12.5E-3"},   {"x * * 2", "X**2"},        {"x ** 2", "X^2"},
    };
    for (const auto& [text, canonical] : pairs) {
        CompiledFormula a;
        CompiledFormula b;
        ASSERT_EQ(Compile(text, a), 0) << text;
        ASSERT_EQ(Compile(canonical, b), 0) << canonical;
        EXPECT_EQ(Code(a), Code(b)) << text;
        EXPECT_EQ(Constants(a), Constants(b)) << text;
    }
}

struct SyntaxCase {
    std::string text;
    int code;
};

TEST(CompilerTest, SyntaxErrorCodes) {
    const std::vector<SyntaxCase> cases = {
        {"", 11},
        {"   ", 11},
        {" \t \t", 11},
        {"X)", 4},
        {"(X))", 4},
        {")", 4},
        {"X#2", 4},
        {"X,Y", 4},
        {"X=1", 4},
        {std::string("X+\0", 3), 4},
        {"X\xE9", 4},
        {"\xC3\xA9", 4},
        {"\xFF", 4},
        {"A*XX+B", 8},
        {"SINX", 8},
        {"SIN PI", 8},
        {"ABCDEFGHIJKL", 8},
        {"P", 0},
        {"PI2", 8},
        {"ABCDEFGHIJKLM", 16},
        {"(X", 16},
        {"((X)", 16},
        {"()", 14},
        {"X*()", 14},
        {"SIN()", 14},
        {"X*-2", 17},
        {"X^-1", 17},
        {"X***2", 17},
        {"-+X", 17},
        {"X+*2", 17},
        {"X//2", 17},
        {"X^^2", 17},
        {"1.5.3", 18},
        {"1E5.3", 18},
        {"1E5E2", 19},
        {"1.E5", 20},
        {"1234567890123", 20},
        {"1.2345678901E5", 20},
        {".", 21},
        {".E5", 21},
        {"X+.", 21},
        {"(.)", 21},
    };
    for (const SyntaxCase& c : cases) {
        CompiledFormula record;
        EXPECT_EQ(Compile(c.text, record), c.code) << "text: \"" << c.text << "\"";
    }
}

TEST(CompilerTest, LengthLimitCountsCharactersOtherThanBlanks) {
    // 11 + 49 times "+X": exactly 100 characters.
    const std::string hundred = std::string("11") + Repeat("+X", 49);
    ASSERT_EQ(hundred.size(), 100u);
    const std::string hundredOne = "1" + hundred;
    CompiledFormula record;
    EXPECT_EQ(Compile(hundred, record), 0);
    EXPECT_EQ(Compile(hundredOne, record), 12);
    std::string spaced;
    for (char c : hundred) spaced += std::string(" \t ") + c;
    EXPECT_EQ(Compile(spaced + Repeat(" ", 500), record), 0);
    EXPECT_EQ(Compile(Repeat("X", 5000), record), 12) << "too long is found before token errors";
}

TEST(CompilerTest, LongestProgramsFitTheRecord) {
    // A leading sign makes 101 opcodes out of 100 characters: the capacity of `code`.
    const std::string text = std::string("-X") + Repeat("+X", 49);
    CompiledFormula record;
    ASSERT_EQ(Compile(text, record), 0);
    EXPECT_EQ(record.opCount, 101);
    EXPECT_EQ(record.code[0], OP_PUSHCONST);
    EXPECT_EQ(record.code[100], OP_ADD);
    // The densest pool of constants: a sign, then constants and operators alternating.
    ASSERT_EQ(Compile(std::string("-") + Repeat("1+", 49) + "1", record), 0);
    EXPECT_EQ(record.constCount, 51);
    EXPECT_EQ(record.opCount, 101);
    // Signs in groups cost parentheses: 25 times "(-1)" holds 50 constants in 100 characters.
    ASSERT_EQ(Compile(Repeat("(-1)", 25), record), 0);
    EXPECT_EQ(record.constCount, 50);
}

TEST(CompilerTest, ParenthesisCounterLimit) {
    CompiledFormula record;
    EXPECT_EQ(Compile(Nested(31, "X"), record), 0);
    EXPECT_EQ(Code(record), std::vector<int32_t>{OP_X});
    EXPECT_EQ(Compile(Nested(32, "X"), record), 13);
    EXPECT_EQ(Compile(Nested(31, "-X"), record), 0);
    // The counter also grows with groups met earlier at each level: 16 side by side, then
    // a group nested 16 deep needs 32.
    EXPECT_EQ(Compile(Repeat("(X)+", 15) + Nested(16, "X"), record), 0);
    EXPECT_EQ(Compile(Repeat("(X)+", 16) + Nested(16, "X"), record), 13);
    EXPECT_EQ(Compile(Repeat("(X)", 31), record), 0);
    EXPECT_EQ(Compile(Repeat("(X)", 32), record), 13);
}

TEST(CompilerTest, IdentifierAndConstantLengthLimits) {
    CompiledFormula record;
    EXPECT_EQ(Compile("ABCDEFGHIJKL", record), 8) << "12 characters: an unknown name";
    EXPECT_EQ(Compile("ABCDEFGHIJKLM", record), 16) << "13 characters: too long";
    EXPECT_EQ(Compile("ABCDEFGHIJK1", record), 8);
    EXPECT_EQ(Compile("ABCDEFGHIJK12", record), 16);
    EXPECT_EQ(Compile("123456789012", record), 0);
    EXPECT_EQ(Compile("1234567890123", record), 20);
    EXPECT_EQ(Compile("1.2345678E-5", record), 0);
    EXPECT_EQ(Constants(record), std::vector<double>{1.2345678E-5});
    EXPECT_EQ(Compile("1.2345678E-55", record), 20);
}

TEST(CompilerTest, CompileFunctionLetterRule) {
    struct Case {
        std::string text;
        int error;
        int nCoef;
    };
    const Case cases[] = {
        {"A+B*X", 0, 2},
        {"A*X", 0, 1},
        {"A+B*X+C*X^2+D*X^3+E*X^4+F*X^5", 0, 6},
        {"a*exp(-b*x)+c", 0, 3},
        {"B*X", 99, 1},
        {"A*X+C", 99, 2},
        {"A*Y", 99, 1},
        {"X", 99, 0},
        {"2*X", 99, 0},
        {"A+B", 99, 1},
        {"A*X+B+C+D+E+F+G", 99, 7},
        {"A*X+B*Z", 99, 3},
    };
    for (const Case& c : cases) {
        CompiledFormula record;
        int nCoef = -5;
        int error = -1;
        record.CompileFunction(c.text, nCoef, error);
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_EQ(nCoef, c.nCoef) << c.text;
    }
    // A failing compilation leaves nCoef alone.
    for (const std::string text : {"A*XX+B", "", "A*(X"}) {
        CompiledFormula record;
        int nCoef = -5;
        int error = 0;
        record.CompileFunction(text, nCoef, error);
        EXPECT_NE(error, 0) << text;
        EXPECT_NE(error, 99) << text;
        EXPECT_EQ(nCoef, -5) << text;
    }
}

TEST(CompilerTest, CompileExpressionAcceptsAnyLetterAndRefusesForeignCharacters) {
    CompiledFormula record;
    int error = -1;
    record.CompileExpression(L"Y+Z*X", error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(record.letterCount, 3);
    record.CompileExpression(L"G*X", error);
    EXPECT_EQ(error, 0);
    record.CompileExpression(L"X+é", error);
    EXPECT_EQ(error, 4);
    record.CompileExpression(L"x²", error);
    EXPECT_EQ(error, 4);
}

TEST(CompilerTest, RecompilingOverwritesCounts) {
    CompiledFormula record;
    ASSERT_EQ(Compile("A+B*X+C*X^2+1", record), 0);
    ASSERT_EQ(Compile("X", record), 0);
    EXPECT_EQ(record.opCount, 1);
    EXPECT_EQ(record.constCount, 0);
    EXPECT_EQ(record.letterCount, 1);
}

TEST(CompilerTest, SyntaxErrorTexts) {
    const std::pair<int, std::string> texts[] = {
        {1, "Erreur Compilateur : Bouclage infini"},
        {4, "Erreur de Syntaxe Generale"},
        {5, "Erreur de chargement de la pile"},
        {8, "Variable Fonction ou Coefficient inconnu"},
        {11, "La chaine est vide !"},
        {12, "La chaine est trop grande (plus de 100 caracteres)"},
        {13, "Trop de parentheses (trop de recurence)"},
        {14, "Chaine vide entre  '(' et ')'"},
        {15, "Erreur de syntaxe entre 2 parentheses"},
        {16, "niveau de parenthese incorrect ou constante trop longue"},
        {17, "2 operateurs se suivent"},
        {18, "Erreur de syntaxe dans une constante : 2 points"},
        {19, "Erreur de syntaxe dans une constante : constante vide"},
        {20, "Erreur de syntaxe dans une constante : constante illisible"},
        {21, "Nombre illisible"},
        {99, "Variable X absente ou les Coefficients ne se suivent pas"},
        {0, ""},
        {2, ""},
        {3, ""},
        {22, ""},
        {100, ""},
        {-1, ""},
    };
    for (const auto& [code, text] : texts) {
        EXPECT_EQ(SyntaxErrorText(code), text) << "code " << code;
        EXPECT_EQ(SyntaxErrorMessage(code), NarrowToWide(text)) << "code " << code;
    }
}

TEST(CompilerTest, ScannersReadFromTheirPosition) {
    int error = -1;
    std::string text = "+X**2";
    int position = 1;
    int op = 0;
    StripBlanks(text, error);
    ScanOperator(text, position, op, error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(op, OP_ADD);
    EXPECT_EQ(position, 2);
    position = 3;
    ScanOperator(text, position, op, error);
    EXPECT_EQ(op, OP_POW);
    EXPECT_EQ(position, 5);

    std::string name;
    position = 3;
    ScanIdentifier("2*COS2(X)", position, name, error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(name, "COS2");
    EXPECT_EQ(position, 7);

    CompiledFormula record;
    position = 2;
    ScanNumber(record, "X1.5E+3Y", position, error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(position, 8);
    EXPECT_EQ(Constants(record), std::vector<double>{1500.0});
    // A sign not directly after E ends the constant.
    position = 1;
    ScanNumber(record, "1E3+4", position, error);
    EXPECT_EQ(position, 4);
    EXPECT_EQ(record.constants[1], 1000.0);

    std::string blanks = " \t ";
    StripBlanks(blanks, error);
    EXPECT_EQ(error, 0) << "blanks only strip to an empty text; the level reports 11";
    EXPECT_EQ(blanks, "");
    std::string empty;
    StripBlanks(empty, error);
    EXPECT_EQ(error, 11);
    std::string tooLong = Repeat("X ", 101);
    StripBlanks(tooLong, error);
    EXPECT_EQ(error, 12);
    EXPECT_EQ(tooLong, Repeat("X ", 101)) << "a refused text stays unchanged";
}

}  // namespace

namespace {

// Every code a compilation may answer; anything else is a fault.
bool IsSyntaxCode(int code) {
    for (int known : {0, 4, 8, 11, 12, 13, 14, 16, 17, 18, 19, 20, 21}) {
        if (code == known) return true;
    }
    return false;
}

// Texts drawn from the formula's own alphabet plus foreign bytes, so that most of them reach deep
// into the compiler; each must answer a known code and leave a record that fits its arrays.
TEST(CompilerTest, RandomTextsGiveKnownCodesAndFittingRecords) {
    const std::vector<std::string> pieces = {
        "X", "A",  "B", "Y", "G",   "E",   "1",    "2.5", "1E5", ".",  "E",    "+", "-", "*", "/",
        "^", "**", "(", ")", "SIN", "EXP", "FACT", "PI",  " ",   "\t", "\xE9", "#", "0", "9",
    };
    uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const uint32_t count = next() % 60;
        for (uint32_t k = 0; k < count; ++k) text += pieces[next() % pieces.size()];
        CompiledFormula record;
        const int code = Compile(text, record);
        ASSERT_TRUE(IsSyntaxCode(code)) << "code " << code << " for \"" << text << "\"";
        EXPECT_FALSE(SyntaxErrorText(code).empty() && code != 0) << text;
        if (code != 0) continue;
        ASSERT_LE(record.opCount, FORMULA_MAX_OPCODES) << text;
        ASSERT_LT(record.constCount, 70) << text;
        int pushes = 0;
        for (int32_t op : Code(record)) pushes += op == OP_PUSHCONST;
        ASSERT_EQ(pushes, record.constCount) << text;
        int error = -1;
        const double value = EvaluateAt(record, 0.5, 0, formula_test::COEF.data(), error);
        ASSERT_TRUE(error == 0 || !EvalErrorText(error).empty()) << error << " for " << text;
        if (error != 0) {
            EXPECT_EQ(value, 0.0) << text;
        }
    }
}

TEST(CompilerTest, EveryByteAloneOrAfterAnOperand) {
    for (int byte = 0; byte < 256; ++byte) {
        for (const std::string prefix : {"", "X", "X+", "(X)", "SIN", "1"}) {
            const std::string text = prefix + std::string(1, static_cast<char>(byte));
            CompiledFormula record;
            const int code = Compile(text, record);
            EXPECT_TRUE(IsSyntaxCode(code)) << "byte " << byte << " after \"" << prefix << "\"";
            if (byte >= 0x80) {
                EXPECT_EQ(code, 4) << "byte " << byte << " after " << prefix;
            }
        }
    }
}

}  // namespace
