#pragma once

#include "VirtualBoard.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

// Makes a benchmark's board the hardware: false, with the reason on standard
// error, when it could not be built.
inline bool installBoard(sim::VirtualBoard &board)
{
    if (!board.ok()) {
        std::fprintf(stderr, "virtual board: %s\n", board.error().c_str());
        return false;
    }
    board.install();
    return true;
}

// The application's working directory as a fresh device has it: a copy of
// the seeded one at `work`, made the current directory.
inline bool enterSeededWorkDir(const std::string &work)
{
    std::error_code failure;
    std::filesystem::copy(FIELDMON_SEED_DIR, work, std::filesystem::copy_options::recursive, failure);
    return !failure && chdir(work.c_str()) == 0;
}
