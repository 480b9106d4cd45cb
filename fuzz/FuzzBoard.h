#pragma once

#include "VirtualBoard.h"

#include <cstdlib>
#include <filesystem>
#include <string>

// The controllers reach registers and the link: on a virtual board only. A
// fuzzer's board is made and installed once and stays up while the process
// runs; its files go at exit. Null when the board could not be made.
inline sim::VirtualBoard *startFuzzBoard()
{
    static std::string root = sim::VirtualBoard::makeTemporaryRoot();
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    });
    auto *board = new sim::VirtualBoard(root);
    if (!board->ok())
        return nullptr;
    board->install();
    return board;
}
