#pragma once

#include <QCoreApplication>
#include <chrono>
#include <functional>
#include <thread>

// Polls the condition every 5 ms, handling the user-interface thread's queued
// events meanwhile, until it holds; false when the time ran out first.
inline bool waitUntil(const std::function<bool()> &condition,
                      std::chrono::milliseconds limit = std::chrono::seconds(15))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
