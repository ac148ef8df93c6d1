// Hands a fuzz input to a file reader: the bytes become the whole content of one temporary file.
#pragma once

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/text_conversion.h"
#include "fitdata/fit_data.h"

// This process's input file, removed when the process ends normally.
class FuzzInputFile {
  public:
    FuzzInputFile() : path_("/tmp/kurvomat-fuzz-XXXXXX") {
        int descriptor = mkstemp(path_.data());
        if (descriptor < 0) std::abort();
        close(descriptor);
    }
    ~FuzzInputFile() { unlink(path_.c_str()); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// The path of the input file, rewritten with every input.
inline const std::string& WriteFuzzInput(const uint8_t* data, size_t size) {
    static const FuzzInputFile input;
    const std::string& path = input.path();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::abort();
    }
    return path;
}

// Whatever a reader answered, the record's counts and lists must stay inside its arrays.
inline void CheckRecord(const FitData& record) {
    const FunctionDef& function = record.function;
    if (record.hasPoints == 1 && (record.nPoints < 0 || record.nPoints > MAX_POINTS)) std::abort();
    if (function.nFree < 0 || function.nFree > MAX_COEF) std::abort();
    for (int i = 0; i < function.nFree; ++i) {
        if (function.freeIndex[i] < 0 || function.freeIndex[i] >= MAX_COEF) std::abort();
        if (i > 0 && function.freeIndex[i] <= function.freeIndex[i - 1]) std::abort();
    }
    if (function.isCompiled == 1 && (function.nCoef < 1 || function.nCoef > MAX_COEF)) std::abort();
    if (function.functionText.size() > 254 || record.equation.equationText.size() > 254)
        std::abort();
}

// A failure has a reason and a success none; only a success tells of text left unread, quoting at
// most 40 characters of its line.
inline void CheckNote(int answer, const ReadNote& note) {
    if ((answer != 0) != !note.reason.empty()) std::abort();
    if (note.stopLine < 0 || (note.stopLine > 0 && answer != 0)) std::abort();
    if (note.stopLine == 0 && !note.stopText.empty()) std::abort();
    if (NarrowToWide(note.stopText).size() > 40) std::abort();
}

// A table read holds only numbers that a point can take.
inline void CheckPointsFinite(int answer, const FitData& record) {
    if (answer != 0) return;
    for (int i = 0; i < record.nPoints; ++i) {
        if (!std::isfinite(record.pointX[i]) || !std::isfinite(record.pointY[i])) std::abort();
    }
}
