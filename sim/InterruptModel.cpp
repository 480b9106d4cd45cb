#include "InterruptModel.h"

#include "RegisterTable.h"
#include "ThreadName.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {

constexpr uint32_t pageSize = 4096;
constexpr int keyLine = 3;          // F1's line; F2 and F3 follow
constexpr int keyLevelBit = 25;     // SDI_IN_INFO: F1's level; F2 and F3 follow
constexpr int tickMs = 5;           // while a line waits for its enable or is stalled
constexpr size_t wordSize = 4;

uint32_t enableBit(int line)
{
    return 1u << (4 * line);
}

uint32_t acknowledgeBit(int line)
{
    return 1u << (4 * line + 1);
}

std::string devicePath(int line)
{
    return "/dev/uio" + std::to_string(line);
}

} // namespace

InterruptModel::InterruptModel(DeviceTree &tree) : m_tree(tree)
{
    // The logic's own view of the two registers it shares with the
    // application: atomic updates, so that its bits never undo the
    // application's read-modify-writes of the same word.
    const PLRegisterRecord *control = plRegister(FPGA_INIT_CTL);
    const PLRegisterRecord *keys = plRegister(SDI_IN_INFO);
    const uint32_t page = control->physicalAddress & ~(pageSize - 1);
    if ((keys->physicalAddress & ~(pageSize - 1)) != page)
        return;
    const int fd = ::open(tree.path("/dev/mem").c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return;
    void *mapped = ::mmap(nullptr, pageSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, static_cast<off_t>(page));
    ::close(fd);
    if (mapped == MAP_FAILED)
        return;
    m_page = mapped;
    m_control = reinterpret_cast<uint32_t *>(static_cast<char *>(mapped) + (control->physicalAddress - page));
    m_keys = reinterpret_cast<uint32_t *>(static_cast<char *>(mapped) + (keys->physicalAddress - page));
}

InterruptModel::~InterruptModel()
{
    stop();
    for (Line &line : m_lines) {
        if (line.flowFd >= 0)
            ::close(line.flowFd);
    }
    if (m_page != nullptr)
        ::munmap(m_page, pageSize);
}

bool InterruptModel::ok() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_running;
}

bool InterruptModel::start()
{
    if (m_control == nullptr || m_running)
        return m_running;
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    for (int n = 0; n < lineCount; ++n) {
        const std::string &slave = m_tree.uio(n).slavePath();
        m_lines[n].flowFd = ::open(slave.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_lines[n].flowFd < 0)
            return false;
    }
    m_running = true;
    m_thread = std::thread(&InterruptModel::run, this);
    return true;
}

void InterruptModel::stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_running)
            return;
        m_running = false;
        // A writer kept waiting must not stay blocked after the board is gone.
        for (Line &line : m_lines) {
            if (line.stalled)
                tcflow(line.flowFd, TCOON);
            line.stalled = false;
        }
    }
    wake();
    m_thread.join();
    ::close(m_wake[0]);
    ::close(m_wake[1]);
    m_wake[0] = m_wake[1] = -1;
}

void InterruptModel::wake()
{
    const char byte = 0;
    if (m_wake[1] >= 0 && ::write(m_wake[1], &byte, 1) < 0 && errno != EAGAIN)
        return;
}

void InterruptModel::run()
{
    nameThread("board-irq");
    for (;;) {
        struct pollfd watched[lineCount + 1];
        watched[0] = {m_wake[0], POLLIN, 0};
        for (int n = 0; n < lineCount; ++n)
            watched[n + 1] = {m_tree.uio(n).master(), POLLIN, 0};
        int timeout;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_running)
                return;
            timeout = needsTicks() ? tickMs : -1;
        }
        if (::poll(watched, lineCount + 1, timeout) < 0 && errno != EINTR)
            return;
        if (watched[0].revents & POLLIN) {
            char drain[64];
            while (::read(m_wake[0], drain, sizeof(drain)) > 0) {
            }
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        for (int n = 0; n < lineCount; ++n) {
            if (watched[n + 1].revents & POLLIN)
                receive(n);
        }
        noticeAcknowledgements();
        deliverWaiting();
    }
}

