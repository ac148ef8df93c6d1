// Fuzz target: the function-file reader on arbitrary file contents.
#include <cstddef>
#include <cstdint>

#include "fuzz/input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FitData record;
    ReadNote note;
    int answer = record.function.ReadFon(WriteFuzzInput(data, size), &note);
    CheckNote(answer, note);
    if (answer != 0 && answer != 1) std::abort();
    if (answer != 0 && record.function.isCompiled != 0) std::abort();
    CheckRecord(record);
    return 0;
}
