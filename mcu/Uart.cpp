#include "Uart.h"

#include "Console.h"
#include "HardwarePath.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/select.h>
#include <unistd.h>

namespace {

// Only without a wake event does the reader look at the port on a time-out.
constexpr long selectTimeoutUs = 30000;

tcflag_t characterSize(int dataBits)
{
    switch (dataBits) {
    case 6:
        return CS6;
    case 7:
        return CS7;
    case 8:
        return CS8;
    default:
        return CS5;
    }
}

speed_t lineSpeed(int speed)
{
    switch (speed) {
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 115200:
        return B115200;
    default:
        return B9600;
    }
}

} // namespace

Uart::Uart() : m_wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

Uart::Uart(const std::string &path, int speed, char parity, int dataBits, int stopBits) : Uart()
{
    init(path, speed, parity, dataBits, stopBits);
}

Uart::~Uart()
{
    m_running = false;
    close();
    if (m_wake >= 0)
        ::close(m_wake);
}

void Uart::wakeReader()
{
    const uint64_t one = 1;
    if (m_wake >= 0 && ::write(m_wake, &one, sizeof(one)) < 0 && errno != EAGAIN)
        console::error("%s wake reader failed\n", m_path.c_str());
}

bool Uart::init(const std::string &path, int speed, char parity, int dataBits, int stopBits)
{
    m_path = path;
    return open() && set(speed, parity, dataBits, stopBits);
}

bool Uart::open()
{
    const int fd = ::open(hw::path(m_path).c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd > 0) {
        m_fd = fd;
        wakeReader();
        return true;
    }
    // Descriptor 0 is not ours to keep: it counts as a failed open.
    if (fd == 0)
        ::close(fd);
    console::error("%s open failed\n", m_path.c_str());
    return false;
}

bool Uart::set(int speed, char parity, int dataBits, int stopBits)
{
    if (!isOpen())
        return notOpen();
    struct termios current;
    if (tcgetattr(m_fd, &current) != 0) {
        console::error("get %s property failed\n", m_path.c_str());
        return false;
    }

    // A fresh raw configuration: nothing of the current one is kept.
    const struct termios settings = lineSettings(speed, parity, dataBits, stopBits);
    tcflush(m_fd, TCIFLUSH);
    if (tcsetattr(m_fd, TCSANOW, &settings) != 0) {
        console::error("uart[%s] set error\n", m_path.c_str());
        return false;
    }
    return true;
}

struct termios Uart::lineSettings(int speed, char parity, int dataBits, int stopBits)
{
    struct termios settings = {};
    settings.c_cflag = CREAD | CLOCAL | characterSize(dataBits);
    if (parity == 'O' || parity == 'o') {
        settings.c_cflag |= PARENB | PARODD;
        settings.c_iflag |= INPCK | ISTRIP;
    } else if (parity == 'E' || parity == 'e') {
        settings.c_cflag |= PARENB;
        settings.c_iflag |= INPCK | ISTRIP;
    }
    cfsetispeed(&settings, lineSpeed(speed));
    cfsetospeed(&settings, lineSpeed(speed));
    if (stopBits == 2)
        settings.c_cflag |= CSTOPB;
    settings.c_cc[VTIME] = 0;
    settings.c_cc[VMIN] = 0;
    return settings;
}

int Uart::write(const void *buffer, size_t length)
{
    const ssize_t written = isOpen() ? ::write(m_fd, buffer, length) : -1;
    if (written < 0 || static_cast<size_t>(written) != length) {
        console::error("%s write error\n", m_path.c_str());
        return -1;
    }
    return static_cast<int>(length);
}

bool Uart::select()
{
    fd_set readable;
    FD_ZERO(&readable);
    int highest = m_wake;
    if (m_wake >= 0)
        FD_SET(m_wake, &readable);
    // A closed port waits for its wake event, so a reader never spins.
    const int fd = m_fd;
    if (fd > 0) {
        FD_SET(fd, &readable);
        highest = std::max(highest, fd);
    }
    struct timeval fallback = {0, selectTimeoutUs};
    if (::select(highest + 1, &readable, nullptr, nullptr, m_wake >= 0 ? nullptr : &fallback) <= 0)
        return false;
    if (m_wake >= 0 && FD_ISSET(m_wake, &readable)) {
        uint64_t changes;
        while (::read(m_wake, &changes, sizeof(changes)) > 0) {
        }
        return false;
    }
    return fd > 0 && FD_ISSET(fd, &readable);
}

bool Uart::close()
{
    const int fd = m_fd.exchange(-1);
    if (fd > 0)
        ::close(fd);
    wakeReader();
    return true;
}

bool Uart::notOpen() const
{
    console::error("%s is not open\n", m_path.c_str());
    return false;
}

long Uart::readSome(unsigned char *buffer, size_t capacity)
{
    return ::read(m_fd, buffer, capacity);
}
