#include "PowerCtl.h"

#include "AppConfig.h"
#include "Console.h"
#include "HardwarePath.h"
#include "PLControl.h"
#include "ThreadName.h"
#include "UartAPI.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <future>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int powerButtonLine = 17;
constexpr int bothEdges = 3;
// Held low for 300 samples 10 ms apart: about three seconds.
constexpr int holdCount = 300;
constexpr std::chrono::milliseconds pressedPeriod(10);
constexpr std::chrono::milliseconds releasedPeriod(30);
constexpr std::chrono::milliseconds resetDelay(100);
constexpr std::chrono::seconds powerOffDelay(1);
constexpr std::chrono::seconds settingsSaveWait(3);
constexpr unsigned int resetSystemWord = 0x0C006000;
constexpr uint8_t mcuPowerOff = 0x0D;

// The settings store belongs to the user-interface thread: other threads have
// it saved there and wait, unless that thread does not answer in time.
void saveSettings()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (application == nullptr || QThread::currentThread() == application->thread()) {
        AppConfig::getInstance()->save();
        return;
    }
    auto saved = std::make_shared<std::promise<void>>();
    std::future<void> done = saved->get_future();
    QMetaObject::invokeMethod(
        application,
        [saved] {
            AppConfig::getInstance()->save();
            saved->set_value();
        },
        Qt::QueuedConnection);
    if (done.wait_for(settingsSaveWait) != std::future_status::ready)
        console::warning("settings not saved before power off\n");
}

} // namespace

PowerCtl::PowerCtl() : GpioCtrl(powerButtonLine, GPIO_INPUT), plControl(*PLControl::getInstance())
{
    std::thread(&PowerCtl::eventLoop, this).detach();
}

void PowerCtl::powerOff()
{
    saveSettings();
    for (int i = 0; i < 3; ++i)
        ::sync();
    std::this_thread::sleep_for(powerOffDelay);
    const uint8_t off = 0;
    UartSendValue(mcuPowerOff, &off, 1);
}

// While the button is up the thread sleeps until the line changes; while it
// is held the line is sampled on a fixed cadence (deadlines, not sleeps) so
// that the hold time does not stretch on a busy system; after a stall the
// cadence starts again from now instead of catching up with a burst of
// samples.
void PowerCtl::eventLoop()
{
    nameThread("power-button");
    if (!gpioOpen())
        return;
    const int changes = watchLine();
    auto next = std::chrono::steady_clock::now();
    for (;;) {
        // Low means pressed; a failed read counts as released.
        if (readNumber(fd) != 0) {
            lowCount = 0;
            if (changes >= 0) {
                waitForChange(changes);
                next = std::chrono::steady_clock::now();
                continue;
            }
            next += releasedPeriod;
        } else if (++lowCount >= holdCount) {
            console::print("system power off\n");
            lowCount = 0;
            powerOff();
            std::this_thread::sleep_for(resetDelay);
            plControl.setValue(RESET_SYSTEM, resetSystemWord);
        } else {
            next += pressedPeriod;
        }
        next = std::max(next, std::chrono::steady_clock::now());
        std::this_thread::sleep_until(next);
    }
}

// The kernel marks an edge of the line as urgent data on its value file; a
// plain file standing in for the line shows a change only as a write, which
// the change notification sees.
int PowerCtl::watchLine()
{
    if (!gpioEdge(bothEdges))
        return -1;
    const int changes = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (changes < 0)
        return -1;
    const std::string value = hw::path("/sys/class/gpio/gpio" + std::to_string(sysfsNumber()) + "/value");
    if (inotify_add_watch(changes, value.c_str(), IN_MODIFY | IN_CLOSE_WRITE) < 0) {
        ::close(changes);
        return -1;
    }
    return changes;
}

void PowerCtl::waitForChange(int changes)
{
    struct pollfd watched[2] = {{fd, POLLPRI, 0}, {changes, POLLIN, 0}};
    while (::poll(watched, 2, -1) < 0 && errno == EINTR) {
    }
    char events[sizeof(struct inotify_event) * 16];
    while (::read(changes, events, sizeof(events)) > 0) {
    }
}
