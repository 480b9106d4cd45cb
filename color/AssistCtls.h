#pragma once

#include "PLControl.h"
#include "Singleton.h"

// Zebra stripes between two 10-bit levels.
class ZebraCtl : public Singleton<ZebraCtl>
{
    friend class Singleton<ZebraCtl>;

public:
    void zebraEnable(bool on);
    void zebraThreshold(int low, int high);
    // The stripe colour in the source's representation.
    void zebraRGBColor(int r, int g, int b);
    void zebraYCbCcColor(int y, int cb, int cr);

    // A level in percent of video range (0-109) as a 10-bit code value: 0 %
    // is black (64), 100 % white (943), 109 % the top code (1023).
    static int percentToLevel(int percent);

private:
    ZebraCtl();
    PLControl &pl;
};

// False colour with twelve bands, 0-11, each switched on its own.
class PseudoCtl : public Singleton<PseudoCtl>
{
    friend class Singleton<PseudoCtl>;

public:
    void PseudoEnable(bool on);
    // A band above 11 is ignored.
    void PseudoEnableIndex(int band, bool on);
    // All bands at once, bit i for band i.
    void PseudoEnableIndex(unsigned short mask);

private:
    PseudoCtl();
    PLControl &pl;
};

// Luminance waveform, RGB parade, histogram and vectorscope.
class WavesCtl : public Singleton<WavesCtl>
{
    friend class Singleton<WavesCtl>;

public:
    enum WaveType { WaveRGB = 0, WaveYCbCr = 1 };

    void vectorgraphEnable(bool on);
    void luminanceEnable(bool on);
    void RGBEnable(bool on);
    void histogramEnable(bool on);
    // Trace brightness and scope opacity, 0-100.
    void setLuminanceValue(int value);
    void setOpacityValue(int value);
    // The representation of the measured source.
    void setColorValue(WaveType type);

private:
    WavesCtl();
    PLControl &pl;
    const uint16_t minLuminance = 1000;
    const uint16_t minOpacity = 100;
};
