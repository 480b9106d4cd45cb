#include "PowerCtl.h"

#include "AppConfig.h"
#include "Console.h"
#include "PLControl.h"
#include "UartAPI.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <unistd.h>

namespace {

constexpr int powerButtonLine = 17;
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

// The line is sampled on a fixed cadence (deadlines, not sleeps) so that the
// hold time does not stretch on a busy system; after a stall the cadence
// starts again from now instead of catching up with a burst of samples.
void PowerCtl::eventLoop()
{
    if (!gpioOpen())
        return;
    auto next = std::chrono::steady_clock::now();
    for (;;) {
        // Low means pressed; a failed read counts as released.
        if (readNumber(fd) != 0) {
            lowCount = 0;
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
