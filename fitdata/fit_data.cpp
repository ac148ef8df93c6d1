// The operations of the fit data record that keep its flags and lists consistent.
#include "fitdata/fit_data.h"

#include <algorithm>

#include "common/text_conversion.h"
#include "formula/compiler.h"

namespace {

// Loops over the coefficients never leave the arrays, whatever count a file or a failed compile
// left.
int CoefficientsInUse(int32_t nCoef) {
    return std::clamp<int32_t>(nCoef, 0, MAX_COEF);
}

}  // namespace

std::wstring FunctionDef::GetText() const {
    return isCompiled == 1 ? NarrowToWide(functionText) : std::wstring();
}

std::wstring FunctionDef::SetText(const std::wstring& text) {
    return NarrowToWide(SetTextA(WideToNarrow(text)));
}

std::string FunctionDef::SetTextA(const std::string& text) {
    int code = 0;
    program.CompileFunction(text, nCoef, code);
    if (code != 0) {
        if (isCompiled == 1) {
            // The old text compiled before, so this restores its program and count.
            int oldCode = 0;
            program.CompileFunction(functionText, nCoef, oldCode);
        }
        return SyntaxErrorText(code);
    }
    isCompiled = 1;
    if (text == functionText) return std::string();

    int count = CoefficientsInUse(nCoef);
    nFree = count;
    for (int i = 0; i < count; ++i) {
        coef[i] = 0.0;
        coefFixed[i] = 0;
        freeIndex[i] = i;
    }
    functionText = text;
    return "Ok";
}

int FunctionDef::SetCoefficients(const double* values, const int* fixed) {
    int count = CoefficientsInUse(nCoef);
    int changed = 0;
    for (int i = 0; i < count; ++i) {
        if (!(coef[i] == values[i]) || coefFixed[i] != fixed[i]) changed = 1;
    }
    for (int i = 0; i < count; ++i) {
        coef[i] = values[i];
        coefFixed[i] = fixed[i];
    }
    RebuildFreeList();
    return changed;
}

void FunctionDef::RebuildFreeList() {
    nFree = 0;
    int count = CoefficientsInUse(nCoef);
    for (int i = 0; i < count; ++i) {
        if (coefFixed[i] == 0) freeIndex[nFree++] = i;
    }
}

int EquationDef::Get(std::wstring& text) const {
    if (hasEquation == 1) {
        text = NarrowToWide(equationText);
        return equationOrder;
    }
    text.clear();
    return 0;
}

bool EquationDef::Set(int order, const std::wstring& text) {
    return SetA(order, WideToNarrow(text));
}

bool EquationDef::SetA(int order, const std::string& text) {
    if (order < 1 || order > 6) return false;
    bool first = hasEquation != 1;
    hasEquation = 1;
    equationText = text;
    equationOrder = order;
    return first;
}

void FitData::Reset() {
    hasPoints = 0;
    nPoints = 0;
    function.isCompiled = 0;
    function.nCoef = 0;
    function.nFree = 0;
    function.functionText.clear();
    equation.hasEquation = 0;
    equation.equationText.clear();
    equation.equationOrder = 0;
    scale.autoScale = 1;
    fitDistance = -1.0;
    fitDone = 0;
}

int FitData::SetPoints(int n, const double* x, const double* y) {
    // A negative count is refused like an oversized one: it can describe no table.
    if (n > MAX_POINTS || n < 0) return -100;
    int changed = n != nPoints ? 1 : 0;
    for (int i = 0; i < n; ++i) {
        if (!(pointX[i] == x[i]) || !(pointY[i] == y[i])) changed = 1;
    }
    nPoints = n;
    hasPoints = n > 0 ? 1 : 0;
    std::copy(x, x + n, pointX);
    std::copy(y, y + n, pointY);
    return changed;
}
