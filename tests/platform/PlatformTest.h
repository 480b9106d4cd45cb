#pragma once

#include "BoardTest.h"
#include "UartAPI.h"

#include <QCoreApplication>
#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// Waits until the condition holds, handling the user-interface thread's
// events meanwhile; false when the deadline passed first.
inline bool waitFor(const std::function<bool()> &condition,
                    std::chrono::milliseconds timeout = std::chrono::milliseconds(10000))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Handles events for a while: for checks that something does not happen.
inline void settle(std::chrono::milliseconds duration)
{
    waitFor([] { return false; }, duration);
}

inline std::string fileBytes(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

inline void writeBytes(const std::string &path, const std::string &content)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

// Starts the MCU link and waits until the application has acknowledged the
// MCU's first report: from then on values go out at once.
inline bool startLink(sim::VirtualBoard &board)
{
    board.mcu().setBootDelay(0);
    UartInit();
    return waitFor([&] { return board.mcu().count(0x0F) > 0; });
}

// The data of every frame of that command the MCU received, in order.
inline std::vector<std::vector<uint8_t>> framesOf(sim::VirtualBoard &board, uint8_t command)
{
    std::vector<std::vector<uint8_t>> frames;
    for (const sim::McuModel::Frame &frame : board.mcu().received()) {
        if (frame.command == command)
            frames.push_back(frame.data);
    }
    return frames;
}
