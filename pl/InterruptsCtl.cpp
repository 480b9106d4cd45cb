#include "InterruptsCtl.h"

#include "Bit.h"
#include "Console.h"
#include "HardwarePath.h"
#include "PLControl.h"
#include "ThreadName.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/select.h>
#include <thread>
#include <unistd.h>

namespace {

// Only without an attach event does the event thread look for new lines on
// a time-out.
constexpr long selectTimeoutUs = 30000;
constexpr int pacingMs = 10;
constexpr auto keyPollInterval = std::chrono::microseconds(20000);
// Key timing counts polls of the key thread, not clock time.
constexpr int32_t longPressCounts = 150;
constexpr int32_t combinationCounts = 99;
constexpr unsigned char keyLevelBit = 25; // SDI_IN_INFO: F1 at 25, F2 at 26, F3 at 27
constexpr int32_t unmask = 1;

bool isKey(InterruptsCtl::InterruptsType type)
{
    return type >= InterruptsCtl::KEY_F1 && type <= InterruptsCtl::KEY_F3;
}

bool isLine(InterruptsCtl::InterruptsType type)
{
    return type >= InterruptsCtl::VIDEO_INFO && type <= InterruptsCtl::KEY_F3;
}

} // namespace

InterruptsCtl::InterruptsCtl()
    : pl(PLControl::getInstance()), attachEvent(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

InterruptsCtl::~InterruptsCtl()
{
    running = false;
    {
        std::lock_guard<std::mutex> lock(wakeMutex);
        lineAdded = true;
    }
    wakeCondition.notify_all();
    wakeEventThread();
    std::lock_guard<std::mutex> lock(classMutex());
    keyCondition.notify_all();
    for (auto &interrupts : interruptsList)
        close(interrupts.get());
    interruptsList.clear();
}

void InterruptsCtl::wakeEventThread()
{
    const uint64_t one = 1;
    if (attachEvent >= 0 && ::write(attachEvent, &one, sizeof(one)) < 0 && errno != EAGAIN)
        console::error("wake interrupts thread failed\n");
}

bool InterruptsCtl::keyPending() const
{
    for (const auto &interrupts : interruptsList) {
        if (isKey(interrupts->type) && interrupts->pending)
            return true;
    }
    return false;
}

bool InterruptsCtl::attach(InterruptsType type, Callback callback)
{
    // Only the six lines exist; another number would re-arm bits of nothing.
    if (!isLine(type))
        return false;
    std::lock_guard<std::mutex> lock(classMutex());
    if (!running) {
        running = true;
        std::thread(&InterruptsCtl::loop, this).detach();
        std::thread(&InterruptsCtl::doInterrupts, this).detach();
    }

    for (auto &interrupts : interruptsList) {
        if (interrupts->type != type)
            continue;
        if (!callback)
            return true;
        if (interrupts->callback) {
            console::warning("attach interrupts:%d has been attached\n", static_cast<int>(type));
            return false;
        }
        interrupts->callback = std::move(callback);
        return true;
    }

    auto interrupts = std::make_unique<__interrupts>();
    interrupts->type = type;
    interrupts->callback = std::move(callback);
    if (!open(interrupts.get()))
        return false;
    interruptsList.push_back(std::move(interrupts));
    needArm = true;
    wakeEventThread();
    if (idle) {
        {
            std::lock_guard<std::mutex> wakeLock(wakeMutex);
            lineAdded = true;
        }
        wakeCondition.notify_one();
    }
    return true;
}

bool InterruptsCtl::attach(InterruptsType first, InterruptsType second, Callback callback)
{
    if (!isKey(first) || !isKey(second))
        return false;
    attach(first, Callback());
    attach(second, Callback());
    std::lock_guard<std::mutex> lock(classMutex());
    if (Callback *slot = pairCallback(first, second))
        *slot = std::move(callback);
    return true;
}

InterruptsCtl::Callback *InterruptsCtl::pairCallback(InterruptsType first, InterruptsType second)
{
    if (first == KEY_F1 && second == KEY_F2)
        return &keyF1F2;
    if (first == KEY_F1 && second == KEY_F3)
        return &keyF1F3;
    if (first == KEY_F2 && second == KEY_F3)
        return &keyF2F3;
    return nullptr;
}

bool InterruptsCtl::open(__interrupts *interrupts)
{
    interrupts->name = "/dev/uio" + std::to_string(static_cast<int>(interrupts->type));
    // Never let a terminal-like device become the controlling terminal.
    interrupts->fd = ::open(hw::path(interrupts->name).c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (interrupts->fd < 0) {
        console::error("open interruputs[%s] failed\n", interrupts->name.c_str());
        return false;
    }
    return true;
}

void InterruptsCtl::close(__interrupts *interrupts)
{
    if (interrupts->fd >= 0) {
        ::close(interrupts->fd);
        interrupts->fd = -1;
    }
}

bool InterruptsCtl::clear(__interrupts *interrupts)
{
    const auto line = static_cast<unsigned char>(interrupts->type);
    return clear(interrupts->fd, static_cast<unsigned char>(4 * line + 1), static_cast<unsigned char>(4 * line),
                 interrupts->name);
}

// Acknowledge in the logic, unmask the device, then enable the line; false
// when the unmask did not go through and the calling thread must end.
bool InterruptsCtl::clear(int fd, unsigned char ackBit, unsigned char enableBit, const std::string &name)
{
    unsigned int value = pl->getValue(FPGA_INIT_CTL);
    Bit::bitSet(value, ackBit);
    pl->setValue(FPGA_INIT_CTL, value);

    ssize_t written;
    do {
        written = ::write(fd, &unmask, sizeof(unmask));
    } while (written < 0 && errno == EINTR);
    if (written < static_cast<ssize_t>(sizeof(unmask))) {
        console::warning("enable %s interrupts failed\n", name.c_str());
        return false;
    }

    Bit::bitClear(value, ackBit);
    Bit::bitSet(value, enableBit);
    pl->setValue(FPGA_INIT_CTL, value);
    return true;
}

// One interrupt of a line. A read that fails closes the device: the line is
// never re-armed and never fires again, and its descriptor no longer wakes
// the event thread. False when the re-arm failed and the thread must end.
bool InterruptsCtl::readInterrupts(__interrupts *interrupts)
{
    uint32_t kernelCount = 0;
    ssize_t got;
    do {
        got = ::read(interrupts->fd, &kernelCount, sizeof(kernelCount));
    } while (got < 0 && errno == EINTR);
    if (got != static_cast<ssize_t>(sizeof(kernelCount))) {
        console::error("%s interrupts error\n", interrupts->name.c_str());
        close(interrupts);
        return true;
    }

    if (isKey(interrupts->type)) {
        interrupts->pending = true;
        ++interrupts->count;
        keyCondition.notify_one();
    } else if (interrupts->callback) {
        interrupts->callback(KEY_CLICKED, 0);
    }
    return clear(interrupts);
}

void InterruptsCtl::loop()
{
    nameThread("irq-event");
    while (running) {
        if (idle) {
            std::unique_lock<std::mutex> wakeLock(wakeMutex);
            wakeCondition.wait(wakeLock, [this] { return lineAdded; });
            idle = false;
        }

        fd_set readSet;
        FD_ZERO(&readSet);
        int highest = attachEvent;
        if (attachEvent >= 0)
            FD_SET(attachEvent, &readSet);
        {
            std::lock_guard<std::mutex> lock(classMutex());
            for (auto &interrupts : interruptsList) {
                if (interrupts->fd < 0)
                    continue;
                FD_SET(interrupts->fd, &readSet);
                if (interrupts->fd > highest)
                    highest = interrupts->fd;
            }
            if (needArm) {
                for (auto &interrupts : interruptsList) {
                    if (interrupts->armed || interrupts->fd < 0)
                        continue;
                    if (!clear(interrupts.get()))
                        return;
                    interrupts->armed = true;
                }
                needArm = false;
            }
        }

        // Nothing to do until a line fires or a line is attached.
        struct timeval fallback = {0, selectTimeoutUs};
        const int ready = ::select(highest + 1, &readSet, nullptr, nullptr, attachEvent >= 0 ? nullptr : &fallback);
        if (ready == 0 || (ready < 0 && errno == EINTR))
            continue;
        if (ready < 0) {
            wait(pacingMs);
            continue;
        }
        if (attachEvent >= 0 && FD_ISSET(attachEvent, &readSet)) {
            uint64_t attaches;
            while (::read(attachEvent, &attaches, sizeof(attaches)) > 0) {
            }
        }

        {
            std::lock_guard<std::mutex> lock(classMutex());
            for (auto &interrupts : interruptsList) {
                if (interrupts->fd < 0 || !FD_ISSET(interrupts->fd, &readSet))
                    continue;
                if (!readInterrupts(interrupts.get()))
                    return;
            }
        }
        wait(pacingMs);
    }
}

// Keeps successive iterations of the event thread at least ms apart. The
// pacing point is the end of the wait: taken before a sleep, it would let
// every other iteration through at once.
void InterruptsCtl::wait(int ms)
{
    struct timeval now;
    gettimeofday(&now, nullptr);
    if (!paced) {
        paced = true;
        pacedAt = now;
        return;
    }
    const bool backwards =
        now.tv_sec < pacedAt.tv_sec || (now.tv_sec == pacedAt.tv_sec && now.tv_usec < pacedAt.tv_usec);
    if (!backwards) {
        const long elapsed = (now.tv_usec - pacedAt.tv_usec) / 1000 + (now.tv_sec - pacedAt.tv_sec) * 1000;
        if (elapsed >= 0 && elapsed < ms) {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms - elapsed));
            gettimeofday(&now, nullptr);
        }
    }
    pacedAt = now;
}

