#pragma once

#include "System.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <vector>

namespace sim {

// The virtual board's system effects: nothing reaches the PC. Restarts and
// clock settings are recorded and acted out; spidev requests are answered as a
// spidev device would, every SPI message is recorded and handed to the device
// on the bus.
class SimSystem : public hw::System
{
public:
    struct SpiSettings {
        uint8_t mode = 0;
        uint8_t bitsPerWord = 8;
        uint32_t maxSpeedHz = 500000;
    };

    void restart() override;
    bool setClock(const struct timeval &time) override;
    int spiIoctl(int fd, unsigned long request, void *argument) override;

    // What a restart does on the board (the simulator ends the application).
    void onRestart(std::function<void()> action);
    // The device on the SPI bus: gets every message's bytes, on the caller's thread.
    void onSpiMessage(std::function<void(const std::vector<uint8_t> &message)> device);
    // A faulty bus or driver: that request fails with EIO from now on (or no longer).
    void failSpiRequest(unsigned long request, bool failing);

    int restartCount() const;
    std::vector<struct timeval> clockSettings() const;
    std::vector<std::vector<uint8_t>> spiMessages() const;
    SpiSettings spiSettings() const;

private:
    // A request's answer, under the lock; a message's bytes go to message.
    int answer(unsigned long request, void *argument, std::vector<uint8_t> &message);

    mutable std::mutex m_mutex;
    std::function<void()> m_restartAction;
    std::function<void(const std::vector<uint8_t> &)> m_spiDevice;
    std::set<unsigned long> m_failingRequests;
    int m_restarts = 0;
    std::vector<struct timeval> m_clock;
    std::vector<std::vector<uint8_t>> m_spi;
    SpiSettings m_settings;
};

} // namespace sim
