#include "GammaCtl.h"

#include "Console.h"
#include "PLField.h"
#include "LoadStrobe.h"

#include <algorithm>
#include <cstring>

GammaCtl::GammaCtl()
    : pl(*PLControl::getInstance()),
      memory(pl.getMemAddr(PLMemory::GAMMA_INDEX0)),
      memorySize(pl.getMemSize(PLMemory::GAMMA_INDEX0)),
      lut1D(*Lut1D::getInstance())
{
}

void GammaCtl::setGammaValue(int value)
{
    const char *file = value == 22 ? "gamma22.cube" : value == 26 ? "gamma26.cube" : "gamma24.cube";
    if (!lut1D.load(file, table)) {
        console::error("%s file is not exist\n", file);
        return;
    }
    if (enabled) {
        tableLoad();
        loadStrobe(pl, CALI_GAMMA_CTL);
    }
}

void GammaCtl::gammaEnable(bool on)
{
    enabled = on;
    if (on) {
        tableLoad();
        loadStrobe(pl, CALI_GAMMA_CTL);
    }
    plfield::setBit(&pl, CALI_GAMMA_CTL, 0, on);
}

bool GammaCtl::getGammaEnable() const
{
    return enabled;
}

void GammaCtl::tableLoad()
{
    if (memory == nullptr)
        return;
    std::memcpy(memory, table, std::min<size_t>(sizeof(table), memorySize));
    pl.SyncMem(PLMemory::GAMMA_INDEX0);
}