// Polls the key levels every 20 ms while a key is being timed; with no key
// down it waits for the next key interrupt.
void InterruptsCtl::doInterrupts()
{
    nameThread("irq-keys");
    std::unique_lock<std::mutex> lock(classMutex());
    while (running) {
        keyCondition.wait(lock, [this] { return !running || keyPending(); });
        if (!running)
            break;
        __interrupts *keys[3] = {nullptr, nullptr, nullptr};
        for (auto &interrupts : interruptsList) {
            if (isKey(interrupts->type))
                keys[interrupts->type - KEY_F1] = interrupts.get();
        }

        // Pairs first, so that two keys held together give only their
        // combination; at most one combination a poll.
        const int pairs[3][2] = {{0, 1}, {0, 2}, {1, 2}};
        for (const auto &pair : pairs) {
            __interrupts *first = keys[pair[0]];
            __interrupts *second = keys[pair[1]];
            if (first != nullptr && second != nullptr && queryInterrupts(first, second))
                break;
        }
        for (__interrupts *key : keys) {
            if (key != nullptr && key->pending)
                queryInterrupts(key);
        }
        lock.unlock();
        std::this_thread::sleep_for(keyPollInterval);
        lock.lock();
    }
}

bool InterruptsCtl::queryInterrupts(__interrupts *first, __interrupts *second)
{
    if (!first->pending || !second->pending)
        return false;
    if (first->count <= combinationCounts || second->count <= combinationCounts)
        return false;
    Callback *callback = pairCallback(first->type, second->type);
    if (callback != nullptr && *callback)
        (*callback)(KEY_LONG_CLICKED, 0);
    for (__interrupts *key : {first, second}) {
        key->pending = false;
        key->count = 0;
    }
    return true;
}

void InterruptsCtl::queryInterrupts(__interrupts *key)
{
    bool down = false;
    Bit::bitGetValue(pl->getValue(SDI_IN_INFO), static_cast<uint8_t>(keyLevelBit + key->type - KEY_F1), down);
    key->pending = down;
    if (down) {
        if (key->count < longPressCounts) {
            ++key->count;
            return;
        }
        if (key->callback)
            key->callback(KEY_LONG_CLICKED, 0);
    } else {
        if (key->count < 1)
            return;
        if (key->callback)
            key->callback(KEY_CLICKED, 0);
    }
    key->pending = false;
    key->count = 0;
}
