// Fuzz target: the coefficient-file reader on arbitrary file contents, over a three-coefficient
// function.
#include <cstddef>
#include <cstdint>

#include "fuzz/input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FitData record;
    record.Reset();
    if (record.function.SetTextA("A+B*X+C*X*X") != "Ok") std::abort();
    ReadNote note;
    int answer = record.function.ReadCoef(WriteFuzzInput(data, size), &note);
    CheckNote(answer, note);
    if (answer < 0 || answer > 2) std::abort();
    if (record.function.nCoef != 3 || record.function.isCompiled != 1) std::abort();
    CheckRecord(record);
    return 0;
}
