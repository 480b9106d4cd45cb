#pragma once

#include <cstdlib>
#include <gtest/gtest.h>

// In a cross build the tests run under a user-mode emulator, which CTest names
// in FIELDMON_EMULATOR; null on the machine the tests were built for.
inline const char *emulator()
{
    const char *name = std::getenv("FIELDMON_EMULATOR");
    return name != nullptr && *name != '\0' ? name : nullptr;
}

// Skips a test that cannot hold under user-mode emulation, saying why.
#define SKIP_UNDER_EMULATION(reason)                                                                                 \
    do {                                                                                                             \
        if (emulator() != nullptr)                                                                                   \
            GTEST_SKIP() << "under emulation: " << (reason);                                                         \
    } while (false)
