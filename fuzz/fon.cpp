// Fuzz target: the function-file reader on arbitrary file contents.
#include <cstddef>
#include <cstdint>

#include "fuzz/input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FitData record;
    int answer = record.function.ReadFon(WriteFuzzInput(data, size));
    if (answer != 0 && answer != 1) std::abort();
    if (answer != 0 && record.function.isCompiled != 0) std::abort();
    CheckRecord(record);
    return 0;
}
