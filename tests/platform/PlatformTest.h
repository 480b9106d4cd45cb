#pragma once

#include "BoardTest.h"
#include "McuLink.h"
#include "Wait.h"

#include <QCoreApplication>
#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// Handles events for a while: for checks that something does not happen.
inline void settle(std::chrono::milliseconds duration)
{
    waitUntil([] { return false; }, duration);
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