// The application's writes to a line's device: 32-bit words, 1 unmasks the
// line and 0 masks it.
void InterruptModel::receive(int n)
{
    char bytes[64];
    const ssize_t got = ::read(m_tree.uio(n).master(), bytes, sizeof(bytes));
    if (got <= 0)
        return;
    Line &line = m_lines[n];
    line.partial.append(bytes, static_cast<size_t>(got));
    while (line.partial.size() >= wordSize) {
        int32_t word = 0;
        line.partial.copy(reinterpret_cast<char *>(&word), wordSize);
        line.partial.erase(0, wordSize);
        line.masked = word == 0;
    }
}

bool InterruptModel::needsTicks() const
{
    for (const Line &line : m_lines) {
        if (line.stalled || (line.remembered && !line.masked))
            return true;
    }
    return false;
}

bool InterruptModel::enabled(int line) const
{
    return (__atomic_load_n(m_control, __ATOMIC_SEQ_CST) & enableBit(line)) != 0;
}

void InterruptModel::noticeAcknowledgements()
{
    uint32_t all = 0;
    for (int n = 0; n < lineCount; ++n)
        all |= acknowledgeBit(n);
    const uint32_t seen = __atomic_fetch_and(m_control, ~all, __ATOMIC_SEQ_CST) & all;
    for (int n = 0; n < lineCount; ++n) {
        if (seen & acknowledgeBit(n))
            ++m_lines[n].acknowledgements;
    }
}

void InterruptModel::deliverWaiting()
{
    for (int n = 0; n < lineCount; ++n) {
        if (m_lines[n].remembered && !m_lines[n].masked && enabled(n))
            deliver(n);
    }
}

void InterruptModel::deliver(int n)
{
    Line &line = m_lines[n];
    ++line.count;
    line.masked = true;
    line.remembered = false;
    m_tree.uio(n).send(&line.count, wordSize);
}

void InterruptModel::raise(int n)
{
    if (!validLine(n))
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        noticeAcknowledgements();
        if (!m_lines[n].masked && enabled(n))
            deliver(n);
        else
            m_lines[n].remembered = true;
    }
    wake();
}

void InterruptModel::setLevel(Key key, bool down)
{
    const uint32_t bit = 1u << (keyLevelBit + key);
    if (down)
        __atomic_fetch_or(m_keys, bit, __ATOMIC_SEQ_CST);
    else
        __atomic_fetch_and(m_keys, ~bit, __ATOMIC_SEQ_CST);
}

void InterruptModel::press(Key key)
{
    setLevel(key, true);
    raise(keyLine + key);
}

void InterruptModel::release(Key key)
{
    setLevel(key, false);
}

void InterruptModel::click(Key key)
{
    press(key);
    release(key);
}

void InterruptModel::hold(const std::vector<Key> &keys, std::chrono::milliseconds duration)
{
    for (Key key : keys)
        press(key);
    std::this_thread::sleep_for(duration);
    for (Key key : keys)
        release(key);
}

bool InterruptModel::isArmed(int n) const
{
    if (!validLine(n))
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    return !m_lines[n].masked && enabled(n);
}

uint32_t InterruptModel::count(int n) const
{
    if (!validLine(n))
        return 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines[n].count;
}

int InterruptModel::acknowledgements(int n) const
{
    if (!validLine(n))
        return 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines[n].acknowledgements;
}

bool InterruptModel::removeDevice(int n)
{
    return validLine(n) && ::unlink(m_tree.path(devicePath(n)).c_str()) == 0;
}

bool InterruptModel::replaceDevice(int n, const char *target)
{
    if (!validLine(n))
        return false;
    const std::string device = m_tree.path(devicePath(n));
    ::unlink(device.c_str());
    return ::symlink(target, device.c_str()) == 0;
}

bool InterruptModel::refuseUnmask(int n)
{
    return replaceDevice(n, "/dev/full");
}

bool InterruptModel::failReads(int n)
{
    return replaceDevice(n, "/dev/null");
}

void InterruptModel::stallUnmask(int n, bool stalled)
{
    if (!validLine(n))
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_running || m_lines[n].stalled == stalled)
            return;
        m_lines[n].stalled = stalled;
        tcflow(m_lines[n].flowFd, stalled ? TCOOFF : TCOON);
    }
    wake();
}

} // namespace sim
