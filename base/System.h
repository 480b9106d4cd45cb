#pragma once

#include <sys/time.h>

// The effects that must never reach a developer's PC: restarting the machine,
// setting the system clock and driving the SPI bus. The device entry installs
// the Linux implementation, the virtual board one that records the calls and
// acts them out. Until one is installed every effect is refused with an error.
namespace hw {

class System
{
public:
    virtual ~System() = default;

    // Restarts the machine; returns only where the restart did not happen.
    virtual void restart() = 0;
    // Sets the system clock; false when that was refused.
    virtual bool setClock(const struct timeval &time) = 0;
    // One spidev request (SPI_IOC_*) on a descriptor the caller opened; the
    // ioctl convention: -1 on failure, otherwise 0 or the request's result.
    virtual int spiIoctl(int fd, unsigned long request, void *argument) = 0;
};

// The installed implementation; it must outlive every caller.
void installSystem(System *system);
System &system();

} // namespace hw
