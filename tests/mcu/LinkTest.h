#pragma once

#include "BoardTest.h"
#include "McuModel.h"
#include "UartAPI.h"
#include "Wait.h"

#include <dirent.h>
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

// How many threads this process runs.
inline int threadCount()
{
    int count = 0;
    DIR *tasks = opendir("/proc/self/task");
    while (dirent *entry = readdir(tasks)) {
        if (entry->d_name[0] != '.')
            ++count;
    }
    closedir(tasks);
    return count;
}

// A board whose MCU model answers at once, and helpers to watch the line.
class LinkTest : public BoardTest
{
protected:
    using Bytes = std::vector<uint8_t>;

    void SetUp() override
    {
        BoardTest::SetUp();
        mcu().setBootDelay(0);
    }

    sim::McuModel &mcu() { return board().mcu(); }

    static void pause(int ms)
    {
        waitUntil([] { return false; }, std::chrono::milliseconds(ms));
    }

    // The data of every frame of that command the MCU received, in order.
    std::vector<Bytes> dataOf(uint8_t command)
    {
        std::vector<Bytes> data;
        for (const sim::McuModel::Frame &frame : mcu().received()) {
            if (frame.command == command)
                data.push_back(frame.data);
        }
        return data;
    }

    bool received(uint8_t command, const Bytes &data)
    {
        const std::vector<Bytes> all = dataOf(command);
        return std::find(all.begin(), all.end(), data) != all.end();
    }

    bool waitFor(uint8_t command, const Bytes &data, int timeoutMs = 10000)
    {
        return waitUntil([&] { return received(command, data); }, std::chrono::milliseconds(timeoutMs));
    }

    // Starts the link and waits until the application acknowledged the
    // MCU's first report, so that the link works.
    bool startLink()
    {
        UartInit();
        return waitFor(0x0F, {0x00, 1, 2, 3});
    }

    // Installs a firmware image where the updater reads it and tells the boot
    // loader to expect it.
    Bytes installFirmware(size_t size)
    {
        Bytes image(size);
        std::mt19937 random(static_cast<unsigned>(size));
        for (uint8_t &byte : image)
            byte = static_cast<uint8_t>(random());
        const std::string path = board().tree().path("/home/root/app/RX.bin");
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char *>(image.data()), static_cast<std::streamsize>(size));
        mcu().setFirmware(image);
        return image;
    }
};

// Collects values handed over on any thread.
template <class T>
class Recorder
{
public:
    void add(const T &value)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_values.push_back(value);
    }
    std::vector<T> values() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_values;
    }
    bool contains(const T &value) const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::find(m_values.begin(), m_values.end(), value) != m_values.end();
    }

private:
    mutable std::mutex m_mutex;
    std::vector<T> m_values;
};
