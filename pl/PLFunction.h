#pragma once

#include "DeviceMem.h"

// A single 32-bit register of the programmable logic.
class PLFunction : public DeviceMem
{
public:
    PLFunction(const std::string &name, unsigned int physicalAddress)
        : DeviceMem(name, physicalAddress, 4)
    {
    }
    ~PLFunction() override = default;
};

// A memory region shared between the programmable logic and the application.
class PLMemory : public DeviceMem
{
public:
    enum MemoryIndex {
        LUT3D_MEMORY0 = 0,
        LUT3D_MEMORY1 = 1,
        FRAME_SAVE = 2,
        FRAME_LOAD = 3,
        GAMMA_INDEX0 = 4,
        GAMMA_INDEX1 = 5,
    };
    static constexpr int memoryCount = 6;

    explicit PLMemory(MemoryIndex index);
    ~PLMemory() override = default;

    static unsigned int getPhyicsAddr(MemoryIndex index);
    static unsigned int getPhyicsSize(MemoryIndex index);
    static const char *name(MemoryIndex index);
};
