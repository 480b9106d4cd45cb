#pragma once

#include "System.h"

// The device's system effects: the real reboot, settimeofday and spidev ioctl.
// Linked only into the device executable.
class LinuxSystem : public hw::System
{
public:
    void restart() override;
    bool setClock(const struct timeval &time) override;
    int spiIoctl(int fd, unsigned long request, void *argument) override;
};
