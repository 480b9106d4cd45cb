#include "PseudoTerminal.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {

bool makeRaw(int fd)
{
    struct termios settings;
    if (tcgetattr(fd, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

} // namespace

PseudoTerminal::~PseudoTerminal()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PseudoTerminal::open()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        return false;
    char name[128];
    if (ptsname_r(m_master, name, sizeof(name)) != 0)
        return false;
    m_slavePath = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    return m_slave >= 0 && makeRaw(m_master) && makeRaw(m_slave);
}

bool PseudoTerminal::send(const void *data, size_t length) const
{
    const char *bytes = static_cast<const char *>(data);
    while (length > 0) {
        ssize_t written = ::write(m_master, bytes, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        length -= static_cast<size_t>(written);
    }
    return true;
}

long PseudoTerminal::receive(void *data, size_t capacity, int timeoutMs) const
{
    struct pollfd watch = {m_master, POLLIN, 0};
    int ready = ::poll(&watch, 1, timeoutMs);
    if (ready < 0)
        return errno == EINTR ? 0 : -1;
    if (ready == 0)
        return 0;
    ssize_t count = ::read(m_master, data, capacity);
    return count < 0 ? (errno == EINTR || errno == EAGAIN ? 0 : -1) : count;
}

} // namespace sim
