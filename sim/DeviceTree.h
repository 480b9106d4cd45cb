#pragma once

#include "PseudoTerminal.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

namespace sim {

// The hardware root of the virtual board: the device files the application
// opens, laid out under one directory as they lie under "/" on the monitor.
//   dev/mem            sparse file covering every physical address of the map
//   dev/uio0..uio5     the interrupt lines, raw pseudo-terminals
//   dev/ttyPS1         the MCU line, a raw pseudo-terminal
//   dev/spidev1.0      the scan receiver's SPI bus (its requests go through
//                      the system effects)
//   sys/class/gpio     export file and the board's lines (sysfs numbers)
//   sys/bus/iio/...    die temperature and scan-receiver level
//   tmp/, run/media/   service FIFO folder, USB mount points
class DeviceTree
{
public:
    static constexpr int uioCount = 6;
    // One past the highest page the register map touches (the reset register).
    static constexpr uint64_t memorySize = 0xF8008000ull;
    static constexpr int gpioBase = 906;
    static constexpr std::array<int, 5> gpioLines = {12, 13, 17, 25, 26};
    static constexpr const char *temperatureFile = "/sys/bus/iio/devices/iio:device0/in_temp0_raw";
    static constexpr const char *levelFile = "/sys/bus/iio/devices/iio:device0/in_voltage8_vpvn_raw";
    static constexpr const char *spiDevice = "/dev/spidev1.0";

    // Builds the tree under root (created if missing); ok() tells whether every
    // piece could be made, error() what failed first.
    explicit DeviceTree(const std::string &root);

    bool ok() const { return m_error.empty(); }
    const std::string &error() const { return m_error; }
    const std::string &root() const { return m_root; }
    // The real path of an absolute device path under this root.
    std::string path(const std::string &absolutePath) const;

    PseudoTerminal &uio(int line) { return m_uio[static_cast<size_t>(line)]; }
    PseudoTerminal &serial() { return m_serial; }

    // A stick appears as its mount directory and its device node and goes
    // away with both; a pulled stick keeps its files and brings them back when
    // it is inserted again under the same letter.
    bool insertUsb(char letter);
    bool removeUsb();
    char usbLetter() const;

    // Writes a whole small file (sysfs and IIO values).
    bool writeFile(const std::string &absolutePath, const std::string &content) const;
    std::string readFile(const std::string &absolutePath) const;

private:
    bool makeDirectory(const std::string &absolutePath);
    bool makeLink(const std::string &absolutePath, const std::string &target);
    void fail(const std::string &what);

    std::string m_root;
    std::string m_error;
    std::array<PseudoTerminal, uioCount> m_uio;
    PseudoTerminal m_serial;
    mutable std::mutex m_usbMutex;
    char m_usbLetter = 0;
};

} // namespace sim
