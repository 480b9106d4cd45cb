#pragma once

#include "Lut1D.h"
#include "PLControl.h"
#include "Singleton.h"

// The display gamma: one of three curves (2.2, 2.4, 2.6) read from its curve
// file into the logic's tone-curve table. The table is shared with the HDR
// curves, which exclude the gamma.
class GammaCtl : public Singleton<GammaCtl>
{
    friend class Singleton<GammaCtl>;

public:
    // 22, 24 or 26; any other value means 24. The curve is uploaded only
    // while the gamma is enabled.
    void setGammaValue(int value);
    void gammaEnable(bool on);
    bool getGammaEnable() const;
    // The own table into the logic's memory, flushed.
    void tableLoad();

private:
    GammaCtl();

    PLControl &pl;
    bool enabled = false;
    int table[Lut1D::tableWords] = {};
    void *memory;
    unsigned int memorySize;
    Lut1D &lut1D;
};
