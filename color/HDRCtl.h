#pragma once

#include "Lut1D.h"
#include "PLControl.h"
#include "Singleton.h"

#include <cstdint>

// The HDR display curves in the logic's tone-curve table: the PQ curve,
// computed here, or the HLG curve read from "gammaHLG.cube". Both tables are
// built once, at construction.
class HDRCtl : public Singleton<HDRCtl>
{
    friend class Singleton<HDRCtl>;

public:
    enum HDRType { HDRPQ = 0, HDRHLG = 1 };

    // Panel luminance in cd/m2 (truncated) that the PQ curve gives a 10-bit
    // code value.
    static uint32_t pqLuminance(int code);

    void tableInit();
    // The table of the current type into the logic's memory, flushed.
    void tableLoad();
    void HDREnable(bool on);

    // Set by the HDR page from the setting "colorHDRType".
    HDRType type = HDRPQ;

private:
    HDRCtl();

    static double max(double a, double b);

    PLControl &pl;
    int pqTable[Lut1D::tableWords] = {};
    int hlgTable[Lut1D::tableWords] = {};
    void *memory;
    unsigned int memorySize;
    Lut1D &lut1D;
};
