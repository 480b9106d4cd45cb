#include "Application.h"
#include "LinuxSystem.h"

#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    static LinuxSystem linuxSystem;
    hw::installSystem(&linuxSystem);
    const int status = runApplication(argc, argv);
    // The controllers' threads run until the process ends: end it without
    // destroying the statics they still read.
    std::fflush(nullptr);
    _exit(status);
}
