#include "ScanControl.h"

#include "Console.h"
#include "HardwarePath.h"
#include "System.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <linux/spi/spidev.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int enableLine1Number = 25;
constexpr int enableLine2Number = 26;
constexpr auto enableGap = std::chrono::microseconds(100);
constexpr size_t levelTextSize = 59;

// The synthesizer's register words, 24 bits each.
constexpr uint32_t initWords[] = {
    0x0FF550, 0x000001, 0x451FE2, 0x5FDFA3, 0x6FD784, 0x853F55, 0x56AF36, 0xCE0207, 0x5E8C98, 0x221BC9,
    0xE06F2A, 0x08031B, 0x00143C, 0xFFFFFD, 0x00000E, 0x12BACF, 0x9ABA8F, 0x3ABA8F, 0x12BACF, 0xE06F2A,
};

constexpr uint32_t channelWords[ScanControl::channelCount][3] = {
    {0x0FF5C0, 0x0F3331, 0x7FD784}, {0x0FF5D0, 0x048891, 0x7FD784}, {0x0FF5E0, 0x19DDE1, 0x7FD784},
    {0x0FF5E0, 0x0F3331, 0x7FD784}, {0x0FF560, 0x19DDE1, 0x7FD784}, {0x0FF560, 0x0F3331, 0x7FD784},
    {0x0FF570, 0x048891, 0x7FD784}, {0x0FF580, 0x19DDE1, 0x7FD784}, {0x0FF580, 0x0F3331, 0x7FD784},
    {0x0FF5C0, 0x19DDE1, 0x7FD784}, {0x0FF550, 0x048891, 0x7FD784}, {0x0FF540, 0x0F3331, 0x7FD784},
    {0x0FF530, 0x0F3331, 0x7FD784}, {0x0FF600, 0x19DDE1, 0x7FD784}, {0x0FF610, 0x048891, 0x7FD784},
    {0x0FF590, 0x048891, 0x7FD784}, {0x0FF5A0, 0x19DDE1, 0x7FD784}, {0x0FF5A0, 0x0F3331, 0x7FD784},
    {0x0FF5B0, 0x048891, 0x7FD784}, {0x0FF600, 0x0F3331, 0x7FD784},
};

constexpr uint32_t closingWord = 0x223BB9;

} // namespace

ScanControl::ScanControl()
    : enableLine1(enableLine1Number, GpioCtrl::GPIO_OUTPUT), enableLine2(enableLine2Number, GpioCtrl::GPIO_OUTPUT)
{
    open();
}

ScanControl::~ScanControl()
{
    closeAll();
}

void ScanControl::closeAll()
{
    if (spiFd >= 0)
        ::close(spiFd);
    if (levelFd >= 0)
        ::close(levelFd);
    spiFd = -1;
    levelFd = -1;
}

bool ScanControl::open()
{
    if (spiFd >= 0)
        return true;
    spiFd = ::open(hw::path(spiDevice).c_str(), O_RDWR | O_CLOEXEC);
    if (spiFd < 0) {
        console::error("can't open device\n");
        return false;
    }
    hw::System &system = hw::system();
    // Each setting is written, then read back as the device took it.
    const struct {
        unsigned long request;
        void *value;
        const char *error;
    } steps[] = {
        {SPI_IOC_WR_MODE, &mode, "can't set spi mode\n"},
        {SPI_IOC_RD_MODE, &mode, "can't get spi mode\n"},
        {SPI_IOC_WR_BITS_PER_WORD, &bits, "can't set bits per word\n"},
        {SPI_IOC_RD_BITS_PER_WORD, &bits, "can't get bits per word\n"},
        {SPI_IOC_WR_MAX_SPEED_HZ, &speed, "can't set max speed hz\n"},
        {SPI_IOC_RD_MAX_SPEED_HZ, &speed, "can't get max speed hz\n"},
    };
    for (const auto &step : steps) {
        if (system.spiIoctl(spiFd, step.request, step.value) == -1) {
            console::error("%s", step.error);
            closeAll();
            return false;
        }
    }
    levelFd = ::open(hw::path(levelFile).c_str(), O_RDONLY | O_CLOEXEC);
    if (levelFd < 0) {
        console::error("open ADC value file error\n");
        closeAll();
        return false;
    }
    return true;
}

bool ScanControl::transfer(const uint8_t bytes[3])
{
    uint8_t received[3] = {0, 0, 0};
    struct spi_ioc_transfer message = {};
    message.tx_buf = reinterpret_cast<uintptr_t>(bytes);
    message.rx_buf = reinterpret_cast<uintptr_t>(received);
    message.len = 3;
    message.delay_usecs = delay;
    message.speed_hz = speed;
    message.bits_per_word = bits;
    if (hw::system().spiIoctl(spiFd, SPI_IOC_MESSAGE(1), &message) < 1) {
        console::error("can't send spi message\n");
        return false;
    }
    return true;
}

bool ScanControl::sendWord(uint32_t word)
{
    const uint8_t bytes[3] = {static_cast<uint8_t>(word >> 16), static_cast<uint8_t>(word >> 8),
                              static_cast<uint8_t>(word)};
    return transfer(bytes);
}

// A sequence stops at its first word that does not go out: the rest would
// only program the synthesizer half way.
bool ScanControl::init()
{
    if (!enabled)
        return true;
    for (uint32_t word : initWords) {
        if (!sendWord(word))
            return false;
    }
    return true;
}

bool ScanControl::setChannel(int channel)
{
    if (!init() || channel < 0 || channel >= channelCount)
        return false;
    for (uint32_t word : channelWords[channel]) {
        if (!sendWord(word))
            return false;
    }
    return sendWord(closingWord);
}

int ScanControl::getADCValue()
{
    if (levelFd < 0)
        return -1;
    char text[levelTextSize + 1];
    const ssize_t length = ::pread(levelFd, text, levelTextSize, 0);
    if (length <= 0)
        return -1;
    text[length] = '\0';
    char *end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || errno != 0 || value < 0 || value > 0xFFFF)
        return -1;
    return static_cast<int>(value);
}

void ScanControl::enable()
{
    enabled = true;
    enableLine1.setValue(1);
    std::this_thread::sleep_for(enableGap);
    enableLine2.setValue(1);
}

void ScanControl::disable()
{
    enabled = false;
    enableLine2.setValue(0);
    std::this_thread::sleep_for(enableGap);
    enableLine1.setValue(0);
}
