// The document's data record: points, function, equation, scale and fit result.
#pragma once

#include <cstdint>
#include <string>

#include "fitdata/scale_def.h"
#include "formula/compiled_formula.h"

inline constexpr int MAX_POINTS = 5000;
inline constexpr int MAX_COEF = 6;

// What a file reader tells beside its answer: why it failed, or, after a success, where it left
// text unread. Texts are French, in UTF-8.
struct ReadNote {
    std::string reason;    // after a failure: its cause ("trop de points (5000 au plus)", the
                           // system's reason when the file could not be opened or read)
    int stopLine = 0;      // after a success: the 1-based line of the first text left unread, or 0
    std::string stopText;  // that line's first 40 characters
};

// The fitting function y = f(X) with its coefficients A..F.
// Invariant: freeIndex[0..nFree-1] lists, increasing, the indices i < nCoef with coefFixed[i] == 0.
// While isCompiled is 0, nCoef may hold any count (a failed compile, a file); every loop over the
// coefficients stops at MAX_COEF entries.
struct FunctionDef {
    int32_t isCompiled = 0;  // 1: functionText compiled into program
    CompiledFormula program;
    std::string functionText;  // at most 254 characters are ever stored in a file
    int32_t nCoef = 0;         // coefficients used by the formula, 1..MAX_COEF, set by the compiler
    int32_t nFree = 0;         // coefficients adjusted by a fit
    double coef[MAX_COEF] = {};
    int32_t coefFixed[MAX_COEF] = {};  // 0 = adjusted by a fit, nonzero = held fixed
    int32_t freeIndex[MAX_COEF] = {};

    // functionText when isCompiled is 1, else "".
    std::wstring GetText() const;

    // SetTextA on the 8-bit form of text; the answer converted back.
    std::wstring SetText(const std::wstring& text);

    // Compiles text. Answers "" when it compiled and equals functionText (values and flags kept),
    // "Ok" when a new text was accepted (every coefficient 0.0 and adjusted), otherwise the French
    // syntax text, the previous function staying in force (or none when none was compiled).
    std::string SetTextA(const std::string& text);

    // Stores the first nCoef of the MAX_COEF values and fixed flags and rebuilds the free list.
    // Answers 1 when any of them differed (a NaN counts as different), else 0.
    int SetCoefficients(const double* values, const int* fixed);

    // nFree and freeIndex from coefFixed[0..min(nCoef, MAX_COEF)-1].
    void RebuildFreeList();

    // Coefficient file (*.coe, 76 bytes; legacy 50 bytes read only). ReadCoef answers 0 read,
    // 1 failed, 2 the file's count differs from nCoef; nCoef is never changed. A failure's
    // reason goes to `note` when given, as with every reader below.
    int ReadCoef(const std::string& path, ReadNote* note = nullptr);
    // The writers answer 0 written, 1 failed; after a failure errno tells why.
    int WriteCoef(const std::string& path) const;  // 0 written, 1 failed

    // Function file (*.fon, 331 bytes; legacy 156 bytes read only). ReadFon clears isCompiled
    // first and compiles the text read when the read succeeded; answers 0 read, 1 failed.
    int ReadFon(const std::string& path, ReadNote* note = nullptr);
    int WriteFon(const std::string& path);  // clears functionText when not compiled; 0 / 1
};

// The differential equation last integrated.
struct EquationDef {
    int32_t hasEquation = 0;
    std::string equationText;   // right-hand side as typed
    int32_t equationOrder = 0;  // 1..6; 0 when none

    // The stored text and order, or "" and 0 when there is none.
    int Get(std::wstring& text) const;

    // SetA on the 8-bit form of text.
    bool Set(int order, const std::wstring& text);

    // Stores text and order when order is 1..6; answers true only for the first definition.
    bool SetA(int order, const std::string& text);
};

struct FitData {
    int32_t hasPoints = 0;  // 1: nPoints and the arrays mean something
    int32_t nPoints = 0;
    double pointX[MAX_POINTS] = {};
    double pointY[MAX_POINTS] = {};
    FunctionDef function;
    EquationDef equation;
    ScaleDef scale;
    double fitDistance = 0.0;  // -1.0: no fit result
    int32_t fitDone = 0;       // 1: fitDistance and the coefficients are a fit's result

    // A new, empty document: clears the flags, counts and texts only.
    void Reset();

    // Replaces the table by n pairs. Answers -100 when n is outside 0..MAX_POINTS (nothing
    // changed), else 1 when anything differed from the table before, 0 when nothing did.
    int SetPoints(int n, const double* x, const double* y);

    // Application file (*.gen): 2202 bytes (up to 100 points), 80602 bytes (up to 5000), legacy
    // 1371 bytes read only. ReadGen resets the record first; answers 0 read, 1 failed.
    // WriteGen first normalises fitDistance, functionText, equationOrder and nPoints by their
    // flags; answers 0 written, 1 failed.
    int ReadGen(const std::string& path, ReadNote* note = nullptr);
    int WriteGen(const std::string& path);

    // The loaders for the user interface read into a fresh record and change this one only when
    // the reader answers 0: then the coefficients, the function or the table are replaced and
    // fitDone is cleared (the point loaders also set scale.autoScale). After a failure
    // everything stays as it was. They answer what the reader answered.
    int LoadCoef(const std::wstring& path, ReadNote* note = nullptr);
    int LoadFon(const std::wstring& path, ReadNote* note = nullptr);
    int LoadPointsText(const std::wstring& path, ReadNote* note = nullptr);
    int LoadPointsSeparated(const std::wstring& path, ReadNote* note = nullptr);

    // The point-table readers take a comma between the digits of a number as its decimal point
    // ("2,5" is 2.5), except where the separated reader takes the comma as the separator. A
    // number that no double holds (nan, inf, 1e999) is no number. A success that leaves text
    // unread after the last pair says where in `note`.
    // Own text format: the count, then count pairs, all separated by white space. Answers
    // 0 read, 1 failed, 2 count outside 1..MAX_POINTS. A failed read leaves the table absent.
    int ReadPointsText(const std::string& path, ReadNote* note = nullptr);
    // Separated pairs, one a line: X, a separator, Y. The separator is the first character after
    // X that is not a blank, or the blanks when a number follows them; blanks around it are
    // skipped, and a number may stand between double quotes. On a line with exactly one comma,
    // no semicolon, no tab and no blanks between two numbers, the comma is the separator and the
    // numbers have the point. A first line that does not begin with a number holds column
    // titles; a later one ends the table, and so does text after Y, after its pair. Answers 0
    // read (1 to MAX_POINTS pairs), 1 a broken pair or no pair at all, 2 more than MAX_POINTS
    // pairs.
    int ReadPointsSeparated(const std::string& path, ReadNote* note = nullptr);
    // Answers 0 written, 1 failed (also when there is no table; then no file is made).
    int WritePointsText(const std::string& path) const;

    // Calls scale.FitToPoints on the table when one is present with nPoints > 0.
    void AutoScale();
};

// Whether the point table at path is in the own format: its first line that is not blank holds
// one integer and nothing else. False for any other file, also one that cannot be read.
bool IsOwnPointFormat(const std::wstring& path);
