#include "Application.h"
#include "LinuxSystem.h"

int main(int argc, char **argv)
{
    static LinuxSystem linuxSystem;
    hw::installSystem(&linuxSystem);
    return runApplication(argc, argv);
}
