#pragma once

#include "PLControl.h"
#include "Singleton.h"

#include <string>

// The register side of the calibration blocks that correct the panel: the
// calibration 3D LUT and the gamma block.
class CalibrateCtl : public Singleton<CalibrateCtl>
{
    friend class Singleton<CalibrateCtl>;

public:
    enum CalibrateType { CalibrateLut = 0, CalibrateGamma = 1 };

    // The LUT memory; the gamma block has none of its own (null).
    void *getAddr(CalibrateType type) const;
    // Latches the block's memory.
    void load(CalibrateType type);
    void enable(CalibrateType type, bool on);

    // Parses a cube file into the calibration LUT, latches and enables it; a
    // missing file or one that does not load leaves calibration as it was.
    bool loadFile(const std::string &path);

private:
    CalibrateCtl();

    PLControl &pl;
    void *memory;
};
