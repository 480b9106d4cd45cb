#pragma once

#include "GpioCtrl.h"

#include <atomic>
#include <cstdint>

// The scan receiver of the wireless band: a synthesizer tuned over SPI to one
// channel at a time, two enable lines, and the received level read from the
// SoC's converter. Used by the channel scan from its own thread; the enable
// state may be switched from the user-interface thread meanwhile.
class ScanControl
{
public:
    static constexpr int channelCount = 20;
    static constexpr const char *spiDevice = "/dev/spidev1.0";
    static constexpr const char *levelFile = "/sys/bus/iio/devices/iio:device0/in_voltage8_vpvn_raw";

    ScanControl();
    ~ScanControl();
    ScanControl(const ScanControl &) = delete;
    ScanControl &operator=(const ScanControl &) = delete;

    // Opens and sets up the SPI device, then the level file; true at once
    // while both are open. A failure leaves both closed, so a later call tries
    // again.
    bool open();

    // One 3-byte full-duplex message, first byte first.
    bool transfer(const uint8_t bytes[3]);
    // The synthesizer's initialisation words; only while enabled. False when
    // a word did not go out.
    bool init();
    // init, then the channel's words and the closing word; a channel outside
    // 0..19 sends nothing after init. True when the channel was tuned.
    bool setChannel(int channel);
    // The received level; -1 when there is no reading (file not open, read
    // failed or held no number), so that a broken converter never passes for
    // a quiet channel.
    int getADCValue();

    void enable();
    void disable();
    bool isEnabled() const { return enabled; }

private:
    void closeAll();
    bool sendWord(uint32_t word);

    GpioCtrl enableLine1;
    GpioCtrl enableLine2;
    std::atomic<bool> enabled{false};
    int spiFd = -1;
    int levelFd = -1;
    uint32_t speed = 20000000;
    uint16_t delay = 0;
    uint8_t bits = 8;
    uint8_t mode = 0;
};
