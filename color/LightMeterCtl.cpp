#include "LightMeterCtl.h"

#include "ColourStandard.h"
#include "PLField.h"

namespace {

constexpr unsigned int componentMask = 0x3FFu;
constexpr unsigned int sampleMask = 0x3FFFFFFFu;

float component(uint32_t sample, int index)
{
    return static_cast<float>((sample >> (10 * index)) & componentMask);
}

} // namespace

LightMeterCtl::LightMeterCtl()
    : pl(*PLControl::getInstance()),
      rec709(*Rec709::getInstance()),
      dciP3(*DCIP3::getInstance()),
      bt2020(*BT2020::getInstance())
{
}

void LightMeterCtl::lightMeterEnable(bool on)
{
    plfield::setBit(&pl, LIGHT_METER_CTL, 0, on);
}

void LightMeterCtl::setLightMeterPosition(int x, int y)
{
    plfield::write(&pl, LIGHT_METER_CTL, 4, 15, static_cast<unsigned int>(x));
    plfield::write(&pl, LIGHT_METER_CTL, 16, 27, static_cast<unsigned int>(y));
}

void LightMeterCtl::setLightMeterType(LightMeterType meterType, CscCtl::MatrixType matrixType)
{
    type = meterType;
    range = matrixType == CscCtl::MatrixRGB ? CscCtl::MatrixVideo : matrixType;
}

CscCtl::MatrixType LightMeterCtl::getLightMeterRange() const
{
    return range;
}

void LightMeterCtl::setColourType(CscCtl::ColourType colour)
{
    colourType = colour;
}

bool LightMeterCtl::lightMeterValue(float &y, float &cb, float &cr, float &r, float &g, float &b)
{
    const uint32_t raw = pl.getValue(LIGHT_METER_INFO);
    if (raw == lastSample)
        return false;
    // The raw word decides whether the sample is new, so one with bit 30 or
    // 31 set always counts as new.
    lastSample = raw & sampleMask;

    ColourStandard *standard = nullptr;
    switch (colourType) {
    case CscCtl::Rec709:
        standard = &rec709;
        break;
    case CscCtl::DCIP3:
        standard = &dciP3;
        break;
    case CscCtl::BT2020:
        standard = &bt2020;
        break;
    }

    if (type == LightMeterYCbCr) {
        cb = component(lastSample, 0);
        y = component(lastSample, 1);
        cr = component(lastSample, 2);
        if (standard != nullptr)
            standard->convertRGB(range, y, cb, cr, r, g, b);
    } else {
        b = component(lastSample, 0);
        g = component(lastSample, 1);
        r = component(lastSample, 2);
        if (standard != nullptr)
            standard->convertYCbCr(range, r, g, b, y, cb, cr);
    }
    return true;
}
