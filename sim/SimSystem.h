#pragma once

#include "System.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace sim {

// The virtual board's system effects: nothing reaches the PC. Restarts and
// clock settings are recorded and acted out; spidev requests are answered as a
// spidev device would, and every SPI message is recorded.
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

    int restartCount() const;
    std::vector<struct timeval> clockSettings() const;
    std::vector<std::vector<uint8_t>> spiMessages() const;
    SpiSettings spiSettings() const;

private:
    mutable std::mutex m_mutex;
    std::function<void()> m_restartAction;
    int m_restarts = 0;
    std::vector<struct timeval> m_clock;
    std::vector<std::vector<uint8_t>> m_spi;
    SpiSettings m_settings;
};

} // namespace sim
