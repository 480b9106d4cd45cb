#pragma once

#include "DeviceTree.h"

#include <chrono>
#include <functional>
#include <mutex>
#include <string>

namespace sim {

// The board's platform hardware: the power button, the fan lines, the die
// temperature sensor and the power supply the MCU switches.
//
// Device side, in the sysfs and IIO files of the tree: the button holds line
// 17 high while released and pulls it low while pressed; the fan lines (12
// low speed, 13 high speed) are whatever the application wrote; the sensor
// file holds the raw value of the die temperature. Values are rewritten in
// place, so that a reader that keeps the file open sees every change and
// never an empty file.
//
// Backend side: the calls below, from any thread.
class PlatformModel
{
public:
    static constexpr int powerButtonLine = 17;

    explicit PlatformModel(DeviceTree &tree);

    void pressButton();
    void releaseButton();
    // Pressed, held for the duration, released; returns after it.
    void holdButton(std::chrono::milliseconds duration);

    // A line's level as its value file holds it (board numbering); -1 when
    // the file holds no number.
    int gpioValue(int line) const;

    // The sensor shows the first step of its scale at or above celsius.
    bool setTemperature(double celsius);
    // The raw value of that step, and the degrees a raw value stands for.
    static long temperatureRaw(double celsius);
    static double temperatureOf(long raw);

    // The MCU removed the power: the board says so and acts it out.
    void cutPower();
    void onPowerCut(std::function<void()> action);
    int powerCutCount() const;

    // Where files handed to the board by relative name are taken from (the
    // scenario's own folder).
    void setHostDirectory(const std::string &dir);
    std::string hostDirectory() const;

private:
    bool rewrite(const std::string &absolutePath, const std::string &content) const;
    std::string valueFile(int line) const;

    DeviceTree &m_tree;
    mutable std::mutex m_mutex;
    std::function<void()> m_powerCutAction;
    int m_powerCuts = 0;
    std::string m_hostDirectory;
};

} // namespace sim
