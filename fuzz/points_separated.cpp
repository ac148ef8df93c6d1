// Fuzz target: the separated-pairs point-table reader on arbitrary file contents.
#include <cstddef>
#include <cstdint>

#include "fuzz/input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FitData record;
    ReadNote note;
    int answer = record.ReadPointsSeparated(WriteFuzzInput(data, size), &note);
    CheckNote(answer, note);
    if (answer < 0 || answer > 2) std::abort();
    if ((answer == 0) != (record.hasPoints == 1)) std::abort();
    if (record.nPoints < 0 || record.nPoints > MAX_POINTS) std::abort();
    if (answer == 0 && record.nPoints < 1) std::abort();
    CheckRecord(record);
    CheckPointsFinite(answer, record);
    return 0;
}
