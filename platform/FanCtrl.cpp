#include "FanCtrl.h"

#include "Console.h"
#include "HardwarePath.h"
#include "PowerCtl.h"
#include "ThreadName.h"
#include "TimeCode.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <unistd.h>

const char *const FanCtrl::temperatureFile = "/sys/bus/iio/devices/iio:device0/in_temp0_raw";

namespace {

constexpr int fanLowLine = 12;
constexpr int fanHighLine = 13;
constexpr size_t rawReadSize = 40;
// The die sensor: degrees = raw x 503.975 / 4096 - 273.15.
constexpr double rawFullScale = 503.975;
constexpr double rawSteps = 4096.0;
constexpr double kelvinOffset = 273.15;
// Off below 50, low from 55 to below 70, high from 75; nothing changes in
// between.
constexpr double offBelow = 50.0;
constexpr double lowFrom = 55.0;
constexpr double lowBelow = 70.0;
constexpr double highFrom = 75.0;
constexpr double shutdownFrom = 100.0;
constexpr std::chrono::seconds tick(1);
constexpr std::chrono::seconds shutdownDelay(10);

// The raw sensor value; false when the file gave nothing readable.
bool readRaw(int descriptor, long &raw)
{
    char text[rawReadSize + 1];
    const ssize_t count = ::pread(descriptor, text, rawReadSize, 0);
    if (count <= 0)
        return false;
    text[count] = '\0';
    char *end = nullptr;
    raw = std::strtol(text, &end, 10);
    return end != text;
}

} // namespace

FanCtrl::FanCtrl()
    : fanLine1(fanLowLine, GpioCtrl::GPIO_OUTPUT), fanLine2(fanHighLine, GpioCtrl::GPIO_OUTPUT)
{
    setFanMode(FAN_OFF);
    std::thread(&FanCtrl::fanAutoControl, this).detach();
}

FanCtrl::~FanCtrl()
{
    running = false;
}

void FanCtrl::setFanMode(FanMode newMode)
{
    mode = newMode;
    switch (newMode) {
    case FAN_OFF:
        fanLine1.setValue(0);
        fanLine2.setValue(0);
        break;
    case FAN_LOW:
        fanLine2.setValue(0);
        fanLine1.setValue(1);
        break;
    case FAN_HIGH:
        fanLine1.setValue(0);
        fanLine2.setValue(1);
        break;
    }
}

void FanCtrl::setState(FanState newState)
{
    std::lock_guard<std::mutex> lock(classMutex());
    state = newState;
    if (newState == FAN_ON)
        setFanMode(FAN_LOW);
    else if (newState == FAN_CLOSE)
        setFanMode(FAN_OFF);
}

void FanCtrl::fanAutoControl()
{
    nameThread("fan");
    const int descriptor = ::open(hw::path(temperatureFile).c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        console::error("open temperature detect file error\n");
        return;
    }
    while (running) {
        long raw = 0;
        if (readRaw(descriptor, raw)) {
            const double celsius = raw * rawFullScale / rawSteps - kelvinOffset;
            {
                // Held over the whole decision, so that a user's choice made
                // meanwhile is not overridden by this tick.
                std::lock_guard<std::mutex> lock(classMutex());
                if (state == FAN_AUTO)
                    autoControl(celsius);
            }
            temperature = celsius;
            if (celsius >= shutdownFrom) {
                std::this_thread::sleep_for(shutdownDelay);
                PowerCtl::getInstance()->powerOff();
                break;
            }
        }
        std::this_thread::sleep_for(tick);
    }
    ::close(descriptor);
}

void FanCtrl::autoControl(double celsius)
{
    const bool recording = TimeCode::getInstance()->getSDIRecStatus();
    if (recording != recordingSeen) {
        recordingSeen = recording;
        if (recording) {
            modeBeforeRecording = mode;
            if (mode != FAN_OFF)
                setFanMode(FAN_OFF);
        } else if (modeBeforeRecording != mode) {
            setFanMode(modeBeforeRecording);
        }
    }
    if (recording)
        return;
    if (celsius < offBelow) {
        if (mode != FAN_OFF)
            setFanMode(FAN_OFF);
    } else if (celsius >= lowFrom && celsius < lowBelow) {
        if (mode != FAN_LOW)
            setFanMode(FAN_LOW);
    } else if (celsius >= highFrom) {
        if (mode != FAN_HIGH)
            setFanMode(FAN_HIGH);
    }
}
