// The project's one assertion for broken invariants inside our own code.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace kurvomat {

// Called when an invariant of our own code is broken; tests may replace the handler to turn
// the failure into a test failure instead of an abort.
using AssertHandler = void (*)(const char* expression, const char* file, int line);

inline AssertHandler& CurrentAssertHandler() {
    static AssertHandler handler = nullptr;
    return handler;
}

[[noreturn]] inline void AssertFailed(const char* expression, const char* file, int line) {
    if (AssertHandler handler = CurrentAssertHandler()) handler(expression, file, line);
    std::fprintf(stderr, "%s:%d: assertion failed: %s\n", file, line, expression);
    std::abort();
}

}  // namespace kurvomat

#define KURVO_ASSERT(condition) \
    ((condition) ? static_cast<void>(0) : ::kurvomat::AssertFailed(#condition, __FILE__, __LINE__))
