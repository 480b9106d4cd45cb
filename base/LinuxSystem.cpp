#include "LinuxSystem.h"

#include <sys/ioctl.h>
#include <sys/reboot.h>
#include <unistd.h>

void LinuxSystem::restart()
{
    ::sync();
    ::reboot(RB_AUTOBOOT);
}

bool LinuxSystem::setClock(const struct timeval &time)
{
    return ::settimeofday(&time, nullptr) == 0;
}

int LinuxSystem::spiIoctl(int fd, unsigned long request, void *argument)
{
    return ::ioctl(fd, request, argument);
}
