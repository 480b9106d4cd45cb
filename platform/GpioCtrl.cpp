#include "GpioCtrl.h"

#include "Console.h"
#include "HardwarePath.h"
#include "ThreadName.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/select.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr const char *exportFile = "/sys/class/gpio/export";
constexpr const char *gpioDirFormat = "/sys/class/gpio/gpio%d";
constexpr size_t valueReadSize = 20;
constexpr long edgeWaitUs = 30000;

enum class WriteResult { Written, OpenFailed, WriteFailed };

// One write of text to a sysfs attribute, with its terminating zero byte when
// asked for.
WriteResult writeAttribute(const std::string &path, const char *text, bool withTerminator)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (descriptor < 0)
        return WriteResult::OpenFailed;
    const size_t length = std::strlen(text) + (withTerminator ? 1 : 0);
    const ssize_t written = ::write(descriptor, text, length);
    ::close(descriptor);
    return written == static_cast<ssize_t>(length) ? WriteResult::Written : WriteResult::WriteFailed;
}

const char *edgeName(int mode)
{
    switch (mode) {
    case 0:
        return "none";
    case 1:
        return "rising";
    case 2:
        return "falling";
    default:
        return "both";
    }
}

// Whether a change of level from before to after is an edge of the mode.
bool isEdge(int mode, int before, int after)
{
    if (before < 0 || after < 0 || before == after)
        return false;
    switch (mode) {
    case 0:
        return false;
    case 1:
        return after != 0;
    case 2:
        return after == 0;
    default:
        return true;
    }
}

} // namespace

GpioCtrl::GpioCtrl(int line, GpioDirection direction) : gpioNumber(line + gpioBase), direction(direction)
{
    if (!isGpioExist() && gpioExport())
        gpioDirection();
}

GpioCtrl::~GpioCtrl()
{
    if (loopRunning)
        *loopRunning = false;
    gpioClose();
}

std::string GpioCtrl::gpioPath(const char *attribute) const
{
    char dir[48];
    std::snprintf(dir, sizeof(dir), gpioDirFormat, gpioNumber);
    return hw::path(std::string(dir) + "/" + attribute);
}

bool GpioCtrl::isGpioExist() const
{
    char dir[48];
    std::snprintf(dir, sizeof(dir), gpioDirFormat, gpioNumber);
    return ::access(hw::path(dir).c_str(), F_OK) == 0;
}

bool GpioCtrl::gpioExport()
{
    const std::string number = std::to_string(gpioNumber);
    switch (writeAttribute(hw::path(exportFile), number.c_str(), true)) {
    case WriteResult::OpenFailed:
        console::error("Cannot open GPIO to export it\n");
        return false;
    case WriteResult::WriteFailed:
        console::error("export GPIO:%d error\n", gpioNumber);
        return false;
    case WriteResult::Written:
        break;
    }
    return true;
}

bool GpioCtrl::gpioDirection()
{
    const char *text = direction == GPIO_OUTPUT ? "out" : "in";
    switch (writeAttribute(gpioPath("direction"), text, true)) {
    case WriteResult::OpenFailed:
        console::print("Cannot open GPIO:%d direction it\n", gpioNumber);
        return false;
    case WriteResult::WriteFailed:
        console::error("modify GPIO:%d direction to %s error\n", line(), text);
        return false;
    case WriteResult::Written:
        break;
    }
    return true;
}

int GpioCtrl::openValue() const
{
    const std::string path = gpioPath("value");
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (descriptor < 0)
        console::error("open %s error\n", path.c_str());
    return descriptor;
}

bool GpioCtrl::gpioOpen()
{
    if (fd >= 0)
        return true;
    const int descriptor = openValue();
    if (descriptor < 0)
        return false;
    int closed = -1;
    if (!fd.compare_exchange_strong(closed, descriptor))
        ::close(descriptor);
    return true;
}

void GpioCtrl::gpioClose()
{
    const int descriptor = fd.exchange(-1);
    if (descriptor >= 0)
        ::close(descriptor);
}

int GpioCtrl::readNumber(int descriptor)
{
    char text[valueReadSize + 1];
    // Always from the start: a sysfs value is produced anew by every read.
    const ssize_t count = ::pread(descriptor, text, valueReadSize, 0);
    if (count <= 0)
        return -1;
    text[count] = '\0';
    char *end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return end == text ? -1 : static_cast<int>(value);
}

// Each access has a descriptor of its own, so that threads sharing a line do
// not close each other's. A value file that cannot be opened is a failure.
bool GpioCtrl::setValue(int value)
{
    const int descriptor = openValue();
    if (descriptor < 0)
        return false;
    const std::string text = std::to_string(value);
    const ssize_t length = static_cast<ssize_t>(text.size() + 1);
    const bool written = ::write(descriptor, text.c_str(), static_cast<size_t>(length)) == length;
    ::close(descriptor);
    if (!written)
        console::error("set GPIO:%d to %d error\n", line(), value);
    return written;
}

int GpioCtrl::getValue()
{
    const int descriptor = openValue();
    if (descriptor < 0)
        return -1;
    const int value = readNumber(descriptor);
    ::close(descriptor);
    if (value < 0)
        console::error("get GPIO:%d error\n", line());
    return value;
}

bool GpioCtrl::gpioEdge(int mode)
{
    switch (writeAttribute(gpioPath("edge"), edgeName(mode), false)) {
    case WriteResult::OpenFailed:
        console::error("Failed to open gpio edge for writing!\n");
        return false;
    case WriteResult::WriteFailed:
        console::error("Failed to set edge!\n");
        return false;
    case WriteResult::Written:
        break;
    }
    return true;
}

bool GpioCtrl::enableInterrupts(std::function<void()> callback, int mode)
{
    if (!gpioEdge(mode))
        return false;
    if (loopRunning)
        *loopRunning = false;
    loopRunning = std::make_shared<std::atomic<bool>>(true);
    std::thread(gpioLoop, gpioPath("value"), mode, std::move(callback), loopRunning).detach();
    return true;
}

// The kernel marks an edge on a sysfs value file as an exceptional condition.
// A file that cannot signal one (a plain file standing in for the line) is
// watched by its level instead: a change of level between two waits that
// matches the edge mode counts as the edge.
void GpioCtrl::gpioLoop(std::string valuePath, int edgeMode, std::function<void()> callback,
                        std::shared_ptr<std::atomic<bool>> running)
{
    nameThread("gpio-edge");
    const int descriptor = ::open(valuePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        console::error("open %s error\n", valuePath.c_str());
        return;
    }
    // Reading once arms the edge.
    int level = readNumber(descriptor);
    while (*running) {
        fd_set exceptions;
        FD_ZERO(&exceptions);
        FD_SET(descriptor, &exceptions);
        timeval timeout{0, edgeWaitUs};
        const int ready = ::select(descriptor + 1, nullptr, nullptr, &exceptions, &timeout);
        if (ready < 0 && errno != EINTR)
            break;
        const int now = readNumber(descriptor);
        if ((ready > 0 || isEdge(edgeMode, level, now)) && callback)
            callback();
        if (now >= 0)
            level = now;
    }
    ::close(descriptor);
}
