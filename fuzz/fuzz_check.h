#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// Stops the run with a message when a property does not hold, so that the
// fuzzer keeps the input that broke it.
inline void fuzzCheck(bool holds, const std::string& what)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", what.c_str());
    std::abort();
}
