#include "HDRCtl.h"

#include "Console.h"
#include "PLField.h"
#include "LoadStrobe.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// SMPTE ST 2084 constants.
constexpr double inverseM2 = 0.012683313515655966; // 1 / 78.84375
constexpr double c1 = 0.8359375;
constexpr double c2 = 18.8515625;
constexpr double c3 = 18.6875;
constexpr double inverseM1 = 6.277394636015326;
constexpr double peakLuminance = 10000.0;

// The panel shows the PQ signal linearly up to about 1494 cd/m2 and clips
// above: code 817 would be full scale.
constexpr uint32_t clipLuminance = 1494;
constexpr float fullScaleCode = 817.0f;
constexpr float codeMax = 1023.0f;
constexpr unsigned int codeMask = 1023;

constexpr const char *hlgFile = "gammaHLG.cube";

int grey(unsigned int value)
{
    return static_cast<int>((value << 20) | (value << 10) | value);
}

} // namespace

HDRCtl::HDRCtl()
    : pl(*PLControl::getInstance()),
      memory(pl.getMemAddr(PLMemory::GAMMA_INDEX0)),
      memorySize(pl.getMemSize(PLMemory::GAMMA_INDEX0)),
      lut1D(*Lut1D::getInstance())
{
    tableInit();
}

double HDRCtl::max(double a, double b)
{
    return a > b ? a : b;
}

uint32_t HDRCtl::pqLuminance(int code)
{
    const double e = std::pow(code / 1023.0, inverseM2);
    const double y = std::pow(max(e - c1, 0.0) / (c2 - c3 * e), inverseM1);
    return static_cast<uint32_t>(y * peakLuminance);
}

void HDRCtl::tableInit()
{
    for (int v = 0; v < Lut1D::tableWords; ++v) {
        const auto stretched = static_cast<unsigned int>(static_cast<float>(v) / fullScaleCode * codeMax);
        pqTable[v] = grey(pqLuminance(v) <= clipLuminance ? stretched : codeMask);
    }
    if (!lut1D.load(hlgFile, hlgTable))
        console::error("%s file is not exist\n", hlgFile);
}

void HDRCtl::tableLoad()
{
    if (memory == nullptr)
        return;
    const int *table = type == HDRHLG ? hlgTable : pqTable;
    std::memcpy(memory, table, std::min<size_t>(sizeof(pqTable), memorySize));
    pl.SyncMem(PLMemory::GAMMA_INDEX0);
}

void HDRCtl::HDREnable(bool on)
{
    if (on) {
        tableLoad();
        loadStrobe(pl, CALI_GAMMA_CTL);
    }
    plfield::setBit(&pl, CALI_GAMMA_CTL, 0, on);
}
