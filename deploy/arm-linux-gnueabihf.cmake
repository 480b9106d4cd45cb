# Cross build for the monitor's 32-bit ARM system-on-chip:
#   cmake -S . -B build-arm -DCMAKE_TOOLCHAIN_FILE=deploy/arm-linux-gnueabihf.cmake \
#         -DCMAKE_PREFIX_PATH=<sysroot>/usr/lib/arm-linux-gnueabihf/cmake -DBUILD_TESTING=OFF \
#         -DFIELDMON_BENCH=OFF
# The sysroot must hold Qt 5.15 for the target; only the `fieldmon` target is installed.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_C_COMPILER arm-linux-gnueabihf-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabihf-g++)
if(DEFINED ENV{FIELDMON_SYSROOT})
    set(CMAKE_SYSROOT $ENV{FIELDMON_SYSROOT})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
