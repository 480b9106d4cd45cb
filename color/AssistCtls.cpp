#include "AssistCtls.h"

#include "PLField.h"

namespace {

constexpr int bandCount = 12;
constexpr uint8_t firstBandBit = 4;
// The band field and the spare bit above it, cleared together.
constexpr uint8_t lastBandFieldBit = 16;

constexpr uint16_t maxLuminance = 65535;
constexpr uint16_t maxOpacity = 1023;
constexpr unsigned int sixteenBits = 0xFFFFu;

} // namespace

ZebraCtl::ZebraCtl() : pl(*PLControl::getInstance()) {}

void ZebraCtl::zebraEnable(bool on)
{
    plfield::setBit(&pl, ZEBRA_LINE_CTL, 0, on);
}

void ZebraCtl::zebraThreshold(int low, int high)
{
    plfield::write(&pl, ZEBRA_LINE_CTL, 4, 13, static_cast<unsigned int>(low));
    plfield::write(&pl, ZEBRA_LINE_CTL, 16, 25, static_cast<unsigned int>(high));
}

void ZebraCtl::zebraRGBColor(int r, int g, int b)
{
    plfield::write(&pl, ZEBRA_COLOR_SET, 0, 9, static_cast<unsigned int>(r));
    plfield::write(&pl, ZEBRA_COLOR_SET, 10, 19, static_cast<unsigned int>(g));
    plfield::write(&pl, ZEBRA_COLOR_SET, 20, 29, static_cast<unsigned int>(b));
}

void ZebraCtl::zebraYCbCcColor(int y, int cb, int cr)
{
    plfield::write(&pl, ZEBRA_COLOR_SET, 0, 9, static_cast<unsigned int>(cb));
    plfield::write(&pl, ZEBRA_COLOR_SET, 10, 19, static_cast<unsigned int>(y));
    plfield::write(&pl, ZEBRA_COLOR_SET, 20, 29, static_cast<unsigned int>(cr));
}

int ZebraCtl::percentToLevel(int percent)
{
    return static_cast<int>(64 + percent / 109.0 * 959);
}

PseudoCtl::PseudoCtl() : pl(*PLControl::getInstance()) {}

void PseudoCtl::PseudoEnable(bool on)
{
    plfield::setBit(&pl, FALSE_COLOR_CTL, 0, on);
}

void PseudoCtl::PseudoEnableIndex(int band, bool on)
{
    if (band < 0 || band >= bandCount)
        return;
    plfield::setBit(&pl, FALSE_COLOR_CTL, static_cast<uint8_t>(firstBandBit + band), on);
}

void PseudoCtl::PseudoEnableIndex(unsigned short mask)
{
    const unsigned int bands = mask & ((1u << bandCount) - 1u);
    plfield::write(&pl, FALSE_COLOR_CTL, firstBandBit, lastBandFieldBit, bands);
}

WavesCtl::WavesCtl() : pl(*PLControl::getInstance()) {}

void WavesCtl::vectorgraphEnable(bool on)
{
    plfield::setBit(&pl, VID_SCOPE_CTL, 0, on);
}

void WavesCtl::luminanceEnable(bool on)
{
    plfield::setBit(&pl, VID_SCOPE_CTL, 4, on);
}

void WavesCtl::RGBEnable(bool on)
{
    plfield::setBit(&pl, VID_SCOPE_CTL, 8, on);
}

void WavesCtl::histogramEnable(bool on)
{
    plfield::setBit(&pl, VID_SCOPE_CTL, 12, on);
}

void WavesCtl::setLuminanceValue(int value)
{
    const double span = maxLuminance - minLuminance;
    const auto scaled = static_cast<unsigned int>(static_cast<int>(value / 100.0 * span)) & sixteenBits;
    plfield::write(&pl, VID_SCOPE_CTL, 16, 31, minLuminance + scaled);
}

void WavesCtl::setOpacityValue(int value)
{
    const double span = maxOpacity - minOpacity;
    const unsigned int opacity = (minOpacity + static_cast<unsigned int>(static_cast<int>(value / 100.0 * span))) & sixteenBits;
    plfield::write(&pl, VID_SCOPE_DISP1, 0, 9, opacity);
}

void WavesCtl::setColorValue(WaveType type)
{
    plfield::setBit(&pl, VID_SCOPE_CTL, 3, type != WaveYCbCr);
}
