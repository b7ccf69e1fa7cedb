#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property is a crash, so that libFuzzer keeps the input that broke it.
inline void fuzzCheck(bool holds, const char* property) {
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}
