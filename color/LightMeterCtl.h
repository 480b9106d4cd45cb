#pragma once

#include "CscCtl.h"
#include "PLControl.h"
#include "Singleton.h"

#include <cstdint>

class Rec709;
class DCIP3;
class BT2020;

// The light meter: the logic samples one picture point; this places the point,
// reads the sample back and converts it with the selected colour standard, so
// that YCbCr and RGB are both available whichever the source delivers.
class LightMeterCtl : public Singleton<LightMeterCtl>
{
    friend class Singleton<LightMeterCtl>;

public:
    enum LightMeterType { LightMeterYCbCr = 0, LightMeterRGB = 1 };

    void lightMeterEnable(bool on);
    // In input pixels and lines.
    void setLightMeterPosition(int x, int y);
    // An RGB source's range is stored as video range.
    void setLightMeterType(LightMeterType type, CscCtl::MatrixType range);
    CscCtl::MatrixType getLightMeterRange() const;
    void setColourType(CscCtl::ColourType type);

    // False, with the outputs untouched, while the sample is unchanged;
    // otherwise all six 10-bit values are written.
    bool lightMeterValue(float &y, float &cb, float &cr, float &r, float &g, float &b);

private:
    LightMeterCtl();

    PLControl &pl;
    uint32_t lastSample = 0;
    Rec709 &rec709;
    DCIP3 &dciP3;
    BT2020 &bt2020;
    LightMeterType type = LightMeterYCbCr;
    CscCtl::MatrixType range = CscCtl::MatrixVideo;
    CscCtl::ColourType colourType = CscCtl::Rec709;
};
