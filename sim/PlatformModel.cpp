#include "PlatformModel.h"

#include "Console.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace sim {

namespace {

// The die sensor's scale: degrees = raw x 503.975 / 4096 - 273.15.
constexpr double rawFullScale = 503.975;
constexpr double rawSteps = 4096.0;
constexpr double kelvinOffset = 273.15;

} // namespace

PlatformModel::PlatformModel(DeviceTree &tree) : m_tree(tree)
{
    releaseButton();
}

std::string PlatformModel::valueFile(int line) const
{
    return "/sys/class/gpio/gpio" + std::to_string(line + DeviceTree::gpioBase) + "/value";
}

bool PlatformModel::rewrite(const std::string &absolutePath, const std::string &content) const
{
    const int fd = ::open(m_tree.path(absolutePath).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::pwrite(fd, content.data(), content.size(), 0) == static_cast<ssize_t>(content.size())
                      && ::ftruncate(fd, static_cast<off_t>(content.size())) == 0;
    ::close(fd);
    return written;
}

void PlatformModel::pressButton()
{
    rewrite(valueFile(powerButtonLine), "0\n");
}

void PlatformModel::releaseButton()
{
    rewrite(valueFile(powerButtonLine), "1\n");
}

void PlatformModel::holdButton(std::chrono::milliseconds duration)
{
    pressButton();
    std::this_thread::sleep_for(duration);
    releaseButton();
}

int PlatformModel::gpioValue(int line) const
{
    const std::string text = m_tree.readFile(valueFile(line));
    char *end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    return end == text.c_str() ? -1 : static_cast<int>(value);
}

double PlatformModel::temperatureOf(long raw)
{
    return raw * rawFullScale / rawSteps - kelvinOffset;
}

long PlatformModel::temperatureRaw(double celsius)
{
    long raw = std::lround((celsius + kelvinOffset) * rawSteps / rawFullScale);
    while (raw > 0 && temperatureOf(raw - 1) >= celsius)
        --raw;
    while (temperatureOf(raw) < celsius)
        ++raw;
    return std::max(raw, 0L);
}

bool PlatformModel::setTemperature(double celsius)
{
    return rewrite(DeviceTree::temperatureFile, std::to_string(temperatureRaw(celsius)) + "\n");
}

void PlatformModel::cutPower()
{
    std::function<void()> action;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_powerCuts;
        action = m_powerCutAction;
    }
    console::print("[virtual board] the MCU cuts the power: the application ends\n");
    if (action)
        action();
}

void PlatformModel::onPowerCut(std::function<void()> action)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_powerCutAction = std::move(action);
}

int PlatformModel::powerCutCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_powerCuts;
}

void PlatformModel::setHostDirectory(const std::string &dir)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_hostDirectory = dir;
}

std::string PlatformModel::hostDirectory() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_hostDirectory;
}

} // namespace sim
