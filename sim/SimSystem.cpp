#include "SimSystem.h"

#include "Console.h"

#include <cerrno>
#include <cstring>
#include <linux/spi/spidev.h>

namespace sim {

void SimSystem::restart()
{
    std::function<void()> action;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_restarts;
        action = m_restartAction;
    }
    console::print("[virtual board] the application restarts the machine\n");
    if (action)
        action();
}

bool SimSystem::setClock(const struct timeval &time)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_clock.push_back(time);
    console::print("[virtual board] system clock set to %ld\n", static_cast<long>(time.tv_sec));
    return true;
}

int SimSystem::spiIoctl(int fd, unsigned long request, void *argument)
{
    if (fd < 0) {
        errno = EBADF;
        return -1;
    }
    if (argument == nullptr) {
        errno = EFAULT;
        return -1;
    }
    std::vector<uint8_t> message;
    std::function<void(const std::vector<uint8_t> &)> device;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_failingRequests.count(request) != 0) {
            errno = EIO;
            return -1;
        }
        const int result = answer(request, argument, message);
        if (result < 0 || message.empty())
            return result;
        m_spi.push_back(message);
        device = m_spiDevice;
    }
    // Outside the lock: the device may take its time and call back into the board.
    if (device)
        device(message);
    return static_cast<int>(message.size());
}

int SimSystem::answer(unsigned long request, void *argument, std::vector<uint8_t> &message)
{
    switch (request) {
    case SPI_IOC_WR_MODE:
        m_settings.mode = *static_cast<uint8_t *>(argument);
        return 0;
    case SPI_IOC_RD_MODE:
        *static_cast<uint8_t *>(argument) = m_settings.mode;
        return 0;
    case SPI_IOC_WR_BITS_PER_WORD:
        m_settings.bitsPerWord = *static_cast<uint8_t *>(argument);
        return 0;
    case SPI_IOC_RD_BITS_PER_WORD:
        *static_cast<uint8_t *>(argument) = m_settings.bitsPerWord;
        return 0;
    case SPI_IOC_WR_MAX_SPEED_HZ:
        m_settings.maxSpeedHz = *static_cast<uint32_t *>(argument);
        return 0;
    case SPI_IOC_RD_MAX_SPEED_HZ:
        *static_cast<uint32_t *>(argument) = m_settings.maxSpeedHz;
        return 0;
    case SPI_IOC_MESSAGE(1): {
        auto *transfer = static_cast<struct spi_ioc_transfer *>(argument);
        const auto *tx = reinterpret_cast<const uint8_t *>(static_cast<uintptr_t>(transfer->tx_buf));
        auto *rx = reinterpret_cast<uint8_t *>(static_cast<uintptr_t>(transfer->rx_buf));
        if (tx != nullptr)
            message.assign(tx, tx + transfer->len);
        // The synthesizer has no read-back: its data line stays low.
        if (rx != nullptr)
            std::memset(rx, 0, transfer->len);
        return static_cast<int>(transfer->len);
    }
    default:
        errno = EINVAL;
        return -1;
    }
}

void SimSystem::onRestart(std::function<void()> action)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_restartAction = std::move(action);
}

void SimSystem::onSpiMessage(std::function<void(const std::vector<uint8_t> &message)> device)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_spiDevice = std::move(device);
}

void SimSystem::failSpiRequest(unsigned long request, bool failing)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (failing)
        m_failingRequests.insert(request);
    else
        m_failingRequests.erase(request);
}

int SimSystem::restartCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_restarts;
}

std::vector<struct timeval> SimSystem::clockSettings() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_clock;
}

std::vector<std::vector<uint8_t>> SimSystem::spiMessages() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_spi;
}

SimSystem::SpiSettings SimSystem::spiSettings() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_settings;
}

} // namespace sim
