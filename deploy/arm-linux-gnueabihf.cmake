# Cross build for the monitor's 32-bit ARM system-on-chip, against Debian's
# armhf packages installed beside the PC's own (multiarch): scripts/cross.sh
# installs them, configures build-arm with this file and builds.
#
# Qt's build tools (moc, uic, rcc, lrelease) and the icon renderer are the
# PC's; the project's own generators are built for the PC too (data/). Target
# programs run on the PC through the user-mode emulator, as CTest and the
# test-discovery step need.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_C_COMPILER arm-linux-gnueabihf-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabihf-g++)
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabihf)
# GCC notes where GCC 7.1 changed how some arguments are passed on ARM; that
# matters only when linking with code built by a GCC older than that, and
# nothing the device runs is.
set(CMAKE_CXX_FLAGS_INIT "-Wno-psabi")

find_program(FIELDMON_EMULATOR qemu-arm-static)
if(FIELDMON_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${FIELDMON_EMULATOR})
endif()

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
