#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

// One general-purpose I/O line of the SoC through the sysfs GPIO interface.
// Lines are given by the board's numbering; sysfs numbers them from the first
// line of the SoC's controller on. Controllers own a line or derive from it.
class GpioCtrl
{
public:
    enum GpioDirection { GPIO_INPUT = 0, GPIO_OUTPUT = 1 };

    // Exports the line and sets its direction unless it exists already; an
    // existing line keeps whatever direction it has.
    GpioCtrl(int line, GpioDirection direction);
    virtual ~GpioCtrl();
    GpioCtrl(const GpioCtrl &) = delete;
    GpioCtrl &operator=(const GpioCtrl &) = delete;

    bool isGpioExist() const;
    bool gpioExport();
    bool gpioDirection();

    // Opens the value file read-write and keeps the descriptor.
    bool gpioOpen();
    void gpioClose();

    // Each opens the value file for the one access and closes it again.
    bool setValue(int value);
    int getValue();

    // 0 none, 1 rising, 2 falling, anything else both edges.
    bool gpioEdge(int mode);
    // Sets the edge and calls callback on every edge from a thread of its own,
    // which ends with this object.
    bool enableInterrupts(std::function<void()> callback, int mode);

    int sysfsNumber() const { return gpioNumber; }

    // The sysfs number of the SoC controller's first line.
    static constexpr int gpioBase = 906;

protected:
    // The decimal number in the first bytes of a value file; -1 when there is
    // none (a failed or empty read).
    static int readNumber(int descriptor);

    std::atomic<int> fd{-1};
    const int gpioNumber;
    const GpioDirection direction;

private:
    std::string gpioPath(const char *attribute) const;
    int openValue() const;
    static void gpioLoop(std::string valuePath, int edgeMode, std::function<void()> callback,
                         std::shared_ptr<std::atomic<bool>> running);

    int line() const { return gpioNumber - gpioBase; }

    std::shared_ptr<std::atomic<bool>> loopRunning;
};
