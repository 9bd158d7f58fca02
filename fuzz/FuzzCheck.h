#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What a fuzz target holds its code to.  A broken promise aborts, which
// libFuzzer keeps as a crash input and the replay test reports as a
// failure, with the promise that broke.
#define FUZZ_CHECK(condition)                                                                                  \
    do {                                                                                                       \
        if (!(condition)) {                                                                                    \
            std::fprintf(stderr, "%s:%d: broken promise: %s\n", __FILE__, __LINE__, #condition);               \
            std::abort();                                                                                      \
        }                                                                                                      \
    } while (false)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
