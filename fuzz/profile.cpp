// Fuzz target: the settings-file reader (recent-file list) on arbitrary text, with a round trip
// through its writer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/backend.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const framework::ProfileSections sections = framework::ParseProfileText(text);
    for (const auto& [section, entries] : sections) {
        if (section.find('\n') != std::string::npos) std::abort();
        for (const auto& [key, value] : entries) {
            if (key.empty() || key.find_first_of("=\n") != std::string::npos) std::abort();
            // Any value, line breaks included, stands on one line of the written text.
            framework::ProfileSections one;
            one["s"]["k"] = value;
            if (framework::ParseProfileText(framework::FormatProfileText(one)) != one) std::abort();
        }
    }
    // What was read is written back and read again unchanged.
    if (framework::ParseProfileText(framework::FormatProfileText(sections)) != sections)
        std::abort();
    return 0;
}
