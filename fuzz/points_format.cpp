// Fuzz target: the check that tells an own-format point table from separated text.
#include <cstddef>
#include <cstdint>

#include "fuzz/input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FitData record;
    const std::string& path = WriteFuzzInput(data, size);
    if (!IsOwnPointFormat(NarrowToWide(path))) return 0;
    // A file taken for the own format starts with its count: the reader finds it.
    ReadNote note;
    const int answer = record.ReadPointsText(path, &note);
    if (answer == 1 && note.reason.find("nombre de points") != std::string::npos) std::abort();
    if (note.reason == "le fichier est vide") std::abort();
    return 0;
}
