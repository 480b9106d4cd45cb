#include "PLFunction.h"

namespace {

struct RegionRecord {
    const char *name;
    unsigned int address;
    unsigned int size;
};

constexpr unsigned int lut3dBytes = 17 * 17 * 17 * 4;

constexpr RegionRecord regions[PLMemory::memoryCount] = {
    {"LUT3D_MEMORY0", 0x39001000, lut3dBytes},
    {"LUT3D_MEMORY1", 0x39007000, lut3dBytes},
    {"FRAME_SAVE", 0x3A000000, 0x1000000},
    {"FRAME_LOAD", 0x3B000000, 0x1000000},
    {"GAMMA_INDEX0", 0x39000000, 4096},
    {"GAMMA_INDEX1", 0x39006000, 4096},
};

bool known(PLMemory::MemoryIndex index)
{
    return index >= 0 && index < PLMemory::memoryCount;
}

} // namespace

PLMemory::PLMemory(MemoryIndex index)
    : DeviceMem(name(index), getPhyicsAddr(index), getPhyicsSize(index))
{
}

unsigned int PLMemory::getPhyicsAddr(MemoryIndex index)
{
    return known(index) ? regions[index].address : 0;
}

unsigned int PLMemory::getPhyicsSize(MemoryIndex index)
{
    return known(index) ? regions[index].size : 0;
}

const char *PLMemory::name(MemoryIndex index)
{
    return known(index) ? regions[index].name : "";
}
